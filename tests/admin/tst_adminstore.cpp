#include "admin/adminprocedures.h"
#include "admin/dictionarystore.h"
#include "admin/operatorsave.h"
#include "admintestsupport.h"
#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/purviewtable.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::admin;

namespace {

int addClass(const QString &title)
{
    DictionaryStore store(theDatabase);
    DictClassInput input;
    input.title = title;
    if (!store.saveClass(input).ok)
        return 0;
    return scalar(u"SELECT ID FROM qz_Dict WHERE Title=?"_s, { title });
}

AdminOutcome addItem(int classId, const QString &parent, const QString &code, const QString &title)
{
    DictionaryStore store(theDatabase);
    DictItemInput input;
    input.classId = classId;
    input.dictId = store.classCode(classId);
    input.parentCode = parent;
    input.code = code;
    input.title = title;
    return store.saveItem(input);
}

int itemId(int classId, const QString &code)
{
    return scalar(u"SELECT i.ID FROM qz_DictItem i JOIN qz_Dict d ON d.DictId=i.DictId "
                  u"WHERE d.ID=? AND i.DictValue=?"_s,
                  { classId, code });
}

int hasChild(int classId, const QString &code)
{
    return scalar(u"SELECT hasChild FROM qz_DictItem WHERE ID=?"_s, { itemId(classId, code) });
}

vantrel::db::RowSet itemsListing(const QString &dictId, const QString &code)
{
    CADOCommand command(&theDatabase, u"qz_SelectSystemDictItemsByID"_s);
    command.AddParameterText(u"DictId"_s, adVarChar, adParamInput, 20, dictId);
    command.AddParameterText(u"DictValue"_s, adVarChar, adParamInput, 20, code);
    if (!command.Execute())
        qWarning("%s", qPrintable(command.GetLastErrorString()));
    return command.TakeResultSet();
}

quint64 allRightsMask()
{
    quint64 mask = 0;
    for (const tagRightInfo &right : PurviewTable)
        mask |= right.mask;
    return mask;
}

// An operator that passes every check: one right, one category, one department.
OperatorInput validOperator(const QString &name)
{
    OperatorInput input;
    input.userName = name;
    input.password = u"secret"_s;
    input.confirmation = u"secret"_s;
    input.rightsMask = PurviewTable[1].mask | PurviewTable[0].mask;
    input.categories = { 1 };
    input.departments = { 1 };
    return input;
}

// What the login reads of a row, as it reads it.
struct LoginRead
{
    bool found = false;
    bool passwordAccepted = false;
    CCurrentUser user;
};

LoginRead loginAs(const QString &name, const QString &typedPassword)
{
    LoginRead read;
    const vantrel::db::QueryResult row
        = theDatabase.run(u"SELECT UserID,UserName,ISuper,Locked,Pwd,Purview FROM qz_Users "
                          u"WHERE upper(UserName)=upper(?) ORDER BY UserID"_s,
                          { name.trimmed() });
    if (!row.hasRow())
        return read;
    read.found = true;
    read.passwordAccepted = PasswordDigest::check(typedPassword.trimmed(), row.rows.text(0, 4));
    read.user.UserID = row.rows.value(0, 0).toInt();
    read.user.UserName = row.rows.text(0, 1);
    read.user.ISuper = row.rows.value(0, 2).toInt();
    read.user.ParsePurview(row.rows.text(0, 5));
    return read;
}

} // namespace

class TestAdminStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // dictionaries
    void classCodesAndOrder();
    void itemCodeRules_data();
    void itemCodeRules();
    void oneCodeUnderTwoParents();
    void titlesDifferingInCase_data();
    void titlesDifferingInCase();
    void hasChildFollowsChildren();
    void itemWithChildrenIsNotDeleted();
    void referencedClassIsNotDeleted();
    void classDeleteTakesItsItems();
    void failingProcedureSavesNothing();
    void quotesAreStoredAsTyped();
    void newRowsAreActive();
    void listing_data();
    void listing();
    void treeNodesTellChildren();

    // operators
    void purviewText_data();
    void purviewText();
    void operatorChecks_data();
    void operatorChecks();
    void loginReadsWhatIsSaved();
    void emptyPasswordKeepsDigest();
    void renameInOtherCase();
    void uniqueNameIndex();
    void failedWriteShowsReason();
    void goneOperatorIsReported();
    void usersListing();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestAdminStore::initTestCase()
{
    registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
    PasswordDigest::setRoundsForTesting(1000);
}

