#include "field/play_field.h"
#include "quiz/question_set.h"
#include "run/quiz_runner.h"
#include "sleep_swap.h"
#include "test_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

// Reads everything a paint reads, and nothing else.
class CountingTarget : public CDrawTarget
{
public:
    void DrawBox(Rect rc, Colour, Colour) override { m_nSum += rc.left + rc.bottom; }
    void DrawLabel(Rect rc, const std::string& strText, int32_t, Colour) override
    {
        m_nSum += rc.top + static_cast<int64_t>(strText.size());
    }
    void DrawLabelPart(Rect rc, Rect, const std::string& strText, int32_t, Colour c) override
    {
        DrawLabel(rc, strText, 0, c);
    }
    TextExtent MeasureLabel(const std::string& strText, int32_t) override
    {
        return TextExtent{static_cast<int32_t>(strText.size()) * 20, 30};
    }
    void DrawBall(Rect rc) override { m_nSum += rc.right; }
    int64_t m_nSum = 0;
};

class NullOwner : public COwnerWindow
{
public:
    void InvalidateRect(bool) override { ++m_nRepaints; }
    bool EnableControl(int32_t, bool) override { return false; }
    std::atomic<int64_t> m_nRepaints{0};
};

// Whole quizzes at full speed on the worker while one thread paints and
// another steers, as the window does. Run under ThreadSanitizer, any
// unsynchronised access shows up as a report.
TEST(QuizStressTest, PaintingAndSteeringBesideFullSpeedQuizzes)
{
    constexpr int64_t kSteps = 6000;
    std::atomic<int64_t> nSleeps{0};
    const CSleepSwap sleep([&nSleeps](int32_t) { ++nSleeps; });

    CPlayField field;
    field.SetArea(Rect{11, 11, 353, 238});
    field.CentreSnake();
    CQuestionSet questions;
    for (const char* pszAnswer : {"CAT", "\x8c\xa2\x90\xb3", "BIRD", "", "COWS AND GOATS"})
        questions.Add("question", pszAnswer);
    NullOwner owner;
    CQuizRunner runner;
    runner.SetOwner(&owner);
    runner.SetField(&field);
    runner.SetQuestions(&questions);

    std::atomic<bool> bDone{false};
    std::atomic<int64_t> nPaints{0};
    std::thread painter([&] {
        CountingTarget target;
        while (!bDone) {
            ++nPaints;
            field.Draw(target, runner.GetStatusText());
            field.UpdateHover(Point{150, 150});
            ++nPaints;
        }
        EXPECT_NE(target.m_nSum, 0);
    });
    std::thread steerer([&] {
        int32_t n = 0;
        while (!bDone) {
            const int32_t nDirection = (n++ % 7 == 0) ? n % 4 : CTestPlayer::DirectionToTile(field, 0);
            CTestPlayer::Turn(field, nDirection);
            std::this_thread::yield();
        }
    });

    // On a busy machine the quizzes could be over before the painter starts.
    while (nPaints == 0)
        std::this_thread::yield();
    int32_t nRuns = 0;
    // On a busy machine the quizzes may be through before the painter ran.
    while (nSleeps < kSteps || nPaints < 100) {
        if (!runner.IsActive()) {
            field.SetRunning(1);
            runner.Start();
            ++nRuns;
        }
        if (nRuns % 3 == 0 && nSleeps % 500 < 5)
            runner.RequestStop();
        std::this_thread::yield();
    }
    runner.StopAndJoin();
    bDone = true;
    painter.join();
    steerer.join();

    EXPECT_GE(nSleeps.load(), kSteps);
    EXPECT_GT(owner.m_nRepaints.load(), 0);
}

} // namespace
