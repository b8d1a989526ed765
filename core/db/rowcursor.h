#pragma once

#include "core/db/errorreport.h"
#include "core/db/rowset.h"
#include "core/db/rowstream.h"

#include <QVariantList>

#include <memory>

class CADODatabase;

namespace vantrel::db {

// A forward-only cursor over one read-only query (CADODatabase::openReadOnlyCursor). It reads
// a few hundred rows at a time, so memory does not grow with the result. While its statement
// runs it has the connection to itself, inside a read-only transaction level of its own; the
// level ends as soon as the last row has been read, or when the cursor is closed. The
// connection must outlive the cursor, or close it first (CADODatabase::Close does).
class RowCursor
{
public:
    ~RowCursor();
    RowCursor(const RowCursor &) = delete;
    RowCursor &operator=(const RowCursor &) = delete;

    // The columns as the statement names them; lookup ignores case, -1 when absent.
    const QVector<FieldDef> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const;

    // True past the last row, when closed, and after a failure.
    bool isEof() const;
    // The current row's index from 0; the number of rows at the end.
    qint64 position() const { return m_position; }
    // A value of the current row, as RowSet hands it out; invalid for NULL or at the end.
    QVariant value(int column) const;

    // False when reading failed (error() says why); reaching the end is not a failure.
    bool moveNext();
    // Back to the first row: runs the statement again unless it is on the first row already.
    bool moveFirst();
    void close();

    const ErrorInfo &error() const { return m_error; }

private:
    friend class ::CADODatabase;
    RowCursor(CADODatabase &db, const QString &sql, const QVariantList &values);
    bool start();
    void stop();
    bool fetch();
    bool failWith(const ErrorInfo &error);

    CADODatabase *m_db;
    QString m_sql;
    QVariantList m_values;
    std::unique_ptr<RowStream> m_stream; // while the statement runs
    bool m_guarded = false;              // the read-only level is open
    RowSet m_chunk;
    int m_chunkRow = 0;
    qint64 m_position = 0;
    bool m_started = false;
    QVector<FieldDef> m_fields;
    ErrorInfo m_error;
};

} // namespace vantrel::db
