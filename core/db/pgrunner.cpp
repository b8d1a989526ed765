#include "core/db/pgrunner.h"

#include "core/db/boundvalue.h"
#include "core/db/sqldialect.h"

#include <libpq-fe.h>

#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace vantrel::db::postgres {

namespace {

const QString source = u"QPSQL"_s;

// Type ids of the built-in types (pg_type.oid); they never change.
namespace TypeId {
constexpr Oid Unknown = 0; // let the server read the value as the column's type
constexpr Oid Bool = 16;
constexpr Oid Bytea = 17;
constexpr Oid Int8 = 20;
constexpr Oid Int2 = 21;
constexpr Oid Int4 = 23;
constexpr Oid ObjectId = 26;
constexpr Oid Float4 = 700;
constexpr Oid Float8 = 701;
constexpr Oid Date = 1082;
constexpr Oid Time = 1083;
constexpr Oid Timestamp = 1114;
constexpr Oid TimestampTz = 1184;
constexpr Oid Numeric = 1700;
} // namespace TypeId

struct ResultDeleter
{
    void operator()(PGresult *r) const { PQclear(r); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

ErrorInfo errorOf(PGconn *conn, const PGresult *result)
{
    QString text;
    if (result) {
        text = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
        if (const char *state = PQresultErrorField(result, PG_DIAG_SQLSTATE))
            text += u" (%1)"_s.arg(QString::fromLatin1(state));
        // "Key (Number)=(007) already exists.": which row a user has to correct.
        if (const char *detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
            text += u'\n' + QString::fromUtf8(detail);
    }
    if (text.trimmed().isEmpty())
        text = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    const bool lost = PQstatus(conn) != CONNECTION_OK;
    return ErrorInfo::make(lost ? ErrorCode::Failed : ErrorCode::CommandError, text, source);
}

QueryResult failure(const QString &text, quint32 code = ErrorCode::InvalidArgument)
{
    return QueryResult::failure(ErrorInfo::make(code, text, source));
}

// "$1" for each '?' of the statement.
QByteArray numbered(const QString &sql, const QVector<qsizetype> &positions)
{
    QString out;
    out.reserve(sql.size() + positions.size() * 2);
    qsizetype from = 0;
    for (int i = 0; i < positions.size(); ++i) {
        out += QStringView(sql).mid(from, positions.at(i) - from);
        out += u'$' + QString::number(i + 1);
        from = positions.at(i) + 1;
    }
    out += QStringView(sql).mid(from);
    return out.toUtf8();
}

// "2024-03-01", "0044-03-15 BC" (Qt counts 1 BC as year -1, as PostgreSQL's text does), with
// the time of day when there is one.
void appendDateTime(QByteArray &out, const QDate &date, const QTime *time)
{
    char buffer[48];
    int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", std::abs(date.year()),
                          date.month(), date.day());
    if (time)
        n += std::snprintf(buffer + n, sizeof buffer - size_t(n), " %02d:%02d:%02d.%03d",
                           time->hour(), time->minute(), time->second(), time->msec());
    if (date.year() < 0)
        n += std::snprintf(buffer + n, sizeof buffer - size_t(n), " BC");
    out.append(buffer, n);
}

void appendDouble(QByteArray &out, double value)
{
    if (std::isnan(value)) {
        out.append("NaN");
    } else if (std::isinf(value)) {
        out.append(value > 0 ? "Infinity" : "-Infinity");
    } else {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        out.append(buffer, end - buffer);
    }
}

void appendInteger(QByteArray &out, qint64 value)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end - buffer);
}

// The parameters of one or many executions of a statement, row after row, in one block of
// memory; the pointers libpq reads are made by finish().
class ParameterBlock
{
public:
    explicit ParameterBlock(int width) : m_width(width) { }

    int width() const { return m_width; }
    int rows() const { return m_width ? int(m_types.size()) / m_width : 0; }

    // Appends one row; an error names what cannot be sent.
    QString addRow(const QVariantList &values)
    {
        if (values.size() != m_width)
            return placeholderCountMessage(m_width, values.size());
        for (const QVariant &value : values) {
            if (const QString error = add(value); !error.isEmpty())
                return error;
        }
        return {};
    }