void TestAdminStore::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
}

void TestAdminStore::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

// ---- dictionaries

void TestAdminStore::classCodesAndOrder()
{
    const int first = addClass(u"学历"_s);
    const int second = addClass(u"职称"_s);
    QVERIFY(first > 0 && second > 0);
    QCOMPARE(text(u"SELECT DictId FROM qz_Dict WHERE ID=?"_s, { first }), u"001"_s);
    QCOMPARE(text(u"SELECT DictId FROM qz_Dict WHERE ID=?"_s, { second }), u"002"_s);
    QVERIFY(scalar(u"SELECT Ord FROM qz_Dict WHERE ID=?"_s, { second })
            > scalar(u"SELECT Ord FROM qz_Dict WHERE ID=?"_s, { first }));
    // A code freed by a delete is not handed out below the largest one.
    QVERIFY(DictionaryStore(theDatabase).deleteClass(first).ok);
    QCOMPARE(text(u"SELECT DictId FROM qz_Dict WHERE ID=?"_s, { addClass(u"民族"_s) }), u"003"_s);
}

void TestAdminStore::itemCodeRules_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("refusal");
    const QString prefix = u"子级编码必须以上级编码为前缀且长度大于上级编码长度!"_s;
    QTest::newRow("0101 under 01") << u"01"_s << u"0101"_s << QString();
    QTest::newRow("01 under 01") << u"01"_s << u"01"_s << prefix;
    QTest::newRow("02 under 01") << u"01"_s << u"02"_s << prefix;
    QTest::newRow("0 under 01") << u"01"_s << u"0"_s << prefix;
    QTest::newRow("letters under 01") << u"01"_s << u"01a"_s << prefix;
    QTest::newRow("any digits under a class") << QString() << u"7"_s << QString();
    QTest::newRow("long digits under a class") << QString() << u"123456"_s << QString();
    QTest::newRow("taken top-level code") << QString() << u"01"_s << u"错误：编码重复!"_s;
    QTest::newRow("empty code") << QString() << u"  "_s << u"错误：编码、名称不能为空!"_s;
}

void TestAdminStore::itemCodeRules()
{
    QFETCH(QString, parent);
    QFETCH(QString, code);
    QFETCH(QString, refusal);
    const int classId = addClass(u"学历"_s);
    QVERIFY(addItem(classId, {}, u"01"_s, u"本科"_s).ok);
    const int before = scalar(u"SELECT COUNT(*) FROM qz_DictItem"_s);

    const AdminOutcome outcome = addItem(classId, parent, code, u"新项"_s);
    QCOMPARE(outcome.message, refusal);
    QCOMPARE(outcome.ok, refusal.isEmpty());
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem"_s), before + (outcome.ok ? 1 : 0));
    if (outcome.ok)
        QCOMPARE(text(u"SELECT ParentValue FROM qz_DictItem WHERE DictValue=?"_s, { code }),
                 parent);
}

void TestAdminStore::oneCodeUnderTwoParents()
{
    const int classId = addClass(u"学历"_s);
    QVERIFY(addItem(classId, {}, u"01"_s, u"A"_s).ok);
    QVERIFY(addItem(classId, {}, u"010"_s, u"B"_s).ok);
    QVERIFY(addItem(classId, u"01"_s, u"0101"_s, u"C"_s).ok);
    const AdminOutcome second = addItem(classId, u"010"_s, u"0101"_s, u"D"_s);
    QVERIFY2(second.ok, qPrintable(second.message));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem WHERE DictValue='0101'"_s), 2);
}

void TestAdminStore::titlesDifferingInCase_data()
{
    QTest::addColumn<bool>("classTitle");
    QTest::newRow("class titles") << true;
    QTest::newRow("item titles") << false;
}

