#include "game_window_driver.h"

#include "game/window_template.h"
#include "platform/file_path.h"
#include "platform/random.h"
#include "special_files.h"
#include "test_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

void CGameWindowDriver::WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (Pump(); !condition(); Pump())
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the window never got there";
}

void CGameWindowDriver::Click(const Rect& rc)
{
    LeftButtonUp(Point{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

void CGameWindowDriver::Read(const std::string& strPath)
{
    m_chooser.m_strPath = strPath;
    Click(Controller().Field().m_rcRead);
}

void CGameWindowDriver::CheckCommands()
{
    CPlayField& field = Controller().Field();
    CQuizRunner& runner = Controller().Runner();
    CQuestionSet& questions = Controller().Questions();

    // Arrows turn the snake when they come up; a key going down, or another
    // key, does nothing, and menu mode has nothing to pause.
    KeyDown(kUp);
    EXPECT_EQ(field.GetSnake().GetDirection(), CSnake::Right);
    const std::pair<EKey, int32_t> turns[] = {
        {kUp, CSnake::Up}, {kLeft, CSnake::Left}, {kOther, CSnake::Left}, {kDown, CSnake::Down}, {kRight, CSnake::Right}};
    for (const auto& [key, nDirection] : turns) {
        KeyUp(key);
        EXPECT_EQ(field.GetSnake().GetDirection(), nDirection) << key;
    }
    KeyUp(kP);
    Deactivate();
    EXPECT_FALSE(field.IsPaused());
    MouseMove(Point{field.m_rcRead.left, field.m_rcRead.top});
    EXPECT_EQ(field.m_bHoverRead, 1);
    for (uint32_t nId : {16u, 31u, 32u})
        EXPECT_EQ(Modal([&] { SysCommand(nId); }).empty(), nId == 32) << "the about box for command " << nId;

    // At any size the picture scales as one, the largest that fits, centred,
    // and the pointer finds each button where it is drawn: at twice the
    // size, and at sizes of no whole scale, wider or taller than the picture.
    const Point ptCanvas = Controller().GetScale().GetCanvas();
    for (const Point& ptAsked : {Point{2 * ptCanvas.x, 2 * ptCanvas.y}, Point{700, 400}, Point{450, 600}}) {
        const Point ptSize = Resize(ptAsked);
        const double dScale = std::min(ptSize.x / double(ptCanvas.x), ptSize.y / double(ptCanvas.y));
        const std::pair<Rect, const int32_t*> buttons[] = {
            {field.m_rcRead, &field.m_bHoverRead}, {field.m_rcStart, &field.m_bHoverStart}, {field.m_rcExit, &field.m_bHoverExit}};
        for (const auto& [rc, pHover] : buttons) {
            MouseMove(Point{static_cast<int32_t>((ptSize.x - ptCanvas.x * dScale) / 2 + (rc.left + rc.right) / 2 * dScale),
                            static_cast<int32_t>((ptSize.y - ptCanvas.y * dScale) / 2 + (rc.top + rc.bottom) / 2 * dScale)});
            EXPECT_EQ(*pHover + field.m_bHoverRead + field.m_bHoverStart + field.m_bHoverExit, 2) << ptSize.x << "x" << ptSize.y;
        }
    }
    Resize(ptCanvas);

    // Menu mode: Stop's place does nothing. Start with nothing loaded asks
    // for a file as Read does; with the choice cancelled, nothing loads and
    // nothing starts.
    Click(field.m_rcStop);
    m_chooser.m_bConfirm = false;
    m_chooser.m_strPath = m_dir.Write("EMU,q\n");
    for (const Rect& rc : {field.m_rcStart, field.m_rcRead})
        Click(rc);
    EXPECT_TRUE(m_chooser.m_nShown == 2 && questions.GetCount() == 0 && !runner.IsActive() && !field.IsRunning());
    m_chooser.m_nShown = 0;
    // Play mode: the menu buttons' places and the menu's keys do nothing,
    // Stop's place and S end it.
    field.SetRunning(1);
    for (const Rect& rc : {field.m_rcStart, field.m_rcRead, field.m_rcExit})
        Click(rc);
    for (EKey key : {kTab, kEnter, kR, kCtrlO, kSpace})
        KeyUp(key);
    EXPECT_TRUE(IsShown() && m_chooser.m_nShown == 0 && !runner.IsActive() && field.IsRunning() && field.m_nFocus == 0);
    Click(field.m_rcStop);
    EXPECT_TRUE(field.IsRunning() == 0 && runner.IsStopRequested());
    field.SetRunning(1);
    KeyUp(kS);
    EXPECT_EQ(field.IsRunning(), 0);

    // The menu without a mouse: Tab and Shift+Tab walk Read, Start and Exit
    // round, Space and Enter use the button walked to, R and Ctrl+O read; S
    // does nothing here. The choice is cancelled: nothing loads.
    m_chooser.m_bConfirm = false;
    const std::tuple<EKey, int32_t, int32_t> keys[] = { // key, button walked to, choosers shown
        {kTab, CFieldPanel::ReadButton, 0},     {kBackTab, CFieldPanel::ExitButton, 0},
        {kTab, CFieldPanel::ReadButton, 0},     {kTab, CFieldPanel::StartButton, 0},
        {kBackTab, CFieldPanel::ReadButton, 0},
        {kSpace, CFieldPanel::ReadButton, 1},   {kEnter, CFieldPanel::ReadButton, 2},
        {kR, CFieldPanel::ReadButton, 3},       {kCtrlO, CFieldPanel::ReadButton, 4},
        {kS, CFieldPanel::ReadButton, 4}};
    field.m_nFocus = CFieldPanel::NoButton;
    for (const auto& [key, nFocus, nShown] : keys) {
        KeyUp(key);
        EXPECT_TRUE(field.m_nFocus == nFocus && m_chooser.m_nShown == nShown && !field.IsRunning()) << key;
    }
    for (int32_t nId : {IDC_READ, IDC_START}) // the hidden buttons
        Controller().OnCommand(nId);
    EXPECT_EQ(m_chooser.m_nShown, 6);
    m_chooser.m_nShown = 0;

    // A file dropped on the window or named on the command line loads as one
    // chosen with Read. Every failure is told in a box that names the file,
    // and keeps the questions: a read error (where the system offers one),
    // no file there (any more, or a name mistyped on the command line), no
    // regular file, an answer too long, and bytes that are no text.
    m_chooser.m_bConfirm = true;
    int nOsError = 0;
    const std::string strUnreadable = UnreadableFilePath(nOsError);
    const std::string strGone = m_dir.Write("x") + ".gone";
    const std::string strBinary = m_dir.Write(std::string("\x7F" "ELF\x02\x01\x01\0", 8) + std::string(1000, 'x'));
    for (int nWay = 0; nWay < 3; ++nWay) {
        const std::pair<std::string, std::string> loads[] = {
            {m_dir.Write("EMU,q\n"), ""},
            {strUnreadable, std::generic_category().message(nOsError)},
            {strGone, nWay < 2 ? "ファイルが見つかりません（移動か削除されたようです）。" : "ファイルが見つかりません。"},
            {PathToString(m_dir.Path()), "通常のファイルではありません"},
            {m_dir.Write("A,Q\n\n" + std::string(1001, 'x') + ",q"), "3行目: 答えが長すぎます（1001 バイト"},
            {strBinary, "問題ファイルではないようです（制御文字があります）。"}};
        for (const auto& [strPath, strReason] : loads) {
            if (strPath.empty())
                continue;
            questions.RemoveAll();
            questions.Add("q", "CAT");
            const std::string strBox = Modal([&, &strPath = strPath] {
                nWay == 0 ? Read(strPath) : nWay == 1 ? Drop(strPath) : Controller().OnCommandLine({strPath});
            });
            EXPECT_EQ(questions.GetAt(0)->GetAnswer(), strReason.empty() ? "EMU" : "CAT") << strPath << nWay;
            EXPECT_TRUE(strReason.empty() ? strBox.empty()
                                          : strBox.rfind("問題ファイルを読み込めませんでした。\n" + strPath + "\n", 0) == 0 &&
                                                strBox.find(strReason) != std::string::npos)
                << strPath << nWay << ": " << strBox;
        }
    }
}

// The game loop waits in each of its pauses until the test has looked at the
// field, steered and let it go on; a stop ends the wait, as it ends the
// game's own.
void CGameWindowDriver::CheckWholeQuizzes(const std::string& strQuizPath, const std::vector<std::string>& answers)
{
    CPlayField& field = Controller().Field();
    CQuizRunner& runner = Controller().Runner();
    CQuestionSet& questions = Controller().Questions();
    std::mutex mutex;
    std::condition_variable cv;
    int32_t nPendingMs = -1; // the pause the loop waits in; -1 for none
    bool bStopEndsWait = true;
    CSleepSwap sleep([&](int32_t ms) {
        std::unique_lock<std::mutex> lock(mutex);
        // Polls: a stop request does not notify.
        for (nPendingMs = ms; nPendingMs >= 0 && !(bStopEndsWait && runner.IsStopRequested());)
            cv.wait_for(lock, std::chrono::milliseconds(1));
        nPendingMs = -1;
    });
    const auto holdOnStop = [&](bool bHold) {
        std::lock_guard<std::mutex> lock(mutex);
        bStopEndsWait = !bHold;
    };

    // Plays the loaded quiz from Start to its end, turning with key-ups
    // toward steer's direction between steps; bPause pauses once mid-quiz.
    // Returns the verdicts painted, each after its question's number. Counts
    // the steps right with a character eaten in order lying whole in the
    // body: its left half ahead of its right half.
    int32_t nWholeMovingRight = 0;
    const auto play = [&](const std::function<int32_t()>& steer, bool bPause) {
        std::vector<std::string> verdicts;
        Click(field.m_rcStart);
        WaitFor([&] {
            std::unique_lock<std::mutex> lock(mutex);
            bool bHeld = false;
            if (nPendingMs == 1000 && runner.GetStatusText().find(':') != std::string::npos) {
                verdicts.push_back(std::to_string(field.GetQuestion()) + " " + Repaint());
            } else if (nPendingMs >= 0 && nPendingMs != 1000 && field.GetTileCount() > 0) {
                const CSnake& snake = field.GetSnake();
                CCharObject ahead;
                CCharObject behind;
                for (int32_t k = 0; snake.GetDirection() == CSnake::Right && k + 1 < snake.GetSegmentCount(); ++k) {
                    if (snake.CopySegment(k, ahead) && snake.CopySegment(k + 1, behind) &&
                        ahead.GetHalf() == CCharObject::LeftHalf && behind.GetHalf() == CCharObject::RightHalf &&
                        ahead.GetPosition().x == behind.GetPosition().x + 20)
                    {
                        nWholeMovingRight += CPlayField::IsCharacterPair(ahead, behind) ? 1 : -1000;
                        // The head and the character in one row.
                        const Rect rcHead = snake.GetRect();
                        if (k == 0 && rcHead.top == ahead.GetRect().top && rcHead.left == ahead.GetRect().left + 20)
                            Snapshot("body", Rect{behind.GetRect().left, rcHead.top - 6, rcHead.right + 6, rcHead.bottom + 6});
                    }
                }
                const int32_t nDirection = steer();
                if (nDirection >= 0 && nDirection != field.GetSnake().GetDirection())
                    KeyUp(static_cast<EKey>(nDirection));
                // P pauses: the step delay runs out, and then all holds.
                bHeld = bPause && runner.GetProgress() == 2 && field.GetSnake().GetSegmentCount() == 2;
                if (bHeld)
                    KeyUp(kP);
                bPause = bPause && !bHeld;
            }
            nPendingMs = -1;
            cv.notify_all();
            lock.unlock();
            if (bHeld) {
                const Point head = field.GetSnake().GetPosition();
                const int32_t nTiles = field.GetTileCount();
                std::this_thread::sleep_for(std::chrono::milliseconds(50)); // time to move, were it free
                Pump();
                lock.lock();
                EXPECT_TRUE(field.GetSnake().GetPosition() == head && field.GetTileCount() == nTiles && nPendingMs < 0)
                    << "the game went on while paused";
                lock.unlock();
                EXPECT_TRUE(field.IsPaused());
                KeyUp(kSpace);
                EXPECT_FALSE(field.IsPaused());
                // Another window in front pauses as P does, until resumed.
                Deactivate();
                Pump();
                EXPECT_TRUE(field.IsPaused());
                KeyUp(kP);
                EXPECT_FALSE(field.IsPaused());
            }
            return !runner.IsActive();
        });
        EXPECT_FALSE(bPause) << "never paused";
        return verdicts;
    };

    // Start with nothing loaded asks for the file and plays it.
    m_chooser.m_strPath = strQuizPath;
    SeedRandom(5); // a fixed layout, so the run is the same every time
    std::vector<std::string> expected;
    for (size_t i = 0; i < answers.size(); ++i)
        expected.push_back(std::to_string(i + 1) + " " + kCorrect + answers[i]);
    EXPECT_EQ(play([&] {
                  const std::string& strAnswer = questions.GetAt(runner.GetProgress() - 1)->GetAnswer();
                  return CTestPlayer::NextDirection(field, strAnswer.substr(field.GetSnake().GetSegmentCount()));
              }, true),
              expected);
    EXPECT_TRUE(m_chooser.m_nShown == 1 && questions.GetPlayableCount() == static_cast<int32_t>(answers.size()));
    EXPECT_EQ(field.IsRunning() + field.GetTileCount(), 0);
    EXPECT_TRUE(runner.GetResult().GetCount() == 2 && runner.GetResult().GetCorrectCount() == 2);
    EXPECT_GT(nWholeMovingRight, 0) << "no character lay whole in the body moving right";

    // The last tile first: the same letters in the wrong order. The result
    // shows until the next Read.
    Read(m_dir.Write("ON,x\n"));
    EXPECT_EQ(play([&] { return CTestPlayer::DirectionToTile(field, field.GetTileCount() - 1); }, false).at(0),
              "1 " + kIncorrect + "ON");
    EXPECT_FALSE(runner.GetResult().IsEmpty());
    // A file too large to load at once loads while the window goes on, and
    // Start waits for it.
    Read(m_dir.Write("BBB,second\n" + std::string(CGameController::kLoadAtOnceBytes, '\n')));
    EXPECT_TRUE(runner.GetResult().IsEmpty());

    // A drop in play loads once the quiz is over: the quiz reads its
    // questions.
    const auto start = [&](const std::string& strStatus) {
        Click(field.m_rcStart);
        WaitFor([&] {
            std::lock_guard<std::mutex> lock(mutex);
            return nPendingMs == 1000 && runner.GetStatusText() == strStatus;
        });
    };
    start("second");
    Drop(m_dir.Write("CCC,third\n"));
    EXPECT_EQ(questions.GetAt(0)->GetAnswer(), "BBB");
    Click(field.m_rcStop);
    WaitFor([&] { return questions.GetAt(0)->GetAnswer() == "CCC"; });

    // Stop returns to the menu at once, while the run is still held in its
    // pause; Read right after it ends that run and loads, and Start begins a
    // run of the new file. Closing the window in play hides it at once and
    // ends the run.
    start("third");
    holdOnStop(true);
    Click(field.m_rcStop);
    EXPECT_TRUE(field.IsRunning() == 0 && runner.IsActive());
    holdOnStop(false);
    Read(m_dir.Write("DDD,fourth\n"));
    EXPECT_EQ(questions.GetAt(0)->GetAnswer(), "DDD");
    start("fourth");
    holdOnStop(true);
    KeyDown(kEscape);
    EXPECT_TRUE(!IsShown() && runner.IsActive());
    holdOnStop(false);
    WaitFor([&] { return !runner.IsActive(); });
}
