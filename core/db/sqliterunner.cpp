#include "core/db/sqliterunner.h"

#include "core/db/boundvalue.h"
#include "core/db/sqldialect.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace vantrel::db::sqlite {

namespace {

const QString source = u"QSQLITE"_s;

ErrorInfo errorOf(sqlite3 *db, int rc)
{
    const auto *message = static_cast<const char16_t *>(sqlite3_errmsg16(db));
    QString text = message ? QString::fromUtf16(message) : QString::fromUtf8(sqlite3_errstr(rc));
    text += u" (%1)"_s.arg(sqlite3_extended_errcode(db));
    const int primary = rc & 0xFF;
    return ErrorInfo::make(primary == SQLITE_ERROR || primary == SQLITE_CONSTRAINT
                                   || primary == SQLITE_MISMATCH || primary == SQLITE_RANGE
                               ? ErrorCode::CommandError
                               : ErrorCode::Failed,
                           text, source);
}

QueryResult failure(const QString &text, quint32 code = ErrorCode::CommandError)
{
    return QueryResult::failure(ErrorInfo::make(code, text, source));
}

class Statement
{
public:
    ~Statement() { sqlite3_finalize(m_stmt); }
    sqlite3_stmt *get() const { return m_stmt; }
    sqlite3_stmt **out() { return &m_stmt; }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// True when nothing but blanks, ';' and comments follows the first statement.
bool onlyTrailingNoise(QStringView rest)
{
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QChar c = rest.at(i);
        if (c.isSpace() || c == u';')
            continue;
        if (c == u'-' && i + 1 < rest.size() && rest.at(i + 1) == u'-') {
            const qsizetype end = rest.indexOf(u'\n', i);
            if (end < 0)
                return true;
            i = end;
            continue;
        }
        if (c == u'/' && i + 1 < rest.size() && rest.at(i + 1) == u'*') {
            const qsizetype end = rest.indexOf(u"*/", i + 2);
            if (end < 0)
                return true;
            i = end + 1;
            continue;
        }
        return false;
    }
    return true;
}

QueryResult prepare(sqlite3 *db, const QString &sql, Statement &statement)
{
    const void *tail = nullptr;
    const int rc
        = sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * 2), statement.out(), &tail);
    if (rc != SQLITE_OK)
        return QueryResult::failure(errorOf(db, rc));
    const auto *end = static_cast<const char16_t *>(tail);
    if (end) {
        const qsizetype used = end - reinterpret_cast<const char16_t *>(sql.utf16());
        if (!onlyTrailingNoise(QStringView(sql).mid(used)))
            return failure(u"Only one statement can run at a time."_s);
    }
    QueryResult ok;
    ok.ok = true;
    return ok;
}

QString timeText(const QTime &time)
{
    return time.toString(time.msec() ? u"HH:mm:ss.zzz" : u"HH:mm:ss");
}

QueryResult bind(sqlite3 *db, sqlite3_stmt *stmt, const QVariantList &values)
{
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != values.size())
        return failure(placeholderCountMessage(expected, values.size()),
                       ErrorCode::InvalidArgument);
    for (int i = 0; i < values.size(); ++i) {
        const Result<BoundValue> value = BoundValue::from(values.at(i));
        if (!value)
            return failure(value.error(), ErrorCode::InvalidArgument);
        const int index = i + 1;
        int rc = SQLITE_OK;
        switch (value->kind) {
        case BoundKind::Null:
            rc = sqlite3_bind_null(stmt, index);
            break;
        case BoundKind::Integer:
            rc = sqlite3_bind_int64(stmt, index, value->integer);
            break;
        case BoundKind::Double:
            rc = sqlite3_bind_double(stmt, index, value->number);
            break;
        case BoundKind::Text:
            rc = sqlite3_bind_text16(stmt, index, value->text.utf16(), int(value->text.size() * 2),
                                     SQLITE_TRANSIENT);
            break;
        case BoundKind::Bytes:
            rc = value->bytes.isEmpty()
                ? sqlite3_bind_zeroblob(stmt, index, 0)
                : sqlite3_bind_blob64(stmt, index, value->bytes.constData(),
                                      sqlite3_uint64(value->bytes.size()), SQLITE_TRANSIENT);
            break;
        case BoundKind::Date:
        case BoundKind::DateTime: {
            // Dates live as canonical local-time text in the file.
            const QString text = SqlDialect::dateTimeText(QDateTime(value->date, value->time));
            rc = sqlite3_bind_text16(stmt, index, text.utf16(), int(text.size() * 2),
                                     SQLITE_TRANSIENT);
            break;
        }
        case BoundKind::Time: {
            const QString text = timeText(value->time);
            rc = sqlite3_bind_text16(stmt, index, text.utf16(), int(text.size() * 2),
                                     SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK)
            return QueryResult::failure(errorOf(db, rc));
    }
    QueryResult ok;
    ok.ok = true;
    return ok;
}

int declaredSize(const QString &declared)
{
    const qsizetype open = declared.indexOf(u'(');
    const qsizetype close = declared.indexOf(u')', open + 1);
    if (open < 0 || close < 0)
        return -1;
    bool ok = false;
    const int size
        = declared.mid(open + 1, close - open - 1).split(u',').first().trimmed().toInt(&ok);
    return ok ? size : -1;
}

QString columnText(const void *text)
{
    return text ? QString::fromUtf16(static_cast<const char16_t *>(text)) : QString();
}

void describeColumns(sqlite3_stmt *stmt, RowSet &rows)
{
    const int count = sqlite3_column_count(stmt);
    for (int c = 0; c < count; ++c) {
        FieldDef field;
        field.name = columnText(sqlite3_column_name16(stmt, c));
        const QString declared = columnText(sqlite3_column_decltype16(stmt, c));
        field.kind = SqlDialect::kindFromDeclaredType(declared);
        // SQLite keeps every integer in 64 bits; a column declared BIGINT says so itself.
        field.table = columnText(sqlite3_column_table_name16(stmt, c));
        field.definedSize = declaredSize(declared);
        rows.addColumn(field);
    }
}

void readRow(sqlite3_stmt *stmt, RowSet &rows)
{
    const int count = rows.columnCount();
    for (int c = 0; c < count; ++c) {
        ColumnStore &column = rows.column(c);
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
            column.appendInteger(sqlite3_column_int64(stmt, c));
            break;
        case SQLITE_FLOAT:
            column.appendDouble(sqlite3_column_double(stmt, c));
            break;
        case SQLITE_TEXT: {
            // UTF-8 as stored: no conversion buffer inside SQLite for every cell.
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            const int bytes = sqlite3_column_bytes(stmt, c);
            column.appendUtf8(text ? text : "", bytes);
            break;
        }
        case SQLITE_BLOB: {
            const auto *blob = static_cast<const char *>(sqlite3_column_blob(stmt, c));
            const int bytes = sqlite3_column_bytes(stmt, c);
            column.appendBytes(blob ? blob : "", bytes);
            break;
        }
        default:
            column.appendNull();
            break;
        }
    }
    rows.rowAppended();
}

