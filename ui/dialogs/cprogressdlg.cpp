#include "ui/dialogs/cprogressdlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

CProgressDlg::CProgressDlg()
    : QDialog(nullptr)
    , m_pStatus(new QLabel(this))
    , m_pBar(new QProgressBar(this))
    , m_pPercent(new QLabel(this))
    , m_pSeparator(new QFrame(this))
    , m_pSecond(new QLabel(this))
    , m_pCancel(new QPushButton(u"取消"_s, this))
{
    // No parent of its own: disabling the owner must not disable this window too.
    m_pBar->setTextVisible(false);
    m_pPercent->setMinimumWidth(fontMetrics().horizontalAdvance(u"100 %"_s) + 4);
    m_pPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pSeparator->setFrameShape(QFrame::HLine);
    m_pSeparator->setFrameShadow(QFrame::Sunken);
    connect(m_pCancel, &QPushButton::clicked, this, [this] { m_bCancelled = true; });
}

CProgressDlg::~CProgressDlg()
{
    ReEnableParent();
}

void CProgressDlg::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12 + qMax(0, m_info.headerHeight), 12, 12);
    layout->addWidget(m_pStatus);
    auto *barRow = new QHBoxLayout;
    barRow->addWidget(m_pBar, 1);
    barRow->addWidget(m_pPercent);
    layout->addLayout(barRow);
    layout->addWidget(m_pSeparator);
    layout->addWidget(m_pSecond);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_pCancel);
    layout->addLayout(buttonRow);

    m_pBar->setVisible(m_info.showBar);
    m_pPercent->setVisible(m_info.showBar && m_info.showPercent);
    m_pSecond->setText(m_info.secondText);
    m_pSecond->setVisible(!m_info.secondText.isEmpty());
    m_pCancel->setVisible(m_info.allowCancel);
    // The painted band takes the separator's place when the framework look is off.
    m_pSeparator->setVisible(m_info.allowCancel && m_info.frameworkLook);
}

bool CProgressDlg::Create(const tagProgressInfo &info, QWidget *owner)
{
    m_info = info;
    m_nPosition = info.rangeLow;
    if (!owner)
        owner = QApplication::activeWindow();
    if (owner)
        owner = owner->window();
    if (info.disableOwner && owner && owner->isEnabled()) {
        owner->setEnabled(false);
        m_pDisabledOwner = owner;
    }
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint;
    if (!info.allowCancel)
        flags |= Qt::CustomizeWindowHint; // no close box
    else
        flags |= Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setWindowTitle(info.caption);
    m_pStatus->setText(info.status);
    if (info.rangeHigh > info.rangeLow)
        m_pBar->setRange(info.rangeLow, info.rangeHigh);
    else
        m_pBar->setRange(0, 1); // an empty range: the bar is full once the position reaches it
    buildLayout();
    setFixedWidth(360);
    adjustSize();
    if (owner) {
        winId();
        windowHandle()->setTransientParent(owner->windowHandle());
        move(owner->frameGeometry().center() - rect().center());
    }
    show();
    SetPos(info.rangeLow);
    return true;
}

bool CProgressDlg::PumpMessages()
{
    if (!isVisible())
        return false;
    const QPointer<CProgressDlg> self(this);
    m_bQuitSeen = false;
    qApp->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!self)
        return false;
    qApp->removeEventFilter(this);
    if (m_bQuitSeen) {
        // The main loop ends the program once the caller's work has stopped.
        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
        return false;
    }
    return isVisible();
}

bool CProgressDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::Quit) {
        m_bQuitSeen = true;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CProgressDlg::SetPos(int position)
{
    m_nPosition = position;
    const qint64 low = m_info.rangeLow, high = m_info.rangeHigh;
    if (high > low)
        m_pBar->setValue(int(qBound(low, qint64(position), high)));
    else
        m_pBar->setValue(position >= high ? 1 : 0);
    if (!m_info.showBar || !m_info.showPercent)
        return;
    qint64 percent = 0;
    if (high == low) {
        percent = position >= high ? 100 : 0;
    } else {
        percent = (position - low) * 100 / (high - low);
        if (percent != 100)
            percent %= 100;
    }
    const QString text = u"%1 %"_s.arg(percent);
    if (m_pPercent->text() != text)
        m_pPercent->setText(text);
}

void CProgressDlg::SetStatus(const QString &text)
{
    m_pStatus->setText(text);
}

QString CProgressDlg::GetPercentText() const
{
    return m_pPercent->text();
}

void CProgressDlg::ReEnableParent()
{
    if (m_pDisabledOwner)
        m_pDisabledOwner->setEnabled(true);
    m_pDisabledOwner = nullptr;
}

void CProgressDlg::DestroyWindow()
{
    ReEnableParent();
    hide();
}

void CProgressDlg::PaintHeader(QPainter &painter, const QRect &rect)
{
    Q_UNUSED(painter);
    Q_UNUSED(rect);
}

void CProgressDlg::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    if (!m_info.frameworkLook && m_info.allowCancel) {
        const int top = m_pCancel->geometry().top() - 8;
        painter.fillRect(QRect(0, top, width(), height() - top),
                         palette().color(QPalette::Midlight));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(0, top, width(), top);
    }
    if (m_info.headerHeight > 0)
        PaintHeader(painter, QRect(0, 0, width(), m_info.headerHeight));
}

void CProgressDlg::reject()
{
    // Escape is Cancel: the caller stops its work and closes the window.
    if (m_info.allowCancel)
        m_bCancelled = true;
}

void CProgressDlg::closeEvent(QCloseEvent *event)
{
    if (m_info.allowCancel)
        m_bCancelled = true;
    event->ignore();
}
