#pragma once

#include "core/db/adoconstants.h"
#include "core/db/rowset.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

class CADODatabase;
class CADOParameter;

// Runs one of the program's registered procedures (command type adCmdStoredProc, or adCmdText
// naming a procedure) or a SQL text with its parameters bound to the '?' placeholders in
// order. A procedure runs in one transaction (a savepoint inside an open one): it either
// changes everything it means to or nothing. Failures return false and keep the report.
class CADOCommand
{
public:
    CADOCommand(CADODatabase *db, const QString &text = {}, int commandType = adCmdStoredProc);
    virtual ~CADOCommand();

    // The parameter stays the caller's and must outlive the execution; its value is
    // written back afterwards (return value, outputs).
    bool AddParameterObject(CADOParameter *parameter);
    bool AddParameterInt(const QString &name, int dataType, int direction, long size, int value);
    bool AddParameterText(const QString &name, int dataType, int direction, long size,
                          const QString &value);
    bool AddParameterVariant(const QString &name, int dataType, int direction, long size,
                             const QVariant &value, int precision = 0, int scale = 0);

    bool Execute();
    // The first value of the first row of the result set; invalid when there is none.
    QVariant ExecuteScalar();
    // The result set of the last execution, moved out.
    vantrel::db::RowSet TakeResultSet();

    int GetRecordsAffected() const { return m_recordsAffected; }
    const QString &GetCommandText() const { return m_text; }
    int GetCommandType() const { return m_type; }
    QString GetLastErrorString() const { return m_lastError; }
    quint32 GetLastError() const { return m_lastErrorCode; }
    CADODatabase *database() const { return m_db; }

private:
    bool runProcedure();
    bool runText();
    void storeError(quint32 code, const QString &description);

    CADODatabase *m_db;
    QString m_text;
    int m_type;
    std::vector<std::unique_ptr<CADOParameter>> m_owned;
    QVector<CADOParameter *> m_parameters;
    vantrel::db::RowSet m_result;
    bool m_hasResult = false;
    int m_recordsAffected = 0;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
};
