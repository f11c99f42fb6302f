#include "win32/wide_text.h"
#include "win32/win_game_dlg.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The window owns the field, the questions and the run; closing it
    // stops the run and waits for it before they go.
    CWinGameDlg dlg;
    if (!dlg.Create())
        return 1;

    // A question file named on the command line (dropped on the program's
    // icon, or opened through the .csv association) loads at once.
    std::vector<std::string> files;
    int nArgs = 0;
    if (LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs)) {
        for (int i = 1; i < nArgs; ++i)
            files.push_back(Utf8FromWide(ppArgs[i]));
        ::LocalFree(ppArgs);
    }
    dlg.Controller().OnCommandLine(files);
    return dlg.DoModal();
}
