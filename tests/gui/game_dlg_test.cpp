#include "app/about_dlg.h"
#include "app/game_dlg.h"
#include "game/control_ids.h"
#include "fixed_chooser.h"
#include "platform/file_path.h"
#include "platform/path_text.h"
#include "platform/random.h"
#include "sleep_swap.h"
#include "temp_dir.h"
#include "test_player.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string kCorrect = "\x90\xb3\x89\xf0:"; // 正解:

// Processes window events until the condition holds; fails on a hang only.
void WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the window never got there";
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Once the next modal dialog of type T is up, hands it to fn and accepts it.
template <class T, class F>
void AcceptNextModal(F fn)
{
    QTimer::singleShot(0, [fn] {
        if (auto* pDialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            fn(pDialog);
            pDialog->accept();
        }
    });
}

QPoint Centre(const Rect& rc)
{
    return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// Counts the paints the window receives.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        m_nPaints += pEvent->type() == QEvent::Paint;
        return false;
    }
    int m_nPaints = 0;
};

class GameDlgTest : public ::testing::Test
{
protected:
    GameDlgTest()
    {
        m_dlg.SetFileChooser(&m_chooser);
        m_dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
    }

    void Release(const Rect& rc) { QTest::mouseRelease(&m_dlg, Qt::LeftButton, Qt::NoModifier, Centre(rc)); }

