#include "field/play_field.h"
#include "game/window_layout.h"
#include "quiz/question_set.h"
#include "run/quiz_runner.h"

#include <benchmark/benchmark.h>

#include <thread>

namespace {

// How long the window's thread waits when a quiz starts again while the
// last one sits in its one-second question pause: the stop wakes that wait,
// the join follows, and the new run begins. Real sleeps, real threads.
void BM_RestartInQuestionPause(benchmark::State& state)
{
    CPlayField field;
    LayOutField(field, TemplateControlRect);
    CQuestionSet questions;
    questions.Add("question", "ANSWER");
    CQuizRunner runner;
    runner.SetField(&field);
    runner.SetQuestions(&questions);
    runner.Start();
    for (auto _ : state) {
        state.PauseTiming();
        // The question shows from the start of its pause.
        while (runner.GetStatusText().empty())
            std::this_thread::yield();
        state.ResumeTiming();
        runner.Start();
    }
    runner.StopAndJoin();
}
BENCHMARK(BM_RestartInQuestionPause)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
