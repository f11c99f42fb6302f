#include "app/display.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <filesystem>

TEST(DisplayTest, NamedPlatformNeedsItsServerAndTheHintNamesThisProgram)
{
    const char* apszVariables[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const struct { const char* apszValues[3]; bool bHas; } cases[] = {
        {{"", "", ""}, false},       {{"", ":0", ""}, true},         {{"", "", "wayland-0"}, true},
        {{"xcb", "", ""}, false},    {{"xcb", "", "wayland-0"}, false}, {{"xcb", ":0", ""}, true},
        {{"wayland", ":0", ""}, false}, {{"wayland;xcb", ":0", ""}, true},
        {{"offscreen", "", ""}, true}, {{"vnc:size=800x600", "", ""}, true}, {{";", "", ""}, false},
    };
    QByteArray aSaved[3];
    for (int i = 0; i < 3; ++i)
        aSaved[i] = qgetenv(apszVariables[i]);
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i)
            qputenv(apszVariables[i], QByteArray(c.apszValues[i]));
        std::string strWhy;
        EXPECT_EQ(HasDisplay(strWhy), c.bHas) << c.apszValues[0] << " " << c.apszValues[1];
        const std::string strHint = "xvfb-run -a " + std::filesystem::read_symlink("/proc/self/exe").string();
        EXPECT_TRUE(c.bHas || strWhy.find(strHint) != std::string::npos) << strWhy;
    }
    for (int i = 0; i < 3; ++i)
        qputenv(apszVariables[i], aSaved[i]);
}
