#include "payroll/wagecellwrite.h"

#include "core/db/cadodatabase.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/wagebatchupdate.h"
#include "payroll/wageperiods.h"

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

WageCellOutcome refused(WageCellRefusal why, const QString &message)
{
    return WageCellOutcome { why, message, {} };
}

} // namespace

WageCellOutcome CheckWageCellEditable(CADODatabase &db, int sid, const QString &table, int period,
                                      int pid)
{
    const Result<WagePeriodState> state = ReadWagePeriodState(db, sid, period);
    if (!state)
        return refused(WageCellRefusal::Failed, state.error());
    if (!state->exists)
        return refused(WageCellRefusal::Gone, LoadResString(133));
    if (state->closed)
        return refused(WageCellRefusal::Closed, LoadResString(110));
    const db::QueryResult row
        = db.run(u"SELECT 1 FROM %1 WHERE fDate = ? AND PID = ?"_s.arg(table), { period, pid });
    if (!row.ok)
        return refused(WageCellRefusal::Failed, row.error.description);
    if (!row.hasRow())
        return refused(WageCellRefusal::Gone, LoadResString(133));
    return {};
}

WageCellOutcome WriteWageCell(CADODatabase &db, const WageCellEdit &edit)
{
    const Result<WageItemInfo> item = ReadWageItem(db, edit.table, edit.itemName);
    if (!item)
        return refused(WageCellRefusal::Invalid, item.error());
    const Result<QVariant> value = CheckWageValue(db, *item, edit.text);
    if (!value)
        return refused(WageCellRefusal::Invalid, value.error());
    db::DbTransaction transaction(db);
    WageCellOutcome checked
        = CheckWageCellEditable(db, edit.sid, edit.table, edit.period, edit.pid);
    if (checked.refusal != WageCellRefusal::None)
        return checked;
    const db::QueryResult written
        = db.run(u"UPDATE %1 SET %2 = ? WHERE fDate = ? AND PID = ?"_s.arg(edit.table, item->name),
                 { *value, edit.period, edit.pid });
    if (!written.ok)
        return refused(WageCellRefusal::Failed, written.error.description);
    if (written.rowsAffected == 0)
        return refused(WageCellRefusal::Gone, LoadResString(133));
    if (!transaction.commit())
        return refused(WageCellRefusal::Failed, db.GetLastErrorString());
    return WageCellOutcome { WageCellRefusal::None, {}, *value };
}

QString WageCellLogText(const QString &wageSet, int period, const QString &personName,
                        const QString &heading, const QString &shown)
{
    return u"薪资管理[修改个人薪资数据'%1:%2|<%3>:%4(%5)']"_s.arg(wageSet, FormatWagePeriod(period),
                                                                  personName, heading, shown);
}

} // namespace vantrel::payroll