    void finish()
    {
        m_values.resize(m_offsets.size());
        for (size_t i = 0; i < m_offsets.size(); ++i)
            m_values[i] = m_offsets[i] < 0 ? nullptr : m_data.constData() + m_offsets[i];
    }

    // Row r's arrays (after finish()).
    const char *const *values(int r) const { return m_values.data() + size_t(r) * m_width; }
    const int *lengths(int r) const { return m_lengths.data() + size_t(r) * m_width; }
    const int *formats(int r) const { return m_formats.data() + size_t(r) * m_width; }
    const Oid *types(int r) const { return m_types.data() + size_t(r) * m_width; }
    Oid type(int r, int p) const { return m_types[size_t(r) * m_width + p]; }
    bool isNull(int r, int p) const { return m_offsets[size_t(r) * m_width + p] < 0; }
    QByteArrayView bytes(int r, int p) const
    {
        const size_t i = size_t(r) * m_width + p;
        return m_offsets[i] < 0 ? QByteArrayView()
                                : QByteArrayView(m_data.constData() + m_offsets[i], m_lengths[i]);
    }

private:
    QString add(const QVariant &value)
    {
        const Result<BoundValue> bound = BoundValue::from(value);
        if (!bound)
            return bound.error();
        const BoundValue &v = *bound;
        Oid type = TypeId::Unknown;
        int format = 0;
        const qsizetype start = m_data.size();
        switch (v.kind) {
        case BoundKind::Null:
            break;
        case BoundKind::Integer:
            // int4 where it fits: functions taking integer (substr, pg_terminate_backend …)
            // are not found for a bigint argument, while int4 widens wherever bigint is wanted.
            type = v.integer >= std::numeric_limits<qint32>::min()
                    && v.integer <= std::numeric_limits<qint32>::max()
                ? TypeId::Int4
                : TypeId::Int8;
            appendInteger(m_data, v.integer);
            break;
        case BoundKind::Double:
            type = TypeId::Float8;
            appendDouble(m_data, v.number);
            break;
        case BoundKind::Text:
            // Untyped, as a quoted literal was: the server reads it as the column's type.
            if (v.text.contains(QChar(0)))
                return u"A text holds a NUL character, which the database cannot store."_s;
            m_data.append(v.text.toUtf8());
            break;
        case BoundKind::Bytes:
            type = TypeId::Bytea;
            format = 1;
            m_data.append(v.bytes);
            break;
        case BoundKind::Date:
            type = TypeId::Date;
            appendDateTime(m_data, v.date, nullptr);
            break;
        case BoundKind::Time:
            type = TypeId::Time;
            m_data.append(v.time.toString(u"HH:mm:ss.zzz").toLatin1());
            break;
        case BoundKind::DateTime:
            type = TypeId::Timestamp;
            appendDateTime(m_data, v.date, &v.time);
            break;
        }
        m_types.push_back(type);
        m_formats.push_back(format);
        m_offsets.push_back(v.kind == BoundKind::Null ? -1 : start);
        m_lengths.push_back(int(m_data.size() - start));
        m_data.append('\0'); // libpq reads a text parameter up to its NUL
        return {};
    }

