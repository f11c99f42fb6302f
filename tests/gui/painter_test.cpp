#include "render/painter.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QRgb kBlack = qRgb(0, 0, 0);

QImage Canvas(int w = 120, int h = 80, qreal ratio = 1.0)
{
    QImage img(qRound(w * ratio), qRound(h * ratio), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(kBlack);
    return img;
}

// Pixels of the image (in its own pixels) inside or outside the box that
// satisfy the test.
int Count(const QImage& img, const QRect& box, bool bInside, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (box.contains(x, y) == bInside && test(img.pixel(x, y)))
                ++n;
    return n;
}

bool NotBlack(QRgb c)
{
    return qRed(c) || qGreen(c) || qBlue(c);
}

} // namespace

TEST(PainterTest, BoxCoversLeftTopButNotRightBottomWithAOnePixelOutline)
{
    QImage img = Canvas();
    {
        QPainter dc(&img);
        CPainter painter(dc);
        painter.DrawBox(Rect{10, 20, 40, 50}, 0x8C8C8C, 0x0000CC);
        painter.DrawBox(Rect{60, 5, 90, 35}, 0xFAFAFA, 0xFAFAFA);
        painter.DrawBox(Rect{100, 5, 102, 7}, 0x0000CC, 0xCC000C);
        painter.DrawBox(Rect{110, 5, 110, 30}, 0xFAFAFA, 0xFAFAFA);
    }
    const QRgb grey = qRgb(140, 140, 140);
    const QRgb red = qRgb(204, 0, 0);
    // Outline on all four sides, fill inside; 0x0000CC is red, not blue.
    for (int x = 10; x < 40; ++x) {
        EXPECT_EQ(img.pixel(x, 20), grey) << x;
        EXPECT_EQ(img.pixel(x, 49), grey) << x;
    }
    for (int y = 20; y < 50; ++y) {
        EXPECT_EQ(img.pixel(10, y), grey) << y;
        EXPECT_EQ(img.pixel(39, y), grey) << y;
    }
    EXPECT_EQ(img.pixel(11, 21), red);
    EXPECT_EQ(img.pixel(38, 48), red);
    EXPECT_EQ(Count(img, QRect(11, 21, 28, 28), true, [&](QRgb c) { return c != red; }), 0);
    // Nothing beyond the right and bottom edges, nor left of or above it.
    EXPECT_EQ(Count(img.copy(0, 0, 60, 80), QRect(10, 20, 30, 30), false,
                    [&](QRgb c) { return c == red || c == grey; }),
              0);

    const QRgb white = qRgb(250, 250, 250);
    EXPECT_EQ(Count(img, QRect(60, 5, 30, 30), true, [&](QRgb c) { return c == white; }), 900);
    EXPECT_EQ(img.pixel(90, 20), kBlack);
    EXPECT_EQ(img.pixel(75, 35), kBlack);
    // Too small for a fill: outline only. An empty box draws nothing.
    EXPECT_EQ(Count(img, QRect(100, 5, 2, 2), true, [&](QRgb c) { return c == red; }), 4);
    EXPECT_EQ(img.pixel(110, 10), kBlack);
}

TEST(PainterTest, ColoursAreBgrAndPainterStateIsRestored)
{
    EXPECT_EQ(CPainter::ToQColor(0x0000CC), QColor(204, 0, 0));
    EXPECT_EQ(CPainter::ToQColor(0xCC000C), QColor(12, 0, 204));
    EXPECT_EQ(CPainter::ToQColor(0x00D1E5), QColor(229, 209, 0));

    QImage img = Canvas();
    QPainter dc(&img);
    const QPen pen(QColor(1, 2, 3), 4);
    const QBrush brush(QColor(5, 6, 7), Qt::Dense4Pattern);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(9);
    dc.setPen(pen);
    dc.setBrush(brush);
    dc.setFont(font);
    CPainter painter(dc);
    painter.DrawBox(Rect{1, 1, 50, 50}, 0x8C8C8C, 0x0000CC);
    painter.DrawLabel(Rect{1, 1, 50, 50}, "A", 200, 0x0000CC);
    painter.DrawLabel(Rect{1, 1, 50, 50}, "", 200, 0x0000CC);
    painter.DrawBall(Rect{1, 1, 31, 31});
    EXPECT_EQ(dc.pen(), pen);
    EXPECT_EQ(dc.brush(), brush);
    EXPECT_EQ(dc.font(), font);
    EXPECT_EQ(dc.compositionMode(), QPainter::CompositionMode_SourceOver);
}

