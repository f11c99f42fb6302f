#include "rect_compare.h"
#include "game/game_controller.h"
#include "game/game_view.h"
#include "game/window_layout.h"
#include "recording_target.h"
#include "sleep_swap.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// The controller in a window that only records what it is asked, with the
// timers in the test's hands; the game loop holds in every wait while
// m_bHold is set and feeds the snake the next tile at every step.
class ControllerTest : public ::testing::Test, public CGameView
{
protected:
    ControllerTest() { m_controller.Init(TemplateControlRect, TemplateClientSize()); }

    void InvalidateRect(bool bErase) override { m_nErase = bErase; }
    bool EnableControl(int32_t nId, bool) override
    {
        m_nEnabled = nId;
        return true;
    }
    void ShowError(const std::string& strText) override { m_errors.push_back(strText); }
    void ShowAbout() override {}
    void CloseWindow(int32_t) override {}
    void StartTimer(int32_t, int32_t) override {}
    void TakeFocus() override {}
    void SetFullScreen(bool) override {}

    void OnSleep()
    {
        while (m_bHold && !Runner().IsStopRequested())
            std::this_thread::yield();
        CPlayField& field = m_controller.Field();
        field.CentreSnake();
        field.TurnRight();
        if (CCharObject* pTile = field.GetTile(0))
            pTile->SetPosition(Point{202, 124});
    }

    void Click(const Rect& rc) { m_controller.OnLeftButtonUp(Point{rc.left, rc.top}); }
    CQuizRunner& Runner() { return m_controller.Runner(); }
    std::string FirstAnswer() { return m_controller.Questions().GetAt(0)->GetAnswer(); }
    // The text the window shows in the rectangle.
    std::string Shown(const Rect& rc)
    {
        CRecordingSurface surface;
        m_controller.Paint(surface);
        std::string strShown;
        for (const auto& [strText, label] : surface.m_byText) {
            Rect overlap;
            strShown += IntersectRect(overlap, label.first, rc) ? strText : "";
        }
        return strShown;
    }
    void WaitIdle()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Runner().IsActive())
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the quiz never ended";
    }

    std::atomic<bool> m_bHold{false};
    std::atomic<int32_t> m_nErase{-1};
    std::atomic<int32_t> m_nEnabled{0};
    CSleepSwap m_sleep{[this](int32_t) { OnSleep(); }};
    std::vector<std::string> m_errors;
    CTempDir m_dir;
    CGameController m_controller{*this};
    CPlayField& m_field = m_controller.Field();
};

// The window repaints over its background after a change of mode or size
// and without it otherwise; the controls' tick switches the controls
// registered with the run.
TEST_F(ControllerTest, EventsAskForTheRepaintsTheyNeedAndTheTickSwitchesControls)
{
    const std::pair<std::function<void()>, int32_t> events[] = {
        {[&] { m_controller.OnMouseMove(Point{1, 1}); }, 0},
        {[&] { m_controller.OnKeyUp(CGameController::EKey::Left); }, 0},
        {[&] { m_controller.OnKeyUp(CGameController::EKey::Tab); }, 0},
        {[&] {
             m_field.SetRunning(1);
             Click(m_field.m_rcStop);
         }, 1},
        {[&] { m_controller.OnResize(Point{400, 400}, 96); }, 1}};
    for (const auto& [event, bErase] : events) {
        m_nErase = -1;
        event();
        EXPECT_EQ(m_nErase.load(), bErase);
    }
    CWindowScale unset;
    unset.Fit(Point{9, 9}, 96);
    EXPECT_EQ(unset.GetScale96(), 96) << "no canvas yet";
    Runner().EnableWhileIdle(7);
    m_controller.OnTimer(CGameController::ControlsTimer);
    EXPECT_EQ(m_nEnabled.load(), 7);
}