void TestAdminStore::titlesDifferingInCase()
{
    QFETCH(bool, classTitle);
    const int classId = addClass(u"Degree"_s);
    DictionaryStore store(theDatabase);
    if (classTitle) {
        DictClassInput other;
        other.title = u"DEGREE"_s;
        QCOMPARE(store.saveClass(other).message, u"错误：名称重复!"_s);
        // Changing only the case of its own title is allowed.
        DictClassInput same;
        same.adding = false;
        same.id = classId;
        same.title = u"DeGrEe"_s;
        same.openedTitle = u"Degree"_s;
        QVERIFY(store.saveClass(same).ok);
        QCOMPARE(text(u"SELECT Title FROM qz_Dict WHERE ID=?"_s, { classId }), u"DeGrEe"_s);
        return;
    }
    QVERIFY(addItem(classId, {}, u"01"_s, u"Master"_s).ok);
    QCOMPARE(addItem(classId, {}, u"02"_s, u"MASTER"_s).message, u"错误：名称重复!"_s);
    // The same title in another class is fine.
    QVERIFY(addItem(addClass(u"Other"_s), {}, u"01"_s, u"master"_s).ok);
    DictItemInput same;
    same.adding = false;
    same.classId = classId;
    same.id = itemId(classId, u"01"_s);
    same.dictId = store.classCode(classId);
    same.code = u"01"_s;
    same.title = u"master"_s;
    same.openedTitle = u"Master"_s;
    QVERIFY(store.saveItem(same).ok);
}

void TestAdminStore::hasChildFollowsChildren()
{
    const int classId = addClass(u"学历"_s);
    QVERIFY(addItem(classId, {}, u"01"_s, u"A"_s).ok);
    QCOMPARE(hasChild(classId, u"01"_s), 0);
    QVERIFY(addItem(classId, u"01"_s, u"0101"_s, u"B"_s).ok);
    QCOMPARE(hasChild(classId, u"01"_s), 1);
    QVERIFY(addItem(classId, u"01"_s, u"0102"_s, u"C"_s).ok);

    DictionaryStore store(theDatabase);
    QVERIFY(store.deleteItem(itemId(classId, u"0101"_s)).ok);
    QCOMPARE(hasChild(classId, u"01"_s), 1);
    QVERIFY(store.deleteItem(itemId(classId, u"0102"_s)).ok);
    QCOMPARE(hasChild(classId, u"01"_s), 0);
}

void TestAdminStore::itemWithChildrenIsNotDeleted()
{
    const int classId = addClass(u"学历"_s);
    QVERIFY(addItem(classId, {}, u"01"_s, u"A"_s).ok);
    QVERIFY(addItem(classId, u"01"_s, u"0101"_s, u"B"_s).ok);
    const AdminOutcome outcome = DictionaryStore(theDatabase).deleteItem(itemId(classId, u"01"_s));
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.message, u"该档案项下有下级档案项,不能删除!"_s);
    QCOMPARE(outcome.icon, AdminOutcome::Icon::Warning);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem"_s), 2);
}

void TestAdminStore::referencedClassIsNotDeleted()
{
    const int classId = addClass(u"学历"_s);
    QVERIFY(addItem(classId, {}, u"01"_s, u"A"_s).ok);
    const QString code = DictionaryStore(theDatabase).classCode(classId);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Items (iSort, TblName, Name, Alias, iDataType, "
                                u"IdRef, Ord) VALUES (0, 'QZ_PSNBASE', 'Edu', '学历', 3, ?, 99)"_s,
                                { code }));
    const AdminOutcome outcome = DictionaryStore(theDatabase).deleteClass(classId);
    QCOMPARE(outcome.message, u"该档案类已被 1 个字段引用,不能删除!"_s);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dict WHERE ID=?"_s, { classId }), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem WHERE DictId=?"_s, { code }), 1);
}

void TestAdminStore::classDeleteTakesItsItems()
{
    const int classId = addClass(u"学历"_s);
    const int kept = addClass(u"职称"_s);
    QVERIFY(addItem(classId, {}, u"01"_s, u"A"_s).ok);
    QVERIFY(addItem(classId, u"01"_s, u"0101"_s, u"B"_s).ok);
    QVERIFY(addItem(kept, {}, u"01"_s, u"C"_s).ok);
    QVERIFY(DictionaryStore(theDatabase).deleteClass(classId).ok);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dict"_s), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem"_s), 1);
}

