#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/db/migrations/migrations.h"
#include "core/db/procedureregistry.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "payroll/psnchooserlist.h"
#include "payroll/wageitemsave.h"
#include "payroll/wagesetupnames.h"
#include "payroll/wagesetupprocedures.h"
#include "payroll/wagesetupqueries.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

// One procedure call: its return value (-1 when it set none) and its rows.
struct Call
{
    bool ok = false;
    int returned = -1;
    vantrel::db::RowSet rows;
    QString error;
};

// Parameters by name with their values; texts go as adVarChar, the rest as adInteger.
Call call(const QString &procedure, const QList<std::pair<QString, QVariant>> &inputs)
{
    CADOCommand command(&theDatabase, procedure);
    CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
    returned.SetValue(-1);
    command.AddParameterObject(&returned);
    for (const auto &[name, value] : inputs) {
        if (value.typeId() == QMetaType::QString)
            command.AddParameterText(name, adVarChar, adParamInput, 255, value.toString());
        else
            command.AddParameterInt(name, adInteger, adParamInput, 4, value.toInt());
    }
    Call result;
    result.ok = command.Execute();
    result.error = command.GetLastErrorString();
    result.returned = returned.GetValue().toInt();
    result.rows = command.TakeResultSet();
    return result;
}

template<typename T> T or_(const vantrel::Result<T> &result, T fallback)
{
    return result ? *result : fallback;
}

int scalar(const QString &sql, const QVariantList &values = {})
{
    return GetScalarInt(sql, values).valueOr(-99);
}

int addSet(const QString &name)
{
    const Call added = call(u"qz_AddWageSort"_s, { { u"Name"_s, name }, { u"Descr"_s, u""_s } });
    return added.ok && added.returned == 0 ? added.rows.value(0, 0).toInt() : 0;
}

int addItem(int sid, const QString &alias, int dataType, const QString &idRef = {})
{
    WageItemFields fields;
    fields.sid = sid;
    fields.alias = alias;
    fields.dataType = dataType;
    fields.dictionaryCode = idRef;
    const WageItemSaveOutcome saved = SaveWageItem(theDatabase, fields);
    return saved.saved ? fields.itemId : 0;
}

int addPerson(int did, const QString &number, int ord)
{
    return InsertReturningId(u"qz_PsnBase"_s, { u"DID"_s, u"Number"_s, u"Name"_s, u"Ord"_s },
                             { did, number, QString(u"人员"_s + number), ord }, u"PID"_s);
}

int addDept(int parent, const QString &parentArr, int ord)
{
    const int did = InsertReturningId(u"qz_Dept"_s, { u"ParentID"_s, u"Name"_s, u"Ord"_s },
                                      { parent, u"部门"_s, ord }, u"DID"_s);
    theDatabase.Execute(u"UPDATE qz_Dept SET ParentArr = ? WHERE DID = ?"_s,
                        { QString(u"|%1"_s.arg(did) + parentArr), did });
    return did;
}

int addMember(int sid, int pid, int ord)
{
    return InsertReturningId(u"qz_WagePsn"_s, { u"SID"_s, u"PID"_s, u"Ord"_s }, { sid, pid, ord },
                             u"ID"_s);
}

QStringList column(const vantrel::db::RowSet &rows, int c)
{
    QStringList texts;
    for (int r = 0; r < rows.rowCount(); ++r)
        texts << rows.text(r, c);
    return texts;
}

} // namespace

class TestWageSetupProcedures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void addWageSet_data();
    void addWageSet();
    void nameTests();
    void itemColumns();
    void itemLists();
    void deleteWageSetLeavesNothing();
    void failedDeleteChangesNothing_data();
    void failedDeleteChangesNothing();
    void memberXml_data();
    void memberXml();
    void memberListsAndOrder();
    void migrationKeepsFirstMembership();
    void choosersKeptApart();
    void itemSave_data();
    void itemSave();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWageSetupProcedures::initTestCase()
{
    registerWageSetupProcedures(vantrel::db::ProcedureRegistry::instance());
    registerHostFunctions();
    CScriptHostProxy::setErrorPresenter({});
}

void TestWageSetupProcedures::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
}

