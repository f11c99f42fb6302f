#include "field/play_field.h"
#include "platform/random.h"
#include "quiz/question_set.h"
#include "recording_target.h"
#include "run/quiz_runner.h"
#include "sleep_swap.h"
#include "test_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

const std::string kCorrect = "\x90\xb3\x89\xf0:";          // 正解:
const std::string kIncorrect = "\x95\x73\x90\xb3\x89\xf0:"; // 不正解:

using Log = std::vector<std::string>;

// Counts stops; m_onBegin runs where the thread would begin, and may throw
// as a system that refuses a thread does.
class CountingRunner : public CQuizRunner
{
public:
    ~CountingRunner() override { StopAndJoin(); }
    void OnStop() override { ++m_nStops; }
    std::thread BeginThread() override
    {
        if (m_onBegin)
            m_onBegin();
        return CQuizRunner::BeginThread();
    }
    using CQuizRunner::SetResult;
    std::atomic<int32_t> m_nStops{0};
    std::function<void()> m_onBegin;
};

// A quiz on the window's play area. Sleeps return at once and are logged
// with what the player sees then, as are repaint requests.
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
        return std::move(m_log);
    }

    // The status texts of the long pauses that show a verdict.
    Log Verdicts()
    {
        Log verdicts;
        for (const std::string& s : Take()) {
            if (s.rfind("sleep 1000 ", 0) == 0 && s.find(':') != std::string::npos)
                verdicts.push_back(s.substr(11));
        }
        return verdicts;
    }

    void OnSleep(int32_t ms)
    {
        const int32_t nTiles = m_field.GetTileCount();
        const bool bPause = ms == CQuizRunner::kQuestionPause && nTiles > 0;
        Add("sleep " + std::to_string(ms) + " " + m_runner.GetStatusText() +
            (bPause ? " tiles " + std::to_string(nTiles) : ""));
        if (m_onSleep)
            m_onSleep(ms);
    }

    // Puts tile nTile right in front of the centred head and parks the others
    // out of its way: the next step eats exactly that tile. Fed tile 0 at
    // every wait, the snake eats an answer in order, one tile per step.
    void Feed(int32_t nTile)
    {
        m_field.CentreSnake();
        m_field.TurnRight();
        for (int32_t i = 0; i < m_field.GetTileCount(); ++i)
            m_field.GetTile(i)->SetPosition(i == nTile ? 202 : 50 + 30 * i, i == nTile ? 124 : 220);
    }

    void RunToEnd()
    {
        m_runner.Start();
        WaitIdle();
    }

    void WaitIdle()
    {
        // Guards against a hang only; a quiz takes milliseconds here.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (m_runner.IsActive()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the quiz never ended";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::mutex m_mutex;
    Log m_log;
    std::function<void(int32_t)> m_onSleep;
    CPlayField m_field;
    CQuestionSet m_questions;
    CountingRunner m_runner;
    CSleepSwap m_sleep{[this](int32_t ms) { OnSleep(ms); }};
};

TEST_F(QuizTest, ARunPassesThroughEveryStageInOrderAndStopsTakeEffectAtTheNextCheckpoint)
{
    m_field.SetRunning(1);
    RunToEnd();
    EXPECT_EQ(Take(), Log{"repaint+erase"}) << "an empty set ends at once in menu mode";
    EXPECT_EQ(m_field.IsRunning(), 0);

    // A stop while idle is forgotten by the next Start. A Stop that reaches
    // menu mode after the last checkpoint lets the run end by itself, but
    // with no result shown.
    m_runner.RequestStop();
    m_questions.Add("Q1", "AB");
    m_onSleep = [this](int32_t ms) {
        Feed(0);
        if (ms == CQuizRunner::kVerdictPause)
            m_field.SetRunning(0);
    };
    RunToEnd();
    const Log expected = {
        "repaint+erase", "sleep 1000 Q1 tiles 2", "repaint+erase", // question and tiles shown, pause, status cleared
        "repaint", "sleep 185 ",                                   // first step: A eaten
        "repaint", "sleep 1000 " + kCorrect + "AB", "repaint",     // second step: B eaten, verdict, body emptied
        "repaint", "sleep 200 " + kCorrect + "AB", "repaint+erase" // no question 2: back to menu mode
    };
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(m_field.IsRunning(), 0);
    EXPECT_TRUE(m_runner.GetResult().IsEmpty());
    EXPECT_EQ(m_field.GetSnake().GetSegmentCount(), 0);
    EXPECT_EQ(m_runner.m_nStops.load(), 0);

    // A stop in the question pause, the tile then eaten, ends the run at the
    // pass's checkpoint: neither the verdict pause nor the step delay sleeps.
    // The field is left as it was and the mode is the window's.
    m_questions.GetAt(0)->SetAnswer("A");
    m_questions.Add("Q2", "CD");
    m_onSleep = [this](int32_t) {
        Feed(0);
        m_runner.RequestStop();
    };
    RunToEnd();
    EXPECT_EQ(Take(), (Log{"repaint+erase", "sleep 1000 Q1 tiles 1", "repaint+erase", "repaint", "repaint", "repaint"}));
    EXPECT_EQ(m_field.GetTileCount(), 0);
    EXPECT_EQ(m_field.IsRunning(), 1);
    EXPECT_TRUE(m_runner.GetResult().IsEmpty()) << "a stopped quiz has no result";
    EXPECT_EQ(m_runner.m_nStops.load(), 1);

    // The wait after a step shrinks with the body, down to 50 ms.
    const std::pair<int32_t, int32_t> delays[] = {{0, 200}, {1, 185}, {9, 65}, {10, 50}, {11, 50}, {99, 50}};
    for (const auto& [nSegments, nDelay] : delays)
        EXPECT_EQ(CQuizRunner::StepDelay(nSegments), nDelay) << nSegments;
}

