#include "render/image_buffers.h"

#include "render/painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

void CImageBuffers::SetTarget(QPainter* pTarget, const CWindowScale& scale)
{
    m_pTarget = pTarget;
    m_screenRatio = pTarget && pTarget->device() ? pTarget->device()->devicePixelRatio() : 1.0;
    m_ratio = scale.GetScale() * m_screenRatio;
    m_offset = QPoint(scale.GetOffset().x, scale.GetOffset().y);
}

void CImageBuffers::Prepare(EBuffer buffer, Point ptCorner)
{
    QImage& img = m_images[buffer];
    const QSize size(qCeil(ptCorner.x * m_ratio), qCeil(ptCorner.y * m_ratio));
    if (!img.isNull() && img.size() == size && img.devicePixelRatio() == m_ratio)
        return;
    img = QImage();
    if (ptCorner.x <= 0 || ptCorner.y <= 0)
        return;
    img = QImage(size, QImage::Format_RGB32);
    // The game's pixels are drawn at the picture's scale: text, boxes and
    // balls in the screen's own pixels, never stretched afterwards.
    img.setDevicePixelRatio(m_ratio);
    img.fill(Qt::black);
    ++m_nBuilds;
}

void CImageBuffers::Draw(EBuffer buffer, const std::function<void(CDrawTarget&)>& draw)
{
    QImage& img = m_images[buffer];
    if (img.isNull())
        return;
    QPainter dc(&img);
    CPainter painter(dc);
    draw(painter);
}

void CImageBuffers::Copy(EBuffer buffer, Rect rc)
{
    const QImage& img = m_images[buffer];
    if (!m_pTarget || img.isNull() || IsRectEmpty(rc))
        return;
    // Whole pixels of the buffer, to the same pixels of the screen: a copy,
    // not a scaling.
    const qreal ratio = img.devicePixelRatio();
    const QRect src(QPoint(qFloor(rc.left * ratio), qFloor(rc.top * ratio)),
                    QPoint(qCeil(rc.right * ratio) - 1, qCeil(rc.bottom * ratio) - 1));
    const QRectF dst(QPointF(m_offset) + QPointF(src.topLeft()) / m_screenRatio, QSizeF(src.size()) / m_screenRatio);
    const QPainter::CompositionMode previous = m_pTarget->compositionMode();
    m_pTarget->setCompositionMode(QPainter::CompositionMode_Source);
    m_pTarget->drawImage(dst, img, src);
    m_pTarget->setCompositionMode(previous);
}
