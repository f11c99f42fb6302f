#include "win32/win_game_dlg.h"

#include "win32/resource.h"
#include "win32/wide_text.h"
#include "win32/win_about_dlg.h"

#include <shellapi.h>
#include <windowsx.h>


namespace {

HINSTANCE Instance()
{
    return ::GetModuleHandleW(nullptr);
}

bool IsDown(int nKey)
{
    return (::GetKeyState(nKey) & 0x8000) != 0;
}

CGameController::EKey ToKey(WPARAM nKey)
{
    using EKey = CGameController::EKey;
    switch (nKey) {
    case VK_LEFT:
        return EKey::Left;
    case VK_UP:
        return EKey::Up;
    case VK_RIGHT:
        return EKey::Right;
    case VK_DOWN:
        return EKey::Down;
    case 'P':
        return EKey::Pause;
    case VK_SPACE:
        return EKey::Space;
    case VK_RETURN:
        return EKey::Enter;
    case VK_TAB:
        return IsDown(VK_SHIFT) ? EKey::BackTab : EKey::Tab;
    case 'R':
        return EKey::Read;
    case 'O':
        return IsDown(VK_CONTROL) ? EKey::Read : EKey::Other;
    case 'S':
        return EKey::Stop;
    case VK_F11:
        return EKey::FullScreen;
    default:
        return EKey::Other;
    }
}

} // namespace

CWinGameDlg::CWinGameDlg() : m_controller(*this)
{
    m_hIcon = static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    m_hSmallIcon = static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
    SetFileChooser(nullptr);
}

CWinDialogHandles::~CWinDialogHandles()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    if (m_hSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
}

bool CWinGameDlg::Create()
{
    if (!m_hWnd)
        ::CreateDialogParamW(Instance(), MAKEINTRESOURCEW(IDD_WRIGGLET_DIALOG), nullptr, DialogProc,
                             reinterpret_cast<LPARAM>(this));
    return m_hWnd != nullptr;
}

int CWinGameDlg::DoModal()
{
    if (!Create())
        return 1;
    MSG msg;
    while (!m_bClosed) {
        const BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bGot == 0) {
            // Somebody asked the thread to end: pass it on to the caller.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_controller.OnCommand(IDCANCEL);
            break;
        }
        if (bGot < 0)
            break;
        if (!::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}

void CWinGameDlg::PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!m_hWnd || !::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

INT_PTR CALLBACK CWinGameDlg::DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG) {
        auto* pThis = reinterpret_cast<CWinGameDlg*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        pThis->m_hWnd = hWnd;
        pThis->OnInitDialog();
        // The window takes the keys itself: none of its controls can.
        ::SetFocus(hWnd);
        return FALSE;
    }
    auto* pThis = reinterpret_cast<CWinGameDlg*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    return pThis ? pThis->OnMessage(nMsg, wParam, lParam) : FALSE;
}

void CWinGameDlg::OnInitDialog()
{
    // The about item joins the system menu, when its text is there.
    if (HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        const wchar_t* pszAbout = nullptr;
        const int nLength = ::LoadStringW(Instance(), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&pszAbout), 0);
        if (nLength > 0) {
            ::AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(hMenu, MF_STRING, IDM_ABOUTBOX, std::wstring(pszAbout, static_cast<size_t>(nLength)).c_str());
        }
    }
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    m_dialogChooser.SetOwner(m_hWnd);
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    m_controller.Init([this](int32_t nId) { return GetControlRect(nId); },
                      Point{PixelsToField(rcClient.right), PixelsToField(rcClient.bottom)});
    m_controller.OnResize(Point{rcClient.right, rcClient.bottom}, GetDpi());
    ::DragAcceptFiles(m_hWnd, TRUE);
}

