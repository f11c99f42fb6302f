#pragma once

#include "platform/rect.h"

#include <windows.h>

#include <cstdint>
#include <string>

class CFieldPanel;

// The panel's two off-screen pictures, the area and the Stop button that
// lies outside it, as memory device contexts. Painting draws the whole panel
// into them and copies it to the window in one go, so it never flickers.
class CGdiBuffers
{
public:
    CGdiBuffers() = default;
    ~CGdiBuffers();
    CGdiBuffers(const CGdiBuffers&) = delete;
    CGdiBuffers& operator=(const CGdiBuffers&) = delete;

    // Draws the panel with the status text and copies the area (and, in play
    // mode, the Stop button and the progress beside it) to hTarget. The
    // buffers are made at the first call and again only when the resolution
    // changes.
    void Paint(HDC hTarget, CFieldPanel& panel, const std::string& strStatus, int32_t nDpi);
    // Buffers made so far: two at the first paint, none after.
    int32_t GetBuilds() const { return m_nBuilds; }

private:
    struct Buffer
    {
        HDC hDC = nullptr;
        HBITMAP hBitmap = nullptr;
        HGDIOBJ hOld = nullptr;
    };

    // A buffer covering client pixels from (0, 0) to the rectangle's
    // bottom-right corner, so drawing into it needs no translation.
    void Build(Buffer& buffer, HDC hTarget, const Rect& rc, int32_t nDpi);
    static void Release(Buffer& buffer);
    static void Copy(HDC hTarget, const Buffer& buffer, const Rect& rc, int32_t nDpi);

    Buffer m_area;
    Buffer m_stop;
    int32_t m_nDpi = 0;
    int32_t m_nBuilds = 0;
};
