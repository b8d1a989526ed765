#include "core/script/wagevalues.h"

#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wageviewsource.h"
#include "core/script/scriptsession.h"

using namespace Qt::StringLiterals;
using vantrel::Result;
using vantrel::payroll::WageViewSource;

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
    return command.TakeResultSet().value(0, 0);
}

Result<double> toNumber(const QVariant &value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? number : 0.0;
}

Result<double> toNumber(const Result<QVariant> &value)
{
    if (!value)
        return Result<double>::failure(value.error());
    return toNumber(*value);
}

} // namespace

Result<double> ScriptCount(const ScriptSession &session)
{
    if (!session.database)
        return Result<double>::failure(noConnection().error());
    if (session.wageView.isEmpty())
        return 0.0;
    const Result<WageViewSource::Fragment> source = session.wageView.render(*session.database);
    if (!source)
        return Result<double>::failure(source.error());
    const vantrel::db::QueryResult counted
        = session.database->runReadOnly(u"SELECT COUNT(*)"_s + source->sql, source->values);
    if (!counted.ok)
        return Result<double>::failure(counted.error.description);
    return toNumber(counted.scalar());
}

Result<double> ScriptAggregate(const ScriptSession &session, const QString &function,
                               const QString &itemAlias)
{
    if (!session.database)
        return Result<double>::failure(noConnection().error());
    WageViewSource::Fragment source;
    if (!session.wageView.isEmpty()) {
        const Result<WageViewSource::Fragment> rendered
            = session.wageView.render(*session.database);
        if (!rendered)
            return Result<double>::failure(rendered.error());
        source = *rendered;
    }
    CADOCommand command(session.database, u"qz_GetAggregeWageValue"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, session.wageSetId);
    // The whole text, however long the view's conditions make it, and its values.
    command.AddParameterText(u"FromWhereSql"_s, adLongVarChar, adParamInput,
                             long(source.sql.size()), source.sql);
    command.AddParameterVariant(u"FromWhereValues"_s, adVariant, adParamInput,
                                long(source.values.size()), source.values);
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
