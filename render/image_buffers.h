#pragma once

#include "game/window_surface.h"

#include <QImage>

#include <cstdint>

class QPainter;

// The window's off-screen buffers as pictures in the screen's own pixels
// (the device pixel ratio of the window painted), copied to it with
// QPainter. They are made at the first paint and again only when the ratio
// or their reach changes.
class CImageBuffers : public CWindowSurface
{
public:
    // The window's painter for the paint that follows; nullptr after it.
    void SetTarget(QPainter* pTarget) { m_pTarget = pTarget; }

    void Prepare(EBuffer buffer, Point ptCorner) override;
    void Draw(EBuffer buffer, const std::function<void(CDrawTarget&)>& draw) override;
    void Copy(EBuffer buffer, Rect rc) override;

    // Buffers made so far.
    int32_t GetBuilds() const { return m_nBuilds; }

private:
    QImage m_images[2];
    QPainter* m_pTarget = nullptr;
    int32_t m_nBuilds = 0;
};
