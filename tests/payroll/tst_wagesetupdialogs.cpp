#include "core/app/currentuser.h"
#include "core/app/purviewtable.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "modalanswers.h"
#include "payroll/ui/cdlgtabwageitem.h"
#include "payroll/ui/cdlgtabwagepsn.h"
#include "payroll/ui/cdlgtabwagestdtable.h"
#include "payroll/ui/cdlgwageformu.h"
#include "payroll/ui/cdlgwageitemset.h"
#include "payroll/ui/cdlgwagepsnselect.h"
#include "payroll/ui/cdlgwageset.h"
#include "payroll/ui/cdlgwagesetset.h"
#include "payroll/ui/payrollmodule.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/app/appwindow.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cmytreeview.h"
#include "ui/dialogs/cdlgresetorder.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

int scalar(const QString &sql, const QVariantList &values = {})
{
    return GetScalarInt(sql, values).valueOr(-99);
}

int logEntries(const QString &action)
{
    return scalar(u"SELECT COUNT(*) FROM qz_Log WHERE lAction = ?"_s, { action });
}

int addSet(const QString &title)
{
    return AddWageSet(theDatabase, title).value();
}

int addDept(int parent, const QString &name, int ord)
{
    const int did = InsertReturningId(u"qz_Dept"_s, { u"ParentID"_s, u"Name"_s, u"Ord"_s },
                                      { parent, name, ord }, u"DID"_s);
    const QString parentArr = parent == 0
        ? u"|"_s
        : GetScalarText(u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { parent }).valueOr({});
    theDatabase.Execute(u"UPDATE qz_Dept SET ParentArr = ? WHERE DID = ?"_s,
                        { QString(u"|%1"_s.arg(did) + parentArr), did });
    return did;
}

int addPerson(int did, const QString &number, int ord)
{
    return InsertReturningId(u"qz_PsnBase"_s, { u"DID"_s, u"Number"_s, u"Name"_s, u"Ord"_s },
                             { did, number, QString(u"人员"_s + number), ord }, u"PID"_s);
}

QStringList gridColumn(const CBCGPADOGridCtrl *grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->GetRowCount(); ++row)
        texts << grid->GetFieldValue(row, column).toString();
    return texts;
}

QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class TestWageSetupDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void setupNeedsRight32();
    void wageSetList();
    void pagesLoadWhenShown();
    void setupWithAnEmptyCombo();
    void itemBuiltInTheFormulaEditor();
    void formulaEditorFunctionList();
    void brokenFormulaRefused();
    void calculationOrder();
    void failedItemDeleteTellsWhy();
    void chooserTicksAndAdds();
    void membersDeleteAndMoves();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWageSetupDialogs::initTestCase()
{
    QVERIFY(useTestProfile());
    AppWindow::installPresenters();
    RegisterPayrollModule();
    registerHostFunctions();
    CScriptHostProxy::setErrorPresenter({});
}

void TestWageSetupDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theApp = CVantrelApp();
    theApp.m_strConnection = m_fixture->connectionString();
    theCurrentUser.reset();
    theCurrentUser.UserID = 1;
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
}

void TestWageSetupDialogs::cleanup()
{
    theApp.m_pMainWnd = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestWageSetupDialogs::setupNeedsRight32()
{
    addSet(u"月薪"_s);
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.commands().action(2202)->isEnabled());

    // The administrator opens the set-up dialog.
    QString caption;
    answerNextModal<CDlgWageSet>([&](CDlgWageSet *dialog) {
        caption = dialog->windowTitle();
        dialog->reject();
    });
    frame.commands().run(2202);
    QCOMPARE(caption, u"帐套设置"_s);

    // An operator without right 32 is refused.
    theCurrentUser.reset();
    theCurrentUser.UserID = 1;
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ParsePurview(QString::number(PurviewTable[16].mask, 16) + u"|||"_s);
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_Users SET ISuper = 0, Purview = ? WHERE UserID = 1"_s,
                            { QString(QString::number(PurviewTable[16].mask, 16) + u"|||"_s) }));
    MessageCatcher messages;
    caption.clear();
    answerNextModal<CDlgWageSet>([&](CDlgWageSet *dialog) {
        caption = dialog->windowTitle();
        dialog->reject();
    });
    frame.commands().run(2202);
    QTRY_COMPARE(messages.texts, QStringList { u"抱歉!您没有该项功能操作权限，请与管理员联系!"_s });
    QTest::qWait(50);
    QCOMPARE(caption, QString());
    // The pending answer must not reach a later test.
    if (auto *open = QApplication::activeModalWidget())
        open->close();
}

