#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "modalanswers.h"
#include "pdftext.h"
#include "personnel/relatarc.h"
#include "personnel/ui/cdlgdynctlformforrelatarc.h"
#include "personnel/ui/crelatinfopane.h"
#include "psnfixture.h"
#include "relatfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cmymfctabctrl.h"
#include "ui/dialogs/cdlgresetorder.h"

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// The texts of one column of a grid, top to bottom.
QString gridColumn(const CBCGPADOGridCtrl *grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->GetRowCount(); ++row)
        texts << grid->model()->index(row, column).data().toString();
    return texts.join(u',');
}

QString schools(int pid)
{
    const vantrel::db::QueryResult result
        = theDatabase.run(u"SELECT F1 FROM qz_Rel1 WHERE PID = ? ORDER BY Ord, ID"_s, { pid });
    QStringList names;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        names << result.rows.value(row, 0).toString();
    return names.join(u',');
}

// Fills the first field of the next related form, saves and closes it; the caption seen.
void answerForm(const QString &school, QString *caption)
{
    answerNextModal<CDlgDynCtlFormForRelatArc>([school, caption](CDlgDynCtlFormForRelatArc *form) {
        *caption = form->windowTitle();
        SetFieldContent(form->items().first().pCtrl, school);
        form->saveButton()->click();
        form->done(QDialog::Accepted);
    });
}

} // namespace

// The related-archive pane driven through its tabs, grids and commands, on both backends.
class TestRelatInfoPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void tabsAndGrid();
    void addAndModifyThroughTheForm();
    void deleteAsksAndReportsFailure();
    void reorder();
    void wageHistory();
    void commandsPerTab_data();
    void commandsPerTab();
    void exportAndPrint_data();
    void exportAndPrint();
    void widthsStoredByCaption();
    void tabCycles();
    void personDeletedMeanwhile();
    void restrictedWageSets();

private:
    TestDatabase *m_fixture = nullptr;
    int m_wageSets[2] = { 0, 0 };
    QTemporaryDir m_dir;
};

void TestRelatInfoPane::initTestCase()
{
    QVERIFY(useTestProfile());
    registerRelatProcedures();
}

void TestRelatInfoPane::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    QString error;
    QVERIFY2(fillRelatFixture(theDatabase, &error, m_wageSets), qPrintable(error));
    theApp.m_strConnection = m_fixture->connectionString();
    theApp.RecentDays = 60;
    loginAs(u"admin"_s);
}

void TestRelatInfoPane::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestRelatInfoPane::tabsAndGrid()
{
    CRelatInfoPane pane;
    pane.resize(600, 300);
    pane.show();
    QStringList tabs;
    for (int i = 0; i < pane.tabCtrl()->count(); ++i)
        tabs << pane.tabCtrl()->tabText(i);
    QCOMPARE(tabs, QStringList({ u"学历"_s, u"家庭成员"_s, u"薪资情况"_s }));
    QCOMPARE(pane.relatGrid()->GetRowCount(), 0);

    pane.SetCurrentPerson(fixturePerson(1));
    CBCGPADOGridCtrl *grid = pane.relatGrid();
    QCOMPARE(gridColumn(grid, 1), u"北大,清华"_s);
    QVERIFY(grid->isColumnHidden(0));
    QVERIFY(grid->isColumnHidden(4));
    QCOMPARE(grid->columnWidth(1), 90);
    QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), u"说明\"注\""_s);
    // Dates as dates, without a time.
    const QString graduated = grid->model()->index(0, 2).data().toString();
    QVERIFY2(graduated.contains(u"2001"_s) && !graduated.contains(u':'), qPrintable(graduated));
    QCOMPARE(grid->GetCurSel(), 0);

    pane.tabCtrl()->setCurrentIndex(1);
    QCOMPARE(grid->GetRowCount(), 0);
    QVERIFY(grid->isVisible());
    pane.SetCurrentPerson(fixturePerson(2));
    pane.tabCtrl()->setCurrentIndex(0);
    QCOMPARE(grid->GetRowCount(), 0);

    // Without shown related tables only the wage tab stays.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Table SET bShow = 0 WHERE nType = 5"_s));
    pane.LoadTabs();
    QCOMPARE(pane.tabCtrl()->count(), 1);
    QCOMPARE(pane.tabCtrl()->tabText(0), u"薪资情况"_s);
    QVERIFY(pane.IsWageTab());
}

