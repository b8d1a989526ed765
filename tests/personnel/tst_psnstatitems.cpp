#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "modalanswers.h"
#include "personnel/ui/cdlgpsnstatanalyzeitem.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "statwindowfixture.h"
#include "testdatabase.h"
#include "testprofile.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct RangeRow
{
    QString title;
    QString lower;
    QString upper;
};

// The stored ranges of a statistic in Ord order, "title:lower:upper".
QStringList storedRanges(int tid)
{
    QStringList ranges;
    const auto rows = theDatabase.run(u"SELECT fTitle, LowerVal, UperVal, Ord FROM"
                                      " qz_StatItmFilter WHERE TID=? ORDER BY Ord"_s,
                                      { tid });
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        ranges << u"%1:%2:%3"_s.arg(rows.rows.text(row, 0), rows.rows.text(row, 1),
                                    rows.rows.text(row, 2));
    return ranges;
}

void chooseField(CDlgPsnStatAnalyzeItem &dialog, const QString &alias)
{
    dialog.fieldCombo()->setCurrentIndex(dialog.fieldCombo()->findText(alias));
}

// Adds a range through "新建" and types its cells (the bounds as the cells take them).
void addRange(CDlgPsnStatAnalyzeItem &dialog, const QString &title, const QVariant &lower,
              const QVariant &upper)
{
    dialog.OnNewBucket();
    QTableWidget *grid = dialog.rangeGrid();
    const int row = grid->rowCount() - 1;
    grid->item(row, CDlgPsnStatAnalyzeItem::ColTitle)->setText(title);
    grid->item(row, CDlgPsnStatAnalyzeItem::ColLower)->setData(Qt::EditRole, lower);
    grid->item(row, CDlgPsnStatAnalyzeItem::ColUpper)->setData(Qt::EditRole, upper);
}

int statCount()
{
    return theDatabase.run(u"SELECT COUNT(*) FROM qz_Stat"_s).scalar().toInt();
}

} // namespace

// The two statistic editors over a real database.
class TestPsnStatItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void editorChecks_data();
    void editorChecks();
    void numberBoundRefusesText();
    void dateRangesStoredAsIsoDates();
    void editKeepsTableAndField();
    void deleteAndReorderRanges();
    void saveFailingHalfwayKeepsDialogOpen();
    void crossChoices();
    void crossChecks_data();
    void crossChecks();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnStatItems::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestPsnStatItems::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(QStringLiteral("admin"));
}

void TestPsnStatItems::cleanup()
{
    closeStatTestDb(m_fixture);
}

void TestPsnStatItems::editorChecks_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QList<QStringList>>("ranges"); // title, lower, upper
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("stored");

    const QList<QStringList> none;
    const QList<QStringList> good
        = { { u"低"_s, u"0"_s, u"9.5"_s }, { u"高"_s, u"10"_s, u"99"_s } };
    QTest::newRow("empty title") << u"  "_s << u"数额"_s << good << u"标题不能为空!"_s
                                 << QStringList();
    QTest::newRow("number field without ranges")
        << u"数额段"_s << u"数额"_s << none << u"区段设置有错误!"_s << QStringList();
    QTest::newRow("range without a description")
        << u"数额段"_s << u"数额"_s << QList<QStringList> { { u" "_s, u"1"_s, u"2"_s } }
        << u"区段设置有错误!"_s << QStringList();
    QTest::newRow("bad bound") << u"数额段"_s << u"数额"_s
                               << QList<QStringList> { { u"低"_s, u"1"_s, u"abc"_s } }
                               << u"区段设置有错误!"_s << QStringList();
    QTest::newRow("empty bound") << u"数额段"_s << u"数额"_s
                                 << QList<QStringList> { { u"低"_s, u""_s, u"3"_s } }
                                 << u"区段设置有错误!"_s << QStringList();
    QTest::newRow("number ranges") << u" 数额段 "_s << u"数额"_s << good << QString()
                                   << QStringList({ u"低:0:9.5"_s, u"高:10:99"_s });
    QTest::newRow("text field without ranges")
        << u"备注"_s << u"备注"_s << none << QString() << QStringList();
}