void TestAdminStore::failingProcedureSavesNothing()
{
    // A class code with no class: the procedure refuses, and the editor is told so.
    DictItemInput input;
    input.dictId = u"999"_s;
    input.code = u"01"_s;
    input.title = u"A"_s;
    const AdminOutcome outcome = DictionaryStore(theDatabase).saveItem(input);
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.startsWith(u"保存失败!"_s), qPrintable(outcome.message));
    QCOMPARE(outcome.icon, AdminOutcome::Icon::Critical);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem"_s), 0);

    // A class changed after another operator deleted it.
    DictClassInput gone;
    gone.adding = false;
    gone.id = 4242;
    gone.title = u"X"_s;
    QCOMPARE(DictionaryStore(theDatabase).saveClass(gone).message,
             u"该记录已被其他操作员删除,请刷新数据列表!"_s);
}

void TestAdminStore::quotesAreStoredAsTyped()
{
    const QString title = u"O'Neil \"quoted\" --"_s;
    const int classId = addClass(title);
    QVERIFY(classId > 0);
    QCOMPARE(text(u"SELECT Title FROM qz_Dict WHERE ID=?"_s, { classId }), title);
    QVERIFY(addItem(classId, {}, u"01"_s, title).ok);
    QCOMPARE(text(u"SELECT Title FROM qz_DictItem WHERE ID=?"_s, { itemId(classId, u"01"_s) }),
             title);
    QCOMPARE(addClass(u"o'neil \"QUOTED\" --"_s), 0);
}

void TestAdminStore::newRowsAreActive()
{
    DictionaryStore store(theDatabase);
    DictClassInput klass;
    klass.title = u"学历"_s;
    klass.active = false;
    QVERIFY(store.saveClass(klass).ok);
    const int classId = scalar(u"SELECT ID FROM qz_Dict"_s);
    QCOMPARE(scalar(u"SELECT Active FROM qz_Dict"_s), 1);
    DictItemInput item;
    item.classId = classId;
    item.dictId = store.classCode(classId);
    item.code = u"01"_s;
    item.title = u"A"_s;
    item.active = false;
    QVERIFY(store.saveItem(item).ok);
    QCOMPARE(scalar(u"SELECT Active FROM qz_DictItem"_s), 1);
    // The check box counts when changing.
    item.adding = false;
    item.id = itemId(classId, u"01"_s);
    item.openedTitle = u"A"_s;
    QVERIFY(store.saveItem(item).ok);
    QCOMPARE(scalar(u"SELECT Active FROM qz_DictItem"_s), 0);
}

void TestAdminStore::listing_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("class") << u"class"_s << QStringList { u"A"_s, u"B"_s };
    QTest::newRow("item") << u"01"_s << QStringList { u"A1"_s, u"A2"_s };
    QTest::newRow("no class") << QString() << QStringList();
}

void TestAdminStore::listing()
{
    QFETCH(QString, node);
    QFETCH(QStringList, titles);
    const int classId = addClass(u"学历"_s);
    QVERIFY(addItem(classId, {}, u"02"_s, u"B"_s).ok);
    QVERIFY(addItem(classId, {}, u"01"_s, u"A"_s).ok);
    QVERIFY(addItem(classId, u"01"_s, u"0102"_s, u"A2"_s).ok);
    QVERIFY(addItem(classId, u"01"_s, u"0101"_s, u"A1"_s).ok);
    // A row from before top-level items got the parent code '' still lists as top level.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_DictItem SET ParentValue=NULL WHERE DictValue='02'"_s));
    const QString code = DictionaryStore(theDatabase).classCode(classId);

    const vantrel::db::RowSet rows = node.isEmpty() ? itemsListing({}, {})
        : node == u"class"_s                        ? itemsListing(code, {})
                                                    : itemsListing(code, node);
    QCOMPARE(rows.columnCount(), 7);
    QStringList found;
    for (int row = 0; row < rows.rowCount(); ++row)
        found << rows.text(row, 3);
    QCOMPARE(found, titles);
    if (node == u"01"_s)
        QCOMPARE(rows.text(0, 4), u"01"_s);
    if (node == u"class"_s)
        QCOMPARE(rows.value(0, 6).toInt(), 1); // 01 has children
}

