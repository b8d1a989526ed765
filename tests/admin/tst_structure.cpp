#include "admin/adminprocedures.h"
#include "admin/structureprocedures.h"
#include "admin/structurestore.h"
#include "admintestsupport.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/db/procedureregistry.h"
#include "testdatabase.h"

#include "core/query/scalarqueries.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::admin;

namespace {

int personTableId()
{
    return scalar(u"SELECT ID FROM qz_Table WHERE TblName='QZ_PSNBASE'"_s);
}

AdminOutcome saveTable(const QString &title, int parentId = personTableId())
{
    TableInput input;
    input.title = title;
    input.description = u"说明"_s;
    input.parentId = parentId;
    return StructureStore(theDatabase).saveTable(input);
}

// The id of a table added under the person table; 0 when it was refused.
int addTable(const QString &title)
{
    if (!saveTable(title).ok)
        return 0;
    return scalar(u"SELECT ID FROM qz_Table WHERE Title=?"_s, { title });
}

QString tableName(int id)
{
    return text(u"SELECT TblName FROM qz_Table WHERE ID=?"_s, { id });
}

ItemInput itemInput(const QString &table, const QString &alias, int dataType, int length = 50)
{
    ItemInput input;
    input.tableName = table;
    input.alias = alias;
    input.dataType = dataType;
    input.length = length;
    return input;
}

AdminOutcome saveItem(const ItemInput &input)
{
    return StructureStore(theDatabase).saveItem(input);
}

// The item id of an alias in a table; 0 when there is none.
int itemId(const QString &table, const QString &alias)
{
    return scalar(u"SELECT ItemID FROM qz_Items WHERE upper(TblName)=upper(?) AND Alias=?"_s,
                  { table, alias });
}

bool hasColumn(const QString &table, const QString &column)
{
    theDatabase.catalog().invalidate();
    return theDatabase.catalog().columns(table).contains(column, Qt::CaseInsensitive);
}

// Runs an add procedure directly and gives its Return (-1 when it never ran).
int addReturn(const QString &procedure, const QList<std::pair<QString, QVariant>> &inputs)
{
    CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
    returned.SetValue(-1);
    CADOCommand command(&theDatabase, procedure);
    command.AddParameterObject(&returned);
    for (const auto &[name, value] : inputs)
        command.AddParameterVariant(name,
                                    value.typeId() == QMetaType::QString ? adVarChar : adInteger,
                                    adParamInput, 100, value);
    command.ExecuteScalar();
    int value = -1;
    returned.GetValueInt(value);
    return value;
}

bool runDelete(const QString &procedure, int id)
{
    CADOCommand command(&theDatabase, procedure);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, id);
    return command.Execute();
}

} // namespace

class TestStructure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void addTableMakesRowAndTable();
    void addItemMakesTypedColumn_data();
    void addItemMakesTypedColumn();
    void modifyChangesMetadataOnly();
    void deleteItemDropsColumnAndData();
    void deleteTableDropsTableAndRow();
    void deleteRefusals_data();
    void deleteRefusals();
    void failedDdlLeavesNoRow();
    void duplicates_data();
    void duplicates();
    void procedureRepeatsDuplicateTest();
    void defaultValueSuitsType_data();
    void defaultValueSuitsType();
    void quotesInTitles();
    void listings();
    void blockedChangeFailsAfterTimeout();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestStructure::initTestCase()
{
    registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestStructure::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    setStructureLockTimeout(5000);
}

