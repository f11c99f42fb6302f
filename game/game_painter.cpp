#include "game/game_painter.h"

#include "field/play_field.h"
#include "field/text_fitter.h"
#include "quiz/quiz_result.h"
#include "run/quiz_runner.h"

#include <algorithm>

namespace {

// Texts of the result, in code page 932.
const char kMarkCorrect[] = "\x81\x9b";                                    // ○
const char kMarkWrong[] = "\x81\x7e";                                      // ×
const char kAnswerHeading[] = "\x93\x9a\x82\xa6";                          // 答え
const char kCollectedHeading[] = "\x8f\x57\x82\xdf\x82\xbd\x95\xb6\x8e\x9a"; // 集めた文字
const char kQuestionsOf[] = "\x96\xe2\x92\x86";                            // 問中
const char kCountOpen[] = "\x81\x69";                                         // （
const char kCountClose[] = "\x96\xe2\x81\x6a";                                // 問）
// 問題ファイルを Read で選んでください
const char kHowToLoad[] = "\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0 Read \x82\xc5\x91\x49\x82\xf1\x82\xc5\x82\xad\x82\xbe\x82\xb3\x82\xa2";
const char kLoading[] = "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x81\x63 "; // 読み込み中…
const char kQuestionsRight[] = "\x96\xe2\x90\xb3\x89\xf0";               // 問正解

// The result's layout: gaps beside the buttons, the heading line, the
// verdict mark's column, and the largest and smallest text sizes of a row.
constexpr int32_t kResultMargin = 4;
constexpr int32_t kHeadingHeight = 16;
constexpr int32_t kMarkWidth = 18;
constexpr int32_t kRowSize = 100;
constexpr int32_t kRowSmallestSize = 60;

// A row's texts shrink to fit on one line, and end in "…" past the smallest.
const CTextFitter kRowFit(kRowSize, kRowSmallestSize, kRowSmallestSize, 1);

// What is loaded, on one line below the menu's buttons.
const CTextFitter kLoadedFit(110, 60, 60, 1);

// The question below the area: one line as large as the tile letters down
// to a little smaller, then up to four lines down to 9 points.
constexpr int32_t kQuestionGap = 4;
const CTextFitter kQuestionFit(200, 140, 90, 4);

// The corner of a buffer that reaches to the rectangle's far corner.
Point FarCorner(const Rect& rc)
{
    return Point{rc.right, rc.bottom};
}

} // namespace

std::string CGamePainter::Paint(CWindowSurface& surface)
{
    const std::string strStatus = m_runner.GetStatusText();
    surface.Prepare(CWindowSurface::AreaBuffer, FarCorner(m_field.GetArea()));
    surface.Prepare(CWindowSurface::StopBuffer, m_ptClient);

    // The area in both modes; the result with the menu.
    const bool bRunning = m_field.IsRunning() != 0;
    surface.Draw(CWindowSurface::AreaBuffer, [&](CDrawTarget& dc) {
        m_field.Draw(dc, strStatus);
        if (!bRunning) {
            DrawResult(dc, m_runner.GetResult());
            DrawLoadedFile(dc);
        }
    });
    surface.Copy(CWindowSurface::AreaBuffer, m_field.GetArea());

    // Stop, the progress and the question lie outside the area, in their own
    // buffer; in menu mode their place is the window's own background.
    if (!bRunning)
        return strStatus;
    bool bProgress = false;
    bool bQuestion = false;
    surface.Draw(CWindowSurface::StopBuffer, [&](CDrawTarget& dc) {
        m_field.DrawStopButton(dc);
        bProgress = m_field.DrawProgress(dc);
        bQuestion = bProgress && DrawQuestion(dc);
    });
    surface.Copy(CWindowSurface::StopBuffer, m_field.m_rcStop);
    if (bProgress)
        surface.Copy(CWindowSurface::StopBuffer, m_field.GetProgressRect());
    if (bQuestion)
        surface.Copy(CWindowSurface::StopBuffer, GetQuestionRect());
    return strStatus;
}

Rect CGamePainter::GetQuestionRect() const
{
    const Rect& rcStop = m_field.m_rcStop;
    return Rect{m_field.GetProgressRect().right + kQuestionGap, rcStop.top, rcStop.left - kQuestionGap,
                m_ptClient.y - kQuestionGap};
}

