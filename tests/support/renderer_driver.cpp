#include "rect_compare.h"
#include "renderer_driver.h"

#include "game/window_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr Colour kBlack = CFieldPanel::kBlack;
constexpr Colour kRed = CFieldPanel::kRed;
constexpr Colour kGrey = CFieldPanel::kGrey;
constexpr Colour kDarkGrey = CFieldPanel::kDarkGrey;
constexpr Colour kGold = CFieldPanel::kGold;
constexpr Colour kTileWhite = CFieldPanel::kTileWhite;
const Rect kWhole{0, 0, 363, 302};
const auto Ink = [](Colour c) { return c != kBlack; };

} // namespace

CRendererDriver::CRendererDriver()
{
    LayOutField(m_field, TemplateControlRect);
    m_painter.SetClientSize(TemplateClientSize());
    m_field.SetTitle("\x82\xAD\x82\xCB\x82\xAD\x82\xCB\x82\xAD\x82\xCB");
    m_field.PlaceTiles("A");
    m_field.GetTile(0)->SetPosition(Point{60, 150});
    m_field.GetSnake().SetPosition(Point{300, 150});
    CCharObject eaten;
    eaten.SetText("B");
    m_field.GetSnake().AddSegment(eaten);
    m_field.GetSnake().GetSegment(0)->SetPosition(Point{260, 200});
}

int32_t CRendererDriver::Count(const Rect& rc, const std::function<bool(Colour)>& test)
{
    int32_t n = 0;
    for (int32_t y = rc.top; y < rc.bottom; ++y)
        for (int32_t x = rc.left; x < rc.right; ++x)
            n += test(Pixel(x, y));
    return n;
}

int32_t CRendererDriver::Count(const Rect& rc, Colour colour)
{
    return Count(rc, [colour](Colour c) { return c == colour; });
}

void CRendererDriver::CheckDrawTarget()
{
    // A box covers its left and top edges but not its right and bottom
    // ones, with a one-pixel outline on all four sides.
    Draw([](CDrawTarget& dc) { dc.DrawBox(Rect{10, 20, 40, 50}, kGrey, kRed); });
    EXPECT_EQ(Count(Rect{11, 21, 39, 49}, kRed), 28 * 28);
    EXPECT_EQ(Count(Rect{10, 20, 40, 50}, kGrey), 30 * 30 - 28 * 28);
    EXPECT_EQ(Count(kWhole, Ink), 30 * 30);

    // A label is one line, centred and cut at both ends of its box; a part
    // of one (the left half of 山 centred over two boxes) stays in its clip.
    const Rect rcLabel{40, 25, 70, 55}, rcPart{100, 10, 130, 40};
    Draw([&](CDrawTarget& dc) {
        dc.DrawLabel(rcLabel, "WWWWWWWWWW", 200, kGold);
        dc.DrawLabel(Rect{200, 0, 320, 80}, "a\nb", 200, kGold);
        dc.DrawLabelPart(Rect{100, 10, 160, 40}, rcPart, "\x8E\x52", 200, kRed);
    });
    EXPECT_TRUE(Count(Rect{40, 25, 43, 55}, Ink) > 0 && Count(Rect{67, 25, 70, 55}, Ink) > 0);
    EXPECT_EQ(Count(Rect{200, 0, 320, 26}, Ink) + Count(Rect{200, 54, 320, 80}, Ink), 0) << "a second line";
    EXPECT_GT(Count(rcPart, Ink), 20);
    EXPECT_EQ(Count(kWhole, Ink), Count(rcLabel, Ink) + Count(Rect{200, 26, 320, 54}, Ink) + Count(rcPart, Ink));

    // A ball's corners show what lies beneath; its light-blue disc is the
    // same over a tile and over black.
    Draw([](CDrawTarget& dc) {
        dc.DrawBox(Rect{10, 10, 40, 40}, kTileWhite, kTileWhite);
        dc.DrawBall(Rect{10, 10, 40, 40});
        dc.DrawBall(Rect{60, 10, 90, 40});
    });
    for (Point corner : {Point{10, 10}, Point{39, 10}, Point{10, 39}, Point{39, 39}}) {
        EXPECT_EQ(Pixel(corner.x, corner.y), kTileWhite);
        EXPECT_EQ(Pixel(corner.x + 50, corner.y), kBlack);
    }
    for (Point p : {Point{25, 25}, Point{18, 18}, Point{32, 32}}) {
        EXPECT_GT(ColourBlue(Pixel(p.x, p.y)), ColourRed(Pixel(p.x, p.y)));
        EXPECT_EQ(Pixel(p.x, p.y), Pixel(p.x + 50, p.y));
    }
    EXPECT_EQ(Count(kWhole, Ink), Count(Rect{10, 10, 90, 40}, Ink));
}

