#include "field/field_panel.h"

#include <utility>

namespace {

constexpr Colour kRed = 0x0000CC;
constexpr Colour kDarkGrey = 0x262626;
constexpr Colour kGrey = 0x8C8C8C;
constexpr Colour kMenuLabel = 0xCC000C;
constexpr Colour kGold = 0x00D1E5;

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