void TestStructure::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestStructure::addTableMakesRowAndTable()
{
    const int lastOrder = scalar(u"SELECT MAX(Ord) FROM qz_Table"_s);
    const int id = addTable(u"培训记录"_s);
    QVERIFY(id > 0);
    const auto row = theDatabase.run(
        u"SELECT TblName, nType, ParentID, Ord, Descr, bShow, bStat FROM qz_Table WHERE ID=?"_s,
        { id });
    QCOMPARE(row.rows.text(0, 0), ArchiveTableName(id));
    QCOMPARE(row.rows.value(0, 1).toInt(), 5);
    QCOMPARE(row.rows.value(0, 2).toInt(), personTableId());
    QCOMPARE(row.rows.value(0, 3).toInt(), lastOrder + 1);
    QCOMPARE(row.rows.text(0, 4), u"说明"_s);
    QCOMPARE(row.rows.value(0, 5).toInt(), 1);
    QCOMPARE(row.rows.value(0, 6).toInt(), 1); // offered to the statistics
    theDatabase.catalog().invalidate();
    QCOMPARE(theDatabase.catalog().primaryKey(tableName(id)).toUpper(), u"ID"_s);
    for (const QString &column : { u"PID"_s, u"Ord"_s })
        QVERIFY2(hasColumn(tableName(id), column), qPrintable(column));
    // The key is filled by the insert, as the record forms rely on.
    QVERIFY(theDatabase.Execute(u"INSERT INTO %1 (PID, Ord) VALUES (7, 1)"_s.arg(tableName(id))));
    QVERIFY(scalar(u"SELECT ID FROM %1 WHERE PID=7"_s.arg(tableName(id))) > 0);
}

void TestStructure::addItemMakesTypedColumn_data()
{
    QTest::addColumn<bool>("personTable");
    QTest::addColumn<int>("dataType");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("typeHas"); // part of the declared type, lower case
    QTest::addColumn<QVariant>("value");

    QTest::newRow("number") << true << 0 << 9 << u"double"_s << QVariant(1234.5);
    QTest::newRow("text 30") << false << 1 << 30 << u"(30)"_s << QVariant(u"上海"_s);
    QTest::newRow("date") << false << 2 << 8 << u"timestamp"_s
                          << QVariant(QDateTime(QDate(2020, 5, 1), QTime(0, 0)));
    QTest::newRow("reference") << true << 3 << 50 << u"(50)"_s << QVariant(u"本科"_s);
}

void TestStructure::addItemMakesTypedColumn()
{
    QFETCH(bool, personTable);
    QFETCH(int, dataType);
    QFETCH(int, length);
    QFETCH(QString, typeHas);
    QFETCH(QVariant, value);
    const QString table = personTable ? u"qz_PsnBase"_s : tableName(addTable(u"培训记录"_s));
    ItemInput input = itemInput(table, u"  grade ä "_s, dataType, length);
    if (dataType == 3)
        input.idRef = u"QZ_DEPT.NAME"_s;
    QVERIFY(saveItem(input).ok);
    const int id = itemId(table, u"GRADE Ä"_s); // trimmed, upper-cased beyond ASCII
    QVERIFY(id > 0);
    const auto row = theDatabase.run(
        u"SELECT Name, TblName, iSort, iDataType, iLength, IdRef FROM qz_Items WHERE ItemID=?"_s,
        { id });
    const QString column = row.rows.text(0, 0);
    QCOMPARE(column, ItemColumnName(id));
    QCOMPARE(row.rows.text(0, 1), table.toUpper());
    QCOMPARE(row.rows.value(0, 2).toInt(), personTable ? 0 : 5);
    QCOMPARE(row.rows.value(0, 3).toInt(), dataType);
    QCOMPARE(row.rows.value(0, 4).toInt(), length);
    QCOMPARE(row.rows.text(0, 5), dataType == 3 ? u"QZ_DEPT.NAME"_s : QString());
    theDatabase.catalog().invalidate();
    QVERIFY2(theDatabase.catalog().declaredType(table, column).toLower().contains(typeHas),
             qPrintable(theDatabase.catalog().declaredType(table, column)));
    // The column takes a value of its type.
    const QString insert = personTable
        ? u"INSERT INTO qz_PsnBase (Number, %1) VALUES ('N1', ?)"_s.arg(column)
        : u"INSERT INTO %1 (PID, Ord, %2) VALUES (1, 1, ?)"_s.arg(table, column);
    QVERIFY2(theDatabase.Execute(insert, { value }), qPrintable(theDatabase.GetLastErrorString()));
    const QVariant stored = theDatabase.run(u"SELECT %1 FROM %2"_s.arg(column, table)).scalar();
    if (value.typeId() == QMetaType::QDateTime)
        QCOMPARE(stored.toDateTime(), value.toDateTime());
    else
        QCOMPARE(stored.toString(), value.toString());
}

