#include "core/script/wagevalues.h"

#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/payroll/wagesetschema.h"
#include "core/script/scriptsession.h"

using namespace Qt::StringLiterals;
using vantrel::Result;

namespace {

Result<QVariant> noConnection()
{
    return Result<QVariant>::failure(u"No database connection for scripts on this thread."_s);
}

// The first value the procedure returns; invalid when it returns no row.
Result<QVariant> firstValue(CADOCommand &command)
{
    if (!command.Execute())
        return Result<QVariant>::failure(command.GetLastErrorString());
    const vantrel::db::RowSet rows = command.TakeResultSet();
    return rows.value(0, 0);
}

Result<double> toNumber(const Result<QVariant> &value)
{
    if (!value)
        return Result<double>::failure(value.error());
    bool ok = false;
    const double number = value->toDouble(&ok);
    return ok ? number : 0.0;
}

} // namespace

Result<double> ScriptCount(const ScriptSession &session)
{
    if (!session.database)
        return Result<double>::failure(noConnection().error());
    if (session.fromWhere.trimmed().isEmpty())
        return 0.0;
    if (!vantrel::payroll::IsSingleFromClause(session.fromWhere))
        return Result<double>::failure(u"The FROM/WHERE text of the wage view is not one FROM "
                                       "clause."_s);
    CADORecordset rs(session.database);
    if (!rs.Open(u"SELECT COUNT(*)"_s + session.fromWhere, QVariantList()))
        return Result<double>::failure(rs.GetLastErrorString());
    qint64 count = 0;
    if (!rs.IsEof() && !rs.GetFieldValueInt64(0, count))
        count = 0;
    return double(count);
}

Result<double> ScriptAggregate(const ScriptSession &session, const QString &function,
                               const QString &itemAlias)
{
    if (!session.database)
        return Result<double>::failure(noConnection().error());
    CADOCommand command(session.database, u"qz_GetAggregeWageValue"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, session.wageSetId);
    // The whole text, however long the view's conditions make it.
    command.AddParameterText(u"FromWhereSql"_s, adLongVarChar, adParamInput,
                             long(session.fromWhere.size()), session.fromWhere);
    command.AddParameterText(u"ItmAlias"_s, adVarChar, adParamInput, 50, itemAlias);
    command.AddParameterText(u"AgFun"_s, adVarChar, adParamInput, 10, function);
    return toNumber(firstValue(command));
}

Result<QVariant> PersonWageValue(const ScriptSession &session, const QString &number,
                                 const QString &wageSetName, int period, const QString &itemAlias)
{
    if (!session.database)
        return noConnection();
    CADOCommand command(session.database, u"qz_GetPSNWageValue"_s);
    command.AddParameterText(u"PsnNumber"_s, adVarChar, adParamInput, 50, number);
    command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, period);
    command.AddParameterText(u"ItmAlias"_s, adVarChar, adParamInput, 50, itemAlias);
    command.AddParameterText(u"SortName"_s, adVarChar, adParamInput, 100, wageSetName);
    return firstValue(command);
}

Result<QVariant> PersonPreviousWageValue(const ScriptSession &session, const QString &number,
                                         const QString &wageSetName, int period, int monthsBefore,
                                         const QString &itemAlias)
{
    if (!session.database)
        return noConnection();
    CADOCommand command(session.database, u"qz_GetPSNPreWageValue"_s);
    command.AddParameterText(u"PsnNumber"_s, adVarChar, adParamInput, 50, number);
    command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, period);
    command.AddParameterInt(u"nPer"_s, adInteger, adParamInput, 4, monthsBefore);
    command.AddParameterText(u"ItmAlias"_s, adVarChar, adParamInput, 50, itemAlias);
    command.AddParameterText(u"SortName"_s, adVarChar, adParamInput, 100, wageSetName);
    return firstValue(command);
}
