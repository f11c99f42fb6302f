#include "rect_compare.h"
#include "game_window_driver.h"
#include "renderer_driver.h"
#include "win32/gdi_buffers.h"
#include "win32/gdi_painter.h"
#include "win32/resource.h"
#include "win32/wide_text.h"
#include "win32/win_game_dlg.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

namespace {

const WPARAM kKeys[] = {VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT, 'P', VK_SPACE, 'A',
                        VK_ESCAPE, VK_RETURN, VK_TAB, VK_TAB, 'R', 'O', 'S'};

// What the next modal box (about, message) over the game window showed:
// its text, or its title when it has none; the box is closed with OK.
HWND g_hGame = nullptr;
std::wstring g_strModalText;

void CALLBACK CloseModal(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    HWND hBox = ::GetActiveWindow();
    wchar_t szText[512] = L"";
    if (!hBox || hBox == g_hGame)
        return; // not there yet
    if (!::GetDlgItemTextW(hBox, 0xFFFF, szText, 512)) // a message box's text
        ::GetWindowTextW(hBox, szText, 512);
    g_strModalText = szText;
    ::KillTimer(nullptr, nTimer);
    ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
}

// Draws into a 32-bit picture of the window's size and reads it back.
class GdiRendererTest : public ::testing::Test, public CRendererDriver
{
protected:
    GdiRendererTest()
    {
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        m_hOld = ::SelectObject(m_hDC, ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0));
    }
    ~GdiRendererTest() override { ::DeleteObject(::SelectObject(m_hDC, m_hOld)), ::DeleteDC(m_hDC); }

