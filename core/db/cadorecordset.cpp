#include "core/db/cadorecordset.h"
#include "core/db/sqlidentifier.h"

#include "core/db/recordsetdata.h"

#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/recordsetfilter.h"
#include "core/db/selectstatement.h"
#include "core/db/valuetext.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

const QString hiddenKeyAlias = u"vt_rowkey"_s;

} // namespace

CADORecordset::CADORecordset() : m_data(std::make_shared<Data>()) { }

CADORecordset::CADORecordset(CADODatabase *db) : m_db(db), m_data(std::make_shared<Data>()) { }

CADORecordset::~CADORecordset()
{
    Close();
}

void CADORecordset::StoreError(const ErrorInfo &error)
{
    m_lastError = u"Query = "_s + m_query + u'\n' + error.report("CADORecordset");
    m_lastErrorCode = error.code;
}

bool CADORecordset::IsConnectionOpen() const
{
    return m_db && m_db->IsOpen();
}

bool CADORecordset::IsOpen() const
{
    return m_data->open && IsConnectionOpen();
}

void CADORecordset::Close()
{
    if (!m_data->open)
        return;
    if (m_editStatus != dbEditNone)
        CancelUpdate();
    // Copies share the rows; closing this one leaves theirs alone.
    m_data = std::make_shared<Data>();
}

bool CADORecordset::Open(const QString &source, OpenOption option)
{
    return Open(source, m_db, option);
}

bool CADORecordset::Open(const QString &source, CADODatabase *db, OpenOption option)
{
    Close();
    if (!source.isEmpty()) {
        qsizetype start = 0;
        while (start < source.size() && source.at(start).isSpace())
            ++start;
        m_query = source.mid(start);
        m_values.clear();
    }
    if (!m_db)
        m_db = db;

    switch (option) {
    case OpenOption::Unknown:
    case OpenOption::Query:
        if (IsSqlIdentifier(m_query))
            return openRows(u"SELECT * FROM "_s + m_query, {});
        return openRows(m_query, m_values);
    case OpenOption::Table:
        if (!IsSqlIdentifier(m_query)) {
            StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                       u"'%1' is not a table name."_s.arg(m_query)));
            return false;
        }
        return openRows(u"SELECT * FROM "_s + m_query, {});
    case OpenOption::StoredProc: {
        if (!m_db) {
            StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"No connection."_s));
            return false;
        }
        CADOCommand command(m_db, m_query);
        return Open(command);
    }
    }
    return false;
}

bool CADORecordset::Open(const QString &sql, const QVariantList &values)
{
    Close();
    m_query = sql.trimmed();
    m_values = values;
    return openRows(m_query, m_values);
}

bool CADORecordset::Open(CADOCommand &command)
{
    Close();
    if (!m_db)
        m_db = command.database();
    m_query = command.GetCommandText();
    if (!command.Execute()) {
        StoreError(ErrorInfo::make(command.GetLastError(), command.GetLastErrorString()));
        return false;
    }
    adopt(command.TakeResultSet());
    return true;
}

bool CADORecordset::OpenSchemaTables()
{
    if (!IsConnectionOpen()) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
        return false;
    }
    Close();
    const QString sql = m_db->backend() == Backend::Postgres
        ? u"SELECT table_name AS TABLE_NAME, CASE table_type WHEN 'VIEW' THEN 'VIEW' "
          "ELSE 'TABLE' END AS TABLE_TYPE FROM information_schema.tables "
          "WHERE table_schema = current_schema() ORDER BY 2, 1"_s
        : u"SELECT name AS TABLE_NAME, upper(type) AS TABLE_TYPE FROM sqlite_master "
          "WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
          "ORDER BY 2, 1"_s;
    QueryResult tables = m_db->run(sql);
    if (!tables.ok) {
        StoreError(tables.error);
        return false;
    }
    tables.rows.fields[0].name = u"TABLE_NAME"_s;
    tables.rows.fields[1].name = u"TABLE_TYPE"_s;
    adopt(std::move(tables.rows));
    return true;
}

