#pragma once

#include "game/window_scale.h"
#include "game/window_surface.h"

#include <windows.h>

#include <cstdint>

// The window's off-screen buffers as memory device contexts in the screen's
// own pixels, copied to the window with BitBlt. They are made at the first
// paint and again only when the resolution or their reach changes.
class CGdiBuffers : public CWindowSurface
{
public:
    CGdiBuffers() = default;
    ~CGdiBuffers() override;
    CGdiBuffers(const CGdiBuffers&) = delete;
    CGdiBuffers& operator=(const CGdiBuffers&) = delete;

    // The window's device context for the paint that follows, and where the
    // picture lies in it.
    void SetTarget(HDC hTarget, const CWindowScale& scale = CWindowScale());

    void Prepare(EBuffer buffer, Point ptCorner) override;
    void Draw(EBuffer buffer, const std::function<void(CDrawTarget&)>& draw) override;
    void Copy(EBuffer buffer, Rect rc) override;

    // Buffers made so far.
    int32_t GetBuilds() const { return m_nBuilds; }

private:
    struct Buffer
    {
        HDC hDC = nullptr;
        HBITMAP hBitmap = nullptr;
        HGDIOBJ hOld = nullptr;
        Point ptCorner;
        int32_t nDpi = 0;
    };

    static void Release(Buffer& buffer);

    Buffer m_buffers[2];
    HDC m_hTarget = nullptr;
    // The picture's pixels to 96 of the game's, and its corner.
    int32_t m_nDpi = 96;
    Point m_ptOffset;
    int32_t m_nBuilds = 0;
};