    int m_width;
    QByteArray m_data;
    std::vector<qsizetype> m_offsets; // -1 for NULL
    std::vector<int> m_lengths;
    std::vector<int> m_formats;
    std::vector<Oid> m_types;
    std::vector<const char *> m_values;
};

FieldKind kindOf(Oid type)
{
    switch (type) {
    case TypeId::Int2:
    case TypeId::Int4:
    case TypeId::ObjectId:
        return FieldKind::Integer;
    case TypeId::Int8:
        return FieldKind::BigInt;
    case TypeId::Float4:
    case TypeId::Float8:
    case TypeId::Numeric:
        return FieldKind::Double;
    case TypeId::Bool:
        return FieldKind::Boolean;
    case TypeId::Bytea:
        return FieldKind::Binary;
    case TypeId::Date:
    case TypeId::Timestamp:
    case TypeId::TimestampTz:
        return FieldKind::DateTime;
    default:
        return FieldKind::Text;
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool appendBytea(ColumnStore &column, const char *text, int length)
{
    if (length < 2 || text[0] != '\\' || text[1] != 'x')
        return false;
    QByteArray bytes((length - 2) / 2, Qt::Uninitialized);
    for (int i = 2, o = 0; i + 1 < length; i += 2, ++o) {
        const int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes[o] = char(hi * 16 + lo);
    }
    column.appendBytes(bytes.constData(), bytes.size());
    return true;
}

// "2024-03-01 08:30:00.5+08" (the zone only for timestamptz), " BC" after BC dates.
bool appendDateTime(ColumnStore &column, QString text, bool withZone)
{
    const bool bc = text.endsWith(u" BC"_s);
    if (bc)
        text.chop(3);
    int offsetSeconds = 0;
    bool zoned = false;
    if (withZone) {
        const qsizetype sign = qMax(text.lastIndexOf(u'+'), text.lastIndexOf(u'-'));
        if (sign > 10) {
            const QStringList parts = text.mid(sign + 1).split(u':');
            offsetSeconds = parts.value(0).toInt() * 3600 + parts.value(1).toInt() * 60
                + parts.value(2).toInt();
            if (text.at(sign) == u'-')
                offsetSeconds = -offsetSeconds;
            text.truncate(sign);
            zoned = true;
        }
    }
    QDate date;
    QTime time;
    if (!SqlDialect::parseDateTime(text, &date, &time))
        return false;
    if (bc)
        date = QDate(-date.year(), date.month(), date.day());
    if (zoned) {
        const QDateTime local = QDateTime(date, time, QTimeZone(offsetSeconds)).toLocalTime();
        date = local.date();
        time = local.time();
    }
    column.appendDateTime(date, time);
    return true;
}

void appendCell(ColumnStore &column, Oid type, const char *text, int length)
{
    switch (type) {
    case TypeId::Int2:
    case TypeId::Int4:
    case TypeId::Int8:
    case TypeId::ObjectId: {
        qint64 value = 0;
        if (std::from_chars(text, text + length, value).ec == std::errc())
            return column.appendInteger(value);
        break;
    }
    case TypeId::Float4:
    case TypeId::Float8:
    case TypeId::Numeric: {
        double value = 0;
        if (std::from_chars(text, text + length, value).ec == std::errc())
            return column.appendDouble(value);
        break;
    }
    case TypeId::Bool:
        return column.appendInteger(length > 0 && text[0] == 't' ? 1 : 0);
    case TypeId::Bytea:
        if (appendBytea(column, text, length))
            return;
        break;
    case TypeId::Date:
    case TypeId::Timestamp:
    case TypeId::TimestampTz:
        if (appendDateTime(column, QString::fromLatin1(text, length), type == TypeId::TimestampTz))
            return;
        break;
    default:
        break;
    }
    // Text, and what did not read as its type ("infinity", NaN in an integer …).
    column.appendUtf8(text, length);
}

// The result's columns, and each one's type id in *types.
QVector<FieldDef> describeResult(const PGresult *result, std::vector<Oid> *types)
{
    QVector<FieldDef> fields;
    const int columns = PQnfields(result);
    for (int c = 0; c < columns; ++c) {
        const Oid type = PQftype(result, c);
        types->push_back(type);
        FieldDef field;
        field.name = QString::fromUtf8(PQfname(result, c));
        field.kind = kindOf(type);
        const int modifier = PQfmod(result, c);
        field.definedSize = modifier > 4 && field.kind == FieldKind::Text ? modifier - 4 : -1;
        fields.push_back(field);
    }
    return fields;
}

void appendRows(const PGresult *result, const std::vector<Oid> &types, RowSet &rows)
{
    const int count = PQntuples(result);
    const int columns = rows.columnCount();
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < columns; ++c) {
            ColumnStore &column = rows.column(c);
            if (PQgetisnull(result, r, c))
                column.appendNull();
            else
                appendCell(column, types[size_t(c)], PQgetvalue(result, r, c),
                           PQgetlength(result, r, c));
        }
        rows.rowAppended();
    }
}

RowSet readRows(const PGresult *result)
{
    RowSet rows;
    std::vector<Oid> types;
    for (const FieldDef &field : describeResult(result, &types))
        rows.addColumn(field);
    rows.reserve(PQntuples(result));
    appendRows(result, types, rows);
    rows.finish();
    return rows;
}

QueryResult resultOf(PGconn *conn, const PGresult *result)
{
    QueryResult out;
    switch (result ? PQresultStatus(result) : PGRES_FATAL_ERROR) {
    case PGRES_TUPLES_OK:
        out.ok = true;
        out.returnsRows = true;
        out.rows = readRows(result);
        return out;
    case PGRES_COMMAND_OK:
    case PGRES_EMPTY_QUERY:
        out.ok = true;
        out.rowsAffected = QByteArray(PQcmdTuples(const_cast<PGresult *>(result))).toLongLong();
        return out;
    default:
        return QueryResult::failure(errorOf(conn, result));
    }
}

} // namespace

