// The writing side of CADORecordset: new rows, edits and deletions written back to the
// single table the rows come from, found by its key.

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/recordsetdata.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

bool CADORecordset::requireWritable()
{
    if (!m_data->table.isEmpty())
        return true;
    StoreError(ErrorInfo::make(ErrorCode::NotUpdatable,
                               u"The rows do not come from one table with a key, so changes "
                               "cannot be written back."_s));
    return false;
}

bool CADORecordset::AddNew()
{
    if (m_editStatus != dbEditNone && !Update())
        return false;
    if (!m_data->open)
        return false;
    Data &d = *m_data;
    d.visible.push_back(d.set.appendRow());
    d.pos = int(d.visible.size()) - 1;
    d.original.clear();
    d.changed = QVector<bool>(d.set.fields.size(), false);
    d.chunked = d.changed;
    m_editStatus = dbEditNew;
    return true;
}

void CADORecordset::Edit()
{
    Data &d = *m_data;
    const int row = currentRow();
    if (row < 0)
        return;
    if (m_editStatus == dbEditNone) {
        d.original = d.set.row(row);
        d.changed = QVector<bool>(d.set.fields.size(), false);
        d.chunked = d.changed;
    }
    if (m_editStatus != dbEditNew)
        m_editStatus = dbEditInProgress;
}

void CADORecordset::CancelUpdate()
{
    Data &d = *m_data;
    const int row = currentRow();
    if (m_editStatus == dbEditNew && row >= 0) {
        d.set.removeRow(row);
        d.visible.remove(d.pos);
        for (int &v : d.visible) {
            if (v > row)
                --v;
        }
        d.pos = qMin(d.pos, int(d.visible.size()));
    } else if (m_editStatus == dbEditInProgress && row >= 0 && !d.original.isEmpty()) {
        d.set.setRow(row, d.original);
    }
    d.original.clear();
    d.changed.clear();
    d.chunked.clear();
    m_editStatus = dbEditNone;
}

bool CADORecordset::putFieldValue(int index, const QVariant &value)
{
    if (m_editStatus == dbEditNone) {
        StoreError(ErrorInfo::make(ErrorCode::NotUpdatable,
                                   u"Call AddNew or Edit before setting a value."_s));
        return false;
    }
    const int row = currentRow();
    if (row < 0 || index < 0 || index >= m_data->set.fields.size()) {
        StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                   u"Field index %1 is out of range."_s.arg(index)));
        return false;
    }
    Data &d = *m_data;
    if (d.baseColumns.value(index).isEmpty() && !d.table.isEmpty()) {
        StoreError(ErrorInfo::make(ErrorCode::NotUpdatable,
                                   u"The field '%1' is computed and cannot be written."_s.arg(
                                       d.set.fields.at(index).name)));
        return false;
    }
    d.set.setValue(row, index, value);
    d.changed[index] = true;
    return true;
}

bool CADORecordset::SetFieldValueVariant(int index, const QVariant &value)
{
    return putFieldValue(index, value);
}

bool CADORecordset::SetFieldValueVariantByName(const QString &name, const QVariant &value)
{
    const int index = indexOf(name);
    return index >= 0 && putFieldValue(index, value);
}

bool CADORecordset::SetFieldValueText(int index, const QString &value)
{
    return putFieldValue(index, value.isEmpty() ? QVariant() : QVariant(value));
}

bool CADORecordset::SetFieldValueTextByName(const QString &name, const QString &value)
{
    return SetFieldValueVariantByName(name, value.isEmpty() ? QVariant() : QVariant(value));
}

bool CADORecordset::SetFieldValueInt(int index, int value)
{
    return putFieldValue(index, value);
}

bool CADORecordset::SetFieldValueIntByName(const QString &name, int value)
{
    return SetFieldValueVariantByName(name, value);
}

bool CADORecordset::SetFieldValueDateByName(const QString &name, const QDateTime &value)
{
    return SetFieldValueVariantByName(name, value.isValid() ? QVariant(value) : QVariant());
}

bool CADORecordset::AppendChunkByName(const QString &name, const QByteArray &bytes)
{
    const int index = indexOf(name);
    return index >= 0 && AppendChunk(index, bytes);
}

bool CADORecordset::AppendChunk(int index, const QByteArray &bytes)
{
    const int row = currentRow();
    if (row < 0 || index < 0 || index >= m_data->set.fields.size() || m_editStatus == dbEditNone) {
        StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                   u"There is no pending row to append to."_s));
        return false;
    }
    // The first chunk of an edit replaces the stored value, the next ones extend it.
    QByteArray value
        = m_data->chunked.value(index) ? m_data->set.value(row, index).toByteArray() : QByteArray();
    value.append(bytes);
    if (!putFieldValue(index, value))
        return false;
    m_data->chunked[index] = true;
    return true;
}

