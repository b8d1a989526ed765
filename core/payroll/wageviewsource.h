#pragma once

#include "platform/common/result.h"

#include <QString>
#include <QVariantList>
#include <QVector>

class CADODatabase;

namespace vantrel::payroll {

// The rows that the active wage view shows, kept as the parts the program builds them from, so
// that COUNT and the aggregates of scripts read exactly those rows and nothing else: the wage
// set's data table, the joins the program adds, and the conditions, each a piece of SQL that
// the program writes with a '?' for each of its values. Users' values only ever travel as
// values, never as SQL text.
class WageViewSource
{
public:
    // A piece of SQL with its values for the '?' placeholders, in order.
    struct Fragment
    {
        QString sql;
        QVariantList values;
    };

    QString table;                // the wage set's data table, as qz_Table names it
    QVector<Fragment> joins;      // "INNER JOIN qz_PsnBase ON …", in order
    QVector<Fragment> conditions; // each one condition; the rows meet all of them

    // No active wage view: there are no rows to count or aggregate.
    bool isEmpty() const { return table.isEmpty(); }

    // " FROM <table> <joins> WHERE (<condition>) AND (<condition>) …" with the joins' and then
    // the conditions' values, ready to follow a SELECT. Fails with the reason when the table
    // is not the data table of a wage set in db's metadata (or the metadata cannot be read),
    // when a fragment's placeholders and values do not match, or when the text is refused by
    // CheckWageViewSql.
    Result<Fragment> render(CADODatabase &db) const;
};

// Whether a FROM/WHERE text is one source of rows and nothing else, before it is put behind a
// SELECT. Quoted texts, quoted names and comments are read as the databases read them; outside
// them the text must begin with FROM and hold no second statement (';'), no UNION, INTERSECT or
// EXCEPT, no further query (SELECT, VALUES, TABLE, WITH), no second table after a comma, no
// unbalanced parentheses, and none of the characters that one of the two databases reads as
// quoting of its own ('$', '[', ']', '`', a backslash in a quoted text); comments must be
// closed and not nested. Its '?' placeholders must number valueCount. Fails with the reason.
Status CheckWageViewSql(const QString &fromWhere, int valueCount);

} // namespace vantrel::payroll
