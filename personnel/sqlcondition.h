#pragma once

#include <QString>
#include <QVariantList>

namespace vantrel::personnel {

// A piece of SQL with the values its '?' placeholders take, in order. Whoever runs a
// statement that contains it binds its values at that place.
struct SqlCondition
{
    QString sql;
    QVariantList values;

    bool isEmpty() const { return sql.isEmpty(); }

    // Appends the other piece's text and values.
    SqlCondition &operator+=(const SqlCondition &other);

    // The text with each value written in as a literal (numbers as they are, texts and dates
    // quoted with inner quotes doubled): for log texts and for SQL handed to the report
    // library, never for running here.
    QString literalText() const;
};

SqlCondition operator+(SqlCondition left, const SqlCondition &right);

} // namespace vantrel::personnel
