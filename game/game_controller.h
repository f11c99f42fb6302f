#pragma once

#include "field/play_field.h"
#include "game/game_painter.h"
#include "game/window_scale.h"
#include "platform/point.h"
#include "platform/rect.h"
#include "quiz/question_set.h"
#include "run/question_loader.h"
#include "run/quiz_runner.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CFileChooser;
class CGameView;
class CWindowSurface;

// Everything the game window decides, for any front-end: which command a
// key, click, hidden button or timer means in which mode, the
// Read/Start/Stop/Exit flow, how the window closes, the messages of failed
// loads and what is painted. It owns the field, the questions and the run;
// the front-end owns the window and forwards its events here, all on the
// window's thread. The run ends when the controller goes, so a front-end
// declares its controller after everything the run may call.
class CGameController
{
public:
    static constexpr int32_t kQuizLength = 5;
    // The window's timers: a tick that finishes loads (a large file, or one
    // dropped during a quiz once it is over) and switches any controls the
    // run has registered (the game registers none), and the focus.
    enum ETimer : int32_t { ControlsTimer = 0, FocusTimer = 1 };
    static constexpr int32_t kControlsPeriod = 200;
    static constexpr int32_t kFocusPeriod = 2000;
    // A file up to this size loads on the window's thread, in moments; a
    // larger one on a thread of its own, and the controls' tick after it has
    // loaded takes the questions over.
    static constexpr uintmax_t kLoadAtOnceBytes = 256 * 1024;

    // The keys the game knows, as each front-end names them: P pauses;
    // Space pauses in play and uses the focused button in the menu; Enter
    // uses the focused button or starts; Tab and Shift+Tab move the focus;
    // R and Ctrl+O read; S stops; F11 switches to the full screen and back.
    enum class EKey { Left, Up, Right, Down, Pause, Space, Enter, Tab, BackTab, Read, Stop, FullScreen, Other };

    explicit CGameController(CGameView& view);
    ~CGameController();
    CGameController(const CGameController&) = delete;
    CGameController& operator=(const CGameController&) = delete;

    // Lays the play area out from the window's template controls, by id, in
    // a client area reaching to ptClient, and starts the timers.
    void Init(const std::function<Rect(int32_t)>& controlRect, Point ptClient);
    // The open-file dialog of Read; not owned.
    void SetFileChooser(CFileChooser* pChooser);

    // The window's client area is now ptWindow of its units, nBase96 of
    // which make 96 of the game's pixels at its smallest (see CWindowScale).
    void OnResize(Point ptWindow, int32_t nBase96);
    // Where the picture lies in the window now.
    const CWindowScale& GetScale() const { return m_scale; }

    void OnKeyUp(EKey key);
    // Mouse positions are in the window's units.
    void OnMouseMove(Point pt);
    void OnLeftButtonUp(Point pt);
    // The about command; false for any other system command, which the
    // window handles as it always does.
    bool OnSysCommand(uint32_t nId);
    // A hidden template button (IDC_START, IDC_STOP, IDC_READ, IDOK), or
    // IDCANCEL for Escape, the close box or the system ending the window.
    void OnCommand(int32_t nId);
    void OnTimer(int32_t nId);
    // The window lost activation to another window or a box of its own, or
    // opened a menu: a quiz in play pauses, and stays so until resumed.
    void OnDeactivate();
    // Loads a question file as Read does once the file is chosen: a file
    // dropped on the window. During a quiz it loads once the quiz is over.
    // The newest file chosen wins over a load still in flight.
    void OpenFile(const std::string& strPath);
    // The files named on the command line, once the window is up: the first
    // loads; without one nothing changes.
    void OnCommandLine(const std::vector<std::string>& files);

    // Paints the window through the front-end's buffers.
    void Paint(CWindowSurface& surface);
    // The status text the last paint showed.
    const std::string& LastPaintedStatus() const { return m_strPaintedStatus; }

    CPlayField& Field() { return m_field; }
    CQuestionSet& Questions() { return m_questions; }
    CQuizRunner& Runner() { return m_runner; }

private:
    // Start plays the questions loaded; with none, or while a file loads, it
    // plays once a file has loaded, and with none it asks for one first.
    void OnStart();
    void StartQuiz();
    // Whether a file was chosen.
    bool OnRead();
    void OnStop();
    // Stop as its button does: back to the menu at once.
    void StopFromPlay();
    // What a menu button does, clicked or used from the keyboard.
    void Press(int32_t nButton);
    void MoveFocus(int32_t nBy);
    void Close(int32_t nResult);
    // bNamed: named on the command line, where a missing file is a mistyped
    // name rather than one moved since it was chosen.
    void Open(const std::string& strPath, bool bNamed);
    // Loads the file waiting since a drop or a choice.
    void LoadPending();
    // Takes the questions of the load that ended on the loader's thread.
    void FinishLoad();
    // Takes the questions load() brings from the file: the menu names it.
    // On failure the questions before stay and the player is told why.
    void TakeQuestions(const std::string& strPath, const std::function<void()>& load);
    // After every load: the quiz that Start waits for begins if it loaded.
    void OnLoaded(bool bLoaded);

    CGameView& m_view;
    CPlayField m_field;
    CQuestionSet m_questions;
    CQuizRunner m_runner;
    CGamePainter m_painter{m_field, m_runner};
    CWindowScale m_scale;
    CFileChooser* m_pChooser = nullptr;
    // A file dropped during a quiz, loaded when the quiz is over.
    std::string m_strPendingLoad;
    bool m_bPendingNamed = false;
    // The load on the loader's thread, of a file named on the command line
    // or not.
    CQuestionLoader m_loader;
    bool m_bLoadingNamed = false;
    bool m_bStartWhenLoaded = false;
    std::string m_strPaintedStatus;
    bool m_bClosed = false;
    bool m_bFullScreen = false;
};
