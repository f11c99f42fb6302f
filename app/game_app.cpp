#include "app/game_app.h"

#include "app/game_dlg.h"
#include "platform/display.h"

#include <QApplication>

#include <cstdio>
#include <string>

int CGameApp::Run(int argc, char* argv[])
{
    // Qt would abort with a long message; one clear line is kinder.
    std::string strWhy;
    if (!HasDisplay(strWhy)) {
        std::fprintf(stderr, "wrigglet: %s\n", strWhy.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wrigglet"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.wrigglet.Wrigglet"));

    // The window owns the field, the questions and the run; closing it
    // stops the run and waits for it before they go.
    CGameDlg dlg;
    dlg.exec();
    return 0;
}