void TestWageSetupProcedures::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWageSetupProcedures::addWageSet_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("filler");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("returned");
    QTest::newRow("new") << QStringList() << 0 << u"月薪"_s << 0;
    QTest::newRow("apostrophe") << QStringList { u"月薪"_s } << 0 << u"O'Brien's 薪"_s << 0;
    QTest::newRow("taken in other case") << QStringList { u"Monthly"_s } << 0 << u"MONTHLY"_s << 3;
    QTest::newRow("taken with blanks") << QStringList { u"月薪"_s } << 0 << u" 月薪 "_s << 3;
    QTest::newRow("999th") << QStringList() << 998 << u"年终奖"_s << 0;
    QTest::newRow("1000th") << QStringList() << 999 << u"年终奖"_s << 2;
}

void TestWageSetupProcedures::addWageSet()
{
    QFETCH(QStringList, existing);
    QFETCH(int, filler);
    QFETCH(QString, name);
    QFETCH(int, returned);
    for (const QString &set : std::as_const(existing))
        QVERIFY(addSet(set) > 0);
    QVector<QVariantList> rows;
    for (int i = 0; i < filler; ++i)
        rows.push_back({ u"filler%1"_s.arg(i), u"填充%1"_s.arg(i) });
    if (!rows.isEmpty())
        QVERIFY(
            theDatabase
                .runBatch(u"INSERT INTO qz_Table (TblName, Title, nType) VALUES (?, ?, 6)"_s, rows)
                .ok);
    const int before = scalar(u"SELECT COUNT(*) FROM qz_Table"_s);
    const Call added
        = call(u"qz_AddWageSort"_s, { { u"Name"_s, name }, { u"Descr"_s, u"说明"_s } });
    QVERIFY2(added.ok, qPrintable(added.error));
    QCOMPARE(added.returned, returned);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Table"_s), before + (returned == 0 ? 1 : 0));
    if (returned != 0) {
        QCOMPARE(added.rows.rowCount(), 0);
        return;
    }
    const int sid = added.rows.value(0, 0).toInt();
    QCOMPARE(GetScalarText(u"SELECT Title FROM qz_Table WHERE ID = ? AND nType = 6"_s, { sid }),
             name);
    QVERIFY(TableExists(WageSetDataTableName(sid)));
}

void TestWageSetupProcedures::nameTests()
{
    const int monthly = addSet(u"Monthly"_s);
    const int bonus = addSet(u"年终奖"_s);
    QVERIFY(monthly > 0 && bonus > 0);
    // A rename to its own name in capitals is free; to another set's name it is not.
    QCOMPARE(or_(IsWageSetNameTaken(theDatabase, u"MONTHLY"_s, monthly), true), false);
    QCOMPARE(or_(IsWageSetNameTaken(theDatabase, u"monthly "_s, bonus), false), true);
    QCOMPARE(or_(IsWageSetNameTaken(theDatabase, u"It's"_s), true), false);
    const Call renamed = call(u"qz_UpdateDBTable"_s,
                              { { u"ID"_s, monthly },
                                { u"Title"_s, u"MONTHLY"_s },
                                { u"Descr"_s, u"d"_s },
                                { u"IShow"_s, 1 } });
    QVERIFY2(renamed.ok, qPrintable(renamed.error));
    QCOMPARE(GetScalarText(u"SELECT Title FROM qz_Table WHERE ID = ?"_s, { monthly }),
             u"MONTHLY"_s);
    QVERIFY(!call(u"qz_UpdateDBTable"_s, { { u"ID"_s, 9999 }, { u"Title"_s, u"x"_s } }).ok);

    // Aliases are tested over the items of every wage set.
    const int pay = addItem(monthly, u"基本工资"_s, 0);
    QVERIFY(pay > 0);
    QCOMPARE(or_(IsWageItemAliasTaken(theDatabase, u"基本工资"_s), false), true);
    QCOMPARE(or_(IsWageItemAliasTaken(theDatabase, u"基本工资"_s, pay), true), false);
    QCOMPARE(addItem(bonus, u"基本工资"_s, 0), 0);
    // A failed query is no answer.
    theDatabase.Execute(u"DROP TABLE qz_Items"_s);
    QVERIFY(!IsWageItemAliasTaken(theDatabase, u"x"_s));
}

