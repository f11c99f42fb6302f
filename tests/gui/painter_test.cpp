#include "render/painter.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(204, 0, 0);
const QRgb kGrey = qRgb(140, 140, 140);
const auto kInk = [](QRgb c) { return c != kBlack; };

// Draws on black through a CPainter over a QPainter that has a pen, brush and
// font of its own: the drawing must not depend on them nor change them.
template <class F>
QImage Paint(F draw)
{
    QImage img(120, 80, QImage::Format_RGB32);
    img.fill(kBlack);
    QPainter dc(&img);
    const QPen pen(QColor(1, 2, 3), 4);
    const QBrush brush(QColor(5, 6, 7), Qt::Dense4Pattern);
    const QFont font(QStringLiteral("IPAGothic"), 9);
    dc.setPen(pen);
    dc.setBrush(brush);
    dc.setFont(font);
    CPainter painter(dc);
    draw(painter);
    EXPECT_TRUE(dc.pen() == pen && dc.brush() == brush && dc.font() == font && !dc.hasClipping() &&
                dc.compositionMode() == QPainter::CompositionMode_SourceOver);
    dc.end();
    return img;
}

// Pixels inside (or outside) the box for which test(pixel) holds.
template <class F>
int Count(const QImage& img, const QRect& box, bool bInside, F test)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += box.contains(x, y) == bInside && test(img.pixel(x, y));
    return n;
}

} // namespace

TEST(PainterTest, BoxCoversLeftTopButNotRightBottomWithAOnePixelOutline)
{
    const QImage img = Paint([](CPainter& painter) { painter.DrawBox(Rect{10, 20, 40, 50}, 0x8C8C8C, 0x0000CC); });
    const QRect box(10, 20, 30, 30);
    // 0x0000CC is red; the outline is on all four sides and only there.
    EXPECT_EQ(Count(img, box.adjusted(1, 1, -1, -1), true, [](QRgb c) { return c == kRed; }), 28 * 28);
    EXPECT_EQ(Count(img, box, true, [](QRgb c) { return c == kGrey; }), 30 * 30 - 28 * 28);
    EXPECT_EQ(Count(img, box, false, kInk), 0);
}

TEST(PainterTest, LabelStaysInItsBoxOnOneLineInIpaGothic)
{
    const QImage img = Paint([](CPainter& painter) {
        painter.DrawLabel(Rect{40, 25, 70, 55}, "WWWWWWWWWW", 200, 0x00D1E5);
    });
    EXPECT_EQ(Count(img, QRect(40, 25, 30, 30), false, kInk), 0) << "spills out of its box";
    // Centred and cut at both ends: ink near both edges.
    EXPECT_GT(Count(img, QRect(40, 25, 3, 30), true, kInk), 0);
    EXPECT_GT(Count(img, QRect(67, 25, 3, 30), true, kInk), 0);
    // A line break does not start a second line.
    const QImage two = Paint([](CPainter& painter) { painter.DrawLabel(Rect{0, 0, 120, 80}, "a\nb", 200, 0x00D1E5); });
    EXPECT_EQ(Count(two, QRect(0, 0, 120, 26), true, kInk), 0);
    EXPECT_EQ(Count(two, QRect(0, 54, 120, 26), true, kInk), 0);

    // Part of a label: the left half of 山 centred over two boxes. In the
    // face's fixed widths: 27 pixels for a kanji at 20 points.
    const QImage half = Paint([](CPainter& painter) {
        painter.DrawLabelPart(Rect{10, 10, 70, 40}, Rect{10, 10, 40, 40}, "\x8E\x52", 200, 0x0000CC);
        EXPECT_EQ(painter.MeasureLabel("\x8E\x52", 200).cx, 27);
        EXPECT_EQ(painter.MeasureLabel("\x8E\x52\x8E\x52", 200).cx, 54);
        EXPECT_EQ(painter.MeasureLabel("AB", 200).cx, 27);
        EXPECT_GE(painter.MeasureLabel("A", 200).cy, 27);
    });
    EXPECT_GT(Count(half, QRect(10, 10, 30, 30), true, kInk), 20);
    EXPECT_EQ(Count(half, QRect(10, 10, 30, 30), false, kInk), 0);

    // 20 pt on a 96-dpi screen, in the substitute for the desktop's face;
    // pixel sizes round to the nearest.
    const QFontInfo info(CPainter::LabelFont(200));
    EXPECT_EQ(info.family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(info.pixelSize(), 27);
    EXPECT_TRUE(CPainter::PixelSize(300) == 40 && CPainter::PixelSize(400) == 53);
}

TEST(PainterTest, BallCornersShowWhatLiesBeneath)
{
    const QImage img = Paint([](CPainter& painter) {
        painter.DrawBox(Rect{10, 10, 40, 40}, 0xFAFAFA, 0xFAFAFA);
        painter.DrawBall(Rect{10, 10, 40, 40});
        painter.DrawBall(Rect{60, 10, 90, 40});
    });
    for (QPoint corner : {QPoint(10, 10), QPoint(39, 10), QPoint(10, 39), QPoint(39, 39)}) {
        EXPECT_EQ(img.pixel(corner), qRgb(250, 250, 250));
        EXPECT_EQ(img.pixel(corner + QPoint(50, 0)), kBlack);
    }
    // The disc is the light-blue ball, the same over the tile and over black.
    for (QPoint p : {QPoint(25, 25), QPoint(18, 18), QPoint(32, 32)}) {
        EXPECT_GT(qBlue(img.pixel(p)), qRed(img.pixel(p)));
        EXPECT_EQ(img.pixel(p), img.pixel(p + QPoint(50, 0)));
    }
    EXPECT_EQ(Count(img, QRect(10, 10, 80, 30), false, kInk), 0);
}