bool CGamePainter::DrawQuestion(CDrawTarget& dc)
{
    const std::string strQuestion = m_runner.GetQuestionText();
    const Rect rc = GetQuestionRect();
    if (strQuestion.empty() || IsRectEmpty(rc))
        return false;
    dc.DrawBox(rc, CFieldPanel::kGrey, CFieldPanel::kBlack);
    Rect rcText = rc;
    InflateRect(rcText, -kQuestionGap, -1);
    kQuestionFit.DrawFitted(dc, strQuestion, rcText, CFieldPanel::kGold);
    return true;
}

void CGamePainter::SetLoadedFile(std::string strName, int32_t nQuestions)
{
    m_strLoaded = strName.empty() ? std::string() : strName + kCountOpen + std::to_string(nQuestions) + kCountClose;
}

Rect CGamePainter::GetLoadedFileRect() const
{
    const Rect rcArea = m_field.GetArea();
    return Rect{rcArea.left + kResultMargin, m_field.m_rcExit.bottom + kResultMargin / 2, rcArea.right - kResultMargin,
                rcArea.bottom - kResultMargin / 2};
}

void CGamePainter::DrawLoadedFile(CDrawTarget& dc)
{
    const std::string strShown = !m_strLoading.empty() ? kLoading + m_strLoading
                                 : m_strLoaded.empty()  ? std::string(kHowToLoad)
                                                        : m_strLoaded;
    kLoadedFit.DrawFitted(dc, strShown, GetLoadedFileRect(), CFieldPanel::kGrey);
}

void CGamePainter::DrawResult(CDrawTarget& dc, const CQuizResult& result)
{
    if (result.IsEmpty())
        return;
    const Rect rcArea = m_field.GetArea();
    // "5問中3問正解" above the title.
    const std::string strScore = std::to_string(result.GetCount()) + kQuestionsOf +
                                 std::to_string(result.GetCorrectCount()) + kQuestionsRight;
    dc.DrawLabel(Rect{rcArea.left, rcArea.top, rcArea.right, m_field.m_rcTitle.top}, strScore, 150,
                 CFieldPanel::kGold);

    // Below the title, a row per question: its verdict mark and answer left
    // of the buttons, what the snake collected right of them.
    const int32_t nLeft = rcArea.left + kResultMargin;
    const int32_t nLeftEnd = m_field.m_rcRead.left - kResultMargin;
    const int32_t nRight = m_field.m_rcRead.right + kResultMargin;
    const int32_t nRightEnd = rcArea.right - kResultMargin;
    // Above what is loaded.
    const int32_t nBottom = GetLoadedFileRect().top;
    int32_t y = m_field.m_rcTitle.bottom + kResultMargin;
    dc.DrawLabel(Rect{nLeft + kMarkWidth, y, nLeftEnd, y + kHeadingHeight}, kAnswerHeading, 90,
                 CFieldPanel::kGrey);
    dc.DrawLabel(Rect{nRight, y, nRightEnd, y + kHeadingHeight}, kCollectedHeading, 90, CFieldPanel::kGrey);
    y += kHeadingHeight;
    // At most five rows: they always fit.
    const int32_t nRow = (nBottom - y) / result.GetCount();
    for (const CQuizResult::CEntry& entry : result.GetEntries()) {
        const Rect rcMark{nLeft, y, nLeft + kMarkWidth, y + nRow};
        const Rect rcAnswer{rcMark.right, y, nLeftEnd, y + nRow};
        const Rect rcCollected{nRight, y, nRightEnd, y + nRow};
        dc.DrawLabel(rcMark, entry.bCorrect ? kMarkCorrect : kMarkWrong, kRowSize,
                     entry.bCorrect ? CFieldPanel::kGold : CFieldPanel::kRed);
        kRowFit.DrawFitted(dc, entry.strAnswer, rcAnswer, CFieldPanel::kTileWhite);
        kRowFit.DrawFitted(dc, entry.strCollected, rcCollected, CFieldPanel::kTileWhite);
        y += nRow;
    }
}