void TestRelatInfoPane::addAndModifyThroughTheForm()
{
    CRelatInfoPane pane;
    pane.show();
    pane.SetCurrentPerson(fixturePerson(1));
    QString caption;
    answerForm(u"O'Hara \"学院\""_s, &caption);
    pane.action(CRelatInfoPane::IdAdd)->trigger();
    QCOMPARE(caption, u"学历 - 添加"_s);
    QCOMPARE(schools(1), u"北大,清华,O'Hara \"学院\""_s);
    CBCGPADOGridCtrl *grid = pane.relatGrid();
    QCOMPARE(gridColumn(grid, 1), u"北大,清华,O'Hara \"学院\""_s);
    QCOMPARE(grid->GetCurSel(), 2);

    // A double-click modifies the row it was on.
    grid->SetCurSel(0, 1);
    answerForm(u"北京大学"_s, &caption);
    Q_EMIT grid->gridDblClk(grid->ItemInfo(grid->model()->index(0, 1)));
    QCOMPARE(caption, u"学历设置"_s);
    QCOMPARE(schools(1), u"北京大学,清华,O'Hara \"学院\""_s);
    QCOMPARE(grid->model()->index(0, 1).data().toString(), u"北京大学"_s);
    QCOMPARE(logLines(),
             QStringList({ u"人员档案[\"张一(A001)\"->相关资料'学历'新增]"_s,
                           u"人员档案[\"张一(A001)\"->相关资料'学历'修改]"_s }));
}

void TestRelatInfoPane::deleteAsksAndReportsFailure()
{
    CRelatInfoPane pane;
    pane.SetCurrentPerson(fixturePerson(1));
    pane.relatGrid()->SetCurSel(1, 1);
    {
        MessageCatcher no(QMessageBox::No);
        pane.OnDelete();
        QCOMPARE(no.texts, QStringList { u"确定要删除该记录吗?"_s });
    }
    QCOMPARE(schools(1), u"北大,清华"_s);
    {
        MessageCatcher yes(QMessageBox::Yes);
        pane.OnDelete();
    }
    QCOMPARE(schools(1), u"北大"_s);
    QCOMPARE(gridColumn(pane.relatGrid(), 1), u"北大"_s);
    QCOMPARE(logLines(), QStringList { u"人员档案[\"张一(A001)\"->相关资料'学历'删除记录]"_s });

    // Another operator deleted the row meanwhile: reported, not logged.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_Rel1"_s));
    MessageCatcher yes(QMessageBox::Yes);
    pane.OnDelete();
    QCOMPARE(yes.texts.size(), 2);
    QVERIFY(yes.texts.at(1).startsWith(u"删除记录出错!"_s));
    QCOMPARE(logLines().size(), 1);
}

void TestRelatInfoPane::reorder()
{
    CRelatInfoPane pane;
    pane.SetCurrentPerson(fixturePerson(1));
    answerNextModal<CDlgResetOrder>([](CDlgResetOrder *dialog) {
        dialog->GetGrid()->SetCurSel(1, 1);
        dialog->MoveToTop();
        dialog->Refresh();
        dialog->accept();
    });
    pane.OnReorder();
    QCOMPARE(schools(1), u"清华,北大"_s);
    QCOMPARE(gridColumn(pane.relatGrid(), 1), u"清华,北大"_s);
    const vantrel::db::QueryResult ords
        = theDatabase.run(u"SELECT Ord FROM qz_Rel1 WHERE PID = 1 ORDER BY Ord"_s);
    QCOMPARE(ords.rows.value(0, 0).toInt(), 1);
    QCOMPARE(ords.rows.value(1, 0).toInt(), 2);
    QCOMPARE(logLines(), QStringList { u"人员档案[\"张一(A001)\"->相关资料'学历'调整顺序]"_s });
}

void TestRelatInfoPane::wageHistory()
{
    CRelatInfoPane pane;
    pane.show();
    pane.SetCurrentPerson(fixturePerson(1));
    pane.tabCtrl()->setCurrentIndex(pane.tabCtrl()->count() - 1);
    QCOMPARE(pane.wageTabBar()->count(), 2);
    QCOMPARE(pane.wageTabBar()->tabData(0).toInt(), m_wageSets[0]);
    CBCGPADOGridCtrl *grid = pane.wageGrid();
    QCOMPARE(gridColumn(grid, 1), u"202403,202402,202401"_s);
    QVERIFY(grid->isColumnHidden(0));
    QCOMPARE(grid->GetFrozenColumns(), 1);
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), u"基本工资"_s);

    pane.wageTabBar()->setCurrentIndex(1);
    QCOMPARE(pane.GetCurrentWageSet(), m_wageSets[1]);
    QCOMPARE(grid->GetRowCount(), 0);
    // Another person while the wage tab shows: the same wage set for him.
    pane.SetCurrentPerson(fixturePerson(2));
    QCOMPARE(pane.GetCurrentWageSet(), m_wageSets[1]);
    QCOMPARE(grid->GetRowCount(), 0);
}

void TestRelatInfoPane::commandsPerTab_data()
{
    QTest::addColumn<bool>("wageTab");
    QTest::addColumn<QList<bool>>("enabled"); // add modify delete reorder export print
    QTest::newRow("related tab") << false << QList<bool> { true, true, true, true, true, true };
    QTest::newRow("wage tab") << true << QList<bool> { false, false, false, false, true, true };
}

