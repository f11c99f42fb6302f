#pragma once

#include "field/play_field.h"
#include "platform/point.h"
#include "platform/rect.h"
#include "quiz/question_set.h"
#include "run/quiz_runner.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CFileChooser;
class CGameView;

// Everything the game window decides, for any front-end: which command a
// key or click means in which mode, the Read/Start/Stop/Exit flow and the
// messages of failed loads. It owns the field, the questions and
// the run; the front-end owns the window and forwards its events here, all
// on the window's thread.
class CGameController
{
public:
    static constexpr int32_t kQuizLength = 5;

    enum class EKey { Left, Up, Right, Down, Pause, Other };

    explicit CGameController(CGameView& view);
    ~CGameController();
    CGameController(const CGameController&) = delete;
    CGameController& operator=(const CGameController&) = delete;

    // Lays the play area out from the window's template controls, by id.
    void Init(const std::function<Rect(int32_t)>& controlRect);
    // The open-file dialog of Read; not owned.
    void SetFileChooser(CFileChooser* pChooser);

    void OnKeyUp(EKey key);
    void OnMouseMove(Point pt);
    void OnLeftButtonUp(Point pt);
    void OnSysCommand(uint32_t nId);
    void OnStart();
    void OnStop();
    void OnRead();
    // Loads a question file as Read does once the file is chosen: a file
    // named on the command line, or dropped on the window.
    void OpenFile(const std::string& strPath);
    // The files named on the command line, once the window is up: the first
    // loads; without one nothing changes.
    void OnCommandLine(const std::vector<std::string>& files);
    void OnExit();
    // The window is closing, by Exit or otherwise: the run must end.
    void OnClose();
    // The periodic tick that keeps the controls in step with the run and
    // loads a file dropped during a quiz once it is over.
    void OnControlsTimer();

    // Loads a question file; on failure the questions before stay and the
    // player is told why.
    void LoadQuestions(const std::string& strPath);

    // The text the field shows over the play area right now.
    std::string GetStatusText() const { return m_runner.GetStatusText(); }

    CPlayField& Field() { return m_field; }
    CQuestionSet& Questions() { return m_questions; }
    CQuizRunner& Runner() { return m_runner; }

private:
    void StartRun();
    void LoadPending();

    CGameView& m_view;
    CPlayField m_field;
    CQuestionSet m_questions;
    CQuizRunner m_runner;
    CFileChooser* m_pChooser = nullptr;
    // A file dropped during a quiz, loaded when the quiz is over.
    std::string m_strPendingLoad;
};
