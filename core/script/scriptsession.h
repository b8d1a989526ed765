#pragma once

#include "core/payroll/wageviewsource.h"

#include <QString>

class CADODatabase;

// The session values the host functions of scripts read: the operator, the active payroll
// context that the wage view publishes (period, wage set, the source of its rows) and the
// connection their queries run on.
//
// On the user-interface thread these are the application's own (theApp, theCurrentUser,
// theDatabase), read at call time. A worker thread takes a snapshot() on the interface thread
// before it starts and installs it for itself with a ScriptSessionScope, which opens the
// worker's own connection; the functions then never touch the application's fields or its
// connection from that thread.
struct ScriptSession
{
    QString connectionString; // opens a worker's own connection
    QString userName;
    int period = 190001; // year × 100 + month
    int wageSetId = 0;
    QString wageSetName;
    vantrel::payroll::WageViewSource wageView; // the active wage view's rows, values included
    CADODatabase *database = nullptr;          // not owned; null: no connection on this thread

    // The application's values now (with theDatabase as the connection). Take it on the
    // interface thread.
    static ScriptSession snapshot();

    // What the host functions of the calling thread read: the session installed on this
    // thread; else, on the interface thread, snapshot(); on any other thread an empty session
    // without a connection.
    static ScriptSession current();

    // Installs the session for the calling thread (null removes it) and returns the one it
    // replaces. The session must stay alive while installed; ScriptSessionScope does this.
    static const ScriptSession *install(const ScriptSession *session);
};
