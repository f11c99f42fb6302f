#include "game/game_controller.h"

#include "game/game_view.h"
#include "game/window_layout.h"
#include "game/window_template.h"
#include "platform/code_page.h"
#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "quiz/file_chooser.h"
#include "quiz/question_file_error.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <new>
#include <system_error>

namespace {

// "くねくねくね" in code page 932.
const char kTitle[] = "\x82\xad\x82\xcb\x82\xad\x82\xcb\x82\xad\x82\xcb";
const char kLoadFailed[] = "問題ファイルを読み込めませんでした。\n";
const char kStartFailed[] = "クイズを開始できませんでした。";

// Why a file could not be loaded, in the player's words; bNamed for a file
// named on the command line rather than chosen.
std::string Reason(const CFileException& e, bool bNamed)
{
    const std::string strSystem = std::generic_category().message(e.GetOsError());
    switch (e.GetKind()) {
    case CFileException::EKind::NotRegular:
        return "通常のファイルではありません。";
    case CFileException::EKind::Open:
        if (e.GetOsError() == ENOENT)
            return bNamed ? "ファイルが見つかりません。" : "ファイルが見つかりません（移動か削除されたようです）。";
        return "ファイルを開けません: " + strSystem;
    case CFileException::EKind::Read:
        break;
    }
    return strSystem;
}

// The same for what the load threw, while it is being handled.
std::string Reason(bool bNamed)
{
    try {
        throw;
    } catch (const CFileException& e) {
        return Reason(e, bNamed);
    } catch (const CQuestionFileError& e) {
        // A binary file's bytes would make a meaningless complaint.
        return e.HasControlBytes() ? "問題ファイルではないようです（制御文字があります）。" : e.what();
    } catch (const std::bad_alloc&) {
        return "メモリが足りません。";
    } catch (const std::exception& e) {
        return e.what();
    }
}

// The file's name as the menu shows it, in code page 932; "・" for what that
// cannot hold.
std::string DisplayName(const std::string& strPath)
{
    std::string_view strName = strPath;
    strName.remove_prefix(std::min(strName.size(), strName.find_last_of("/\\") + 1));
    std::string strShown;
    for (size_t nBad; (nBad = AppendUtf8AsCodePage932(strName, strShown)) != std::string_view::npos;) {
        size_t nLength = 1;
        DecodeUtf8Char(strName, nBad, nLength);
        strShown += "\x81\x45"; // ・
        strName.remove_prefix(nBad + nLength);
    }
    return strShown;
}

} // namespace

CGameController::CGameController(CGameView& view) : m_view(view) {}

CGameController::~CGameController()
{
    // The worker reads the field and the questions and asks the window for
    // repaints: it ends before any of them goes. A load in flight is given
    // up.
    m_runner.StopAndJoin();
    m_loader.Cancel();
}

void CGameController::Init(const std::function<Rect(int32_t)>& controlRect, Point ptClient)
{
    m_painter.SetClientSize(ptClient);
    m_scale.SetCanvas(ptClient);
    m_runner.SetOwner(&m_view);
    m_runner.SetField(&m_field);
    m_runner.SetQuestions(&m_questions);
    LayOutField(m_field, controlRect);
    m_field.SetTitle(kTitle);
    m_view.StartTimer(ControlsTimer, kControlsPeriod);
    m_view.StartTimer(FocusTimer, kFocusPeriod);
}

void CGameController::SetFileChooser(CFileChooser* pChooser)
{
    m_pChooser = pChooser;
    m_questions.SetFileChooser(pChooser);
}

void CGameController::OnKeyUp(EKey key)
{
    // Keys act when they come up; holding one repeats nothing.
    const bool bPlaying = m_field.IsRunning() != 0;
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
    case EKey::Space:
        if (!bPlaying) {
            Press(m_field.m_nFocus);
            return;
        }
        [[fallthrough]];
    case EKey::Pause:
        // Only a quiz in play pauses; the mark shows and the loop holds.
        if (!bPlaying || !m_runner.IsActive())
            return;
        m_runner.TogglePause();
        break;
    case EKey::Enter:
        if (!bPlaying)
            Press(m_field.m_nFocus != CFieldPanel::NoButton ? m_field.m_nFocus : CFieldPanel::StartButton);
        return;
    case EKey::Tab:
    case EKey::BackTab:
        if (bPlaying)
            return;
        MoveFocus(key == EKey::Tab ? 1 : -1);
        break;
    case EKey::Read:
        if (!bPlaying)
            OnRead();
        return;
    case EKey::Stop:
        if (bPlaying)
            StopFromPlay();
        return;
    case EKey::FullScreen:
        m_bFullScreen = !m_bFullScreen;
        m_view.SetFullScreen(m_bFullScreen);
        return;
    case EKey::Other:
        return;
    }
    m_view.InvalidateRect(false);
}

void CGameController::MoveFocus(int32_t nBy)
{
    // Read, Start, Exit from the top, round again at either end; from none
    // to the first that way.
    constexpr int32_t nButtons = CFieldPanel::ExitButton;
    int32_t& nFocus = m_field.m_nFocus;
    if (nFocus == CFieldPanel::NoButton)
        nFocus = nBy > 0 ? CFieldPanel::ReadButton : CFieldPanel::ExitButton;
    else
        nFocus = (nFocus - 1 + nBy + nButtons) % nButtons + 1;
}

void CGameController::Press(int32_t nButton)
{
    switch (nButton) {
    case CFieldPanel::StartButton:
        OnStart();
        break;
    case CFieldPanel::ReadButton:
        OnRead();
        break;
    case CFieldPanel::ExitButton:
        Close(IDOK);
        break;
    default:
        break;
    }
}

