#include "field/char_object.h"
#include "platform/rect.h"

#include <gtest/gtest.h>

namespace {

CCharObject At(int32_t x, int32_t y)
{
    CCharObject object;
    object.SetPosition(x, y);
    return object;
}

TEST(RectTest, RightAndBottomEdgesLieOutside)
{
    const Rect rc{10, 20, 30, 40};
    for (Point pt : {Point{10, 20}, Point{29, 39}})
        EXPECT_TRUE(PtInRect(rc, pt)) << pt.x << "," << pt.y;
    for (Point pt : {Point{30, 39}, Point{29, 40}, Point{9, 25}})
        EXPECT_FALSE(PtInRect(rc, pt)) << pt.x << "," << pt.y;

    Rect out{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{30, 0, 60, 30}));
    EXPECT_EQ(out, Rect{});
    EXPECT_TRUE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{29, 29, 60, 60}));
    EXPECT_EQ(out, (Rect{29, 29, 30, 30}));

    Rect rc2;
    SetRect(rc2, 11, 11, 353, 238);
    InflateRect(rc2, -30, -30);
    OffsetRect(rc2, -1, 2);
    EXPECT_EQ(rc2, (Rect{40, 43, 322, 210}));
    EXPECT_TRUE(IsRectEmpty(Rect{5, 5, 5, 9}));
    EXPECT_TRUE(IsRectEmpty(Rect{5, 9, 6, 8}));
    EXPECT_FALSE(IsRectEmpty(Rect{5, 5, 6, 6}));
}

TEST(FieldObjectTest, GeometryTruncatesTowardZeroAndTouchingEdgesDoNotIntersect)
{
    CCharObject object = At(100, 50);
    EXPECT_EQ(object.GetRect(), (Rect{85, 35, 115, 65}));
    object.SetPosition(-7, -8);
    object.SetWidth(5);
    object.SetHeight(3);
    EXPECT_EQ(object.GetRect(), (Rect{-9, -9, -5, -7}));

    // {x, y, distance from the origin}; near a perfect square the root must
    // not round either way.
    const int32_t distances[][3] = {{3, 4, 5},   {1, 1, 1},         {21, 21, 29},
                                    {18, 24, 30}, {46340, 0, 46340}, {40000, 40000, 56568}};
    for (const auto& d : distances) {
        EXPECT_EQ(At(0, 0).Distance(At(d[0], d[1])), d[2]) << d[0] << "," << d[1];
        EXPECT_EQ(At(d[0], d[1]).Distance(At(0, 0)), d[2]) << d[0] << "," << d[1];
    }

    EXPECT_FALSE(At(0, 0).Intersects(At(30, 0)));
    EXPECT_FALSE(At(0, 0).Intersects(At(0, -30)));
    EXPECT_FALSE(At(0, 0).Intersects(At(29, 30)));
    EXPECT_TRUE(At(0, 0).Intersects(At(29, 29)));
    EXPECT_TRUE(At(0, 0).Intersects(At(-29, 0)));
}

TEST(FieldObjectTest, StepsTruncateAndAssignKeepsTheSteps)
{
    CCharObject object;
    object.SetSteps(2.9, -2.9);
    object.StepLeft();
    object.StepUp();
    EXPECT_EQ(object.GetPosition(), (Point{-2, 2}));
    object.StepDownRight();
    object.Offset(5, -6);
    EXPECT_EQ(object.GetPosition(), (Point{5, -6}));

    CCharObject source = At(40, 60);
    source.SetText("A");
    source.SetWidth(12);
    source.SetSteps(9.0, 9.0);
    object.Assign(source);
    EXPECT_EQ(object.GetText(), "A");
    EXPECT_EQ(object.GetPosition(), (Point{40, 60}));
    EXPECT_EQ(object.GetWidth(), 12);
    EXPECT_EQ(object.GetStepX(), 2.9) << "Assign must not copy the steps";
    object.Assign(object);
    EXPECT_EQ(object.GetText(), "A");
    EXPECT_EQ(CCharObject(source).GetStepX(), 9.0) << "a copy takes everything";
}

} // namespace