void TestWageSetupProcedures::itemColumns()
{
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Dict (DictId, Title, Active, Ord) VALUES ('ZC', '职称', 1, 1)"_s));
    const int sid = addSet(u"月薪"_s);
    const QString table = WageSetDataTableName(sid);
    const int number = addItem(sid, u"基本工资"_s, 0);
    const int text = addItem(sid, u"备注"_s, 1);
    const int date = addItem(sid, u"发放日期"_s, 2);
    const int dict = addItem(sid, u"职称"_s, 3, u"ZC"_s);
    QVERIFY(number && text && date && dict);
    const QString types = TestDatabase::backend() == vantrel::db::Backend::Postgres
        ? u"SELECT data_type FROM information_schema.columns WHERE table_name = lower(?)"
          " AND column_name = lower(?)"_s
        : u"SELECT type FROM pragma_table_info(?) WHERE name = ?"_s;
    const QStringList expected = TestDatabase::backend() == vantrel::db::Backend::Postgres
        ? QStringList { u"double precision"_s, u"character varying"_s,
                        u"timestamp without time zone"_s, u"character varying"_s }
        : QStringList { u"DOUBLE PRECISION"_s, u"VARCHAR(255)"_s, u"TIMESTAMP"_s,
                        u"VARCHAR(100)"_s };
    const QList<int> ids { number, text, date, dict };
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(GetScalarText(types, { table, WageItemColumnName(ids[i]) }).valueOr({}),
                 expected[i]);

    const QString insert
        = u"INSERT INTO %1 (PID, fDate, %2, %3, %4) VALUES (?, 200701, ?, ?, ?)"_s.arg(
            table, WageItemColumnName(number), WageItemColumnName(text), WageItemColumnName(dict));
    QVERIFY(theDatabase.Execute(insert, { 1, 3000.5, u"说明"_s, u"高级"_s }));

    // A modify changes what the editor shows, never the name, type or column.
    const Call modified = call(u"qz_AddDBTableWageItem"_s,
                               { { u"SID"_s, sid },
                                 { u"Active"_s, 0 },
                                 { u"ItemID"_s, text },
                                 { u"Alias"_s, u"附注"_s },
                                 { u"DataType"_s, 0 },
                                 { u"IdRef"_s, u""_s },
                                 { u"Property"_s, 0 },
                                 { u"Retain"_s, 0 },
                                 { u"StdTblID"_s, 0 },
                                 { u"FieldDec"_s, 0 },
                                 { u"Choice"_s, 1 },
                                 { u"FExp"_s, u""_s },
                                 { u"FExp2"_s, u""_s } });
    QVERIFY2(modified.ok, qPrintable(modified.error));
    QCOMPARE(modified.returned, 0);
    QCOMPARE(modified.rows.value(0, 0).toInt(), text);
    QCOMPARE(GetScalarText(u"SELECT Alias || '/' || Name || '/' || CAST(iDataType AS VARCHAR(5))"
                           " || '/' || CAST(Active AS VARCHAR(5)) FROM qz_Items WHERE ItemID = ?"_s,
                           { text })
                 .valueOr({}),
             u"附注/%1/1/0"_s.arg(WageItemColumnName(text)));
    QCOMPARE(GetScalarText(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(text), table)), u"说明"_s);
    const Call gone = call(u"qz_AddDBTableWageItem"_s,
                           { { u"SID"_s, sid }, { u"ItemID"_s, 9999 }, { u"Alias"_s, u"x"_s } });
    QVERIFY(gone.ok);
    QCOMPARE(gone.returned, 1);

    // Deleting the date item keeps the values of the other columns.
    const Call deleted
        = call(u"qz_DeleteWageSortItemByID"_s, { { u"SID"_s, sid }, { u"ItemID"_s, date } });
    QVERIFY2(deleted.ok, qPrintable(deleted.error));
    QVERIFY(!theDatabase.catalog().columns(table).contains(WageItemColumnName(date),
                                                           Qt::CaseInsensitive));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE ItemID = ?"_s, { date }), 0);
    QCOMPARE(GetScalarVariant(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(number), table))
                 .valueOr({})
                 .toDouble(),
             3000.5);
    QCOMPARE(GetScalarText(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(dict), table)), u"高级"_s);
    // Another set's id does not reach this set's item.
    const int other = addSet(u"年终奖"_s);
    QVERIFY(
        !call(u"qz_DeleteWageSortItemByID"_s, { { u"SID"_s, other }, { u"ItemID"_s, number } }).ok);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE ItemID = ?"_s, { number }), 1);
}

