#include "field/play_field.h"
#include "game/game_painter.h"
#include "game/window_layout.h"
#include "platform/random.h"
#include "render/image_buffers.h"
#include "run/quiz_runner.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The game loop steps, eats and clears the field while the window paints it.
// Run under ThreadSanitizer this must stay silent; anywhere it must not crash.
TEST(PaintRaceTest, PaintingWhileTheGameLoopEatsAndClears)
{
    CPlayField field;
    LayOutField(field, TemplateControlRect);
    field.SetTitle("title");
    field.CentreSnake();
    field.SetRunning(1);
    SeedRandom(11);
    CQuizRunner runner;
    runner.SetStatusText("status");
    CGamePainter painter(field, runner);
    painter.SetClientSize(TemplateClientSize());
    CImageBuffers buffers;

    std::atomic<bool> bDone{false};
    std::atomic<int> nEaten{0};
    std::atomic<int> nPaints{0};
    std::thread worker([&] {
        for (int round = 0; round < 100; ++round) {
            // A round goes on stepping until a whole paint has fallen inside
            // it, so that the two threads overlap however loaded the machine.
            const int nBefore = nPaints.load();
            field.StartQuestion();
            field.PlaceTiles("ABCDEFGHIJKLMN");
            // Half the tiles in the snake's way, so that it eats while painted.
            for (int32_t i = 0; i < 7; ++i)
                field.GetTile(i)->SetPosition(Point{212 + 30 * i, 124});
            for (int step = 0; step < 25 || nPaints.load() < nBefore + 2; ++step)
                field.Step();
            nEaten += field.GetSnake().GetSegmentCount();
            field.RemoveAllTiles();
            field.GetSnake().RemoveAllSegments();
            field.SetRunning(round % 2);
        }
        bDone = true;
    });

    QImage window(363, 302, QImage::Format_RGB32);
    while (!bDone) {
        QPainter dc(&window);
        buffers.SetTarget(&dc);
        painter.Paint(buffers);
        buffers.SetTarget(nullptr);
        ++nPaints;
    }
    worker.join();
    EXPECT_GE(nEaten.load(), 7 * 100);
    EXPECT_EQ(buffers.GetBuilds(), 2);
}
