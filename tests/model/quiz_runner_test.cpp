#include "field/play_field.h"
#include "platform/random.h"
#include "platform/sleep.h"
#include "quiz/question_set.h"
#include "run/quiz_runner.h"
#include "sleep_swap.h"
#include "test_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kCorrect = "\x90\xb3\x89\xf0:";          // 正解:
const std::string kIncorrect = "\x95\x73\x90\xb3\x89\xf0:"; // 不正解:

class RecordingOwner : public COwnerWindow
{
public:
    explicit RecordingOwner(std::function<void(const std::string&)> log) : m_log(std::move(log)) {}
    void InvalidateRect(bool bErase) override { m_log(bErase ? "repaint+erase" : "repaint"); }
    bool EnableControl(int32_t nId, bool bEnable) override
    {
        if (nId == 404)
            return false;
        m_log("enable " + std::to_string(nId) + (bEnable ? " on" : " off"));
        return true;
    }

private:
    std::function<void(const std::string&)> m_log;
};

// A quiz on the dialog's play area whose sleeps return at once and are logged
// with what the player would see at that moment.
class QuizTest : public ::testing::Test
{
protected:
    QuizTest()
        : m_owner([this](const std::string& s) { Log(s); }),
          m_sleep([this](int32_t ms) { OnSleep(ms); })
    {
        m_field.SetArea(Rect{11, 11, 353, 238});
        m_field.CentreSnake();
        m_runner.SetOwner(&m_owner);
        m_runner.SetField(&m_field);
        m_runner.SetQuestions(&m_questions);
    }

    ~QuizTest() override { m_runner.StopAndJoin(); }

    void Log(const std::string& s)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(s);
    }

    std::vector<std::string> TakeLog()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::move(m_log);
    }

    std::vector<std::string> Verdicts()
    {
        std::vector<std::string> verdicts;
        for (const std::string& s : TakeLog()) {
            if (s.rfind("sleep 1000 status ", 0) == 0 && s.find(':') != std::string::npos)
                verdicts.push_back(s.substr(18));
        }
        return verdicts;
    }

    void OnSleep(int32_t ms)
    {
        Log("sleep " + std::to_string(ms) + " status " + m_runner.GetStatusText());
        if (ms == CQuizRunner::kQuestionPause && m_onQuestionPause &&
            m_field.GetSnake().GetSegmentCount() == 0 && m_field.GetTileCount() > 0)
            m_onQuestionPause();
        if (m_onSleep)
            m_onSleep(ms);
    }

    // Puts one tile right in front of the head, which is brought back to the
    // centre facing right, and parks the others out of its way: the next
    // step eats exactly that tile.
    void Feed(int32_t nTile)
    {
        m_field.CentreSnake();
        m_field.TurnRight();
        const Point head = m_field.GetSnake().GetPosition();
        for (int32_t i = 0; i < m_field.GetTileCount(); ++i)
            m_field.GetTile(i)->SetPosition(50 + 30 * i, 220);
        if (CCharObject* pTile = m_field.GetTile(nTile))
            pTile->SetPosition(head.x + 20, head.y);
    }

    // Feeds the tiles one per step: in answer order, or last first.
    void FeedEveryStep(bool bInOrder = true)
    {
        m_onQuestionPause = [this, bInOrder] { Feed(bInOrder ? 0 : m_field.GetTileCount() - 1); };
        m_onSleep = [this, bInOrder](int32_t ms) {
            if (ms != CQuizRunner::kVerdictPause && m_field.GetTileCount() > 0)
                Feed(bInOrder ? 0 : m_field.GetTileCount() - 1);
        };
    }

    void RunToEnd()
    {
        m_runner.Start();
        WaitIdle();
    }

    void WaitIdle()
    {
        // Guards against a hang only; the quiz itself takes milliseconds.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (m_runner.IsBusy()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the quiz never ended";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::mutex m_mutex;
    std::vector<std::string> m_log;
    std::function<void()> m_onQuestionPause;
    std::function<void(int32_t)> m_onSleep;
    CPlayField m_field;
    CQuestionSet m_questions;
    RecordingOwner m_owner;
    CQuizRunner m_runner;
    CSleepSwap m_sleep;
};

TEST(QuizRunnerRulesTest, StepDelayShrinksPerSegmentAndStopsAtZero)
{
    EXPECT_EQ(CQuizRunner::StepDelay(0), 200);
    EXPECT_EQ(CQuizRunner::StepDelay(1), 185);
    EXPECT_EQ(CQuizRunner::StepDelay(13), 5);
    EXPECT_EQ(CQuizRunner::StepDelay(14), 0);
    EXPECT_EQ(CQuizRunner::StepDelay(40), 0);
    EXPECT_EQ(CQuizRunner::Verdict(true, "CAT"), kCorrect + "CAT");
    EXPECT_EQ(CQuizRunner::Verdict(false, "\x8c\xa2"), kIncorrect + "\x8c\xa2");
}

