#pragma once

#include "core/db/sqldialect.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariant>
#include <QVector>

class CADODatabase;
class QSqlQuery;

namespace vantrel::db {

// A database NULL as the rows hold it: an invalid or null QVariant.
inline bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

struct FieldDef
{
    QString name; // as the statement names it (alias or column)
    FieldKind kind = FieldKind::Unknown;
    QString table; // the table the value comes from, when the driver tells
    int definedSize = -1;
};

// A result held in memory: its fields and every row, values normalised to one
// representation on both backends (NULL is an invalid QVariant, dates QDateTime,
// flags and counts integers, booleans bool).
struct RowSet
{
    QVector<FieldDef> fields;
    QVector<QVector<QVariant>> rows;

    int fieldIndex(const QString &name) const; // case-insensitive, -1 when absent
    int rowCount() const { return int(rows.size()); }
    // The value at a row and column; an invalid QVariant for NULL or out of range.
    QVariant value(int row, int column) const;

    // Reads every remaining row of an executed query.
    static RowSet fromQuery(CADODatabase &db, QSqlQuery &query);
    static QVariant normalise(const QVariant &value, FieldKind kind);
};

} // namespace vantrel::db
