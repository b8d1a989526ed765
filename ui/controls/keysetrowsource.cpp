#include "ui/controls/keysetrowsource.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "ui/controls/recordsetrowsource.h"
#include "ui/controls/recordwriter.h"

#include <algorithm>
#include <numeric>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

struct KeysetRowSource::Page
{
    CADORecordset rows;
    QHash<QString, int> positionOfKey;
    quint64 lastUse = 0;

    explicit Page(CADODatabase *connection) : rows(connection) { }
};

KeysetRowSource::KeysetRowSource(CADODatabase *connection) : m_pConnection(connection) { }

KeysetRowSource::~KeysetRowSource() = default;

bool KeysetRowSource::fail(quint32 code, const QString &description)
{
    m_lastError = ErrorInfo::make(code, description);
    return false;
}

bool KeysetRowSource::open(const QString &sql, const QVariantList &values, const QString &keyField)
{
    m_strSql = sql.trimmed();
    while (m_strSql.endsWith(u';'))
        m_strSql.chop(1);
    m_values = values;
    m_strKeyField = keyField;
    m_pages.clear();
    m_lastError = ErrorInfo();
    if (!m_pConnection || !m_pConnection->IsOpen())
        return fail(ErrorCode::ObjectClosed, u"The connection is closed."_s);
    if (!IsSqlIdentifier(keyField))
        return fail(ErrorCode::InvalidArgument,
                    u"'%1' cannot name the key field of the rows."_s.arg(keyField));
    return readKeys() && readFields();
}

QString KeysetRowSource::wrapped(const QString &selectList, const QString &tail) const
{
    return u"SELECT %1 FROM (%2) vt_rows%3"_s.arg(selectList, m_strSql, tail);
}

bool KeysetRowSource::readKeys()
{
    m_keys.clear();
    m_bDuplicateKeys = false;
    const QueryResult keys = m_pConnection->run(
        m_strKeySql.isEmpty() ? wrapped(u"vt_rows."_s + m_strKeyField) : m_strKeySql, m_values);
    if (!keys.ok)
        return fail(keys.error.code, keys.error.description);
    m_recordOfKey.clear();
    m_keys.reserve(keys.rows.rowCount());
    for (int row = 0; row < keys.rows.rowCount(); ++row)
        m_keys.push_back(keys.rows.value(row, 0));
    m_bDuplicateKeys = keysRepeat();
    return true;
}

bool KeysetRowSource::keysRepeat() const
{
    // Whole numbers (the usual ids) compare as numbers; anything else by its text.
    QVector<qint64> numbers;
    numbers.reserve(m_keys.size());
    for (const QVariant &key : m_keys) {
        const int type = key.typeId();
        if (type != QMetaType::Int && type != QMetaType::LongLong && type != QMetaType::UInt
            && type != QMetaType::ULongLong)
            return recordsByKey().size() != m_keys.size();
        numbers.push_back(key.toLongLong());
    }
    std::sort(numbers.begin(), numbers.end());
    return std::adjacent_find(numbers.cbegin(), numbers.cend()) != numbers.cend();
}

int KeysetRowSource::recordOfKey(const QVariant &key)
{
    if (m_recordOfKey.isEmpty() && !m_keys.isEmpty())
        m_recordOfKey = recordsByKey();
    return m_recordOfKey.value(keyText(key), -1);
}

QHash<QString, int> KeysetRowSource::recordsByKey() const
{
    QHash<QString, int> records;
    records.reserve(m_keys.size());
    for (int record = 0; record < m_keys.size(); ++record)
        records.insert(keyText(m_keys.at(record)), record);
    return records;
}

bool KeysetRowSource::readFields()
{
    m_fieldNames.clear();
    m_fieldKinds.clear();
    // The first page tells the fields' kinds from real values; without rows the names must do.
    CADORecordset probe(m_pConnection);
    Page *first = m_keys.isEmpty() ? nullptr : page(0);
    CADORecordset *rows = first ? &first->rows : &probe;
    if (!first && !probe.Open(wrapped(u"*"_s, u" WHERE 1 = 0"_s), m_values))
        return fail(probe.GetLastError(), RecordWriter::lastErrorOf(probe).description);
    if (first && !first->rows.IsOpen())
        return fail(m_lastError.code ? m_lastError.code : ErrorCode::Failed,
                    m_lastError.description);
    for (int i = 0; i < rows->GetFieldCount(); ++i) {
        m_fieldNames << rows->GetFieldName(i);
        m_fieldKinds << rows->GetFieldKind(i);
    }
    return true;
}

