#include "game/game_controller.h"
#include "game/game_view.h"
#include "game/window_layout.h"
#include "game/window_template.h"
#include "platform/file_path.h"
#include "recording_target.h"
#include "sleep_swap.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kOneQuestion = "\x81\x69" "1\x96\xe2\x81\x6a"; // （1問）

// The controller in a window that only records what it is asked, with the
// timers in the test's hands; the game loop holds in every wait while
// m_bHold is set and feeds the snake the next tile at every step.
class ControllerTest : public ::testing::Test, public CGameView
{
protected:
    ControllerTest() { m_controller.Init(TemplateControlRect, TemplateClientSize()); }

    // A repaint over the background counts 100, one without it 1.
    void InvalidateRect(bool bErase) override { m_nRepaints += bErase ? 100 : 1; }
    bool EnableControl(int32_t nId, bool) override { return (m_nEnabled = nId) != 0; }
    void ShowError(const std::string& strText) override { m_errors.push_back(strText); }
    void ShowAbout() override {}
    void CloseWindow(int32_t) override {}
    void StartTimer(int32_t nId, int32_t nMs) override { m_strView += std::to_string(nId) + "/" + std::to_string(nMs) + " "; }
    void TakeFocus() override {}
    void SetFullScreen(bool bFull) override { m_strView += bFull ? "full " : "window "; }

    void OnSleep()
    {
        while (m_bHold && !Runner().IsStopRequested())
            std::this_thread::yield();
        m_field.CentreSnake();
        m_field.TurnRight();
        if (CCharObject* pTile = m_field.GetTile(0))
            pTile->SetPosition(Point{202, 124});
    }

    void Click(const Rect& rc) { m_controller.OnLeftButtonUp(Point{rc.left, rc.top}); }
    void Tick() { m_controller.OnTimer(CGameController::ControlsTimer); }
    CQuizRunner& Runner() { return m_controller.Runner(); }
    std::string FirstAnswer() { return m_controller.Questions().GetAt(0)->GetAnswer(); }
    // Whether the window shows the text.
    bool Shows(const std::string& strText)
    {
        CRecordingSurface surface;
        m_controller.Paint(surface);
        return surface.m_byText.count(strText) > 0;
    }
    // Ticks, or only waits, until done; guards against a hang only.
    void Until(const std::function<bool()>& done, bool bTick = true)
    {
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60); !done(); bTick ? Tick() : void())
            ASSERT_LT(std::chrono::steady_clock::now(), end) << "never got there";
    }

    std::atomic<bool> m_bHold{false};
    std::atomic<int32_t> m_nRepaints{0};
    std::atomic<int32_t> m_nEnabled{0};
    CSleepSwap m_sleep{[this](int32_t) { OnSleep(); }};
    std::vector<std::string> m_errors;
    std::string m_strView; // timers and screen modes asked for
    CTempDir m_dir;
    CGameController m_controller{*this};
    CPlayField& m_field = m_controller.Field();
};

// The window repaints over its background after a change of mode or size
// and without it otherwise; the controls' tick switches the controls
// registered with the run.
TEST_F(ControllerTest, EventsAskForTheRepaintsTheyNeedAndTheTickSwitchesControls)
{
    m_controller.OnMouseMove(Point{1, 1});
    m_controller.OnKeyUp(CGameController::EKey::Tab);
    EXPECT_EQ(m_nRepaints.exchange(0), 2);
    m_controller.OnCommand(IDC_STOP); // the hidden Stop button
    EXPECT_TRUE(Runner().IsStopRequested());
    m_field.SetRunning(1);
    Click(m_field.m_rcStop);
    m_controller.OnResize(Point{400, 400}, 96);
    EXPECT_EQ(m_nRepaints.load(), 200);
    CWindowScale scale;
    scale.Fit(Point{9, 9}, 96);
    EXPECT_EQ(scale.GetScale96(), 96) << "no canvas yet";
    // At 150 % the smallest window rounds up: the picture never shrinks.
    // Points left of the picture round down, away from it.
    scale.SetCanvas(Point{363, 301});
    EXPECT_EQ(scale.GetMinimumSize(144), (Point{545, 452}));
    scale.SetCanvas(Point{96, 96});
    scale.Fit(Point{97, 97}, 96);
    EXPECT_EQ(scale.ToCanvas(Point{-96, 0}).x, -96);
    m_controller.OnKeyUp(CGameController::EKey::FullScreen);
    m_controller.OnKeyUp(CGameController::EKey::FullScreen);
    EXPECT_EQ(m_strView, "0/200 1/2000 full window ");
    Runner().EnableWhileIdle(7);
    Tick();
    EXPECT_EQ(m_nEnabled.load(), 7);
}