    // Drags the address over the window and drops it there; whether the
    // window took it.
    bool Drop(const QUrl& url)
    {
        QMimeData data;
        data.setUrls({url});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&m_dlg, &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted())
            QApplication::sendEvent(&m_dlg, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    CSleepSwap m_sleep{[](int32_t) {}};
    CTempDir m_dir;
    CFixedChooser m_chooser;
    CGameDlg m_dlg;
    CPlayField& m_field = m_dlg.Field();
};

TEST_F(GameDlgTest, LayoutComesFromTheHiddenTemplateControls)
{
    EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Wrigglet"));
    EXPECT_EQ(m_dlg.size(), QSize(363, 302));
    EXPECT_FALSE(m_dlg.windowIcon().isNull());
    const std::tuple<int32_t, Rect, Rect> layout[] = {
        {IDC_AREA, m_field.GetArea(), {11, 11, 353, 238}},
        {IDC_TITLE, m_field.m_rcTitle, {27, 35, 332, 89}},
        {IDC_READ, m_field.m_rcRead, {126, 107, 221, 139}},
        {IDC_START, m_field.m_rcStart, {126, 146, 221, 178}},
        {IDOK, m_field.m_rcExit, {126, 185, 221, 217}},
        {IDC_STOP, m_field.m_rcStop, {258, 245, 353, 277}}};
    for (const auto& [nId, rcField, rcExpected] : layout) {
        EXPECT_EQ(m_dlg.GetControlRect(nId), rcExpected) << nId;
        EXPECT_EQ(rcField, rcExpected) << nId;
    }
    EXPECT_EQ(m_dlg.GetControlRect(4711), Rect{});
    EXPECT_FALSE(m_dlg.EnableControl(4711, true));
    EXPECT_EQ(m_field.GetTitle(), "\x82\xad\x82\xcb\x82\xad\x82\xcb\x82\xad\x82\xcb");
    EXPECT_EQ(m_field.GetSnake().GetPosition(), (Point{182, 124}));
    for (QWidget* pChild : m_dlg.findChildren<QWidget*>())
        EXPECT_FALSE(pChild->isVisible() || pChild->isEnabled());
}

TEST_F(GameDlgTest, ButtonsActOnlyInTheirMode)
{
    // Menu mode: Stop's place does nothing.
    Release(m_field.m_rcStop);
    EXPECT_EQ(m_field.IsRunning(), 0);
    EXPECT_FALSE(m_dlg.Runner().IsActive());

    // Play mode: the menu buttons' places and the right button do nothing.
    m_field.SetRunning(1);
    for (const Rect& rc : {m_field.m_rcStart, m_field.m_rcRead, m_field.m_rcExit})
        Release(rc);
    QTest::mouseRelease(&m_dlg, Qt::RightButton, Qt::NoModifier, Centre(m_field.m_rcStop));
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_EQ(m_chooser.m_nShown, 0);
    EXPECT_FALSE(m_dlg.Runner().IsActive());
    EXPECT_EQ(m_field.IsRunning(), 1);
    Release(m_field.m_rcStop);
    EXPECT_EQ(m_field.IsRunning(), 0);

    // Start with no questions: a run that empties the field and returns to
    // menu mode at once (it may be over before the click returns).
    m_field.PlaceTiles("X");
    Release(m_field.m_rcStart);
    WaitFor([&] { return !m_dlg.Runner().IsActive(); });
    EXPECT_EQ(m_field.GetTileCount(), 0);
    EXPECT_EQ(m_field.IsRunning(), 0);
}

TEST_F(GameDlgTest, PressOnStartAndReleaseOnExitCloses)
{
    QTest::mousePress(&m_dlg, Qt::LeftButton, Qt::NoModifier, Centre(m_field.m_rcStart));
    EXPECT_EQ(m_field.IsRunning(), 0) << "a press does nothing";
    Release(m_field.m_rcExit);
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(m_dlg.Runner().IsActive());
}

TEST_F(GameDlgTest, ArrowsTurnOnReleaseOnly)
{
    CSnake& snake = m_field.GetSnake();
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
    QTest::keyRelease(&m_dlg, Qt::Key_A);
    EXPECT_EQ(snake.GetDirection(), CSnake::Right) << "the last arrow's release counts";
    QTest::keyRelease(&m_dlg, Qt::Key_P);
    EXPECT_FALSE(m_field.IsPaused()) << "menu mode has nothing to pause";
}

TEST_F(GameDlgTest, MouseMovesSetHoverAndAlwaysRepaint)
{
    PaintCounter counter;
    m_dlg.installEventFilter(&counter);
    // Outside every button, onto Start, and within Start (no flag changes,
    // still a paint).
    const Rect& rc = m_field.m_rcStart;
    for (QPoint pt : {QPoint(5, 5), QPoint(rc.left, rc.top), QPoint(rc.left + 1, rc.top)}) {
        counter.m_nPaints = 0;
        QTest::mouseMove(&m_dlg, pt);
        WaitFor([&] { return counter.m_nPaints > 0; });
        EXPECT_EQ(m_field.m_bHoverStart, pt.x() == 5 ? 0 : 1);
        EXPECT_EQ(m_field.m_bHoverRead + m_field.m_bHoverExit + m_field.m_bHoverStop, 0);
    }
    QTest::mouseMove(&m_dlg, QPoint(rc.right, rc.top));
    EXPECT_EQ(m_field.m_bHoverStart, 0);
    m_dlg.removeEventFilter(&counter);
}

TEST_F(GameDlgTest, ReadAFileArgumentAndADropLoadAlikeAndFailuresAreToldAndKeepTheQuestions)
{
    m_chooser.m_strPath = m_dir.Write("CAT,q1\nDOG,q2\n");
    Release(m_field.m_rcRead);
    EXPECT_EQ(m_chooser.m_nShown, 1);
    ASSERT_EQ(m_dlg.Questions().GetCount(), 5);
    EXPECT_EQ(m_dlg.Questions().GetAt(1)->GetAnswer(), "DOG");

    m_chooser.m_bConfirm = false;
    m_dlg.OnReadButton();
    EXPECT_EQ(m_chooser.m_nShown, 2);
    EXPECT_EQ(m_dlg.Questions().GetAt(1)->GetAnswer(), "DOG");

    // Every failure is told in a message box: read error, no file there (any
    // more), a file in the way of a folder, no regular file, too long. A file
    // named on the command line or dropped on the window loads as Read does.
    int nOsError = 0;
    const std::string strUnreadable = UnreadableFilePath(nOsError);
    ASSERT_FALSE(strUnreadable.empty());
    const std::string strFile = m_dir.Write("x");
    const std::pair<std::string, std::string> failures[] = {
        {strUnreadable, strUnreadable + "\n" + std::generic_category().message(nOsError)},
        {strFile + ".gone", "見つかりません"},
        {strFile + "/q.csv", "開けません: " + std::generic_category().message(ENOTDIR)},
        {m_dir.Path().string(), "通常のファイルではありません"},
        {m_dir.Write("A,Q\n\n" + std::string(1001, 'x') + ",q"), "3行目: 答えが長すぎます（1001 バイト"},
        {m_dir.Write("EMU,q\n"), ""}};
    const std::function<void(const std::string&)> ways[] = {
        [this](const std::string& p) {
            m_chooser.m_strPath = p;
            m_dlg.OnReadButton();
        },
        [this](const std::string& p) { m_dlg.OpenCommandLine({"wrigglet", PathToText(p)}); },
        [this](const std::string& p) { EXPECT_TRUE(Drop(QUrl::fromLocalFile(PathToText(p)))); },
    };
    m_chooser.m_bConfirm = true;
    for (int nWay = 0; nWay < 3; ++nWay) {
        for (const auto& [strPath, strReason] : failures) {
            m_dlg.Questions().RemoveAll();
            m_dlg.Questions().Add("q1", "CAT");
            m_dlg.Questions().Add("q2", "DOG");
            QString message;
            AcceptNextModal<QMessageBox>([&message](QMessageBox* pBox) { message = pBox->text(); });
            ways[nWay](strPath);
            QApplication::processEvents();
            if (strReason.empty()) {
                EXPECT_TRUE(message.isEmpty()) << nWay << message.toStdString();
                EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "EMU") << nWay;
                continue;
            }
            EXPECT_TRUE(message.startsWith(QStringLiteral("問題ファイルを読み込めませんでした。")) &&
                        message.contains(QString::fromStdString(strReason)))
                << nWay << " " << message.toStdString();
            EXPECT_EQ(m_dlg.Questions().GetAt(1)->GetAnswer(), "DOG") << nWay;
        }
    }
    // No file argument, or a dragged web address, changes nothing.
    m_dlg.OpenCommandLine({"wrigglet"});
    EXPECT_FALSE(Drop(QUrl(QStringLiteral("https://example.invalid/q.csv"))));
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "EMU");
    EXPECT_EQ(m_chooser.m_nShown, 8);
}

