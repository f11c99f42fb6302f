#include "field/play_field.h"
#include "game/game_painter.h"
#include "game/window_layout.h"
#include "platform/random.h"
#include "render/image_buffers.h"
#include "render/painter.h"
#include "render/resources.h"
#include "run/quiz_runner.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void SetLayout(CPlayField& field)
{
    LayOutField(field, TemplateControlRect);
    field.SetTitle("\x82\xAD\x82\xCB\x82\xAD\x82\xCB\x82\xAD\x82\xCB");
}

void PaintLoop(benchmark::State& state, CPlayField& field, const std::string& strStatus)
{
    QImage window(363, 302, QImage::Format_RGB32);
    window.fill(Qt::gray);
    QPainter dc(&window);
    CQuizRunner runner;
    runner.SetStatusText(strStatus);
    CGamePainter painter(field, runner);
    CImageBuffers buffers;
    buffers.SetTarget(&dc);
    painter.Paint(buffers); // builds the buffers
    for (auto _ : state) {
        painter.Paint(buffers);
        benchmark::ClobberMemory();
    }
}

// 14 tiles and 14 body segments; first arg 0 with no status text (the snake
// moving), 1 with a question shown over them, 2 with one of 40 characters
// that takes two lines; second arg 1 for seven
// double-byte characters on the tiles and seven in the body, all halves.
void BM_PaintPlay(benchmark::State& state)
{
    CPlayField field;
    SetLayout(field);
    SeedRandom(5);
    const std::string strKanji = "\x93\xFA\x96\x7B\x8E\x52\x90\xEC\x8A\x43\x8B\xF3\x89\xD4"; // 日本山川海空花
    field.PlaceTiles(state.range(1) ? strKanji : "ABCDEFGHIJKLMN");
    CCharObject eaten;
    for (int i = 0; i < 14; ++i) {
        eaten.SetText(state.range(1) ? strKanji.substr(static_cast<size_t>(i), 1)
                                     : std::string(1, static_cast<char>('a' + i)));
        if (state.range(1))
            eaten.SetHalf(i % 2 ? CCharObject::RightHalf : CCharObject::LeftHalf,
                          strKanji.substr(static_cast<size_t>(i / 2 * 2), 2));
        field.GetSnake().AddSegment(eaten);
        field.GetSnake().GetSegment(i)->SetPosition(Point{40 + 20 * i, 220});
    }
    field.SetRunning(1);
    std::string strQuestion;
    if (state.range(0) == 1)
        strQuestion = "\x93\xFA\x96\x7B\x82\xCC\x8E\xF1\x93\x73\x82\xCD?";
    for (int i = 0; state.range(0) == 2 && i < 10; ++i)
        strQuestion += "\x93\xFA\x96\x7B\x82\xCC\x8E\x52"; // 日本の山
    PaintLoop(state, field, strQuestion);
}
BENCHMARK(BM_PaintPlay)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);

void BM_PaintMenu(benchmark::State& state)
{
    CPlayField field;
    SetLayout(field);
    field.UpdateHover(Point{130, 150});
    PaintLoop(state, field, "");
}
BENCHMARK(BM_PaintMenu)->Unit(benchmark::kMicrosecond);

// What drawing one tile costs, and how much of it is the font.
void BM_TileBoxAndLabel(benchmark::State& state)
{
    QImage img(100, 100, QImage::Format_RGB32);
    QPainter dc(&img);
    CPainter painter(dc);
    for (auto _ : state) {
        painter.DrawBox(Rect{10, 10, 40, 40}, 0xFAFAFA, 0xFAFAFA);
        painter.DrawLabel(Rect{10, 10, 40, 40}, "A", 200, 0x0000CC);
    }
}
BENCHMARK(BM_TileBoxAndLabel)->Unit(benchmark::kMicrosecond);

void BM_Ball(benchmark::State& state)
{
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter dc(&img);
    CPainter painter(dc);
    for (auto _ : state)
        painter.DrawBall(Rect{10, 10, 40, 40});
}
BENCHMARK(BM_Ball)->Unit(benchmark::kMicrosecond);

void BM_MakeLabelFont(benchmark::State& state)
{
    QImage img(100, 100, QImage::Format_RGB32);
    QPainter dc(&img);
    for (auto _ : state) {
        dc.setFont(CPainter::LabelFont(200));
        benchmark::DoNotOptimize(dc.fontMetrics().height());
    }
}
BENCHMARK(BM_MakeLabelFont)->Unit(benchmark::kMicrosecond);

// Decoding the two ball pictures, which the painter does once and keeps.
void BM_LoadBallImages(benchmark::State& state)
{
    InitWriggletResources();
    for (auto _ : state) {
        QImage ball(QStringLiteral(":/ball.png"));
        QImage mask(QStringLiteral(":/ball_mask.png"));
        benchmark::DoNotOptimize(ball.convertToFormat(QImage::Format_RGB32).bits());
        benchmark::DoNotOptimize(mask.convertToFormat(QImage::Format_RGB32).bits());
    }
}
BENCHMARK(BM_LoadBallImages)->Unit(benchmark::kMicrosecond);

} // namespace
