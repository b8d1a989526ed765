#pragma once

#include "core/db/rowset.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

class CADODatabase;
class CADOParameter;

namespace vantrel::db {

// What a procedure sees while it runs: its connection (inside a transaction that commits
// when the procedure returns true), its arguments, and where its results go.
class ProcedureContext
{
public:
    ProcedureContext(CADODatabase &db, QVector<CADOParameter *> parameters);

    CADODatabase &db() { return m_db; }

    // Input values in the order they were added (return-value and output parameters skipped).
    int inputCount() const;
    QVariant input(int position) const;
    // By parameter name, without regard to case; invalid when there is none.
    QVariant input(const QString &name) const;

    void setOutput(const QString &name, const QVariant &value);
    void setReturnValue(int value);

    // Statement helpers that keep the error and count rows changed.
    bool exec(const QString &sql, const QVariantList &values = {});
    // The add-or-rewrite procedures: id 0 inserts a row of the columns' values into the table,
    // another id rewrites the row whose key column holds it, and fails with `missing` when no
    // row does. Table and column names come from the caller's code, never from input.
    bool insertOrRewrite(const QString &table, const QStringList &columns,
                         const QVariantList &values, const QString &keyColumn, int id,
                         const QString &missing);
    // Runs a query and keeps its rows as the procedure's result set.
    bool select(const QString &sql, const QVariantList &values = {});
    void setResult(RowSet rows);

    // Ends the procedure with an error text (return false after it).
    bool fail(const QString &message);

    int recordsAffected() const { return m_recordsAffected; }
    const QString &error() const { return m_error; }
    RowSet takeResult() { return std::move(m_result); }
    bool hasResult() const { return m_hasResult; }

private:
    CADOParameter *parameter(const QString &name) const;

    CADODatabase &m_db;
    QVector<CADOParameter *> m_parameters;
    QString m_error;
    int m_recordsAffected = 0;
    RowSet m_result;
    bool m_hasResult = false;
};

using Procedure = std::function<bool(ProcedureContext &)>;

// The program's stored procedures: C++ functions found by name (without regard to case).
class ProcedureRegistry
{
public:
    static ProcedureRegistry &instance();

    void add(const QString &name, Procedure procedure);
    Procedure find(const QString &name) const; // empty when there is none

private:
    ProcedureRegistry();
    mutable QMutex m_mutex;
    QHash<QString, Procedure> m_procedures;
};

} // namespace vantrel::db
