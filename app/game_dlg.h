#pragma once

#include "field/play_field.h"
#include "platform/dialog_file_chooser.h"
#include "platform/owner_window.h"
#include "quiz/question_set.h"
#include "run/quiz_runner.h"

#include <QDialog>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

class QWidget;

// The game's one window. It owns the play field, the questions and the run
// controller, lays the play area out from its hidden template controls,
// paints through the field and turns keys and clicks into commands.
class CGameDlg : public QDialog, public COwnerWindow
{
    Q_OBJECT

public:
    // Control ids of the window's template.
    enum : int32_t {
        IDOK = 1,
        IDC_START = 1000,
        IDC_STOP = 1001,
        IDC_AREA = 1002,
        IDC_READ = 1003,
        IDC_TITLE = 1004,
    };
    static constexpr uint32_t IDM_ABOUTBOX = 16;
    static constexpr int32_t kQuizLength = 5;

    explicit CGameDlg(QWidget* pParent = nullptr);
    ~CGameDlg() override;

    // The control's rectangle in client pixels; all zero for an unknown id.
    Rect GetControlRect(int32_t nId) const;

    void InvalidateRect(bool bErase) override;
    bool EnableControl(int32_t nId, bool bEnable) override;

    void OnSysCommand(uint32_t nId);
    void OnStartButton();
    void OnStopButton();
    void OnReadButton();

    // Replaces the open-file dialog (tests); nullptr restores the real one.
    void SetFileChooser(CFileChooser* pChooser);

    CPlayField& Field() { return m_field; }
    CQuestionSet& Questions() { return m_questions; }
    CQuizRunner& Runner() { return m_runner; }
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

private slots:
    void OnRepaintRequested();

private:
    void CreateTemplateControls();
    void OnInitDialog();
    void StartRun();
    void LoadQuestions(const std::string& strPath);
    void RunPendingCommands();

    CPlayField m_field;
    CQuestionSet m_questions;
    CQuizRunner m_runner;

    CDialogFileChooser m_dialogChooser;
    CFileChooser* m_pChooser = nullptr;
    std::map<int32_t, QWidget*> m_controls;
    int m_nTimerControls = 0;
    int m_nTimerFocus = 0;
    std::string m_strPaintedStatus;
    std::atomic<bool> m_bRepaintQueued{false};

    // Commands that must wait until a stopped run has ended.
    std::string m_strPendingLoad;
    bool m_bPendingStart = false;
    bool m_bPendingScheduled = false;
};