TEST_F(QuizTest, PauseHoldsTheLoopUntilResumedAndControlsFollowTheRun)
{
    m_questions.Add("Q1", "AB");
    m_runner.EnableWhileActive(1000);
    m_runner.EnableWhileIdle(404); // a missing control is skipped
    m_runner.EnableWhileIdle(1003);
    // Paused in the question pause: no step (and its repaint) may follow.
    std::promise<void> paused;
    bool bPaused = false;
    m_onSleep = [&](int32_t ms) {
        Feed(0);
        if (ms == CQuizRunner::kQuestionPause && m_field.GetTileCount() > 0 && !std::exchange(bPaused, true)) {
            EXPECT_TRUE(m_runner.TogglePause());
            Take();
            paused.set_value();
        }
    };
    m_runner.Start();
    paused.get_future().wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // time to move, were it free
    EXPECT_EQ(Take(), Log{}) << "the loop went on while paused";
    EXPECT_TRUE(m_field.IsPaused()) << "no pause mark";
    m_runner.UpdateControls();
    EXPECT_EQ(Take(), (Log{"enable 1000 on", "enable 404 off", "enable 1003 off"}));
    EXPECT_FALSE(m_runner.TogglePause());
    WaitIdle();
    const Log after = Take();
    EXPECT_EQ(after.front(), "sleep 1000 Q1 tiles 2") << "paused time counted as the question's pause";
    EXPECT_EQ(std::count(after.begin(), after.end(), "sleep 1000 " + kCorrect + "AB"), 1);
    m_runner.UpdateControls();
    EXPECT_EQ(Take(), (Log{"enable 1000 off", "enable 404 on", "enable 1003 on"})) << "after the run";
}

TEST_F(QuizTest, StartEndsTheStoppedRunAndBeginsAfreshAndASecondStopHolds)
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
    const auto stopWhenPaused = [&](int32_t n) {
        while (nPaused < n)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // time to move, were it free
        m_field.SetRunning(0);
        m_runner.RequestStop();
    };
    // What the window would paint as the new thread begins: nothing of the
    // last run, not even its pause.
    Log begins;
    m_runner.m_onBegin = [&] {
        const CSnake& snake = m_field.GetSnake();
        begins.push_back(std::to_string(m_field.GetTileCount()) + " tiles, body " + std::to_string(snake.GetSegmentCount()) +
                         ", head " + std::to_string(snake.GetPosition().x) + ", question " + std::to_string(m_field.GetQuestion()) +
                         ", paused " + std::to_string(m_field.IsPaused()) + ", mode " + std::to_string(m_field.IsRunning()) +
                         ", result " + std::to_string(m_runner.GetResult().GetCount()) + ", status " + m_runner.GetStatusText());
    };
    // Left by the last quiz: a body and a result.
    CQuizResult last;
    last.Add("A", "A", true);
    m_runner.SetResult(last);
    m_field.GetSnake().AddSegment(CCharObject());

    ASSERT_EQ(m_runner.Start(), 0);
    stopWhenPaused(1);
    ASSERT_EQ(m_runner.Start(), 0); // the stopped run may still be ending
    stopWhenPaused(2);
    WaitIdle();
    EXPECT_EQ(m_field.GetTileCount(), 2) << "a stopped run's tiles were not left for the next Start";
    EXPECT_EQ(begins, Log(2, "0 tiles, body 0, head 182, question 0, paused 0, mode 1, result 0, status "));
    EXPECT_EQ(nPaused.load(), 2) << "a paused run went on";
    EXPECT_EQ(m_runner.m_nStops.load(), 2) << "the second stop was lost";
    EXPECT_EQ(m_field.IsRunning(), 0) << "a restart undid the window's menu mode";
    EXPECT_EQ(Verdicts(), Log{});

    // A thread that cannot begin leaves menu mode and nothing running.
    m_runner.m_onBegin = [] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); };
    m_field.SetRunning(1);
    EXPECT_EQ(m_runner.Start(), -1);
    EXPECT_EQ(m_field.IsRunning(), 0);
    EXPECT_FALSE(m_runner.IsActive());
    EXPECT_EQ(Take().back(), "repaint+erase");
}

