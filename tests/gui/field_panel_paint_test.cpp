#include "field/play_field.h"
#include "render/painter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>

namespace {

// The dialog's layout in client pixels.
const Rect kArea{11, 11, 353, 238};
const Rect kTitle{27, 35, 332, 89};
const Rect kRead{126, 107, 221, 139};
const Rect kStart{126, 146, 221, 178};
const Rect kExit{126, 185, 221, 217};
const Rect kStop{258, 245, 353, 277};
const Rect kProgress{11, 245, 106, 277};
const Rect kTile{45, 135, 75, 165};
const Rect kHead{285, 135, 315, 165};
const Rect kSegment{245, 185, 275, 215};

// The window's own background, which Paint must leave alone.
const QRgb kWindow = qRgb(1, 2, 3);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(204, 0, 0);
const QRgb kDarkGrey = qRgb(38, 38, 38);
const QRgb kGrey = qRgb(140, 140, 140);
const QRgb kTileWhite = qRgb(250, 250, 250);
const QRgb kMenuLabel = qRgb(12, 0, 204);
const QRgb kGold = qRgb(229, 209, 0);

// Pixels of the rectangle that have the colour, or for which it holds.
template <class F>
int Count(const QImage& img, const Rect& rc, F test)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += test(img.pixel(x, y));
    return n;
}
int Count(const QImage& img, const Rect& rc, QRgb colour)
{
    return Count(img, rc, [colour](QRgb c) { return c == colour; });
}

class FieldPanelPaintTest : public ::testing::Test
{
protected:
    FieldPanelPaintTest()
    {
        m_field.SetArea(kArea);
        m_field.m_rcTitle = kTitle;
        m_field.m_rcRead = kRead;
        m_field.m_rcStart = kStart;
        m_field.m_rcExit = kExit;
        m_field.m_rcStop = kStop;
        m_field.SetTitle("\x82\xAD\x82\xCB\x82\xAD\x82\xCB\x82\xAD\x82\xCB");
        // One tile, and a snake of head and one segment, clear of the menu.
        m_field.PlaceTiles("A");
        m_field.GetTile(0)->SetPosition(Point{60, 150});
        m_field.GetSnake().SetPosition(Point{300, 150});
        CCharObject eaten;
        eaten.SetText("B");
        m_field.GetSnake().AddSegment(eaten);
        m_field.GetSnake().GetSegment(0)->SetPosition(Point{260, 200});
    }

    QImage Paint(const std::string& strStatus = "", qreal ratio = 1.0)
    {
        QImage window(qRound(363 * ratio), qRound(302 * ratio), QImage::Format_RGB32);
        window.setDevicePixelRatio(ratio);
        window.fill(kWindow);
        QPainter dc(&window);
        m_field.Paint(dc, strStatus);
        return window;
    }

    CPlayField m_field;
};

} // namespace

TEST_F(FieldPanelPaintTest, MenuShowsTitleAndThreeButtonsOnly)
{
    m_field.UpdateHover(Point{kExit.left, kExit.top});
    const QImage img = Paint("status");

    EXPECT_EQ(img.pixel(kTitle.left, kTitle.top), kGrey);
    EXPECT_EQ(img.pixel(kTitle.left + 1, kTitle.top + 1), kDarkGrey);
    EXPECT_GT(Count(img, kTitle, kRed), 100) << "the title";
    for (const Rect& rc : {kRead, kStart, kExit}) {
        EXPECT_EQ(img.pixel(rc.right - 1, rc.bottom - 1), kGrey);
        EXPECT_GT(Count(img, rc, kMenuLabel), 20);
    }
    // Hover fill on Exit alone.
    EXPECT_EQ(img.pixel(kExit.left + 1, kExit.top + 1), kRed);
    EXPECT_EQ(img.pixel(kStart.left + 1, kStart.top + 1), kDarkGrey);
    EXPECT_EQ(img.pixel(kRead.left + 1, kRead.top + 1), kDarkGrey);
    // No tile, snake, status text or Stop button; nothing outside the area.
    EXPECT_EQ(Count(img, kArea, kTileWhite) + Count(img, kArea, kGold), 0);
    EXPECT_EQ(Count(img, kHead, kBlack) + Count(img, kSegment, kBlack), 2 * 900);
    EXPECT_EQ(Count(img, Rect{0, 0, 363, 302}, kWindow), 363 * 302 - 342 * 227);
}

