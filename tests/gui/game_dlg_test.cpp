#include "app/about_dlg.h"
#include "app/game_dlg.h"
#include "platform/file_chooser.h"
#include "platform/file_path.h"
#include "platform/random.h"
#include "sleep_swap.h"
#include "test_player.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

const std::string kCorrect = "\x90\xb3\x89\xf0:"; // 正解:

class FixedChooser : public CFileChooser
{
public:
    bool DoModal() override
    {
        ++m_nCalls;
        return m_bConfirm;
    }
    std::string GetPathName() const override { return m_strPath; }

    int m_nCalls = 0;
    bool m_bConfirm = true;
    std::string m_strPath;
};

// Processes window events until the condition holds; fails on a hang only.
void WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the window never got there";
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

QPoint Centre(const Rect& rc)
{
    return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

std::string WriteFile(const std::string& strName, const std::string& strContent)
{
    const std::string strPath = ::testing::TempDir() + strName;
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    std::fwrite(strContent.data(), 1, strContent.size(), pFile);
    std::fclose(pFile);
    return strPath;
}

// Counts the paints the window receives.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            ++m_nPaints;
        return false;
    }
    int m_nPaints = 0;
};

class GameDlgTest : public ::testing::Test
{
protected:
    GameDlgTest() : m_sleep([](int32_t) {})
    {
        m_dlg.SetFileChooser(&m_chooser);
        m_dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
    }

    void Release(const Rect& rc)
    {
        QTest::mouseRelease(&m_dlg, Qt::LeftButton, Qt::NoModifier, Centre(rc));
    }

    CSleepSwap m_sleep;
    FixedChooser m_chooser;
    CGameDlg m_dlg;
};

TEST_F(GameDlgTest, LayoutComesFromTheHiddenTemplateControls)
{
    EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Wrigglet"));
    EXPECT_EQ(m_dlg.size(), QSize(363, 302));
    EXPECT_FALSE(m_dlg.windowIcon().isNull());
    CPlayField& field = m_dlg.Field();
    const std::pair<int32_t, Rect> layout[] = {
        {CGameDlg::IDC_AREA, field.GetArea()},   {CGameDlg::IDC_TITLE, field.m_rcTitle},
        {CGameDlg::IDC_READ, field.m_rcRead},    {CGameDlg::IDC_START, field.m_rcStart},
        {CGameDlg::IDOK, field.m_rcExit},        {CGameDlg::IDC_STOP, field.m_rcStop},
    };
    const Rect expected[] = {{11, 11, 353, 238},   {27, 35, 332, 89},   {126, 107, 221, 139},
                             {126, 146, 221, 178}, {126, 185, 221, 217}, {258, 245, 353, 277}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(m_dlg.GetControlRect(layout[i].first), expected[i]) << layout[i].first;
        EXPECT_EQ(layout[i].second, expected[i]) << layout[i].first;
    }
    EXPECT_EQ(m_dlg.GetControlRect(4711), Rect{});
    EXPECT_EQ(field.GetTitle(), "\x82\xad\x82\xcb\x82\xad\x82\xcb\x82\xad\x82\xcb");
    EXPECT_EQ(field.GetSnake().GetPosition(), (Point{182, 124}));

    for (QWidget* pChild : m_dlg.findChildren<QWidget*>()) {
        EXPECT_FALSE(pChild->isVisible());
        EXPECT_FALSE(pChild->isEnabled());
    }
    EXPECT_FALSE(m_dlg.EnableControl(4711, true));
}

TEST_F(GameDlgTest, ButtonsActOnlyInTheirMode)
{
    CPlayField& field = m_dlg.Field();
    // Menu mode: Stop's place does nothing.
    Release(field.m_rcStop);
    EXPECT_EQ(field.IsRunning(), 0);
    EXPECT_FALSE(m_dlg.Runner().IsBusy());

    // Play mode: the menu buttons' places do nothing.
    field.SetRunning(1);
    Release(field.m_rcStart);
    Release(field.m_rcRead);
    Release(field.m_rcExit);
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_EQ(m_chooser.m_nCalls, 0);
    EXPECT_FALSE(m_dlg.Runner().IsBusy());
    // Only the left button counts.
    QTest::mouseRelease(&m_dlg, Qt::RightButton, Qt::NoModifier, Centre(field.m_rcStop));
    EXPECT_EQ(field.IsRunning(), 1);
    Release(field.m_rcStop);
    EXPECT_EQ(field.IsRunning(), 0);

    // Start with no questions: a run that empties the field and returns to
    // menu mode at once (it may be over before the click returns).
    field.PlaceTiles("X");
    Release(field.m_rcStart);
    WaitFor([&] { return !m_dlg.Runner().IsBusy(); });
    EXPECT_EQ(field.GetTileCount(), 0);
    EXPECT_EQ(field.IsRunning(), 0);
}

