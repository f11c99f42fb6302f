#include "field/play_field.h"
#include "platform/string_table.h"
#include "quiz/question_set.h"
#include "recording_target.h"
#include "run/quiz_runner.h"
#include "sleep_swap.h"
#include "test_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Log = std::vector<std::string>;
using Ints = std::vector<int32_t>;

// Counts stops; m_onBegin runs where the thread would begin, and may throw
// as a system that refuses a thread does.
class CountingRunner : public CQuizRunner
{
public:
    ~CountingRunner() override { StopAndJoin(); }
    void OnStop() override { ++m_nStops; }
    std::thread BeginThread() override
    {
        m_onBegin();
        return CQuizRunner::BeginThread();
    }
    using CQuizRunner::SetResult;
    std::atomic<int32_t> m_nStops{0};
    std::function<void()> m_onBegin = [] {};
};

// A quiz on the window's play area. Sleeps return at once and are logged
// with what the player sees then, "sleep ms question/count tiles status",
// as are repaint requests.
class QuizTest : public ::testing::Test, public COwnerWindow
{
protected:
    QuizTest()
    {
        m_field.SetArea(Rect{11, 11, 353, 238});
        m_runner.SetOwner(this);
        m_runner.SetField(&m_field);
        m_runner.SetQuestions(&m_questions);
    }

    void InvalidateRect(bool bErase) override { Add(bErase ? "repaint+erase" : "repaint"); }
    bool EnableControl(int32_t nId, bool bEnable) override
    {
        Add("enable " + std::to_string(nId) + (bEnable ? " on" : " off"));
        return nId != 404;
    }

    void Add(const std::string& s)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(s);
    }

    Log Take()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_log, Log());
    }

    void OnSleep(int32_t ms)
    {
        Add("sleep " + std::to_string(ms) + " " + std::to_string(m_field.GetQuestion()) + "/" +
            std::to_string(m_field.GetQuestionCount()) + " " + std::to_string(m_field.GetTileCount()) + " " + m_runner.GetStatusText());
        m_onSleep(ms);
    }

    // Puts tile nTile right in front of the centred head and parks the others
    // out of its way: the next step eats exactly that tile.
    void Feed(int32_t nTile)
    {
        m_field.CentreSnake();
        m_field.TurnRight();
        for (int32_t i = 0; i < m_field.GetTileCount(); ++i)
            m_field.GetTile(i)->SetPosition(i == nTile ? 202 : 50 + 30 * i, i == nTile ? 124 : 220);
    }

    // Waits for the run to end and takes the log. The time limit guards
    // against a hang only; a quiz takes milliseconds here.
    Log WaitForEnd()
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (m_runner.IsActive() && std::chrono::steady_clock::now() < end)
            std::this_thread::yield();
        EXPECT_FALSE(m_runner.IsActive()) << "the quiz never ended";
        return Take();
    }

    std::mutex m_mutex;
    Log m_log;
    std::function<void(int32_t)> m_onSleep = [](int32_t) {};
    CPlayField m_field;
    CQuestionSet m_questions;
    CountingRunner m_runner;
    CSleepSwap m_sleep{[this](int32_t ms) { OnSleep(ms); }};
};

TEST_F(QuizTest, ARunPassesThroughEveryStageInOrderAndStopsTakeEffectAtTheNextCheckpoint)
{
    // A stop while idle is forgotten by the next Start. Q1 is eaten in
    // order, Q3 last tile first: a verdict judges the bytes in eating order.
    // The record without an answer is passed over and counts nowhere.
    m_runner.RequestStop();
    m_questions.Add("Q1", "AB");
    m_questions.Add("Q2", "");
    m_questions.Add("Q3", "CD");
    m_onSleep = [this](int32_t) { Feed(m_field.GetQuestion() == 2 ? m_field.GetTileCount() - 1 : 0); };
    const Log expected = {
        "repaint+erase", "sleep 1000 1/2 2 Q1", "repaint+erase",     // question and tiles shown, pause, status cleared
        "repaint", "sleep 185 1/2 1 ",                               // first step: A eaten
        "repaint", "sleep 1000 1/2 0 " + kCorrect + "AB", "repaint", // second step: B eaten, verdict, body emptied
        "repaint", "sleep 200 1/2 0 " + kCorrect + "AB",             // the step delay of an empty body
        "repaint+erase", "sleep 1000 2/2 2 Q3", "repaint+erase", "repaint", "sleep 185 2/2 1 ",
        "repaint", "sleep 1000 2/2 0 " + kIncorrect + "CD", "repaint", "repaint", "sleep 200 2/2 0 " + kIncorrect + "CD",
        "repaint+erase"}; // no question 4: back to menu mode
    m_runner.Start();
    EXPECT_EQ(WaitForEnd(), expected);
    const CQuizResult result = m_runner.GetResult();
    // right, and records passed
    Log entries{std::to_string(result.GetCorrectCount()) + "/" + std::to_string(m_runner.GetProgress())};
    for (const CQuizResult::CEntry& e : result.GetEntries())
        entries.push_back(e.strAnswer + ">" + e.strCollected + (e.bCorrect ? " ok" : " wrong"));
    EXPECT_EQ(entries, (Log{"1/3", "AB>AB ok", "CD>DC wrong"}));

    // A stop in the question pause, the tile then eaten, ends the run at the
    // pass's checkpoint: neither the verdict pause nor the step delay sleeps.
    // The field is left as it was and the mode is the window's.
    m_questions.GetAt(0)->SetAnswer("A");
    m_onSleep = [this](int32_t) {
        Feed(0);
        m_runner.RequestStop();
    };
    m_runner.Start();
    EXPECT_EQ(WaitForEnd(), (Log{"repaint+erase", "sleep 1000 1/2 1 Q1", "repaint+erase", "repaint", "repaint", "repaint"}));
    EXPECT_EQ((Ints{m_field.GetTileCount(), m_field.IsRunning(), m_runner.m_nStops, m_runner.IsStopRequested()}),
              (Ints{0, 1, 1, 0}));

    // The wait after a step shrinks with the body, down to 50 ms.
    const std::pair<int32_t, int32_t> delays[] = {{0, 200}, {1, 185}, {9, 65}, {10, 50}, {11, 50}, {99, 50}};
    for (const auto& [nSegments, nDelay] : delays)
        EXPECT_EQ(CQuizRunner::StepDelay(nSegments), nDelay) << nSegments;
}

