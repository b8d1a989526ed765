#include "personnel/sqlcondition.h"

#include "core/db/boundvalue.h"
#include "core/db/sqldialect.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

QString quoted(QString text)
{
    text.replace(u'\'', u"''"_s);
    return u'\'' + text + u'\'';
}

QString literal(const QVariant &value)
{
    const Result<db::BoundValue> bound = db::BoundValue::from(value);
    if (!bound)
        return u"NULL"_s;
    switch (bound->kind) {
    case db::BoundKind::Null:
        return u"NULL"_s;
    case db::BoundKind::Integer:
        return QString::number(bound->integer);
    case db::BoundKind::Double:
        return QString::number(bound->number, 'g', 15);
    case db::BoundKind::Date:
        return quoted(bound->date.toString(Qt::ISODate));
    case db::BoundKind::Time:
        return quoted(bound->time.toString(u"HH:mm:ss"_s));
    case db::BoundKind::DateTime:
        return quoted(db::SqlDialect::dateTimeText(QDateTime(bound->date, bound->time)));
    case db::BoundKind::Text:
        return quoted(bound->text);
    case db::BoundKind::Bytes:
        break;
    }
    return u"NULL"_s;
}

} // namespace

SqlCondition &SqlCondition::operator+=(const SqlCondition &other)
{
    sql += other.sql;
    values += other.values;
    return *this;
}

SqlCondition operator+(SqlCondition left, const SqlCondition &right)
{
    left += right;
    return left;
}

QString SqlCondition::literalText() const
{
    const QVector<qsizetype> positions = db::placeholderPositions(sql);
    QString text = sql;
    // From the back, so earlier offsets stay valid.
    for (qsizetype i = positions.size() - 1; i >= 0; --i)
        text.replace(positions.at(i), 1, i < values.size() ? literal(values.at(i)) : u"NULL"_s);
    return text;
}

} // namespace vantrel::personnel
