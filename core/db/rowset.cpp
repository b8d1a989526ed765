#include "core/db/rowset.h"

#include "core/db/cadodatabase.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

namespace vantrel::db {

int RowSet::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RowSet::value(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= rows.at(row).size())
        return {};
    return rows.at(row).at(column);
}

QVariant RowSet::normalise(const QVariant &value, FieldKind kind)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int type = value.typeId();
    switch (kind) {
    case FieldKind::Integer:
        if (type == QMetaType::LongLong || type == QMetaType::ULongLong
            || type == QMetaType::UInt) {
            const qint64 v = value.toLongLong();
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return QVariant(int(v));
        }
        return value;
    case FieldKind::BigInt:
        return type == QMetaType::LongLong ? value : QVariant(value.toLongLong());
    case FieldKind::Double:
        if (type == QMetaType::Double)
            return value;
        if (type == QMetaType::QString) {
            bool ok = false;
            const double d = value.toString().toDouble(&ok);
            return ok ? QVariant(d) : value;
        }
        return QVariant(value.toDouble());
    case FieldKind::DateTime:
        if (type == QMetaType::QDateTime)
            return value;
        if (type == QMetaType::QDate)
            return QVariant(value.toDate().startOfDay());
        if (type == QMetaType::QString) {
            const QDateTime dt = SqlDialect::parseDateTimeText(value.toString());
            return dt.isValid() ? QVariant(dt) : value;
        }
        return value;
    case FieldKind::Boolean:
        return type == QMetaType::Bool ? value : QVariant(value.toLongLong() != 0);
    case FieldKind::Text:
    case FieldKind::Binary:
    case FieldKind::Unknown:
        break;
    }
    if (type == QMetaType::QDate)
        return QVariant(value.toDate().startOfDay());
    return value;
}

namespace {

FieldKind kindOf(CADODatabase &db, const QSqlField &field)
{
    if (db.backend() == Backend::Sqlite) {
        // SQLite reports storage classes; the declared type says what the column holds.
        if (!field.tableName().isEmpty()) {
            const FieldKind declared = SqlDialect::kindFromDeclaredType(
                db.catalog().declaredType(field.tableName(), field.name()));
            if (declared != FieldKind::Unknown)
                return declared;
        }
        return FieldKind::Unknown;
    }
    return SqlDialect::kindFromMetaType(field.metaType().id());
}

// True when every value is a date in the canonical text form (and there is one at least).
bool allDateTexts(const RowSet &set, int column)
{
    bool any = false;
    for (const auto &row : set.rows) {
        const QVariant &v = row.at(column);
        if (!v.isValid() || v.isNull())
            continue;
        if (v.typeId() != QMetaType::QString
            || !SqlDialect::parseDateTimeText(v.toString()).isValid())
            return false;
        any = true;
    }
    return any;
}

// For computed or renamed SQLite columns the values tell what they are; a renamed date
// column is still recognised by its text.
FieldKind kindFromValues(const RowSet &set, int column)
{
    FieldKind kind = FieldKind::Unknown;
    for (const auto &row : set.rows) {
        const QVariant &v = row.at(column);
        if (v.isValid() && !v.isNull()) {
            kind = SqlDialect::kindFromMetaType(v.typeId());
            break;
        }
    }
    if (kind == FieldKind::BigInt)
        return FieldKind::Integer;
    if (kind == FieldKind::Text && !set.fields.at(column).table.isEmpty()
        && allDateTexts(set, column))
        return FieldKind::DateTime;
    return kind;
}

// Qt's SQLite driver drops '"' from column names, so a caption alias such as 应发"工资" would
// lose its quotes; the statement itself still has the name as written.
QString sqliteColumnName(const QSqlQuery &query, int column, const QString &reported)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return reported;
    auto *stmt = *static_cast<sqlite3_stmt *const *>(handle.data());
    const auto *name
        = stmt ? static_cast<const char16_t *>(sqlite3_column_name16(stmt, column)) : nullptr;
    return name ? QString::fromUtf16(name) : reported;
}

} // namespace

RowSet RowSet::fromQuery(CADODatabase &db, QSqlQuery &query)
{
    RowSet set;
    const QSqlRecord record = query.record();
    const int count = record.count();
    set.fields.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QSqlField f = record.field(i);
        const QString name
            = db.backend() == Backend::Sqlite ? sqliteColumnName(query, i, f.name()) : f.name();
        set.fields.push_back(FieldDef { name, kindOf(db, f), f.tableName(), f.length() });
    }
    while (query.next()) {
        QVector<QVariant> row(count);
        for (int i = 0; i < count; ++i)
            row[i] = query.value(i);
        set.rows.push_back(std::move(row));
    }
    for (int i = 0; i < count; ++i) {
        FieldDef &field = set.fields[i];
        if (field.kind == FieldKind::Unknown)
            field.kind = kindFromValues(set, i);
        for (auto &row : set.rows)
            row[i] = normalise(row.at(i), field.kind);
    }
    return set;
}

} // namespace vantrel::db
