#pragma once

#include "platform/common/result.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <QVector>

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

// Every definition, ordered by Ord and ID so that the alert and the manager list them alike.
// False (the array emptied) when the table cannot be read.
bool LoadWakeupItems(QVector<tagWAKEUPITEM> &items);

// " WHERE …" over the person FROM clause (BuildPsnFromClause without the photo join) with the
// values to bind. The date window holds the persons whose date lies after `today` and no
// later than `today` + BefDays days, whole dates compared; the dates come from the program's
// clock, not the server's. False when the definition has no usable condition: an empty custom
// condition, or a table and column that are not a date item of a person table; a failure when
// the metadata cannot be read.
vantrel::Result<bool> BuildWakeupCondition(const tagWAKEUPITEM &item, const QDate &today,
                                           QString *where, QVariantList *values);

// How many persons the definition finds on `today`, counting every person (no department
// or category scope); -1 when it has no usable condition or its query fails.
int CountWakeupPersons(const tagWAKEUPITEM &item, const QDate &today = QDate::currentDate());

// Whether any definition finds at least one person today. A count that fails counts as 0;
// false when the definitions cannot be read. Reads theDatabase; shows nothing.
bool IsAnyReminderDue();