void TestWageSetupProcedures::itemLists()
{
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Dict (DictId, Title, Active, Ord) VALUES ('ZC', '职称', 1, 1)"_s));
    const int sid = addSet(u"月薪"_s);
    const int a = addItem(sid, u"基本工资"_s, 0);
    const int b = addItem(sid, u"职称"_s, 3, u"ZC"_s);
    const int c = addItem(sid, u"奖金"_s, 0);
    QVERIFY(a && b && c);
    // Ties and gaps: the current order stays, ItemID decides ties.
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_Items SET Ord = 7, OrdF = 5 WHERE ItemID = ?"_s, { a }));
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_Items SET Ord = 7, OrdF = 9 WHERE ItemID = ?"_s, { b }));
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_Items SET Ord = 3, OrdF = 5 WHERE ItemID = ?"_s, { c }));
    QVERIFY(call(u"qz_RefreshWageItemOrder"_s, { { u"SID"_s, sid } }).ok);
    QVERIFY(call(u"qz_RefreshWageItemCalcOrder"_s, { { u"SID"_s, sid } }).ok);
    const Call items = call(u"qz_SelectWageSetItemsByID"_s, { { u"SID"_s, sid } });
    QVERIFY2(items.ok, qPrintable(items.error));
    QCOMPARE(column(items.rows, 3), (QStringList { u"奖金"_s, u"基本工资"_s, u"职称"_s }));
    QCOMPARE(column(items.rows, 13), (QStringList { u"1"_s, u"2"_s, u"3"_s }));
    QCOMPARE(items.rows.text(2, 2), WageItemColumnName(b));
    QCOMPARE(items.rows.text(2, 5), u"职称"_s);
    QCOMPARE(items.rows.text(2, 12), u"ZC"_s);
    const Call calc = call(u"qz_SelectWageSetItemsReOrderByID"_s, { { u"SID"_s, sid } });
    QCOMPARE(column(calc.rows, 1), (QStringList { u"基本工资"_s, u"奖金"_s, u"职称"_s }));
    QCOMPARE(column(calc.rows, 2), (QStringList { u"自由输入"_s, u"自由输入"_s, u"自由输入"_s }));
    QCOMPARE(column(calc.rows, 4), (QStringList { u"1"_s, u"2"_s, u"3"_s }));
}

