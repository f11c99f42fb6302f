#include "app/game_dlg.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace {

// What the window costs before the player sees it: building it with its
// field, questions and run controller, showing it and painting it once.
void BM_OpenWindow(benchmark::State& state)
{
    for (auto _ : state) {
        CGameDlg dlg;
        dlg.show();
        QPixmap frame = dlg.grab(); // a full paintEvent into a pixmap
        benchmark::DoNotOptimize(frame.cacheKey());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);

// A repaint of the window once it is open: the field's buffers exist.
void BM_RepaintWindow(benchmark::State& state)
{
    CGameDlg dlg;
    dlg.show();
    QPixmap frame = dlg.grab();
    for (auto _ : state) {
        dlg.render(&frame);
        benchmark::DoNotOptimize(frame.cacheKey());
    }
}
BENCHMARK(BM_RepaintWindow)->Unit(benchmark::kMicrosecond);

} // namespace
