#include "core/db/procedureregistry.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/db/procedures/coreprocedures.h"
#include "core/db/procedures/personprocedures.h"
#include "core/payroll/payrollprocedures.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

ProcedureContext::ProcedureContext(CADODatabase &db, QVector<CADOParameter *> parameters)
    : m_db(db), m_parameters(std::move(parameters))
{
}

namespace {

bool isInput(const CADOParameter *p)
{
    return p->GetDirection() == adParamInput || p->GetDirection() == adParamInputOutput
        || p->GetDirection() == adParamUnknown;
}

} // namespace

int ProcedureContext::inputCount() const
{
    return int(std::count_if(m_parameters.cbegin(), m_parameters.cend(), isInput));
}

QVariant ProcedureContext::input(int position) const
{
    int n = 0;
    for (const CADOParameter *p : m_parameters) {
        if (isInput(p) && n++ == position)
            return p->GetValue();
    }
    return {};
}

CADOParameter *ProcedureContext::parameter(const QString &name) const
{
    for (CADOParameter *p : m_parameters) {
        if (p->GetName().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    }
    return nullptr;
}

QVariant ProcedureContext::input(const QString &name) const
{
    const CADOParameter *p = parameter(name);
    return p ? p->GetValue() : QVariant();
}

void ProcedureContext::setOutput(const QString &name, const QVariant &value)
{
    if (CADOParameter *p = parameter(name))
        p->SetValue(value);
}

void ProcedureContext::setReturnValue(int value)
{
    for (CADOParameter *p : m_parameters) {
        if (p->GetDirection() == adParamReturnValue)
            p->SetValue(value);
    }
}

bool ProcedureContext::exec(const QString &sql, const QVariantList &values)
{
    const QueryResult result = m_db.run(sql, values);
    if (!result.ok)
        return fail(result.error.description);
    m_recordsAffected += int(result.rowsAffected);
    return true;
}

bool ProcedureContext::select(const QString &sql, const QVariantList &values)
{
    QueryResult result = m_db.run(sql, values);
    if (!result.ok)
        return fail(result.error.description);
    setResult(std::move(result.rows));
    return true;
}

void ProcedureContext::setResult(RowSet rows)
{
    m_result = std::move(rows);
    m_hasResult = true;
}

bool ProcedureContext::insertOrRewrite(const QString &table, const QStringList &columns,
                                       const QVariantList &values, const QString &keyColumn, int id,
                                       const QString &missing)
{
    if (id == 0) {
        const QString marks = QStringList(columns.size(), u"?"_s).join(u", "_s);
        return exec(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, columns.join(u", "_s), marks),
                    values);
    }
    if (!exec(
            u"UPDATE %1 SET %2 = ? WHERE %3 = ?"_s.arg(table, columns.join(u" = ?, "_s), keyColumn),
            QVariantList(values) << id))
        return false;
    return recordsAffected() > 0 || fail(missing);
}

bool ProcedureContext::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

ProcedureRegistry::ProcedureRegistry()
{
    registerCoreProcedures(*this);
    registerPersonProcedures(*this);
    payroll::registerPayrollProcedures(*this);
}

ProcedureRegistry &ProcedureRegistry::instance()
{
    static ProcedureRegistry registry;
    return registry;
}

void ProcedureRegistry::add(const QString &name, Procedure procedure)
{
    QMutexLocker lock(&m_mutex);
    m_procedures.insert(name.toLower(), std::move(procedure));
}

Procedure ProcedureRegistry::find(const QString &name) const
{
    QMutexLocker lock(&m_mutex);
    return m_procedures.value(name.trimmed().toLower());
}

} // namespace vantrel::db