void TestWageSetupProcedures::deleteWageSetLeavesNothing()
{
    const int sid = addSet(u"月薪"_s);
    const int keep = addSet(u"年终奖"_s);
    const QString table = WageSetDataTableName(sid);
    QVERIFY(addItem(sid, u"基本工资"_s, 0) && addItem(keep, u"奖金"_s, 0));
    for (int set : { sid, keep }) {
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageTable (SID, fDate) VALUES (?, 200701)"_s,
                                    { set }));
        QVERIFY(addMember(set, 1, 1) > 0);
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageStdTable (SID, STDName, STDTable)"
                                    u" VALUES (?, '级别', ?)"_s,
                                    { set, u"qz_WageStd%1"_s.arg(set) }));
        QVERIFY(theDatabase.Execute(
            u"CREATE TABLE qz_WageStd%1 (id INTEGER, DictValue VARCHAR(20), Jine DOUBLE PRECISION)"_s
                .arg(set)));
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageStdTblItem (StdID, DictId, DictValue)"
                                    u" SELECT id, 'ZC', '01' FROM qz_WageStdTable WHERE SID = ?"_s,
                                    { set }));
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageExport (SID, Name) VALUES (?, '工行')"_s,
                                    { set }));
        QVERIFY(theDatabase.Execute(
            u"INSERT INTO qz_WageAnnounce (SID, Name) VALUES (?, '工资条')"_s, { set }));
        const int report = InsertReturningId(u"qz_Report"_s, { u"SID"_s, u"Type"_s, u"Name"_s },
                                             { set, 0, u"工资表"_s }, u"ID"_s);
        QVERIFY(theDatabase.Execute(
            u"INSERT INTO qz_Report (ParentID, Type, SID, Name) VALUES (?, -1, 0, '子报表')"_s,
            { report }));
    }
    // The personnel module's mail templates have SID 0.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageAnnounce (SID, Name) VALUES (0, '通知')"_s));
    QVERIFY(!call(u"qz_DeleteWageSort"_s, { { u"SID"_s, 0 } }).returned);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WageAnnounce WHERE SID = 0"_s), 1);

    const Call deleted = call(u"qz_DeleteWageSort"_s, { { u"SID"_s, sid } });
    QVERIFY2(deleted.ok, qPrintable(deleted.error));
    QCOMPARE(deleted.returned, 1);
    QVERIFY(!TableExists(table));
    QVERIFY(!TableExists(u"qz_WageStd%1"_s.arg(sid)));
    const QStringList dependants {
        u"SELECT COUNT(*) FROM qz_Table WHERE ID = ?"_s,
        u"SELECT COUNT(*) FROM qz_WageTable WHERE SID = ?"_s,
        u"SELECT COUNT(*) FROM qz_WagePsn WHERE SID = ?"_s,
        u"SELECT COUNT(*) FROM qz_WageStdTable WHERE SID = ?"_s,
        u"SELECT COUNT(*) FROM qz_WageExport WHERE SID = ?"_s,
        u"SELECT COUNT(*) FROM qz_WageAnnounce WHERE SID = ?"_s,
        u"SELECT COUNT(*) FROM qz_Report WHERE SID = ?"_s,
    };
    for (const QString &sql : dependants) {
        QVERIFY2(scalar(sql, { sid }) == 0, qPrintable(sql));
        QVERIFY2(scalar(sql, { keep }) == 1, qPrintable(sql));
    }
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName) = upper(?)"_s, { table }),
             0);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WageStdTblItem"_s), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Report WHERE Type = -1"_s), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WageAnnounce WHERE SID = 0"_s), 1);
    QVERIFY(TableExists(WageSetDataTableName(keep)));
    // A set that is gone answers 0.
    QCOMPARE(call(u"qz_DeleteWageSort"_s, { { u"SID"_s, sid } }).returned, 0);
}

void TestWageSetupProcedures::failedDeleteChangesNothing_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("wage set") << u"set"_s;
    QTest::newRow("item whose column a view uses") << u"item"_s;
    QTest::newRow("members by malformed XML") << u"members"_s;
}

void TestWageSetupProcedures::failedDeleteChangesNothing()
{
    QFETCH(QString, what);
    const int sid = addSet(u"月薪"_s);
    const QString table = WageSetDataTableName(sid);
    const int item = addItem(sid, u"基本工资"_s, 0);
    QVERIFY(item > 0 && addMember(sid, 1, 1) > 0 && addMember(sid, 2, 2) > 0);
    QVERIFY(theDatabase.Execute(u"INSERT INTO %1 (PID, fDate, %2) VALUES (1, 200701, 12.5)"_s.arg(
        table, WageItemColumnName(item))));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageTable (SID, fDate) VALUES (?, 200701)"_s,
                                { sid }));
    auto state = [&] {
        return QStringList {
            QString::number(scalar(u"SELECT COUNT(*) FROM qz_Table WHERE ID = ?"_s, { sid })),
            QString::number(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE iSort = 1"_s)),
            QString::number(scalar(u"SELECT COUNT(*) FROM qz_WagePsn"_s)),
            QString::number(scalar(u"SELECT COUNT(*) FROM qz_WageTable"_s)),
            GetScalarText(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(item), table)).valueOr({}),
        }
            .join(u',');
    };
    Call failed;
    if (what == u"set") {
        // Fails late, after the data table and most rows are gone.
        QVERIFY(theDatabase.Execute(u"DROP TABLE qz_WageAnnounce"_s));
        const QString before = state();
        failed = call(u"qz_DeleteWageSort"_s, { { u"SID"_s, sid } });
        QCOMPARE(state(), before);
    } else if (what == u"item") {
        QVERIFY(theDatabase.Execute(
            u"CREATE VIEW v_pay AS SELECT %1 FROM %2"_s.arg(WageItemColumnName(item), table)));
        const QString before = state();
        failed = call(u"qz_DeleteWageSortItemByID"_s, { { u"SID"_s, sid }, { u"ItemID"_s, item } });
        QCOMPARE(state(), before);
    } else {
        const QString before = state();
        const int id = scalar(u"SELECT MIN(ID) FROM qz_WagePsn"_s);
        failed = call(
            u"qz_DeleteWageSortPsnSelectBySortID"_s,
            { { u"SID"_s, sid },
              { u"IDXML"_s, u"<psns><psn id=\"%1\"></psn><psn id=\"x\"/></psns>"_s.arg(id) } });
        QCOMPARE(state(), before);
    }
    QVERIFY(!failed.ok);
    QVERIFY(!failed.error.isEmpty());
    QVERIFY(TableExists(table));
}