void TestAdminStore::treeNodesTellChildren()
{
    const int flat = addClass(u"Flat"_s);
    const int deep = addClass(u"Deep"_s);
    QVERIFY(addItem(flat, {}, u"01"_s, u"A"_s).ok);
    QVERIFY(addItem(deep, {}, u"01"_s, u"B"_s).ok);
    QVERIFY(addItem(deep, u"01"_s, u"0101"_s, u"C"_s).ok);
    DictionaryStore store(theDatabase);
    bool ok = false;
    const QVector<DictNode> classes = store.classes(&ok);
    QVERIFY(ok);
    QCOMPARE(classes.size(), 2);
    QCOMPARE(classes.at(0).title, u"Flat"_s);
    QVERIFY(!classes.at(0).hasChildren);
    QVERIFY(classes.at(1).hasChildren);
    const QVector<DictNode> top = store.children(classes.at(1).dictId, {}, &ok);
    QVERIFY(ok);
    QCOMPARE(top.size(), 1);
    QVERIFY(top.at(0).hasChildren);
    QCOMPARE(store.children(classes.at(1).dictId, u"01"_s).at(0).title, u"C"_s);
    QVERIFY(!store.children(classes.at(1).dictId, u"01"_s).at(0).hasChildren);
}

// ---- operators

void TestAdminStore::purviewText_data()
{
    QTest::addColumn<quint64>("mask");
    QTest::addColumn<QList<int>>("categories");
    QTest::addColumn<QList<int>>("departments");
    QTest::addColumn<QList<int>>("wageSets");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all rights") << allRightsMask() << QList<int> { 1 } << QList<int> { 2 }
                                << QList<int> {} << u"ffff00ffff80fc00|1|2|"_s;
    QTest::newRow("rights 0 and 1")
        << (PurviewTable[0].mask | PurviewTable[1].mask) << QList<int> { 1, 2 } << QList<int> { 5 }
        << QList<int> {} << u"c000000000000000|1,2|5|"_s;
    QTest::newRow("wage sets") << PurviewTable[38].mask << QList<int> { 3 } << QList<int> { 4, 6 }
                               << QList<int> { 7, 8 } << u"400|3|4,6|7,8"_s;
}

void TestAdminStore::purviewText()
{
    QFETCH(quint64, mask);
    QFETCH(QList<int>, categories);
    QFETCH(QList<int>, departments);
    QFETCH(QList<int>, wageSets);
    QFETCH(QString, expected);
    OperatorInput input = validOperator(u"zhang"_s);
    input.rightsMask = mask;
    input.categories = categories;
    input.departments = departments;
    input.wageSets = wageSets;
    QVERIFY(OperatorSave(theDatabase).save(input).ok);
    QCOMPARE(text(u"SELECT Purview FROM qz_Users WHERE UserName='zhang'"_s), expected);

    // The login parses it back to the same rights and lists.
    const LoginRead read = loginAs(u"zhang"_s, u"secret"_s);
    QCOMPARE(read.user.rightsMask(), mask);
    QCOMPARE(read.user.psnSortList(), Purview::joinIds(categories));
    QCOMPARE(read.user.deptList(), Purview::joinIds(departments));
    QCOMPARE(read.user.wageSetList(), Purview::joinIds(wageSets));
}

