#include "field/field_panel.h"

#include <algorithm>
#include <utility>

namespace {

constexpr Colour kRed = 0x0000CC;
constexpr Colour kDarkGrey = 0x262626;
constexpr Colour kGrey = 0x8C8C8C;
constexpr Colour kMenuLabel = 0xCC000C;
constexpr Colour kGold = 0x00D1E5;
constexpr Colour kBlack = 0x000000;
constexpr Colour kTileWhite = 0xFAFAFA;

// Texts of the pause mark and the result, in code page 932.
const char kPaused[] = "\x88\xea\x8e\x9e\x92\xe2\x8e\x7e";                      // 一時停止
const char kMarkCorrect[] = "\x81\x9b";                                          // ○
const char kMarkWrong[] = "\x81\x7e";                                            // ×
const char kAnswerHeading[] = "\x93\x9a\x82\xa6";                                // 答え
const char kCollectedHeading[] = "\x8f\x57\x82\xdf\x82\xbd\x95\xb6\x8e\x9a"; // 集めた文字
const char kQuestionsOf[] = "\x96\xe2\x92\x86";                                  // 問中
const char kQuestionsRight[] = "\x96\xe2\x90\xb3\x89\xf0";                     // 問正解

// The result's layout: gaps beside the buttons, the heading line, the
// verdict mark's column and the text sizes of a row.
constexpr int32_t kResultMargin = 4;
constexpr int32_t kHeadingHeight = 16;
constexpr int32_t kMarkWidth = 18;
constexpr int32_t kMinRowHeight = 12;
constexpr int32_t kRowSize = 100;
constexpr int32_t kSmallestSize = 60;

// The largest size up to nMaxSize, but not below the smallest readable one,
// at which the text fits the width. The game's faces are fixed-width and a
// code page 932 byte takes half a cell, a cell being as wide as the font is
// high: nSize / 10 pt at 96 dpi, that is nSize * 2 / 15 pixels.
int32_t FitSize(const std::string& strText, int32_t nWidth, int32_t nMaxSize)
{
    int32_t nSize = nMaxSize;
    while (nSize > kSmallestSize && static_cast<int64_t>(strText.size()) * nSize > nWidth * 15LL)
        nSize -= 10;
    return nSize;
}

} // namespace

CFieldPanel::CFieldPanel() = default;

CFieldPanel::~CFieldPanel() = default;

void CFieldPanel::SetArea(Rect rc)
{
    m_rcArea = rc;
}

void CFieldPanel::SetTitle(std::string strTitle)
{
    m_strTitle = std::move(strTitle);
}

bool CFieldPanel::HitStart(Point pt) const
{
    return PtInRect(m_rcStart, pt);
}

bool CFieldPanel::HitStop(Point pt) const
{
    return PtInRect(m_rcStop, pt);
}

bool CFieldPanel::HitExit(Point pt) const
{
    return PtInRect(m_rcExit, pt);
}

bool CFieldPanel::HitRead(Point pt) const
{
    return PtInRect(m_rcRead, pt);
}

void CFieldPanel::UpdateHover(Point pt)
{
    m_bHoverStart = HitStart(pt) ? 1 : 0;
    m_bHoverStop = HitStop(pt) ? 1 : 0;
    m_bHoverExit = HitExit(pt) ? 1 : 0;
    m_bHoverRead = HitRead(pt) ? 1 : 0;
}

void CFieldPanel::DrawBackground(CDrawTarget& dc, Colour colour)
{
    dc.DrawBox(m_rcArea, colour, colour);
}

void CFieldPanel::DrawStatusText(CDrawTarget& dc, const std::string& strText, int32_t nSize,
                                 Colour colour)
{
    dc.DrawLabel(m_rcArea, strText, nSize, colour);
}

void CFieldPanel::DrawTitle(CDrawTarget& dc)
{
    dc.DrawBox(m_rcTitle, kGrey, kDarkGrey);
    dc.DrawLabel(m_rcTitle, m_strTitle, 400, kRed);
}

void CFieldPanel::DrawMenuButtons(CDrawTarget& dc, int32_t nSize)
{
    const struct
    {
        const Rect& rc;
        int32_t bHover;
        const char* pszLabel;
    } buttons[] = {
        {m_rcStart, m_bHoverStart, "Start"},
        {m_rcExit, m_bHoverExit, "Exit"},
        {m_rcRead, m_bHoverRead, "Read"},
    };
    for (const auto& button : buttons) {
        dc.DrawBox(button.rc, kGrey, button.bHover ? kRed : kDarkGrey);
        dc.DrawLabel(button.rc, button.pszLabel, nSize, kMenuLabel);
    }
}

