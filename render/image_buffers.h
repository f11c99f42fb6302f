#pragma once

#include "game/window_scale.h"
#include "game/window_surface.h"

#include <QImage>

#include <cstdint>

class QPainter;

// The window's off-screen buffers as pictures in the screen's own pixels at
// the picture's scale in the window, copied to it with QPainter. They are
// made at the first paint and again only when the scale or their reach
// changes.
class CImageBuffers : public CWindowSurface
{
public:
    // The window's painter for the paint that follows, and where the
    // picture lies in it; nullptr after it.
    void SetTarget(QPainter* pTarget, const CWindowScale& scale = CWindowScale());

    void Prepare(EBuffer buffer, Point ptCorner) override;
    void Draw(EBuffer buffer, const std::function<void(CDrawTarget&)>& draw) override;
    void Copy(EBuffer buffer, Rect rc) override;

    // Buffers made so far.
    int32_t GetBuilds() const { return m_nBuilds; }

private:
    QImage m_images[2];
    QPainter* m_pTarget = nullptr;
    qreal m_screenRatio = 1.0;
    qreal m_ratio = 1.0;
    QPoint m_offset;
    int32_t m_nBuilds = 0;
};