void TestStructure::modifyChangesMetadataOnly()
{
    QVERIFY(saveItem(itemInput(u"QZ_PSNBASE"_s, u"学历"_s, 1, 30)).ok);
    const int id = itemId(u"QZ_PSNBASE"_s, u"学历"_s);
    const QString column = ItemColumnName(id);
    const int columns = int(theDatabase.catalog().columns(u"qz_PsnBase"_s).size());
    ItemInput input = itemInput(u"QZ_PSNBASE"_s, u"最高学历"_s, 1, 30);
    input.adding = false;
    input.itemId = id;
    input.openedAlias = u"学历"_s;
    input.defaultValue = u"本科"_s;
    input.notNull = true;
    input.show = false;
    QVERIFY(saveItem(input).ok);
    const auto row = theDatabase.run(
        u"SELECT Alias, DefValue, bNotNull, bShow, Name FROM qz_Items WHERE ItemID=?"_s, { id });
    QCOMPARE(row.rows.text(0, 0), u"最高学历"_s);
    QCOMPARE(row.rows.text(0, 1), u"本科"_s);
    QCOMPARE(row.rows.value(0, 2).toInt(), 1);
    QCOMPARE(row.rows.value(0, 3).toInt(), 0);
    QCOMPARE(row.rows.text(0, 4), column);
    QVERIFY(hasColumn(u"qz_PsnBase"_s, column));
    QCOMPARE(int(theDatabase.catalog().columns(u"qz_PsnBase"_s).size()), columns);
    // The default is a rule of the forms, not of the column.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnBase (Number) VALUES ('N1')"_s));
    QVERIFY(theDatabase.run(u"SELECT %1 FROM qz_PsnBase WHERE Number='N1'"_s.arg(column))
                .scalar()
                .isNull());
}

void TestStructure::deleteItemDropsColumnAndData()
{
    QVERIFY(saveItem(itemInput(u"QZ_PSNBASE"_s, u"工号"_s, 1, 20)).ok);
    QVERIFY(saveItem(itemInput(u"QZ_PSNBASE"_s, u"职称"_s, 1, 20)).ok);
    const int id = itemId(u"QZ_PSNBASE"_s, u"工号"_s);
    const QString kept = ItemColumnName(itemId(u"QZ_PSNBASE"_s, u"职称"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnBase (Number, %1, %2) VALUES ('N1', 'A7', "
                                u"'工程师')"_s.arg(ItemColumnName(id), kept)));
    QVERIFY(StructureStore(theDatabase).deleteItem(id).ok);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE ItemID=?"_s, { id }), 0);
    QVERIFY(!hasColumn(u"qz_PsnBase"_s, ItemColumnName(id)));
    QVERIFY(!theDatabase.run(u"SELECT %1 FROM qz_PsnBase"_s.arg(ItemColumnName(id))).ok);
    // The person and the other columns stay.
    QCOMPARE(text(u"SELECT %1 FROM qz_PsnBase WHERE Number='N1'"_s.arg(kept)), u"工程师"_s);
}

void TestStructure::deleteTableDropsTableAndRow()
{
    const int id = addTable(u"奖惩记录"_s);
    const QString table = tableName(id);
    QVERIFY(StructureStore(theDatabase).checkTableDelete(id, table, false).ok);
    QVERIFY(StructureStore(theDatabase).deleteTable(id).ok);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Table WHERE ID=?"_s, { id }), 0);
    QVERIFY(!TableExists(table));
}

void TestStructure::deleteRefusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message"); // of the manager's check; empty: the check passes

    QTest::newRow("fixed table") << u"fixed"_s << u"系统固定数据表,不能删除!"_s;
    QTest::newRow("items under a name of other case")
        << u"items"_s << u"该数据表下还有项目字段,不能删除!"_s;
    QTest::newRow("child tables") << u"children"_s << u"该数据表下还有子表,不能删除!"_s;
}

