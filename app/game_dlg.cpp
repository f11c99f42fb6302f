#include "app/game_dlg.h"

#include "app/about_dlg.h"
#include "app/app_icon.h"
#include "app/dialog_units.h"
#include "platform/code_page.h"
#include "platform/file_exception.h"
#include "platform/path_text.h"
#include "platform/string_table.h"
#include "quiz/question_file_error.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>

#include <exception>
#include <system_error>

namespace {

// "くねくねくね" in code page 932.
const char kTitle[] = "\x82\xad\x82\xcb\x82\xad\x82\xcb\x82\xad\x82\xcb";

QString FromCodePage(const std::string& strBytes)
{
    const std::u16string text = DecodeCodePage932(strBytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Point ToPoint(const QPointF& pt)
{
    return Point{static_cast<int32_t>(pt.x()), static_cast<int32_t>(pt.y())};
}

} // namespace

CGameDlg::CGameDlg(QWidget* pParent) : QDialog(pParent), m_dialogChooser(this)
{
    setWindowTitle(QStringLiteral("Wrigglet"));
    setWindowIcon(LoadAppIcon());
    setFixedSize(DialogUnitsToPixels(QSize(242, 201)));
    // The window itself takes the keys: its controls are never shown.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetFileChooser(nullptr);
    CreateTemplateControls();
    OnInitDialog();
}

CGameDlg::~CGameDlg()
{
    // The worker reads the field and the questions: it ends before they go.
    m_runner.StopAndJoin();
}

void CGameDlg::CreateTemplateControls()
{
    // Hidden and disabled: they exist to lay out what the field draws.
    const struct
    {
        int32_t nId;
        bool bButton;
        const char* pszText;
        QRect rcUnits;
    } controls[] = {
        {IDC_TITLE, false, "Title", QRect(18, 23, 203, 36)},
        {IDC_READ, true, "読込", QRect(84, 71, 63, 21)},
        {IDC_START, true, "開始", QRect(84, 97, 63, 21)},
        {IDOK, true, "終了", QRect(84, 123, 63, 21)},
        {IDC_AREA, false, "描画領域", QRect(7, 7, 228, 151)},
        {IDC_STOP, true, "中止", QRect(172, 163, 63, 21)},
    };
    for (const auto& control : controls) {
        QWidget* pWidget = nullptr;
        if (control.bButton)
            pWidget = new QPushButton(QString::fromUtf8(control.pszText), this);
        else
            pWidget = new QLabel(QString::fromUtf8(control.pszText), this);
        pWidget->setGeometry(DialogUnitsToPixels(control.rcUnits));
        pWidget->setEnabled(false);
        pWidget->hide();
        pWidget->setFocusPolicy(Qt::NoFocus);
        m_controls[control.nId] = pWidget;
    }
    auto button = [this](int32_t nId) { return static_cast<QPushButton*>(m_controls.at(nId)); };
    connect(button(IDC_START), &QPushButton::clicked, this, &CGameDlg::OnStartButton);
    connect(button(IDC_STOP), &QPushButton::clicked, this, &CGameDlg::OnStopButton);
    connect(button(IDC_READ), &QPushButton::clicked, this, &CGameDlg::OnReadButton);
    connect(button(IDOK), &QPushButton::clicked, this, &QDialog::accept);
}

void CGameDlg::OnInitDialog()
{
    m_runner.SetOwner(this);
    m_runner.SetField(&m_field);
    m_runner.SetQuestions(&m_questions);
    m_field.SetArea(GetControlRect(IDC_AREA));
    m_field.m_rcStart = GetControlRect(IDC_START);
    m_field.m_rcStop = GetControlRect(IDC_STOP);
    m_field.m_rcExit = GetControlRect(IDOK);
    m_field.m_rcRead = GetControlRect(IDC_READ);
    m_field.SetTitle(kTitle);
    m_field.m_rcTitle = GetControlRect(IDC_TITLE);
    m_field.CentreSnake();
    m_nTimerControls = startTimer(200);
    m_nTimerFocus = startTimer(2000);
}

Rect CGameDlg::GetControlRect(int32_t nId) const
{
    const auto it = m_controls.find(nId);
    if (it == m_controls.end())
        return Rect{};
    const QRect rc = it->second->geometry();
    return Rect{rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}

void CGameDlg::InvalidateRect(bool bErase)
{
    // Also called from the game loop: the request is queued to the window's
    // thread, and requests made before it is served fold into one. Qt
    // repaints the background with every update, so erasing needs no more.
    (void)bErase;
    if (!m_bRepaintQueued.exchange(true))
        QMetaObject::invokeMethod(this, "OnRepaintRequested", Qt::QueuedConnection);
}

void CGameDlg::OnRepaintRequested()
{
    m_bRepaintQueued.store(false);
    update();
}

bool CGameDlg::EnableControl(int32_t nId, bool bEnable)
{
    const auto it = m_controls.find(nId);
    if (it == m_controls.end())
        return false;
    QWidget* pWidget = it->second;
    QMetaObject::invokeMethod(this, [pWidget, bEnable] { pWidget->setEnabled(bEnable); },
                              Qt::AutoConnection);
    return true;
}

void CGameDlg::paintEvent(QPaintEvent*)
{
    m_strPaintedStatus = m_runner.GetStatusText();
    QPainter painter(this);
    m_field.Paint(painter, m_strPaintedStatus);
}

void CGameDlg::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() == m_nTimerControls)
        m_runner.UpdateControls();
    else if (pEvent->timerId() == m_nTimerFocus)
        setFocus();
    QDialog::timerEvent(pEvent);
}

void CGameDlg::keyReleaseEvent(QKeyEvent* pEvent)
{
    // The snake turns when the key comes up; holding it repeats nothing.
    if (!pEvent->isAutoRepeat()) {
        bool bArrow = true;
        switch (pEvent->key()) {
        case Qt::Key_Left:
            m_field.TurnLeft();
            break;
        case Qt::Key_Up:
            m_field.TurnUp();
            break;
        case Qt::Key_Right:
            m_field.TurnRight();
            break;
        case Qt::Key_Down:
            m_field.TurnDown();
            break;
        default:
            bArrow = false;
            break;
        }
        if (bArrow)
            InvalidateRect(false);
    }
    QDialog::keyReleaseEvent(pEvent);
}

void CGameDlg::mouseMoveEvent(QMouseEvent* pEvent)
{
    m_field.UpdateHover(ToPoint(pEvent->position()));
    InvalidateRect(false);
    QDialog::mouseMoveEvent(pEvent);
}

void CGameDlg::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        const Point pt = ToPoint(pEvent->position());
        if (!m_field.IsRunning()) {
            if (m_field.HitStart(pt)) {
                m_field.SetRunning(1);
                InvalidateRect(true);
                StartRun();
            } else if (m_field.HitRead(pt)) {
                OnReadButton();
            } else if (m_field.HitExit(pt)) {
                accept();
            }
        } else if (m_field.HitStop(pt)) {
            m_field.SetRunning(0);
            InvalidateRect(true);
            OnStopButton();
        }
    }
    QDialog::mouseReleaseEvent(pEvent);
}