// A Stop that reaches menu mode after the last checkpoint lets the run end
// by itself, but with no result shown.
TEST_F(QuizTest, PauseHoldsTheLoopUntilResumedAndControlsFollowTheRun)
{
    m_questions.Add("Q1", "AB");
    m_runner.EnableWhileActive(1000);
    m_runner.EnableWhileIdle(404); // a missing control is skipped
    m_runner.EnableWhileIdle(1003);
    // Paused in the question pause: no step (and its repaint) may follow.
    std::atomic<bool> bPaused{false};
    m_onSleep = [&](int32_t ms) {
        Feed(0);
        if (ms == CQuizRunner::kQuestionPause && m_field.GetTileCount() > 0 && !bPaused) {
            EXPECT_TRUE(m_runner.TogglePause());
            Take();
            bPaused = true;
        }
        if (ms == CQuizRunner::kVerdictPause)
            m_field.SetRunning(0);
    };
    m_runner.Start();
    while (!bPaused)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // time to move, were it free
    EXPECT_EQ(Take(), Log{}) << "the loop went on while paused";
    EXPECT_TRUE(m_field.IsPaused()) << "no pause mark";
    m_runner.UpdateControls();
    EXPECT_EQ(Take(), (Log{"enable 1000 on", "enable 404 off", "enable 1003 off"}));
    EXPECT_FALSE(m_runner.TogglePause());
    EXPECT_EQ(WaitForEnd().at(0), "sleep 1000 1/1 2 Q1") << "the rest of the paused wait was not slept";
    EXPECT_TRUE(m_runner.GetResult().IsEmpty()) << "a result after a Stop";
    m_runner.UpdateControls();
    EXPECT_EQ(Take(), (Log{"enable 1000 off", "enable 404 on", "enable 1003 on"})) << "after the run";
}

TEST_F(QuizTest, StartEndsTheStoppedRunAndBeginsAfreshASecondStopHoldsAndDestructionJoins)
{
    m_questions.Add("Q1", "AB");
    // Both runs pause in their question pause, tiles out of reach, until the
    // test stops them as the window does: a stop ends a paused run too.
    std::atomic<int32_t> nPaused{0};
    m_onSleep = [&](int32_t) {
        Feed(-1);
        m_runner.SetPause(true);
        ++nPaused;
    };
    // What the window would paint as the new thread begins: nothing of the
    // last run, not even its pause.
    std::vector<Ints> begins;
    m_runner.m_onBegin = [&] {
        const CSnake& snake = m_field.GetSnake();
        begins.push_back({m_field.GetTileCount(), snake.GetSegmentCount(), snake.GetPosition().x, m_field.GetQuestion(),
                          m_runner.GetProgress(), m_field.IsPaused(), m_field.IsRunning(), m_runner.GetResult().GetCount(),
                          static_cast<int32_t>(m_runner.GetStatusText().size() + m_runner.GetQuestionText().size())});
    };
    // Left by the last quiz: a body, a verdict and a result.
    CQuizResult last;
    last.Add("A", "A", true);
    m_runner.SetResult(last);
    m_runner.SetStatusText(kCorrect + "A");
    m_field.GetSnake().AddSegment(CCharObject());
    for (int32_t nRun : {1, 2}) {
        ASSERT_EQ(m_runner.Start(), 0); // the stopped run may still be ending
        while (nPaused < nRun)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // time to move, were it free
        m_field.SetRunning(0);
        m_runner.RequestStop();
    }
    WaitForEnd();
    // tiles, body, head, question, progress, paused, mode, result, texts
    EXPECT_EQ(begins, std::vector<Ints>(2, Ints{0, 0, 182, 0, 0, 0, 1, 0, 0}));
    // Each run paused once and was stopped; its tiles stay, and the mode is
    // the window's.
    EXPECT_EQ((Ints{nPaused, m_runner.m_nStops, m_field.GetTileCount(), m_field.IsRunning()}), (Ints{2, 2, 2, 0}));

    // A thread that cannot begin leaves menu mode and nothing running.
    m_runner.m_onBegin = [] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); };
    EXPECT_TRUE(m_runner.Start() == -1 && !m_field.IsRunning() && !m_runner.IsActive() && Take().back() == "repaint+erase");

    // Only with both a field and questions is there a quiz, which goes when
    // its runner goes.
    for (int32_t nSet : {1, 2, 3}) {
        CQuizRunner runner;
        runner.SetField(nSet & 1 ? &m_field : nullptr);
        runner.SetQuestions(nSet & 2 ? &m_questions : nullptr);
        runner.Start();
        while (nSet == 3 ? nPaused == 2 : runner.IsActive())
            std::this_thread::yield();
        EXPECT_EQ(nPaused > 2, nSet == 3) << nSet;
    }
}

