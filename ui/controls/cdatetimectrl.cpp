#include "ui/controls/cdatetimectrl.h"

#include <QCalendarWidget>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

// The value that stands for "no date": the minimum, shown as a blank special text.
const QDate NoDate(1752, 9, 14);

} // namespace

CDateTimeCtrl::CDateTimeCtrl(bool showNone, QWidget *parent)
    : QDateEdit(QDate::currentDate(), parent), m_bShowNone(showNone)
{
    setDisplayFormat(u"yyyy-MM-dd"_s);
    setCalendarPopup(true);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (showNone) {
        setMinimumDate(NoDate);
        setSpecialValueText(u" "_s);
    } else {
        setMinimumDate(NoDate.addDays(1));
    }
    m_lastDate = date();
    // An empty editor's calendar would open on its stand-in date in 1752: show this month.
    calendarWidget()->installEventFilter(this);
    // Enter re-reads the text and reports the same date again; only real changes count.
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate &value) {
        if (value == m_lastDate)
            return;
        m_lastDate = value;
        Q_EMIT dateTimeChange();
    });
}

QDate CDateTimeCtrl::GetDate() const
{
    return m_bShowNone && date() == NoDate ? QDate() : date();
}

void CDateTimeCtrl::SetDate(const QDate &value)
{
    if (value.isValid() && value > NoDate)
        setDate(value);
    else if (m_bShowNone)
        setDate(NoDate);
}

bool CDateTimeCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == calendarWidget() && event->type() == QEvent::Show && IsEmpty()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    return QDateEdit::eventFilter(watched, event);
}

void CDateTimeCtrl::keyPressEvent(QKeyEvent *event)
{
    if (m_bShowNone) {
        if (event->key() == Qt::Key_Delete) {
            setDate(NoDate);
            event->accept();
            return;
        }
        const bool changes = !event->text().trimmed().isEmpty() || event->key() == Qt::Key_Up
            || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp
            || event->key() == Qt::Key_PageDown;
        if (IsEmpty() && changes) {
            setDate(QDate::currentDate());
            setSelectedSection(QDateTimeEdit::YearSection);
            // Up and Down only bring the date back; typed digits go on into it.
            if (event->text().trimmed().isEmpty()) {
                event->accept();
                return;
            }
        }
    }
    QDateEdit::keyPressEvent(event);
}
