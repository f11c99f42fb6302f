#pragma once

#include "game/game_controller.h"
#include "game/game_view.h"
#include "win32/gdi_buffers.h"
#include "win32/win_file_chooser.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

// The window's handles, released when everything else of the window has
// gone: a base, so that the controller ends its run before them.
struct CWinDialogHandles
{
    ~CWinDialogHandles();

    HWND m_hWnd = nullptr;
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
};

// The game's one window on Windows: the dialog template lays the play area
// out through its hidden controls, painting goes through the controller into
// memory device contexts, and messages become controller calls, which
// decide what they mean.
class CWinGameDlg : private CWinDialogHandles, public CGameView
{
public:
    CWinGameDlg();
    CWinGameDlg(const CWinGameDlg&) = delete;
    CWinGameDlg& operator=(const CWinGameDlg&) = delete;

    // Makes the window from its template and shows it; false on failure.
    bool Create();
    // Runs the window's messages until it closes; 0, or 1 when it could not
    // be made.
    int DoModal();
    // Handles the messages waiting for this thread, then returns.
    void PumpMessages();
    bool IsClosed() const { return m_bClosed; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The control's rectangle in the field's pixels (96 dpi); all zero for
    // an unknown id.
    Rect GetControlRect(int32_t nId) const;
    int32_t GetDpi() const;

    void InvalidateRect(bool bErase) override;
    bool EnableControl(int32_t nId, bool bEnable) override;
    void ShowError(const std::string& strText) override;
    void ShowAbout() override;
    void CloseWindow(int32_t nResult) override;
    void StartTimer(int32_t nId, int32_t nMilliseconds) override;
    void TakeFocus() override;
    void SetFullScreen(bool bFullScreen) override;

    // Replaces the open-file dialog (tests); nullptr restores the real one.
    void SetFileChooser(CFileChooser* pChooser);

    CGameController& Controller() { return m_controller; }
    CPlayField& Field() { return m_controller.Field(); }
    // The status text handed to the last paint.
    const std::string& LastPaintedStatus() const { return m_controller.LastPaintedStatus(); }
    int32_t GetBufferBuilds() const { return m_buffers.GetBuilds(); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnPaint();
    void OnDropFiles(HDROP hDrop);
    // Client pixels to the field's pixels.
    int32_t PixelsToField(int32_t nPixels) const;
    static Point ClientPoint(LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo);

    CWinFileChooser m_dialogChooser;
    CGdiBuffers m_buffers;
    bool m_bClosed = false;
    // The window as it was before it filled the screen.
    WINDOWPLACEMENT m_placement{};
    LONG_PTR m_nWindowStyle = 0;
    // Last, so that it goes first: its run may repaint and switch controls
    // until it has ended.
    CGameController m_controller;
};
