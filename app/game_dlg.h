#pragma once

#include "game/game_controller.h"
#include "game/game_view.h"
#include "platform/dialog_file_chooser.h"

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
    ~CGameDlg() override;

    // The control's rectangle in client pixels; all zero for an unknown id.
    Rect GetControlRect(int32_t nId) const;

    void InvalidateRect(bool bErase) override;
    bool EnableControl(int32_t nId, bool bEnable) override;
    void ShowError(const std::string& strText) override;
    void ShowAbout() override;
    void CloseWindow() override;

    void OnSysCommand(uint32_t nId) { m_controller.OnSysCommand(nId); }
    void OnReadButton() { m_controller.OnRead(); }
    // The program's arguments, its own name first.
    void OpenCommandLine(const QStringList& arguments);

    // Replaces the open-file dialog (tests); nullptr restores the real one.
    void SetFileChooser(CFileChooser* pChooser);

    CGameController& Controller() { return m_controller; }
    CPlayField& Field() { return m_controller.Field(); }
    CQuestionSet& Questions() { return m_controller.Questions(); }
    CQuizRunner& Runner() { return m_controller.Runner(); }
    // The status text handed to the last paint.
    std::string LastPaintedStatus() const { return m_strPaintedStatus; }

    void done(int nResult) override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
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

    CGameController m_controller;
    CDialogFileChooser m_dialogChooser;
    std::map<int32_t, QWidget*> m_controls;
    int m_nTimerControls = 0;
    int m_nTimerFocus = 0;
    std::string m_strPaintedStatus;
    std::atomic<bool> m_bRepaintQueued{false};
};
