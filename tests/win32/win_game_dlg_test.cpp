#include "game_window_driver.h"
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

const WPARAM kKeys[] = {VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT, 'P', VK_SPACE, 'A'};

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

// A white 32-bit picture to draw into and read back.
struct CPicture
{
    CPicture(int32_t nWidth, int32_t nHeight) : m_nWidth(nWidth)
    {
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), nWidth, -nHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        m_hOld = ::SelectObject(m_hDC, ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0));
        ::PatBlt(m_hDC, 0, 0, nWidth, nHeight, WHITENESS);
    }
    ~CPicture() { ::DeleteObject(::SelectObject(m_hDC, m_hOld)), ::DeleteDC(m_hDC); }
    COLORREF Pixel(int32_t x, int32_t y) const
    {
        ::GdiFlush();
        const uint32_t bgr = static_cast<const uint32_t*>(m_pBits)[y * m_nWidth + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    bool Has(const Rect& rc, COLORREF colour) const
    {
        for (int32_t y = rc.top; y < rc.bottom; ++y)
            for (int32_t x = rc.left; x < rc.right; ++x)
                if (Pixel(x, y) == colour)
                    return true;
        return false;
    }

    const HDC m_hDC = ::CreateCompatibleDC(nullptr);
    int32_t m_nWidth;
    void* m_pBits = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

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
    void KeyUp(EKey key) override { Post(WM_KEYUP, kKeys[key], 0xC0000001); }
    void SysCommand(uint32_t nId) override { ::SendMessageW(m_hWnd, WM_SYSCOMMAND, nId, 0); }
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

TEST_F(WinGameDlgTest, PaintsBothModesThroughItsBuffers)
{
    // The window's own painting, read back from a picture of it.
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    CPicture picture(rcClient.right, rcClient.bottom);
    CGdiBuffers buffers;
    const Rect rcArea = m_field.GetArea(), rcTitle = m_field.m_rcTitle, rcStart = m_field.m_rcStart;
    const Rect rcRead = m_field.m_rcRead, rcStop = m_field.m_rcStop;
    m_field.UpdateHover(Point{rcStart.left, rcStart.top});
    buffers.Paint(picture.m_hDC, m_field, "", 96);
    const std::tuple<int32_t, int32_t, COLORREF> menu[] = {
        {rcArea.left, rcArea.top, RGB(0, 0, 0)},
        {rcTitle.left, rcTitle.top, RGB(140, 140, 140)},
        {rcTitle.right - 1, rcTitle.bottom - 1, RGB(140, 140, 140)},
        {rcTitle.right, rcTitle.bottom, RGB(0, 0, 0)}, // right and bottom edges are outside
        {rcTitle.left + 1, rcTitle.top + 1, RGB(38, 38, 38)},
        {rcStart.left + 1, rcStart.top + 1, RGB(204, 0, 0)}, // hovered
        {rcRead.left + 1, rcRead.top + 1, RGB(38, 38, 38)},
        {rcStop.left + 1, rcStop.top + 1, RGB(255, 255, 255)}}; // no Stop button
    for (auto [x, y, colour] : menu)
        EXPECT_EQ(picture.Pixel(x, y), colour) << x << "," << y;
    EXPECT_TRUE(picture.Has(rcTitle, RGB(204, 0, 0)) && picture.Has(rcStart, RGB(12, 0, 204))) << "labels";

    // Play mode: a tile, the head on the black, the status text, Stop and
    // the progress beside it.
    m_field.SetRunning(1);
    m_field.SetProgress(2, 5);
    m_field.PlaceTiles("W");
    CCharObject tile;
    ASSERT_TRUE(m_field.CopyTile(0, tile));
    const Rect rcTile = tile.GetRect(), rcHead = m_field.GetSnake().GetRect();
    buffers.Paint(picture.m_hDC, m_field, "", 96);
    EXPECT_EQ(picture.Pixel(rcTile.left, rcTile.top), RGB(250, 250, 250));
    EXPECT_TRUE(picture.Has(rcTile, RGB(204, 0, 0))) << "the tile's letter";
    EXPECT_EQ(picture.Pixel(rcHead.left, rcHead.top), RGB(0, 0, 0)) << "the ball's corners are see-through";
    const COLORREF centre = picture.Pixel((rcHead.left + rcHead.right) / 2, (rcHead.top + rcHead.bottom) / 2);
    EXPECT_GT(GetBValue(centre), GetRValue(centre)) << "a blue ball";
    EXPECT_EQ(picture.Pixel(rcStop.left + 1, rcStop.top + 1), RGB(38, 38, 38));
    EXPECT_FALSE(picture.Has(rcArea, RGB(229, 209, 0)) || picture.Has(rcTitle, RGB(140, 140, 140)));
    buffers.Paint(picture.m_hDC, m_field, "Q?", 96);
    EXPECT_TRUE(picture.Has(rcArea, RGB(229, 209, 0)) && picture.Has(m_field.GetProgressRect(), RGB(229, 209, 0)));
    EXPECT_EQ(buffers.GetBuilds(), 2) << "built once, at the first paint";
}

TEST(GdiPainterTest, HalvesMakeTheWholeCharacterAndSizesKeepToTheField)
{
    // A double-width character drawn whole, and as its two halves each
    // clipped to its own tile, gives the same pixels, and a half stays in
    // its clip.
    const std::string strKanji = "\x8a\xbf"; // 漢
    const Rect rc{0, 0, 60, 40}, rcLeft{0, 0, 30, 40}, rcRight{30, 0, 60, 40};
    CPicture whole(60, 40), halves(60, 40), left(60, 40);
    CGdiPainter(whole.m_hDC, 96).DrawLabel(rc, strKanji, 200, 0x0000CC);
    {
        CGdiPainter painter(halves.m_hDC, 96);
        painter.DrawLabelPart(rc, rcLeft, strKanji, 200, 0x0000CC);
        painter.DrawLabelPart(rc, rcRight, strKanji, 200, 0x0000CC);
    }
    CGdiPainter(left.m_hDC, 96).DrawLabelPart(rc, rcLeft, strKanji, 200, 0x0000CC);
    EXPECT_TRUE(whole.Has(rcRight, RGB(204, 0, 0)) && left.Has(rcLeft, RGB(204, 0, 0)));
    EXPECT_FALSE(left.Has(rcRight, RGB(204, 0, 0)));
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 60; ++x)
            ASSERT_EQ(whole.Pixel(x, y), halves.Pixel(x, y)) << x << "," << y;

    // Measured in the field's pixels whatever the screen's resolution.
    const TextExtent normal = CGdiPainter(whole.m_hDC, 96).MeasureLabel(strKanji + "AB", 200);
    const TextExtent scaled = CGdiPainter(whole.m_hDC, 192).MeasureLabel(strKanji + "AB", 200);
    EXPECT_TRUE(normal.cx > 40 && normal.cy >= 27) << normal.cx << "x" << normal.cy;
    EXPECT_TRUE(std::abs(scaled.cx - normal.cx) <= 2 && std::abs(scaled.cy - normal.cy) <= 2);
}

TEST_F(WinGameDlgTest, MessagesBecomeTheCommandsOfTheirMode)
{
    CheckCommands();
    // Enter does not end the game (its default button is disabled); Escape
    // does, at once.
    Post(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(m_dlg.IsClosed());
    Post(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(m_dlg.IsClosed());
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
}

TEST_F(WinGameDlgTest, PlayerWinsAQuizThenEatsOutOfOrderStopsAndExits)
{
    CheckWholeQuizzes(m_dir.Write("APPLE,a\nLEMON,b\nPEACH,c\nGRAPE,d\nMELON,e\n"),
                      {"APPLE", "LEMON", "PEACH", "GRAPE", "MELON"});
}

} // namespace