bool CADORecordset::Update()
{
    if (m_editStatus == dbEditNone)
        return true;
    const bool anyChange = std::find(m_data->changed.cbegin(), m_data->changed.cend(), true)
        != m_data->changed.cend();
    bool ok = true;
    if (m_editStatus == dbEditNew)
        ok = requireWritable() && writeNew();
    else if (anyChange)
        ok = requireWritable() && writeChanges();
    if (!ok)
        return false; // the pending values stay for a retry or CancelUpdate
    m_data->original.clear();
    m_data->changed.clear();
    m_data->chunked.clear();
    m_editStatus = dbEditNone;
    return true;
}

bool CADORecordset::writeNew()
{
    Data &d = *m_data;
    const int row = currentRow();
    QStringList columns, marks;
    QVariantList values;
    // The key and every column the rows show come back from the insert itself, so defaults
    // and generated values are in the row after one round trip.
    QStringList returned { d.keyColumn };
    QVector<int> targets;
    for (int i = 0; i < d.set.fields.size(); ++i) {
        if (d.baseColumns.at(i).isEmpty())
            continue;
        returned << d.baseColumns.at(i);
        targets << i;
        if (!d.changed.at(i))
            continue;
        columns << d.baseColumns.at(i);
        marks << u"?"_s;
        values << d.set.value(row, i);
    }
    const QString returning = returned.join(u", "_s);
    const QString sql = columns.isEmpty()
        ? u"INSERT INTO %1 DEFAULT VALUES RETURNING %2"_s.arg(d.table, returning)
        : u"INSERT INTO %1 (%2) VALUES (%3) RETURNING %4"_s.arg(d.table, columns.join(u", "_s),
                                                                marks.join(u", "_s), returning);
    const QueryResult inserted = m_db->run(sql, values);
    if (!inserted.ok || !inserted.hasRow()) {
        StoreError(inserted.ok
                       ? ErrorInfo::make(ErrorCode::Failed, u"The insert returned no row."_s)
                       : inserted.error);
        return false;
    }
    d.set.setValue(row, d.keyIndex, inserted.rows.value(0, 0));
    for (int c = 0; c < targets.size(); ++c)
        d.set.setValue(row, targets.at(c), inserted.rows.value(0, c + 1));
    return true;
}

bool CADORecordset::writeChanges()
{
    Data &d = *m_data;
    const int row = currentRow();
    QStringList sets, checks;
    QVariantList values, checkValues;
    checks << d.keyColumn + u" = ?"_s;
    checkValues << d.original.at(d.keyIndex);
    for (int i = 0; i < d.set.fields.size(); ++i) {
        if (!d.changed.at(i))
            continue;
        const QString &column = d.baseColumns.at(i);
        sets << column + u" = ?"_s;
        values << d.set.value(row, i);
        // Optimistic check: the row must still hold what this user read.
        const FieldKind kind = d.set.fields.at(i).kind;
        if (kind == FieldKind::Binary)
            continue;
        if (isNullValue(d.original.at(i))) {
            checks << column + u" IS NULL"_s;
        } else {
            checks << m_db->dialect().equalsPlaceholder(column, kind);
            checkValues << d.original.at(i);
        }
    }
    const QString sql
        = u"UPDATE %1 SET %2 WHERE %3"_s.arg(d.table, sets.join(u", "_s), checks.join(u" AND "_s));
    const QueryResult updated = m_db->run(sql, values + checkValues);
    if (!updated.ok) {
        StoreError(updated.error);
        return false;
    }
    if (updated.rowsAffected == 0) {
        StoreError(ErrorInfo::make(ErrorCode::RowConflict,
                                   u"The row was changed or deleted by another user."_s));
        return false;
    }
    return true;
}

bool CADORecordset::Delete()
{
    if (m_editStatus != dbEditNone)
        CancelUpdate();
    const int row = currentRow();
    if (row < 0) {
        StoreError(ErrorInfo::make(ErrorCode::NoCurrentRecord, u"No current record."_s));
        return false;
    }
    if (!requireWritable())
        return false;
    Data &d = *m_data;
    const QString sql = u"DELETE FROM %1 WHERE %2 = ?"_s.arg(d.table, d.keyColumn);
    const QueryResult deleted = m_db->run(sql, { d.set.value(row, d.keyIndex) });
    if (!deleted.ok) {
        StoreError(deleted.error);
        return false;
    }
    if (deleted.rowsAffected == 0) {
        StoreError(ErrorInfo::make(ErrorCode::RowConflict,
                                   u"The row was already deleted by another user."_s));
        return false;
    }
    d.set.removeRow(row);
    d.visible.remove(d.pos);
    for (int &v : d.visible) {
        if (v > row)
            --v;
    }
    return true;
}