void TestRelatInfoPane::commandsPerTab()
{
    QFETCH(bool, wageTab);
    QFETCH(QList<bool>, enabled);
    CRelatInfoPane pane;
    pane.show();
    pane.SetCurrentPerson(fixturePerson(1));
    if (wageTab)
        pane.tabCtrl()->setCurrentIndex(pane.tabCtrl()->count() - 1);
    const int ids[]
        = { CRelatInfoPane::IdAdd,     CRelatInfoPane::IdModify, CRelatInfoPane::IdDelete,
            CRelatInfoPane::IdReorder, CRelatInfoPane::IdExport, CRelatInfoPane::IdPrint };
    for (int i = 0; i < 6; ++i)
        QCOMPARE(pane.action(ids[i])->isEnabled(), enabled.at(i));
    CPersonBase none;
    pane.SetCurrentPerson(none);
    for (const int id : ids)
        QVERIFY(!pane.action(id)->isEnabled());
}

void TestRelatInfoPane::exportAndPrint_data()
{
    QTest::addColumn<bool>("wageTab");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("value");
    QTest::newRow("related") << false << u"学历"_s << u"清华"_s;
    QTest::newRow("wage") << true << u"工资"_s << u"202403"_s;
}

void TestRelatInfoPane::exportAndPrint()
{
    QFETCH(bool, wageTab);
    QFETCH(QString, title);
    QFETCH(QString, value);
    CRelatInfoPane pane;
    pane.show();
    pane.SetCurrentPerson(fixturePerson(1));
    if (wageTab)
        pane.tabCtrl()->setCurrentIndex(pane.tabCtrl()->count() - 1);

    const QString workbook = m_dir.filePath(u"导出 %1.xlsx"_s.arg(title));
    answerNextModal<QFileDialog>([workbook](QFileDialog *dialog) {
        dialog->selectFile(workbook);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    pane.OnExport();
    QFile file(workbook);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("PK"));

    const QString pdf = m_dir.filePath(u"print %1.pdf"_s.arg(title));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(pane.PrintShownGrid(printer));
    const QString printed = PdfText(pdf, {});
    QVERIFY2(printed.contains(u"张一(A001)-'%1'"_s.arg(title)), qPrintable(printed));
    QVERIFY2(printed.contains(value), qPrintable(printed));

    QCOMPARE(logLines(),
             QStringList({ u"人员档案[相关资料数据导出:张一(A001)-'%1']"_s.arg(title),
                           u"人员档案[相关资料打印:张一(A001)-'%1']"_s.arg(title) }));
}

void TestRelatInfoPane::widthsStoredByCaption()
{
    CRelatInfoPane pane;
    pane.show();
    pane.SetCurrentPerson(fixturePerson(1));
    const auto width = [](const QString &alias) {
        return theDatabase
            .run(u"SELECT iWid FROM qz_Items WHERE TblName = 'QZ_REL1' AND Alias = ?"_s, { alias })
            .scalar()
            .toInt();
    };
    Q_EMIT pane.tabCtrl()->columnResized(3, 0, 140);
    QCOMPARE(width(u"说明\"注\""_s), 140);
    pane.tabCtrl()->setCurrentIndex(pane.tabCtrl()->count() - 1);
    Q_EMIT pane.tabCtrl()->columnResized(1, 90, 200);
    QCOMPARE(width(u"学校"_s), 90);
}

void TestRelatInfoPane::tabCycles()
{
    CRelatInfoPane pane;
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.SetCurrentPerson(fixturePerson(1));
    for (const int expected : { 1, 2, 0 }) {
        QTest::keyClick(pane.MainControl(), Qt::Key_Tab);
        QCOMPARE(pane.tabCtrl()->currentIndex(), expected);
    }
}

void TestRelatInfoPane::personDeletedMeanwhile()
{
    CRelatInfoPane pane;
    pane.SetCurrentPerson(fixturePerson(1));
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID = 1"_s));
    MessageCatcher messages;
    pane.OnAdd();
    QCOMPARE(messages.texts, QStringList { u"选择的人员被删除！"_s });
    QCOMPARE(schools(1), u"北大,清华"_s);
}

void TestRelatInfoPane::restrictedWageSets()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Users SET Purview = ? WHERE UserName = 'dept35'"_s,
                                { u"0|1,2|3,5|%1"_s.arg(m_wageSets[1]) }));
    loginAs(u"dept35"_s);
    CRelatInfoPane pane;
    QCOMPARE(pane.wageTabBar()->count(), 1);
    QCOMPARE(pane.wageTabBar()->tabText(0), u"奖金"_s);
    QVERIFY(theDatabase.Execute(
        u"UPDATE qz_Users SET Purview = '0|1,2|3,5|' WHERE UserName = 'dept35'"_s));
    loginAs(u"dept35"_s);
    CRelatInfoPane none;
    QCOMPARE(none.wageTabBar()->count(), 0);
    none.SetCurrentPerson(fixturePerson(6));
    none.tabCtrl()->setCurrentIndex(none.tabCtrl()->count() - 1);
    QCOMPARE(none.wageGrid()->GetRowCount(), 0);
}

QTEST_MAIN(TestRelatInfoPane)
#include "tst_relatinfopane.moc"