void TestPsnStatItems::editorChecks()
{
    QFETCH(QString, title);
    QFETCH(QString, field);
    QFETCH(QList<QStringList>, ranges);
    QFETCH(QString, message);
    QFETCH(QStringList, stored);

    CDlgPsnStatAnalyzeItem dialog(u"新建统计项"_s, 0, QString(), QString(), QString());
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"新建统计项"_s);
    QCOMPARE(dialog.tableCombo()->currentText(), u"人员信息"_s);
    QVERIFY(dialog.tableCombo()->isEnabled());
    chooseField(dialog, field);
    QCOMPARE(dialog.rangeBox()->title(), u"'%1'区段"_s.arg(field));
    const bool numeric = field == u"数额"_s;
    QCOMPARE(dialog.rangeGrid()->isEnabled(), numeric);
    for (const QStringList &range : ranges)
        addRange(dialog, range.at(0), range.at(1), range.at(2));
    dialog.titleEdit()->setText(title);

    MessageCatcher catcher;
    dialog.OnSave();
    QCOMPARE(catcher.texts.join(u'|'), message);
    QCOMPARE(dialog.result() == QDialog::Accepted, message.isEmpty());
    if (!message.isEmpty()) {
        QVERIFY(dialog.isVisible());
        QCOMPARE(statCount(), 0);
        QVERIFY(logLines().isEmpty());
        return;
    }
    const auto row = theDatabase.run(
        u"SELECT TID, sCaption, sFlag, bFixed, sTblName, sFldName, Ord FROM qz_Stat"_s);
    QCOMPARE(row.rows.rowCount(), 1);
    QCOMPARE(row.rows.value(0, 0).toInt(), dialog.tid());
    QCOMPARE(row.rows.text(0, 1), title.trimmed());
    QCOMPARE(row.rows.value(0, 2).toInt(), 1);
    QCOMPARE(row.rows.value(0, 3).toInt(), 0);
    QCOMPARE(row.rows.text(0, 4).toUpper(), u"QZ_PSNBASE"_s);
    QCOMPARE(row.rows.text(0, 5), numeric ? u"F12"_s : u"F13"_s);
    QCOMPARE(row.rows.value(0, 6).toInt(), dialog.tid()); // new statistics sort last
    QCOMPARE(storedRanges(dialog.tid()), stored);
    QCOMPARE(logLines(),
             QStringList { u"人员档案[人员统计分析项添加 '%1']"_s.arg(title.trimmed()) });
}

void TestPsnStatItems::numberBoundRefusesText()
{
    CDlgPsnStatAnalyzeItem dialog(u"新建统计项"_s, 0, QString(), QString(), u"F12"_s);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.OnNewBucket();
    QTableWidget *grid = dialog.rangeGrid();
    QCOMPARE(grid->item(0, CDlgPsnStatAnalyzeItem::ColLower)->text(), u"0"_s);
    const auto typeInto = [grid](int column, const QString &text) {
        QTableWidgetItem *cell = grid->item(0, column);
        grid->setCurrentItem(cell);
        grid->editItem(cell);
        QPointer<QLineEdit> editor;
        for (QLineEdit *open : grid->viewport()->findChildren<QLineEdit *>()) {
            if (open->isVisible())
                editor = open;
        }
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits and closes a moment after Return.
        QTRY_VERIFY(!editor || !editor->isVisible());
    };
    typeInto(CDlgPsnStatAnalyzeItem::ColLower, u"abc"_s);
    QCOMPARE(grid->item(0, CDlgPsnStatAnalyzeItem::ColLower)->text(), u"0"_s);
    typeInto(CDlgPsnStatAnalyzeItem::ColUpper, u" 12.5 "_s);
    QCOMPARE(grid->item(0, CDlgPsnStatAnalyzeItem::ColUpper)->text(), u"12.5"_s);
}