void TestWageSetupDialogs::wageSetList()
{
    const int first = addSet(u"月薪"_s);
    CDlgWageSetSet list(first);
    list.show();
    QCOMPARE(list.Titles(), QStringList { u"月薪"_s });
    QVERIFY(!list.IsAdding());

    MessageCatcher messages(QMessageBox::Yes);
    // The last set cannot go, selected or not.
    list.OnDelete();
    QCOMPARE(messages.texts.takeFirst(), u"最后一个薪资类别不能删除!"_s);

    list.OnAdd();
    QVERIFY(list.IsAdding());
    list.NameEdit()->setText(u" 年终奖 "_s);
    list.OnSave();
    QCOMPARE(list.Titles(), (QStringList { u"月薪"_s, u" 年终奖 "_s }));
    QCOMPARE(logEntries(u"薪资管理[新增薪资类别' 年终奖 ']"_s), 1);
    QVERIFY(list.IsChanged());

    // A duplicate in another case is refused; so is a rename to another set's name.
    list.OnAdd();
    list.NameEdit()->setText(u"年终奖"_s);
    list.OnSave();
    list.SelectRow(0);
    list.NameEdit()->setText(u"年终奖"_s);
    list.OnSave();
    list.NameEdit()->setText(u"   "_s);
    list.OnSave();
    QCOMPARE(messages.texts,
             (QStringList { u"错误：该薪资类别已存在!"_s, u"错误：该薪资类别已存在!"_s,
                            u"错误：薪资类别名不能为空!"_s }));
    messages.texts.clear();
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Table WHERE nType = 6"_s), 2);

    // A rename, and the description alone, need no name test.
    list.SelectRow(0);
    list.NameEdit()->setText(u"工资"_s);
    list.DescriptionEdit()->setPlainText(u"每月发放"_s);
    list.OnSave();
    QCOMPARE(list.Titles().first(), u"工资"_s);
    QCOMPARE(GetScalarText(u"SELECT Descr FROM qz_Table WHERE ID = ?"_s, { first }), u"每月发放"_s);
    QCOMPARE(logEntries(u"薪资管理[更改薪资类别'工资']"_s), 1);

    // Moves keep the selection and log even at the end.
    list.SelectRow(0);
    list.OnMoveDown();
    QCOMPARE(list.Titles(), (QStringList { u" 年终奖 "_s, u"工资"_s }));
    QCOMPARE(list.SelectedSid(), first);
    list.OnMoveDown();
    QCOMPARE(logEntries(u"薪资管理[薪资类别顺序调整]"_s), 2);

    // Delete asks first and takes the set with its data table.
    list.SelectRow(1);
    list.OnDelete();
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(messages.texts.first().endsWith(u"确定要删除薪资类别'工资'吗?"_s));
    QCOMPARE(list.Titles(), QStringList { u" 年终奖 "_s });
    QVERIFY(!TableExists(WageSetDataTableName(first)));
    QCOMPARE(logEntries(u"薪资管理[删除薪资类别'工资']"_s), 1);
}

