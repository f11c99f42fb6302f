#include "rect_compare.h"
#include "app/game_dlg.h"
#include "game/window_template.h"
#include "game_window_driver.h"
#include "app/path_text.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <tuple>

namespace {

const Qt::Key kKeys[] = {Qt::Key_Up,     Qt::Key_Right, Qt::Key_Down,    Qt::Key_Left, Qt::Key_P,
                         Qt::Key_Space,  Qt::Key_A,     Qt::Key_Escape,  Qt::Key_Return, Qt::Key_Tab,
                         Qt::Key_Backtab, Qt::Key_R,    Qt::Key_O,       Qt::Key_S};

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

class GameDlgTest : public ::testing::Test, public CGameWindowDriver
{
protected:
    GameDlgTest()
    {
        // The pointer off the window: a move to where it already is is no move.
        QCursor::setPos(0, 0);
        m_dlg.SetFileChooser(&m_chooser);
        m_dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
    }

    CGameController& Controller() override { return m_dlg.Controller(); }
    void LeftButtonUp(Point pt) override { QTest::mouseRelease(&m_dlg, Qt::LeftButton, {}, QPoint(pt.x, pt.y)); }
    void MouseMove(Point pt) override { QTest::mouseMove(&m_dlg, QPoint(pt.x, pt.y)); }
    void KeyDown(EKey key) override { QTest::keyPress(&m_dlg, kKeys[key], Modifiers(key)); }
    void KeyUp(EKey key) override { QTest::keyRelease(&m_dlg, kKeys[key], Modifiers(key)); }
    static Qt::KeyboardModifiers Modifiers(EKey key)
    {
        return key == kCtrlO ? Qt::ControlModifier : key == kBackTab ? Qt::ShiftModifier : Qt::NoModifier;
    }
    void SysCommand(uint32_t nId) override { m_dlg.OnSysCommand(nId); }
    Point Resize(Point ptClient) override
    {
        m_dlg.resize(ptClient.x, ptClient.y);
        QApplication::processEvents();
        return Point{m_dlg.width(), m_dlg.height()};
    }
    void Deactivate() override
    {
        QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(&m_dlg, &deactivate);
    }
    void Drop(const std::string& strPath) override { EXPECT_TRUE(DropUrl(QUrl::fromLocalFile(PathToText(strPath)))); }
    std::string Modal(const std::function<void()>& fn) override
    {
        QString text;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&text] {
            if (auto* pBox = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                auto* pMessage = qobject_cast<QMessageBox*>(pBox);
                text = pMessage ? pMessage->text() : pBox->windowTitle();
                pBox->accept();
            }
        });
        timer.start(10);
        fn();
        return text.toStdString();
    }
    void Pump() override { QApplication::processEvents(QEventLoop::AllEvents, 5); }
    std::string Repaint() override
    {
        m_dlg.repaint();
        return m_dlg.LastPaintedStatus();
    }
    bool IsShown() override { return m_dlg.isVisible(); }
    // scripts/screenshots.sh names the folder (and scales the screen).
    void Snapshot(const std::string& strName, const Rect& rc) override
    {
        if (const char* pszFolder = std::getenv("WRIGGLET_SHOTS")) {
            m_dlg.grab(QRect(rc.left, rc.top, rc.Width(), rc.Height()))
                .save(QString::fromUtf8(pszFolder) + "/" + QString::fromStdString(strName) + ".png");
        }
    }

    // Drags the address over the window and drops it there; whether the
    // window took it.
    bool DropUrl(const QUrl& url)
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

TEST_F(GameDlgTest, EventsBecomeTheCommandsOfTheirMode)
{
    CheckCommands();

    // Only a left button's release counts, and an auto-repeated key's
    // release does not.
    QTest::mousePress(&m_dlg, Qt::LeftButton, {}, QPoint(m_field.m_rcStart.left, m_field.m_rcStart.top));
    EXPECT_EQ(m_field.IsRunning(), 0);
    m_field.SetRunning(1);
    QTest::mouseRelease(&m_dlg, Qt::RightButton, {}, QPoint(m_field.m_rcStop.left, m_field.m_rcStop.top));
    EXPECT_EQ(m_field.IsRunning(), 1);
    m_field.SetRunning(0);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&m_dlg, &repeat);
    EXPECT_EQ(m_field.GetSnake().GetDirection(), CSnake::Right);

    // Every mouse move repaints: off the buttons, onto Start, and within it.
    PaintCounter counter;
    m_dlg.installEventFilter(&counter);
    const Rect& rc = m_field.m_rcStart;
    for (QPoint pt : {QPoint(5, 5), QPoint(rc.left, rc.top), QPoint(rc.left + 1, rc.top)}) {
        counter.m_nPaints = 0;
        QTest::mouseMove(&m_dlg, pt);
        WaitFor([&] { return counter.m_nPaints > 0; });
        EXPECT_EQ(m_field.m_bHoverStart, pt.x() == 5 ? 0 : 1);
    }
    m_dlg.removeEventFilter(&counter);

    // A file named on the command line loads as a drop does, with its
    // failures told; without one, or with a web address dragged, nothing
    // changes.
    const std::string strFile = m_dir.Write("x");
    const std::string strBox = Modal([&] { m_dlg.OpenCommandLine({PathToText(strFile + "/q.csv")}); });
    EXPECT_NE(strBox.find("開けません: " + std::generic_category().message(ENOTDIR)), std::string::npos) << strBox;
    m_dlg.OpenCommandLine({PathToText(m_dir.Write("GNU,q\n"))});
    m_dlg.OpenCommandLine({});
    EXPECT_FALSE(DropUrl(QUrl(QStringLiteral("https://example.invalid/q.csv"))));
    EXPECT_EQ(m_dlg.Questions().GetAt(0)->GetAnswer(), "GNU");

    // Exit closes the window at once.
    Click(m_field.m_rcExit);
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
}

// A UTF-8 kanji quiz played to its end through the window.
TEST_F(GameDlgTest, PlayerWinsAUtf8KanjiQuizWithKeyReleasesOnly)
{
    // 富士山 and 東京 in code page 932.
    CheckWholeQuizzes(m_dir.Write("\xEF\xBB\xBF富士山,日本でいちばん高い山は？\r\n東京,日本の首都は？\r\n"),
                      {"\x95\x78\x8E\x6D\x8E\x52", "\x93\x8C\x8B\x9E"});
}

} // namespace
