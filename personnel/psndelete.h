#pragma once

#include <QStringList>
#include <QVector>

class CADODatabase;

namespace vantrel::personnel {

struct PsnDeleteOutcome
{
    int deleted = 0;
    QStringList failures; // "<PID>: <reason>" of each person not deleted
};

// Deletes each person through qz_DeletePsnBaseByID, each in a transaction of its own: a
// failure keeps that person whole and the others still go.
PsnDeleteOutcome DeletePersons(CADODatabase &db, const QVector<int> &pids);

// "人员档案[人员删除%d个]".
QString PsnDeleteLogText(int deleted);

} // namespace vantrel::personnel