void TestWageSetupProcedures::memberXml_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("left"); // the members left, of own (o1, o2) and other's (x)
    QTest::newRow("one") << u"<psns><psn id=\"%1\"></psn></psns>"_s << true << u"o2,x"_s;
    QTest::newRow("both and another set's")
        << u"<psns><psn id=\"%1\"></psn><psn id=\"%2\"/><psn id=\"%3\"></psn></psns>"_s << true
        << u"x"_s;
    QTest::newRow("empty list") << u"<psns></psns>"_s << true << u"o1,o2,x"_s;
    QTest::newRow("unclosed") << u"<psns><psn id=\"%1\"></psns>"_s << false << u"o1,o2,x"_s;
    QTest::newRow("not a number") << u"<psns><psn id=\"%1 OR 1=1\"/></psns>"_s << false
                                  << u"o1,o2,x"_s;
    QTest::newRow("other root") << u"<ids><psn id=\"%1\"/></ids>"_s << false << u"o1,o2,x"_s;
    QTest::newRow("no XML") << u"%1,%2"_s << false << u"o1,o2,x"_s;
}

void TestWageSetupProcedures::memberXml()
{
    QFETCH(QString, xml);
    QFETCH(bool, ok);
    QFETCH(QString, left);
    const int own = addSet(u"月薪"_s);
    const int other = addSet(u"年终奖"_s);
    const int o1 = addMember(own, 1, 1);
    const int o2 = addMember(own, 2, 2);
    const int x = addMember(other, 3, 1);
    QString text = xml;
    text.replace(u"%1"_s, QString::number(o1)).replace(u"%2"_s, QString::number(o2));
    text.replace(u"%3"_s, QString::number(x));
    const Call deleted = call(u"qz_DeleteWageSortPsnSelectBySortID"_s,
                              { { u"SID"_s, own }, { u"IDXML"_s, text } });
    QCOMPARE(deleted.ok, ok);
    QStringList remaining;
    for (const auto &[name, id] : { std::pair { u"o1"_s, o1 }, { u"o2"_s, o2 }, { u"x"_s, x } }) {
        if (scalar(u"SELECT COUNT(*) FROM qz_WagePsn WHERE ID = ?"_s, { id }) == 1)
            remaining << name;
    }
    QCOMPARE(remaining.join(u','), left);
}

void TestWageSetupProcedures::memberListsAndOrder()
{
    const int top = addDept(0, u"|"_s, 1);
    const int second = addDept(0, u"|"_s, 2);
    const int sub = addDept(top, u"|%1|"_s.arg(top), 3);
    const int sid = addSet(u"月薪"_s);
    // Default order: department order, then person order, then number.
    const int p1 = addPerson(second, u"A1"_s, 1);
    const int p2 = addPerson(top, u"B2"_s, 2);
    const int p3 = addPerson(top, u"B1"_s, 2);
    const int p4 = addPerson(sub, u"C1"_s, 0);
    for (int pid : { p1, p2, p3, p4 })
        QVERIFY(addMember(sid, pid, 50 - pid) > 0);
    // One membership per person and set.
    QVERIFY(!theDatabase.Execute(u"INSERT INTO qz_WagePsn (SID, PID, Ord) VALUES (?, ?, 1)"_s,
                                 { sid, p1 }));
    QVERIFY(call(u"qz_RefreshWagePsnDefaultOrder"_s, { { u"SID"_s, sid }, { u"DID"_s, 0 } }).ok);
    const Call all = call(u"qz_SelectWagePsnBySort"_s, { { u"SID"_s, sid }, { u"DID"_s, 0 } });
    QVERIFY2(all.ok, qPrintable(all.error));
    QCOMPARE(all.rows.columnCount(), 7);
    QCOMPARE(column(all.rows, 1), (QStringList { u"B1"_s, u"B2"_s, u"A1"_s, u"C1"_s }));
    QCOMPARE(column(all.rows, 6), (QStringList { u"1"_s, u"2"_s, u"3"_s, u"4"_s }));
    // A department shows its subtree.
    const Call subtree
        = call(u"qz_SelectWagePsnBySort"_s, { { u"SID"_s, sid }, { u"DID"_s, top } });
    QCOMPARE(column(subtree.rows, 1), (QStringList { u"B1"_s, u"B2"_s, u"C1"_s }));
    QCOMPARE(
        call(u"qz_SelectWagePsnBySort"_s, { { u"SID"_s, sid }, { u"DID"_s, sub } }).rows.rowCount(),
        1);
    // The grid opens the same statement.
    const BoundQuery query = WageSetMembersQuery(sid, top);
    QCOMPARE(theDatabase.run(query.sql, query.values).rows.rowCount(), 3);
}

