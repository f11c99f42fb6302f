#include "game/game_controller.h"

#include "game/window_template.h"
#include "game/game_view.h"
#include "platform/file_chooser.h"
#include "platform/file_exception.h"
#include "quiz/question_file_error.h"

#include <cerrno>
#include <exception>
#include <system_error>

namespace {

// "くねくねくね" in code page 932.
const char kTitle[] = "\x82\xad\x82\xcb\x82\xad\x82\xcb\x82\xad\x82\xcb";
const char kLoadFailed[] = "問題ファイルを読み込めませんでした。\n";
const char kStartFailed[] = "クイズを開始できませんでした。";

// Why a file could not be loaded, in the player's words.
std::string Reason(const CFileException& e)
{
    const std::string strSystem = std::generic_category().message(e.GetOsError());
    switch (e.GetKind()) {
    case CFileException::EKind::NotRegular:
        return "通常のファイルではありません。";
    case CFileException::EKind::Open:
        if (e.GetOsError() == ENOENT)
            return "ファイルが見つかりません（移動か削除されたようです）。";
        return "ファイルを開けません: " + strSystem;
    case CFileException::EKind::Read:
        break;
    }
    return strSystem;
}

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
    if (!m_strPendingLoad.empty() && !m_runner.IsActive())
        LoadPending();
}

void CGameController::StartRun()
{
    // A file dropped during the last quiz loads first.
    if (!m_strPendingLoad.empty())
        LoadPending();
    // The runner ends a stopped run first, which takes moments; it switches
    // to play mode itself, after that run has gone, or back to menu mode.
    if (m_runner.Start() != 0)
        m_view.ShowError(kStartFailed);
}

void CGameController::OnRead()
{
    if (m_pChooser && m_pChooser->DoModal())
        OpenFile(m_pChooser->GetPathName());
}

void CGameController::OpenFile(const std::string& strPath)
{
    // The last quiz's result goes with the next file chosen. A quiz in play
    // keeps its questions: the file loads once it is over.
    m_field.SetResult(CQuizResult());
    m_strPendingLoad = strPath;
    if (!m_field.IsRunning())
        LoadPending();
}

void CGameController::LoadPending()
{
    // The run reads the questions: it must be gone before they change. Out
    // of play mode it is at most a stopped run about to end.
    if (m_runner.IsActive())
        m_runner.StopAndJoin();
    const std::string strPath = std::move(m_strPendingLoad);
    m_strPendingLoad.clear();
    LoadQuestions(strPath);
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
        // A file chosen or named already is not asked for again.
        if (strPath.empty())
            m_questions.Load(strPath, kQuizLength);
        else
            m_questions.LoadFile(strPath, kQuizLength);
        return;
    } catch (const CFileException& e) {
        strReason = e.GetPath() + "\n" + Reason(e);
    } catch (const std::exception& e) {
        strReason = e.what();
    }
    m_view.ShowError(kLoadFailed + strReason);
}