TEST_F(GameDlgTest, AboutBoxOpensForCommandsSixteenToThirtyOne)
{
    int nOpened = 0;
    for (uint32_t nId : {16u, 31u, 32u, 0xF060u}) {
        AcceptNextModal<CAboutDlg>([&nOpened](CAboutDlg*) { ++nOpened; });
        m_dlg.OnSysCommand(nId);
        QApplication::processEvents();
    }
    EXPECT_EQ(nOpened, 2);
}

// The worker holds in every question pause until a stop is requested.
class WindDownTest : public GameDlgTest
{
protected:
    WindDownTest()
    {
        SetSleepFunction([this](int32_t ms) {
            if (ms != 1000)
                return;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_pauses.push_back(m_dlg.Runner().GetStatusText());
            }
            while (!m_dlg.Runner().IsStopRequested())
                std::this_thread::yield();
        });
        m_chooser.m_strPath = m_dir.Write("AAA,first\n");
        m_dlg.OnReadButton();
        Release(m_field.m_rcStart);
        WaitForPause("first");
    }

    void WaitForPause(const std::string& strStatus)
    {
        WaitFor([&] {
            std::lock_guard<std::mutex> lock(m_mutex);
            return !m_pauses.empty() && m_pauses.back() == strStatus;
        });
    }

    std::mutex m_mutex;
    std::vector<std::string> m_pauses; // status texts of the long pauses
};

TEST_F(WindDownTest, ReadAndStartRightAfterStopActAtOnce)
{
    Release(m_field.m_rcStop);
    EXPECT_EQ(m_field.IsRunning(), 0);
    // Read: the stopped run ends first, then the file loads.
    m_chooser.m_strPath = m_dir.Write("BBB,second\n");
    Release(m_field.m_rcRead);
    EXPECT_EQ(m_chooser.m_nShown, 2);
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "BBB");
    // Start: a new run of the new file.
    Release(m_field.m_rcStart);
    EXPECT_EQ(m_field.IsRunning(), 1);
    WaitForPause("second");
    EXPECT_EQ(m_pauses.front(), "first");
}

TEST_F(WindDownTest, ADropInPlayLoadsOnceTheQuizIsOver)
{
    EXPECT_TRUE(Drop(QUrl::fromLocalFile(PathToText(m_dir.Write("BBB,second\n")))));
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "AAA") << "the quiz reads its questions";
    Release(m_field.m_rcStop);
    WaitFor([&] { return m_dlg.Questions().GetAt(0)->GetAnswer() == "BBB"; });
    EXPECT_EQ(m_field.IsRunning(), 0);
}

