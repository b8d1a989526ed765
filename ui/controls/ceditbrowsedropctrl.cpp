#include "ui/controls/ceditbrowsedropctrl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

CEditBrowseDropCtrl::CEditBrowseDropCtrl(QWidget *wndWatch, QWidget *parent)
    : CMFCEditBrowseCtrl(parent), m_pWndWatch(wndWatch), m_hook(this, [this] { closeByUser(); })
{
    EnableBrowseButton();
    connect(qApp, &QApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            closeByUser();
    });
}

CEditBrowseDropCtrl::~CEditBrowseDropCtrl()
{
    m_hook.HookWindow(nullptr);
}

void CEditBrowseDropCtrl::OnBrowse()
{
    if (m_bDropped)
        CancelDropDown();
    else
        ShowDropDown();
}

void CEditBrowseDropCtrl::CancelDropDown()
{
    Notify(CBN_SELENDCANCEL);
    const bool wasDropped = m_bDropped;
    HideDropDown();
    // Text typed to search the list is not a choice.
    if (wasDropped && text() != m_strTextBeforeDrop)
        setText(m_strTextBeforeDrop);
}

void CEditBrowseDropCtrl::SetPickerReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    setCursor(readOnly ? Qt::ArrowCursor : Qt::IBeamCursor);
    setContextMenuPolicy(readOnly ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    updateLook();
}

QRect CEditBrowseDropCtrl::DropDownRect(const QRect &edit, const QSize &size, const QRect &area)
{
    const int margin = 10;
    const int width = size.width(), height = size.height();
    const int areaRight = area.x() + area.width(), areaBottom = area.y() + area.height();
    int left = edit.x() + edit.width() - width;
    int right = left + width;
    if (left < area.x()) {
        left = area.x() + margin;
        right = left + width;
        if (right > areaRight) {
            right = areaRight - margin;
            left = right - width;
        }
    }
    const int editBottom = edit.y() + edit.height();
    int top = editBottom, bottom = top + height;
    if (bottom > areaBottom) {
        if (areaBottom - editBottom >= height / 2) {
            bottom = areaBottom;
        } else {
            top = edit.y() - height;
            bottom = edit.y();
        }
    }
    return QRect(left, top, right - left, bottom - top);
}

bool CEditBrowseDropCtrl::ForwardKey(QKeyEvent *event)
{
    if (QAbstractItemView *view = DropControl()) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                       event->isAutoRepeat(), ushort(event->count()));
        QCoreApplication::sendEvent(view, &copy);
    }
    return true;
}

void CEditBrowseDropCtrl::ShowDropDown()
{
    QWidget *list = DropWindow();
    if (!list)
        return;
    const QSize size(qMax(width(), m_nMinDropWidth), DropHeight());
    const QRect edit(mapToGlobal(QPoint(0, 0)), this->size());
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    list->setGeometry(DropDownRect(edit, size, screen->availableGeometry()));
    m_strTextBeforeDrop = text();
    list->show();
    list->raise();
    m_bDropped = true;
    OnDropShown();
    Notify(CBN_DROPDOWN);
    m_hook.setDroppedList(list);
    m_hook.HookWindow(m_pWndWatch ? m_pWndWatch.data() : window());
    m_bHighlighted = false;
    updateLook();
}

void CEditBrowseDropCtrl::HideDropDown()
{
    m_hook.HookWindow(nullptr);
    m_bDropped = false;
    if (QWidget *list = DropWindow())
        list->hide();
    if (!m_bFocusLost)
        m_bHighlighted = true;
    updateLook();
}

void CEditBrowseDropCtrl::closeByUser()
{
    if (!m_bDropped)
        return;
    Notify(CBN_KILLFOCUS);
    CancelDropDown();
}

bool CEditBrowseDropCtrl::handleKey(QKeyEvent *event)
{
    const int key = event->key();
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    if (!m_bDropped) {
        if ((alt && key == Qt::Key_Down) || key == Qt::Key_F4) {
            OnBrowse();
            return true;
        }
        return false;
    }
    if ((alt && key == Qt::Key_Up) || key == Qt::Key_F4 || key == Qt::Key_Return
        || key == Qt::Key_Enter) {
        AcceptDropDown();
        return true;
    }
    if (key == Qt::Key_Escape) {
        CancelDropDown();
        return true;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        AcceptDropDown();
        focusNextPrevChild(key == Qt::Key_Tab && !event->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }
    return ForwardKey(event);
}

bool CEditBrowseDropCtrl::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The dialog's shortcuts (Escape, default button) wait while the list is shown.
        if (m_bDropped) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::Wheel:
        if (m_bDropped && DropControl()) {
            QCoreApplication::sendEvent(DropControl()->viewport(), event);
            return true;
        }
        break;
    default:
        break;
    }
    return CMFCEditBrowseCtrl::event(event);
}

void CEditBrowseDropCtrl::focusInEvent(QFocusEvent *event)
{
    m_bFocusLost = false;
    CMFCEditBrowseCtrl::focusInEvent(event);
}

void CEditBrowseDropCtrl::focusOutEvent(QFocusEvent *event)
{
    m_bFocusLost = true;
    m_bHighlighted = false;
    closeByUser();
    updateLook();
    CMFCEditBrowseCtrl::focusOutEvent(event);
}

void CEditBrowseDropCtrl::mousePressEvent(QMouseEvent *event)
{
    if (isReadOnly() && event->button() == Qt::LeftButton) {
        OnBrowse();
        return;
    }
    if (event->button() == Qt::RightButton && isReadOnly())
        return;
    CMFCEditBrowseCtrl::mousePressEvent(event);
}

void CEditBrowseDropCtrl::updateLook()
{
    // Only a read-only picker marks its choice; editable ones keep the usual colours.
    QPalette pal = QApplication::palette(this);
    if (isReadOnly() && m_bHighlighted) {
        pal.setColor(QPalette::Base, pal.color(QPalette::Highlight));
        pal.setColor(QPalette::Text, pal.color(QPalette::HighlightedText));
    }
    setPalette(pal);
}
