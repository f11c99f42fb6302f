#include "field/play_field.h"
#include "platform/random.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const Rect kArea{11, 11, 353, 238};

void BM_PlaceTiles(benchmark::State& state)
{
    const std::string strAnswer(static_cast<size_t>(state.range(0)), 'x');
    CPlayField field;
    field.SetArea(kArea);
    uint32_t seed = 1;
    for (auto _ : state) {
        SeedRandom(seed++);
        field.PlaceTiles(strAnswer);
        state.PauseTiming();
        field.RemoveAllTiles();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlaceTiles)->Arg(5)->Arg(14)->Arg(30)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);

// One step of a snake with 100 segments over a field of 100 tiles that it
// does not touch: the body walk and the eat test of every tile.
void BM_Step(benchmark::State& state)
{
    CPlayField field;
    field.SetArea(kArea);
    SeedRandom(7);
    field.PlaceTiles(std::string(100, 'x'));
    CSnake& snake = field.GetSnake();
    CCharObject segment;
    segment.SetText("y");
    for (int i = 0; i < 100; ++i)
        snake.AddSegment(segment);
    // Keep every tile away from the head's row so that none is eaten.
    for (int32_t i = 0; i < field.GetTileCount(); ++i)
        field.GetTile(i)->SetPosition(41 + (i * 7) % 280, 41);
    snake.SetPosition(182, 200);
    field.StartQuestion();
    snake.SetPosition(182, 200);
    for (auto _ : state) {
        field.Step();
        benchmark::DoNotOptimize(field.GetTileCount());
    }
    if (field.GetTileCount() != 100 || snake.GetSegmentCount() != 100)
        state.SkipWithError("the snake ate during the benchmark");
}
BENCHMARK(BM_Step);

} // namespace
