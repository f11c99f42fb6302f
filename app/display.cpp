#include "app/display.h"

#if defined(__unix__) && !defined(__APPLE__)

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

bool IsSet(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue && *pszValue;
}

// This very program, so the hint works wherever it was started from: run.sh
// does not put it on the PATH, and root's PATH has no /usr/games.
std::string OwnPath()
{
    std::error_code error;
    const std::string strPath = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error || strPath.empty())
        return "wrigglet";
    if (strPath.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                  "0123456789/._+-") == std::string::npos)
        return strPath;
    std::string strQuoted = "'";
    for (char ch : strPath)
        strQuoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return strQuoted + "'";
}

} // namespace

bool HasDisplay(std::string& strWhy)
{
    // QT_QPA_PLATFORM is a list that Qt tries in order (unset, Qt picks a
    // display server itself); one platform that can start is enough. Only
    // xcb and wayland need a server; offscreen, vnc, eglfs... start anywhere.
    const char* pszPlatforms = std::getenv("QT_QPA_PLATFORM");
    const std::string strPlatforms = pszPlatforms ? pszPlatforms : "";
    bool bWantsX = strPlatforms.find_first_not_of(';') == std::string::npos;
    bool bWantsWayland = bWantsX;
    for (size_t nStart = 0; nStart < strPlatforms.size();) {
        const size_t nEnd = std::min(strPlatforms.find(';', nStart), strPlatforms.size());
        const std::string strEntry = strPlatforms.substr(nStart, nEnd - nStart);
        const std::string strName = strEntry.substr(0, strEntry.find(':'));
        nStart = nEnd + 1;
        if (strName == "xcb")
            bWantsX = true;
        else if (strName.compare(0, 7, "wayland") == 0)
            bWantsWayland = true;
        else if (!strName.empty())
            return true;
    }
    if ((bWantsX && IsSet("DISPLAY")) || (bWantsWayland && IsSet("WAYLAND_DISPLAY")))
        return true;
    const std::string strMissing = bWantsX && bWantsWayland ? "DISPLAY and WAYLAND_DISPLAY are"
                                   : bWantsX                ? "DISPLAY is"
                                                            : "WAYLAND_DISPLAY is";
    strWhy = "no display: " + strMissing + " not set" +
             (strPlatforms.empty() ? "" : " (QT_QPA_PLATFORM=" + strPlatforms + ")") +
             ". Start Wrigglet in a desktop session, or without one under Xvfb (Debian package "
             "xvfb): xvfb-run -a " + OwnPath();
    return false;
}

#else

bool HasDisplay(std::string&)
{
    return true;
}

#endif
