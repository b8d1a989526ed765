#include "admin/adminprocedures.h"
#include "admin/dictionarystore.h"
#include "admin/ui/cdlgsystemdicitem.h"
#include "admin/ui/cdlgsystemdicsort.h"
#include "admin/ui/cdlgsystemdictmanage.h"
#include "admintestsupport.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "modalanswers.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmytreeview.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::admin;

namespace {

int addClass(const QString &title)
{
    DictClassInput input;
    input.title = title;
    DictionaryStore(theDatabase).saveClass(input);
    return scalar(u"SELECT ID FROM qz_Dict WHERE Title=?"_s, { title });
}

void addItem(int classId, const QString &parent, const QString &code, const QString &title)
{
    DictionaryStore store(theDatabase);
    DictItemInput input;
    input.classId = classId;
    input.dictId = store.classCode(classId);
    input.parentCode = parent;
    input.code = code;
    input.title = title;
    QVERIFY(store.saveItem(input).ok);
}

QTreeWidgetItem *node(QTreeWidget *tree, const QString &caption)
{
    const auto found = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.first();
}

bool showsExpandButton(const QTreeWidgetItem *item)
{
    return item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

} // namespace

class TestDictionaryDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void expandButtonRule();
    void footerCountsItems();
    void itemEditorChecks_data();
    void itemEditorChecks();
    void failedSaveKeepsEditorOpen();
    void deletingLastChildClearsButton();
    void classDeleteAndTabBetweenPanes();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestDictionaryDialogs::initTestCase()
{
    registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestDictionaryDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    startAdminSession(m_fixture->connectionString());
}

void TestDictionaryDialogs::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestDictionaryDialogs::expandButtonRule()
{
    const int flat = addClass(u"民族"_s);
    const int deep = addClass(u"学历"_s);
    addItem(flat, {}, u"01"_s, u"汉族"_s);
    addItem(deep, {}, u"01"_s, u"本科"_s);
    addItem(deep, u"01"_s, u"0101"_s, u"学士"_s);
    CDlgSystemDictManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    QTreeWidget *tree = manager.tree();
    // A class whose items have no children has no button; its items are in the grid.
    QVERIFY(!showsExpandButton(node(tree, u"民族"_s)));
    QCOMPARE(manager.grid()->GetRowCount(), 1);
    QTreeWidgetItem *degree = node(tree, u"学历"_s);
    QVERIFY(showsExpandButton(degree));
    QCOMPARE(degree->childCount(), 0); // read when it opens
    degree->setExpanded(true);
    QCOMPARE(degree->childCount(), 1);
    QTreeWidgetItem *bachelor = degree->child(0);
    QCOMPARE(bachelor->text(0), u"本科"_s);
    QVERIFY(showsExpandButton(bachelor));
    bachelor->setExpanded(true);
    QCOMPARE(bachelor->child(0)->text(0), u"学士"_s);
    QVERIFY(!showsExpandButton(bachelor->child(0)));
}

void TestDictionaryDialogs::footerCountsItems()
{
    const int classId = addClass(u"学历"_s);
    for (const QString &code : { u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"05"_s })
        addItem(classId, {}, code, u"项"_s + code);
    addItem(classId, u"01"_s, u"0101"_s, u"下级"_s);
    CDlgSystemDictManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    QCOMPARE(manager.tree()->currentItem()->text(0), u"学历"_s);
    QCOMPARE(manager.footer()->text(), u"学历：5 项"_s);
    manager.tree()->currentItem()->setExpanded(true);
    manager.tree()->setCurrentItem(node(manager.tree(), u"项01"_s));
    QCOMPARE(manager.footer()->text(), u"项01：1 项"_s);
    QVERIFY(manager.grid()->isColumnHidden(0));
}

void TestDictionaryDialogs::itemEditorChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("extends the parent") << u"0102"_s << u"硕士"_s << QString();
    QTest::newRow("does not extend the parent")
        << u"02"_s << u"硕士"_s << u"子级编码必须以上级编码为前缀且长度大于上级编码长度!"_s;
    QTest::newRow("taken code") << u"0101"_s << u"硕士"_s << u"错误：编码重复!"_s;
    QTest::newRow("taken title") << u"0102"_s << u"学士"_s << u"错误：名称重复!"_s;
    QTest::newRow("empty title") << u"0102"_s << u" "_s << u"错误：编码、名称不能为空!"_s;
}

