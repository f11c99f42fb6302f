#include "field/play_field.h"
#include "platform/random.h"

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

// The window's own background, which Paint must leave alone.
const QRgb kWindow = qRgb(1, 2, 3);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(204, 0, 0);
const QRgb kDarkGrey = qRgb(38, 38, 38);
const QRgb kGrey = qRgb(140, 140, 140);
const QRgb kTileWhite = qRgb(250, 250, 250);
const QRgb kMenuLabel = qRgb(12, 0, 204);
const QRgb kGold = qRgb(229, 209, 0);

int Count(const QImage& img, const Rect& rc, QRgb colour)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += img.pixel(x, y) == colour;
    return n;
}

class FieldPanelPaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_field.SetArea(kArea);
        m_field.m_rcTitle = kTitle;
        m_field.m_rcRead = kRead;
        m_field.m_rcStart = kStart;
        m_field.m_rcExit = kExit;
        m_field.m_rcStop = kStop;
        m_field.SetTitle("\x82\xAD\x82\xCB\x82\xAD\x82\xCB\x82\xAD\x82\xCB");
        m_field.CentreSnake();
        SeedRandom(3);
    }

    QImage Paint(const std::string& strStatus = "")
    {
        QImage window(363, 302, QImage::Format_RGB32);
        window.fill(kWindow);
        QPainter dc(&window);
        m_field.Paint(dc, strStatus);
        return window;
    }

    // One tile with the given byte at the given centre.
    void PutTile(const std::string& strText, Point pt)
    {
        m_field.PlaceTiles(strText);
        m_field.GetTile(m_field.GetTileCount() - 1)->SetPosition(pt);
    }

    CPlayField m_field;
};

} // namespace

TEST_F(FieldPanelPaintTest, MenuShowsTitleAndThreeButtonsOnly)
{
    PutTile("A", Point{60, 150});
    m_field.GetSnake().SetPosition(Point{300, 150});
    m_field.UpdateHover(Point{kExit.left, kExit.top});
    const QImage img = Paint("status");

    EXPECT_EQ(img.pixel(kArea.left, kArea.top), kBlack);
    EXPECT_EQ(img.pixel(kArea.right - 1, kArea.bottom - 1), kBlack);
    // Title box: grey outline, dark fill, red title.
    EXPECT_EQ(img.pixel(kTitle.left, kTitle.top), kGrey);
    EXPECT_EQ(img.pixel(kTitle.left + 1, kTitle.top + 1), kDarkGrey);
    EXPECT_GT(Count(img, kTitle, kRed), 100);
    // Buttons: grey outlines, hover fill only on Exit, blue labels.
    for (const Rect& rc : {kRead, kStart, kExit}) {
        EXPECT_EQ(img.pixel(rc.left, rc.top), kGrey);
        EXPECT_EQ(img.pixel(rc.right - 1, rc.bottom - 1), kGrey);
        EXPECT_GT(Count(img, rc, kMenuLabel), 20);
    }
    EXPECT_EQ(img.pixel(kExit.left + 1, kExit.top + 1), kRed);
    EXPECT_EQ(img.pixel(kStart.left + 1, kStart.top + 1), kDarkGrey);
    EXPECT_EQ(img.pixel(kRead.left + 1, kRead.top + 1), kDarkGrey);
    // No tile, snake, status text or Stop button, although a tile exists.
    EXPECT_EQ(Count(img, kArea, kTileWhite), 0);
    EXPECT_EQ(Count(img, kArea, kGold), 0);
    EXPECT_EQ(img.pixel(300, 150), kBlack) << "the snake's centre";
    EXPECT_EQ(Count(img, kStop, kWindow), 95 * 32);
    // Nothing outside the area.
    EXPECT_EQ(img.pixel(kArea.left - 1, kArea.top), kWindow);
    EXPECT_EQ(img.pixel(kArea.right, kArea.top), kWindow);
    EXPECT_EQ(img.pixel(kArea.left, kArea.bottom), kWindow);
}

