#pragma once

#include "platform/point.h"
#include "platform/rect.h"

#include <cstdint>

// Where the game's picture lies in a window of any size: the window's client
// area as the template makes it (the canvas, in the game's pixels) at one
// uniform scale, the largest that fits but never below the window's own at
// its smallest, centred. A front-end counts in its own units (Qt: pixels
// independent of the screen's scale; Windows: the screen's pixels), nBase96
// of which make 96 of the game's pixels at the smallest size.
class CWindowScale
{
public:
    void SetCanvas(Point ptCanvas) { m_ptCanvas = ptCanvas; }
    Point GetCanvas() const { return m_ptCanvas; }
    // Fits the canvas into a client area of ptWindow units.
    void Fit(Point ptWindow, int32_t nBase96);

    // The window's units to 96 of the game's pixels.
    int32_t GetScale96() const { return m_nScale96; }
    double GetScale() const { return m_nScale96 / 96.0; }
    // The canvas's top-left corner in the window's units.
    Point GetOffset() const { return m_ptOffset; }
    // The smallest client area in the window's units.
    Point GetMinimumSize(int32_t nBase96) const;
    // A point of the window in the game's pixels; outside the canvas for a
    // point beside it.
    Point ToCanvas(Point ptWindow) const;

private:
    Point m_ptCanvas;
    int32_t m_nScale96 = 96;
    Point m_ptOffset;
};