void TestAdminStore::operatorChecks_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("valid") << QString() << QString();
    QTest::newRow("empty name") << u"name= "_s << u"错误：用户名称不能为空值 !!!"_s;
    QTest::newRow("name in other case") << u"name=ADMIN"_s << u"错误：该用户已存在!"_s;
    QTest::newRow("name with blanks") << u"name= admin "_s << u"错误：该用户已存在!"_s;
    QTest::newRow("a_b beside AXB") << u"name=a_b"_s << QString();
    QTest::newRow("percent") << u"name=%"_s << QString();
    QTest::newRow("empty password") << u"password="_s << u"错误：密码不能为空值!!!"_s;
    QTest::newRow("unequal passwords")
        << u"confirmation=other"_s << u"错误：密码与密码确认不一致!!!"_s;
    QTest::newRow("no right") << u"rights="_s << u"至少选择一项功能权限!"_s;
    QTest::newRow("no right and no category")
        << u"rights=,categories="_s << u"至少选择一项功能权限!"_s;
    QTest::newRow("no category") << u"categories="_s << u"至少选择一个人员类别!"_s;
    QTest::newRow("no department") << u"departments="_s << u"至少选择一个部门!"_s;
    QTest::newRow("no wage set") << u"wageSets="_s << QString();
}

void TestAdminStore::operatorChecks()
{
    QFETCH(QString, change);
    QFETCH(QString, refusal);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Users (UserName, Pwd, Purview) "
                                u"VALUES ('AXB', '', '1|1|1|')"_s));
    OperatorInput input = validOperator(u"zhang"_s);
    input.wageSets = { 9 };
    for (const QString &assignment : change.split(u',', Qt::SkipEmptyParts)) {
        const QString key = assignment.section(u'=', 0, 0);
        const QString value = assignment.section(u'=', 1);
        if (key == u"name"_s)
            input.userName = value;
        else if (key == u"password"_s)
            input.password = value;
        else if (key == u"confirmation"_s)
            input.confirmation = value;
        else if (key == u"rights"_s)
            input.rightsMask = 0;
        else if (key == u"categories"_s)
            input.categories.clear();
        else if (key == u"departments"_s)
            input.departments.clear();
        else if (key == u"wageSets"_s)
            input.wageSets.clear();
    }
    const int before = scalar(u"SELECT COUNT(*) FROM qz_Users"_s);
    const AdminOutcome outcome = OperatorSave(theDatabase).save(input);
    QCOMPARE(outcome.message, refusal);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Users"_s), before + (refusal.isEmpty() ? 1 : 0));
    if (refusal.isEmpty())
        QCOMPARE(text(u"SELECT UserName FROM qz_Users ORDER BY UserID DESC"_s),
                 input.userName.trimmed());
}

void TestAdminStore::loginReadsWhatIsSaved()
{
    OperatorInput input = validOperator(u" 张三 "_s);
    input.password = u"  pass word  "_s;
    input.confirmation = u"pass word"_s;
    input.description = u"出纳"_s;
    QVERIFY(OperatorSave(theDatabase).save(input).ok);
    // Stored trimmed: the login looks the name up trimmed.
    QCOMPARE(text(u"SELECT UserName FROM qz_Users WHERE Descr='出纳'"_s), u"张三"_s);
    QVERIFY(!text(u"SELECT Pwd FROM qz_Users WHERE Descr='出纳'"_s).contains(u"pass"_s));

    LoginRead read = loginAs(u" 张三 "_s, u"pass word"_s);
    QVERIFY(read.found);
    QVERIFY(read.passwordAccepted);
    QVERIFY(loginAs(u" 张三 "_s, u"  pass word "_s).passwordAccepted);
    QVERIFY(!loginAs(u" 张三 "_s, u"password"_s).passwordAccepted);
    QCOMPARE(read.user.ISuper, 0);
    QVERIFY(read.user.HasRight(1, false));
    QVERIFY(!read.user.HasRight(2, false));
}

