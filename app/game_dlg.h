#pragma once

#include "app/dialog_file_chooser.h"
#include "game/game_controller.h"
#include "game/game_view.h"
#include "render/image_buffers.h"

#include <QDialog>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

class QWidget;

// The game's one window on Qt: it lays the play area out from its hidden
// template controls, paints through the field and hands keys, clicks and
// timers to the controller, which decides what they mean.
class CGameDlg : public QDialog, public CGameView
{
    Q_OBJECT

public:
    explicit CGameDlg(QWidget* pParent = nullptr);

    // The control's rectangle in client pixels; all zero for an unknown id.
    Rect GetControlRect(int32_t nId) const;

    void InvalidateRect(bool bErase) override;
    bool EnableControl(int32_t nId, bool bEnable) override;
    void ShowError(const std::string& strText) override;
    void ShowAbout() override;
    void CloseWindow(int32_t nResult) override;
    void StartTimer(int32_t nId, int32_t nMilliseconds) override;
    void TakeFocus() override;
    void SetFullScreen(bool bFullScreen) override;

    // The desktop's system menu is not here: its commands come this way.
    void OnSysCommand(uint32_t nId) { m_controller.OnSysCommand(nId); }
    // The files named on the command line.
    void OpenCommandLine(const QStringList& files);

    // Replaces the open-file dialog (tests); nullptr restores the real one.
    void SetFileChooser(CFileChooser* pChooser);

    CGameController& Controller() { return m_controller; }
    CPlayField& Field() { return m_controller.Field(); }
    CQuestionSet& Questions() { return m_controller.Questions(); }
    CQuizRunner& Runner() { return m_controller.Runner(); }
    // The status text handed to the last paint.
    std::string LastPaintedStatus() const { return m_controller.LastPaintedStatus(); }
    int32_t GetBufferBuilds() const { return m_buffers.GetBuilds(); }

    // Escape, the close box and the hidden OK button: the controller decides.
    void accept() override;
    void reject() override;

protected:
    void focusOutEvent(QFocusEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private slots:
    void OnRepaintRequested();

private:
    void CreateTemplateControls();

    CDialogFileChooser m_dialogChooser;
    std::map<int32_t, QWidget*> m_controls;
    // Qt's timer ids to the controller's.
    std::map<int, int32_t> m_timers;
    CImageBuffers m_buffers;
    std::atomic<bool> m_bRepaintQueued{false};
    // Last, so that it goes first: its run may repaint and switch controls
    // until it has ended.
    CGameController m_controller;
};