TEST_F(QuizTest, OneQuestionPassesThroughEveryStageInOrder)
{
    m_questions.Add("Q1", "AB");
    FeedEveryStep();
    m_onQuestionPause = [this] {
        Log("tiles " + std::to_string(m_field.GetTileCount()));
        Feed(0);
    };
    m_field.SetRunning(1);
    RunToEnd();

    const std::vector<std::string> expected = {
        "repaint+erase",        // question shown, tiles placed
        "sleep 1000 status Q1", // question pause
        "tiles 2",
        "repaint+erase",        // status cleared
        "repaint",              // first step: A eaten
        "sleep 185 status ",
        "repaint",              // second step: B eaten, verdict shown
        "sleep 1000 status " + kCorrect + "AB",
        "repaint",              // body emptied
        "repaint",
        "sleep 200 status " + kCorrect + "AB",
        "repaint+erase",        // no question 2: back to menu mode
    };
    EXPECT_EQ(TakeLog(), expected);
    EXPECT_EQ(m_field.IsRunning(), 0);
    EXPECT_EQ(m_runner.GetProgress(), 1);
    EXPECT_EQ(m_field.GetSnake().GetSegmentCount(), 0);
    EXPECT_FALSE(m_runner.IsActive());
}

TEST_F(QuizTest, VerdictShowsTheAnswerAndJudgesBytesInEatingOrder)
{
    m_questions.Add("Q1", "AB");
    m_questions.Add("Q2", "");
    m_questions.Add("Q3", "\x8c\xa2"); // one double-byte character: two tiles
    FeedEveryStep(false);
    RunToEnd();
    EXPECT_EQ(Verdicts(), (std::vector<std::string>{kIncorrect + "AB", kCorrect,
                                                    kIncorrect + "\x8c\xa2"}));
    FeedEveryStep(true);
    RunToEnd();
    EXPECT_EQ(Verdicts(), (std::vector<std::string>{kCorrect + "AB", kCorrect,
                                                    kCorrect + "\x8c\xa2"}));
    EXPECT_EQ(m_runner.GetProgress(), 3);
}

TEST_F(QuizTest, EmptySetEndsAtOnceInMenuMode)
{
    m_field.SetRunning(1);
    RunToEnd();
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"repaint+erase"});
    EXPECT_EQ(m_field.IsRunning(), 0);
}

TEST_F(QuizTest, StepDelayFollowsTheBodyLength)
{
    m_questions.Add("Q", std::string(16, 'x'));
    FeedEveryStep();
    std::vector<int32_t> delays;
    const auto feed = m_onSleep;
    m_onSleep = [&](int32_t ms) {
        if (ms != CQuizRunner::kQuestionPause && ms != CQuizRunner::kVerdictPause)
            delays.push_back(ms);
        feed(ms);
    };
    RunToEnd();
    const std::vector<int32_t> expected = {185, 170, 155, 140, 125, 110, 95, 80,
                                           65,  50,  35,  20,  5,   0,   0,  200};
    EXPECT_EQ(delays, expected);
    EXPECT_EQ(Verdicts(), std::vector<std::string>{kCorrect + std::string(16, 'x')});
}

TEST_F(QuizTest, StopDuringTheQuestionPauseEndsAfterOneMorePass)
{
    m_questions.Add("Q1", "AB");
    m_questions.Add("Q2", "CD");
    m_onQuestionPause = [this] {
        // Keep the tiles out of the snake's way.
        m_field.GetTile(0)->SetPosition(50, 50);
        m_field.GetTile(1)->SetPosition(100, 50);
        m_runner.RequestStop();
    };
    m_field.SetRunning(1);
    RunToEnd();
    const std::vector<std::string> expected = {
        "repaint+erase", "sleep 1000 status Q1", "repaint+erase", "repaint", "sleep 200 status ",
    };
    EXPECT_EQ(TakeLog(), expected);
    // Cancelled: the field is left as it was, and the mode is the window's.
    EXPECT_EQ(m_field.GetTileCount(), 2);
    EXPECT_EQ(m_field.IsRunning(), 1);
    EXPECT_EQ(m_runner.GetProgress(), 1);
}

TEST_F(QuizTest, StopWhileIdleDoesNotCancelTheNextStart)
{
    m_questions.Add("Q1", "A");
    FeedEveryStep();
    m_runner.RequestStop();
    RunToEnd();
    EXPECT_EQ(Verdicts(), std::vector<std::string>{kCorrect + "A"});
}

class CountingRunner : public CQuizRunner
{
public:
    ~CountingRunner() override { StopAndJoin(); }
    void OnStop() override { ++m_nStops; }
    std::atomic<int32_t> m_nStops{0};
};

TEST_F(QuizTest, CancellationCallsOnStopOnceAndClearsTheRequest)
{
    CountingRunner runner;
    runner.SetField(&m_field);
    runner.SetQuestions(&m_questions);
    m_questions.Add("Q1", "A");
    m_onSleep = [&](int32_t) { runner.RequestStop(); };
    runner.Start();
    while (runner.IsBusy())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(runner.m_nStops.load(), 1);
    EXPECT_EQ(m_field.GetTileCount(), 1);
}

