#include "core/db/rowcursor.h"

#include "core/db/cadodatabase.h"
#include "core/db/pgrunner.h"
#include "core/db/sqliterunner.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

// Rows read per round: small enough to keep memory flat, large enough that a report pays
// almost nothing for the chunking.
constexpr int ChunkRows = 256;

} // namespace

RowCursor::RowCursor(CADODatabase &db, const QString &sql, const QVariantList &values)
    : m_db(&db), m_sql(sql), m_values(values)
{
}

RowCursor::~RowCursor()
{
    close();
}

int RowCursor::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool RowCursor::isEof() const
{
    return m_chunkRow >= m_chunk.rowCount();
}

QVariant RowCursor::value(int column) const
{
    return m_chunk.value(m_chunkRow, column);
}

bool RowCursor::failWith(const ErrorInfo &error)
{
    m_error = error;
    m_chunk = RowSet();
    m_chunkRow = 0;
    return false;
}

bool RowCursor::start()
{
    CADODatabase &db = *m_db;
    m_error = {};
    m_chunk = RowSet();
    m_chunkRow = 0;
    m_position = 0;
    if (!db.IsOpen() || !db.m_handle)
        return failWith(ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    // The same guard as runReadOnly, held for as long as the statement runs.
    if (!db.BeginTrans())
        return failWith(ErrorInfo::make(db.GetLastError(), db.GetLastErrorString()));
    m_guarded = true;
    const bool sqlite = db.backend() == Backend::Sqlite;
    const QueryResult guard = db.runStatement(
        sqlite ? u"PRAGMA query_only = ON"_s : u"SET LOCAL transaction_read_only = on"_s, {});
    ErrorInfo error = guard.error;
    if (guard.ok) {
        if (sqlite) {
            auto *handle = static_cast<sqlite3 *>(db.m_handle);
            sqlite::setReadOnly(handle, true);
            m_stream = sqlite::openStream(handle, m_sql, m_values, &error);
        } else {
            m_stream
                = postgres::openStream(static_cast<PGconn *>(db.m_handle), m_sql, m_values, &error);
        }
    }
    if (!m_stream) {
        stop();
        return failWith(error);
    }
    db.m_streamingCursor = this;
    m_started = true;
    if (!fetch())
        return false;
    m_fields = m_chunk.fields;
    return true;
}

void RowCursor::stop()
{
    CADODatabase &db = *m_db;
    if (db.m_streamingCursor == this)
        db.m_streamingCursor = nullptr;
    m_stream.reset();
    if (!m_guarded)
        return;
    m_guarded = false;
    if (db.backend() == Backend::Sqlite && db.m_handle) {
        sqlite::setReadOnly(static_cast<sqlite3 *>(db.m_handle), false);
        db.runStatement(u"PRAGMA query_only = OFF"_s, {});
    }
    db.RollbackTrans();
}

bool RowCursor::fetch()
{
    RowSet chunk;
    m_stream->describe(chunk);
    ErrorInfo error;
    if (!m_stream->fetch(chunk, ChunkRows, &error)) {
        stop();
        return failWith(error);
    }
    const bool end = chunk.rowCount() < ChunkRows;
    m_chunk = std::move(chunk);
    m_chunkRow = 0;
    // The connection is free again as soon as the last row is in.
    if (end)
        stop();
    return true;
}

bool RowCursor::moveNext()
{
    if (isEof())
        return m_error.code == 0;
    ++m_position;
    if (++m_chunkRow < m_chunk.rowCount() || !m_stream)
        return true;
    return fetch();
}

bool RowCursor::moveFirst()
{
    if (m_started && m_position == 0 && m_error.code == 0)
        return true;
    stop();
    return start();
}

void RowCursor::close()
{
    stop();
    m_chunk = RowSet();
    m_chunkRow = 0;
    m_started = false;
}

} // namespace vantrel::db
