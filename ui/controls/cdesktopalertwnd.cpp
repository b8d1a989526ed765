#include "ui/controls/cdesktopalertwnd.h"

#include "ui/controls/screenplacement.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int slideSteps = 10;
constexpr int screenMargin = 4;

} // namespace

CDesktopAlertWnd::CDesktopAlertWnd(QWidget *owner)
    : QWidget(owner ? owner->window() : nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"DesktopAlert"_s);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(createCaption());
    m_autoClose.setSingleShot(true);
    connect(&m_autoClose, &QTimer::timeout, this, &QWidget::close);
}

CDesktopAlertWnd::~CDesktopAlertWnd() = default;

QWidget *CDesktopAlertWnd::createCaption()
{
    m_caption = new QWidget(this);
    m_caption->setObjectName(u"AlertCaption"_s);
    m_caption->setCursor(Qt::SizeAllCursor);
    auto *row = new QHBoxLayout(m_caption);
    row->setContentsMargins(6, 3, 3, 3);
    m_icon = new QLabel(m_caption);
    m_title = new QLabel(m_caption);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    auto *closeButton = new QToolButton(m_caption);
    closeButton->setObjectName(u"AlertClose"_s);
    closeButton->setAutoRaise(true);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setCursor(Qt::ArrowCursor);
    connect(closeButton, &QToolButton::clicked, this, &QWidget::close);
    row->addWidget(m_icon);
    row->addWidget(m_title, 1);
    row->addWidget(closeButton);
    m_caption->installEventFilter(this);
    return m_caption;
}

void CDesktopAlertWnd::SetTransparency(int alpha)
{
    setWindowOpacity(qBound(0, alpha, 255) / 255.0);
}

void CDesktopAlertWnd::SetIcon(const QIcon &icon)
{
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_icon->setPixmap(icon.pixmap(size, size));
    setWindowIcon(icon);
}

void CDesktopAlertWnd::SetTitle(const QString &title)
{
    m_title->setText(title);
    setWindowTitle(title);
}

void CDesktopAlertWnd::Create(QWidget *content, const QPoint &position)
{
    if (content) {
        m_content = content;
        content->setParent(this);
        layout()->addWidget(content);
    }
    adjustSize();
    const QPoint wanted = position == QPoint(-1, -1) ? cornerPosition() : position;
    m_target = keepOnScreen(QRect(wanted, size())).topLeft();
    slideIn();
    if (m_autoCloseMs > 0)
        m_autoClose.start(m_autoCloseMs);
}

QPoint CDesktopAlertWnd::cornerPosition() const
{
    const QWidget *owner = parentWidget();
    QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    return area.bottomRight() - QPoint(width() + screenMargin, height() + screenMargin)
        + QPoint(1, 1);
}

void CDesktopAlertWnd::slideIn()
{
    if (m_stepMs <= 0) {
        move(m_target);
        show();
        return;
    }
    // Up from below its place, as if out of the taskbar.
    m_slide = new QPropertyAnimation(this, "pos", this);
    m_slide->setDuration(m_stepMs * slideSteps);
    m_slide->setStartValue(m_target + QPoint(0, height()));
    m_slide->setEndValue(m_target);
    move(m_target + QPoint(0, height()));
    show();
    m_slide->start(QAbstractAnimation::DeleteWhenStopped);
}

bool CDesktopAlertWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_caption)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (m_slide)
            m_slide->stop();
        m_dragging = true;
        m_dragOffset = mouse->globalPosition().toPoint() - pos();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            m_target = static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset;
            move(m_target);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CDesktopAlertWnd::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!m_closed && event->isAccepted()) {
        m_closed = true;
        m_autoClose.stop();
        Q_EMIT closed(m_target);
    }
}

void CDesktopAlertWnd::enterEvent(QEnterEvent *event)
{
    // Someone is reading it: it stays until the mouse leaves.
    m_autoClose.stop();
    QWidget::enterEvent(event);
}

void CDesktopAlertWnd::leaveEvent(QEvent *event)
{
    if (m_autoCloseMs > 0 && !m_closed)
        m_autoClose.start(m_autoCloseMs);
    QWidget::leaveEvent(event);
}

void CDesktopAlertWnd::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
