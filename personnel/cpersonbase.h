#pragma once

#include <QMap>
#include <QString>

// One person as the personnel module passes it around: the three ids and the texts shown for
// the person, so that lists and captions need no other query. PID -1 means no person.
class CPersonBase
{
public:
    int PID = -1;
    int DID = -1;
    int AID = -1;
    QString Number;
    QString Name;
    QString SortName; // the person category's name
    QString DeptName;

    // Back to no person: ids -1, texts empty.
    void Reset();

    bool operator==(const CPersonBase &other) const = default;
};

// Persons by PID; inserting a PID again replaces the stored person.
using CPersonMap = QMap<int, CPersonBase>;
