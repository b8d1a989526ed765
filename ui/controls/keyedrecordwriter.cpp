#include "ui/controls/keyedrecordwriter.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

KeyedRecordWriter::KeyedRecordWriter(CADODatabase *connection, const QString &table,
                                     const QString &keyColumn,
                                     const QHash<QString, QString> &columnOfField)
    : m_pConnection(connection), m_strTable(table), m_strKeyColumn(keyColumn)
{
    for (auto it = columnOfField.cbegin(); it != columnOfField.cend(); ++it)
        m_columnOfField.insert(it.key().toLower(), it.value());
}

QString KeyedRecordWriter::columnOf(const QString &fieldName) const
{
    return m_columnOfField.value(fieldName.toLower(), fieldName);
}

ErrorInfo KeyedRecordWriter::WriteField(const GridRecordRef &record, int field,
                                        const QVariant &value)
{
    if (!record.recordset || !record.recordset->SetAbsolutePosition(record.position))
        return ErrorInfo::make(ErrorCode::RowConflict, u"The row was deleted by another user."_s);
    if (!record.key.isValid())
        return ErrorInfo::make(ErrorCode::NotUpdatable, u"The grid has no key field."_s);
    const QString column = columnOf(record.recordset->GetFieldName(field));
    if (!IsSqlIdentifier(m_strTable) || !IsSqlIdentifier(m_strKeyColumn)
        || !IsSqlIdentifier(column))
        return ErrorInfo::make(ErrorCode::NotUpdatable,
                               u"The field '%1' cannot be written."_s.arg(column));
    if (!m_pConnection || !m_pConnection->IsOpen())
        return ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s);

    QVariant before;
    record.recordset->GetFieldValueVariant(field, before);
    const SqlDialect &dialect = m_pConnection->dialect();
    QString sql
        = u"UPDATE %1 SET %2 = ? WHERE %3 = ? AND "_s.arg(m_strTable, column, m_strKeyColumn);
    QVariantList values { value, record.key };
    if (!before.isValid() || before.isNull()) {
        sql += column + u" IS NULL"_s;
    } else {
        sql += dialect.equalsPlaceholder(column, record.recordset->GetFieldKind(field));
        values << before;
    }
    const QueryResult updated = m_pConnection->run(sql, values);
    if (!updated.ok)
        return updated.error;
    if (updated.rowsAffected == 0)
        return ErrorInfo::make(ErrorCode::RowConflict,
                               u"The row was changed or deleted by another user."_s);
    return {};
}
