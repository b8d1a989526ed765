#pragma once

#include "personnel/psnwizard.h"
#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QDate>
#include <QStringList>
#include <QVector>

class CADODatabase;
class CCurrentUser;

namespace vantrel::db {
class SqlDialect;
}

namespace vantrel::personnel {

// One of the two history lists: the rows a change wizard writes, joined to their persons.
struct PsnHistoryKind
{
    const PsnChangeKind &change; // the wizard that adds to it
    QString itemTable;           // its items' TblName: QZ_PSNREDEPLOY, QZ_PSNSORTALTER
    QString title;               // 调动管理, 离职管理
    QString recordWord;          // 调动记录, 离职记录
    int queryType;               // of the advanced search
};

const PsnHistoryKind &TransferHistory();
const PsnHistoryKind &CategoryHistory();

// The list's select list: ID, PID, the person's number, name and sex under the person items'
// aliases, then the history items in Ord order under theirs (aliases quoted). One width per
// column: 20 for the two hidden keys, then the items' widths.
struct HistorySelect
{
    QString columns;
    QVector<int> widths;
};
Result<HistorySelect> BuildHistorySelect(CADODatabase &db, const PsnHistoryKind &kind);

// The operator's department rights as the list's WHERE text (empty for all departments).
SqlCondition HistoryScope(const CCurrentUser &user);
// The quick filter: the person's name (whole, without case) and a range of days, from the
// start of `from` to the end of `to`; one date alone is that day. Empty when nothing is given.
SqlCondition HistoryQuickFilter(const db::SqlDialect &dialect, const PsnHistoryKind &kind,
                                const QString &name, const QDate &from, const QDate &to);
// "… ORDER BY <date> DESC, qz_PsnBase.Ord".
QString HistoryDefaultOrder(const PsnHistoryKind &kind);
// The whole statement over the history table joined to its persons.
QString HistoryQuery(const PsnHistoryKind &kind, const QString &select, const QString &where,
                     const QString &orderBy);

// Deletes the rows by ID, one by one: how many went, and each failure with its id.
struct HistoryDeleteOutcome
{
    int deleted = 0;
    QStringList failures;
};
HistoryDeleteOutcome DeleteHistoryRows(CADODatabase &db, const PsnHistoryKind &kind,
                                       const QVector<int> &ids);

QString HistoryDeleteLogText(const PsnHistoryKind &kind, int count);
QString HistoryExportLogText(const PsnHistoryKind &kind);

} // namespace vantrel::personnel
