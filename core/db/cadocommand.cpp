#include "core/db/cadocommand.h"

#include <climits>

#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/db/procedureregistry.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

CADOCommand::CADOCommand(CADODatabase *db, const QString &text, int commandType)
    : m_db(db), m_text(text), m_type(commandType)
{
}

CADOCommand::~CADOCommand() = default;

void CADOCommand::storeError(quint32 code, const QString &description)
{
    m_lastError = ErrorInfo::make(code, description, m_text).report("CADOCommand");
    m_lastErrorCode = code;
}

bool CADOCommand::AddParameterObject(CADOParameter *parameter)
{
    if (!parameter) {
        storeError(ErrorCode::InvalidArgument, u"No parameter."_s);
        return false;
    }
    m_parameters.push_back(parameter);
    return true;
}

bool CADOCommand::AddParameterVariant(const QString &name, int dataType, int direction, long size,
                                      const QVariant &value, int, int)
{
    auto parameter = std::make_unique<CADOParameter>(dataType, size, direction, name);
    parameter->SetValue(value);
    m_parameters.push_back(parameter.get());
    m_owned.push_back(std::move(parameter));
    return true;
}

bool CADOCommand::AddParameterInt(const QString &name, int dataType, int direction, long size,
                                  int value)
{
    return AddParameterVariant(name, dataType, direction, size, value);
}

bool CADOCommand::AddParameterText(const QString &name, int dataType, int direction, long size,
                                   const QString &value)
{
    // An empty text stays a text, never NULL.
    return AddParameterVariant(name, dataType, direction, size,
                               value.isNull() ? QVariant(QString(u""_s)) : QVariant(value));
}

bool CADOCommand::Execute()
{
    m_recordsAffected = 0;
    m_result = RowSet();
    m_hasResult = false;
    if (!m_db || !m_db->IsOpen()) {
        storeError(ErrorCode::ObjectClosed, u"The connection is closed."_s);
        return false;
    }
    if (ProcedureRegistry::instance().find(m_text))
        return runProcedure();
    if (m_type == adCmdStoredProc) {
        storeError(ErrorCode::CommandError, u"Could not find stored procedure '%1'."_s.arg(m_text));
        return false;
    }
    return runText();
}

bool CADOCommand::runProcedure()
{
    const Procedure procedure = ProcedureRegistry::instance().find(m_text);
    DbTransaction transaction(*m_db);
    if (!transaction.isActive()) {
        storeError(m_db->GetLastError(), m_db->GetLastErrorString());
        return false;
    }
    ProcedureContext context(*m_db, m_parameters);
    const bool ok = procedure(context);
    if (!ok || !transaction.commit()) {
        transaction.rollback();
        storeError(ErrorCode::CommandError,
                   context.error().isEmpty() ? m_db->GetLastErrorString() : context.error());
        return false;
    }
    m_recordsAffected = context.recordsAffected();
    m_hasResult = context.hasResult();
    m_result = context.takeResult();
    return true;
}

bool CADOCommand::runText()
{
    QVariantList values;
    for (const CADOParameter *p : m_parameters) {
        if (p->GetDirection() != adParamReturnValue && p->GetDirection() != adParamOutput)
            values << p->GetValue();
    }
    QueryResult result = m_db->run(m_text, values);
    if (!result.ok) {
        storeError(result.error.code, result.error.description);
        return false;
    }
    if (result.returnsRows) {
        m_result = std::move(result.rows);
        m_hasResult = true;
    } else {
        m_recordsAffected = int(qMin<qint64>(result.rowsAffected, INT_MAX));
    }
    return true;
}

QVariant CADOCommand::ExecuteScalar()
{
    if (!Execute() || !m_hasResult)
        return {};
    return m_result.value(0, 0);
}

RowSet CADOCommand::TakeResultSet()
{
    m_hasResult = false;
    return std::move(m_result);
}
