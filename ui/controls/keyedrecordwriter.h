#pragma once

#include "ui/controls/recordwriter.h"

#include <QHash>
#include <QString>

class CADODatabase;

// Writes a changed cell into one table by the row's key:
//   UPDATE <table> SET <column> = ? WHERE <key column> = ? AND <column> = <value read before>
// so another user's change of that cell in the meantime is a conflict (no row updated). Serves
// grids over joined rows and grids that read their rows by key, whose rows the recordset
// cannot write itself. The grid needs a key field (SetKeyField) whose value is the key column's.
class KeyedRecordWriter : public RecordWriter
{
public:
    // Fields are written to the column of the same name unless the map names another (field
    // names compared without case); names must be plain identifiers.
    KeyedRecordWriter(CADODatabase *connection, const QString &table, const QString &keyColumn,
                      const QHash<QString, QString> &columnOfField = {});

    vantrel::db::ErrorInfo WriteField(const GridRecordRef &record, int field,
                                      const QVariant &value) override;

private:
    QString columnOf(const QString &fieldName) const;

    CADODatabase *m_pConnection;
    QString m_strTable;
    QString m_strKeyColumn;
    QHash<QString, QString> m_columnOfField; // lower-case field name → column
};
