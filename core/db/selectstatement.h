#pragma once

#include <QString>
#include <QVector>

namespace vantrel::db {

// Just enough understanding of a SELECT to write changes back: which single table the rows
// come from and which columns of it the result fields are. Anything more complex (joins,
// grouping, expressions, unions) is read-only.
class SelectStatement
{
public:
    struct Item
    {
        QString column; // the table column, empty for an expression
        QString name;   // the result field's name (alias or column)
    };

    static SelectStatement parse(const QString &sql);

    bool isSingleTable() const { return !m_table.isEmpty(); }
    bool isUpdatable() const { return m_updatable; }
    bool selectsAll() const { return m_star; }
    const QString &table() const { return m_table; }
    const QVector<Item> &items() const { return m_items; }

    // The statement with ", <column> AS <alias>" added to its select list.
    QString withExtraColumn(const QString &column, const QString &alias) const;

private:
    QString m_sql;
    QString m_table;
    QVector<Item> m_items;
    qsizetype m_fromPos = -1; // where " FROM" begins
    bool m_star = false;
    bool m_updatable = false;
};

} // namespace vantrel::db
