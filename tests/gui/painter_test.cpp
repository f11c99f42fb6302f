#include "game/ball_picture.h"
#include "render/image_buffers.h"
#include "render/painter.h"
#include "render/resources.h"
#include "renderer_driver.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

class PainterTest : public ::testing::Test, public CRendererDriver
{
protected:
    // Draws through a CPainter over a QPainter that has a pen, brush and
    // font of its own: the drawing must not depend on them nor change them.
    void Draw(const std::function<void(CDrawTarget&)>& draw) override
    {
        m_img.fill(Qt::black);
        QPainter dc(&m_img);
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
    }
    void Paint(const std::string& strStatus) override { m_img = PaintAt(strStatus, 1.0); }
    Colour Pixel(int32_t x, int32_t y) override
    {
        const QRgb c = m_img.pixel(x, y);
        return static_cast<Colour>(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16);
    }

    // The window at the device pixel ratio, painted as Paint does.
    QImage PaintAt(const std::string& strStatus, qreal ratio)
    {
        QImage window(qRound(kWidth * ratio), qRound(kHeight * ratio), QImage::Format_RGB32);
        window.setDevicePixelRatio(ratio);
        window.fill(CPainter::ToQColor(kWindow));
        QPainter dc(&window);
        m_buffers.SetTarget(&dc);
        PaintInto(m_buffers, strStatus);
        m_buffers.SetTarget(nullptr);
        return window;
    }

    QImage m_img{kWidth, kHeight, QImage::Format_RGB32};
    CImageBuffers m_buffers;
};

TEST_F(PainterTest, DrawsAndPaintsThePanelInIpaGothic)
{
    CheckDrawTarget();
    CheckPanel();
    // 20 pt on a 96-dpi screen, in the substitute for the desktop's face,
    // of fixed widths: 27 pixels for a kanji, half that for a letter. Pixel
    // sizes round to the nearest.
    Draw([](CDrawTarget& dc) {
        EXPECT_EQ(dc.MeasureLabel("\x8E\x52", 200).cx, 27);
        EXPECT_EQ(dc.MeasureLabel("\x8E\x52\x8E\x52", 200).cx, 54);
        EXPECT_EQ(dc.MeasureLabel("AB", 200).cx, 27);
        EXPECT_GE(dc.MeasureLabel("A", 200).cy, 27);
    });
    const QFontInfo info(CPainter::LabelFont(200));
    EXPECT_EQ(info.family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(info.pixelSize(), 27);
    EXPECT_TRUE(CPainter::PixelSize(300) == 40 && CPainter::PixelSize(400) == 53);
}

TEST_F(PainterTest, PanelBuffersAreBuiltOnceAtTheFirstPaintAndScaled)
{
    const Rect &rcTitle = m_field.m_rcTitle, rcHead = m_field.GetSnake().GetRect();
    const QImage scaled = PaintAt("", 2.0);
    EXPECT_EQ(m_buffers.GetBuilds(), 2);
    // One logical pixel of outline is two device pixels.
    EXPECT_EQ(scaled.pixel(2 * rcTitle.left + 1, 2 * rcTitle.top + 1), qRgb(140, 140, 140));
    EXPECT_EQ(scaled.pixel(2 * rcTitle.left + 2, 2 * rcTitle.top + 2), qRgb(38, 38, 38));
    EXPECT_EQ(scaled.pixel(2 * m_field.GetArea().left - 1, 2 * m_field.GetArea().top), qRgb(1, 2, 3));

    // The ball is drawn from its own picture at twice the pixels, not
    // stretched: not every 2 x 2 block of it is one colour.
    m_field.SetRunning(1);
    const QImage ball = PaintAt("", 2.0);
    int nFine = 0;
    for (int y = 2 * rcHead.top; y < 2 * rcHead.bottom; y += 2) {
        for (int x = 2 * rcHead.left; x < 2 * rcHead.right; x += 2) {
            const QRgb c = ball.pixel(x, y);
            nFine += c != ball.pixel(x + 1, y) || c != ball.pixel(x, y + 1) || c != ball.pixel(x + 1, y + 1);
        }
    }
    EXPECT_GT(nFine, 30);
    EXPECT_EQ(m_buffers.GetBuilds(), 2);
    // A screen of another scale gets buffers of its own pixels.
    PaintAt("", 1.0);
    EXPECT_EQ(m_buffers.GetBuilds(), 4);
}

} // namespace

namespace {

// The ball drawn anew for a screen's pixels is, at the game's size, the
// game's own pictures; no smaller than a pixel.
TEST(BallPictureTest, DrawnAnewItIsTheGamesOwnPicture)
{
    InitWriggletResources();
    const CBallPicture picture(30);
    const std::pair<const char*, const std::vector<uint32_t>*> pictures[] = {{":/ball.png", &picture.Ball()},
                                                                            {":/ball_mask.png", &picture.Mask()}};
    for (const auto& [pszName, pPixels] : pictures) {
        const QImage img = QImage(QString::fromLatin1(pszName)).convertToFormat(QImage::Format_RGB32);
        int32_t nDifferent = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                nDifferent += (img.pixel(x, y) & 0xFFFFFF) != (*pPixels)[static_cast<size_t>(y * 30 + x)];
        EXPECT_EQ(nDifferent, 0) << pszName;
    }
    EXPECT_EQ(CBallPicture(0).Ball().size(), 1u);
}

} // namespace
