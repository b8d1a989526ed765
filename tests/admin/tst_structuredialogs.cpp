#include "admin/adminprocedures.h"
#include "admin/structurestore.h"
#include "admin/ui/cdlgdbtableitemset.h"
#include "admin/ui/cdlgdbtableset.h"
#include "admin/ui/cdlgsystemtablemanage.h"
#include "admintestsupport.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/query/scalarqueries.h"
#include "modalanswers.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmybcgpgridview.h"
#include "ui/controls/cmytreeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::admin;

namespace {

int personTableId()
{
    return scalar(u"SELECT ID FROM qz_Table WHERE TblName='QZ_PSNBASE'"_s);
}

int addTable(const QString &title)
{
    TableInput input;
    input.title = title;
    input.parentId = personTableId();
    if (!StructureStore(theDatabase).saveTable(input).ok)
        return 0;
    return scalar(u"SELECT ID FROM qz_Table WHERE Title=?"_s, { title });
}

void addItem(const QString &table, const QString &alias, int type, const QString &idRef = {})
{
    ItemInput input;
    input.tableName = table;
    input.alias = alias;
    input.dataType = type;
    input.idRef = idRef;
    QVERIFY(StructureStore(theDatabase).saveItem(input).ok);
}

QTreeWidgetItem *node(QTreeWidget *tree, const QString &caption)
{
    const auto found = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.first();
}

// The grid row whose column shows the text; -1 when none does.
int rowOf(CDlgSystemTableManage &manager, int column, const QString &text)
{
    for (int row = 0; row < manager.grid()->GetRowCount(); ++row)
        if (manager.cellText(row, column) == text)
            return row;
    return -1;
}

template<typename T> T *child(QWidget *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qWarning("no child %s", qPrintable(name));
    return found;
}

// Presses OK: the editor shows the message (none: it saves, logs once and closes) and then
// has the focus on the named field.
void pressOk(QDialog &editor, const QString &message, const QString &focus)
{
    const int logged = logRows();
    MessageCatcher catcher;
    QTest::mouseClick(child<QPushButton>(&editor, u"okButton"_s), Qt::LeftButton);
    QCOMPARE(catcher.texts, message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(editor.isVisible(), !message.isEmpty());
    if (!focus.isEmpty())
        QCOMPARE(editor.focusWidget()->objectName(), focus);
    QCOMPARE(logRows(), logged + (message.isEmpty() ? 1 : 0));
}

} // namespace

class TestStructureDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void treeLeavesOutWageSets();
    void itemGridTexts();
    void tableEditorRefusals_data();
    void tableEditorRefusals();
    void itemEditorRefusals_data();
    void itemEditorRefusals();
    void modifyModeDisables_data();
    void modifyModeDisables();
    void addThroughManager();
    void deleteRefusalsAndDelete();
    void movesLogEvenAtTheEdge();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestStructureDialogs::initTestCase()
{
    registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestStructureDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    startAdminSession(m_fixture->connectionString());
}

void TestStructureDialogs::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestStructureDialogs::treeLeavesOutWageSets()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType) "
                                u"VALUES ('qz_WageData9', '工资', 6)"_s));
    QVERIFY(addTable(u"培训记录"_s) > 0);
    CDlgSystemTableManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    QTreeWidget *tree = manager.tree();
    QTreeWidgetItem *root = tree->topLevelItem(0);
    QCOMPARE(root->text(0), u"系统数据表"_s);
    QVERIFY(root->font(0).bold());
    QCOMPARE(tree->currentItem(), root);
    QVERIFY(!node(tree, u"工资"_s));
    QCOMPARE(node(tree, u"人员信息"_s)->data(0, CDlgSystemTableManage::ImageRole).toInt(), 12);
    QTreeWidgetItem *added = node(tree, u"培训记录"_s);
    QCOMPARE(added->data(0, CDlgSystemTableManage::ImageRole).toInt(), 13);
    QCOMPARE(added->parent(), node(tree, u"人员信息"_s)); // nested under its main table
    // The root lists the tables flat, with the footer.
    QCOMPARE(manager.grid()->GetRowCount(), 4);
    QCOMPARE(manager.gridView()->GetFooterText(), u"系统数据表：4 项"_s);
    QVERIFY(manager.grid()->isColumnHidden(0));
    QVERIFY(manager.grid()->isColumnHidden(6));
}

