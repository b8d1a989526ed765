#include "wagefixture.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"

#include <QDateTime>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

WageItemDefinition item(const QString &alias, short dataType = ItemNumber)
{
    WageItemDefinition definition;
    definition.alias = alias;
    definition.dataType = dataType;
    return definition;
}

} // namespace

bool WageFixture::build(CADODatabase &db, const QString &connectionString)
{
    const auto run = [&](const QString &sql, const QVariantList &values = {}) {
        if (!db.Execute(sql, values))
            error = db.GetLastErrorString();
        return error.isEmpty();
    };
    run(u"INSERT INTO qz_Dept (Name, Ord) VALUES ('总部', 1), ('工厂', 2)"_s);
    run(u"INSERT INTO qz_PsnSort (Name, Ord) VALUES ('正式', 1)"_s);
    run(u"INSERT INTO qz_PsnBase (DID, AID, Number, Name, Ord) VALUES (1, 1, '0001', '张三', 1),"
        " (1, 1, '0002', '李四', 2), (2, 1, '0003', '王五', 3), (2, 1, '0004', '赵六', 4)"_s);
    const auto monthly = AddWageSet(db, u"月度工资"_s);
    const auto bonus = AddWageSet(db, u"年终奖"_s);
    if (!monthly || !bonus) {
        error = monthly ? bonus.error() : monthly.error();
        return false;
    }
    monthlySet = *monthly;
    bonusSet = *bonus;
    monthlyTable = WageSetDataTableName(monthlySet);
    bonusTable = WageSetDataTableName(bonusSet);
    QStringList columns;
    for (const auto &definition : { item(u"基本工资"_s), item(u"奖金"_s), item(u"备注"_s, ItemText),
                                    item(u"发放日期"_s, ItemDate) }) {
        const auto added = AddWageItem(db, monthlySet, definition);
        columns << (added ? WageItemColumnName(*added) : QString());
        if (!added)
            error = added.error();
    }
    const auto bonusItem = AddWageItem(db, bonusSet, item(u"奖金"_s));
    if (!bonusItem)
        error = bonusItem.error();
    if (!error.isEmpty())
        return false;
    const QString insert
        = u"INSERT INTO %1 (PID, fDate, DID, AID, Ord, %2, %3, %4) VALUES (?, ?, ?, 1, ?, ?, ?, ?)"_s
              .arg(monthlyTable, columns[0], columns[2], columns[3]);
    const int periods[] = { 200611, 200612, 200701 };
    for (int p = 0; p < 3; ++p) {
        run(u"INSERT INTO qz_WageTable (SID, fDate, Stat, CreateDate) VALUES (?, ?, 0, ?)"_s,
            { monthlySet, periods[p], QDateTime::currentDateTime() });
        for (int pid = 1; pid <= 3; ++pid)
            run(insert,
                { pid, periods[p], pid == 3 ? 2 : 1, pid, 1000.0 * (pid + 2) + 100 * p,
                  u"%1月"_s.arg(periods[p] % 100), QDateTime(QDate(2007, 1, 5), {}) });
    }
    run(u"INSERT INTO %1 (PID, fDate, DID, AID, Ord) VALUES (4, 200701, 2, 1, 4)"_s.arg(
        monthlyTable));
    run(u"INSERT INTO %1 (PID, fDate, DID, AID, Ord, %2) VALUES (1, 200612, 1, 1, 1, 10000)"_s.arg(
        bonusTable, WageItemColumnName(*bonusItem)));
    publish(connectionString);
    return error.isEmpty();
}

void WageFixture::publish(const QString &connectionString) const
{
    theApp.m_strConnection = connectionString;
    theApp.SDate = 200701;
    theApp.SID = monthlySet;
    theApp.SName = u"月度工资"_s;
    theApp.m_wageView = wageView(200701);
    theCurrentUser.UserName = u"admin"_s;
}

WageViewSource WageFixture::wageView(int period) const
{
    WageViewSource view;
    view.table = monthlyTable;
    view.joins
        = { { u"INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"_s.arg(monthlyTable), {} },
            { u"INNER JOIN qz_Dept ON %1.DID = qz_Dept.DID"_s.arg(monthlyTable), {} },
            { u"INNER JOIN qz_PsnSort ON %1.AID = qz_PsnSort.AID"_s.arg(monthlyTable), {} } };
    view.conditions = { { u"%1.fDate = ?"_s.arg(monthlyTable), { period } } };
    return view;
}
