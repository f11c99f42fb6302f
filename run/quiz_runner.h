#pragma once

#include "quiz/quiz_result.h"
#include "run/ui_worker_thread.h"

#include <cstdint>
#include <mutex>
#include <string>

class CPlayField;
class CQuestionSet;

// The run controller: plays the loaded questions one after another on the
// worker thread.
class CQuizRunner : public CUiWorkerThread
{
public:
    static constexpr int32_t kQuestionPause = 1000;
    static constexpr int32_t kVerdictPause = 1000;
    static constexpr int32_t kBaseStepDelay = 200;
    static constexpr int32_t kDelayPerSegment = 15;
    // The speed-up ends at 10 segments, where a step of 20 pixels every
    // 50 ms still crosses the area in a second: faster, no hand can steer.
    static constexpr int32_t kFastestStepDelay = 50;

    // The wait after a step: 200 - 15 x segments, faster with every tile
    // eaten, but never below the fastest.
    static int32_t StepDelay(int32_t nSegments);
    // "正解:answer" or "不正解:answer" in code page 932.
    static std::string Verdict(bool bCorrect, const std::string& strAnswer);

    CQuizRunner() = default;
    ~CQuizRunner() override;

    void SetField(CPlayField* pField) { m_pField = pField; }
    void SetQuestions(CQuestionSet* pQuestions) { m_pQuestions = pQuestions; }

    // The question loop.
    void Run() override;

    // Pause from the window's thread: the loop holds and the field shows the
    // pause mark.
    void SetPause(bool bPaused);
    // Returns whether the run is paused now.
    bool TogglePause();
    bool IsPaused() const { return m_bPaused.load() != 0; }

    // The last quiz played to its end, shown in menu mode; empty for none.
    CQuizResult GetResult() const;
    void ClearResult();
    // The question in play, shown below the area while its tiles are out;
    // empty before the first.
    std::string GetQuestionText() const;

protected:
    // A new run takes the field in play mode with nothing of the last run
    // left on it; one that cannot begin leaves it in menu mode.
    void OnStarting() override;
    void OnStartFailed() override;
    void SetResult(CQuizResult result);
    void SetQuestionText(std::string strQuestion);

private:
    void Invalidate(bool bErase);

    CPlayField* m_pField = nullptr;
    CQuestionSet* m_pQuestions = nullptr;
    // The game loop writes the result and the question, the window's thread
    // draws them.
    mutable std::mutex m_csResult;
    CQuizResult m_result;
    std::string m_strQuestion;
};
