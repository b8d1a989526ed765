#pragma once

#include "core/db/errorreport.h"
#include "core/db/rowset.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

class CADODatabase;
class CADOCommand;

// What GetFieldInfo tells of one column.
struct tagADOFIELDINFO
{
    QString m_strName; // at most 29 characters
    short m_nType = 0; // the ADO data-type code (adInteger 3, adDouble 5, adVarWChar 202 …)
    long m_lSize = 0;  // the value's byte count in the current row
    long m_lDefinedSize = 0;
    long m_lAttributes = 0;
};

// Rows of one query, held in memory so that every move, count and filter works alike on
// both backends. Writes go back to the single table the query reads, one row at a time,
// found by that table's key (fetched alongside when the query does not select it).
// Failures return false and keep an error report (beginning "Query = ") in the object.
// Copies share the same rows.
class CADORecordset
{
public:
    // A scoped enum, so that a brace list of values never passes for an option.
    enum class OpenOption { Unknown = 0, Query = 1, Table = 2, StoredProc = 3 };
    enum cadoEditEnum { dbEditNone = 0, dbEditNew = 1, dbEditInProgress = 2 };

    CADORecordset();
    explicit CADORecordset(CADODatabase *db);
    virtual ~CADORecordset();

    // An empty source reruns the last query. Table takes a table name, StoredProc runs a
    // registered procedure without arguments.
    bool Open(const QString &source, OpenOption option = OpenOption::Unknown);
    bool Open(const QString &source, CADODatabase *db, OpenOption option);
    // A query with values bound to its '?' placeholders.
    bool Open(const QString &sql, const QVariantList &values);
    // Runs the command and holds the result set it returns.
    bool Open(CADOCommand &command);
    // The tables (and views) of the connection: TABLE_NAME, TABLE_TYPE.
    bool OpenSchemaTables();

    bool IsOpen() const;
    bool IsConnectionOpen() const;
    void Close();

    bool IsEof() const;
    bool IsBof() const;
    void MoveNext();
    void MovePrevious();
    void MoveFirst();
    void MoveLast();
    long GetRecordCount() const;
    long GetFieldCount() const;
    // Zero-based position among the visible rows; -1 at BOF or EOF.
    long GetAbsolutePosition() const;
    bool SetAbsolutePosition(long position);

    bool GetFieldValueDouble(int index, double &value);
    bool GetFieldValueLong(int index, long &value);
    bool GetFieldValueInt(int index, int &value);
    bool GetFieldValueIntByName(const QString &name, int &value);
    bool GetFieldValueInt64(int index, qint64 &value);
    bool GetFieldValueText(int index, QString &value, const QString &dateFormat = {});
    bool GetFieldValueTextByName(const QString &name, QString &value,
                                 const QString &dateFormat = {});
    // An empty or NULL value gives an invalid (null) date and true.
    bool GetFieldValueDateByName(const QString &name, QDateTime &value);
    bool GetFieldValueBool(int index, bool &value);
    bool GetFieldValueVariant(int index, QVariant &value);
    bool GetFieldValueVariantByName(const QString &name, QVariant &value);
    bool IsFieldNull(int index) const;

    bool GetFieldInfo(int index, tagADOFIELDINFO *info) const;
    int GetFieldIndex(const QString &name) const; // -1 when there is no such field
    QString GetFieldName(int index) const;        // whole, unlike GetFieldInfo
    vantrel::db::FieldKind GetFieldKind(int index) const;
    long GetFieldSizeByName(const QString &name) const;
    bool AppendChunkByName(const QString &name, const QByteArray &bytes);
    bool AppendChunk(int index, const QByteArray &bytes);

    bool AddNew();
    void Edit();
    // Writes the pending row. On failure the pending values stay (the row is still being
    // added or edited), so the caller can correct and retry, or CancelUpdate.
    bool Update();
    void CancelUpdate();
    // Deletes the current row from the table and from the recordset.
    bool Delete();
    int GetEditMode() const { return m_editStatus; }

    bool SetFieldValueText(int index, const QString &value);
    bool SetFieldValueTextByName(const QString &name, const QString &value);
    bool SetFieldValueInt(int index, int value);
    bool SetFieldValueIntByName(const QString &name, int value);
    bool SetFieldValueDateByName(const QString &name, const QDateTime &value);
    bool SetFieldValueVariant(int index, const QVariant &value);
    bool SetFieldValueVariantByName(const QString &name, const QVariant &value);

    // ADO filter criteria ("Name = 'x' AND Age > 30", LIKE with * or %); empty shows all.
    bool SetFilter(const QString &criteria);

    // Writes every row into an .xlsx workbook at the path (its extension made .xlsx);
    // the recordset ends at EOF.
    bool ExportToExcel(const QString &filePath);

    QString GetQuery() const { return m_query; }
    QString GetLastErrorString() const { return m_lastError; }
    quint32 GetLastError() const { return m_lastErrorCode; }
    CADODatabase *database() const { return m_db; }

    void StoreError(const vantrel::db::ErrorInfo &error);

private:
    struct Data;

    bool openRows(const QString &sql, const QVariantList &values);
    void adopt(vantrel::db::RowSet rows);
    bool fieldAt(int index, QVariant *value);
    int indexOf(const QString &name);
    bool putFieldValue(int index, const QVariant &value);
    bool writeNew();
    bool writeChanges();
    bool requireWritable();
    int currentRow() const; // index into the rows, -1 at BOF/EOF

    CADODatabase *m_db = nullptr;
    std::shared_ptr<Data> m_data;
    int m_editStatus = dbEditNone;
    QString m_query;
    QVariantList m_values;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
};