TEST_F(QuizTest, StartWhileAStoppedRunWindsDownBeginsAfterItWithoutASecondThread)
{
    m_questions.Add("Q1", "A");
    std::mutex gate;
    std::condition_variable cv;
    bool bHeld = false;
    bool bRelease = false;
    std::atomic<int32_t> nInside{0};
    std::atomic<int32_t> nMaxInside{0};
    int32_t nPauses = 0;
    m_onSleep = [&](int32_t ms) {
        const int32_t n = ++nInside;
        nMaxInside = std::max(nMaxInside.load(), n);
        if (ms != CQuizRunner::kVerdictPause && nPauses > 1 && m_field.GetTileCount() > 0)
            Feed(0);
        --nInside;
    };
    // The first run keeps its tile out of reach and holds in its question
    // pause; the second is fed.
    m_onQuestionPause = [&] {
        if (nPauses++ > 0) {
            Feed(0);
            return;
        }
        m_field.GetTile(0)->SetPosition(50, 220);
        ++nInside;
        std::unique_lock<std::mutex> lock(gate);
        bHeld = true;
        cv.notify_all();
        cv.wait(lock, [&] { return bRelease; });
        --nInside;
    };

    m_field.SetRunning(1);
    m_runner.Start();
    {
        std::unique_lock<std::mutex> lock(gate);
        cv.wait(lock, [&] { return bHeld; });
    }
    // The window: Stop, then Start again while the first run is still in
    // its question pause. Neither call may wait for the worker.
    m_field.SetRunning(0);
    m_runner.RequestStop();
    m_field.SetRunning(1);
    m_runner.Start();
    EXPECT_TRUE(m_runner.IsBusy());
    {
        std::lock_guard<std::mutex> lock(gate);
        bRelease = true;
    }
    cv.notify_all();
    WaitIdle();

    EXPECT_EQ(nMaxInside.load(), 1) << "two workers ran at once";
    EXPECT_EQ(nPauses, 2) << "the second Start was lost";
    // The first run was cancelled (no verdict), the second played through.
    EXPECT_EQ(Verdicts(), std::vector<std::string>{kCorrect + "A"});
    EXPECT_EQ(m_field.IsRunning(), 0);
}

TEST_F(QuizTest, DestructionStopsAndJoinsTheWorker)
{
    m_questions.Add("Q1", "A");
    std::atomic<bool> bGone{false};
    std::atomic<bool> bSleptAfterGone{false};
    std::atomic<bool> bRunning{false};
    m_onSleep = [&](int32_t) {
        bRunning = true;
        if (bGone)
            bSleptAfterGone = true;
    };
    {
        CQuizRunner runner;
        runner.SetField(&m_field);
        runner.SetQuestions(&m_questions);
        runner.Start();
        while (!bRunning)
            std::this_thread::yield();
    }
    bGone = true;
    EXPECT_FALSE(bSleptAfterGone);
}

TEST_F(QuizTest, UpdateControlsFollowsActivityAndSkipsMissingControls)
{
    m_runner.EnableWhileActive(1000);
    m_runner.EnableWhileIdle(1003);
    m_runner.EnableWhileIdle(404);
    m_runner.UpdateControls();
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"enable 1000 off", "enable 1003 on"}));
}

TEST_F(QuizTest, TestPlayerWinsAFiveQuestionQuizAndLosesWhenEatingOutOfOrder)
{
    const char* answers[] = {"CAT", "DOG", "BIRD", "FISH", "COW"};
    for (const char* pszAnswer : answers)
        m_questions.Add("?", pszAnswer);

    // The player looks at the field between steps and turns like a person.
    auto steer = [this](bool bInOrder) {
        m_onSleep = [this, bInOrder](int32_t ms) {
            if (ms == CQuizRunner::kVerdictPause || m_field.GetTileCount() == 0)
                return;
            const int32_t nProgress = m_runner.GetProgress();
            const CQuestion* pQuestion = m_questions.GetAt(nProgress - 1);
            if (!pQuestion)
                return;
            const std::string strAnswer = pQuestion->GetAnswer();
            const size_t nEaten = static_cast<size_t>(m_field.GetSnake().GetSegmentCount());
            const int32_t nDirection =
                bInOrder ? CTestPlayer::NextDirection(m_field, strAnswer.substr(nEaten))
                         : CTestPlayer::DirectionToTile(m_field, m_field.GetTileCount() - 1);
            CTestPlayer::Turn(m_field, nDirection);
        };
    };

    for (uint32_t seed : {1u, 2u, 3u}) {
        SeedRandom(seed);
        steer(true);
        RunToEnd();
        std::vector<std::string> expected;
        for (const char* pszAnswer : answers)
            expected.push_back(kCorrect + pszAnswer);
        EXPECT_EQ(Verdicts(), expected) << "seed " << seed;

        steer(false);
        RunToEnd();
        std::vector<std::string> wrong;
        for (const char* pszAnswer : answers)
            wrong.push_back(kIncorrect + pszAnswer);
        EXPECT_EQ(Verdicts(), wrong) << "seed " << seed;
    }
}

} // namespace
