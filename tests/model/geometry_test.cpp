#include "field/char_object.h"
#include "platform/rect.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

CCharObject At(int32_t x, int32_t y)
{
    CCharObject object;
    object.SetPosition(x, y);
    return object;
}

// Which points a rectangle holds: see the buttons' hit test.
TEST(RectTest, IntersectionsAndMoves)
{
    Rect out{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{30, 0, 60, 30}));
    EXPECT_EQ(out, Rect{});
    EXPECT_TRUE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{29, 29, 60, 60}));
    EXPECT_EQ(out, (Rect{29, 29, 30, 30}));

    SetRect(out, 11, 11, 353, 238);
    InflateRect(out, -30, -30);
    OffsetRect(out, -1, 2);
    EXPECT_EQ(out, (Rect{40, 43, 322, 210}));
    for (const auto& [rcTried, bEmpty] : {std::pair{Rect{5, 5, 5, 9}, true}, {Rect{5, 9, 6, 8}, true},
                                          {Rect{5, 5, 6, 6}, false}})
        EXPECT_EQ(IsRectEmpty(rcTried), bEmpty) << rcTried.left << "," << rcTried.top;
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

    // {x, y, whether a tile there overlaps one at the origin}
    const int32_t overlaps[][3] = {{30, 0, 0}, {0, -30, 0}, {29, 30, 0}, {29, 29, 1}, {-29, 0, 1}};
    for (const auto& o : overlaps)
        EXPECT_EQ(At(0, 0).Intersects(At(o[0], o[1])), o[2] != 0) << o[0] << "," << o[1];
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
    EXPECT_TRUE(object.GetText() == "A" && object.GetPosition() == (Point{40, 60}) && object.GetWidth() == 12);
    EXPECT_EQ(object.GetStepX(), 2.9) << "Assign must not copy the steps";
    object.Assign(object);
    EXPECT_EQ(object.GetText(), "A");
    EXPECT_EQ(CCharObject(source).GetStepX(), 9.0) << "a copy takes everything";
}

} // namespace
