#include "render/painter.h"

#include "game/ball_picture.h"
#include "platform/code_page.h"
#include "render/pen_brush_scope.h"
#include "render/resources.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <map>
#include <mutex>
#include <vector>

namespace {

// The game's face is a Windows one; IPAGothic has the same fixed-width
// Japanese letters.
const QString kFace = QStringLiteral("ＭＳ ゴシック");
const QString kSubstitute = QStringLiteral("IPAGothic");

void SubstituteFaceOnce()
{
    static const bool bDone = (QFont::insertSubstitution(kFace, kSubstitute), true);
    (void)bDone;
}

// The ball and its mask, decoded once: they never change. The pictures at
// twice the pixels serve scaled screens, where a stretched 30 x 30 ball
// would show blocky edges.
constexpr int kBallSize = 30;

struct BallImages
{
    QImage ball;
    QImage mask;
};

QImage LoadBallImage(const char* pszName)
{
    return QImage(QString::fromLatin1(pszName)).convertToFormat(QImage::Format_RGB32);
}

QImage ToImage(const std::vector<uint32_t>& pixels, int32_t nSide)
{
    QImage img(nSide, nSide, QImage::Format_RGB32);
    for (int32_t y = 0; y < nSide; ++y)
        std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * nSide, nSide, reinterpret_cast<QRgb*>(img.scanLine(y)));
    return img;
}

// The pair for the ball's side in the screen's pixels: the game's own
// pictures at their size, drawn anew for any other, once.
const BallImages& Balls(int32_t nSide)
{
    static std::mutex mutex;
    static std::map<int32_t, BallImages> images;
    std::lock_guard<std::mutex> lock(mutex);
    if (images.empty()) {
        InitWriggletResources();
        images[kBallSize] = BallImages{LoadBallImage(":/ball.png"), LoadBallImage(":/ball_mask.png")};
    }
    auto it = images.find(nSide);
    if (it == images.end()) {
        const CBallPicture picture(nSide);
        it = images.emplace(nSide, BallImages{ToImage(picture.Ball(), nSide), ToImage(picture.Mask(), nSide)}).first;
    }
    return it->second;
}

bool IsEmpty(const Rect& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

} // namespace

CPainter::CPainter(QPainter& dc) : m_pDC(&dc)
{
    SubstituteFaceOnce();
}

CPainter::~CPainter() = default;

QColor CPainter::ToQColor(Colour colour)
{
    return QColor(ColourRed(colour), ColourGreen(colour), ColourBlue(colour));
}

int32_t CPainter::PixelSize(int32_t nSize)
{
    // Rounded to the nearest pixel, as the desktop does.
    return (nSize * 96 + 360) / 720;
}

QFont CPainter::LabelFont(int32_t nSize)
{
    QFont font(kFace);
    font.setPixelSize(std::max(1, PixelSize(nSize)));
    return font;
}

void CPainter::DrawBox(Rect rc, Colour outline, Colour fill)
{
    if (IsEmpty(rc))
        return;
    CPenBrushScope scope(*m_pDC);
    scope.Select(ToQColor(outline), ToQColor(fill));
    // The outline is the whole box; the fill covers all but its edge pixels.
    const QRect box(rc.left, rc.top, rc.Width(), rc.Height());
    m_pDC->fillRect(box, scope.Pen().color());
    if (outline != fill && rc.Width() > 2 && rc.Height() > 2)
        m_pDC->fillRect(box.adjusted(1, 1, -1, -1), scope.Brush());
}

void CPainter::DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour colour)
{
    if (strText.empty() || IsEmpty(rc))
        return;
    const QFont previousFont = m_pDC->font();
    const QPen previousPen = m_pDC->pen();
    DrawCentred(rc, strText, nSize, colour);
    m_pDC->setPen(previousPen);
    m_pDC->setFont(previousFont);
}

void CPainter::DrawLabelPart(Rect rcText, Rect rcClip, const std::string& strText, int32_t nSize,
                             Colour colour)
{
    if (strText.empty() || IsEmpty(rcText) || IsEmpty(rcClip))
        return;
    m_pDC->save();
    m_pDC->setClipRect(QRect(rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height()),
                       Qt::IntersectClip);
    DrawCentred(rcText, strText, nSize, colour);
    m_pDC->restore();
}

TextExtent CPainter::MeasureLabel(const std::string& strText, int32_t nSize)
{
    const QFontMetrics metrics(LabelFont(nSize), m_pDC->device());
    const QString text = QString::fromStdU16String(DecodeCodePage932(strText));
    return TextExtent{metrics.horizontalAdvance(text), metrics.height()};
}

void CPainter::DrawCentred(Rect rc, const std::string& strText, int32_t nSize, Colour colour)
{
    const QString text = QString::fromStdU16String(DecodeCodePage932(strText));
    m_pDC->setFont(LabelFont(nSize));
    m_pDC->setPen(ToQColor(colour));
    m_pDC->setBackgroundMode(Qt::TransparentMode);
    // One line, centred; Qt clips a line wider than the box to the box.
    m_pDC->drawText(QRect(rc.left, rc.top, rc.Width(), rc.Height()),
                    Qt::AlignCenter | Qt::TextSingleLine, text);
}

void CPainter::DrawBall(Rect rc)
{
    if (IsEmpty(rc))
        return;
    const QPaintDevice* pDevice = m_pDC->device();
    const qreal ratio = pDevice ? pDevice->devicePixelRatio() : 1.0;
    const BallImages& images = Balls(qRound(kBallSize * ratio));
    // As a bit-block copy from the pictures' corner, pixel for pixel.
    const qreal scale = static_cast<qreal>(images.ball.width()) / kBallSize;
    const int w = std::min(rc.Width(), kBallSize);
    const int h = std::min(rc.Height(), kBallSize);
    const QRect target(rc.left, rc.top, w, h);
    const QRectF source(0, 0, w * scale, h * scale);
    const QPainter::CompositionMode previous = m_pDC->compositionMode();
    // The mask whitens the disc and leaves the corners; the ball, white
    // outside its disc, then colours only the disc.
    m_pDC->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    m_pDC->drawImage(target, images.mask, source);
    m_pDC->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    m_pDC->drawImage(target, images.ball, source);
    m_pDC->setCompositionMode(previous);
}
