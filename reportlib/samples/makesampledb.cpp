// ferrolyn-sampledb FILE: a new embedded database with the program's schema and sample data for
// the sample layouts: three departments, sixty persons, and a wage set "月度工资" with the
// period 2026-12 filled in.
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/schema.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"

#include <QCoreApplication>
#include <QDate>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "ferrolyn-sampledb: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2)
        return fail(u"usage: ferrolyn-sampledb FILE"_s);
    const QString path = args[1];
    if (const auto created = vantrel::db::createSqliteDatabase(path); !created)
        return fail(created.error());
    CADODatabase db;
    if (!db.Open(vantrel::db::ConnectionString::forSqlite(path)))
        return fail(db.GetLastErrorString());
    if (const auto schema = vantrel::db::upgradeSchema(db); !schema)
        return fail(schema.error());

    vantrel::db::DbTransaction transaction(db);
    const QStringList departments { u"行政部"_s, u"财务部"_s, u"技术部"_s };
    QVector<int> deptIds;
    for (int i = 0; i < departments.size(); ++i) {
        const auto r
            = db.run(u"INSERT INTO qz_Dept (ParentID, Name, Ord) VALUES (0, ?, ?) RETURNING DID"_s,
                     { departments[i], i + 1 });
        if (!r.ok)
            return fail(r.error.description);
        const int did = r.scalar().toInt();
        deptIds.append(did);
        db.Execute(u"UPDATE qz_Dept SET ParentArr = ? WHERE DID = ?"_s,
                   { QString(u"|"_s + QString::number(did) + u"|"_s), did });
    }
    const QStringList surnames { u"王"_s, u"李"_s, u"张"_s, u"刘"_s, u"陈"_s,
                                 u"杨"_s, u"赵"_s, u"黄"_s, u"周"_s, u"吴"_s };
    const QStringList given { u"伟"_s, u"芳"_s, u"娜"_s, u"秀英"_s, u"敏"_s, u"静"_s };
    QVector<int> pids;
    for (int i = 0; i < 60; ++i) {
        const QString name = surnames[i % surnames.size()] + given[(i / 3) % given.size()];
        const auto r = db.run(
            u"INSERT INTO qz_PsnBase (DID, Number, Name, Sex, Birthday, Ord) "
            "VALUES (?, ?, ?, ?, ?, ?) RETURNING PID"_s,
            { deptIds[i % 3], u"P%1"_s.arg(i + 1, 4, 10, QChar(u'0')), name,
              i % 2 ? u"女"_s : u"男"_s,
              QDateTime(QDate(1970 + i % 30, 1 + i % 12, 1 + i % 28), QTime(0, 0)), i + 1 });
        if (!r.ok)
            return fail(r.error.description);
        pids.append(r.scalar().toInt());
    }
    if (!transaction.commit())
        return fail(db.GetLastErrorString());

    const auto sid = vantrel::payroll::AddWageSet(db, u"月度工资"_s);
    if (!sid)
        return fail(sid.error());
    QStringList columns;
    for (const QString &alias : { u"基本工资"_s, u"岗位工资"_s, u"扣款"_s }) {
        WageItemDefinition item;
        item.alias = alias;
        const auto id = vantrel::payroll::AddWageItem(db, *sid, item);
        if (!id)
            return fail(id.error());
        columns.append(vantrel::payroll::WageItemColumnName(*id));
    }
    const QString table = vantrel::payroll::WageSetDataTableName(*sid);
    QVector<QVariantList> rows;
    for (int i = 0; i < pids.size(); ++i)
        rows.append(QVariantList { pids[i], 202612, deptIds[i % 3], i + 1, 3000.0 + 125.5 * (i % 9),
                                   800.0 + 50 * (i % 4), i % 5 == 0 ? 120.25 : 0.0 });
    const auto inserted = db.runBatch(
        u"INSERT INTO %1 (PID, fDate, DID, Ord, %2, %3, %4) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)"_s.arg(table, columns[0], columns[1], columns[2]),
        rows);
    if (!inserted.ok)
        return fail(inserted.error.description);
    // The wage list of the period with the items under their titles, for the wage-list sample.
    if (!db.Execute(
            u"CREATE VIEW 工资表 AS SELECT p.Number AS 编号, p.Name AS 姓名, d.Name AS 部门, "
            "w.%2 AS 基本工资, w.%3 AS 岗位工资, w.%4 AS 扣款, w.Ord AS 序号 "
            "FROM %1 w JOIN qz_PsnBase p ON p.PID = w.PID JOIN qz_Dept d ON d.DID = w.DID "
            "WHERE w.fDate = 202612"_s.arg(table, columns[0], columns[1], columns[2])))
        return fail(db.GetLastErrorString());
    std::printf("%s: 3 departments, 60 persons, wage set %d (%s: %s)\n", qPrintable(path), *sid,
                qPrintable(table), qPrintable(columns.join(u", "_s)));
    return 0;
}