void TestAdminStore::emptyPasswordKeepsDigest()
{
    QVERIFY(OperatorSave(theDatabase).save(validOperator(u"zhang"_s)).ok);
    const int id = scalar(u"SELECT UserID FROM qz_Users WHERE UserName='zhang'"_s);
    const QString stored = text(u"SELECT Pwd FROM qz_Users WHERE UserID=?"_s, { id });

    OperatorInput change = validOperator(u"zhang"_s);
    change.isNew = false;
    change.userId = id;
    change.openedUserName = u"zhang"_s;
    change.password.clear();
    change.confirmation = u"ignored"_s;
    change.locked = true;
    QVERIFY(OperatorSave(theDatabase).save(change).ok);
    QCOMPARE(text(u"SELECT Pwd FROM qz_Users WHERE UserID=?"_s, { id }), stored);
    QCOMPARE(scalar(u"SELECT Locked FROM qz_Users WHERE UserID=?"_s, { id }), 1);

    change.password = u"new one"_s;
    change.confirmation = u"new one"_s;
    QVERIFY(OperatorSave(theDatabase).save(change).ok);
    QVERIFY(loginAs(u"zhang"_s, u"new one"_s).passwordAccepted);
    QVERIFY(!loginAs(u"zhang"_s, u"secret"_s).passwordAccepted);
}

void TestAdminStore::renameInOtherCase()
{
    QVERIFY(OperatorSave(theDatabase).save(validOperator(u"zhang"_s)).ok);
    OperatorInput change = validOperator(u"ZHANG"_s);
    change.isNew = false;
    change.userId = scalar(u"SELECT UserID FROM qz_Users WHERE UserName='zhang'"_s);
    change.openedUserName = u"zhang"_s;
    change.password.clear();
    QVERIFY(OperatorSave(theDatabase).save(change).ok);
    QCOMPARE(text(u"SELECT UserName FROM qz_Users WHERE UserID=?"_s, { change.userId }),
             u"ZHANG"_s);
    // Renaming to another operator's name is refused.
    change.userName = u"Admin"_s;
    change.openedUserName = u"ZHANG"_s;
    QCOMPARE(OperatorSave(theDatabase).save(change).message, u"错误：该用户已存在!"_s);
}

void TestAdminStore::uniqueNameIndex()
{
    // Two administrators adding one name at once: the database keeps only one.
    QVERIFY(
        theDatabase.Execute(u"INSERT INTO qz_Users (UserName, Purview) VALUES ('张三abc', '')"_s));
    QVERIFY(
        !theDatabase.Execute(u"INSERT INTO qz_Users (UserName, Purview) VALUES ('张三ABC', '')"_s));
    QVERIFY(
        theDatabase.Execute(u"INSERT INTO qz_Users (UserName, Purview) VALUES ('张四abc', '')"_s));
}

void TestAdminStore::failedWriteShowsReason()
{
    QVERIFY(theDatabase.Execute(u"ALTER TABLE qz_Users RENAME COLUMN Purview TO Purview2"_s));
    const AdminOutcome outcome = OperatorSave(theDatabase).save(validOperator(u"zhang"_s));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.startsWith(u"保存失败!\n\n"_s), qPrintable(outcome.message));
    QVERIFY(outcome.message.size() > 8);
    QCOMPARE(outcome.icon, AdminOutcome::Icon::Critical);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Users"_s), 1);
}

void TestAdminStore::goneOperatorIsReported()
{
    OperatorInput change = validOperator(u"zhang"_s);
    change.isNew = false;
    change.userId = 4242;
    change.openedUserName = u"zhang"_s;
    QCOMPARE(OperatorSave(theDatabase).save(change).message,
             u"该记录已被其他操作员删除,请刷新数据列表!"_s);
}

void TestAdminStore::usersListing()
{
    QVERIFY(OperatorSave(theDatabase).save(validOperator(u"zhang"_s)).ok);
    CADOCommand command(&theDatabase, u"qz_SelectSystemUsers"_s);
    command.AddParameterInt(u"UserID"_s, adInteger, adParamInput, 4, 1);
    QVERIFY(command.Execute());
    const vantrel::db::RowSet rows = command.TakeResultSet();
    QCOMPARE(rows.columnCount(), 6);
    QCOMPARE(rows.rowCount(), 2);
    QCOMPARE(rows.text(0, 1), u"admin"_s);
    QCOMPARE(rows.value(0, 5).toInt(), 1);
    QCOMPARE(rows.text(1, 1), u"zhang"_s);
    QCOMPARE(rows.text(1, 4), OperatorSave::purviewText(validOperator(u"zhang"_s)));
}

QTEST_GUILESS_MAIN(TestAdminStore)
#include "tst_adminstore.moc"
