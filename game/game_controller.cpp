#include "game/game_controller.h"

#include "game/control_ids.h"
#include "game/game_view.h"
#include "platform/file_chooser.h"
#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "quiz/question_file_error.h"

#include <cerrno>
#include <exception>
#include <system_error>
#include <utility>

namespace {

// "くねくねくね" in code page 932.
const char kTitle[] = "\x82\xad\x82\xcb\x82\xad\x82\xcb\x82\xad\x82\xcb";
const char kLoadFailed[] = "問題ファイルを読み込めませんでした。\n";

constexpr int32_t kRetryInterval = 20;

} // namespace

CGameController::CGameController(CGameView& view) : m_view(view) {}

CGameController::~CGameController()
{
    // The worker reads the field and the questions: it ends before they go.
    m_runner.StopAndJoin();
}

void CGameController::Init(const std::function<Rect(int32_t)>& controlRect)
{
    m_runner.SetOwner(&m_view);
    m_runner.SetField(&m_field);
    m_runner.SetQuestions(&m_questions);
    m_field.SetArea(controlRect(IDC_AREA));
    m_field.m_rcStart = controlRect(IDC_START);
    m_field.m_rcStop = controlRect(IDC_STOP);
    m_field.m_rcExit = controlRect(IDOK);
    m_field.m_rcRead = controlRect(IDC_READ);
    m_field.SetTitle(kTitle);
    m_field.m_rcTitle = controlRect(IDC_TITLE);
    m_field.CentreSnake();
}

void CGameController::SetFileChooser(CFileChooser* pChooser)
{
    m_pChooser = pChooser;
    m_questions.SetFileChooser(pChooser);
}

void CGameController::OnKeyUp(EKey key)
{
    // The snake turns when the key comes up; holding it repeats nothing.
    switch (key) {
    case EKey::Left:
        m_field.TurnLeft();
        break;
    case EKey::Up:
        m_field.TurnUp();
        break;
    case EKey::Right:
        m_field.TurnRight();
        break;
    case EKey::Down:
        m_field.TurnDown();
        break;
    case EKey::Pause:
        // Only a quiz in play pauses; the mark shows and the loop holds.
        if (!m_field.IsRunning() || !m_runner.IsActive())
            return;
        m_runner.TogglePause();
        break;
    case EKey::Other:
        return;
    }
    m_view.InvalidateRect(false);
}

void CGameController::OnMouseMove(Point pt)
{
    m_field.UpdateHover(pt);
    m_view.InvalidateRect(false);
}

void CGameController::OnLeftButtonUp(Point pt)
{
    if (!m_field.IsRunning()) {
        if (m_field.HitStart(pt)) {
            m_field.SetRunning(1);
            m_view.InvalidateRect(true);
            StartRun();
        } else if (m_field.HitRead(pt)) {
            OnRead();
        } else if (m_field.HitExit(pt)) {
            OnExit();
        }
    } else if (m_field.HitStop(pt)) {
        m_field.SetRunning(0);
        m_view.InvalidateRect(true);
        OnStop();
    }
}

void CGameController::OnSysCommand(uint32_t nId)
{
    if ((nId & 0xFFF0) == IDM_ABOUTBOX)
        m_view.ShowAbout();
}

void CGameController::OnStart()
{
    StartRun();
}

void CGameController::OnStop()
{
    m_bPendingStart = false;
    m_runner.RequestStop();
}

void CGameController::OnExit()
{
    m_view.CloseWindow();
}

void CGameController::OnClose()
{
    // Off the screen at once; the program ends when the worker has.
    m_runner.RequestStop();
}

void CGameController::OnControlsTimer()
{
    m_runner.UpdateControls();
}

void CGameController::StartRun()
{
    // A new quiz starts unpaused, with no question in play yet.
    m_runner.SetPause(false);
    m_field.SetProgress(0, 0);
    // A load chosen while the last run was ending goes first.
    if (!m_strPendingLoad.empty()) {
        m_bPendingStart = true;
        RunPendingCommands();
        return;
    }
    m_runner.Start();
}

void CGameController::OnRead()
{
    if (!m_pChooser || !m_pChooser->DoModal())
        return;
    OpenFile(m_pChooser->GetPathName());
}

void CGameController::OpenFile(const std::string& strPath)
{
    // The last quiz's result goes with the next file chosen. A run, also a
    // stopped one still ending, reads the questions: the load waits for its
    // end, and a quiz that ends by itself meanwhile still shows its result.
    m_field.SetResult(CQuizResult());
    m_strPendingLoad = strPath;
    RunPendingCommands();
}

void CGameController::OnCommandLine(const std::vector<std::string>& files)
{
    if (!files.empty())
        OpenFile(files.front());
}

void CGameController::LoadQuestions(const std::string& strPath)
{
    std::string strReason;
    try {
        // A file that is gone by now is an error, not a question for the
        // player.
        if (!strPath.empty() && !FileExists(strPath))
            throw CFileException(strPath, ENOENT);
        m_questions.Load(strPath, kQuizLength);
        return;
    } catch (const CFileException& e) {
        strReason = e.GetPath() + "\n" + std::generic_category().message(e.GetOsError());
    } catch (const std::exception& e) {
        strReason = e.what();
    }
    m_view.ShowError(kLoadFailed + strReason);
}

void CGameController::OnRetry()
{
    m_bRetryScheduled = false;
    RunPendingCommands();
}

void CGameController::RunPendingCommands()
{
    if (m_runner.IsBusy()) {
        if (!m_bRetryScheduled) {
            m_bRetryScheduled = true;
            m_view.RetryLater(kRetryInterval);
        }
        return;
    }
    if (!m_strPendingLoad.empty()) {
        const std::string strPath = std::move(m_strPendingLoad);
        m_strPendingLoad.clear();
        LoadQuestions(strPath);
    }
    if (m_bPendingStart) {
        m_bPendingStart = false;
        m_runner.Start();
    }
}
