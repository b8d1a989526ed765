#pragma once

#include "core/db/queryresult.h"
#include "core/query/wakeupqueries.h"
#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QDate>
#include <QVector>

#include <atomic>

class CADODatabase;

namespace vantrel::personnel {

// The reminders without a window: the definitions, the condition each one stands for, and
// the number and list of persons it finds. Every person of every department counts, whatever
// the operator's department rights. Reads the connection it is given; shows nothing.

// How long one count or person-list query may run before it counts as failed.
inline constexpr int WakeupQueryBoundMs = 10000;

// The limits of one query: its time, and a flag that stops it early (the worker's owner is
// going away); the flag may be null.
struct QueryBound
{
    int ms = WakeupQueryBoundMs;
    const std::atomic_bool *cancel = nullptr;
};

// Opens a connection for the reminder queries: on an embedded database file read-only, so
// that a custom condition cannot write whatever it holds.
bool OpenWakeupConnection(CADODatabase &db, const QString &connectionString);

// Runs one query that may only read, within the bound: on PostgreSQL inside a read-only
// transaction that is rolled back, on SQLite only on a connection opened read-only (any other
// fails). A query over the bound fails.
db::QueryResult RunGuardedQuery(CADODatabase &db, const QString &sql, const QVariantList &values,
                                const QueryBound &bound = {});

// Every definition, ordered by Ord and ID (the order the alert and the manager share).
Result<QVector<tagWAKEUPITEM>> LoadWakeupItems(CADODatabase &db);

// " WHERE …" of the definition over the person FROM clause, with its values. A date item
// gives the window from the day after `today` up to `today` + BefDays, whole days, after
// WTable and WField were found as a date item of a person table (qz_Table nType 4). An empty
// custom condition gives an empty condition (nothing to count); one holding ';', a date item
// that is not there, or metadata that cannot be read give a failure.
Result<SqlCondition> BuildWakeupCondition(CADODatabase &db, const tagWAKEUPITEM &item,
                                          const QDate &today);

// The persons the definition finds on `today`; -1 when that cannot be computed.
int CountWakeupPersons(CADODatabase &db, const tagWAKEUPITEM &item, const QDate &today,
                       const QueryBound &bound = {});

// Every definition with its count, in the definitions' order; a failure when the definitions
// cannot be read. Stops early (returning the rows so far) when the bound's flag is set.
Result<QVector<tagWAKEUPROW>> CountWakeupRows(CADODatabase &db, const QDate &today,
                                              const QueryBound &bound = {});

// The same on a connection of its own, opened from the string: for a worker thread.
Result<QVector<tagWAKEUPROW>> CountWakeupRows(const QString &connectionString, const QDate &today,
                                              const QueryBound &bound = {});

// The person list of a definition: PID, DID and AID, then the shown items of the person
// table (captions as the items' aliases), ordered by department and person order. The
// column widths (iWid) of the shown items follow in *widths. An empty custom condition gives
// an empty, field-less row set; a failure when the list cannot be read.
struct WakeupPersonList
{
    db::RowSet rows;
    QVector<int> widths; // of the shown items, after the three key columns
    bool noCondition = false;
};
Result<WakeupPersonList> ListWakeupPersons(CADODatabase &db, const tagWAKEUPITEM &item,
                                           const QDate &today, const QueryBound &bound = {});
Result<WakeupPersonList> ListWakeupPersons(const QString &connectionString,
                                           const tagWAKEUPITEM &item, const QDate &today,
                                           const QueryBound &bound = {});

// Saving a definition through qz_AddWakeupItem: ID 0 adds one, a positive ID saves over it.
enum class WakeupSave { Saved, Vanished, Failed };
// Vanished: the definition was deleted meanwhile and nothing was saved. *id takes the saved
// definition's ID; *error the database's text on Failed.
WakeupSave SaveWakeupItem(CADODatabase &db, const tagWAKEUPITEM &item, int *id = nullptr,
                          QString *error = nullptr);
// Deletes a definition; Vanished when there was none.
WakeupSave DeleteWakeupItem(CADODatabase &db, int id, QString *error = nullptr);

// Adds qz_AddWakeupItem to the program's procedures (again is harmless):
//   qz_AddWakeupItem (ID, Title, WTable, WField, BefDays, ISCustom, WCondit) inserts for ID 0
//   and updates otherwise; returns the row's ID, 0 when the row to update is gone.
void registerWakeupProcedures();

} // namespace vantrel::personnel
