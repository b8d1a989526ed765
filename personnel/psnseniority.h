#pragma once

#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QDate>
#include <QStringList>

class CADODatabase;

namespace vantrel::personnel {

// The counting methods, in the order the dialog lists them (the index is the method).
enum SeniorityMethod { ByMonth = 0, ByDay = 1, ByFullYears = 2, ByNominalYears = 3 };
QStringList SeniorityMethodTexts();

struct BatchSeniority
{
    QDate date;         // the computation date
    QString dateItem;   // column of the date item, as qz_Items names it
    QString numberItem; // column of the number item that receives the years
    int method = ByMonth;
};

// Sets the number item of every person of the scope (the person list's WHERE text) whose date
// is a date from 1900-01-01 on in a year before the computation date's, in one statement:
// the difference of the years, less one by month when the month is not later, by day when
// month and day are not later, plus one for nominal years. Returns the persons changed, or
// the database's text.
Result<int> RunBatchSeniority(CADODatabase &db, const BatchSeniority &run,
                              const SqlCondition &where);

// "人员档案[批量工龄核算：<D>|<date item>|<method>|<number item> (<condition>)]"
QString SeniorityLogText(const QDate &date, const QString &dateAlias, const QString &methodText,
                         const QString &numberAlias, const SqlCondition &where);

} // namespace vantrel::personnel
