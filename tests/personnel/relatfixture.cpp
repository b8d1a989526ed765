#include "relatfixture.h"

#include "core/db/cadodatabase.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"

using namespace Qt::StringLiterals;

bool fillRelatFixture(CADODatabase &db, QString *error, int *wageSets)
{
    const auto fail = [&](const QString &why) {
        *error = why;
        return false;
    };
    const QStringList statements {
        db.dialect().ddl(u"CREATE TABLE qz_Rel1 (ID %IDENTITY%, PID INTEGER NOT NULL,"
                         " Ord INTEGER NOT NULL DEFAULT 0, F1 VARCHAR(50), F2 %DATETIME%,"
                         " F3 VARCHAR(100))"_s),
        db.dialect().ddl(u"CREATE TABLE qz_Rel2 (ID %IDENTITY%, PID INTEGER NOT NULL,"
                         " Ord INTEGER NOT NULL DEFAULT 0, F1 VARCHAR(50))"_s),
        db.dialect().ddl(u"CREATE TABLE qz_Rel3 (ID %IDENTITY%, PID INTEGER NOT NULL,"
                         " Ord INTEGER NOT NULL DEFAULT 0)"_s),
        u"INSERT INTO qz_Table (TblName, Title, nType, bShow, Ord) VALUES"
        " ('qz_Rel1', '学历', 5, 1, 1), ('qz_Rel2', '家庭成员', 5, 1, 2),"
        " ('qz_Rel3', '旧档案', 5, 0, 3)"_s,
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iLength, bShow, iWid, Ord)"
        " VALUES ('QZ_REL1', 'F1', '学校', 1, 50, 1, 90, 1),"
        " ('QZ_REL1', 'F2', '毕业日期', 2, 8, 1, 100, 2),"
        " ('QZ_REL1', 'F3', '说明\"注\"', 1, 100, 1, 0, 3),"
        " ('QZ_REL2', 'F1', '称谓', 1, 50, 1, 80, 1)"_s,
        u"INSERT INTO qz_Rel1 (PID, Ord, F1, F2) VALUES (1, 1, '北大', ?), (1, 2, '清华', ?)"_s,
    };
    const QVariantList dates { QDateTime(QDate(2001, 7, 1), QTime(0, 0)),
                               QDateTime(QDate(2004, 7, 1), QTime(0, 0)) };
    for (const QString &statement : statements) {
        if (!db.Execute(statement, statement.contains(u'?') ? dates : QVariantList()))
            return fail(statement + u"\n"_s + db.GetLastErrorString());
    }
    const vantrel::Result<int> pay = vantrel::payroll::AddWageSet(db, u"工资"_s);
    const vantrel::Result<int> bonus = vantrel::payroll::AddWageSet(db, u"奖金"_s);
    if (!pay || !bonus)
        return fail(pay ? bonus.error() : pay.error());
    WageItemDefinition basic;
    basic.alias = u"基本工资"_s;
    const vantrel::Result<int> item = vantrel::payroll::AddWageItem(db, *pay, basic);
    if (!item)
        return fail(item.error());
    const QString table = vantrel::payroll::WageSetDataTableName(*pay);
    const QString column = vantrel::payroll::WageItemColumnName(*item);
    for (const auto &[period, amount] :
         { std::pair { 202401, 1000.0 }, std::pair { 202403, 1300.0 },
           std::pair { 202402, 1200.0 } }) {
        if (!db.Execute(
                u"INSERT INTO %1 (PID, fDate, DID, %2) VALUES (1, ?, 1, ?)"_s.arg(table, column),
                { period, amount }))
            return fail(db.GetLastErrorString());
    }
    if (wageSets) {
        wageSets[0] = *pay;
        wageSets[1] = *bonus;
    }
    return true;
}
