#pragma once

#include "run/owner_window.h"

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
    // Takes the window off the screen at once and ends its event loop with
    // the result, IDOK or IDCANCEL.
    virtual void CloseWindow(int32_t nResult) = 0;
    // A timer that calls the controller's OnTimer with nId every period.
    virtual void StartTimer(int32_t nId, int32_t nMilliseconds) = 0;
    // Takes the keyboard focus back to the window, unless a box of its own
    // holds the window.
    virtual void TakeFocus() = 0;
    // Fills the screen with the window, or puts it back as it was.
    virtual void SetFullScreen(bool bFullScreen) = 0;
};
