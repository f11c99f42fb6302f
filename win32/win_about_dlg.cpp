#include "win32/win_about_dlg.h"

#include "win32/resource.h"

void CWinAboutDlg::DoModal(HWND hOwner)
{
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), hOwner, DialogProc, 0);
}

INT_PTR CALLBACK CWinAboutDlg::DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM)
{
    switch (nMsg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(hWnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}
