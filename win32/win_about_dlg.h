#pragma once

#include <windows.h>

// The about box: the icon, the name and version, and OK.
class CWinAboutDlg
{
public:
    // Shows it modally over hOwner until OK, Escape or its close box.
    static void DoModal(HWND hOwner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};
