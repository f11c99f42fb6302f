#include "app/game_app.h"

#include "app/game_dlg.h"
#include "app/display.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

// Reads the command line before anything needs a display, so that --help,
// --version and a mistake are answered anywhere, without a window. Returns
// the exit status, or -1 to go on and open the window with these files.
int ReadCommandLine(int& argc, char* argv[], QStringList& files)
{
    // The parser takes the program's name and its decoded arguments from an
    // application object; the window's own comes once a display is known.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Wrigglet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WRIGGLET_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A quiz game: steer a snake with the arrow keys to eat the letters of each answer in order."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A question file to load at once: a line per question, the answer, "
                                                "a comma and the question, in Shift-JIS or UTF-8."),
                                 QStringLiteral("[file]"));
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "wrigglet: %s\nTry 'wrigglet --help'.\n", qPrintable(parser.errorText()));
        return 2;
    }
    // --help-all, which the parser adds, has no options of Qt's to add here.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Wrigglet %s\n", WRIGGLET_VERSION_STRING);
        return 0;
    }
    files = parser.positionalArguments();
    return -1;
}

} // namespace

int CGameApp::Run(int argc, char* argv[])
{
    QStringList files;
    const int nStatus = ReadCommandLine(argc, argv, files);
    if (nStatus >= 0)
        return nStatus;
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
    QTimer::singleShot(0, &dlg, [&dlg, files] { dlg.OpenCommandLine(files); });
    dlg.exec();
    return 0;
}
