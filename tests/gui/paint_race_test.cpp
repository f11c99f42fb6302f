#include "field/play_field.h"
#include "platform/random.h"
#include "window_layout.h"

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
    SetWindowLayout(field);
    field.SetTitle("title");
    field.CentreSnake();
    field.SetRunning(1);
    SeedRandom(11);

    std::atomic<bool> bDone{false};
    std::atomic<int> nEaten{0};
    std::atomic<int> nPaints{0};
    std::thread worker([&] {
        // Start once the window paints, so the two really overlap.
        while (nPaints.load() == 0)
            std::this_thread::yield();
        for (int round = 0; round < 100; ++round) {
            field.StartQuestion();
            field.PlaceTiles("ABCDEFGHIJKLMN");
            // Half the tiles in the snake's way, so that it eats while painted.
            for (int32_t i = 0; i < 7; ++i)
                field.GetTile(i)->SetPosition(Point{212 + 30 * i, 124});
            for (int step = 0; step < 25; ++step)
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
        field.Paint(dc, "status");
        ++nPaints;
    }
    worker.join();
    EXPECT_GT(nEaten.load(), 0);
    EXPECT_GT(nPaints.load(), 1);
    EXPECT_EQ(field.GetBufferBuilds(), 2);
}
