#include "field/field_panel.h"

#include "field/text_fitter.h"

#include <utility>

namespace {

// The pause mark's text, in code page 932.
const char kPaused[] = "\x88\xea\x8e\x9e\x92\xe2\x8e\x7e"; // 一時停止

// The question or verdict over the area shrinks to the tile letters' size on
// one line, then takes two lines, which shrink down to a size at which two
// lines of 20 full-width characters still fit the area. The title shrinks
// the same way to fit its box.
constexpr int32_t kLetterSize = 200;
constexpr int32_t kSmallestSize = 120;

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
    CTextFitter(nSize, kLetterSize, kSmallestSize, 2).DrawFitted(dc, strText, m_rcArea, colour);
}

void CFieldPanel::DrawTitle(CDrawTarget& dc)
{
    dc.DrawBox(m_rcTitle, kGrey, kDarkGrey);
    CTextFitter(400, kLetterSize, kSmallestSize, 2).DrawFitted(dc, m_strTitle, m_rcTitle, kRed);
}

void CFieldPanel::DrawMenuButtons(CDrawTarget& dc, int32_t nSize)
{
    const struct
    {
        const Rect& rc;
        int32_t bHover;
        const char* pszLabel;
        int32_t nId;
    } buttons[] = {
        {m_rcStart, m_bHoverStart, "Start", StartButton},
        {m_rcExit, m_bHoverExit, "Exit", ExitButton},
        {m_rcRead, m_bHoverRead, "Read", ReadButton},
    };
    for (const auto& button : buttons) {
        dc.DrawBox(button.rc, kGrey, button.bHover || button.nId == m_nFocus ? kRed : kDarkGrey);
        dc.DrawLabel(button.rc, button.pszLabel, nSize, kMenuLabel);
    }
}

void CFieldPanel::DrawStopButton(CDrawTarget& dc)
{
    dc.DrawBox(m_rcStop, kDarkGrey, m_bHoverStop ? kRed : kDarkGrey);
    dc.DrawLabel(m_rcStop, "Stop", 200, kGold);
}

bool CFieldPanel::FinishRun()
{
    int32_t bRunning = 1;
    return m_bRunning.compare_exchange_strong(bRunning, 0);
}

void CFieldPanel::SetProgress(int32_t nQuestion, int32_t nCount)
{
    m_nQuestionCount.store(nCount);
    m_nQuestion.store(nQuestion);
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