// The menu tells what is loaded, or loading, or how to load.
//
// A file dropped during a quiz waits for its end. When the quiz ends by
// itself, its result shows until that file loads at the next tick. A Start
// right after Stop loads it first, still in menu mode: when it fails, the
// message stands over the menu and no quiz begins with the old questions.
//
// A file too large to load at once loads on a thread of its own while the
// window goes on: the newest file chosen wins, large or small, and Start
// plays it; Start waits for a large one, and a refused one starts nothing;
// closing the window gives a load in flight up.
TEST_F(ControllerTest, FilesLoadWhenNoQuizReadsTheQuestionsAndTheNewestWins)
{
    EXPECT_TRUE(Shows("\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0 Read \x82\xc5\x91\x49\x82\xf1\x82\xc5\x82\xad\x82\xbe\x82\xb3\x82\xa2"));
    m_controller.OpenFile(m_dir.Write("A,q\n"));
    m_bHold = true;
    Click(m_field.m_rcStart);
    m_controller.OpenFile(m_dir.Write("B,r\n"));
    m_bHold = false;
    Until([&] { return !Runner().IsActive(); }, false);
    EXPECT_EQ(Runner().GetResult().GetCorrectCount(), 1);
    Tick();
    EXPECT_TRUE(FirstAnswer() == "B" && Runner().GetResult().IsEmpty());
    EXPECT_TRUE(Shows("f1.csv" + kOneQuestion));
    // What the code page lacks shows as dots: Ã©tÃ©.csv.
    const std::string strOdd = PathToString(m_dir.Path()) + "/\xC3\xA9t\xC3\xA9.csv";
    std::ofstream(PathFromString(strOdd)) << "C,q\n";
    m_controller.OpenFile(strOdd);
    EXPECT_TRUE(Shows("\x81\x45t\x81\x45.csv" + kOneQuestion));

    m_bHold = true;
    Click(m_field.m_rcStart);
    m_controller.OpenFile(m_dir.Write("x") + ".gone");
    Click(m_field.m_rcStop);
    Click(m_field.m_rcStart);
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_NE(m_errors[0].find("見つかりません"), std::string::npos) << m_errors[0];
    EXPECT_FALSE(Runner().IsActive() || m_field.IsRunning());
    EXPECT_EQ(FirstAnswer(), "C");

    const std::string strFill(CGameController::kLoadAtOnceBytes, '\n');
    const std::string kLoading = "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x81\x63 "; // 読み込み中…
    m_controller.OpenFile(m_dir.Write("OLD,q\n" + strFill));
    m_controller.OpenFile(m_dir.Write("NEW,q\n" + strFill));
    EXPECT_TRUE(Shows(kLoading + "f4.csv"));
    Until([&] { return FirstAnswer() != "C"; });
    EXPECT_TRUE(FirstAnswer() == "NEW" && Shows("f4.csv" + kOneQuestion));
    m_controller.OpenFile(m_dir.Write("LATE,q\n" + strFill));
    m_controller.OpenFile(m_dir.Write("SMALL,q\n"));
    m_bHold = true;
    Click(m_field.m_rcStart);
    EXPECT_TRUE(Runner().IsActive()) << "Start waited for a load given up";
    // Another window in front pauses the run and shows the mark, without
    // the flicker of a repaint over the background (the run's first one may
    // still come).
    m_nRepaints = 0;
    m_controller.OnDeactivate();
    EXPECT_TRUE(Runner().IsPaused() && m_nRepaints % 100 == 1);
    Click(m_field.m_rcStop);

    m_controller.OpenFile(m_dir.Write(std::string(1001, 'X') + ",q\n" + strFill));
    Click(m_field.m_rcStart);
    Until([&] { return m_errors.size() > 1; });
    EXPECT_FALSE(Runner().IsActive() || m_field.IsRunning());
    m_controller.OpenFile(m_dir.Write("GONE,q\n" + strFill));
    Click(m_field.m_rcExit);
    Tick();
    EXPECT_EQ(FirstAnswer(), "SMALL");
    EXPECT_EQ(m_errors.size(), 2u);
}

} // namespace