QueryResult run(PGconn *conn, const QString &sql, const QVariantList &values)
{
    if (!conn)
        return failure(u"The connection is closed."_s, ErrorCode::ObjectClosed);
    const QVector<qsizetype> positions = placeholderPositions(sql);
    ParameterBlock parameters(int(positions.size()));
    if (const QString error = parameters.addRow(values); !error.isEmpty())
        return failure(error);
    parameters.finish();
    const ResultPtr result(PQexecParams(
        conn, numbered(sql, positions).constData(), parameters.width(), parameters.types(0),
        parameters.values(0), parameters.lengths(0), parameters.formats(0), 0));
    return resultOf(conn, result.get());
}

namespace {

// Reads what is left of the running statement's results.
void drain(PGconn *conn)
{
    while (ResultPtr(PQgetResult(conn))) { }
}

class Stream final : public RowStream
{
public:
    explicit Stream(PGconn *conn) : m_conn(conn) { }
    ~Stream() override
    {
        if (m_done)
            return;
        // Left before its end: the server stops the statement instead of sending the rest.
        if (PGcancel *cancel = PQgetCancel(m_conn)) {
            char error[256];
            PQcancel(cancel, error, int(sizeof error));
            PQfreeCancel(cancel);
        }
        drain(m_conn);
    }

    // Takes the statement's first result; false when it failed or returns no rows.
    bool start(ErrorInfo *error)
    {
        ResultPtr first(PQgetResult(m_conn));
        const ExecStatusType status = first ? PQresultStatus(first.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_OK) {
            m_fields = describeResult(first.get(), &m_types);
            if (status == PGRES_TUPLES_OK)
                finish();
            else
                m_pending = std::move(first);
            return true;
        }
        *error = status == PGRES_COMMAND_OK || status == PGRES_EMPTY_QUERY
            ? ErrorInfo::make(ErrorCode::CommandError, u"The statement returns no rows."_s, source)
            : errorOf(m_conn, first.get());
        finish();
        return false;
    }

    void describe(RowSet &rows) const override
    {
        for (const FieldDef &field : m_fields)
            rows.addColumn(field);
    }

    bool fetch(RowSet &rows, int limit, ErrorInfo *error) override
    {
        for (int n = 0; n < limit && !m_done;) {
            ResultPtr result = m_pending ? std::move(m_pending) : ResultPtr(PQgetResult(m_conn));
            const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
            if (status == PGRES_SINGLE_TUPLE) {
                appendRows(result.get(), m_types, rows);
                ++n;
            } else if (status == PGRES_TUPLES_OK) {
                finish();
            } else {
                *error = errorOf(m_conn, result.get());
                finish();
                return false;
            }
        }
        rows.finish();
        return true;
    }

private:
    void finish()
    {
        m_done = true;
        drain(m_conn);
    }

    PGconn *m_conn;
    ResultPtr m_pending; // the first row, read while starting
    QVector<FieldDef> m_fields;
    std::vector<Oid> m_types;
    bool m_done = false;
};

} // namespace