void TestWageSetupDialogs::pagesLoadWhenShown()
{
    const int monthly = addSet(u"月薪"_s);
    const int bonus = addSet(u"年终奖"_s);
    theApp.SName = u"年终奖"_s;
    CDlgWageSet dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.WageSetCombo()->currentText(), u"年终奖"_s);
    QCOMPARE(dialog.MembersPage()->LoadedSid(), bonus);
    QCOMPARE(dialog.ItemsPage()->LoadedSid(), 0);

    // Another set reloads only the page shown.
    dialog.WageSetCombo()->setCurrentIndex(dialog.WageSetCombo()->findText(u"月薪"_s));
    Q_EMIT dialog.WageSetCombo()->activated(dialog.WageSetCombo()->currentIndex());
    QCOMPARE(dialog.MembersPage()->LoadedSid(), monthly);
    QCOMPARE(dialog.ItemsPage()->LoadedSid(), 0);

    // Ctrl+Tab turns the pages, from the last back to the first.
    dialog.WageSetCombo()->setFocus();
    QTest::keyClick(dialog.WageSetCombo(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(dialog.Tabs()->currentIndex(), 1);
    QCOMPARE(dialog.StandardTablePage()->LoadedSid(), monthly);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(dialog.Tabs()->currentIndex(), 2);
    QCOMPARE(dialog.ItemsPage()->LoadedSid(), monthly);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(dialog.Tabs()->currentIndex(), 0);

    // The list dialog closed without a change leaves the combo alone; a new set refills it.
    answerNextModal<CDlgWageSetSet>([](CDlgWageSetSet *list) { list->reject(); });
    dialog.OnSetup();
    QCOMPARE(dialog.WageSetCombo()->count(), 2);
    answerNextModal<CDlgWageSetSet>([](CDlgWageSetSet *list) {
        list->OnAdd();
        list->NameEdit()->setText(u"奖金"_s);
        list->OnSave();
        list->reject();
    });
    dialog.OnSetup();
    QCOMPARE(dialog.WageSetCombo()->count(), 3);
    QCOMPARE(dialog.WageSetCombo()->currentText(), u"年终奖"_s);
}

void TestWageSetupDialogs::setupWithAnEmptyCombo()
{
    // No wage set at all: the list opens so that the first one can be made.
    CDlgWageSet dialog;
    QCOMPARE(dialog.WageSetCombo()->count(), 0);
    bool opened = false;
    answerNextModal<CDlgWageSetSet>([&](CDlgWageSetSet *list) {
        opened = true;
        list->reject();
    });
    dialog.OnSetup();
    QVERIFY(opened);

    // Sets exist but this operator may use none: nothing opens.
    addSet(u"月薪"_s);
    theCurrentUser.ISuper = 0;
    theCurrentUser.ParsePurview(u"ffffffffffffffff|||"_s);
    CDlgWageSet restricted;
    QCOMPARE(restricted.WageSetCombo()->count(), 0);
    QCOMPARE(restricted.MembersPage()->LoadedSid(), 0);
    restricted.OnSetup();
    QTest::qWait(30);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestWageSetupDialogs::itemBuiltInTheFormulaEditor()
{
    const int sid = addSet(u"月薪"_s);
    CDlgTabWageItem page;
    page.show();
    QVERIFY(page.LoadWageSet(sid));
    for (const QString &alias : { u"基本工资"_s, u"岗位津贴"_s }) {
        answerNextModal<CDlgWageItemSet>([alias](CDlgWageItemSet *editor) {
            editor->NameEdit()->setText(alias);
            editor->accept();
        });
        page.OnNew();
    }
    QCOMPARE(page.Aliases(), (QStringList { u"基本工资"_s, u"岗位津贴"_s }));
    QCOMPARE(page.CellText(0, CDlgTabWageItem::ColDataType), u"数值"_s);
    QCOMPARE(page.CellText(0, CDlgTabWageItem::ColProperty), u"自由输入"_s);
    QCOMPARE(page.CellText(0, CDlgTabWageItem::ColRounding), u"四舍五入"_s);
    QCOMPARE(page.CellText(0, CDlgTabWageItem::ColStdTable), QString());
    // 启用 and 字段名 stay in view when the list scrolls sideways.
    page.resize(400, 300);
    QScrollBar *across = page.Grid()->horizontalScrollBar();
    QTRY_VERIFY(across->maximum() > 0);
    across->setValue(across->maximum());
    auto *frozen = page.Grid()->findChild<QTableView *>();
    QVERIFY(frozen);
    QTRY_VERIFY(frozen->isVisible());
    QVERIFY(!frozen->isColumnHidden(1) && !frozen->isColumnHidden(2));
    QVERIFY(frozen->isColumnHidden(CDlgTabWageItem::ColAlias));

    // 应发合计 = 基本工资 + 岗位津贴, put together in the formula editor.
    QString typed;
    answerNextModal<CDlgWageItemSet>([&](CDlgWageItemSet *editor) {
        editor->NameEdit()->setText(u"应发合计"_s);
        editor->SourceList()->setCurrentIndex(1);
        QVERIFY(editor->FormulaButton()->isVisibleTo(editor));
        answerNextModal<CDlgWageFormu>([&](CDlgWageFormu *formulas) {
            QTreeWidget *tree = formulas->ReferenceTree();
            QCOMPARE(tree->topLevelItem(0)->text(0), u"月薪"_s);
            QCOMPARE(tree->topLevelItem(1)->text(0), u"人员信息"_s);
            // A root inserts nothing.
            Q_EMIT tree->itemDoubleClicked(tree->topLevelItem(0), 0);
            Q_EMIT tree->itemDoubleClicked(findItem(tree, u"基本工资"_s), 0);
            formulas->InsertButton(u"+"_s)->click();
            formulas->InsertButton(u"*"_s)->click();
            formulas->UndoButton()->click(); // takes back the last insertion only
            Q_EMIT tree->itemDoubleClicked(findItem(tree, u"岗位津贴"_s), 0);
            typed = formulas->FormulaEdit()->toPlainText();
            formulas->accept();
        });
        editor->OnFormulaEditor();
        editor->accept();
    });
    page.OnNew();
    QCOMPARE(typed, u"[月薪.基本工资]+[月薪.岗位津贴]"_s);
    QCOMPARE(page.Aliases().last(), u"应发合计"_s);
    const int row = page.Grid()->GetCurSel();
    QCOMPARE(page.Grid()->GetFieldValue(row, CDlgTabWageItem::ColAlias).toString(), u"应发合计"_s);
    QCOMPARE(page.CellText(row, CDlgTabWageItem::ColProperty), u"公式计算"_s);
    const QStringList columns = gridColumn(page.Grid(), 2);
    QCOMPARE(GetScalarText(u"SELECT FExp FROM qz_Items WHERE Alias = '应发合计'"_s),
             u"{%1}+{%2}"_s.arg(columns.at(0), columns.at(1)));
    QCOMPARE(logEntries(u"薪资管理[薪资类别'月薪'新建薪资项目'应发合计']"_s), 1);

    // Closing the formula editor with 取消 hands nothing back.
    answerNextModal<CDlgWageItemSet>([&](CDlgWageItemSet *editor) {
        QCOMPARE(editor->windowTitle(), u"修改项目"_s);
        QVERIFY(!editor->DataTypeList()->isEnabled());
        answerNextModal<CDlgWageFormu>([](CDlgWageFormu *formulas) {
            formulas->InsertButton(u" And "_s)->click();
            formulas->reject();
        });
        editor->OnFormulaEditor();
        typed = editor->FormulaEdit()->toPlainText();
        editor->reject();
    });
    page.OnModify();
    QCOMPARE(typed, u"[月薪.基本工资]+[月薪.岗位津贴]"_s);
}

void TestWageSetupDialogs::formulaEditorFunctionList()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"funcdescr.xml"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<list>
  <function type="system"><name>ROUND</name><description>第一个</description></function>
  <other><name>NOT</name></other>
  <function type="system"><name>ROUND</name><description>第二个</description></function>
  <function type="const"><name>SDATE</name><description>期间</description></function>
  <function type="vbscript"><name>Len</name><description>长度</description></function>
  <function type="System"><name>WRONGCASE</name></function>
  <function><name>NOTYPE</name></function>
</list>)");
    file.close();
    CDlgWageFormu editor(addSet(u"月薪"_s), u"应发合计"_s, u"1+"_s, nullptr, path);
    QCOMPARE(editor.windowTitle(), u"[应发合计] - 公式设置"_s);
    QTreeWidget *tree = editor.FunctionTree();
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(0) + tree->topLevelItem(0)->child(0)->text(0),
             u"系统常数SDATE"_s);
    QCOMPARE(tree->topLevelItem(1)->childCount(), 2);
    QCOMPARE(tree->topLevelItem(2)->child(0)->text(0), u"Len"_s);
    // The first entry is selected at once; a name listed twice shows the first description.
    QCOMPARE(editor.DescriptionEdit()->toPlainText(), u"期间"_s);
    tree->setCurrentItem(tree->topLevelItem(1)->child(1));
    QCOMPARE(editor.DescriptionEdit()->toPlainText(), u"第一个"_s);
    QCOMPARE(editor.FormulaEdit()->toPlainText(), u"1+"_s);
    // Each of the 24 buttons inserts its text, replacing a selection.
    QCOMPARE(editor.findChildren<QPushButton *>().size(), 24 + 3);
    editor.FormulaEdit()->selectAll();
    editor.InsertButton(u" Or "_s)->click();
    QCOMPARE(editor.FormulaEdit()->toPlainText(), u" Or "_s);
    QCOMPARE(editor.InsertButton(u"<>"_s)->toolTip(), u"不等号"_s);

    // A missing file leaves three empty roots.
    CDlgWageFormu missing(0, u"x"_s, {}, nullptr, dir.filePath(u"none.xml"_s));
    QCOMPARE(missing.FunctionTree()->topLevelItemCount(), 3);
    QCOMPARE(missing.FunctionTree()->topLevelItem(1)->childCount(), 0);
}