void CGameController::OnResize(Point ptWindow, int32_t nBase96)
{
    m_scale.Fit(ptWindow, nBase96);
    m_view.InvalidateRect(true);
}

void CGameController::OnMouseMove(Point ptWindow)
{
    m_field.UpdateHover(m_scale.ToCanvas(ptWindow));
    m_view.InvalidateRect(false);
}

void CGameController::OnLeftButtonUp(Point ptWindow)
{
    const Point pt = m_scale.ToCanvas(ptWindow);
    if (!m_field.IsRunning()) {
        if (m_field.HitStart(pt))
            Press(CFieldPanel::StartButton);
        else if (m_field.HitRead(pt))
            Press(CFieldPanel::ReadButton);
        else if (m_field.HitExit(pt))
            Press(CFieldPanel::ExitButton);
    } else if (m_field.HitStop(pt)) {
        StopFromPlay();
    }
}

void CGameController::StopFromPlay()
{
    m_field.SetRunning(0);
    m_view.InvalidateRect(true);
    OnStop();
}

bool CGameController::OnSysCommand(uint32_t nId)
{
    // The low four bits are the system's own.
    if ((nId & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    OnDeactivate();
    m_view.ShowAbout();
    return true;
}

void CGameController::OnCommand(int32_t nId)
{
    switch (nId) {
    case IDC_START:
        OnStart();
        break;
    case IDC_STOP:
        OnStop();
        break;
    case IDC_READ:
        OnRead();
        break;
    case IDOK:
    case IDCANCEL:
        Close(nId);
        break;
    default:
        break;
    }
}

void CGameController::OnTimer(int32_t nId)
{
    if (nId == FocusTimer) {
        m_view.TakeFocus();
    } else if (nId == ControlsTimer) {
        m_runner.UpdateControls();
        if (m_bClosed)
            return;
        if (m_loader.IsDone())
            FinishLoad();
        else if (!m_loader.IsBusy() && !m_strPendingLoad.empty() && !m_field.IsRunning())
            LoadPending();
    }
}

void CGameController::OnDeactivate()
{
    // The snake must not go on unseen behind something else.
    if (m_field.IsRunning() && m_runner.IsActive() && !m_runner.IsPaused()) {
        m_runner.SetPause(true);
        m_view.InvalidateRect(false);
    }
}

void CGameController::OnStart()
{
    // A file dropped during the last quiz loads first, still in menu mode:
    // a failure is told over the menu, and no quiz begins with the
    // questions it was to replace. Start with nothing to play is Read.
    m_bStartWhenLoaded = true;
    if (!m_strPendingLoad.empty())
        LoadPending();
    else if (m_loader.IsBusy())
        return;
    else if (m_questions.GetPlayableCount() > 0)
        OnLoaded(true);
    else if (!OnRead())
        m_bStartWhenLoaded = false;
}

void CGameController::StartQuiz()
{
    // The runner ends a stopped run first, which takes moments; then it
    // switches to play mode itself, or stays in menu mode.
    if (m_runner.Start() != 0)
        m_view.ShowError(kStartFailed);
    m_view.InvalidateRect(true);
}

void CGameController::OnStop()
{
    m_runner.RequestStop();
}

void CGameController::Close(int32_t nResult)
{
    // Off the screen at once; the worker ends moments later, and the
    // program when the controller has joined it.
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_view.CloseWindow(nResult);
    m_runner.RequestStop();
    m_loader.RequestCancel();
}

bool CGameController::OnRead()
{
    if (!m_pChooser || !m_pChooser->DoModal())
        return false;
    OpenFile(m_pChooser->GetPathName());
    return true;
}

void CGameController::OpenFile(const std::string& strPath)
{
    Open(strPath, false);
}

void CGameController::OnCommandLine(const std::vector<std::string>& files)
{
    if (!files.empty())
        Open(files.front(), true);
}

void CGameController::Open(const std::string& strPath, bool bNamed)
{
    // A quiz in play keeps its questions: the file loads once it is over.
    m_strPendingLoad = strPath;
    m_bPendingNamed = bNamed;
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
    // The last quiz's result goes with the next file loaded.
    m_runner.ClearResult();
    // The newest file wins: a load still in flight is given up.
    m_loader.Cancel();
    m_bLoadingNamed = m_bPendingNamed;
    m_painter.SetLoading(std::string());
    if (RegularFileSize(strPath) <= kLoadAtOnceBytes || !m_loader.Start(strPath, kQuizLength))
        TakeQuestions(strPath, [&] { m_questions.LoadFile(strPath, kQuizLength); });
    else
        m_painter.SetLoading(DisplayName(strPath));
    m_view.InvalidateRect(false);
}

void CGameController::FinishLoad()
{
    // No run reads the questions: none starts while a load is in flight.
    m_painter.SetLoading(std::string());
    m_view.InvalidateRect(false);
    TakeQuestions(m_loader.GetPath(), [this] { m_loader.Finish(m_questions); });
}

void CGameController::TakeQuestions(const std::string& strPath, const std::function<void()>& load)
{
    bool bLoaded = false;
    try {
        load();
        m_painter.SetLoadedFile(DisplayName(strPath), m_questions.GetPlayableCount());
        bLoaded = true;
    } catch (...) {
        m_view.ShowError(kLoadFailed + strPath + "\n" + Reason(m_bLoadingNamed));
    }
    OnLoaded(bLoaded);
}

void CGameController::OnLoaded(bool bLoaded)
{
    const bool bStart = m_bStartWhenLoaded && bLoaded;
    m_bStartWhenLoaded = false;
    if (bStart)
        StartQuiz();
}

void CGameController::Paint(CWindowSurface& surface)
{
    m_strPaintedStatus = m_painter.Paint(surface);
}