std::unique_ptr<RowStream> openStream(PGconn *conn, const QString &sql, const QVariantList &values,
                                      ErrorInfo *error)
{
    if (!conn) {
        *error = ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s, source);
        return nullptr;
    }
    const QVector<qsizetype> positions = placeholderPositions(sql);
    ParameterBlock parameters(int(positions.size()));
    if (const QString text = parameters.addRow(values); !text.isEmpty()) {
        *error = ErrorInfo::make(ErrorCode::InvalidArgument, text, source);
        return nullptr;
    }
    parameters.finish();
    if (!PQsendQueryParams(conn, numbered(sql, positions).constData(), parameters.width(),
                           parameters.types(0), parameters.values(0), parameters.lengths(0),
                           parameters.formats(0), 0)) {
        *error = errorOf(conn, nullptr);
        return nullptr;
    }
    PQsetSingleRowMode(conn);
    auto stream = std::make_unique<Stream>(conn);
    if (!stream->start(error))
        return nullptr;
    return stream;
}

namespace {

constexpr int chunkRows = 1000;              // rows sent before each sync point
constexpr int parametersPerStatement = 2000; // far below the protocol's 65,535
constexpr int rowsPerStatement = 200;

const char *castName(Oid type)
{
    switch (type) {
    case TypeId::Int4:
        return "int4";
    case TypeId::Int8:
        return "int8";
    case TypeId::Float8:
        return "float8";
    case TypeId::Bytea:
        return "bytea";
    case TypeId::Date:
        return "date";
    case TypeId::Time:
        return "time";
    case TypeId::Timestamp:
        return "timestamp";
    default:
        return nullptr;
    }
}

// The plain one-row statements that can take many rows at once: "INSERT INTO t (a, b) VALUES
// (?, ?)" becomes one INSERT with many VALUES rows, "UPDATE t SET a = ? WHERE k = ?" one UPDATE
// joined to a VALUES list. The server then runs one statement for many rows instead of one
// per row.
class RowGrouping
{
public:
    static std::optional<RowGrouping> of(const QString &sql, const std::vector<Oid> &types)
    {
        static const QString name = u"[A-Za-z_][A-Za-z0-9_]*"_s;
        static const QRegularExpression insert(
            u"^\\s*(INSERT\\s+INTO\\s+%1\\s*\\([^()]*\\)\\s*VALUES)\\s*\\(\\s*\\?(?:\\s*,\\s*\\?)*"
            "\\s*\\)\\s*;?\\s*$"_s.arg(name),
            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression update(
            u"^\\s*UPDATE\\s+(%1)\\s+SET\\s+(%1\\s*=\\s*\\?(?:\\s*,\\s*%1\\s*=\\s*\\?)*)\\s+"
            u"WHERE\\s+"
            "(%1\\s*=\\s*\\?(?:\\s+AND\\s+%1\\s*=\\s*\\?)*)\\s*;?\\s*$"_s.arg(name),
            QRegularExpression::CaseInsensitiveOption);
        RowGrouping g;
        g.m_types = types;
        if (const auto m = insert.match(sql); m.hasMatch()) {
            g.m_head = m.captured(1);
            return g;
        }
        const auto m = update.match(sql);
        // Every value needs its type in a VALUES list that is not an INSERT's.
        if (!m.hasMatch()
            || std::any_of(types.cbegin(), types.cend(), [](Oid t) { return !castName(t); }))
            return std::nullopt;
        g.m_table = m.captured(1);
        for (const QString &set : m.captured(2).split(u','))
            g.m_sets << set.section(u'=', 0, 0).trimmed();
        static const QRegularExpression andWord(u"\\s+AND\\s+"_s,
                                                QRegularExpression::CaseInsensitiveOption);
        for (const QString &key : m.captured(3).split(andWord))
            g.m_keys << key.section(u'=', 0, 0).trimmed();
        return g;
    }

    bool isUpdate() const { return !m_table.isEmpty(); }
    int keyCount() const { return int(m_keys.size()); }

    // The statement for `rows` rows, its placeholders numbered.
    QByteArray textFor(int rows) const
    {
        const int width = int(m_types.size());
        QStringList tuples;
        for (int r = 0; r < rows; ++r) {
            QStringList marks;
            for (int p = 0; p < width; ++p) {
                QString mark = u'$' + QString::number(r * width + p + 1);
                if (isUpdate())
                    mark += u"::"_s + QLatin1String(castName(m_types[size_t(p)]));
                marks << mark;
            }
            tuples << u'(' + marks.join(u", "_s) + u')';
        }
        if (!isUpdate())
            return (m_head + u' ' + tuples.join(u", "_s)).toUtf8();
        QStringList sets, keys, names;
        for (int p = 0; p < width; ++p)
            names << u"vt_c"_s + QString::number(p + 1);
        for (int i = 0; i < m_sets.size(); ++i)
            sets << m_sets.at(i) + u" = vt_v."_s + names.at(i);
        for (int i = 0; i < m_keys.size(); ++i)
            keys << m_keys.at(i) + u" = vt_v."_s + names.at(int(m_sets.size()) + i);
        return u"UPDATE %1 SET %2 FROM (VALUES %3) AS vt_v (%4) WHERE %5"_s
            .arg(m_table, sets.join(u", "_s), tuples.join(u", "_s), names.join(u", "_s),
                 keys.join(u" AND "_s))
            .toUtf8();
    }

private:
    std::vector<Oid> m_types;
    QString m_head;  // INSERT: "INSERT INTO t (a, b) VALUES"
    QString m_table; // UPDATE
    QStringList m_sets, m_keys;
};

// Consecutive rows sent as one statement: their parameters lie one after the other in the
// block, so the statement reads them in place.
struct Unit
{
    int first = 0;
    int count = 0;