TEST_F(GameDlgTest, PressOnStartAndReleaseOnExitCloses)
{
    CPlayField& field = m_dlg.Field();
    QTest::mousePress(&m_dlg, Qt::LeftButton, Qt::NoModifier, Centre(field.m_rcStart));
    EXPECT_EQ(field.IsRunning(), 0) << "a press does nothing";
    Release(field.m_rcExit);
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(m_dlg.Runner().IsBusy());
}

TEST_F(GameDlgTest, ArrowsTurnOnReleaseOnly)
{
    CSnake& snake = m_dlg.Field().GetSnake();
    QTest::keyPress(&m_dlg, Qt::Key_Up);
    EXPECT_EQ(snake.GetDirection(), CSnake::Right);
    QTest::keyRelease(&m_dlg, Qt::Key_Up);
    EXPECT_EQ(snake.GetDirection(), CSnake::Up);

    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&m_dlg, &repeat);
    EXPECT_EQ(snake.GetDirection(), CSnake::Up) << "auto-repeat releases are ignored";

    QTest::keyRelease(&m_dlg, Qt::Key_Left);
    EXPECT_EQ(snake.GetDirection(), CSnake::Left);
    QTest::keyRelease(&m_dlg, Qt::Key_Down);
    QTest::keyRelease(&m_dlg, Qt::Key_Right);
    EXPECT_EQ(snake.GetDirection(), CSnake::Right) << "the last release counts";
    QTest::keyRelease(&m_dlg, Qt::Key_A);
    EXPECT_EQ(snake.GetDirection(), CSnake::Right);
}

TEST_F(GameDlgTest, MouseMovesSetHoverAndAlwaysRepaint)
{
    PaintCounter counter;
    m_dlg.installEventFilter(&counter);
    CPlayField& field = m_dlg.Field();

    QTest::mouseMove(&m_dlg, QPoint(5, 5));
    WaitFor([&] { return counter.m_nPaints > 0; });
    EXPECT_EQ(field.m_bHoverStart + field.m_bHoverRead + field.m_bHoverExit + field.m_bHoverStop, 0);

    counter.m_nPaints = 0;
    QTest::mouseMove(&m_dlg, QPoint(field.m_rcStart.left, field.m_rcStart.top));
    WaitFor([&] { return counter.m_nPaints > 0; });
    EXPECT_EQ(field.m_bHoverStart, 1);
    EXPECT_EQ(field.m_bHoverRead, 0);

    counter.m_nPaints = 0;
    QTest::mouseMove(&m_dlg, QPoint(field.m_rcStart.left + 1, field.m_rcStart.top));
    WaitFor([&] { return counter.m_nPaints > 0; }); // no flag changed, still a paint
    QTest::mouseMove(&m_dlg, QPoint(field.m_rcStart.right, field.m_rcStart.top));
    EXPECT_EQ(field.m_bHoverStart, 0);
    m_dlg.removeEventFilter(&counter);
}

TEST_F(GameDlgTest, ReadLoadsTheChosenFileAndCancelKeepsIt)
{
    m_chooser.m_strPath = WriteFile("dlg_read.csv", "CAT,q1\nDOG,q2\n");
    Release(m_dlg.Field().m_rcRead);
    EXPECT_EQ(m_chooser.m_nCalls, 1);
    ASSERT_EQ(m_dlg.Questions().GetCount(), 5);
    EXPECT_EQ(m_dlg.Questions().GetAt(1)->GetAnswer(), "DOG");

    m_chooser.m_bConfirm = false;
    m_dlg.OnReadButton();
    EXPECT_EQ(m_chooser.m_nCalls, 2);
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "CAT");
}

TEST_F(GameDlgTest, AReadErrorIsReportedAndKeepsTheQuestions)
{
    m_chooser.m_strPath = WriteFile("dlg_before_error.csv", "CAT,q1\n");
    m_dlg.OnReadButton();
    ASSERT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "CAT");

    int nOsError = 0;
    m_chooser.m_strPath = UnreadableFilePath(nOsError);
    ASSERT_FALSE(m_chooser.m_strPath.empty());
    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = pBox->text();
            pBox->accept();
        }
    });
    m_dlg.OnReadButton();
    EXPECT_TRUE(message.startsWith(QStringLiteral("問題ファイルを読み込めませんでした。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromStdString(m_chooser.m_strPath)));
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "CAT");
}

TEST_F(GameDlgTest, AboutBoxOpensForCommandsSixteenToThirtyOne)
{
    int nOpened = 0;
    auto closeAbout = [&nOpened] {
        QTimer::singleShot(0, [&nOpened] {
            if (auto* pAbout = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
                ++nOpened;
                pAbout->accept();
            }
        });
    };
    closeAbout();
    m_dlg.OnSysCommand(16);
    closeAbout();
    m_dlg.OnSysCommand(31);
    EXPECT_EQ(nOpened, 2);
    m_dlg.OnSysCommand(32);
    m_dlg.OnSysCommand(0xF060);
    QApplication::processEvents();
    EXPECT_EQ(nOpened, 2);
}

// The worker holds in its first question pause until released, so the test
// can act while a stopped run is still ending.
class WindDownTest : public GameDlgTest
{
protected:
    WindDownTest()
    {
        SetSleepFunction([this](int32_t ms) {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (ms == 1000)
                m_pauses.push_back(m_dlg.Runner().GetStatusText());
            if (ms == 1000 && !m_bHeldOnce) {
                m_bHeldOnce = m_bHeld = true;
                m_cv.notify_all();
                m_cv.wait(lock, [this] { return m_bRelease; });
                m_bHeld = false;
            }
        });
        m_chooser.m_strPath = WriteFile("wind_down_1.csv", "AAA,first\n");
        m_dlg.OnReadButton();
        Release(m_dlg.Field().m_rcStart);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_bHeld; });
    }

    void ReleaseWorker()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bRelease = true;
        }
        m_cv.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bHeld = false;
    bool m_bHeldOnce = false;
    bool m_bRelease = false;
    std::vector<std::string> m_pauses; // status texts of the long pauses
};

