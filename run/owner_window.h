#pragma once

#include <cstdint>

// What the game loop may ask of the window that shows it. Implementations
// must accept calls from any thread.
class COwnerWindow
{
public:
    virtual ~COwnerWindow() = default;

    // Asks for a repaint of the whole window; bErase repaints its background
    // first (needed after a change of mode).
    virtual void InvalidateRect(bool bErase) = 0;
    // Enables or disables the control with this id; false when there is none.
    virtual bool EnableControl(int32_t nId, bool bEnable) = 0;
};
