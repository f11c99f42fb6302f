#include "app/game_dlg.h"

#include "app/about_dlg.h"
#include "app/app_icon.h"
#include "app/path_text.h"
#include "game/window_layout.h"
#include "game/window_template.h"
#include "platform/code_page.h"
#include "platform/string_table.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimerEvent>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace {

QString FromCodePage(const std::string& strBytes)
{
    const std::u16string text = DecodeCodePage932(strBytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Point ToPoint(const QPointF& pt)
{
    return Point{static_cast<int32_t>(pt.x()), static_cast<int32_t>(pt.y())};
}

CGameController::EKey ToKey(const QKeyEvent& event)
{
    using EKey = CGameController::EKey;
    switch (event.key()) {
    case Qt::Key_Left:
        return EKey::Left;
    case Qt::Key_Up:
        return EKey::Up;
    case Qt::Key_Right:
        return EKey::Right;
    case Qt::Key_Down:
        return EKey::Down;
    case Qt::Key_P:
        return EKey::Pause;
    case Qt::Key_Space:
        return EKey::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EKey::Enter;
    case Qt::Key_Tab:
        return event.modifiers() & Qt::ShiftModifier ? EKey::BackTab : EKey::Tab;
    case Qt::Key_Backtab:
        return EKey::BackTab;
    case Qt::Key_R:
        return EKey::Read;
    case Qt::Key_O:
        return event.modifiers() & Qt::ControlModifier ? EKey::Read : EKey::Other;
    case Qt::Key_S:
        return EKey::Stop;
    case Qt::Key_F11:
        return EKey::FullScreen;
    default:
        return EKey::Other;
    }
}

// The first local file among the dragged items; empty for none.
QString DroppedFile(const QMimeData* pData)
{
    for (const QUrl& url : pData ? pData->urls() : QList<QUrl>()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QString();
}

} // namespace

CGameDlg::CGameDlg(QWidget* pParent) : QDialog(pParent), m_dialogChooser(this), m_controller(*this)
{
    setWindowTitle(QStringLiteral("Wrigglet"));
    setWindowIcon(LoadAppIcon());
    // Any size from the template's up: the picture scales with the window.
    const Point ptClient = TemplateClientSize();
    setMinimumSize(ptClient.x, ptClient.y);
    resize(ptClient.x, ptClient.y);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    // The window itself takes the keys: its controls are never shown.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    SetFileChooser(nullptr);
    CreateTemplateControls();
    m_controller.Init([this](int32_t nId) { return GetControlRect(nId); }, ptClient);
}

void CGameDlg::CreateTemplateControls()
{
    // Hidden and disabled: they exist to lay out what the field draws.
    const struct
    {
        int32_t nId;
        bool bButton;
        const char* pszText;
    } controls[] = {
        {IDC_TITLE, false, "Title"}, {IDC_READ, true, "読込"},      {IDC_START, true, "開始"},
        {IDOK, true, "終了"},        {IDC_AREA, false, "描画領域"}, {IDC_STOP, true, "中止"},
    };
    for (const auto& control : controls) {
        QWidget* pWidget = nullptr;
        if (control.bButton)
            pWidget = new QPushButton(QString::fromUtf8(control.pszText), this);
        else
            pWidget = new QLabel(QString::fromUtf8(control.pszText), this);
        const Rect rc = TemplateControlRect(control.nId);
        pWidget->setGeometry(rc.left, rc.top, rc.Width(), rc.Height());
        pWidget->setEnabled(false);
        pWidget->hide();
        pWidget->setFocusPolicy(Qt::NoFocus);
        m_controls[control.nId] = pWidget;
    }
    for (int32_t nId : {IDC_START, IDC_STOP, IDC_READ, IDOK}) {
        connect(static_cast<QPushButton*>(m_controls.at(nId)), &QPushButton::clicked, this,
                [this, nId] { m_controller.OnCommand(nId); });
    }
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

void CGameDlg::ShowError(const std::string& strText)
{
    QMessageBox::warning(this, windowTitle(), QString::fromUtf8(strText.c_str()));
}

void CGameDlg::ShowAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CGameDlg::CloseWindow(int32_t nResult)
{
    // Hides the window and ends exec().
    QDialog::done(nResult == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

void CGameDlg::StartTimer(int32_t nId, int32_t nMilliseconds)
{
    m_timers[startTimer(nMilliseconds)] = nId;
}

void CGameDlg::TakeFocus()
{
    setFocus();
}

void CGameDlg::SetFullScreen(bool bFullScreen)
{
    bFullScreen ? showFullScreen() : showNormal();
}

void CGameDlg::accept()
{
    m_controller.OnCommand(IDOK);
}

void CGameDlg::reject()
{
    m_controller.OnCommand(IDCANCEL);
}

void CGameDlg::focusOutEvent(QFocusEvent* pEvent)
{
    // Another window, a box of the game's own or a menu took the keys.
    if (pEvent->reason() == Qt::ActiveWindowFocusReason || pEvent->reason() == Qt::PopupFocusReason)
        m_controller.OnDeactivate();
    QDialog::focusOutEvent(pEvent);
}

void CGameDlg::resizeEvent(QResizeEvent* pEvent)
{
    m_controller.OnResize(Point{width(), height()}, 96);
    QDialog::resizeEvent(pEvent);
}

void CGameDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_buffers.SetTarget(&painter, m_controller.GetScale());
    m_controller.Paint(m_buffers);
    m_buffers.SetTarget(nullptr);
}

void CGameDlg::timerEvent(QTimerEvent* pEvent)
{
    const auto it = m_timers.find(pEvent->timerId());
    if (it != m_timers.end())
        m_controller.OnTimer(it->second);
    QDialog::timerEvent(pEvent);
}

void CGameDlg::keyReleaseEvent(QKeyEvent* pEvent)
{
    if (!pEvent->isAutoRepeat())
        m_controller.OnKeyUp(ToKey(*pEvent));
    QDialog::keyReleaseEvent(pEvent);
}

void CGameDlg::mouseMoveEvent(QMouseEvent* pEvent)
{
    m_controller.OnMouseMove(ToPoint(pEvent->position()));
    QDialog::mouseMoveEvent(pEvent);
}

void CGameDlg::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_controller.OnLeftButtonUp(ToPoint(pEvent->position()));
    QDialog::mouseReleaseEvent(pEvent);
}

void CGameDlg::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // The desktop's system menu is not here; its about item is.
    const std::string strAbout = LoadStringResource(IDS_ABOUTBOX);
    if (strAbout.empty())
        return;
    // A popup does not take the window's activation; the quiz pauses all the same.
    m_controller.OnDeactivate();
    QMenu menu(this);
    QAction* pAbout = menu.addAction(FromCodePage(strAbout));
    if (menu.exec(pEvent->globalPos()) == pAbout)
        m_controller.OnSysCommand(IDM_ABOUTBOX);
}

void CGameDlg::OpenCommandLine(const QStringList& files)
{
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(PathFromText(file));
    m_controller.OnCommandLine(paths);
}

void CGameDlg::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!DroppedFile(pEvent->mimeData()).isEmpty())
        pEvent->acceptProposedAction();
}

void CGameDlg::dropEvent(QDropEvent* pEvent)
{
    const QString path = DroppedFile(pEvent->mimeData());
    if (path.isEmpty())
        return;
    pEvent->acceptProposedAction();
    m_controller.OpenFile(PathFromText(path));
}

void CGameDlg::SetFileChooser(CFileChooser* pChooser)
{
    m_controller.SetFileChooser(pChooser ? pChooser : &m_dialogChooser);
}