    QString label() const
    {
        return count == 1 ? u"Row %1: "_s.arg(first + 1)
                          : u"Rows %1 to %2: "_s.arg(first + 1).arg(first + count);
    }
};

// Updates joined to a VALUES list change a row once, however often its key comes: grouping
// is for keys that differ within each group.
bool keysDistinct(const ParameterBlock &block, int keyCount, int groupRows)
{
    const int width = block.width();
    for (int start = 0; start < block.rows(); start += groupRows) {
        QSet<QByteArray> seen;
        for (int r = start; r < qMin(block.rows(), start + groupRows); ++r) {
            QByteArray key;
            for (int p = width - keyCount; p < width; ++p) {
                key += block.isNull(r, p) ? QByteArray("\0null", 5)
                                          : block.bytes(r, p).toByteArray();
                key += '\x1f';
            }
            if (seen.contains(key))
                return false;
            seen.insert(key);
        }
    }
    return true;
}

// Reads the results of the units sent before one sync point. The first failure wins; later
// units report "aborted" and are not counted.
void readChunk(PGconn *conn, const std::vector<Unit> &units, size_t from, QueryResult &total)
{
    size_t unit = from;
    for (;;) {
        ResultPtr result(PQgetResult(conn));
        if (!result) {
            if (PQstatus(conn) != CONNECTION_OK) {
                if (total.ok)
                    total = QueryResult::failure(errorOf(conn, nullptr));
                return;
            }
            continue; // the end of one statement's results
        }
        const ExecStatusType status = PQresultStatus(result.get());
        if (status == PGRES_PIPELINE_SYNC)
            return;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
            total.rowsAffected += QByteArray(PQcmdTuples(result.get())).toLongLong();
        } else if (status != PGRES_PIPELINE_ABORTED && total.ok) {
            total = QueryResult::failure(errorOf(conn, result.get()));
            if (unit < units.size())
                total.error.description = units[unit].label() + total.error.description;
        }
        ++unit;
    }
}

} // namespace