// A file dropped during a quiz waits for its end. A Start right after Stop
// loads it first, still in menu mode: when it fails, the message stands over
// the menu and no quiz begins with the old questions.
TEST_F(ControllerTest, StartLoadsAFileDroppedInPlayBeforeThePlay)
{
    m_controller.OpenFile(m_dir.Write("A,q\n"));
    m_bHold = true;
    Click(m_field.m_rcStart);
    m_controller.OpenFile(m_dir.Write("x") + ".gone");
    EXPECT_EQ(FirstAnswer(), "A");
    Click(m_field.m_rcStop);
    Click(m_field.m_rcStart);
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_NE(m_errors[0].find("見つかりません"), std::string::npos) << m_errors[0];
    EXPECT_EQ(m_field.IsRunning(), 0);
    m_bHold = false;
    WaitIdle();
    EXPECT_EQ(FirstAnswer(), "A");
}

// The result of a quiz that ends with a dropped file waiting goes when that
// file loads, not before. The menu tells what is loaded, or how to load.
TEST_F(ControllerTest, TheResultGoesWhenTheDroppedFileLoads)
{
    EXPECT_EQ(Shown(CGamePainter(m_field, Runner()).GetLoadedFileRect()), "\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0 Read \x82\xc5\x91\x49\x82\xf1\x82\xc5\x82\xad\x82\xbe\x82\xb3\x82\xa2");
    m_controller.OpenFile(m_dir.Write("A,q\n"));
    m_bHold = true;
    Click(m_field.m_rcStart);
    m_controller.OpenFile(m_dir.Write("B,r\n"));
    m_bHold = false;
    WaitIdle();
    EXPECT_EQ(Runner().GetResult().GetCorrectCount(), 1);
    m_controller.OnTimer(CGameController::ControlsTimer);
    EXPECT_EQ(FirstAnswer(), "B");
    EXPECT_TRUE(Runner().GetResult().IsEmpty());
    EXPECT_EQ(Shown(CGamePainter(m_field, Runner()).GetLoadedFileRect()), "f1.csv\x81\x69" "1\x96\xe2\x81\x6a"); // f1.csv（1問）
}

// A file too large to load at once loads on a thread of its own while the
// window goes on: the newest file chosen wins, large or small, Start plays
// once it has loaded, the menu names it (and the one loading), and closing
// the window gives a load in flight up.
TEST_F(ControllerTest, LargeFilesLoadBesideTheWindowAndTheNewestWins)
{
    const std::string strFill(CGameController::kLoadAtOnceBytes, '\n');
    const auto play = [&](const std::string& strFirst, const std::string& strLast) {
        m_controller.OpenFile(m_dir.Write(strFirst + ",q\n" + strFill));
        m_controller.OpenFile(m_dir.Write(strLast));
        m_bHold = true;
        Click(m_field.m_rcStart);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!Runner().IsActive()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the quiz never started";
            m_controller.OnTimer(CGameController::ControlsTimer);
        }
        EXPECT_EQ(FirstAnswer(), strLast.substr(0, strLast.find(','))) << strLast.substr(0, 9);
        m_bHold = false;
        WaitIdle();
    };
    play("OLD", "NEW,q\n" + strFill);
    EXPECT_EQ(Shown(CGamePainter(m_field, Runner()).GetLoadedFileRect()), "f1.csv\x81\x69" "1\x96\xe2\x81\x6a");
    play("LATE", "SMALL,q\n");
    // A large file refused: Start waited for it, and plays nothing.
    m_controller.OpenFile(m_dir.Write(std::string(1001, 'X') + ",q\n" + strFill));
    Click(m_field.m_rcStart);
    while (m_errors.empty())
        m_controller.OnTimer(CGameController::ControlsTimer);
    EXPECT_FALSE(Runner().IsActive() || m_field.IsRunning());
    m_controller.OpenFile(m_dir.Write("GONE,q\n" + strFill));
    const std::string kLoading = "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x81\x63 "; // 読み込み中…
    EXPECT_EQ(Shown(CGamePainter(m_field, Runner()).GetLoadedFileRect()), kLoading + "f5.csv");
    Click(m_field.m_rcExit);
    m_controller.OnTimer(CGameController::ControlsTimer);
    EXPECT_EQ(FirstAnswer(), "SMALL");
    EXPECT_EQ(m_errors.size(), 1u);
}

} // namespace