KeysetRowSource::Page *KeysetRowSource::page(int index)
{
    if (const auto found = m_pages.constFind(index); found != m_pages.cend()) {
        found.value()->lastUse = ++m_nUse;
        return found.value().get();
    }
    if (m_pages.size() >= KeptPages) {
        const auto oldest
            = std::min_element(m_pages.cbegin(), m_pages.cend(), [](const auto &a, const auto &b) {
                  return a->lastUse < b->lastUse;
              });
        m_pages.erase(oldest);
    }
    auto page = std::make_shared<Page>(m_pConnection);
    page->lastUse = ++m_nUse;
    const int first = index * PageSize;
    const int count = qMin(PageSize, int(m_keys.size()) - first);
    QVariantList values = m_values;
    QStringList marks;
    for (int i = 0; i < count; ++i) {
        values << m_keys.at(first + i);
        marks << u"?"_s;
    }
    const QString sql
        = wrapped(u"*"_s, u" WHERE vt_rows.%1 IN (%2)"_s.arg(m_strKeyField, marks.join(u',')));
    if (count > 0 && page->rows.Open(sql, values)) {
        const int keyField = page->rows.GetFieldIndex(m_strKeyField);
        for (int pos = 0; keyField >= 0 && page->rows.SetAbsolutePosition(pos); ++pos) {
            QVariant key;
            page->rows.GetFieldValueVariant(keyField, key);
            page->positionOfKey.insert(keyText(key), pos);
        }
    } else if (count > 0) {
        // Kept (empty) until refreshed, so a lost connection is not asked again for every cell.
        m_lastError = RecordWriter::lastErrorOf(page->rows);
    }
    m_pages.insert(index, page);
    return page.get();
}

QString KeysetRowSource::keyText(const QVariant &key)
{
    switch (key.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QString::number(key.toLongLong());
    case QMetaType::Double:
        return QString::number(key.toDouble(), 'g', 17);
    default:
        return key.toString();
    }
}

int KeysetRowSource::rowCount() const
{
    return int(m_keys.size());
}

int KeysetRowSource::fieldCount() const
{
    return int(m_fieldNames.size());
}

QString KeysetRowSource::fieldName(int field) const
{
    return m_fieldNames.value(field);
}

FieldKind KeysetRowSource::fieldKind(int field) const
{
    return m_fieldKinds.value(field, FieldKind::Unknown);
}

QVariant KeysetRowSource::value(int record, int field)
{
    const GridRecordRef ref = recordRef(record);
    QVariant value;
    if (ref.recordset && ref.recordset->SetAbsolutePosition(ref.position))
        ref.recordset->GetFieldValueVariant(field, value);
    return value;
}

GridRecordRef KeysetRowSource::recordRef(int record)
{
    if (record < 0 || record >= m_keys.size())
        return {};
    Page *rows = page(record / PageSize);
    const int position = rows->positionOfKey.value(keyText(m_keys.at(record)), -1);
    if (position < 0)
        return { nullptr, -1, m_keys.at(record) };
    return { &rows->rows, position, m_keys.at(record) };
}

void KeysetRowSource::refresh(int record)
{
    m_pages.remove(record / PageSize);
}

QVector<int> KeysetRowSource::sortedOrder(int field, bool ascending)
{
    QVector<int> records(m_keys.size());
    std::iota(records.begin(), records.end(), 0);
    if (field < 0 || field >= m_fieldNames.size())
        return records;
    // One column of every row, sorted here so that ties keep the query's order and empty
    // values sort as in every other grid.
    QVector<QVariant> values(m_keys.size());
    const QString columns
        = u"vt_rows.%1, vt_rows.%2"_s.arg(m_strKeyField, QuoteCaption(m_fieldNames.at(field)));
    const QueryResult column = m_pConnection->run(wrapped(columns), m_values);
    if (!column.ok)
        return records;
    // The query gives its rows in the order their keys were read, unless another user changed
    // the rows meanwhile; only then are keys looked up.
    QHash<QString, int> recordOfKey;
    for (int row = 0; row < column.rows.rowCount(); ++row) {
        const QVariant key = column.rows.value(row, 0);
        int record = row;
        if (row >= m_keys.size() || m_keys.at(row) != key) {
            if (recordOfKey.isEmpty())
                recordOfKey = recordsByKey();
            record = recordOfKey.value(keyText(key), -1);
        }
        if (record >= 0)
            values[record] = column.rows.value(row, 1);
    }
    const auto less = [&](int a, int b) {
        return ascending ? RecordsetRowSource::lessThan(values.at(a), values.at(b))
                         : RecordsetRowSource::lessThan(values.at(b), values.at(a));
    };
    std::stable_sort(records.begin(), records.end(), less);
    return records;
}