void TestWageSetupDialogs::brokenFormulaRefused()
{
    const int sid = addSet(u"月薪"_s);
    WageItemFields pay;
    pay.sid = sid;
    pay.alias = u"基本工资"_s;
    QVERIFY(SaveWageItem(theDatabase, pay).saved);
    CDlgWageItemSet editor;
    editor.SetNewItem(sid);
    editor.show();
    editor.NameEdit()->setText(u"个税"_s);
    editor.SourceList()->setCurrentIndex(1);
    editor.FormulaEdit()->setPlainText(u"IIf(([月薪.基本工资]>5000,1,0)"_s);
    MessageCatcher messages;
    editor.accept();
    QCOMPARE(messages.texts, QStringList { u"小括号不配对!"_s });
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.result(), 0);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE Alias = '个税'"_s), 0);
    // Mended, it is saved.
    editor.FormulaEdit()->setPlainText(
        u"IIf([月薪.基本工资]>5000,([月薪.基本工资]-5000)*0.03,0)"_s);
    editor.accept();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE Alias = '个税'"_s), 1);
}

void TestWageSetupDialogs::calculationOrder()
{
    const int sid = addSet(u"月薪"_s);
    for (const QString &alias : { u"甲"_s, u"乙"_s, u"丙"_s }) {
        WageItemFields item;
        item.sid = sid;
        item.alias = alias;
        QVERIFY(SaveWageItem(theDatabase, item).saved);
    }
    CDlgTabWageItem page;
    page.show();
    QVERIFY(page.LoadWageSet(sid));
    answerNextModal<CDlgResetOrder>([](CDlgResetOrder *order) {
        QCOMPARE(order->windowTitle(), u"调整薪资项目运算顺序(自上而下运行)"_s);
        QCOMPARE(order->GetGrid()->GetRowCount(), 3);
        order->GetGrid()->SetCurSel(0, 1);
        order->MoveToBottom();
        order->Refresh();
        order->reject();
    });
    // Enter on the toolbar's 调序 runs it.
    QToolButton *button = nullptr;
    for (QAction *action : page.ToolBar()->actions()) {
        if (action->text() == u"调序"_s)
            button = qobject_cast<QToolButton *>(page.ToolBar()->widgetForAction(action));
    }
    QVERIFY(button);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    const auto calc
        = theDatabase.run(u"SELECT Alias FROM qz_Items WHERE iSort = 1 ORDER BY OrdF"_s).rows;
    QCOMPARE(calc.text(0, 0) + calc.text(1, 0) + calc.text(2, 0), u"乙丙甲"_s);
    QCOMPARE(scalar(u"SELECT MAX(OrdF) FROM qz_Items WHERE iSort = 1"_s), 3);
    QCOMPARE(logEntries(u"薪资管理[薪资类别'月薪'调整薪资项目运算顺序]"_s), 1);
    // Display order is a list of its own.
    QCOMPARE(page.Aliases(), (QStringList { u"甲"_s, u"乙"_s, u"丙"_s }));
}

