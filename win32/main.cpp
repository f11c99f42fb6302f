#include "win32/wide_text.h"
#include "win32/win_game_dlg.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // A question file named on the command line (or dropped on the program's
    // icon, or opened from the desktop) is loaded at once.
    std::string strFile;
    int nArgs = 0;
    if (LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs)) {
        if (nArgs > 1)
            strFile = Utf8FromWide(ppArgs[1]);
        ::LocalFree(ppArgs);
    }

    // The window owns the field, the questions and the run; closing it
    // stops the run and waits for it before they go.
    CWinGameDlg dlg;
    if (!dlg.Create())
        return 1;
    if (!strFile.empty())
        dlg.Controller().LoadQuestions(strFile);
    return dlg.DoModal();
}
