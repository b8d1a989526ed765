#include "payroll/wagescope.h"

#include "core/app/currentuser.h"
#include "core/query/querybuilders.h"
#include "personnel/psnscope.h"

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

QString WageFromClause(const QString &table)
{
    return BuildDetailFromClause(table, false);
}

Result<personnel::SqlCondition> BuildWageWhere(CADODatabase &db, const WageScope &scope,
                                               const CCurrentUser &user)
{
    personnel::ScopeColumns columns;
    columns.department = scope.table + u".DID"_s;
    columns.category = scope.table + u".AID"_s;
    return personnel::BuildScopeWhere(db, scope.department, scope.category, user, columns,
                                      { u"(%1.fDate=?)"_s.arg(scope.table), { scope.period } });
}

QString WageColumnTable(const QString &table, const QString &name)
{
    return name == u"Number"_s || name == u"Name"_s ? u"QZ_PSNBASE"_s : table;
}

WageViewSource WageScopeSource(const QString &table, const personnel::SqlCondition &where)
{
    WageViewSource source;
    source.table = table;
    source.joins << WageViewSource::Fragment {
        u"INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"
        u" INNER JOIN qz_Dept ON %1.DID = qz_Dept.DID"
        u" INNER JOIN qz_PsnSort ON %1.AID = qz_PsnSort.AID"_s.arg(table),
        {}
    };
    QString condition = where.sql.trimmed();
    if (condition.startsWith(u"WHERE"_s))
        condition = condition.mid(5).trimmed();
    if (!condition.isEmpty())
        source.conditions << WageViewSource::Fragment { condition, where.values };
    return source;
}

} // namespace vantrel::payroll