QueryResult runBatch(PGconn *conn, const QString &sql, const QVector<QVariantList> &rows)
{
    if (!conn)
        return failure(u"The connection is closed."_s, ErrorCode::ObjectClosed);
    QueryResult total;
    total.ok = true;
    if (rows.isEmpty())
        return total;
    const QVector<qsizetype> positions = placeholderPositions(sql);
    ParameterBlock block(int(positions.size()));
    for (int i = 0; i < rows.size(); ++i) {
        if (const QString error = block.addRow(rows.at(i)); !error.isEmpty())
            return failure(u"Row %1: "_s.arg(i + 1) + error);
    }
    block.finish();
    // One type per column for the prepared statement: the type its values agree on, else
    // untyped so that the server reads each as the column's type.
    std::vector<Oid> types;
    for (int p = 0; p < block.width(); ++p) {
        Oid type = TypeId::Unknown;
        for (int r = 0; r < block.rows(); ++r) {
            if (block.isNull(r, p))
                continue;
            const Oid t = block.type(r, p);
            if (type == TypeId::Unknown)
                type = t;
            else if (t != type)
                type
                    = t == TypeId::Bytea || type == TypeId::Bytea ? TypeId::Bytea : TypeId::Unknown;
        }
        types.push_back(type);
    }

    std::optional<RowGrouping> grouping = RowGrouping::of(sql, types);
    int groupRows = 1;
    if (grouping) {
        // Never larger than the rows at hand: a one-row flush prepares a one-row statement
        // (parsing a full group's text costs several milliseconds).
        groupRows = qBound(1, parametersPerStatement / qMax(1, block.width()),
                           qMin(rowsPerStatement, int(rows.size())));
        if (grouping->isUpdate() && !keysDistinct(block, grouping->keyCount(), groupRows))
            groupRows = 1;
    }
    std::vector<Unit> units;
    for (int start = 0; start < rows.size(); start += groupRows)
        units.push_back({ start, qMin(groupRows, int(rows.size()) - start) });
    // The statement's types: the columns' types, once per row of a group.
    std::vector<Oid> statementTypes;
    for (int r = 0; r < groupRows; ++r)
        statementTypes.insert(statementTypes.end(), types.cbegin(), types.cend());

    if (!PQenterPipelineMode(conn))
        return QueryResult::failure(errorOf(conn, nullptr));
    const QByteArray text = groupRows > 1 ? grouping->textFor(groupRows) : numbered(sql, positions);
    bool sent = PQsendPrepare(conn, "", text.constData(), int(statementTypes.size()),
                              statementTypes.data());
    // While the server works through one chunk, the next one is on its way: the results of a
    // chunk are read only after the following chunk has been sent.
    bool prepareRead = false;
    std::optional<size_t> unread;
    for (size_t u = 0; sent && u < units.size() && total.ok;) {
        const size_t chunkStart = u;
        for (int sentRows = 0; sent && u < units.size() && sentRows < chunkRows; ++u) {
            const Unit &unit = units[u];
            sentRows += unit.count;
            const int count = unit.count * block.width();
            if (unit.count == groupRows) {
                sent = PQsendQueryPrepared(conn, "", count, block.values(unit.first),
                                           block.lengths(unit.first), block.formats(unit.first), 0);
            } else {
                // The last, shorter group: a statement of its own.
                const QByteArray tail = grouping->textFor(unit.count);
                sent = PQsendQueryParams(conn, tail.constData(), count, statementTypes.data(),
                                         block.values(unit.first), block.lengths(unit.first),
                                         block.formats(unit.first), 0);
            }
        }
        sent = sent && PQpipelineSync(conn);
        if (!sent)
            break;
        if (!prepareRead) {
            // The prepare's own result comes first.
            prepareRead = true;
            ResultPtr prepared(PQgetResult(conn));
            if (prepared && PQresultStatus(prepared.get()) != PGRES_COMMAND_OK)
                total = QueryResult::failure(errorOf(conn, prepared.get()));
            ResultPtr afterPrepare(PQgetResult(conn));
        }
        if (unread)
            readChunk(conn, units, *unread, total);
        unread = chunkStart;
    }
    if (unread && sent)
        readChunk(conn, units, *unread, total);
    if (!sent && total.ok)
        total = QueryResult::failure(errorOf(conn, nullptr));
    PQexitPipelineMode(conn);
    return total;
}

bool transactionAborted(PGconn *conn)
{
    return conn && PQtransactionStatus(conn) == PQTRANS_INERROR;
}

} // namespace vantrel::db::postgres