void TestStructureDialogs::itemGridTexts()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dict (DictId, Title, Active, Ord) "
                                u"VALUES ('007', '学历', 1, 1)"_s));
    addItem(u"QZ_PSNBASE"_s, u"所在部门"_s, 3, u"QZ_DEPT.NAME"_s);
    addItem(u"QZ_PSNBASE"_s, u"最高学历"_s, 3, u"007"_s);
    CDlgSystemTableManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    manager.tree()->setCurrentItem(node(manager.tree(), u"人员信息"_s));
    const int items = scalar(u"SELECT COUNT(*) FROM qz_Items WHERE TblName='QZ_PSNBASE'"_s);
    QCOMPARE(manager.grid()->GetRowCount(), items);
    QCOMPARE(manager.gridView()->GetFooterText(), u"人员信息：%1 项"_s.arg(items));
    const int dept = rowOf(manager, 2, u"所在部门"_s);
    QCOMPARE(manager.cellText(dept, 4), u"参照"_s);
    QCOMPARE(manager.cellText(dept, 5), u"部门.名称"_s);
    const int dictionary = rowOf(manager, 2, u"最高学历"_s);
    QCOMPARE(manager.cellText(dictionary, 5), u"学历"_s);
    const int link = rowOf(manager, 2, u"部门"_s); // DID links to QZ_DEPT.DID
    QCOMPARE(manager.cellText(link, 4), u"引用"_s);
    QCOMPARE(manager.cellText(link, 5), u"部门"_s);
    QCOMPARE(manager.cellText(rowOf(manager, 2, u"出生日期"_s), 4), u"日期"_s);
    QVERIFY(manager.grid()->isColumnHidden(10));
}

void TestStructureDialogs::tableEditorRefusals_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("mainTable");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    // Each row breaks the first rule only where the later ones would also refuse.
    QTest::newRow("blank title before the main table")
        << u"   "_s << false << u"错误：标题不能为空!"_s << u"title"_s;
    QTest::newRow("taken title before the main table")
        << u" 人员信息 "_s << false << u"错误：该数据表已存在!"_s << u"title"_s;
    QTest::newRow("no main table") << u"培训记录"_s << false << u"请选择主表!"_s << u"parent"_s;
    QTest::newRow("accepted") << u"培训记录"_s << true << QString() << QString();
}

void TestStructureDialogs::tableEditorRefusals()
{
    QFETCH(QString, title);
    QFETCH(bool, mainTable);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    CDlgDBTableSet editor;
    editor.m_strCaption = u"新建数据表"_s;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), u"新建数据表"_s);
    auto *parent = child<QComboBox>(&editor, u"parent"_s);
    QCOMPARE(parent->count(), 1); // the person table, the one that takes child tables
    QCOMPARE(parent->currentIndex(), -1);
    if (mainTable)
        parent->setCurrentIndex(0);
    child<QLineEdit>(&editor, u"title"_s)->setText(title);
    pressOk(editor, message, focus);
    if (QTest::currentTestFailed())
        return;
    if (message.isEmpty())
        QCOMPARE(theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id DESC"_s).scalar(),
                 QVariant(u"系统管理[数据表新增'培训记录']"_s));
}

void TestStructureDialogs::itemEditorRefusals_data()
{
    QTest::addColumn<QString>("alias");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("reference"); // index in the reference list, -1 none
    QTest::addColumn<QString>("defValue");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("blank alias before a missing reference")
        << u"  "_s << 3 << -1 << u"x"_s << u"错误：项目名不能为空!"_s << u"alias"_s;
    QTest::newRow("taken alias, other case, before a bad default")
        << u"grade"_s << 0 << -1 << u"x"_s << u"错误：该项目已存在!"_s << u"alias"_s;
    QTest::newRow("separator as reference")
        << u"籍贯"_s << 3 << 3 << QString() << u"参照项不能为空!"_s << u"reference"_s;
    QTest::newRow("date default of another form")
        << u"入党日期"_s << 2 << -1 << u"2020/1/1"_s << u"错误：默认值与数据类型不符!"_s
        << u"defValue"_s;
    QTest::newRow("department name link")
        << u"籍贯"_s << 3 << 1 << QString() << QString() << QString();
}

void TestStructureDialogs::itemEditorRefusals()
{
    QFETCH(QString, alias);
    QFETCH(int, type);
    QFETCH(int, reference);
    QFETCH(QString, defValue);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    addItem(u"QZ_PSNBASE"_s, u"GRADE"_s, 1);
    CDlgDBTableItemSet editor;
    editor.m_strCaption = u"新建字段"_s;
    editor.m_nAdd = 1;
    editor.m_strTableName = u"QZ_PSNBASE"_s;
    editor.m_strTableTitle = u"人员信息"_s;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto *types = child<QComboBox>(&editor, u"dataType"_s);
    QCOMPARE(types->count(), 4); // no link when adding
    types->setCurrentIndex(type);
    auto *references = child<QComboBox>(&editor, u"reference"_s);
    QCOMPARE(references->isEnabled(), type == 3);
    if (type == 3) {
        QCOMPARE(references->itemText(1), u"部门.部门名称"_s);
        QCOMPARE(child<QLabel>(&editor, u"referenceLabel"_s)->text(), u"参考对象:"_s);
    }
    references->setCurrentIndex(reference);
    child<QLineEdit>(&editor, u"alias"_s)->setText(alias);
    child<QLineEdit>(&editor, u"defValue"_s)->setText(defValue);
    pressOk(editor, message, focus);
    if (QTest::currentTestFailed())
        return;
    if (message.isEmpty())
        QCOMPARE(theDatabase
                     .run(u"SELECT IdRef FROM qz_Items WHERE TblName='QZ_PSNBASE' AND Alias=?"_s,
                          { alias })
                     .scalar(),
                 QVariant(u"QZ_DEPT.NAME"_s));
}

