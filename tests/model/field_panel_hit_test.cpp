#include "field/play_field.h"
#include "window_layout.h"

#include <gtest/gtest.h>

#include <utility>

TEST(FieldPanelHitTest, ButtonsHoldTheirLeftTopEdgeButNotRightBottom)
{
    CPlayField field;
    EXPECT_FALSE(field.HitStart(Point{0, 0})) << "no rectangle yet";
    SetWindowLayout(field);
    const std::pair<bool (CFieldPanel::*)(Point) const, Rect> buttons[] = {
        {&CFieldPanel::HitStart, field.m_rcStart},
        {&CFieldPanel::HitStop, field.m_rcStop},
        {&CFieldPanel::HitExit, field.m_rcExit},
        {&CFieldPanel::HitRead, field.m_rcRead}};
    for (const auto& [hit, rc] : buttons) {
        EXPECT_TRUE((field.*hit)(Point{rc.left, rc.top})) << rc.left << "," << rc.top;
        EXPECT_TRUE((field.*hit)(Point{rc.right - 1, rc.bottom - 1})) << rc.left << "," << rc.top;
        for (Point pt : {Point{rc.left - 1, rc.top}, Point{rc.right, rc.top}, Point{rc.left, rc.bottom}})
            EXPECT_FALSE((field.*hit)(pt)) << pt.x << "," << pt.y;
    }

    // Hover follows the mouse on every button, in either mode.
    field.UpdateHover(Point{126, 107});
    EXPECT_EQ(field.m_bHoverRead, 1);
    EXPECT_EQ(field.m_bHoverStart + field.m_bHoverStop + field.m_bHoverExit, 0);
    field.SetRunning(1);
    field.UpdateHover(Point{258, 245});
    EXPECT_EQ(field.m_bHoverStop, 1);
    EXPECT_EQ(field.m_bHoverRead, 0);
    field.UpdateHover(Point{221, 139});
    EXPECT_EQ(field.m_bHoverStart + field.m_bHoverStop + field.m_bHoverExit + field.m_bHoverRead, 0);
}