void TestWageSetupDialogs::failedItemDeleteTellsWhy()
{
    const int sid = addSet(u"月薪"_s);
    WageItemFields item;
    item.sid = sid;
    item.alias = u"基本工资"_s;
    QVERIFY(SaveWageItem(theDatabase, item).saved);
    // A view over the column keeps the database from dropping it.
    QVERIFY(theDatabase.Execute(u"CREATE VIEW v_pay AS SELECT F%1 FROM %2"_s.arg(
        QString::number(item.itemId), WageSetDataTableName(sid))));
    CDlgTabWageItem page;
    page.show();
    QVERIFY(page.LoadWageSet(sid));
    MessageCatcher messages(QMessageBox::Yes);
    page.OnDelete();
    QCOMPARE(messages.texts.size(), 2);
    QVERIFY(messages.texts.at(0).endsWith(u"确定要删除项目“基本工资”吗?"_s));
    QVERIFY(!messages.texts.at(1).isEmpty());
    QCOMPARE(page.Aliases(), QStringList { u"基本工资"_s });
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE iSort = 1"_s), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Log WHERE lAction LIKE '%删除薪资项目%'"_s), 0);
}

void TestWageSetupDialogs::chooserTicksAndAdds()
{
    const int dept = addDept(0, u"财务部"_s, 1);
    const int sid = addSet(u"月薪"_s);
    for (int i = 1; i <= 4; ++i)
        addPerson(dept, u"00%1"_s.arg(i), i);
    CDlgTabWagePSN page;
    page.show();
    QVERIFY(page.LoadMembers(sid));
    QCOMPARE(page.FooterText(), u"共 计：0 人"_s);

    CDlgWagePsnSelect chooser(sid, &page);
    chooser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser));
    CBCGPADOGridCtrl *grid = chooser.Grid();
    QCOMPARE(chooser.DeptPicker()->text(), u"<全体部门>"_s);
    QCOMPARE(gridColumn(grid, 2), (QStringList { u"001"_s, u"002"_s, u"003"_s, u"004"_s }));
    QCOMPARE(chooser.FooterText(), u"共 计：4 人"_s);

    // Space ticks the current row, a click in the tick column another.
    grid->setFocus();
    grid->SetCurSel(0, 2);
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"1"_s, u"0"_s, u"0"_s, u"0"_s }));
    const QRect cell = grid->visualRect(grid->model()->index(2, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"1"_s, u"0"_s, u"1"_s, u"0"_s }));
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"1"_s, u"0"_s, u"0"_s, u"0"_s }));

    // Search by name selects the row.
    chooser.SearchEdit()->setText(u"人员003"_s);
    chooser.OnSearch();
    QCOMPARE(grid->GetCurSel(), 2);

    MessageCatcher messages(QMessageBox::Ok);
    chooser.OnAddTicked();
    QCOMPARE(messages.texts, QStringList { u"确定添加选定的人员吗?"_s });
    QCOMPARE(gridColumn(grid, 2), (QStringList { u"002"_s, u"003"_s, u"004"_s }));
    QCOMPARE(gridColumn(page.Grid(), 1), QStringList { u"001"_s });
    QCOMPARE(logEntries(u"薪资管理[薪资类别'月薪'增加所属人员]"_s), 1);

    // Nothing ticked; then all ticked and added.
    messages.texts.clear();
    chooser.OnAddTicked();
    QCOMPARE(messages.texts, QStringList { u"请选择人员！"_s });
    chooser.OnTickAll();
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"1"_s, u"1"_s, u"1"_s }));
    chooser.OnUntickAll();
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"0"_s, u"0"_s, u"0"_s }));
    // A double click adds one person at once.
    grid->SetCurSel(1, 2);
    chooser.AddCurrent();
    QCOMPARE(gridColumn(grid, 2), (QStringList { u"002"_s, u"004"_s }));
    QCOMPARE(gridColumn(page.Grid(), 1), (QStringList { u"001"_s, u"003"_s }));
    const QString key = chooser.List().workKey();
    QVERIFY(scalar(u"SELECT COUNT(*) FROM qz_PsnPickWork WHERE WorkKey = ?"_s, { key }) > 0);
    chooser.close();
}