bool CADORecordset::openRows(const QString &sql, const QVariantList &values)
{
    if (!IsConnectionOpen()) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
        return false;
    }
    const SelectStatement statement = SelectStatement::parse(sql);
    QString key;
    bool hiddenKey = false;
    QString runSql = sql;
    if (statement.isSingleTable() && statement.isUpdatable()) {
        key = m_db->catalog().primaryKey(statement.table());
        if (!key.isEmpty() && !statement.selectsAll()) {
            hiddenKey = std::none_of(statement.items().cbegin(), statement.items().cend(),
                                     [&](const SelectStatement::Item &item) {
                                         return item.column.compare(key, Qt::CaseInsensitive) == 0;
                                     });
            if (hiddenKey)
                runSql = statement.withExtraColumn(key, hiddenKeyAlias);
        }
    }

    QueryResult result = m_db->run(runSql, values);
    if (!result.ok) {
        StoreError(result.error);
        return false;
    }
    const bool returnsRows = result.returnsRows;
    adopt(std::move(result.rows));
    m_data->open = returnsRows;
    if (!returnsRows || key.isEmpty())
        return true;

    Data &d = *m_data;
    if (hiddenKey) {
        d.set.hideLastField(); // the rows keep the key after the visible fields
        d.keyIndex = int(d.set.fields.size());
    }
    d.baseColumns.resize(d.set.fields.size());
    for (int i = 0; i < d.set.fields.size(); ++i) {
        if (statement.selectsAll())
            d.baseColumns[i] = d.set.fields.at(i).name;
        else if (i < statement.items().size())
            d.baseColumns[i] = statement.items().at(i).column;
        if (!hiddenKey && d.keyIndex < 0
            && d.baseColumns.at(i).compare(key, Qt::CaseInsensitive) == 0)
            d.keyIndex = i;
    }
    if (d.keyIndex >= 0) {
        d.table = statement.table();
        d.keyColumn = key;
    }
    return true;
}

void CADORecordset::adopt(RowSet rows)
{
    m_data = std::make_shared<Data>();
    m_data->set = std::move(rows);
    m_data->open = true;
    m_data->visible.resize(m_data->set.rowCount());
    std::iota(m_data->visible.begin(), m_data->visible.end(), 0);
    m_data->pos = 0;
    m_editStatus = dbEditNone;
}

int CADORecordset::currentRow() const
{
    const Data &d = *m_data;
    if (d.pos < 0 || d.pos >= d.visible.size())
        return -1;
    return d.visible.at(d.pos);
}

bool CADORecordset::IsEof() const
{
    return !m_data->open || m_data->pos >= m_data->visible.size();
}

bool CADORecordset::IsBof() const
{
    return !m_data->open || m_data->pos < 0 || m_data->visible.isEmpty();
}

void CADORecordset::MoveNext()
{
    if (m_data->pos < m_data->visible.size())
        ++m_data->pos;
}

void CADORecordset::MovePrevious()
{
    if (m_data->pos >= 0)
        --m_data->pos;
}

void CADORecordset::MoveFirst()
{
    m_data->pos = 0;
}

void CADORecordset::MoveLast()
{
    m_data->pos = qMax(0, int(m_data->visible.size()) - 1);
}

long CADORecordset::GetRecordCount() const
{
    return m_data->open ? long(m_data->visible.size()) : 0;
}

long CADORecordset::GetFieldCount() const
{
    return long(m_data->set.fields.size());
}

long CADORecordset::GetAbsolutePosition() const
{
    return currentRow() < 0 ? -1 : m_data->pos;
}

bool CADORecordset::SetAbsolutePosition(long position)
{
    if (position < 0 || position >= m_data->visible.size())
        return false;
    m_data->pos = int(position);
    return true;
}

