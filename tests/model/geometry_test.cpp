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
    EXPECT_TRUE(PtInRect(rc, {10, 20}));
    EXPECT_TRUE(PtInRect(rc, {29, 39}));
    EXPECT_FALSE(PtInRect(rc, {30, 39}));
    EXPECT_FALSE(PtInRect(rc, {29, 40}));
    EXPECT_FALSE(PtInRect(rc, {9, 25}));
    EXPECT_FALSE(PtInRect(Rect{}, {0, 0}));

    Rect out{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{30, 0, 60, 30}));
    EXPECT_EQ(out, Rect{});
    EXPECT_TRUE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{29, 29, 60, 60}));
    EXPECT_EQ(out, (Rect{29, 29, 30, 30}));

    Rect rc2;
    SetRect(rc2, 11, 11, 353, 238);
    InflateRect(rc2, -30, -30);
    EXPECT_EQ(rc2, (Rect{41, 41, 323, 208}));
    OffsetRect(rc2, -1, 2);
    EXPECT_EQ(rc2, (Rect{40, 43, 322, 210}));
    EXPECT_TRUE(IsRectEmpty(Rect{5, 5, 5, 9}));
    EXPECT_TRUE(IsRectEmpty(Rect{5, 9, 6, 8}));
    EXPECT_FALSE(IsRectEmpty(Rect{5, 5, 6, 6}));
}

TEST(FieldObjectTest, RectHalvesTruncateTowardZero)
{
    CCharObject object = At(100, 50);
    EXPECT_EQ(object.GetRect(), (Rect{85, 35, 115, 65}));

    object.SetPosition(0, 0);
    object.SetWidth(31);
    object.SetHeight(31);
    EXPECT_EQ(object.GetRect(), (Rect{-15, -15, 15, 15}));

    object.SetPosition(-7, -8);
    object.SetWidth(5);
    object.SetHeight(3);
    EXPECT_EQ(object.GetRect(), (Rect{-9, -9, -5, -7}));
}

TEST(FieldObjectTest, DistanceIsTheTruncatedEuclideanDistance)
{
    EXPECT_EQ(At(0, 0).Distance(At(3, 4)), 5);
    EXPECT_EQ(At(0, 0).Distance(At(1, 1)), 1);
    EXPECT_EQ(At(0, 0).Distance(At(21, 21)), 29);
    EXPECT_EQ(At(0, 0).Distance(At(18, 24)), 30);
    EXPECT_EQ(At(18, 24).Distance(At(0, 0)), 30);
    // Near a perfect square the double root must not round up or down.
    EXPECT_EQ(At(0, 0).Distance(At(46340, 0)), 46340);
    EXPECT_EQ(At(0, 0).Distance(At(40000, 40000)), 56568);
}

TEST(FieldObjectTest, TouchingEdgesDoNotIntersect)
{
    EXPECT_FALSE(At(0, 0).Intersects(At(30, 0)));
    EXPECT_FALSE(At(0, 0).Intersects(At(0, -30)));
    EXPECT_TRUE(At(0, 0).Intersects(At(29, 29)));
    EXPECT_TRUE(At(0, 0).Intersects(At(-29, 0)));
    EXPECT_FALSE(At(0, 0).Intersects(At(29, 30)));
}

TEST(FieldObjectTest, CharObjectDefaultsCopiesAndSteps)
{
    CCharObject object;
    EXPECT_EQ(object.GetPosition(), (Point{0, 0}));
    EXPECT_EQ(object.GetWidth(), 30);
    EXPECT_EQ(object.GetHeight(), 30);
    EXPECT_EQ(object.GetText(), "");
    EXPECT_EQ(object.GetStepX(), 1.0);
    EXPECT_EQ(object.GetStepY(), 1.0);

    object.SetSteps(2.9, -2.9);
    object.StepLeft();
    EXPECT_EQ(object.GetPosition(), (Point{-2, 0}));
    object.StepUp();
    EXPECT_EQ(object.GetPosition(), (Point{-2, 2}));
    object.StepDownRight();
    EXPECT_EQ(object.GetPosition(), (Point{0, 0}));
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
    EXPECT_EQ(object.GetPosition(), (Point{40, 60}));

    const CCharObject copy(source);
    EXPECT_EQ(copy.GetStepX(), 9.0) << "a copy takes everything";
    EXPECT_EQ(copy.GetText(), "A");
}

} // namespace