// Real sleeps: a stop cuts a long wait short, whether it comes before the
// wait or while the worker sleeps in it.
TEST(WorkerWaitTest, AStopCutsALongWaitShort)
{
    class Waiter : public CWorkerThread
    {
    public:
        ~Waiter() override { StopAndJoin(); }
        void Run() override
        {
            m_bEntered = true;
            m_bFullTime = Wait(10 * 60 * 1000);
        }
        std::atomic<bool> m_bEntered{false};
        std::atomic<bool> m_bFullTime{true};
    };
    for (bool bAsleep : {false, true}) {
        Waiter waiter;
        waiter.Start();
        while (bAsleep && !waiter.m_bEntered)
            std::this_thread::yield();
        if (bAsleep)
            std::this_thread::sleep_for(std::chrono::milliseconds(20)); // into the wait, most likely
        waiter.StopAndJoin();
        EXPECT_FALSE(waiter.m_bFullTime) << "asleep: " << bAsleep;
    }
}

// A message holds the worker until a stop; the window may read its text.
TEST(WorkerWaitTest, AMessageHoldsTheWorkerUntilStopped)
{
    class Messenger : public CWorkerThread
    {
    public:
        ~Messenger() override { StopAndJoin(); }
        void Run() override
        {
            ShowMessage("note");
            m_bPassed = true;
        }
        void OnWaitBegin() override { m_bWaiting = true; }
        std::atomic<bool> m_bWaiting{false};
        std::atomic<bool> m_bPassed{false};
    };
    Messenger worker;
    worker.Start();
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         !worker.m_bWaiting && std::chrono::steady_clock::now() < deadline;)
        std::this_thread::yield();
    EXPECT_TRUE(worker.m_bWaiting && worker.IsActive() && worker.GetMessageText() == "note");
    worker.StopAndJoin();
    EXPECT_FALSE(worker.m_bPassed);
}

TEST_F(QuizTest, DestructionStopsAndJoinsTheWorkerAndARunNeedsFieldAndQuestions)
{
    m_questions.Add("Q1", "A");
    std::atomic<bool> bGone{false};
    std::atomic<bool> bSleptAfterGone{false};
    std::atomic<bool> bRunning{false};
    m_onSleep = [&](int32_t) {
        bRunning = true;
        bSleptAfterGone = bSleptAfterGone || bGone;
    };
    // Field only, questions only, both: only with both is there a quiz,
    // which goes when its runner goes.
    for (int32_t nSet : {1, 2, 3}) {
        CQuizRunner runner;
        runner.SetField(nSet & 1 ? &m_field : nullptr);
        runner.SetQuestions(nSet & 2 ? &m_questions : nullptr);
        runner.Start();
        while (nSet == 3 ? !bRunning : runner.IsActive())
            std::this_thread::yield();
        EXPECT_EQ(bRunning, nSet == 3) << nSet;
    }
    bGone = true;
    EXPECT_FALSE(bSleptAfterGone);
}

