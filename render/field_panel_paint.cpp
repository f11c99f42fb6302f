// The window side of CFieldPanel: its buffers and their copy to the window.
#include "field/field_panel.h"
#include "render/painter.h"
#include "render/panel_buffers.h"

#include <QPaintDevice>
#include <QPainter>

#include <utility>

namespace {

// Copies the rectangle from the buffer to the same place in the window.
void CopyToTarget(QPainter& target, const QImage& buffer, const Rect& rc)
{
    if (buffer.isNull() || rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    const qreal ratio = buffer.devicePixelRatio();
    const QRectF dst(rc.left, rc.top, rc.Width(), rc.Height());
    const QRectF src(rc.left * ratio, rc.top * ratio, rc.Width() * ratio, rc.Height() * ratio);
    const QPainter::CompositionMode previous = target.compositionMode();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(dst, buffer, src);
    target.setCompositionMode(previous);
}

} // namespace

void CFieldPanel::Paint(QPainter& target, std::string strStatus)
{
    if (!m_pBuffers)
        m_pBuffers = decltype(m_pBuffers)(new CPanelBuffers, &CPanelBuffers::Delete);
    CPanelBuffers& buffers = *m_pBuffers;
    // Sharp on scaled screens: the buffers hold device pixels.
    const qreal ratio = target.device() ? target.device()->devicePixelRatio() : 1.0;

    // The window cannot be resized, so what fits at the first paint fits
    // for good.
    if (m_bBuildArea) {
        buffers.m_imgArea = CPanelBuffers::Make(m_rcArea.right, m_rcArea.bottom, ratio);
        m_bBuildArea = 0;
        ++m_nBufferBuilds;
    }
    if (m_bBuildStop) {
        buffers.m_imgStop = CPanelBuffers::Make(m_rcStop.right, m_rcStop.bottom, ratio);
        m_bBuildStop = 0;
        ++m_nBufferBuilds;
    }

    if (!buffers.m_imgArea.isNull()) {
        {
            QPainter dc(&buffers.m_imgArea);
            CPainter painter(dc);
            Draw(painter, std::move(strStatus));
        }
        CopyToTarget(target, buffers.m_imgArea, m_rcArea);
    }

    if (IsRunning() && !buffers.m_imgStop.isNull()) {
        bool bProgress = false;
        {
            QPainter dc(&buffers.m_imgStop);
            CPainter painter(dc);
            DrawStopButton(painter);
            bProgress = DrawProgress(painter);
        }
        CopyToTarget(target, buffers.m_imgStop, m_rcStop);
        if (bProgress)
            CopyToTarget(target, buffers.m_imgStop, GetProgressRect());
    }
}