TEST_F(FieldPanelPaintTest, PlayShowsTilesSnakeStopButtonAndProgressOnly)
{
    m_field.SetRunning(1);
    m_field.SetProgress(2, 5);
    m_field.UpdateHover(Point{kStart.left, kStart.top});
    const QImage img = Paint();

    EXPECT_EQ(Count(img, kTitle, kBlack), 305 * 54) << "title box";
    for (const Rect& rc : {kRead, kStart, kExit})
        EXPECT_EQ(Count(img, rc, kBlack), 95 * 32) << "menu button";
    // A near-white tile with a red letter; nothing else near white.
    EXPECT_GT(Count(img, kTile, kRed), 10);
    EXPECT_EQ(Count(img, kTile, kGrey), 0) << "a letter is no half";
    EXPECT_EQ(Count(img, kArea, kTileWhite), Count(img, kTile, kTileWhite));
    EXPECT_EQ(img.pixel(kTile.right - 1, kTile.bottom - 1), kTileWhite);
    // The head: a blue ball without text. The segment: a ball with its letter.
    EXPECT_EQ(Count(img, kHead, [](QRgb c) { return qRed(c) > qBlue(c); }), 0);
    EXPECT_GT(qBlue(img.pixel(300, 150)), 150);
    EXPECT_GT(Count(img, kSegment, kRed), 10);
    // The Stop button outside the area, red only under the mouse.
    EXPECT_EQ(img.pixel(kStop.left, kStop.top), kDarkGrey);
    EXPECT_EQ(img.pixel(kStop.left + 1, kStop.top + 1), kDarkGrey);
    EXPECT_GT(Count(img, kStop, kGold), 20);
    m_field.UpdateHover(Point{kStop.right - 1, kStop.bottom - 1});
    const QImage hovered = Paint();
    EXPECT_EQ(hovered.pixel(kStop.left, kStop.top), kDarkGrey);
    EXPECT_EQ(hovered.pixel(kStop.left + 1, kStop.top + 1), kRed);
    EXPECT_GT(Count(hovered, kProgress, kGold), 20);
    EXPECT_EQ(Count(hovered, Rect{0, 0, 363, 302}, kWindow),
              363 * 302 - 342 * 227 - 2 * 95 * 32);
}

TEST_F(FieldPanelPaintTest, TwoHalvesSideBySideMakeTheWholeCharacter)
{
    m_field.SetRunning(1);
    m_field.RemoveAllTiles();
    m_field.PlaceTiles("\x8E\x52"); // 山
    m_field.GetTile(0)->SetPosition(Point{60, 150});
    m_field.GetTile(1)->SetPosition(Point{90, 150});
    const QImage img = Paint();
    QImage whole = img.copy();
    {
        QPainter dc(&whole);
        CPainter painter(dc);
        painter.DrawBox(Rect{45, 135, 105, 165}, 0xFAFAFA, 0xFAFAFA);
        painter.DrawLabel(Rect{45, 135, 105, 165}, "\x8E\x52", 200, 0x0000CC);
    }
    // Alike between the two wedges, which point at each other.
    const Rect rcBetween{53, 135, 97, 165};
    int nDiffering = 0;
    for (int y = rcBetween.top; y < rcBetween.bottom; ++y)
        for (int x = rcBetween.left; x < rcBetween.right; ++x)
            nDiffering += img.pixel(x, y) != whole.pixel(x, y);
    EXPECT_EQ(nDiffering, 0);
    EXPECT_GT(Count(img, rcBetween, kRed), 50);
    EXPECT_GT(Count(img, Rect{45, 135, 53, 165}, kGrey), 5);
    EXPECT_GT(Count(img, Rect{97, 135, 105, 165}, kGrey), 5);
}

TEST_F(FieldPanelPaintTest, StatusTextLiesOverTilesAndSnake)
{
    m_field.SetRunning(1);
    m_field.GetTile(0)->SetPosition(Point{182, 124});
    m_field.GetSnake().SetPosition(Point{212, 124});
    // Full blocks, so that the text covers whole pixels.
    const QImage img = Paint("\x81\xA1\x81\xA1\x81\xA1\x81\xA1");
    EXPECT_GT(Count(img, Rect{167, 109, 197, 139}, kGold), 50) << "under the tile";
    EXPECT_GT(Count(img, Rect{197, 109, 227, 139}, kGold), 50) << "under the snake";
}

TEST_F(FieldPanelPaintTest, BuffersAreBuiltOnceAtTheFirstPaintAndScaled)
{
    const QImage scaled = Paint("", 2.0);
    EXPECT_EQ(m_field.GetBufferBuilds(), 2);
    // One logical pixel of outline is two device pixels.
    EXPECT_EQ(scaled.pixel(2 * kTitle.left + 1, 2 * kTitle.top + 1), kGrey);
    EXPECT_EQ(scaled.pixel(2 * kTitle.left + 2, 2 * kTitle.top + 2), kDarkGrey);
    EXPECT_EQ(scaled.pixel(2 * kArea.left - 1, 2 * kArea.top), kWindow);

    // The ball is drawn from its own picture at twice the pixels, not
    // stretched: not every 2 x 2 block of it is one colour.
    m_field.SetRunning(1);
    m_field.SetProgress(1, 5);
    const QImage ball = Paint("", 2.0);
    int nFine = 0;
    for (int y = 2 * kHead.top; y < 2 * kHead.bottom; y += 2) {
        for (int x = 2 * kHead.left; x < 2 * kHead.right; x += 2) {
            const QRgb c = ball.pixel(x, y);
            nFine += c != ball.pixel(x + 1, y) || c != ball.pixel(x, y + 1) || c != ball.pixel(x + 1, y + 1);
        }
    }
    EXPECT_GT(nFine, 30);

    Paint();
    m_field.SetRunning(0);
    const QImage img = Paint();
    EXPECT_EQ(m_field.GetBufferBuilds(), 2);
    EXPECT_EQ(Count(img, kStop, kWindow) + Count(img, kProgress, kWindow), 2 * 95 * 32)
        << "leaving play mode";
}
