#include "platform/reportengine/datasource.h"

#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"

using namespace Qt::StringLiterals;

namespace vantrel::report {

DataConnections::DataConnections() = default;

DataConnections::~DataConnections()
{
    closeAll();
}

void DataConnections::closeAll()
{
    for (const auto &connections : std::as_const(m_pool)) {
        for (const auto &db : connections)
            db->Close();
    }
    m_pool.clear();
}

Result<std::shared_ptr<CADODatabase>> DataConnections::acquire(const QString &connectionString)
{
    std::vector<std::shared_ptr<CADODatabase>> &connections = m_pool[connectionString];
    // Held by nobody but the pool: no cursor reads on it.
    for (const auto &db : connections) {
        if (db.use_count() == 1)
            return db;
    }
    auto db = std::make_shared<CADODatabase>();
    if (!db->Open(connectionString))
        return Result<std::shared_ptr<CADODatabase>>::failure(
            u"The report's database cannot be opened: "_s + db->GetLastErrorString());
    connections.push_back(db);
    return db;
}

namespace {

QString describe(const db::ErrorInfo &error)
{
    return error.description.isEmpty() ? error.meaning : error.description;
}

} // namespace

DataCursor::~DataCursor()
{
    close();
}

Result<void> DataCursor::open(DataConnections &connections, const QString &connectionString,
                              const QString &source)
{
    close();
    if (source.trimmed().isEmpty())
        return Result<void>::failure(u"The data control has no record source."_s);
    auto db = connections.acquire(connectionString);
    if (!db)
        return Result<void>::failure(db.error());
    db::ErrorInfo error;
    std::unique_ptr<db::RowCursor> rows = db.value()->openReadOnlyCursor(source, {}, &error);
    if (!rows)
        return Result<void>::failure(describe(error));
    m_connections = &connections;
    m_connectionString = connectionString;
    m_source = source;
    m_db = std::move(db.value());
    m_rows = std::move(rows);
    m_fields = m_rows->fields();
    m_error.clear();
    m_open = true;
    m_row = -1;
    scriptRow = 0;
    if (!m_rows->isEof() && !next()) {
        const QString why = m_error;
        close();
        return Result<void>::failure(why);
    }
    return {};
}

void DataCursor::close()
{
    m_rows.reset();
    m_script.reset();
    m_db.reset();
    m_scriptDb.reset();
    m_current.clear();
    m_row = -1;
    m_open = false;
}

int DataCursor::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool DataCursor::failWith(const db::ErrorInfo &error)
{
    m_error = describe(error);
    return false;
}

bool DataCursor::hasNext() const
{
    return m_rows && !m_rows->isEof();
}

QVariant DataCursor::nextValue(int column) const
{
    return hasNext() ? m_rows->value(column) : QVariant();
}

bool DataCursor::next()
{
    if (!hasNext())
        return false;
    m_current.resize(m_fields.size());
    for (int c = 0; c < m_fields.size(); ++c)
        m_current[c] = m_rows->value(c);
    ++m_row;
    return m_rows->moveNext() || failWith(m_rows->error());
}

bool DataCursor::seekScript(int row)
{
    if (row < 0 || !m_connections)
        return false;
    if (!m_script || m_script->position() > row) {
        if (m_script) {
            if (!m_script->moveFirst())
                return failWith(m_script->error());
        } else {
            auto db = m_connections->acquire(m_connectionString);
            if (!db) {
                m_error = db.error();
                return false;
            }
            db::ErrorInfo error;
            m_script = db.value()->openReadOnlyCursor(m_source, {}, &error);
            if (!m_script)
                return failWith(error);
            m_scriptDb = std::move(db.value());
        }
    }
    while (m_script->position() < row && !m_script->isEof()) {
        if (!m_script->moveNext())
            return failWith(m_script->error());
    }
    return !m_script->isEof();
}

bool DataCursor::rowExists(int row)
{
    if (row >= 0 && row == m_row)
        return true;
    if (row >= 0 && row == m_row + 1 && hasRow())
        return hasNext();
    return seekScript(row);
}

QVariant DataCursor::valueAt(int row, int column)
{
    if (row >= 0 && row == m_row)
        return value(column);
    if (row >= 0 && row == m_row + 1 && hasRow())
        return nextValue(column);
    return seekScript(row) ? m_script->value(column) : QVariant();
}

int DataCursor::rowCount()
{
    // The run has read them all already, or there are none.
    if (hasRow() && m_rows && !hasNext())
        return m_row + 1;
    if (m_open && !hasRow())
        return 0;
    const int from = qMax(0, m_row);
    if (!seekScript(from))
        return from;
    while (!m_script->isEof()) {
        if (!m_script->moveNext()) {
            failWith(m_script->error());
            break;
        }
    }
    return int(m_script->position());
}

QVector<QVector<QVariant>> DataCursor::rowsFrom(int row)
{
    QVector<QVector<QVariant>> rows;
    if (!seekScript(row))
        return rows;
    while (!m_script->isEof()) {
        QVector<QVariant> values(m_fields.size());
        for (int c = 0; c < m_fields.size(); ++c)
            values[c] = m_script->value(c);
        rows.append(values);
        if (!m_script->moveNext()) {
            failWith(m_script->error());
            break;
        }
    }
    return rows;
}

} // namespace vantrel::report
