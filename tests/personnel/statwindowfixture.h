#pragma once

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"

#include <QString>
#include <QStringList>

// The statistics window tests' stored statistics, written straight into theDatabase.

// Closes what a test's init() opened and logs out.
inline void closeStatTestDb(TestDatabase *&fixture)
{
    theDatabase.Close();
    delete fixture;
    fixture = nullptr;
    theCurrentUser.reset();
}

// A qz_Stat row; returns its TID (0 when the insert failed).
inline int addStatRow(const QString &caption, int flag, const QString &table, const QString &field,
                      int ord)
{
    const auto inserted = theDatabase.run(
        QStringLiteral("INSERT INTO qz_Stat (sCaption, sFlag, bFixed, sTblName, sFldName, Ord)"
                       " VALUES (?, ?, 0, ?, ?, ?) RETURNING TID"),
        { caption, flag, table, field, ord });
    return inserted.ok ? inserted.scalar().toInt() : 0;
}

// A cross of two one-dimensional statistics (columns from the first, rows from the second).
inline int addCrossRow(const QString &caption, int horzTid, int vertTid, int ord)
{
    return addStatRow(caption, 2, QString::number(horzTid), QString::number(vertTid), ord);
}

inline bool addRangeRow(int tid, const QString &title, const QString &lower, const QString &upper,
                        int ord)
{
    return theDatabase.Execute(
        QStringLiteral("INSERT INTO qz_StatItmFilter (TID, fTitle, LowerVal, UperVal, Ord)"
                       " VALUES (?, ?, ?, ?, ?)"),
        { tid, title, lower, upper, ord });
}

// The captions of a group (sFlag) in Ord order.
inline QStringList statCaptions(int flag)
{
    QStringList captions;
    const auto rows = theDatabase.run(
        QStringLiteral("SELECT sCaption FROM qz_Stat WHERE sFlag=? ORDER BY Ord, TID"), { flag });
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        captions << rows.rows.text(row, 0);
    return captions;
}
