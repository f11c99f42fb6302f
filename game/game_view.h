#pragma once

#include "platform/owner_window.h"

#include <cstdint>
#include <string>

// What the controller asks of the window it runs in. Repaints and controls
// (the owner-window part) may be asked from any thread; the rest only from
// the window's own thread, from inside a controller call.
class CGameView : public COwnerWindow
{
public:
    // A modal message box; the text is UTF-8.
    virtual void ShowError(const std::string& strText) = 0;
    virtual void ShowAbout() = 0;
    // Takes the window off the screen and ends its event loop.
    virtual void CloseWindow() = 0;
};
