#include "render/panel_buffers.h"

#include <QtMath>

void CPanelBuffers::Delete(CPanelBuffers* pBuffers)
{
    delete pBuffers;
}

QImage CPanelBuffers::Make(int32_t nWidth, int32_t nHeight, qreal ratio)
{
    if (nWidth <= 0 || nHeight <= 0)
        return QImage();
    QImage img(qCeil(nWidth * ratio), qCeil(nHeight * ratio), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::black);
    return img;
}