    void Fill(Colour colour)
    {
        HBRUSH hBrush = ::CreateSolidBrush(colour);
        const RECT rc{0, 0, kWidth, kHeight};
        ::FillRect(m_hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    void Draw(const std::function<void(CDrawTarget&)>& draw) override
    {
        Fill(0);
        CGdiPainter painter(m_hDC, 96);
        draw(painter);
    }
    void Paint(const std::string& strStatus) override
    {
        Fill(kWindow);
        m_buffers.SetTarget(m_hDC);
        PaintInto(m_buffers, strStatus);
    }
    Colour Pixel(int32_t x, int32_t y) override
    {
        ::GdiFlush();
        const uint32_t bgr = static_cast<const uint32_t*>(m_pBits)[y * kWidth + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

    const HDC m_hDC = ::CreateCompatibleDC(nullptr);
    void* m_pBits = nullptr;
    HGDIOBJ m_hOld = nullptr;
    CGdiBuffers m_buffers;
};

TEST_F(GdiRendererTest, DrawsAndPaintsThePanelThroughBuffersBuiltOnceAndSizesKeepToTheField)
{
    CheckDrawTarget();
    CheckPanel();
    EXPECT_EQ(m_buffers.GetBuilds(), 2);
    // Labels are measured in the field's pixels whatever the screen's
    // resolution.
    const TextExtent normal = CGdiPainter(m_hDC, 96).MeasureLabel("\x8a\xbf" "AB", 200); // 漢AB
    const TextExtent scaled = CGdiPainter(m_hDC, 192).MeasureLabel("\x8a\xbf" "AB", 200);
    EXPECT_TRUE(normal.cx > 40 && normal.cy >= 27) << normal.cx << "x" << normal.cy;
    EXPECT_TRUE(std::abs(scaled.cx - normal.cx) <= 2 && std::abs(scaled.cy - normal.cy) <= 2);
}

class WinGameDlgTest : public ::testing::Test, public CGameWindowDriver
{
protected:
    WinGameDlgTest()
    {
        m_dlg.SetFileChooser(&m_chooser);
        EXPECT_TRUE(m_dlg.Create());
        m_hWnd = g_hGame = m_dlg.GetSafeHwnd();
    }

    // Posts a message as the system would and lets the window handle it.
    void Post(UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        ::PostMessageW(m_hWnd, nMsg, wParam, lParam);
        m_dlg.PumpMessages();
    }

    CGameController& Controller() override { return m_dlg.Controller(); }
    void LeftButtonUp(Point pt) override { Post(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }
    void MouseMove(Point pt) override { Post(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y)); }
    void KeyDown(EKey key) override { Post(WM_KEYDOWN, kKeys[key], 1); }
    void KeyUp(EKey key) override
    {
        // Shift+Tab and Ctrl+O: the window asks the keyboard for the other key.
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_SHIFT] = key == kBackTab ? 0x80 : 0;
        state[VK_CONTROL] = key == kCtrlO ? 0x80 : 0;
        ::SetKeyboardState(state);
        Post(WM_KEYUP, kKeys[key], 0xC0000001);
        state[VK_SHIFT] = state[VK_CONTROL] = 0;
        ::SetKeyboardState(state);
    }
    void SysCommand(uint32_t nId) override { ::SendMessageW(m_hWnd, WM_SYSCOMMAND, nId, 0); }
    void Deactivate() override { Post(WM_ACTIVATE, WA_INACTIVE, 0); }
    Point Resize(Point ptClient) override
    {
        RECT rc{0, 0, ptClient.x, ptClient.y};
        ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        m_dlg.PumpMessages();
        ::GetClientRect(m_hWnd, &rc);
        return Point{rc.right, rc.bottom};
    }
    void Drop(const std::string& strPath) override
    {
        const std::wstring wstrPath = WideFromUtf8(strPath);
        HGLOBAL hDrop = ::GlobalAlloc(GHND, sizeof(DROPFILES) + (wstrPath.size() + 2) * sizeof(wchar_t));
        auto* pDrop = static_cast<DROPFILES*>(::GlobalLock(hDrop));
        pDrop->pFiles = sizeof(DROPFILES);
        pDrop->fWide = TRUE;
        wstrPath.copy(reinterpret_cast<wchar_t*>(pDrop + 1), wstrPath.size());
        ::GlobalUnlock(hDrop);
        Post(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    }
    std::string Modal(const std::function<void()>& fn) override
    {
        g_strModalText.clear();
        const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 20, CloseModal);
        fn();
        ::KillTimer(nullptr, nTimer);
        return Utf8FromWide(g_strModalText);
    }
    void Pump() override
    {
        m_dlg.PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    std::string Repaint() override
    {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return m_dlg.LastPaintedStatus();
    }
    bool IsShown() override { return !m_dlg.IsClosed() && ::IsWindowVisible(m_hWnd); }

    CWinGameDlg m_dlg;
    CPlayField& m_field = m_dlg.Field();
    HWND m_hWnd = nullptr;
};

TEST_F(WinGameDlgTest, LayoutComesFromTheHiddenTemplateControls)
{
    // x, y, width and height in dialog units, each converted on its own.
    const std::tuple<int32_t, Rect, RECT> layout[] = {
        {IDC_AREA, m_field.GetArea(), {7, 7, 228, 151}},
        {IDC_TITLE, m_field.m_rcTitle, {18, 23, 203, 36}},
        {IDC_READ, m_field.m_rcRead, {84, 71, 63, 21}},
        {IDC_START, m_field.m_rcStart, {84, 97, 63, 21}},
        {IDOK, m_field.m_rcExit, {84, 123, 63, 21}},
        {IDC_STOP, m_field.m_rcStop, {172, 163, 63, 21}}};
    for (auto [nId, rcField, units] : layout) {
        ::MapDialogRect(m_hWnd, &units);
        const Rect rcPixels{units.left, units.top, units.left + units.right, units.top + units.bottom};
        EXPECT_EQ(m_dlg.GetControlRect(nId), rcPixels) << nId;
        EXPECT_EQ(rcField, rcPixels) << nId;
        HWND hControl = ::GetDlgItem(m_hWnd, nId);
        EXPECT_FALSE(::IsWindowVisible(hControl) || ::IsWindowEnabled(hControl)) << nId;
    }
    EXPECT_EQ(m_dlg.GetControlRect(4711), Rect{});
    EXPECT_FALSE(m_dlg.EnableControl(4711, true));
    RECT rcClient, rcUnits{0, 0, 242, 201};
    ::GetClientRect(m_hWnd, &rcClient), ::MapDialogRect(m_hWnd, &rcUnits);
    EXPECT_TRUE(rcClient.right == rcUnits.right && rcClient.bottom == rcUnits.bottom);
    EXPECT_TRUE(::SendMessageW(m_hWnd, WM_GETICON, ICON_BIG, 0) && ::SendMessageW(m_hWnd, WM_GETICON, ICON_SMALL, 0));
    // The about item ends the system menu, after a separator.
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    const int nItems = ::GetMenuItemCount(hMenu);
    ASSERT_GE(nItems, 2);
    EXPECT_EQ(::GetMenuItemID(hMenu, nItems - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(::GetMenuState(hMenu, nItems - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    wchar_t szText[64] = L"";
    ::GetMenuStringW(hMenu, IDM_ABOUTBOX, szText, 64, MF_BYCOMMAND);
    EXPECT_STREQ(szText, L"Wrigglet のﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

TEST_F(WinGameDlgTest, MessagesBecomeTheCommandsOfTheirMode)
{
    CheckCommands();
    // Enter does not end the game (its default button is disabled); Exit
    // does, at once.
    Post(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(m_dlg.IsClosed());
    Click(m_field.m_rcExit);
    EXPECT_TRUE(m_dlg.IsClosed());
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
}

TEST_F(WinGameDlgTest, PlayerWinsAQuizThenEatsOutOfOrderStopsAndClosesInPlay)
{
    // 富士山 and 東京 in code page 932.
    CheckWholeQuizzes(m_dir.Write("\x95\x78\x8E\x6D\x8E\x52,fuji\n\x93\x8C\x8B\x9E,tokyo\n"),
                      {"\x95\x78\x8E\x6D\x8E\x52", "\x93\x8C\x8B\x9E"});
}

} // namespace
