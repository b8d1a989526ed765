#pragma once

#include <QList>
#include <QString>

// The rights text of an operator (qz_Users.Purview): the 64-bit rights mask in hexadecimal
// without prefix, then the person-category ids, the department ids and the wage-set ids,
// the four fields separated by '|', each list decimal ids joined by ',' with no comma at
// either end: "c000000000000000|1,2|3|".
struct Purview
{
    quint64 mask = 0;
    QString categories;
    QString departments;
    QString wageSets;

    QString toText() const;

    // Fields missing from the text keep the values they had.
    void parse(const QString &text);

    static QString joinIds(const QList<int> &ids);
    // True when the id is in the list (searched as ",id," in ",list,").
    static bool listContains(const QString &list, int id);
};