void CGameDlg::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // The desktop's system menu is not here; its about item is.
    const std::string strAbout = LoadStringResource(IDS_ABOUTBOX);
    if (strAbout.empty())
        return;
    QMenu menu(this);
    QAction* pAbout = menu.addAction(FromCodePage(strAbout));
    if (menu.exec(pEvent->globalPos()) == pAbout)
        OnSysCommand(IDM_ABOUTBOX);
}

void CGameDlg::OnSysCommand(uint32_t nId)
{
    if ((nId & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.exec();
    }
}

void CGameDlg::OnStartButton()
{
    StartRun();
}

void CGameDlg::OnStopButton()
{
    m_bPendingStart = false;
    m_runner.RequestStop();
}

void CGameDlg::StartRun()
{
    // A load chosen while the last run was ending goes first.
    if (!m_strPendingLoad.empty()) {
        m_bPendingStart = true;
        RunPendingCommands();
        return;
    }
    m_runner.Start();
}

void CGameDlg::OnReadButton()
{
    if (!m_runner.IsBusy()) {
        LoadQuestions(std::string());
        return;
    }
    // A stopped run is still ending and reads the questions: ask for the
    // file now, load it as soon as the run has ended.
    if (!m_pChooser->DoModal())
        return;
    m_strPendingLoad = m_pChooser->GetPathName();
    RunPendingCommands();
}

void CGameDlg::LoadQuestions(const std::string& strPath)
{
    // On failure the questions loaded before stay; the player is told why.
    QString reason;
    try {
        m_questions.Load(strPath, kQuizLength);
        return;
    } catch (const CFileException& e) {
        reason = PathToText(e.GetPath()) + QStringLiteral("\n") +
                 QString::fromStdString(std::generic_category().message(e.GetOsError()));
    } catch (const CQuestionFileError& e) {
        reason = QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("問題ファイルを読み込めませんでした。\n%1").arg(reason));
}

void CGameDlg::RunPendingCommands()
{
    if (m_runner.IsBusy()) {
        if (!m_bPendingScheduled) {
            m_bPendingScheduled = true;
            QTimer::singleShot(20, this, [this] {
                m_bPendingScheduled = false;
                RunPendingCommands();
            });
        }
        return;
    }
    if (!m_strPendingLoad.empty()) {
        const std::string strPath = std::move(m_strPendingLoad);
        m_strPendingLoad.clear();
        LoadQuestions(strPath);
    }
    if (m_bPendingStart) {
        m_bPendingStart = false;
        m_runner.Start();
    }
}

void CGameDlg::SetFileChooser(CFileChooser* pChooser)
{
    m_pChooser = pChooser ? pChooser : &m_dialogChooser;
    m_questions.SetFileChooser(m_pChooser);
}

void CGameDlg::done(int nResult)
{
    // Gone from the screen at once; the program ends when the worker has.
    hide();
    m_runner.RequestStop();
    QDialog::done(nResult);
}
