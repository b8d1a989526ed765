#pragma once

#include <QDateEdit>

// The date editor of the entry forms. One that may be empty (showNone) shows no date after
// Delete and takes today's date again at the first key that changes it; one that may not is
// never empty: an unfinished edit falls back to the last whole date.
class CDateTimeCtrl : public QDateEdit
{
    Q_OBJECT

public:
    explicit CDateTimeCtrl(bool showNone, QWidget *parent = nullptr);

    bool ShowsNone() const { return m_bShowNone; }
    // Null while empty.
    QDate GetDate() const;
    // A null date empties an editor that may be empty and is ignored by one that may not.
    void SetDate(const QDate &date);
    bool IsEmpty() const { return GetDate().isNull(); }

Q_SIGNALS:
    // The shown date changed, emptied included.
    void dateTimeChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_bShowNone;
    QDate m_lastDate;
};