// The test player plays a whole quiz as a person would: in answer order it
// wins every question; eating the last tile first it loses every one, as
// verdicts judge the bytes in eating order (the halves of a character too).
// The result keeps every question played.
TEST_F(QuizTest, TestPlayerWinsAQuizAndLosesWhenEatingOutOfOrderAndTheResultKeepsAll)
{
    const char* answers[] = {"CAT", "", "BIRD", "\x8c\xa2", "COW"}; // 犬: two tiles
    Log right;
    Log wrong;
    for (const char* pszAnswer : answers) {
        m_questions.Add("?", pszAnswer);
        if (*pszAnswer) {
            right.push_back(kCorrect + pszAnswer);
            wrong.push_back(kIncorrect + pszAnswer);
        }
    }

    // Between steps the player looks at the field and turns like a person.
    // The question in play shows in its question pause and verdict pause.
    bool bInOrder = true;
    Log progress;
    m_onSleep = [&](int32_t ms) {
        if (ms == CQuizRunner::kQuestionPause)
            progress.push_back(std::to_string(m_field.GetQuestion()) + "/" + std::to_string(m_field.GetQuestionCount()));
        const CQuestion* pQuestion = m_questions.GetAt(m_runner.GetProgress() - 1);
        if (ms == CQuizRunner::kVerdictPause || m_field.GetTileCount() == 0 || !pQuestion)
            return;
        const size_t nEaten = static_cast<size_t>(m_field.GetSnake().GetSegmentCount());
        const int32_t nLast = m_field.GetTileCount() - 1;
        CTestPlayer::Turn(m_field, bInOrder ? CTestPlayer::NextDirection(m_field, pQuestion->GetAnswer().substr(nEaten))
                                            : CTestPlayer::DirectionToTile(m_field, nLast));
    };
    for (uint32_t seed : {1u, 2u, 3u}) {
        SeedRandom(seed);
        bInOrder = true;
        RunToEnd();
        EXPECT_EQ(Verdicts(), right) << "seed " << seed;
        bInOrder = false;
        progress.clear();
        RunToEnd();
        EXPECT_EQ(Verdicts(), wrong) << "seed " << seed;
    }
    // The record without an answer is neither played nor counted.
    EXPECT_EQ(progress, (Log{"1/4", "1/4", "2/4", "2/4", "3/4", "3/4", "4/4", "4/4"}));
    EXPECT_EQ(m_runner.GetProgress(), 5);
    const CQuizResult result = m_runner.GetResult();
    Log entries{std::to_string(result.GetCorrectCount())};
    for (const CQuizResult::CEntry& e : result.GetEntries())
        entries.push_back(e.strAnswer + ">" + e.strCollected + (e.bCorrect ? " ok" : " wrong"));
    EXPECT_EQ(entries, (Log{"0", "CAT>TAC wrong", "BIRD>DRIB wrong", "\x8c\xa2>\xa2\x8c wrong", "COW>WOC wrong"}));
}

// Whole quizzes at full speed on the worker while one thread paints and
// another steers, as the window does. Run under ThreadSanitizer, any
// unsynchronised access shows up as a report.
TEST_F(QuizTest, PaintingAndSteeringBesideFullSpeedQuizzes)
{
    std::atomic<int64_t> nSleeps{0};
    m_onSleep = [&nSleeps](int32_t) { ++nSleeps; };
    for (const char* pszAnswer : {"CAT", "\x8c\xa2\x90\xb3", "BIRD", "", "COWS AND GOATS"})
        m_questions.Add("question", pszAnswer);

    std::atomic<bool> bDone{false};
    std::atomic<int64_t> nPaints{0};
    std::thread painter([&] {
        for (; !bDone; ++nPaints) {
            CRecordingTarget target;
            m_field.Draw(target, m_runner.GetStatusText());
            m_field.UpdateHover(Point{150, 150});
        }
    });
    std::thread steerer([&] {
        for (int32_t n = 1; !bDone; ++n) {
            CTestPlayer::Turn(m_field, n % 7 == 1 ? n % 4 : CTestPlayer::DirectionToTile(m_field, 0));
            std::this_thread::yield();
        }
    });

    // On a busy machine the quizzes could be over before the painter starts,
    // or through before it painted much.
    while (nPaints == 0)
        std::this_thread::yield();
    for (int32_t nRuns = 0; nSleeps < 6000 || nPaints < 100; std::this_thread::yield()) {
        if (!m_runner.IsActive()) {
            m_field.SetRunning(1);
            m_runner.Start();
            ++nRuns;
        }
        if (nRuns % 3 == 0 && nSleeps % 500 < 5)
            m_runner.RequestStop();
    }
    m_runner.StopAndJoin();
    bDone = true;
    painter.join();
    steerer.join();
    EXPECT_FALSE(Take().empty()) << "no repaint";
}

} // namespace