void TestWageSetupDialogs::membersDeleteAndMoves()
{
    const int top = addDept(0, u"总部"_s, 1);
    const int one = addDept(top, u"财务部"_s, 1);
    addDept(top, u"人事部"_s, 2);
    const int sid = addSet(u"月薪"_s);
    QStringList numbers;
    for (int i = 1; i <= 4; ++i) {
        const int pid = addPerson(one, u"00%1"_s.arg(i), i);
        InsertReturningId(u"qz_WagePsn"_s, { u"SID"_s, u"PID"_s, u"Ord"_s }, { sid, pid, i },
                          u"ID"_s);
    }
    CDlgTabWagePSN page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.LoadMembers(sid));
    CBCGPADOGridCtrl *grid = page.Grid();
    QCOMPARE(page.FooterText(), u"共 计：4 人"_s);
    // All departments (one child, 总部) and 总部 with two sub-departments: no moves.
    page.DeptTree()->setCurrentItem(findItem(page.DeptTree(), u"总部"_s));
    QVERIFY(page.HasSeveralSubDepts());
    QVERIFY(grid->IsVirtualMode());
    grid->setFocus();
    grid->SetCurSel(0, 1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"001"_s, u"002"_s, u"003"_s, u"004"_s }));
    QCOMPARE(logEntries(u"薪资管理[薪资类别'月薪'所属人员调序]"_s), 0);

    // A leaf department allows moves.
    page.DeptTree()->setCurrentItem(findItem(page.DeptTree(), u"财务部"_s));
    QVERIFY(!page.HasSeveralSubDepts());
    QCOMPARE(page.CurrentDept(), one);
    grid->setFocus();
    grid->SetCurSel(0, 1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"002"_s, u"001"_s, u"003"_s, u"004"_s }));
    QCOMPARE(grid->GetCurSel(), 1);
    QCOMPARE(logEntries(u"薪资管理[薪资类别'月薪'所属人员调序]"_s), 1);
    page.OnRefresh();
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"001"_s, u"002"_s, u"003"_s, u"004"_s }));

    // Several rows go in one delete.
    grid->selectionModel()->clearSelection();
    for (int row : { 1, 3 })
        grid->selectionModel()->select(grid->model()->index(row, 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    MessageCatcher messages(QMessageBox::Yes);
    page.OnDelete();
    QCOMPARE(messages.texts, QStringList { u"确定要删除所选择的人员吗?"_s });
    QCOMPARE(gridColumn(grid, 1), (QStringList { u"001"_s, u"003"_s }));
    QCOMPARE(logEntries(u"薪资管理[薪资类别'月薪'删除所属人员2人]"_s), 1);
    QCOMPARE(page.FooterText(), u"共 计：2 人"_s);
}

QTEST_MAIN(TestWageSetupDialogs)
#include "tst_wagesetupdialogs.moc"