int CADORecordset::GetFieldIndex(const QString &name) const
{
    return m_data->set.fieldIndex(name);
}

QString CADORecordset::GetFieldName(int index) const
{
    if (index < 0 || index >= m_data->set.fields.size())
        return {};
    return m_data->set.fields.at(index).name;
}

FieldKind CADORecordset::GetFieldKind(int index) const
{
    if (index < 0 || index >= m_data->set.fields.size())
        return FieldKind::Unknown;
    return m_data->set.fields.at(index).kind;
}

int CADORecordset::indexOf(const QString &name)
{
    const int index = m_data->set.fieldIndex(name);
    if (index < 0)
        StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                   u"Item cannot be found in the collection corresponding to "
                                   "the requested name or ordinal: '%1'."_s.arg(name)));
    return index;
}

bool CADORecordset::fieldAt(int index, QVariant *value)
{
    const int row = currentRow();
    if (row < 0) {
        StoreError(ErrorInfo::make(ErrorCode::NoCurrentRecord, u"No current record."_s));
        return false;
    }
    if (index < 0 || index >= m_data->set.fields.size()) {
        StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                   u"Field index %1 is out of range."_s.arg(index)));
        return false;
    }
    *value = m_data->set.value(row, index);
    return true;
}

bool CADORecordset::IsFieldNull(int index) const
{
    const int row = currentRow();
    if (row < 0 || index < 0 || index >= m_data->set.fields.size())
        return true;
    return m_data->set.isNull(row, index);
}

// ---- reading values

bool CADORecordset::GetFieldValueDouble(int index, double &value)
{
    QVariant v;
    if (!fieldAt(index, &v))
        return false;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        value = v.toDouble();
        break;
    case QMetaType::Bool:
        value = v.toBool() ? -1.0 : 0.0;
        break;
    case QMetaType::QString: {
        // SQLite may hold a number as text in a column without a numeric type.
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        value = ok ? d : 0.0;
        break;
    }
    default:
        value = 0.0;
    }
    return true;
}

bool CADORecordset::GetFieldValueInt64(int index, qint64 &value)
{
    QVariant v;
    if (!fieldAt(index, &v))
        return false;
    if (isNullValue(v)) {
        value = 0;
        return true;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        value = v.toLongLong();
        return true;
    case QMetaType::Bool:
        value = v.toBool() ? -1 : 0;
        return true;
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (d < -9.2e18 || d > 9.2e18)
            return false;
        value = qint64(d);
        return true;
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (ok)
            value = n;
        return ok;
    }
    default:
        return false;
    }
}

bool CADORecordset::GetFieldValueInt(int index, int &value)
{
    qint64 wide = 0;
    if (!GetFieldValueInt64(index, wide))
        return false;
    if (wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max()) {
        StoreError(ErrorInfo::make(ErrorCode::Failed,
                                   u"The value %1 does not fit a 32-bit integer."_s.arg(wide)));
        return false;
    }
    value = int(wide);
    return true;
}

bool CADORecordset::GetFieldValueIntByName(const QString &name, int &value)
{
    const int index = indexOf(name);
    return index >= 0 && GetFieldValueInt(index, value);
}

bool CADORecordset::GetFieldValueLong(int index, long &value)
{
    int v = 0;
    if (!GetFieldValueInt(index, v))
        return false;
    value = v;
    return true;
}

bool CADORecordset::GetFieldValueText(int index, QString &value, const QString &dateFormat)
{
    QVariant v;
    return fieldAt(index, &v) && ValueToText(v, dateFormat, value);
}

bool CADORecordset::GetFieldValueTextByName(const QString &name, QString &value,
                                            const QString &dateFormat)
{
    const int index = indexOf(name);
    return index >= 0 && GetFieldValueText(index, value, dateFormat);
}