TEST_F(FieldPanelPaintTest, PlayShowsTilesSnakeAndStopButtonOnly)
{
    m_field.SetRunning(1);
    PutTile("A", Point{60, 150});
    m_field.GetSnake().SetPosition(Point{300, 150});
    CCharObject eaten;
    eaten.SetText("B");
    m_field.GetSnake().AddSegment(eaten);
    m_field.GetSnake().GetSegment(0)->SetPosition(Point{260, 200});
    m_field.UpdateHover(Point{kStart.left, kStart.top});
    const QImage img = Paint();

    // No title box, no menu buttons, even with the mouse over Start.
    EXPECT_EQ(img.pixel(kTitle.left, kTitle.top), kBlack);
    EXPECT_EQ(Count(img, kTitle, kRed), 0);
    for (const Rect& rc : {kRead, kStart, kExit}) {
        EXPECT_EQ(Count(img, rc, kGrey), 0);
        EXPECT_EQ(Count(img, rc, kMenuLabel), 0);
    }
    // The tile: near white with a red letter; nothing else is near white.
    const Rect rcTile{45, 135, 75, 165};
    EXPECT_EQ(img.pixel(rcTile.left, rcTile.top), kTileWhite);
    EXPECT_EQ(img.pixel(rcTile.right - 1, rcTile.bottom - 1), kTileWhite);
    EXPECT_GT(Count(img, rcTile, kRed), 10);
    EXPECT_EQ(Count(img, kArea, kTileWhite), Count(img, rcTile, kTileWhite));
    // The head is a ball without a letter; the segment a ball with one.
    const Rect rcHead{285, 135, 315, 165};
    const Rect rcSegment{245, 185, 275, 215};
    int nReddish = 0;
    for (int y = rcHead.top; y < rcHead.bottom; ++y)
        for (int x = rcHead.left; x < rcHead.right; ++x)
            nReddish += qRed(img.pixel(x, y)) > qBlue(img.pixel(x, y));
    EXPECT_EQ(nReddish, 0) << "the head carries text";
    EXPECT_GT(qBlue(img.pixel(300, 150)), qRed(img.pixel(300, 150)));
    EXPECT_EQ(img.pixel(rcHead.left, rcHead.top), kBlack) << "ball corner";
    EXPECT_GT(Count(img, rcSegment, kRed), 10);
    // The Stop button, dark, outside the area.
    EXPECT_EQ(img.pixel(kStop.left, kStop.top), kDarkGrey);
    EXPECT_EQ(img.pixel(kStop.left + 1, kStop.top + 1), kDarkGrey);
    EXPECT_GT(Count(img, kStop, kGold), 20);
    EXPECT_EQ(img.pixel(kStop.left - 1, kStop.top), kWindow);

    m_field.UpdateHover(Point{kStop.right - 1, kStop.bottom - 1});
    const QImage hovered = Paint();
    EXPECT_EQ(hovered.pixel(kStop.left, kStop.top), kDarkGrey) << "outline stays";
    EXPECT_EQ(hovered.pixel(kStop.left + 1, kStop.top + 1), kRed);
}

TEST_F(FieldPanelPaintTest, StatusTextLiesOverTilesAndSnake)
{
    m_field.SetRunning(1);
    // A tile right under the middle of the area, and the head beside it.
    PutTile("x", Point{182, 124});
    m_field.GetSnake().SetPosition(Point{212, 124});
    // Full blocks, so that the text covers whole pixels of the tile.
    const QImage img = Paint("\x81\xA1\x81\xA1\x81\xA1\x81\xA1");
    EXPECT_GT(Count(img, Rect{167, 109, 197, 139}, kGold), 50) << "status under the tile";
    EXPECT_GT(Count(img, Rect{197, 109, 227, 139}, kGold), 50) << "status under the snake";
}

TEST_F(FieldPanelPaintTest, BuffersAreBuiltOnceAtTheFirstPaint)
{
    EXPECT_EQ(m_field.GetBufferBuilds(), 0);
    Paint();
    EXPECT_EQ(m_field.GetBufferBuilds(), 2);
    m_field.SetRunning(1);
    Paint();
    m_field.SetRunning(0);
    const QImage img = Paint();
    EXPECT_EQ(m_field.GetBufferBuilds(), 2);
    // Leaving play mode leaves the Stop button's place to the window.
    EXPECT_EQ(Count(img, kStop, kWindow), 95 * 32);
}

TEST_F(FieldPanelPaintTest, ScaledWindowGetsDevicePixels)
{
    QImage window(726, 604, QImage::Format_RGB32);
    window.setDevicePixelRatio(2.0);
    window.fill(kWindow);
    {
        QPainter dc(&window);
        m_field.Paint(dc, "");
    }
    // The title box's outline is one logical pixel: two device pixels.
    EXPECT_EQ(window.pixel(2 * kTitle.left, 2 * kTitle.top), kGrey);
    EXPECT_EQ(window.pixel(2 * kTitle.left + 1, 2 * kTitle.top + 1), kGrey);
    EXPECT_EQ(window.pixel(2 * kTitle.left + 2, 2 * kTitle.top + 2), kDarkGrey);
    EXPECT_EQ(window.pixel(2 * kArea.left - 1, 2 * kArea.top), kWindow);
    EXPECT_EQ(window.pixel(2 * kArea.left, 2 * kArea.top), kBlack);
}
