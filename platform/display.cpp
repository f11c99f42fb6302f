#include "platform/display.h"

#include <cstdlib>

namespace {

bool IsSet(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue && *pszValue;
}

} // namespace

bool HasDisplay(std::string& strWhy)
{
#if defined(__unix__) && !defined(__APPLE__)
    // A chosen Qt platform (offscreen, vnc, ...) needs no display server.
    if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"))
        return true;
    strWhy = "no display: DISPLAY and WAYLAND_DISPLAY are not set. Start Wrigglet in a desktop "
             "session, or without one under Xvfb: xvfb-run -a wrigglet";
    return false;
#else
    (void)strWhy;
    return true;
#endif
}