void TestStructureDialogs::modifyModeDisables_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("idRef");
    QTest::addColumn<int>("selected"); // the type list's selection
    QTest::addColumn<bool>("referenceEnabled");
    QTest::addColumn<QString>("savedRef");

    QTest::newRow("text") << 1 << QString() << 1 << false << QString();
    QTest::newRow("reference") << 3 << u"QZ_DEPT.NAME"_s << 3 << true << u"QZ_DEPT.NAME"_s;
    QTest::newRow("link") << 4 << u"QZ_DEPT.DID"_s << 4 << false << u"QZ_DEPT.DID"_s;
    QTest::newRow("built-in") << 255 << u"X.Y"_s << -1 << false << u"X.Y"_s;
}

void TestStructureDialogs::modifyModeDisables()
{
    QFETCH(int, type);
    QFETCH(QString, idRef);
    QFETCH(int, selected);
    QFETCH(bool, referenceEnabled);
    QFETCH(QString, savedRef);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Items (iSort, TblName, Name, Alias, iDataType, "
                                u"iLength, IdRef, Ord) VALUES (0, 'QZ_PSNBASE', 'X1', '旧名', ?, "
                                u"30, ?, 99)"_s,
                                { type, idRef }));
    const int id = scalar(u"SELECT ItemID FROM qz_Items WHERE Name='X1'"_s);
    CDlgDBTableItemSet editor;
    editor.m_strCaption = u"修改字段"_s;
    editor.m_nAdd = 0;
    editor.m_strTableName = u"QZ_PSNBASE"_s;
    editor.m_strTableTitle = u"人员信息"_s;
    editor.m_nItemID = id;
    editor.m_strAlias = u"旧名"_s;
    editor.m_nDataType = type;
    editor.m_nLength = 30;
    editor.m_strIdRef = idRef;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto *types = child<QComboBox>(&editor, u"dataType"_s);
    QCOMPARE(types->count(), 5);
    QCOMPARE(types->currentIndex(), selected);
    QVERIFY(!types->isEnabled());
    auto *length = child<QLineEdit>(&editor, u"length"_s);
    QVERIFY(!length->isEnabled());
    QCOMPARE(length->text(), u"30"_s); // the stored length, not the type's default
    auto *references = child<QComboBox>(&editor, u"reference"_s);
    QCOMPARE(references->isEnabled(), referenceEnabled);
    if (type == 3)
        QCOMPARE(references->currentIndex(), 1);
    if (type == 4)
        QCOMPARE(references->currentText(), u"部门"_s);
    // Saving keeps the type, and the reference of a link or built-in item.
    child<QLineEdit>(&editor, u"alias"_s)->setText(u"新名"_s);
    MessageCatcher catcher;
    QTest::mouseClick(child<QPushButton>(&editor, u"okButton"_s), Qt::LeftButton);
    QCOMPARE(catcher.texts, QStringList());
    const auto row
        = theDatabase.run(u"SELECT Alias, iDataType, IdRef FROM qz_Items WHERE ItemID=?"_s, { id });
    QCOMPARE(row.rows.text(0, 0), u"新名"_s);
    QCOMPARE(row.rows.value(0, 1).toInt(), type);
    QCOMPARE(row.rows.text(0, 2), savedRef);

    // The table editor keeps the main table when modifying, and a fixed table's show flag.
    CDlgDBTableSet tableEditor;
    tableEditor.m_nAdd = 0;
    tableEditor.m_nFixed = 1;
    tableEditor.m_nID = personTableId();
    tableEditor.m_strTitle = u"人员信息"_s;
    tableEditor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tableEditor));
    QVERIFY(!child<QComboBox>(&tableEditor, u"parent"_s)->isEnabled());
    QVERIFY(!child<QCheckBox>(&tableEditor, u"show"_s)->isEnabled());
}

