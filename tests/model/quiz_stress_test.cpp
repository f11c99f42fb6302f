#include "field/play_field.h"
#include "quiz/question_set.h"
#include "recording_target.h"
#include "run/quiz_runner.h"
#include "sleep_swap.h"
#include "test_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

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
        CRecordingTarget target;
        for (; !bDone; ++nPaints) {
            target.m_labels.clear();
            field.Draw(target, runner.GetStatusText());
            field.UpdateHover(Point{150, 150});
        }
        EXPECT_FALSE(target.m_labels.empty());
    });
    std::thread steerer([&] {
        for (int32_t n = 1; !bDone; ++n) {
            CTestPlayer::Turn(field, n % 7 == 1 ? n % 4 : CTestPlayer::DirectionToTile(field, 0));
            std::this_thread::yield();
        }
    });

    // On a busy machine the quizzes could be over before the painter starts,
    // or through before it painted much.
    while (nPaints == 0)
        std::this_thread::yield();
    for (int32_t nRuns = 0; nSleeps < kSteps || nPaints < 100; std::this_thread::yield()) {
        if (!runner.IsActive()) {
            field.SetRunning(1);
            runner.Start();
            ++nRuns;
        }
        if (nRuns % 3 == 0 && nSleeps % 500 < 5)
            runner.RequestStop();
    }
    runner.StopAndJoin();
    bDone = true;
    painter.join();
    steerer.join();
    EXPECT_GT(owner.m_nRepaints.load(), 0);
}

} // namespace
