#include "run/quiz_runner.h"

#include "field/play_field.h"
#include "quiz/question_set.h"

#include <algorithm>
#include <utility>

namespace {

const char kCorrect[] = "\x90\xb3\x89\xf0:";          // 正解:
const char kIncorrect[] = "\x95\x73\x90\xb3\x89\xf0:"; // 不正解:

} // namespace

int32_t CQuizRunner::StepDelay(int32_t nSegments)
{
    return std::max(kFastestStepDelay, kBaseStepDelay - kDelayPerSegment * nSegments);
}

std::string CQuizRunner::Verdict(bool bCorrect, const std::string& strAnswer)
{
    return (bCorrect ? kCorrect : kIncorrect) + strAnswer;
}

CQuizRunner::~CQuizRunner()
{
    // The loop uses this object, the field and the questions: it must end
    // before any of them goes.
    StopAndJoin();
}

void CQuizRunner::Invalidate(bool bErase)
{
    if (COwnerWindow* pOwner = GetOwner())
        pOwner->InvalidateRect(bErase);
}

void CQuizRunner::OnStarting()
{
    // On the window's thread with no run left: what the window paints next
    // is already the new run's.
    m_nProgress.store(0);
    if (!m_pField)
        return;
    m_pField->RemoveAllTiles();
    m_pField->GetSnake().RemoveAllSegments();
    m_pField->CentreSnake();
    // No question in play yet, no result of the last quiz, not paused.
    m_pField->SetProgress(0, 0);
    ClearResult();
    SetQuestionText(std::string());
    SetPause(false);
    m_pField->SetRunning(1);
}

void CQuizRunner::OnStartFailed()
{
    if (m_pField)
        m_pField->SetRunning(0);
    Invalidate(true);
}

void CQuizRunner::SetPause(bool bPaused)
{
    SetPaused(bPaused);
    if (m_pField)
        m_pField->SetPaused(bPaused);
}

bool CQuizRunner::TogglePause()
{
    SetPause(!IsPaused());
    return IsPaused();
}

CQuizResult CQuizRunner::GetResult() const
{
    std::lock_guard<std::mutex> lock(m_csResult);
    return m_result;
}

void CQuizRunner::ClearResult()
{
    SetResult(CQuizResult());
}

std::string CQuizRunner::GetQuestionText() const
{
    std::lock_guard<std::mutex> lock(m_csResult);
    return m_strQuestion;
}

void CQuizRunner::SetQuestionText(std::string strQuestion)
{
    std::lock_guard<std::mutex> lock(m_csResult);
    m_strQuestion = std::move(strQuestion);
}

void CQuizRunner::SetResult(CQuizResult result)
{
    std::lock_guard<std::mutex> lock(m_csResult);
    m_result = std::move(result);
}

void CQuizRunner::Run()
{
    if (!m_pField || !m_pQuestions)
        return;
    CPlayField& field = *m_pField;
    CSnake& snake = field.GetSnake();

    CQuizResult result;
    std::string strAnswer;
    std::string strQuestion;
    const int32_t nPlayable = m_pQuestions->GetPlayableCount();
    int32_t nPlayed = 0;
    for (;;) {
        if (field.GetTileCount() == 0) {
            // A record without an answer has no tiles to eat: it is passed
            // over, and counts nowhere.
            const CQuestion* pQuestion = m_pQuestions->GetAt(m_nProgress.load());
            while (pQuestion && pQuestion->GetAnswer().empty())
                pQuestion = m_pQuestions->GetAt(m_nProgress.fetch_add(1) + 1);
            if (!pQuestion)
                break;
            strAnswer = pQuestion->GetAnswer();
            strQuestion = pQuestion->GetQuestion();
            SetStatusText(strQuestion);
            SetQuestionText(strQuestion);
            field.SetProgress(++nPlayed, nPlayable);
            field.PlaceTiles(strAnswer);
            field.StartQuestion();
            Invalidate(true);
            Wait(kQuestionPause);
            SetStatusText(std::string());
            Invalidate(true);
            m_nProgress.fetch_add(1);
        }

        field.Step();

        if (field.GetTileCount() == 0) {
            std::string strCollected = snake.GetText();
            const bool bCorrect = strCollected == strAnswer;
            result.Add(strAnswer, std::move(strCollected), bCorrect);
            SetStatusText(Verdict(bCorrect, strAnswer));
            Invalidate(false);
            Wait(kVerdictPause);
            snake.RemoveAllSegments();
            Invalidate(false);
        }

        Invalidate(false);
        Wait(StepDelay(snake.GetSegmentCount()));
        Checkpoint();
    }

    // A Stop that reached menu mode first wins: then nothing is shown.
    if (field.FinishRun())
        SetResult(std::move(result));
    Invalidate(true);
}