INT_PTR CWinGameDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_SYSCOMMAND:
        // Any other command gets the system's own handling.
        return m_controller.OnSysCommand(static_cast<uint32_t>(wParam)) ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(m_hIcon));
        return TRUE;
    case WM_TIMER:
        m_controller.OnTimer(static_cast<int32_t>(wParam));
        return TRUE;
    case WM_COMMAND:
        m_controller.OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_MOUSEMOVE:
        m_controller.OnMouseMove(ClientPoint(lParam));
        return FALSE;
    case WM_LBUTTONUP:
        m_controller.OnLeftButtonUp(ClientPoint(lParam));
        return FALSE;
    case WM_KEYUP:
        // The snake turns when the key comes up; the message goes on.
        m_controller.OnKeyUp(ToKey(wParam));
        return FALSE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            m_controller.OnDeactivate();
        return FALSE;
    case WM_ENTERMENULOOP:
        // The system menu keeps the window active; the quiz pauses all the same.
        m_controller.OnDeactivate();
        return FALSE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            m_controller.OnResize(Point{LOWORD(lParam), HIWORD(lParam)}, GetDpi());
        return FALSE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_DPICHANGED:
        // The dialog manager moves and scales the window; the field keeps
        // its 96-dpi geometry and the next paint rebuilds the buffers.
        InvalidateRect(true);
        return FALSE;
    case WM_APP_ENABLE_CONTROL:
        ::EnableWindow(::GetDlgItem(m_hWnd, static_cast<int>(wParam)), lParam != 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void CWinGameDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    if (!::IsIconic(m_hWnd)) {
        m_buffers.SetTarget(hDC, m_controller.GetScale());
        m_controller.Paint(m_buffers);
        m_buffers.SetTarget(nullptr);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CWinGameDlg::OnDropFiles(HDROP hDrop)
{
    // The first file dropped loads as a file chosen with Read.
    std::wstring wstrName(::DragQueryFileW(hDrop, 0, nullptr, 0), L'\0');
    const bool bFile = !wstrName.empty() &&
                       ::DragQueryFileW(hDrop, 0, &wstrName[0], static_cast<UINT>(wstrName.size() + 1)) > 0;
    ::DragFinish(hDrop);
    if (bFile)
        m_controller.OpenFile(Utf8FromWide(wstrName));
}

int32_t CWinGameDlg::GetDpi() const
{
    const UINT nDpi = m_hWnd ? ::GetDpiForWindow(m_hWnd) : 0;
    return nDpi > 0 ? static_cast<int32_t>(nDpi) : 96;
}

int32_t CWinGameDlg::PixelsToField(int32_t nPixels) const
{
    return ::MulDiv(nPixels, 96, GetDpi());
}

Point CWinGameDlg::ClientPoint(LPARAM lParam)
{
    return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

Rect CWinGameDlg::GetControlRect(int32_t nId) const
{
    HWND hControl = m_hWnd ? ::GetDlgItem(m_hWnd, nId) : nullptr;
    if (!hControl)
        return Rect{};
    RECT rc;
    ::GetWindowRect(hControl, &rc);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    return Rect{PixelsToField(rc.left), PixelsToField(rc.top), PixelsToField(rc.right), PixelsToField(rc.bottom)};
}

void CWinGameDlg::InvalidateRect(bool bErase)
{
    // Safe from the game loop: the system folds the requests into one paint
    // on the window's thread.
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, bErase ? TRUE : FALSE);
}

bool CWinGameDlg::EnableControl(int32_t nId, bool bEnable)
{
    if (!m_hWnd || !::GetDlgItem(m_hWnd, nId))
        return false;
    // The window's thread does it: a call from the game loop must never wait
    // for a window thread that waits for the game loop.
    ::PostMessageW(m_hWnd, WM_APP_ENABLE_CONTROL, static_cast<WPARAM>(nId), bEnable ? 1 : 0);
    return true;
}

void CWinGameDlg::ShowError(const std::string& strText)
{
    ::MessageBoxW(m_hWnd, WideFromUtf8(strText).c_str(), L"Wrigglet", MB_OK | MB_ICONWARNING);
}

void CWinGameDlg::ShowAbout()
{
    CWinAboutDlg::DoModal(m_hWnd);
}

void CWinGameDlg::CloseWindow(int32_t)
{
    // Off the screen at once; the message loop ends with it.
    m_bClosed = true;
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CWinGameDlg::StartTimer(int32_t nId, int32_t nMilliseconds)
{
    ::SetTimer(m_hWnd, static_cast<UINT_PTR>(nId), static_cast<UINT>(nMilliseconds), nullptr);
}

void CWinGameDlg::TakeFocus()
{
    // Not from under a box that holds the window (open file, message).
    if (!m_bClosed && ::IsWindowEnabled(m_hWnd))
        ::SetFocus(m_hWnd);
}

void CWinGameDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    // Never smaller than the template makes the window.
    const int32_t nDpi = GetDpi();
    const Point ptMin = m_controller.GetScale().GetMinimumSize(nDpi);
    RECT rc{0, 0, ptMin.x, ptMin.y};
    ::AdjustWindowRectExForDpi(&rc, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)), static_cast<UINT>(nDpi));
    pInfo->ptMinTrackSize = POINT{rc.right - rc.left, rc.bottom - rc.top};
}

void CWinGameDlg::SetFullScreen(bool bFullScreen)
{
    // The whole monitor without a frame, and back to the frame and place the
    // window had.
    if (bFullScreen) {
        m_placement.length = sizeof(m_placement);
        ::GetWindowPlacement(m_hWnd, &m_placement);
        m_nWindowStyle = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, m_nWindowStyle & ~(WS_CAPTION | WS_THICKFRAME));
        const RECT& rc = monitor.rcMonitor;
        ::SetWindowPos(m_hWnd, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    } else if (m_nWindowStyle) {
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, m_nWindowStyle);
        ::SetWindowPlacement(m_hWnd, &m_placement);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
}

void CWinGameDlg::SetFileChooser(CFileChooser* pChooser)
{
    m_controller.SetFileChooser(pChooser ? pChooser : &m_dialogChooser);
}
