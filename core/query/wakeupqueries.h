#pragma once

#include <QString>
#include <QVector>

#include <algorithm>

// One reminder definition of qz_PsnCaseWakeup: a date item of a person table and the days
// ahead to warn of it, or a custom SQL condition instead.
struct tagWAKEUPITEM
{
    int ID = 0;
    QString Title;
    QString WTips;
    QString WTable; // the person table that holds the date item
    QString WField; // the date item's column
    int BefDays = 0;
    bool ISCustom = false;
    QString WCondit; // with ISCustom: a condition over the person query's tables, no WHERE
    int Ord = 0;
};

// A definition with the number of persons it finds: -1 when that cannot be computed (no
// usable condition, or its query failed), shown as "<Error>".
struct tagWAKEUPROW
{
    tagWAKEUPITEM item;
    int count = -1;
};

// Whether any row found at least one person.
inline bool IsAnyReminderDue(const QVector<tagWAKEUPROW> &rows)
{
    return std::any_of(rows.cbegin(), rows.cend(),
                       [](const tagWAKEUPROW &row) { return row.count > 0; });
}