TEST(PainterTest, LabelsAreIpaGothicAtDesktopSizes)
{
    EXPECT_EQ(CPainter::PixelSize(200), 27);
    EXPECT_EQ(CPainter::PixelSize(300), 40);
    EXPECT_EQ(CPainter::PixelSize(400), 53);
    QImage img = Canvas();
    QPainter dc(&img);
    CPainter painter(dc);
    const QFont font = CPainter::LabelFont(200);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(font).pixelSize(), 27);
}

TEST(PainterTest, LabelStaysInItsBoxOnOneLineCentred)
{
    const Rect rc{40, 25, 70, 55};
    const QRect box(40, 25, 30, 30);
    const auto gold = [](QRgb c) { return qRed(c) > 100 && qBlue(c) == 0; };

    QImage img = Canvas();
    {
        QPainter dc(&img);
        CPainter painter(dc);
        painter.DrawLabel(rc, "WWWWWWWWWW", 200, 0x00D1E5);
    }
    EXPECT_GT(Count(img, box, true, gold), 50);
    EXPECT_EQ(Count(img, box, false, NotBlack), 0) << "the text spills out of its box";
    // Cut at both ends: the middle of the line fills the box edge to edge.
    EXPECT_GT(Count(img, QRect(40, 25, 3, 30), true, gold), 0);
    EXPECT_GT(Count(img, QRect(67, 25, 3, 30), true, gold), 0);

    // A line break does not start a second line.
    QImage one = Canvas();
    QImage two = Canvas();
    const Rect wide{0, 0, 120, 80};
    {
        QPainter dc(&one);
        CPainter(dc).DrawLabel(wide, "ab", 200, 0x00D1E5);
        QPainter dc2(&two);
        CPainter(dc2).DrawLabel(wide, "a\nb", 200, 0x00D1E5);
    }
    int nTop = 80, nBottom = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            if (NotBlack(two.pixel(x, y))) {
                nTop = std::min(nTop, y);
                nBottom = std::max(nBottom, y);
            }
    EXPECT_LT(nBottom - nTop, 27) << "drawn on two lines";
    EXPECT_GT(nTop, 20) << "not centred vertically";
}

TEST(PainterTest, BallCornersShowWhatLiesBeneath)
{
    QImage img = Canvas();
    {
        QPainter dc(&img);
        CPainter painter(dc);
        painter.DrawBox(Rect{10, 10, 40, 40}, 0xFAFAFA, 0xFAFAFA);
        painter.DrawBall(Rect{10, 10, 40, 40});
        painter.DrawBall(Rect{60, 10, 90, 40});
    }
    const QRgb tile = qRgb(250, 250, 250);
    for (QPoint corner : {QPoint(10, 10), QPoint(39, 10), QPoint(10, 39), QPoint(39, 39)}) {
        EXPECT_EQ(img.pixel(corner), tile) << corner.x() << "," << corner.y();
        EXPECT_EQ(img.pixel(corner + QPoint(50, 0)), kBlack);
    }
    // The disc is the light-blue ball, the same over the tile and over black.
    for (QPoint p : {QPoint(25, 25), QPoint(18, 18), QPoint(32, 32)}) {
        const QRgb c = img.pixel(p);
        EXPECT_GT(qBlue(c), qRed(c));
        EXPECT_EQ(c, img.pixel(p + QPoint(50, 0)));
    }
    // Nothing outside the square.
    EXPECT_EQ(img.pixel(40, 25), kBlack);
    EXPECT_EQ(img.pixel(90, 25), kBlack);
}

TEST(PainterTest, ScaledScreensKeepTheLogicalPixelRules)
{
    QImage img = Canvas(60, 40, 2.0);
    {
        QPainter dc(&img);
        CPainter painter(dc);
        painter.DrawBox(Rect{5, 5, 15, 15}, 0x8C8C8C, 0x0000CC);
        painter.DrawBall(Rect{20, 5, 50, 35});
    }
    const QRgb grey = qRgb(140, 140, 140);
    EXPECT_EQ(img.pixel(10, 10), grey);
    EXPECT_EQ(img.pixel(11, 11), grey);
    EXPECT_EQ(img.pixel(12, 12), qRgb(204, 0, 0));
    EXPECT_EQ(img.pixel(29, 29), grey);
    EXPECT_EQ(img.pixel(30, 30), kBlack);
    EXPECT_EQ(img.pixel(40, 10), kBlack) << "ball corner";
    EXPECT_GT(qBlue(img.pixel(70, 40)), 100) << "ball centre";
    EXPECT_EQ(img.pixel(100, 40), kBlack) << "past the ball";
}