void TestStructureDialogs::addThroughManager()
{
    CDlgSystemTableManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    answerNextModal<CDlgDBTableSet>([](CDlgDBTableSet *editor) {
        editor->findChild<QLineEdit *>(u"title"_s)->setText(u"培训记录"_s);
        editor->findChild<QComboBox *>(u"parent"_s)->setCurrentIndex(0);
        editor->accept();
    });
    manager.OnAdd();
    QTreeWidgetItem *added = node(manager.tree(), u"培训记录"_s);
    QVERIFY(added);
    manager.tree()->setCurrentItem(added);
    QCOMPARE(manager.gridView()->GetFooterText(), u"培训记录：0 项"_s);
    answerNextModal<CDlgDBTableItemSet>([](CDlgDBTableItemSet *editor) {
        QCOMPARE(editor->windowTitle(), u"新建字段"_s);
        editor->findChild<QLineEdit *>(u"alias"_s)->setText(u"课程"_s);
        editor->findChild<QComboBox *>(u"dataType"_s)->setCurrentIndex(1);
        editor->findChild<QLineEdit *>(u"length"_s)->setText(u"30"_s);
        editor->accept();
    });
    manager.OnAdd();
    QCOMPARE(manager.grid()->GetRowCount(), 1);
    QCOMPARE(manager.cellText(0, 2), u"课程"_s);
    QCOMPARE(manager.cellText(0, 4), u"字符"_s);
    QCOMPARE(manager.gridView()->GetFooterText(), u"培训记录：1 项"_s);
    QCOMPARE(theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id DESC"_s).scalar(),
             QVariant(u"系统管理[数据表'培训记录'新增字段'课程']"_s));
}

void TestStructureDialogs::deleteRefusalsAndDelete()
{
    const int id = addTable(u"培训记录"_s);
    const QString table
        = theDatabase.run(u"SELECT TblName FROM qz_Table WHERE ID=?"_s, { id }).scalar().toString();
    addItem(table, u"课程"_s, 1);
    CDlgSystemTableManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    {
        // Root: a fixed table, then a table with items.
        MessageCatcher catcher(QMessageBox::Yes);
        manager.grid()->SetCurSel(rowOf(manager, 2, u"人员信息"_s));
        manager.OnDelete();
        manager.grid()->SetCurSel(rowOf(manager, 2, u"培训记录"_s));
        manager.OnDelete();
        QCOMPARE(
            catcher.texts,
            (QStringList { u"系统固定数据表,不能删除!"_s, u"该数据表下还有项目字段,不能删除!"_s }));
    }
    manager.tree()->setCurrentItem(node(manager.tree(), u"人员信息"_s));
    {
        MessageCatcher catcher(QMessageBox::Yes);
        manager.grid()->SetCurSel(rowOf(manager, 2, u"编号"_s));
        manager.OnDelete();
        QCOMPARE(catcher.texts, QStringList { u"系统固定字段,不能删除!"_s });
    }
    manager.tree()->setCurrentItem(node(manager.tree(), u"培训记录"_s));
    const int logged = logRows();
    {
        MessageCatcher catcher(QMessageBox::No);
        manager.grid()->SetCurSel(0);
        manager.OnDelete();
        QCOMPARE(catcher.texts,
                 QStringList { u"删除字段将同时删除字段下的档案数据！\r\n\r\n"
                               u"确定要删除数据表'培训记录'字段'课程'吗?"_s });
        QCOMPARE(manager.grid()->GetRowCount(), 1);
        QCOMPARE(logRows(), logged);
    }
    MessageCatcher catcher(QMessageBox::Yes);
    manager.OnDelete();
    QCOMPARE(manager.grid()->GetRowCount(), 0);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName)=upper(?)"_s, { table }),
             0);
    QCOMPARE(logRows(), logged + 1);
    // Now the table itself goes, asked first.
    manager.tree()->setCurrentItem(manager.tree()->topLevelItem(0));
    manager.grid()->SetCurSel(rowOf(manager, 2, u"培训记录"_s));
    manager.OnDelete();
    QCOMPARE(catcher.texts.last(), u"确定要删除数据表“培训记录”吗?"_s);
    QVERIFY(!node(manager.tree(), u"培训记录"_s));
    QVERIFY(!TableExists(table));
}

void TestStructureDialogs::movesLogEvenAtTheEdge()
{
    CDlgSystemTableManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    const int first = manager.grid()->GetFieldValue(0, 0).toInt();
    const int logged = logRows();
    manager.grid()->SetCurSel(0);
    manager.OnUp(); // nothing above
    QCOMPARE(manager.grid()->GetFieldValue(0, 0).toInt(), first);
    QTest::keyClick(manager.grid(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(manager.grid()->GetFieldValue(1, 0).toInt(), first);
    QCOMPARE(manager.grid()->GetCurSel(), 1);
    QCOMPARE(logRows(), logged + 2);
    QCOMPARE(theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id DESC"_s).scalar(),
             QVariant(u"系统管理[数据表调序]"_s));
}

QTEST_MAIN(TestStructureDialogs)
#include "tst_structuredialogs.moc"