void CRendererDriver::CheckPanel()
{
    const Rect &rcArea = m_field.GetArea(), &rcTitle = m_field.m_rcTitle, &rcStop = m_field.m_rcStop;
    const Rect rcTile = m_field.GetTile(0)->GetRect(), rcHead = m_field.GetSnake().GetRect();
    const Rect rcSegment = m_field.GetSnake().GetSegment(0)->GetRect();
    const int32_t nOutside = kWidth * kHeight - rcArea.Width() * rcArea.Height();

    // Menu: the title and three buttons, the one under the mouse and the one
    // the keyboard is on filled red; no tile, snake, status text or Stop
    // button, and nothing outside the area.
    m_field.UpdateHover(Point{m_field.m_rcExit.left, m_field.m_rcExit.top});
    m_field.m_nFocus = CFieldPanel::ReadButton;
    Paint("status");
    EXPECT_EQ(Pixel(rcTitle.left, rcTitle.top), kGrey);
    EXPECT_EQ(Pixel(rcTitle.left + 1, rcTitle.top + 1), kDarkGrey);
    EXPECT_GT(Count(rcTitle, kRed), 100) << "the title";
    for (const Rect& rc : {m_field.m_rcRead, m_field.m_rcStart, m_field.m_rcExit}) {
        EXPECT_EQ(Pixel(rc.right - 1, rc.bottom - 1), kGrey);
        EXPECT_EQ(Pixel(rc.left + 1, rc.top + 1), rc == m_field.m_rcStart ? kDarkGrey : kRed);
        EXPECT_GT(Count(rc, CFieldPanel::kMenuLabel), 20);
    }
    EXPECT_EQ(Count(rcArea, kTileWhite) + Count(rcArea, kGold), 0);
    EXPECT_EQ(Count(rcHead, kBlack) + Count(rcSegment, kBlack), 2 * 900);
    EXPECT_EQ(Count(kWhole, kWindow), nOutside);

    // Play: no title or menu; a near-white tile with a red letter, a blue
    // ball of a head without text and a segment with its letter; outside
    // the area Stop, red only under the mouse, and the progress.
    m_field.SetRunning(1);
    m_field.SetProgress(2, 5);
    m_field.UpdateHover(Point{m_field.m_rcStart.left, m_field.m_rcStart.top});
    Paint("");
    EXPECT_EQ(Count(rcTitle, kBlack), rcTitle.Width() * rcTitle.Height());
    for (const Rect& rc : {m_field.m_rcRead, m_field.m_rcStart, m_field.m_rcExit})
        EXPECT_EQ(Count(rc, kBlack), 95 * 32);
    EXPECT_GT(Count(rcTile, kRed), 10);
    EXPECT_EQ(Count(rcTile, kGrey), 0) << "a letter is no half";
    EXPECT_EQ(Count(rcArea, kTileWhite), Count(rcTile, kTileWhite));
    EXPECT_EQ(Pixel(rcTile.right - 1, rcTile.bottom - 1), kTileWhite);
    EXPECT_EQ(Count(rcHead, [](Colour c) { return ColourRed(c) > ColourBlue(c); }), 0);
    EXPECT_GT(ColourBlue(Pixel(300, 150)), 150);
    EXPECT_GT(Count(rcSegment, kRed), 10);
    EXPECT_EQ(Pixel(rcStop.left + 1, rcStop.top + 1), kDarkGrey);
    EXPECT_GT(Count(rcStop, kGold), 20);
    m_field.UpdateHover(Point{rcStop.right - 1, rcStop.bottom - 1});
    Paint("");
    EXPECT_EQ(Pixel(rcStop.left, rcStop.top), kDarkGrey);
    EXPECT_EQ(Pixel(rcStop.left + 1, rcStop.top + 1), kRed);
    EXPECT_GT(Count(m_field.GetProgressRect(), kGold), 20);
    EXPECT_EQ(Pixel(m_field.GetProgressRect().left, m_field.GetProgressRect().top), kGrey);
    EXPECT_EQ(Count(kWhole, kWindow), nOutside - 2 * 95 * 32);

    // The status text lies over the tiles and the snake (full blocks, so
    // that it covers whole pixels).
    m_field.GetTile(0)->SetPosition(Point{182, 124});
    m_field.GetSnake().SetPosition(Point{212, 124});
    Paint("\x81\xA1\x81\xA1\x81\xA1\x81\xA1");
    EXPECT_GT(Count(Rect{167, 109, 197, 139}, kGold), 50) << "under the tile";
    EXPECT_GT(Count(Rect{197, 109, 227, 139}, kGold), 50) << "under the snake";

    // Two tiles of a double-width character side by side make the whole
    // character between the wedges on their free sides, which point at
    // each other.
    m_field.RemoveAllTiles();
    m_field.PlaceTiles("\x8E\x52"); // 山
    m_field.GetTile(0)->SetPosition(Point{60, 150});
    m_field.GetTile(1)->SetPosition(Point{90, 150});
    Paint("");
    const Rect rcBetween{53, 135, 97, 165};
    std::vector<Colour> halves;
    for (int32_t y = rcBetween.top; y < rcBetween.bottom; ++y)
        for (int32_t x = rcBetween.left; x < rcBetween.right; ++x)
            halves.push_back(Pixel(x, y));
    EXPECT_GT(Count(rcBetween, kRed), 50);
    // Each wedge is 7 pixels high at its base, by the tile's edge, and 1 at
    // its tip.
    EXPECT_TRUE(Count(Rect{48, 135, 49, 165}, kGrey) == 7 && Count(Rect{51, 135, 52, 165}, kGrey) == 1);
    EXPECT_TRUE(Count(Rect{101, 135, 102, 165}, kGrey) == 7 && Count(Rect{98, 135, 99, 165}, kGrey) == 1);
    Draw([](CDrawTarget& dc) {
        dc.DrawBox(Rect{45, 135, 105, 165}, kTileWhite, kTileWhite);
        dc.DrawLabel(Rect{45, 135, 105, 165}, "\x8E\x52", 200, kRed);
    });
    size_t i = 0;
    EXPECT_EQ(Count(rcBetween, [&](Colour c) { return c != halves[i++]; }), 0);

    // In the body, the halves of a character eaten in order show it whole
    // between their balls, whichever way the snake moves, over the head too.
    m_field.RemoveAllTiles();
    CSnake& snake = m_field.GetSnake();
    const Point centre{182, 124};
    for (const Point& step : {Point{20, 0}, Point{-20, 0}, Point{0, 20}, Point{0, -20}}) {
        snake.RemoveAllSegments();
        m_field.PlaceTiles("\x8E\x52"); // 山
        for (int32_t k = 0; k < 2; ++k) {
            snake.AddSegment(*m_field.GetTile(k));
            snake.GetSegment(k)->SetPosition(Point{centre.x - step.x * k, centre.y - step.y * k});
        }
        m_field.RemoveAllTiles();
        snake.SetPosition(centre);
        Paint("");
        const Rect rcBody{centre.x - 60, centre.y - 60, centre.x + 60, centre.y + 60};
        std::vector<Colour> body;
        for (int32_t y = rcBody.top; y < rcBody.bottom; ++y)
            for (int32_t x = rcBody.left; x < rcBody.right; ++x)
                body.push_back(Pixel(x, y));
        Draw([&](CDrawTarget& dc) {
            Rect rcPair;
            UnionRect(rcPair, snake.GetSegment(0)->GetRect(), snake.GetSegment(1)->GetRect());
            for (const Rect& rc : {snake.GetRect(), snake.GetSegment(0)->GetRect(), snake.GetSegment(1)->GetRect()})
                dc.DrawBall(rc);
            dc.DrawLabel(rcPair, "\x8E\x52", 200, kRed);
        });
        size_t n = 0;
        EXPECT_EQ(Count(rcBody, [&](Colour c) { return c != body[n++]; }), 0) << step.x << "," << step.y;
    }

    // Back in menu mode nothing shows outside the area.
    m_field.SetRunning(0);
    Paint("");
    EXPECT_EQ(Count(kWhole, kWindow), nOutside);
}