void TestPsnStatItems::dateRangesStoredAsIsoDates()
{
    // A bound stored in an older form is read leniently and rewritten as yyyy-MM-dd.
    const int tid = addStatRow(u"入职年份"_s, 1, u"QZ_PSNBASE"_s, u"F14"_s, 1);
    QVERIFY(addRangeRow(tid, u"早"_s, u"2024/5/10"_s, u"2024-06-01 00:00:00"_s, 0));
    CDlgPsnStatAnalyzeItem dialog(u"修改统计项"_s, tid, u"入职年份"_s, u"QZ_PSNBASE"_s, u"F14"_s);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget *grid = dialog.rangeGrid();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, CDlgPsnStatAnalyzeItem::ColLower)->data(Qt::EditRole).toDate(),
             QDate(2024, 5, 10));

    // New date ranges start at today; the editor is a date editor.
    dialog.OnNewBucket();
    QCOMPARE(grid->item(1, CDlgPsnStatAnalyzeItem::ColUpper)->data(Qt::EditRole).toDate(),
             QDate::currentDate());
    QTableWidgetItem *cell = grid->item(1, CDlgPsnStatAnalyzeItem::ColLower);
    grid->setCurrentItem(cell);
    grid->editItem(cell);
    auto *editor = grid->viewport()->findChild<QDateEdit *>();
    QVERIFY(editor);
    editor->setDate(QDate(2025, 1, 2));
    grid->item(1, CDlgPsnStatAnalyzeItem::ColTitle)->setText(u"晚"_s);
    dialog.OnSave(); // ends the open edit first
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(
        storedRanges(tid),
        QStringList({ u"早:2024-05-10:2024-06-01"_s,
                      u"晚:2025-01-02:%1"_s.arg(QDate::currentDate().toString(Qt::ISODate)) }));
    QCOMPARE(logLines(), QStringList { u"人员档案[人员统计分析项修改 '入职年份']"_s });
}

void TestPsnStatItems::editKeepsTableAndField()
{
    // Stored in other case than the metadata: still found.
    const int tid = addStatRow(u"数额段"_s, 1, u"qz_psnbase"_s, u"f12"_s, 1);
    QVERIFY(addRangeRow(tid, u"低"_s, u"0"_s, u"10"_s, 0));
    CDlgPsnStatAnalyzeItem dialog(u"修改统计项"_s, tid, u"数额段"_s, u"qz_psnbase"_s, u"f12"_s);
    QCOMPARE(dialog.tableCombo()->currentText(), u"人员信息"_s);
    QCOMPARE(dialog.fieldCombo()->currentText(), u"数额"_s);
    QVERIFY(!dialog.tableCombo()->isEnabled());
    QVERIFY(!dialog.fieldCombo()->isEnabled());
    QCOMPARE(dialog.titleEdit()->text(), u"数额段"_s);
    QCOMPARE(dialog.rangeGrid()->rowCount(), 1);
    QCOMPARE(dialog.rangeGrid()->currentRow(), 0);
    dialog.titleEdit()->setText(u"数额分段"_s);
    dialog.OnSave();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const auto row = theDatabase.run(u"SELECT sCaption, sTblName, sFldName, Ord FROM qz_Stat"_s);
    QCOMPARE(row.rows.text(0, 0), u"数额分段"_s);
    QCOMPARE(row.rows.text(0, 2).toUpper(), u"F12"_s);
    QCOMPARE(row.rows.value(0, 3).toInt(), 1);
    QCOMPARE(storedRanges(tid), QStringList { u"低:0:10"_s });
    QCOMPARE(statCount(), 1);
}

