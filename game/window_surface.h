#pragma once

#include "field/draw_target.h"
#include "platform/point.h"
#include "platform/rect.h"

#include <cstdint>
#include <functional>

// The off-screen buffers of a game window, as its front-end keeps them, and
// the copy from them to the window. A buffer covers client pixels from (0, 0)
// to its corner, so drawing into it needs no translation; the front-end holds
// it in the screen's own pixels, so that text stays sharp at any scale.
class CWindowSurface
{
public:
    enum EBuffer : int32_t { AreaBuffer, StopBuffer };

    virtual ~CWindowSurface() = default;

    // Makes the buffer reach to ptCorner, unless it does already.
    virtual void Prepare(EBuffer buffer, Point ptCorner) = 0;
    // Draws into the buffer, in client coordinates.
    virtual void Draw(EBuffer buffer, const std::function<void(CDrawTarget&)>& draw) = 0;
    // Copies the rectangle from the buffer to the same place in the window.
    virtual void Copy(EBuffer buffer, Rect rc) = 0;
};
