#include "render/image_buffers.h"

#include "render/painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

void CImageBuffers::Prepare(EBuffer buffer, Point ptCorner)
{
    const qreal ratio = m_pTarget && m_pTarget->device() ? m_pTarget->device()->devicePixelRatio() : 1.0;
    QImage& img = m_images[buffer];
    const QSize size(qCeil(ptCorner.x * ratio), qCeil(ptCorner.y * ratio));
    if (!img.isNull() && img.size() == size && img.devicePixelRatio() == ratio)
        return;
    img = QImage();
    if (ptCorner.x <= 0 || ptCorner.y <= 0)
        return;
    img = QImage(size, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
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
    const qreal ratio = img.devicePixelRatio();
    const QRectF dst(rc.left, rc.top, rc.Width(), rc.Height());
    const QRectF src(rc.left * ratio, rc.top * ratio, rc.Width() * ratio, rc.Height() * ratio);
    const QPainter::CompositionMode previous = m_pTarget->compositionMode();
    m_pTarget->setCompositionMode(QPainter::CompositionMode_Source);
    m_pTarget->drawImage(dst, img, src);
    m_pTarget->setCompositionMode(previous);
}