void TestStructure::deleteRefusals()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    int id = personTableId();
    bool fixed = true;
    if (setup != u"fixed"_s) {
        id = addTable(u"培训记录"_s);
        fixed = false;
    }
    if (setup == u"items"_s)
        QVERIFY(saveItem(itemInput(tableName(id).toLower(), u"课程"_s, 1)).ok);
    if (setup == u"children"_s)
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, ParentID, nType) "
                                    u"VALUES ('qz_Child', '子表', ?, 5)"_s,
                                    { id }));
    const QString table = tableName(id);
    const AdminOutcome check = StructureStore(theDatabase).checkTableDelete(id, table, fixed);
    QCOMPARE(check.message, message);
    QCOMPARE(check.icon, AdminOutcome::Icon::Warning);
    // The procedure refuses the same on its own, and nothing goes.
    QVERIFY(!runDelete(u"qz_DeleteTableByID"_s, id));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Table WHERE ID=?"_s, { id }), 1);
    QVERIFY(TableExists(table));

    // A fixed item keeps its row and its column.
    const int number = itemId(u"QZ_PSNBASE"_s, u"编号"_s);
    QVERIFY(!runDelete(u"qz_DeleteItemByID"_s, number));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE ItemID=?"_s, { number }), 1);
    QVERIFY(hasColumn(u"qz_PsnBase"_s, u"Number"_s));
}

void TestStructure::failedDdlLeavesNoRow()
{
    // A table of that name is there before the procedure names its new table so.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title) VALUES ('probe', '探')"_s));
    const int next = scalar(u"SELECT ID FROM qz_Table WHERE TblName='probe'"_s) + 1;
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_Table WHERE TblName='probe'"_s));
    QVERIFY(theDatabase.Execute(u"CREATE TABLE %1 (x INTEGER)"_s.arg(ArchiveTableName(next))));
    const int tables = scalar(u"SELECT COUNT(*) FROM qz_Table"_s);
    const AdminOutcome added = saveTable(u"培训记录"_s);
    QVERIFY(!added.ok);
    QVERIFY2(added.message.startsWith(u"添加数据表失败!"_s), qPrintable(added.message));
    QCOMPARE(added.icon, AdminOutcome::Icon::Critical);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Table"_s), tables);

    // A row whose table is missing: the column cannot be made, so no item row stays.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType) "
                                u"VALUES ('qz_Missing', '缺表', 5)"_s));
    const int items = scalar(u"SELECT COUNT(*) FROM qz_Items"_s);
    const AdminOutcome item = saveItem(itemInput(u"qz_Missing"_s, u"课程"_s, 1));
    QVERIFY(!item.ok);
    QVERIFY2(item.message.startsWith(u"添加字段失败!"_s), qPrintable(item.message));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items"_s), items);
}

void TestStructure::duplicates_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("table title, other case")
        << u"table"_s << u"Training"_s << u" TRAINING "_s << u"错误：该数据表已存在!"_s;
    QTest::newRow("wage set title")
        << u"wageset"_s << u"工资"_s << u"工资"_s << u"错误：该数据表已存在!"_s;
    QTest::newRow("alias, other case")
        << u"item"_s << u"level"_s << u"LeVeL"_s << u"错误：该项目已存在!"_s;
    QTest::newRow("alias in another table")
        << u"otherTable"_s << u"级别"_s << u"级别"_s << QString();
}

