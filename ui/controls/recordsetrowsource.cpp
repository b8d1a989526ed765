#include "ui/controls/recordsetrowsource.h"

#include "core/db/cadorecordset.h"

#include <algorithm>
#include <numeric>

using namespace vantrel::db;

RecordsetRowSource::RecordsetRowSource(CADORecordset *recordset, const QString &keyField)
    : m_pRecordset(recordset)
    , m_nKeyField(keyField.isEmpty() ? -1 : recordset->GetFieldIndex(keyField))
{
}

int RecordsetRowSource::rowCount() const
{
    return int(m_pRecordset->GetRecordCount());
}

int RecordsetRowSource::fieldCount() const
{
    return int(m_pRecordset->GetFieldCount());
}

QString RecordsetRowSource::fieldName(int field) const
{
    return m_pRecordset->GetFieldName(field);
}

FieldKind RecordsetRowSource::fieldKind(int field) const
{
    return m_pRecordset->GetFieldKind(field);
}

QVariant RecordsetRowSource::value(int record, int field)
{
    QVariant value;
    if (m_pRecordset->SetAbsolutePosition(record))
        m_pRecordset->GetFieldValueVariant(field, value);
    return value;
}

GridRecordRef RecordsetRowSource::recordRef(int record)
{
    GridRecordRef ref { m_pRecordset, record, {} };
    if (m_nKeyField >= 0)
        ref.key = value(record, m_nKeyField);
    return ref;
}

void RecordsetRowSource::refresh(int record)
{
    // The recordset's row already holds what was written.
    Q_UNUSED(record);
}

QVector<int> RecordsetRowSource::sortedOrder(int field, bool ascending)
{
    const int count = rowCount();
    QVector<QVariant> keys(count);
    for (int record = 0; record < count; ++record)
        keys[record] = value(record, field);
    QVector<int> records(count);
    std::iota(records.begin(), records.end(), 0);
    if (ascending)
        std::stable_sort(records.begin(), records.end(),
                         [&](int a, int b) { return lessThan(keys.at(a), keys.at(b)); });
    else
        std::stable_sort(records.begin(), records.end(),
                         [&](int a, int b) { return lessThan(keys.at(b), keys.at(a)); });
    return records;
}

bool RecordsetRowSource::lessThan(const QVariant &a, const QVariant &b)
{
    const bool nullA = !a.isValid() || a.isNull();
    const bool nullB = !b.isValid() || b.isNull();
    if (nullA || nullB)
        return nullA && !nullB;
    return QVariant::compare(a, b) == QPartialOrdering::Less;
}

int RecordsetRowSource::recordOfKey(const QVariant &key)
{
    if (m_nKeyField < 0)
        return -1;
    const QString wanted = key.toString();
    for (int record = 0; record < rowCount(); ++record) {
        if (value(record, m_nKeyField).toString() == wanted)
            return record;
    }
    return -1;
}
