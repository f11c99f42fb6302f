#include "app/game_app.h"

#include "app/game_dlg.h"
#include "app/display.h"

#include <QApplication>
#include <QTimer>

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
    // A question file named on the command line loads as soon as the
    // window is up, so that a message about it has the window to sit on.
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.OpenCommandLine(QApplication::arguments()); });
    dlg.exec();
    return 0;
}