// Steps the statement to its end; rows go into result when it returns any.
void step(sqlite3 *db, sqlite3_stmt *stmt, QueryResult &result)
{
    result.returnsRows = sqlite3_column_count(stmt) > 0;
    if (result.returnsRows)
        describeColumns(stmt, result.rows);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (result.returnsRows)
            readRow(stmt, result.rows);
    }
    if (rc != SQLITE_DONE) {
        result = QueryResult::failure(errorOf(db, rc));
        return;
    }
    result.rows.finish();
    // A reading statement leaves sqlite3_changes at the last write's count.
    result.rowsAffected = sqlite3_stmt_readonly(stmt) ? 0 : sqlite3_changes64(db);
    result.ok = true;
}

} // namespace

QueryResult run(sqlite3 *db, const QString &sql, const QVariantList &values)
{
    Statement statement;
    if (QueryResult prepared = prepare(db, sql, statement); !prepared.ok)
        return prepared;
    QueryResult result;
    if (!statement.get()) { // only blanks or comments
        result.ok = true;
        return result;
    }
    if (QueryResult bound = bind(db, statement.get(), values); !bound.ok)
        return bound;
    step(db, statement.get(), result);
    return result;
}

namespace {

class Stream final : public RowStream
{
public:
    explicit Stream(sqlite3 *db) : m_db(db) { }
    Statement statement;

    void describe(RowSet &rows) const override { describeColumns(statement.get(), rows); }
    bool fetch(RowSet &rows, int limit, ErrorInfo *error) override
    {
        for (int n = 0; n < limit && !m_done; ++n) {
            const int rc = sqlite3_step(statement.get());
            if (rc == SQLITE_ROW) {
                readRow(statement.get(), rows);
                continue;
            }
            m_done = true;
            if (rc != SQLITE_DONE) {
                *error = errorOf(m_db, rc);
                return false;
            }
        }
        rows.finish();
        return true;
    }

private:
    sqlite3 *m_db;
    bool m_done = false;
};

} // namespace

std::unique_ptr<RowStream> openStream(sqlite3 *db, const QString &sql, const QVariantList &values,
                                      ErrorInfo *error)
{
    auto stream = std::make_unique<Stream>(db);
    QueryResult result = prepare(db, sql, stream->statement);
    if (result.ok
        && (!stream->statement.get() || sqlite3_column_count(stream->statement.get()) == 0))
        result = failure(u"The statement returns no rows."_s);
    if (result.ok)
        result = bind(db, stream->statement.get(), values);
    if (!result.ok) {
        *error = result.error;
        return nullptr;
    }
    return stream;
}

QueryResult runBatch(sqlite3 *db, const QString &sql, const QVector<QVariantList> &rows)
{
    Statement statement;
    if (QueryResult prepared = prepare(db, sql, statement); !prepared.ok)
        return prepared;
    QueryResult total;
    total.ok = true;
    if (!statement.get())
        return total;
    for (int i = 0; i < rows.size(); ++i) {
        sqlite3_reset(statement.get());
        sqlite3_clear_bindings(statement.get());
        QueryResult result = bind(db, statement.get(), rows.at(i));
        if (result.ok) {
            result = {};
            step(db, statement.get(), result);
        }
        if (!result.ok) {
            result.error.description = u"Row %1: "_s.arg(i + 1) + result.error.description;
            return result;
        }
        total.rowsAffected += result.rowsAffected;
    }
    return total;
}

namespace {

int readOnlyAuthorizer(void *, int action, const char *, const char *, const char *, const char *)
{
    // Writes fail on query_only with its own clear message; these it does not stop.
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_PRAGMA:
        return SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

} // namespace

void setReadOnly(sqlite3 *db, bool on)
{
    sqlite3_set_authorizer(db, on ? readOnlyAuthorizer : nullptr, nullptr);
}

} // namespace vantrel::db::sqlite
