#include "field/play_field.h"

#include <gtest/gtest.h>

TEST(FieldPanelHitTest, ButtonsHoldTheirLeftTopEdgeButNotRightBottom)
{
    CPlayField field;
    EXPECT_FALSE(field.HitStart(Point{0, 0})) << "no rectangle yet";
    field.m_rcStart = Rect{126, 146, 221, 178};
    field.m_rcStop = Rect{258, 245, 353, 277};
    field.m_rcExit = Rect{126, 185, 221, 217};
    field.m_rcRead = Rect{126, 107, 221, 139};

    EXPECT_TRUE(field.HitStart(Point{126, 146}));
    EXPECT_TRUE(field.HitStart(Point{220, 177}));
    EXPECT_FALSE(field.HitStart(Point{221, 150}));
    EXPECT_FALSE(field.HitStart(Point{150, 178}));
    EXPECT_FALSE(field.HitStart(Point{125, 150}));
    EXPECT_TRUE(field.HitStop(Point{258, 245}));
    EXPECT_FALSE(field.HitStop(Point{353, 276}));
    EXPECT_FALSE(field.HitStop(Point{352, 277}));
    EXPECT_TRUE(field.HitExit(Point{126, 185}));
    EXPECT_FALSE(field.HitExit(Point{126, 217}));
    EXPECT_TRUE(field.HitRead(Point{126, 107}));
    EXPECT_FALSE(field.HitRead(Point{221, 107}));

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