void CFieldPanel::DrawStopButton(CDrawTarget& dc)
{
    dc.DrawBox(m_rcStop, kDarkGrey, m_bHoverStop ? kRed : kDarkGrey);
    dc.DrawLabel(m_rcStop, "Stop", 200, kGold);
}

bool CFieldPanel::FinishRun(CQuizResult result)
{
    // Under the result's lock, so that a paint that finds menu mode finds
    // the result with it.
    std::lock_guard<std::mutex> lock(m_csResult);
    int32_t bRunning = 1;
    if (!m_bRunning.compare_exchange_strong(bRunning, 0))
        return false;
    m_result = std::move(result);
    return true;
}

void CFieldPanel::SetProgress(int32_t nQuestion, int32_t nCount)
{
    m_nQuestionCount.store(nCount);
    m_nQuestion.store(nQuestion);
}

void CFieldPanel::SetResult(CQuizResult result)
{
    std::lock_guard<std::mutex> lock(m_csResult);
    m_result = std::move(result);
}

CQuizResult CFieldPanel::GetResult() const
{
    std::lock_guard<std::mutex> lock(m_csResult);
    return m_result;
}

Rect CFieldPanel::GetProgressRect() const
{
    return Rect{m_rcArea.left, m_rcStop.top, m_rcArea.left + m_rcStop.Width(), m_rcStop.bottom};
}

bool CFieldPanel::DrawProgress(CDrawTarget& dc)
{
    const int32_t nQuestion = GetQuestion();
    if (nQuestion <= 0)
        return false;
    const Rect rc = GetProgressRect();
    dc.DrawBox(rc, kGrey, kBlack);
    dc.DrawLabel(rc, std::to_string(nQuestion) + "/" + std::to_string(GetQuestionCount()), 200,
                 kGold);
    return true;
}

void CFieldPanel::DrawPauseMark(CDrawTarget& dc)
{
    if (!IsPaused())
        return;
    // Above the centre, where the question and the verdict are shown.
    const int32_t x = (m_rcArea.left + m_rcArea.right) / 2;
    const int32_t y = m_rcArea.top + m_rcArea.Height() / 4;
    const Rect rc{x - 95, y - 26, x + 95, y + 26};
    dc.DrawBox(rc, kGrey, kDarkGrey);
    dc.DrawLabel(rc, kPaused, 300, kTileWhite);
}

void CFieldPanel::DrawResult(CDrawTarget& dc)
{
    const CQuizResult result = GetResult();
    if (result.IsEmpty())
        return;
    // "5問中3問正解" above the title.
    const std::string strScore = std::to_string(result.GetCount()) + kQuestionsOf +
                                 std::to_string(result.GetCorrectCount()) + kQuestionsRight;
    dc.DrawLabel(Rect{m_rcArea.left, m_rcArea.top, m_rcArea.right, m_rcTitle.top}, strScore, 150,
                 kGold);

    // Below the title, a row per question: its verdict mark and answer left
    // of the buttons, what the snake collected right of them.
    const int32_t nLeft = m_rcArea.left + kResultMargin;
    const int32_t nLeftEnd = m_rcRead.left - kResultMargin;
    const int32_t nRight = m_rcRead.right + kResultMargin;
    const int32_t nRightEnd = m_rcArea.right - kResultMargin;
    const int32_t nBottom = m_rcArea.bottom - kResultMargin;
    int32_t y = m_rcTitle.bottom + kResultMargin;
    dc.DrawLabel(Rect{nLeft + kMarkWidth, y, nLeftEnd, y + kHeadingHeight}, kAnswerHeading, 90,
                 kGrey);
    dc.DrawLabel(Rect{nRight, y, nRightEnd, y + kHeadingHeight}, kCollectedHeading, 90, kGrey);
    y += kHeadingHeight;
    const int32_t nRow = std::max(kMinRowHeight, (nBottom - y) / result.GetCount());
    for (const CQuizResult::CEntry& entry : result.GetEntries()) {
        if (y + nRow > nBottom)
            break;
        const Rect rcMark{nLeft, y, nLeft + kMarkWidth, y + nRow};
        const Rect rcAnswer{rcMark.right, y, nLeftEnd, y + nRow};
        const Rect rcCollected{nRight, y, nRightEnd, y + nRow};
        dc.DrawLabel(rcMark, entry.bCorrect ? kMarkCorrect : kMarkWrong, kRowSize,
                     entry.bCorrect ? kGold : kRed);
        dc.DrawLabel(rcAnswer, entry.strAnswer,
                     FitSize(entry.strAnswer, rcAnswer.Width(), kRowSize), kTileWhite);
        dc.DrawLabel(rcCollected, entry.strCollected,
                     FitSize(entry.strCollected, rcCollected.Width(), kRowSize), kTileWhite);
        y += nRow;
    }
}
