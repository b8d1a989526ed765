#pragma once

#include "core/db/rowcursor.h"
#include "platform/common/result.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class CADODatabase;

namespace vantrel::report {

// The connections of one report run, opened from connection strings on first use and closed
// when the run ends. Every read runs read-only: a record source is user text, and a statement
// that tries to write fails without changing anything. A cursor has a connection to itself
// while it reads, so a subreport reads beside its master: a connection is shared again once
// the cursor that holds it is gone.
class DataConnections
{
public:
    DataConnections();
    ~DataConnections();
    DataConnections(const DataConnections &) = delete;
    DataConnections &operator=(const DataConnections &) = delete;

    // A free connection for the connection string; the error names the reason.
    Result<std::shared_ptr<CADODatabase>> acquire(const QString &connectionString);
    // Closes every connection; the cursors on them must be gone.
    void closeAll();

private:
    QHash<QString, std::vector<std::shared_ptr<CADODatabase>>> m_pool;
};

// The rows of one data control during a run, read forward: the run's current row, the row
// after it (to see a group end coming) and nothing more in memory. The script's Recordset has
// a position of its own (scriptRow), which the run sets to its row before each event; reading
// anywhere but at those two rows runs the record source again on a cursor of its own.
class DataCursor
{
public:
    DataCursor() = default;
    ~DataCursor();
    DataCursor(const DataCursor &) = delete;
    DataCursor &operator=(const DataCursor &) = delete;

    // Runs source and makes its first row current; the error names the reason.
    Result<void> open(DataConnections &connections, const QString &connectionString,
                      const QString &source);
    // Gives the connections back; fields stay known, rows are gone.
    void close();
    bool isOpen() const { return m_open; }

    const QVector<db::FieldDef> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const;

    // The run's side: the current row (the last one once the rows are through).
    bool hasRow() const { return m_row >= 0; }
    int row() const { return m_row; }
    QVariant value(int column) const { return m_current.value(column); }
    bool hasNext() const;
    QVariant nextValue(int column) const;
    // Moves to the next row; false when reading failed (error() says why).
    bool next();

    // The script's side, at any row index: false past the end or on a failure (error()).
    int scriptRow = 0;
    bool rowExists(int row);
    QVariant valueAt(int row, int column);
    // The number of rows, counted by reading them when the run has not seen them all.
    int rowCount();
    // The values from row on, row by row; afterwards the script's cursor is at the end.
    QVector<QVector<QVariant>> rowsFrom(int row);

    QString error() const { return m_error; }

private:
    bool seekScript(int row);
    bool failWith(const db::ErrorInfo &error);

    DataConnections *m_connections = nullptr;
    QString m_connectionString;
    QString m_source;
    bool m_open = false;
    QVector<db::FieldDef> m_fields;
    int m_row = -1;
    QVector<QVariant> m_current;
    std::shared_ptr<CADODatabase> m_db;
    std::unique_ptr<db::RowCursor> m_rows; // on the row after the current one
    std::shared_ptr<CADODatabase> m_scriptDb;
    std::unique_ptr<db::RowCursor> m_script;
    QString m_error;
};

} // namespace vantrel::report