void TestDictionaryDialogs::itemEditorChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, title);
    QFETCH(QString, message);
    const int classId = addClass(u"学历"_s);
    addItem(classId, {}, u"01"_s, u"本科"_s);
    addItem(classId, u"01"_s, u"0101"_s, u"学士"_s);
    CDlgSystemDicItem editor;
    editor.m_nClassID = classId;
    editor.m_strDictId = DictionaryStore(theDatabase).classCode(classId);
    editor.m_strDictValue = u"01"_s;
    editor.m_strParentValue = u"01"_s;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto *codeEdit = editor.findChild<QLineEdit *>(u"code"_s);
    QCOMPARE(codeEdit->text(), u"01"_s);
    QVERIFY(!editor.findChild<QLineEdit *>(u"parentCode"_s)->isEnabled());
    codeEdit->setText(code);
    editor.findChild<QLineEdit *>(u"title"_s)->setText(title);
    const int logged = logRows();
    MessageCatcher catcher;
    QTest::mouseClick(editor.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
    QCOMPARE(catcher.texts, message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(editor.isVisible(), !message.isEmpty());
    QCOMPARE(logRows(), logged + (message.isEmpty() ? 1 : 0));
}

void TestDictionaryDialogs::failedSaveKeepsEditorOpen()
{
    CDlgSystemDicItem editor;
    editor.m_strDictId = u"404"_s; // no such class
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.findChild<QLineEdit *>(u"code"_s)->setText(u"01"_s);
    editor.findChild<QLineEdit *>(u"title"_s)->setText(u"A"_s);
    MessageCatcher catcher;
    QTest::mouseClick(editor.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
    QCOMPARE(catcher.texts.size(), 1);
    QVERIFY(catcher.texts.first().startsWith(u"保存失败!"_s));
    QVERIFY(editor.isVisible());
    QCOMPARE(logRows(), 0);
}

void TestDictionaryDialogs::deletingLastChildClearsButton()
{
    const int classId = addClass(u"学历"_s);
    addItem(classId, {}, u"01"_s, u"本科"_s);
    addItem(classId, u"01"_s, u"0101"_s, u"学士"_s);
    CDlgSystemDictManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    QTreeWidgetItem *degree = node(manager.tree(), u"学历"_s);
    degree->setExpanded(true);
    QTreeWidgetItem *bachelor = node(manager.tree(), u"本科"_s);
    QVERIFY(showsExpandButton(bachelor));
    manager.tree()->setCurrentItem(bachelor);
    QCOMPARE(manager.grid()->GetRowCount(), 1);
    manager.grid()->SetCurSel(0);
    {
        MessageCatcher catcher(QMessageBox::Yes);
        manager.OnDeleteItem();
        QCOMPARE(catcher.texts, QStringList { u"确定要删除档案项'学士'吗?"_s });
    }
    QCOMPARE(manager.grid()->GetRowCount(), 0);
    QVERIFY(!showsExpandButton(node(manager.tree(), u"本科"_s)));
    QCOMPARE(scalar(u"SELECT hasChild FROM qz_DictItem WHERE DictValue='01'"_s), 0);

    // A class with an item that has children is not deleted item by item.
    manager.tree()->setCurrentItem(node(manager.tree(), u"学历"_s));
    addItem(classId, u"01"_s, u"0102"_s, u"硕士"_s);
    manager.tree()->setCurrentItem(node(manager.tree(), u"本科"_s));
    manager.tree()->setCurrentItem(node(manager.tree(), u"学历"_s));
    manager.grid()->SetCurSel(0);
    MessageCatcher catcher(QMessageBox::Yes);
    manager.OnDeleteItem();
    QCOMPARE(
        catcher.texts,
        (QStringList { u"确定要删除档案项'本科'吗?"_s, u"该档案项下有下级档案项,不能删除!"_s }));
}

void TestDictionaryDialogs::classDeleteAndTabBetweenPanes()
{
    const int used = addClass(u"学历"_s);
    const int unused = addClass(u"民族"_s);
    addItem(used, {}, u"01"_s, u"本科"_s);
    addItem(unused, {}, u"01"_s, u"汉族"_s);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Items (iSort, TblName, Name, Alias, iDataType, "
                                u"IdRef, Ord) VALUES (0, 'QZ_PSNBASE', 'Edu', '学历', 3, ?, 99)"_s,
                                { DictionaryStore(theDatabase).classCode(used) }));
    CDlgSystemDictManage manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));

    // Tab goes from the tree to the grid and back.
    manager.tree()->setFocus();
    QTest::keyClick(manager.tree(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), manager.grid());
    QTest::keyClick(manager.grid(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), manager.tree());

    manager.tree()->setCurrentItem(node(manager.tree(), u"学历"_s));
    {
        MessageCatcher catcher(QMessageBox::Yes);
        manager.OnDeleteClass();
        QCOMPARE(catcher.texts,
                 (QStringList { u"确定要删除基础档案类'学历'吗?"_s,
                                u"该档案类已被 1 个字段引用,不能删除!"_s }));
    }
    manager.tree()->setCurrentItem(node(manager.tree(), u"民族"_s));
    const int logged = logRows();
    MessageCatcher catcher(QMessageBox::Yes);
    manager.OnDeleteClass();
    QVERIFY(!node(manager.tree(), u"民族"_s));
    QVERIFY(node(manager.tree(), u"学历"_s));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_DictItem"_s), 1);
    QCOMPARE(logRows(), logged + 1);
}

QTEST_MAIN(TestDictionaryDialogs)
#include "tst_dictionarydialogs.moc"