void TestStructure::duplicates()
{
    QFETCH(QString, kind);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    AdminOutcome outcome;
    if (kind == u"table"_s || kind == u"wageset"_s) {
        if (kind == u"table"_s)
            QVERIFY(addTable(first) > 0);
        else
            QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType) "
                                        u"VALUES ('qz_WageData9', ?, 6)"_s,
                                        { first }));
        outcome = saveTable(second);
    } else {
        QVERIFY(saveItem(itemInput(u"QZ_PSNBASE"_s, first, 1)).ok);
        const QString table
            = kind == u"item"_s ? u"qz_psnbase"_s : tableName(addTable(u"培训记录"_s));
        outcome = saveItem(itemInput(table, second, 1));
    }
    QCOMPARE(outcome.ok, message.isEmpty());
    QCOMPARE(outcome.message, message);
    if (!message.isEmpty()) {
        QCOMPARE(outcome.icon, AdminOutcome::Icon::Information);
        QCOMPARE(outcome.focus, AdminOutcome::Field::Title);
    }
}

void TestStructure::procedureRepeatsDuplicateTest()
{
    // An editor that checked before another administrator saved: the procedure answers 2.
    QVERIFY(addTable(u"培训记录"_s) > 0);
    const int tables = scalar(u"SELECT COUNT(*) FROM qz_Table"_s);
    QCOMPARE(addReturn(u"qz_AddDBTable"_s,
                       { { u"nType"_s, 5 },
                         { u"Title"_s, u"培训记录"_s },
                         { u"Descr"_s, u""_s },
                         { u"ParentID"_s, personTableId() },
                         { u"IShow"_s, 1 } }),
             2);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Table"_s), tables);
    QVERIFY(saveItem(itemInput(u"QZ_PSNBASE"_s, u"ABC"_s, 1)).ok);
    const int items = scalar(u"SELECT COUNT(*) FROM qz_Items"_s);
    QCOMPARE(addReturn(u"qz_AddDBTableItem"_s,
                       { { u"iSort"_s, 0 },
                         { u"TblName"_s, u"QZ_PSNBASE"_s },
                         { u"Alias"_s, u"abc"_s },
                         { u"DataType"_s, 1 },
                         { u"IdRef"_s, u""_s },
                         { u"DefValue"_s, u""_s },
                         { u"Length"_s, 10 },
                         { u"bNotNull"_s, 0 },
                         { u"bShow"_s, 1 } }),
             2);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items"_s), items);
}

void TestStructure::defaultValueSuitsType_data()
{
    QTest::addColumn<int>("dataType");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("suits");

    QTest::newRow("number") << 0 << 9 << u"-12.5"_s << true;
    QTest::newRow("number with comma") << 0 << 9 << u"12,5"_s << false;
    QTest::newRow("number of letters") << 0 << 9 << u"abc"_s << false;
    QTest::newRow("date") << 2 << 8 << u"2020-02-29"_s << true;
    QTest::newRow("no such date") << 2 << 8 << u"2021-02-29"_s << false;
    QTest::newRow("date of another form") << 2 << 8 << u"2020/02/01"_s << false;
    QTest::newRow("text within") << 1 << 3 << u"三个字"_s << true;
    QTest::newRow("text too long") << 1 << 3 << u"四个字符"_s << false;
    QTest::newRow("empty") << 0 << 9 << QString() << true;
}

void TestStructure::defaultValueSuitsType()
{
    QFETCH(int, dataType);
    QFETCH(int, length);
    QFETCH(QString, value);
    QFETCH(bool, suits);
    ItemInput input = itemInput(u"QZ_PSNBASE"_s, u"默认"_s, dataType, length);
    input.defaultValue = value;
    const AdminOutcome outcome = saveItem(input);
    QCOMPARE(outcome.ok, suits);
    if (!suits) {
        QCOMPARE(outcome.message, u"错误：默认值与数据类型不符!"_s);
        QCOMPARE(outcome.focus, AdminOutcome::Field::DefaultValue);
        QCOMPARE(itemId(u"QZ_PSNBASE"_s, u"默认"_s), 0);
    } else {
        QCOMPARE(text(u"SELECT DefValue FROM qz_Items WHERE ItemID=?"_s,
                      { itemId(u"QZ_PSNBASE"_s, u"默认"_s) }),
                 value.isNull() ? QString() : value);
    }
}