bool CADORecordset::GetFieldValueDateByName(const QString &name, QDateTime &value)
{
    const int index = indexOf(name);
    QVariant v;
    if (index < 0 || !fieldAt(index, &v))
        return false;
    if (isNullValue(v)) {
        value = QDateTime();
        return true;
    }
    if (v.typeId() == QMetaType::QDateTime) {
        value = v.toDateTime();
        return true;
    }
    if (v.typeId() == QMetaType::QString) {
        const QDateTime dt = SqlDialect::parseDateTimeText(v.toString());
        if (dt.isValid()) {
            value = dt;
            return true;
        }
    }
    return false;
}

bool CADORecordset::GetFieldValueBool(int index, bool &value)
{
    QVariant v;
    if (!fieldAt(index, &v))
        return false;
    if (isNullValue(v)) {
        value = false;
        return true;
    }
    // Flags are integer columns holding 0 or 1.
    if (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Int
        || v.typeId() == QMetaType::LongLong) {
        value = v.toLongLong() != 0;
        return true;
    }
    return false;
}

bool CADORecordset::GetFieldValueVariant(int index, QVariant &value)
{
    value = QVariant();
    return fieldAt(index, &value);
}

bool CADORecordset::GetFieldValueVariantByName(const QString &name, QVariant &value)
{
    value = QVariant();
    const int index = indexOf(name);
    return index >= 0 && fieldAt(index, &value);
}

namespace {

short adoTypeOf(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return 3; // adInteger
    case FieldKind::BigInt:
        return 20; // adBigInt
    case FieldKind::Double:
        return 5; // adDouble
    case FieldKind::Text:
        return 202; // adVarWChar
    case FieldKind::DateTime:
        return 135; // adDBTimeStamp
    case FieldKind::Boolean:
        return 11; // adBoolean
    case FieldKind::Binary:
        return 205; // adLongVarBinary
    case FieldKind::Unknown:
        break;
    }
    return 0; // adEmpty
}

long byteSize(const QVariant &v)
{
    if (isNullValue(v))
        return 0;
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        return long(v.toByteArray().size());
    case QMetaType::QString:
        return long(v.toString().size() * 2);
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::QDateTime:
        return 8;
    case QMetaType::Bool:
        return 2;
    default:
        return 4;
    }
}

} // namespace

bool CADORecordset::GetFieldInfo(int index, tagADOFIELDINFO *info) const
{
    if (!info || index < 0 || index >= m_data->set.fields.size())
        return false;
    const FieldDef &field = m_data->set.fields.at(index);
    *info = tagADOFIELDINFO();
    info->m_strName = field.name.left(29);
    info->m_nType = adoTypeOf(field.kind);
    info->m_lDefinedSize = field.definedSize;
    const int row = currentRow();
    if (row >= 0)
        info->m_lSize = byteSize(m_data->set.value(row, index));
    return true;
}

long CADORecordset::GetFieldSizeByName(const QString &name) const
{
    const int index = m_data->set.fieldIndex(name);
    const int row = currentRow();
    if (index < 0 || row < 0)
        return 0;
    return byteSize(m_data->set.value(row, index));
}

bool CADORecordset::SetFilter(const QString &criteria)
{
    Data &d = *m_data;
    if (!d.open) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The recordset is closed."_s));
        return false;
    }
    d.visible.clear();
    if (criteria.trimmed().isEmpty()) {
        d.visible.resize(d.set.rowCount());
        std::iota(d.visible.begin(), d.visible.end(), 0);
    } else {
        const auto filter = RecordsetFilter::parse(criteria, d.set);
        if (!filter) {
            StoreError(ErrorInfo::make(ErrorCode::InvalidArgument, filter.error()));
            d.visible.resize(d.set.rowCount());
            std::iota(d.visible.begin(), d.visible.end(), 0);
            return false;
        }
        for (int i = 0; i < d.set.rowCount(); ++i) {
            if (filter->matches(d.set, i))
                d.visible.push_back(i);
        }
    }
    d.pos = 0;
    return true;
}