void TestWageSetupProcedures::migrationKeepsFirstMembership()
{
    // The database as an older version left it: duplicates allowed.
    QVERIFY(theDatabase.Execute(u"DROP INDEX ux_qz_WagePsn_SID_PID"_s));
    const int first = addMember(1, 7, 3);
    QVERIFY(first > 0 && addMember(1, 7, 1) > 0 && addMember(1, 7, 2) > 0);
    const int other = addMember(2, 7, 1);
    const QStringList statements = vantrel::db::migration005WageSetup().statements;
    QVERIFY(theDatabase.Execute(theDatabase.dialect().ddl(statements.at(0))));
    QVERIFY(theDatabase.Execute(theDatabase.dialect().ddl(statements.at(2))));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WagePsn"_s), 2);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WagePsn WHERE ID IN (?, ?)"_s, { first, other }), 2);
}

void TestWageSetupProcedures::choosersKeptApart()
{
    const int dept = addDept(0, u"|"_s, 1);
    const int sid = addSet(u"月薪"_s);
    const int p1 = addPerson(dept, u"001"_s, 1);
    const int p2 = addPerson(dept, u"002"_s, 2);
    const int p3 = addPerson(dept, u"003"_s, 3);
    QVERIFY(addMember(sid, p3, 7) > 0);
    // A list left by a session that ended a day ago goes.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnPickWork (WorkKey, PID, CKD, ord, Created)"
                                u" VALUES (?, 1, 1, 1, ?)"_s,
                                { NewChooserWorkKey(), QDateTime::currentDateTime().addDays(-2) }));

    auto first = std::make_unique<PsnChooserList>(theDatabase, sid);
    PsnChooserList second(theDatabase, sid);
    QVERIFY(first->workKey() != second.workKey());
    QVERIFY(first->build(0));
    QVERIFY(second.build(dept));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnPickWork"_s), 4);
    const BoundQuery list = first->listQuery();
    const auto rows = theDatabase.run(list.sql, list.values).rows;
    QCOMPARE(rows.columnCount(), 8);
    // Members are not offered; the others get the orders after the last member.
    QCOMPARE(column(rows, 2), (QStringList { u"001"_s, u"002"_s }));
    QCOMPARE(column(rows, 7), (QStringList { u"8"_s, u"9"_s }));

    QVERIFY(first->setAllTicked(true));
    QCOMPARE(or_(first->tickedCount(), -1), 2);
    QCOMPARE(or_(second.tickedCount(), -1), 0);
    QVERIFY(second.setTicked(p2, true));
    QCOMPARE(or_(second.tickedCount(), -1), 1);
    // The second chooser adds its one tick; the first then skips the new member.
    QCOMPARE(or_(second.addTicked(), -1), 1);
    QCOMPARE(or_(first->addTicked(), -1), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WagePsn WHERE SID = ?"_s, { sid }), 3);
    QCOMPARE(scalar(u"SELECT Ord FROM qz_WagePsn WHERE PID = ?"_s, { p1 }), 8);
    QCOMPARE(or_(first->tickedCount(), -1), 0);

    // The drop of one list leaves the other; only a work key is accepted.
    QVERIFY(second.build(0) && first->build(0));
    const QString firstKey = first->workKey();
    first.reset();
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnPickWork WHERE WorkKey = ?"_s, { firstKey }), 0);
    QVERIFY(scalar(u"SELECT COUNT(*) FROM qz_PsnPickWork WHERE WorkKey = ?"_s, { second.workKey() })
            >= 0);
    QVERIFY(!call(u"qz_DeleteTmpTbl"_s, { { u"TblName"_s, u"qz_Users"_s } }).ok);
    QVERIFY(!call(u"qz_SelectWagePsn"_s, { { u"TblName"_s, u"qz_Users"_s } }).ok);
    QVERIFY(TableExists(u"qz_Users"_s));
    QVERIFY(second.addOne(p1, 3)); // already a member: skipped, no failure
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WagePsn WHERE SID = ?"_s, { sid }), 3);
}