TEST_F(WindDownTest, ReadAndStartWaitForTheStoppedRunWithoutBlockingTheWindow)
{
    CPlayField& field = m_dlg.Field();
    Release(field.m_rcStop);
    EXPECT_EQ(field.IsRunning(), 0);
    EXPECT_TRUE(m_dlg.Runner().IsBusy());

    // Read: the file is chosen now, but the set the worker reads stays.
    m_chooser.m_strPath = WriteFile("wind_down_2.csv", "BBB,second\n");
    Release(field.m_rcRead);
    EXPECT_EQ(m_chooser.m_nCalls, 2);
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "AAA");
    // Start: play mode at once, the run itself after the load.
    Release(field.m_rcStart);
    EXPECT_EQ(field.IsRunning(), 1);

    ReleaseWorker();
    WaitFor([&] { return m_dlg.Questions().GetAt(0)->GetAnswer() == "BBB"; });
    // The new run plays the new file.
    WaitFor([&] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return !m_pauses.empty() && m_pauses.back() == "second";
    });
    EXPECT_EQ(m_pauses.front(), "first");
    m_dlg.Runner().RequestStop();
    WaitFor([&] { return !m_dlg.Runner().IsBusy(); });
}

TEST_F(WindDownTest, ExitHidesAtOnceWhileTheRunEnds)
{
    Release(m_dlg.Field().m_rcStop);
    Release(m_dlg.Field().m_rcExit);
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_TRUE(m_dlg.Runner().IsBusy()) << "the window did not wait for the worker";
    ReleaseWorker();
    WaitFor([&] { return !m_dlg.Runner().IsBusy(); });
}

// A whole quiz through the window: the test player reads the field between
// steps and steers with key releases only; the worker waits for it.
TEST_F(GameDlgTest, PlayerWinsASampleQuizWithKeyReleasesOnly)
{
    std::mutex mutex;
    std::condition_variable cv;
    bool bPending = false;
    int32_t nSleepMs = 0;
    SetSleepFunction([&](int32_t ms) {
        std::unique_lock<std::mutex> lock(mutex);
        bPending = true;
        nSleepMs = ms;
        cv.notify_all();
        cv.wait(lock, [&] { return !bPending; });
    });

    m_chooser.m_strPath = std::string(WRIGGLET_SAMPLES_DIR) + "/fruits_english.csv";
    m_dlg.OnReadButton();
    ASSERT_EQ(m_dlg.Questions().GetCount(), 5);
    CPlayField& field = m_dlg.Field();
    SeedRandom(5); // a fixed layout, so the run is the same every time
    Release(field.m_rcStart);

    std::vector<std::string> verdicts;
    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left};
    WaitFor([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (bPending) {
            const std::string strStatus = m_dlg.Runner().GetStatusText();
            if (nSleepMs == 1000 && strStatus.find(':') != std::string::npos) {
                m_dlg.repaint();
                verdicts.push_back(m_dlg.LastPaintedStatus());
            } else if (nSleepMs != 1000 && field.GetTileCount() > 0) {
                // Between steps the question in play is the one last taken.
                const CQuestion* pQuestion =
                    m_dlg.Questions().GetAt(m_dlg.Runner().GetProgress() - 1);
                const std::string strWanted = pQuestion->GetAnswer().substr(
                    static_cast<size_t>(field.GetSnake().GetSegmentCount()));
                const int32_t nDirection = CTestPlayer::NextDirection(field, strWanted);
                if (nDirection >= 0 && nDirection != field.GetSnake().GetDirection())
                    QTest::keyRelease(&m_dlg, keys[nDirection]);
            }
            bPending = false;
            cv.notify_all();
        }
        return !m_dlg.Runner().IsBusy();
    });

    std::vector<std::string> expected;
    for (const char* pszAnswer : {"APPLE", "LEMON", "PEACH", "GRAPE", "MELON"})
        expected.push_back(kCorrect + pszAnswer);
    EXPECT_EQ(verdicts, expected);
    EXPECT_EQ(field.IsRunning(), 0);
    m_dlg.repaint();
    EXPECT_EQ(field.GetTileCount(), 0);
}

} // namespace