void TestStructure::quotesInTitles()
{
    const QString title = u"O'Neil \"培训\""_s;
    const int id = addTable(title);
    QVERIFY(id > 0);
    QCOMPARE(saveTable(title).message, u"错误：该数据表已存在!"_s);
    QVERIFY(saveItem(itemInput(tableName(id), u"it's \"x\""_s, 1)).ok);
    QVERIFY(itemId(tableName(id), u"IT'S \"X\""_s) > 0);
}

void TestStructure::listings()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dict (DictId, Title, Active, Ord) "
                                u"VALUES ('007', '学历', 1, 1)"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType) "
                                u"VALUES ('qz_WageData9', '工资', 6)"_s));
    ItemInput input = itemInput(u"QZ_PSNBASE"_s, u"学历"_s, 3);
    input.idRef = u"007"_s;
    QVERIFY(saveItem(input).ok);

    CADOCommand tables(&theDatabase, u"qz_SelectSystemDBTable"_s);
    tables.AddParameterInt(u"UserID"_s, adInteger, adParamInput, 4, 1);
    QVERIFY(tables.Execute());
    const vantrel::db::RowSet tableRows = tables.TakeResultSet();
    QCOMPARE(int(tableRows.fields.size()), 8);
    QCOMPARE(tableRows.rowCount(), 3); // no wage set
    QCOMPARE(tableRows.text(0, 1), u"QZ_PSNBASE"_s);
    QCOMPARE(tableRows.value(0, 3).toInt(), 1); // fixed

    CADOCommand items(&theDatabase, u"qz_SelectFieldsByTableID"_s);
    items.AddParameterInt(u"TableID"_s, adInteger, adParamInput, 4, personTableId());
    QVERIFY(items.Execute());
    const vantrel::db::RowSet itemRows = items.TakeResultSet();
    QCOMPARE(int(itemRows.fields.size()), 12);
    const int last = itemRows.rowCount() - 1;
    QCOMPARE(itemRows.text(last, 2), u"学历"_s);
    QCOMPARE(itemRows.text(last, 4), u"3"_s);
    QCOMPARE(itemRows.text(last, 5), u"学历"_s); // the dictionary's title
    QCOMPARE(itemRows.text(last, 10), u"007"_s);
    QCOMPARE(itemRows.text(0, 5), QString()); // 编号 refers to nothing
}

void TestStructure::blockedChangeFailsAfterTimeout()
{
    if (TestDatabase::backend() != vantrel::db::Backend::Postgres)
        QSKIP("Only a server has other sessions that hold locks.");
    setStructureLockTimeout(200);
    CADODatabase other;
    QVERIFY2(other.Open(m_fixture->connectionString()), qPrintable(other.GetLastErrorString()));
    QVERIFY(other.BeginTrans());
    QVERIFY(other.run(u"SELECT COUNT(*) FROM qz_PsnBase"_s).ok);
    const int items = scalar(u"SELECT COUNT(*) FROM qz_Items"_s);
    const int columns = int(theDatabase.catalog().columns(u"qz_PsnBase"_s).size());
    QElapsedTimer timer;
    timer.start();
    const AdminOutcome outcome = saveItem(itemInput(u"QZ_PSNBASE"_s, u"备注"_s, 1));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.startsWith(u"添加字段失败!"_s), qPrintable(outcome.message));
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(other.RollbackTrans());
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items"_s), items);
    theDatabase.catalog().invalidate();
    QCOMPARE(int(theDatabase.catalog().columns(u"qz_PsnBase"_s).size()), columns);
    // Once the other session is done, the same change goes through.
    QVERIFY(saveItem(itemInput(u"QZ_PSNBASE"_s, u"备注"_s, 1)).ok);
}

QTEST_GUILESS_MAIN(TestStructure)
#include "tst_structure.moc"