void TestWageSetupProcedures::itemSave_data()
{
    QTest::addColumn<int>("property");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("fexp2");
    QTest::addColumn<QString>("fexp"); // %1: the column of 基本工资
    QTest::addColumn<QString>("message");
    QTest::newRow("reference") << 1 << u"[月薪.基本工资]*2"_s << u"[月薪.基本工资]*2"_s
                               << u"{%1}*2"_s << QString();
    QTest::newRow("brackets in a quoted literal")
        << 1 << u"IIf([月薪.基本工资]>0,\"[正]\",\"负\")"_s
        << u"IIf([月薪.基本工资]>0,\"正\",\"负\")"_s << u"IIf({%1}>0,\"正\",\"负\")"_s << QString();
    QTest::newRow("person item") << 1 << u"Len([人员信息.姓名])"_s << u"Len([人员信息.姓名])"_s
                                 << u"Len({Name})"_s << QString();
    QTest::newRow("parentheses") << 1 << u"([月薪.基本工资]*2"_s << QString() << QString()
                                 << u"小括号不配对!"_s;
    QTest::newRow("unknown item") << 1 << u"[月薪.奖金]*2"_s << QString() << QString()
                                  << u"项目名称'月薪.奖金'不匹配!"_s;
    QTest::newRow("syntax") << 1 << u"[月薪.基本工资] * * 2"_s << QString() << QString()
                            << u"错误公式表达式,请检查函数名和参数是否正确!"_s;
    QTest::newRow("empty formula")
        << 1 << QString() << QString() << QString() << u"错误：公式内容不能为空!"_s;
    QTest::newRow("typed in drops the formula")
        << 0 << u"[月薪.基本工资]*2"_s << QString() << QString() << QString();
    QTest::newRow("lookup without a table")
        << 2 << QString() << QString() << QString() << u"请选择标准表!"_s;
}

void TestWageSetupProcedures::itemSave()
{
    QFETCH(int, property);
    QFETCH(QString, formula);
    QFETCH(QString, fexp2);
    QFETCH(QString, fexp);
    QFETCH(QString, message);
    const int sid = addSet(u"月薪"_s);
    const int pay = addItem(sid, u"基本工资"_s, 0);
    QVERIFY(pay > 0);
    const int itemsBefore = scalar(u"SELECT COUNT(*) FROM qz_Items"_s);
    WageItemFields fields;
    fields.sid = sid;
    fields.alias = u" 应发合计 "_s;
    fields.property = property;
    fields.formula = formula;
    const WageItemSaveOutcome saved = SaveWageItem(theDatabase, fields);
    QCOMPARE(saved.message, message);
    QCOMPARE(saved.saved, message.isEmpty());
    if (!saved.saved) {
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items"_s), itemsBefore);
        return;
    }
    const auto row
        = theDatabase.run(u"SELECT Alias, FExp2, FExp, iProperty FROM qz_Items WHERE ItemID = ?"_s,
                          { fields.itemId });
    QCOMPARE(row.rows.text(0, 0), u"应发合计"_s);
    QCOMPARE(row.rows.text(0, 1), fexp2);
    QCOMPARE(row.rows.text(0, 2), fexp.replace(u"%1"_s, WageItemColumnName(pay)));
    QCOMPARE(row.rows.value(0, 3).toInt(), property);
}

QTEST_GUILESS_MAIN(TestWageSetupProcedures)
#include "tst_wagesetupprocedures.moc"
