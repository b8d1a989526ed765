#include "core/db/pgrunner.h"

#include "core/db/boundvalue.h"
#include "core/db/sqldialect.h"

#include <libpq-fe.h>

#include <QTimeZone>

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
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

QByteArray yearText(int year)
{
    // Qt counts 1 BC as year -1, as PostgreSQL's text form does.
    QByteArray text = QByteArray::number(std::abs(year)).rightJustified(4, '0');
    return text;
}

QByteArray dateText(const QDate &date)
{
    QByteArray text = yearText(date.year()) + '-'
        + QByteArray::number(date.month()).rightJustified(2, '0') + '-'
        + QByteArray::number(date.day()).rightJustified(2, '0');
    return text;
}

QByteArray timeText(const QTime &time)
{
    return time.toString(u"HH:mm:ss.zzz").toLatin1();
}

QByteArray withEra(QByteArray text, const QDate &date)
{
    return date.year() < 0 ? text + " BC" : text;
}

QByteArray doubleText(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QByteArray(buffer, end - buffer);
}

// The parameters of one execution, kept alive as long as libpq reads them.
class Parameters
{
public:
    QString add(const QVariant &value)
    {
        const Result<BoundValue> bound = BoundValue::from(value);
        if (!bound)
            return bound.error();
        const BoundValue &v = *bound;
        Oid type = TypeId::Unknown;
        int format = 0;
        QByteArray data;
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
            data = QByteArray::number(v.integer);
            break;
        case BoundKind::Double:
            type = TypeId::Float8;
            data = doubleText(v.number);
            break;
        case BoundKind::Text:
            // Untyped, as a quoted literal was: the server reads it as the column's type.
            if (v.text.contains(QChar(0)))
                return u"A text holds a NUL character, which the database cannot store."_s;
            data = v.text.toUtf8();
            break;
        case BoundKind::Bytes:
            type = TypeId::Bytea;
            format = 1;
            data = v.bytes;
            break;
        case BoundKind::Date:
            type = TypeId::Date;
            data = withEra(dateText(v.date), v.date);
            break;
        case BoundKind::Time:
            type = TypeId::Time;
            data = timeText(v.time);
            break;
        case BoundKind::DateTime:
            type = TypeId::Timestamp;
            data = withEra(dateText(v.date) + ' ' + timeText(v.time), v.date);
            break;
        }
        m_types.push_back(type);
        m_formats.push_back(format);
        m_null.push_back(v.kind == BoundKind::Null);
        m_data.push_back(data);
        return {};
    }

    int count() const { return int(m_data.size()); }
    const Oid *types() const { return m_types.data(); }
    Oid type(int i) const { return m_types[size_t(i)]; }
    void setType(int i, Oid type) { m_types[size_t(i)] = type; }

    // Pointers for libpq; valid until the next add().
    void finish()
    {
        m_values.clear();
        m_lengths.clear();
        for (size_t i = 0; i < m_data.size(); ++i) {
            m_values.push_back(m_null[i] ? nullptr : m_data[i].constData());
            m_lengths.push_back(int(m_data[i].size()));
        }
    }
    const char *const *values() const { return m_values.data(); }
    const int *lengths() const { return m_lengths.data(); }
    const int *formats() const { return m_formats.data(); }

private:
    std::vector<Oid> m_types;
    std::vector<int> m_formats;
    std::vector<bool> m_null;
    std::vector<QByteArray> m_data;
    std::vector<const char *> m_values;
    std::vector<int> m_lengths;
};

QueryResult parametersFor(const QVariantList &values, qsizetype placeholders, Parameters *out)
{
    if (placeholders != values.size())
        return failure(placeholderCountMessage(placeholders, values.size()));
    for (const QVariant &value : values) {
        if (const QString error = out->add(value); !error.isEmpty())
            return failure(error);
    }
    out->finish();
    QueryResult ok;
    ok.ok = true;
    return ok;
}

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

RowSet readRows(const PGresult *result)
{
    RowSet rows;
    const int columns = PQnfields(result);
    const int count = PQntuples(result);
    std::vector<Oid> types;
    for (int c = 0; c < columns; ++c) {
        const Oid type = PQftype(result, c);
        types.push_back(type);
        FieldDef field;
        field.name = QString::fromUtf8(PQfname(result, c));
        field.kind = kindOf(type);
        const int modifier = PQfmod(result, c);
        field.definedSize = modifier > 4 && field.kind == FieldKind::Text ? modifier - 4 : -1;
        rows.addColumn(field);
    }
    rows.reserve(count);
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
    Parameters parameters;
    if (QueryResult checked = parametersFor(values, positions.size(), &parameters); !checked.ok)
        return checked;
    const ResultPtr result(PQexecParams(conn, numbered(sql, positions).constData(),
                                        parameters.count(), parameters.types(), parameters.values(),
                                        parameters.lengths(), parameters.formats(), 0));
    return resultOf(conn, result.get());
}

namespace {

constexpr int chunkRows = 1000;

// Reads the results of one chunk up to its sync point. The first failure wins; later rows of
// the chunk report "aborted" and are not counted.
void readChunk(PGconn *conn, int firstRow, QueryResult &total)
{
    int row = firstRow;
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
            ++row;
        } else if (status == PGRES_PIPELINE_ABORTED) {
            ++row;
        } else if (total.ok) {
            total = QueryResult::failure(errorOf(conn, result.get()));
            total.error.description = u"Row %1: "_s.arg(row + 1) + total.error.description;
        }
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
    std::vector<Parameters> all(size_t(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        QueryResult checked = parametersFor(rows.at(i), positions.size(), &all[size_t(i)]);
        if (!checked.ok) {
            checked.error.description = u"Row %1: "_s.arg(i + 1) + checked.error.description;
            return checked;
        }
    }
    // One type per column for the prepared statement: the type its values agree on, else
    // untyped so that the server reads each as the column's type.
    Parameters &first = all.front();
    for (int p = 0; p < first.count(); ++p) {
        Oid type = TypeId::Unknown;
        for (const Parameters &row : all) {
            const Oid t = row.type(p);
            if (row.values()[p] == nullptr)
                continue;
            if (type == TypeId::Unknown)
                type = t;
            else if (t != type)
                type
                    = t == TypeId::Bytea || type == TypeId::Bytea ? TypeId::Bytea : TypeId::Unknown;
        }
        first.setType(p, type);
    }

    if (!PQenterPipelineMode(conn))
        return QueryResult::failure(errorOf(conn, nullptr));
    const QByteArray text = numbered(sql, positions);
    bool sent = PQsendPrepare(conn, "", text.constData(), first.count(), first.types());
    for (int start = 0; sent && start < rows.size() && total.ok; start += chunkRows) {
        const int end = qMin(int(rows.size()), start + chunkRows);
        for (int i = start; sent && i < end; ++i) {
            const Parameters &p = all[size_t(i)];
            sent
                = PQsendQueryPrepared(conn, "", p.count(), p.values(), p.lengths(), p.formats(), 0);
        }
        sent = sent && PQpipelineSync(conn);
        if (!sent)
            break;
        if (start == 0) {
            // The prepare's own result comes first.
            ResultPtr prepared(PQgetResult(conn));
            if (prepared && PQresultStatus(prepared.get()) != PGRES_COMMAND_OK)
                total = QueryResult::failure(errorOf(conn, prepared.get()));
            ResultPtr afterPrepare(PQgetResult(conn));
        }
        readChunk(conn, start, total);
    }
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