void TestPsnStatItems::deleteAndReorderRanges()
{
    const int tid = addStatRow(u"数额段"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(addRangeRow(tid, u"R%1"_s.arg(i), QString::number(i), QString::number(i), i));
    {
        CDlgPsnStatAnalyzeItem dialog(u"修改统计项"_s, tid, u"数额段"_s, u"QZ_PSNBASE"_s, u"F12"_s);
        QTableWidget *grid = dialog.rangeGrid();
        // "No" keeps the range.
        grid->selectRow(1);
        {
            MessageCatcher no(QMessageBox::No);
            dialog.OnDeleteBucket();
            QCOMPARE(no.texts, QStringList { u"确定删除当前项吗?"_s });
        }
        QCOMPARE(grid->rowCount(), 3);
        {
            MessageCatcher yes(QMessageBox::Yes);
            dialog.OnDeleteBucket();
        }
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->item(1, CDlgPsnStatAnalyzeItem::ColTitle)->text(), u"R2"_s);
        // Gone at once, although the dialog is cancelled below.
        QCOMPARE(storedRanges(tid), QStringList({ u"R0:0:0"_s, u"R2:2:2"_s }));
        dialog.OnMoveUp();
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->item(0, CDlgPsnStatAnalyzeItem::ColTitle)->text(), u"R2"_s);
        dialog.OnMoveUp(); // the first row stays
        QCOMPARE(grid->item(0, CDlgPsnStatAnalyzeItem::ColTitle)->text(), u"R2"_s);
        dialog.reject();
    }
    QCOMPARE(storedRanges(tid), QStringList({ u"R0:0:0"_s, u"R2:2:2"_s }));

    CDlgPsnStatAnalyzeItem dialog(u"修改统计项"_s, tid, u"数额段"_s, u"QZ_PSNBASE"_s, u"F12"_s);
    dialog.rangeGrid()->selectRow(0);
    dialog.OnMoveDown();
    dialog.OnMoveDown(); // the last row stays
    QCOMPARE(dialog.rangeGrid()->currentRow(), 1);
    addRange(dialog, u"R3"_s, u"3"_s, u"4"_s);
    dialog.OnSave();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(storedRanges(tid), QStringList({ u"R2:2:2"_s, u"R0:0:0"_s, u"R3:3:4"_s }));
    // Rewritten in place, not added again.
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_StatItmFilter"_s).scalar().toInt(), 3);
}

void TestPsnStatItems::saveFailingHalfwayKeepsDialogOpen()
{
    // The second range's insert fails after the definition and the first range are written.
    QVERIFY(
        theDatabase.Execute(u"CREATE UNIQUE INDEX tst_onetitle ON qz_StatItmFilter (fTitle)"_s));
    CDlgPsnStatAnalyzeItem dialog(u"新建统计项"_s, 0, QString(), QString(), u"F12"_s);
    dialog.show();
    dialog.titleEdit()->setText(u"数额段"_s);
    addRange(dialog, u"同名"_s, u"0"_s, u"5"_s);
    addRange(dialog, u"同名"_s, u"6"_s, u"9"_s);
    MessageCatcher catcher;
    dialog.OnSave();
    QCOMPARE(catcher.texts.size(), 1);
    QVERIFY(!catcher.texts.first().isEmpty());
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QCOMPARE(statCount(), 0);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_StatItmFilter"_s).scalar().toInt(), 0);
    QVERIFY(logLines().isEmpty());

    // Put right, the same dialog saves.
    dialog.rangeGrid()->item(1, CDlgPsnStatAnalyzeItem::ColTitle)->setText(u"另名"_s);
    dialog.OnSave();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(statCount(), 1);
    QCOMPARE(storedRanges(dialog.tid()), QStringList({ u"同名:0:5"_s, u"另名:6:9"_s }));
}