// Real sleeps: a stop cuts a long wait short, whether it comes before the
// wait or while the worker sleeps in it; a message (from the string table)
// holds the worker, its text readable, until a stop ends the run there, paused
// or not. The next run starts afresh: a short wait runs out, and the
// checkpoint after it lets it by.
TEST(WorkerWaitTest, AStopCutsALongWaitShortAndEndsAMessageAndTheNextRunStartsAfresh)
{
    struct Waiter : CWorkerThread
    {
        ~Waiter() override { StopAndJoin(); }
        void Run() override
        {
            if (m_bMessage)
                ShowMessage(IDS_ABOUTBOX);
            m_bWaiting = true;
            m_nFullTime = Wait(m_nWaitMs);
            Checkpoint();
            m_nFullTime += 10;
        }
        void OnWaitBegin() override { m_bWaiting = true; }
        bool m_bMessage = false;
        int32_t m_nWaitMs = 0;
        std::atomic<bool> m_bWaiting{false};
        std::atomic<int32_t> m_nFullTime{-1}; // -1 until the wait is over
    };
    Waiter waiter;
    for (int32_t nWay : {0, 1, 2, 3}) { // stopped before the wait, in it, in a message; a short wait
        waiter.m_bMessage = nWay == 2;
        waiter.m_nWaitMs = nWay == 3 ? 1 : 10 * 60 * 1000;
        waiter.m_bWaiting = false;
        waiter.m_nFullTime = -1;
        waiter.Start();
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
             nWay > 0 && !(nWay == 3 ? waiter.m_nFullTime == 11 : waiter.m_bWaiting.load()) &&
             std::chrono::steady_clock::now() < end;)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(nWay == 1 ? 20 : 0)); // into the wait, most likely
        EXPECT_TRUE(nWay != 2 || (waiter.m_bWaiting && waiter.IsActive()));
        EXPECT_EQ(waiter.GetMessageText(), nWay == 2 ? LoadStringResource(IDS_ABOUTBOX) : "") << nWay;
        waiter.SetPaused(nWay == 2);
        waiter.StopAndJoin();
        EXPECT_EQ(waiter.m_nFullTime.load(), nWay < 2 ? 0 : nWay == 2 ? -1 : 11) << nWay;
    }
}

// Whole quizzes at full speed on the worker while another thread paints and
// steers, as the window does. Run under ThreadSanitizer, any
// unsynchronised access shows up as a report.
TEST_F(QuizTest, PaintingAndSteeringBesideFullSpeedQuizzes)
{
    std::atomic<int64_t> nSleeps{0};
    m_onSleep = [&nSleeps](int32_t) { ++nSleeps; };
    for (const char* pszAnswer : {"CAT", "\x8c\xa2\x90\xb3", "BIRD", "", "COWS AND GOATS"})
        m_questions.Add("question", pszAnswer);

    std::atomic<bool> bDone{false};
    std::atomic<int64_t> nPaints{0};
    std::thread window([&] {
        for (; !bDone; ++nPaints) {
            CRecordingTarget target;
            m_field.Draw(target, m_runner.GetStatusText());
            m_field.UpdateHover(Point{150, 150});
            // Any way, or none (-1) when no path is found: the snake then stands still.
            m_field.GetSnake().SetDirection(nPaints % 7 == 1 ? nPaints % 4 : CTestPlayer::DirectionToTile(m_field, 0));
        }
    });
    // On a busy machine the quizzes could be through before the window
    // painted much: they go on until it has.
    for (int32_t nRuns = 0; nSleeps < 6000 || nPaints < 100; std::this_thread::yield()) {
        if (!m_runner.IsActive() && m_runner.Start() == 0)
            ++nRuns;
        if (nRuns % 3 == 0 && nSleeps % 500 < 5)
            m_runner.RequestStop();
    }
    m_runner.StopAndJoin();
    bDone = true;
    window.join();
    EXPECT_FALSE(Take().empty()) << "no repaint";
}

} // namespace