TEST_F(WindDownTest, ClosingHidesAtOnceAndEndsTheRun)
{
    m_dlg.reject();
    EXPECT_FALSE(m_dlg.isVisible());
    WaitFor([&] { return !m_dlg.Runner().IsActive(); });
}

// A whole quiz through the window: the test player reads the field between
// steps and steers with key releases only; the worker waits for it.
TEST_F(GameDlgTest, PlayerWinsTheUtf8KanjiSampleWithKeyReleasesOnly)
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

    m_chooser.m_strPath = std::string(WRIGGLET_SAMPLES_DIR) + "/kanji_utf8.csv";
    m_dlg.OnReadButton();
    ASSERT_EQ(m_dlg.Questions().GetCount(), 5);
    SeedRandom(5); // a fixed layout, so the run is the same every time
    Release(m_field.m_rcStart);

    std::vector<std::string> verdicts;
    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left};
    bool bPaused = false;
    bool bHeld = false;
    WaitFor([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (bPending) {
            const std::string strStatus = m_dlg.Runner().GetStatusText();
            if (nSleepMs == 1000 && strStatus.find(':') != std::string::npos) {
                m_dlg.repaint();
                const std::string strQuestion = std::to_string(m_field.GetQuestion());
                verdicts.push_back(strQuestion + " " + m_dlg.LastPaintedStatus());
            } else if (nSleepMs != 1000 && m_field.GetTileCount() > 0) {
                // Between steps the question in play is the one last taken.
                const CQuestion* pQuestion = m_dlg.Questions().GetAt(m_dlg.Runner().GetProgress() - 1);
                const size_t nEaten = static_cast<size_t>(m_field.GetSnake().GetSegmentCount());
                const std::string strWanted = pQuestion->GetAnswer().substr(nEaten);
                const int32_t nDirection = CTestPlayer::NextDirection(m_field, strWanted);
                if (nDirection >= 0 && nDirection != m_field.GetSnake().GetDirection())
                    QTest::keyRelease(&m_dlg, keys[nDirection]);
                // Mid-quiz, P pauses: the step delay runs out, and then all holds.
                if (!bPaused && m_dlg.Runner().GetProgress() == 3 && nEaten == 2) {
                    QTest::keyRelease(&m_dlg, Qt::Key_P);
                    bPaused = bHeld = true;
                }
            }
            bPending = false;
            cv.notify_all();
        }
        lock.unlock();
        if (bHeld) {
            const Point head = m_field.GetSnake().GetPosition();
            const int32_t nTiles = m_field.GetTileCount();
            QTest::qWait(50); // time to move, were it free
            EXPECT_EQ(m_field.GetSnake().GetPosition(), head);
            EXPECT_EQ(m_field.GetTileCount(), nTiles);
            EXPECT_TRUE(m_field.IsPaused());
            lock.lock();
            EXPECT_FALSE(bPending) << "the game loop went on while paused";
            lock.unlock();
            QTest::keyRelease(&m_dlg, Qt::Key_Space);
            EXPECT_FALSE(m_field.IsPaused());
            bHeld = false;
        }
        return !m_dlg.Runner().IsActive();
    });

    std::vector<std::string> expected;
    int nQuestion = 0;
    // 富士山, 山, 日本, 東京, 大阪 in code page 932.
    for (const char* pszAnswer : {"\x95\x78\x8E\x6D\x8E\x52", "\x8E\x52", "\x93\xFA\x96\x7B",
                                  "\x93\x8C\x8B\x9E", "\x91\xE5\x8D\xE3"})
        expected.push_back(std::to_string(++nQuestion) + " " + kCorrect + pszAnswer);
    EXPECT_EQ(verdicts, expected);
    EXPECT_TRUE(bPaused);
    EXPECT_EQ(m_field.IsRunning(), 0);
    EXPECT_EQ(m_field.GetResult().GetCorrectCount(), 5);
    m_dlg.repaint();
    EXPECT_EQ(m_field.GetTileCount(), 0);
    // The result shows until the next Read.
    m_dlg.OnReadButton();
    EXPECT_TRUE(m_field.GetResult().IsEmpty());
}

} // namespace