void TestPsnStatItems::crossChoices()
{
    const int a = addStatRow(u"数额段"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 1);
    const int b = addStatRow(u"备注"_s, 1, u"QZ_PSNBASE"_s, u"F13"_s, 2);
    const int c = addStatRow(u"入职"_s, 1, u"QZ_PSNBASE"_s, u"F14"_s, 3);
    CDlgPsnStatAnalyzeItem2D fresh(u"新建统计项"_s, 0, QString(), -1, -1);
    QCOMPARE(fresh.horizontalCombo()->count(), 3);
    QCOMPARE(fresh.horizontalCombo()->currentIndex(), -1);
    QCOMPARE(fresh.verticalCombo()->count(), 0);
    fresh.horizontalCombo()->setCurrentIndex(1);
    QCOMPARE(fresh.horzTid(), b);
    QStringList vertical;
    for (int i = 0; i < fresh.verticalCombo()->count(); ++i)
        vertical << fresh.verticalCombo()->itemText(i);
    QCOMPARE(vertical, QStringList({ u"数额段"_s, u"入职"_s })); // never the horizontal one

    const int cross = addCrossRow(u"交叉"_s, c, a, 4);
    CDlgPsnStatAnalyzeItem2D edit(u"修改统计项"_s, cross, u"交叉"_s, c, a);
    QCOMPARE(edit.horizontalCombo()->currentText(), u"入职"_s);
    QCOMPARE(edit.verticalCombo()->currentText(), u"数额段"_s);
    edit.verticalCombo()->setCurrentIndex(edit.verticalCombo()->findText(u"备注"_s));
    edit.titleEdit()->setText(u"交叉2"_s);
    edit.accept();
    QCOMPARE(edit.result(), int(QDialog::Accepted));
    const auto row = theDatabase.run(u"SELECT sCaption, sTblName, sFldName, sFlag FROM qz_Stat"
                                     " WHERE TID=?"_s,
                                     { cross });
    QCOMPARE(row.rows.text(0, 0), u"交叉2"_s);
    QCOMPARE(row.rows.text(0, 1), QString::number(c));
    QCOMPARE(row.rows.text(0, 2), QString::number(b));
    QCOMPARE(row.rows.value(0, 3).toInt(), 2);
    QVERIFY(logLines().isEmpty()); // a cross writes no log
}

void TestPsnStatItems::crossChecks_data()
{
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("saved");

    QTest::newRow("none chosen") << QString() << QString() << u"t"_s << QString() << false;
    QTest::newRow("only one chosen") << u"数额段"_s << QString() << u"t"_s << QString() << false;
    QTest::newRow("empty title") << u"数额段"_s << u"学历"_s << u" "_s << u"标题不能为空!"_s
                                 << false;
    QTest::newRow("two related tables")
        << u"学历"_s << u"职称"_s << u"t"_s << u"不能创建这两横纵指标统计项!"_s << false;
    QTest::newRow("one on the person table")
        << u"学历"_s << u"数额段"_s << u"t"_s << QString() << true;
}

void TestPsnStatItems::crossChecks()
{
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(bool, saved);

    addStatRow(u"数额段"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 1);
    addStatRow(u"学历"_s, 1, u"QZ_PSNEDU"_s, u"F30"_s, 2);
    addStatRow(u"职称"_s, 1, u"qz_psnjob"_s, u"F31"_s, 3);
    CDlgPsnStatAnalyzeItem2D dialog(u"新建统计项"_s, 0, QString(), -1, -1);
    dialog.show();
    dialog.horizontalCombo()->setCurrentIndex(dialog.horizontalCombo()->findText(horizontal));
    dialog.verticalCombo()->setCurrentIndex(dialog.verticalCombo()->findText(vertical));
    dialog.titleEdit()->setText(title);
    MessageCatcher catcher;
    dialog.accept();
    QCOMPARE(catcher.texts.join(u'|'), message);
    QCOMPARE(dialog.result() == QDialog::Accepted, saved);
    QCOMPARE(dialog.isVisible(), !saved);
    QCOMPARE(statCount(), saved ? 4 : 3);
}

QTEST_MAIN(TestPsnStatItems)
#include "tst_psnstatitems.moc"
