#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "modalanswers.h"
#include "pdftext.h"
#include "personnel/ui/cdlgpsndatapreview.h"
#include "personnel/ui/cdlgpsnstatanalyze.h"
#include "personnel/ui/cdlgpsnstatanalyzeitem.h"
#include "personnel/ui/cdlgpsnstatchartset.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "statwindowfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmychartview.h"
#include "ui/controls/cmytreectrl.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"
#include "ui/frame/modulecommands.h"
#include "ui/frame/remindercontroller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Closes every browse dialog that opens while it lives, keeping its title and row count.
class PreviewCatcher
{
public:
    PreviewCatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *preview
                = qobject_cast<CDlgPsnDataPreview *>(QApplication::activeModalWidget())) {
                titles << preview->windowTitle();
                rows << preview->grid()->model()->rowCount();
                preview->reject();
            }
        });
        m_timer.start();
    }
    QStringList titles;
    QList<int> rows;

private:
    QTimer m_timer;
};

QTreeWidgetItem *statItem(CDlgPsnStatAnalyze &window, const QString &caption)
{
    for (int flag = 1; flag <= 2; ++flag) {
        QTreeWidgetItem *group = window.treeView()->groupItem(flag);
        for (int i = 0; group && i < group->childCount(); ++i) {
            if (group->child(i)->text(0) == caption)
                return group->child(i);
        }
    }
    return nullptr;
}

// Counts every category (the list starts on the first one).
void allCategories(CDlgPsnStatAnalyze &window)
{
    QComboBox *combo = window.treeView()->sortCombo();
    combo->setCurrentIndex(combo->findData(0));
}

void select(CDlgPsnStatAnalyze &window, const QString &caption)
{
    allCategories(window);
    QTreeWidgetItem *item = statItem(window, caption);
    QVERIFY2(item, qPrintable(caption));
    window.treeView()->tree()->setCurrentItem(item);
}

qint64 cell(const QTableWidget *grid, int row, int column)
{
    return grid->item(row, column)->data(Qt::DisplayRole).toLongLong();
}

} // namespace

// The statistics window over a real database: result, chart, drill-down, commands, printing.
class TestPsnStatAnalyze : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void openerChecksRight();
    void profileAtFirstStartAndOnClose();
    void gridAndChart_data();
    void gridAndChart();
    void drillDownListsTheCountedRows_data();
    void drillDownListsTheCountedRows();
    void chartPointOpensItsCell();
    void scopeRecomputesAndGoneKeepsResult();
    void failingComputationShowsError_data();
    void failingComputationShowsError();
    void chartTypesAndSettings();
    void commands();
    void modifyWithFailingQueryOpensNothing();
    void printsToPdf();
    void keysAndPopup();

private:
    TestDatabase *m_fixture = nullptr;
    int m_amount = 0;
    int m_note = 0;
    int m_cross = 0;
};

void TestPsnStatAnalyze::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestPsnStatAnalyze::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(QStringLiteral("admin"));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F12 = PID * 10"_s));
    const QStringList notes = { u"abc "_s, u"abc"_s, QString(), u"  "_s, u"x"_s, u"x"_s, u""_s };
    for (int pid = 1; pid <= notes.size(); ++pid) {
        const QVariant note = notes.at(pid - 1).isNull() ? QVariant() : notes.at(pid - 1);
        QVERIFY(
            theDatabase.Execute(u"UPDATE qz_PsnBase SET F13 = ? WHERE PID = ?"_s, { note, pid }));
    }
    m_amount = addStatRow(u"数额段"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 1);
    QVERIFY(addRangeRow(m_amount, u"低"_s, u"0"_s, u"30"_s, 0));
    QVERIFY(addRangeRow(m_amount, u"高"_s, u"31"_s, u"100"_s, 1));
    QVERIFY(addRangeRow(m_amount, u"中"_s, u"20"_s, u"50"_s, 2)); // overlaps both
    m_note = addStatRow(u"备注"_s, 1, u"QZ_PSNBASE"_s, u"F13"_s, 2);
    m_cross = addCrossRow(u"数额×备注"_s, m_note, m_amount, 3);
    QVERIFY(m_amount > 0 && m_note > 0 && m_cross > 0);
}

void TestPsnStatAnalyze::cleanup()
{
    closeStatTestDb(m_fixture);
}

void TestPsnStatAnalyze::openerChecksRight()
{
    RegisterPsnStatOpener();
    QVERIFY(ModuleCommands::instance().hasOpener(33249));
    CMainFrame frame;
    frame.reminders().setDueTest({});
    // Every statistics window that opens is closed at once, its title kept.
    QStringList opened;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&opened] {
        if (auto *window = qobject_cast<CDlgPsnStatAnalyze *>(QApplication::activeModalWidget())) {
            opened << window->windowTitle();
            window->reject();
        }
    });
    closer.start(10);
    // Without right 14 the frame refuses and nothing opens.
    loginAs(u"viewer"_s);
    {
        MessageCatcher catcher;
        frame.commands().run(33249);
        QCOMPARE(catcher.texts, QStringList { LoadResString(106) });
    }
    QCOMPARE(opened, QStringList());
    loginAs(u"admin"_s);
    frame.commands().run(33249);
    const QString title = opened.value(0);
    QCOMPARE(title, u"人员统计分析"_s);
}

void TestPsnStatAnalyze::profileAtFirstStartAndOnClose()
{
    const QString section = u"PsnStatChart"_s;
    {
        CDlgPsnStatAnalyze window;
        QCOMPARE(window.chartType(), 8);
        QCOMPARE(window.colorTheme(), 0);
        QCOMPARE(window.fillGradientType(), 0);
        QCOMPARE(window.showDataLabels(), true);
        QCOMPARE(window.chartView()->chartType(), 8);
        QVERIFY(!Profile::contains(section, u"ChartType"_s));
    }
    // Written on close even when nothing changed.
    QCOMPARE(Profile::getInt(section, u"ChartType"_s, -1), 8);
    QCOMPARE(Profile::getInt(section, u"ColorTheme"_s, -1), 0);
    QCOMPARE(Profile::getInt(section, u"FillGradientType"_s, -1), 0);
    QCOMPARE(Profile::getInt(section, u"ShowDataLabels"_s, -1), 1);
    {
        CDlgPsnStatAnalyze window;
        window.action(CDlgPsnStatAnalyze::IdPie3D)->trigger();
        window.ApplyChartSettings(7, 5, false);
        QCOMPARE(window.chartView()->chartType(), 3);
    }
    QCOMPARE(Profile::getInt(section, u"ChartType"_s, -1), 3);
    QCOMPARE(Profile::getInt(section, u"ColorTheme"_s, -1), 7);
    QCOMPARE(Profile::getInt(section, u"FillGradientType"_s, -1), 5);
    QCOMPARE(Profile::getInt(section, u"ShowDataLabels"_s, -1), 0);
    CDlgPsnStatAnalyze window;
    QCOMPARE(window.chartType(), 3);
    QCOMPARE(window.colorTheme(), 7);
}

void TestPsnStatAnalyze::gridAndChart_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("chartType");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<int>("rows"); // without the footer
    QTest::addColumn<bool>("legend");

    const QStringList amount = { u"数额"_s, u"人数"_s };
    QTest::newRow("ranges as columns") << u"数额段"_s << 8 << amount << 3 << false;
    QTest::newRow("ranges as bars, 3D") << u"数额段"_s << 21 << amount << 3 << false;
    QTest::newRow("ranges as pie") << u"数额段"_s << 2 << amount << 3 << true;
    QTest::newRow("cross as columns") << u"数额×备注"_s << 8 << QStringList() << 3 << true;
    QTest::newRow("cross as 3D pie") << u"数额×备注"_s << 3 << QStringList() << 3 << true;
}

void TestPsnStatAnalyze::gridAndChart()
{
    QFETCH(QString, caption);
    QFETCH(int, chartType);
    QFETCH(QStringList, headers);
    QFETCH(int, rows);
    QFETCH(bool, legend);

    CDlgPsnStatAnalyze window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.OnSetChartType(chartType);
    select(window, caption);
    QCOMPARE(window.title(), caption);
    QTableWidget *grid = window.grid();
    QCOMPARE(grid->rowCount(), rows + 1);
    const int footer = rows;
    QCOMPARE(grid->item(footer, 0)->text(), u"合计:"_s);
    if (!headers.isEmpty()) {
        QStringList shown;
        for (int column = 0; column < grid->columnCount(); ++column)
            shown << grid->horizontalHeaderItem(column)->text();
        QCOMPARE(shown, headers);
        QCOMPARE(grid->item(0, 0)->text(), u"低"_s);
        // 10..70 by PID: 低 0-30 three, 高 31-100 four, 中 20-50 four (overlaps count twice).
        QCOMPARE(cell(grid, 0, 1), 3);
        QCOMPARE(cell(grid, 1, 1), 4);
        QCOMPARE(cell(grid, 2, 1), 4);
    } else {
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), u"参考项"_s);
    }
    for (int column = 1; column < grid->columnCount(); ++column) {
        qint64 sum = 0;
        for (int row = 0; row < footer; ++row)
            sum += cell(grid, row, column);
        QCOMPARE(cell(grid, footer, column), sum);
    }
    CMyChartView *chart = window.chartView();
    QCOMPARE(chart->chartType(), chartType);
    QCOMPARE(chart->seriesCount(), grid->columnCount() - 1);
    for (int series = 0; series < chart->seriesCount(); ++series)
        QCOMPARE(chart->pointCount(series), rows); // never the footer
    QCOMPARE(chart->legendVisible(), legend);

    // The root or a group clears grid and chart.
    window.treeView()->tree()->setCurrentItem(window.treeView()->groupItem(1));
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(grid->columnCount(), 0);
    QCOMPARE(chart->seriesCount(), 0);
    QCOMPARE(window.title(), QString());
}

void TestPsnStatAnalyze::drillDownListsTheCountedRows_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("ranges") << u"数额段"_s;
    QTest::newRow("values") << u"备注"_s;
    QTest::newRow("cross") << u"数额×备注"_s;
}

void TestPsnStatAnalyze::drillDownListsTheCountedRows()
{
    QFETCH(QString, caption);

    CDlgPsnStatAnalyze window;
    select(window, caption);
    QTableWidget *grid = window.grid();
    const int rows = grid->rowCount() - 1;
    const bool cross = window.statDim() == 2;
    QVERIFY(rows > 0);
    for (int row = 0; row < rows; ++row) {
        for (int column = cross ? 1 : 0; column < grid->columnCount(); ++column) {
            PreviewCatcher catcher;
            window.OnGridDblClk(row, column);
            QCOMPARE(catcher.rows.size(), 1);
            const QString label = grid->item(row, 0)->text();
            const QString expected = cross ? u"%1 - '%2 : %3'"_s.arg(
                                         caption, label, grid->horizontalHeaderItem(column)->text())
                                           : u"%1 - '%2'"_s.arg(caption, label);
            QCOMPARE(catcher.titles.first(), expected);
            QCOMPARE(catcher.rows.first(), cell(grid, row, cross ? column : 1));
        }
    }
    // The label column of a cross and the footer open nothing.
    PreviewCatcher catcher;
    if (cross)
        window.OnGridDblClk(0, 0);
    window.OnGridDblClk(rows, 1);
    QCOMPARE(catcher.titles, QStringList());
}

void TestPsnStatAnalyze::chartPointOpensItsCell()
{
    CDlgPsnStatAnalyze window;
    select(window, u"数额×备注"_s);
    ChartPointHit hit;
    hit.seriesIndex = 1;
    hit.pointIndex = 2;
    PreviewCatcher catcher;
    window.OnChartPointClick(hit);
    QTableWidget *grid = window.grid();
    QCOMPARE(catcher.titles,
             QStringList { u"数额×备注 - '中 : %1'"_s.arg(grid->horizontalHeaderItem(2)->text()) });
    QCOMPARE(catcher.rows.first(), cell(grid, 2, 2));
}

void TestPsnStatAnalyze::scopeRecomputesAndGoneKeepsResult()
{
    CDlgPsnStatAnalyze window;
    select(window, u"数额段"_s);
    QTableWidget *grid = window.grid();
    QCOMPARE(cell(grid, 3, 1), 11);
    // Category 2 (退休): PIDs 3, 5, 7 = 30, 50, 70.
    window.treeView()->sortCombo()->setCurrentIndex(1);
    QCOMPARE(cell(grid, 0, 1), 1);
    QCOMPARE(cell(grid, 1, 1), 2);
    QCOMPARE(cell(grid, 2, 1), 2);
    // Deleted by someone else meanwhile: the last result stays on screen.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_Stat WHERE TID=?"_s, { m_amount }));
    allCategories(window);
    QCOMPARE(window.title(), u"数额段"_s);
    QCOMPARE(cell(grid, 0, 1), 1);
}

void TestPsnStatAnalyze::failingComputationShowsError_data()
{
    QTest::addColumn<bool>("described"); // whether qz_Items describes the two related items
    QTest::addColumn<QString>("message");
    QTest::newRow("two related tables") << true << u"不能创建这两横纵指标统计项!"_s;
    QTest::newRow("item not described") << false << u"QZ_PSNJOB.F31"_s;
}

void TestPsnStatAnalyze::failingComputationShowsError()
{
    QFETCH(bool, described);
    QFETCH(QString, message);

    if (described) {
        for (const QString &table : { u"QZ_PSNEDU"_s, u"QZ_PSNJOB"_s }) {
            QVERIFY(theDatabase.Execute(
                u"CREATE TABLE %1 (ID INTEGER, PID INTEGER, F30 VARCHAR(20), F31 VARCHAR(20))"_s
                    .arg(table)));
        }
        QVERIFY(theDatabase.Execute(
            u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, Ord) VALUES"
            " ('QZ_PSNEDU', 'F30', '学历', 1, 1), ('QZ_PSNJOB', 'F31', '职称', 1, 1)"_s));
    }
    const int edu = addStatRow(u"学历"_s, 1, u"QZ_PSNEDU"_s, u"F30"_s, 5);
    const int job = addStatRow(u"职称"_s, 1, u"QZ_PSNJOB"_s, u"F31"_s, 6);
    addCrossRow(u"两相关表"_s, edu, job, 7);
    CDlgPsnStatAnalyze window;
    select(window, u"数额段"_s);
    QVERIFY(window.grid()->rowCount() > 0);
    MessageCatcher catcher;
    select(window, described ? u"两相关表"_s : u"职称"_s);
    QCOMPARE(catcher.texts.size(), 1);
    QVERIFY2(catcher.texts.first().contains(message), qPrintable(catcher.texts.first()));
    // No table of zeros: nothing is shown.
    QCOMPARE(window.grid()->rowCount(), 0);
    QCOMPARE(window.chartView()->seriesCount(), 0);
}

void TestPsnStatAnalyze::chartTypesAndSettings()
{
    CDlgPsnStatAnalyze window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    select(window, u"数额×备注"_s);
    const int columns = window.grid()->columnCount() - 1;
    const std::pair<int, int> commands[] = {
        { CDlgPsnStatAnalyze::IdBar2D, 8 },      { CDlgPsnStatAnalyze::IdHorzBar2D, 9 },
        { CDlgPsnStatAnalyze::IdPie2D, 2 },      { CDlgPsnStatAnalyze::IdBar3D, 20 },
        { CDlgPsnStatAnalyze::IdHorzBar3D, 21 }, { CDlgPsnStatAnalyze::IdPie3D, 3 },
    };
    for (const auto &[id, code] : commands) {
        window.action(id)->trigger();
        QCOMPARE(window.chartType(), code);
        QCOMPARE(window.chartView()->chartType(), code);
        QCOMPARE(window.chartView()->seriesCount(), columns);
        QCOMPARE(window.chartView()->pointCount(0), 3);
    }

    // The settings reach the window and its chart at once; reset puts them back.
    answerNextModal<CDlgPsnStatChartSet>([&window](CDlgPsnStatChartSet *dialog) {
        dialog->themeBox()->setCurrentIndex(4);
        Q_EMIT dialog->themeBox()->activated(4);
        dialog->labelsBox()->click();
        QCOMPARE(window.colorTheme(), 4);
        QCOMPARE(window.chartView()->colorTheme(), 4);
        QCOMPARE(window.showDataLabels(), false);
        QCOMPARE(window.chartView()->showDataLabels(), false);
        window.RotateChart(0, 10.0, 10.0, 0.1);
        QCOMPARE(window.chartView()->pieAngle(), 35.0);
        dialog->resetButton()->click();
        QCOMPARE(window.colorTheme(), 0);
        QCOMPARE(window.showDataLabels(), true);
        QCOMPARE(window.chartView()->pieAngle(), 45.0);
        dialog->themeBox()->setCurrentIndex(9);
        Q_EMIT dialog->themeBox()->activated(9);
        dialog->reject(); // closing keeps what was applied
    });
    window.action(CDlgPsnStatAnalyze::IdChartSettings)->trigger();
    QCOMPARE(window.colorTheme(), 9);
    QCOMPARE(window.chartView()->colorTheme(), 9);
}

void TestPsnStatAnalyze::commands()
{
    CDlgPsnStatAnalyze window;
    CMyTreeCtrl *tree = window.treeView()->tree();
    {
        // On the root: add asks for a group, modify for an item, delete does nothing.
        MessageCatcher catcher;
        window.OnAddStat();
        window.OnEditStat();
        window.OnDeleteStat();
        QCOMPARE(catcher.texts, QStringList({ u"请选择统计类别!"_s, u"请选择项！"_s }));
    }
    // Add a one-dimensional statistic from inside its group.
    select(window, u"备注"_s);
    answerNextModal<CDlgPsnStatAnalyzeItem>([](CDlgPsnStatAnalyzeItem *dialog) {
        QCOMPARE(dialog->windowTitle(), u"新建统计项"_s);
        dialog->fieldCombo()->setCurrentIndex(dialog->fieldCombo()->findText(u"备注"_s));
        dialog->titleEdit()->setText(u"备注2"_s);
        dialog->OnSave();
    });
    window.OnAddStat();
    QVERIFY(statItem(window, u"备注2"_s));
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0)); // reloaded

    // Modify a cross: its two statistics come chosen.
    select(window, u"数额×备注"_s);
    answerNextModal<CDlgPsnStatAnalyzeItem2D>([](CDlgPsnStatAnalyzeItem2D *dialog) {
        QCOMPARE(dialog->windowTitle(), u"修改统计项"_s);
        QCOMPARE(dialog->horizontalCombo()->currentText(), u"备注"_s);
        QCOMPARE(dialog->verticalCombo()->currentText(), u"数额段"_s);
        dialog->titleEdit()->setText(u"交叉"_s);
        dialog->accept();
    });
    window.OnEditStat();
    QVERIFY(statItem(window, u"交叉"_s));

    // A statistic that a cross uses cannot go.
    select(window, u"备注"_s);
    {
        MessageCatcher catcher(QMessageBox::Yes);
        window.OnDeleteStat();
        QCOMPARE(catcher.texts,
                 QStringList({ u"确定删除统计项 '备注' 吗?"_s,
                               u"统计项'备注'已被二维统计项'交叉'引用,不能删除!"_s }));
    }
    QVERIFY(statItem(window, u"备注"_s));
    select(window, u"交叉"_s);
    {
        MessageCatcher catcher(QMessageBox::Yes);
        window.OnDeleteStat();
    }
    QVERIFY(!statItem(window, u"交叉"_s));
    QCOMPARE(statCaptions(2), QStringList());
    QCOMPARE(logLines(),
             QStringList({ u"人员档案[人员统计分析项添加 '备注2']"_s,
                           u"人员档案[删除人员统计分析项'交叉']"_s }));
}

void TestPsnStatAnalyze::modifyWithFailingQueryOpensNothing()
{
    CDlgPsnStatAnalyze window;
    select(window, u"数额段"_s);
    QVERIFY(theDatabase.Execute(u"ALTER TABLE qz_Stat RENAME TO tst_stat_gone"_s));
    QTimer closer; // an editor that opened anyway is closed and counted
    int editors = 0;
    connect(&closer, &QTimer::timeout, [&editors] {
        if (auto *editor
            = qobject_cast<CDlgPsnStatAnalyzeItem *>(QApplication::activeModalWidget())) {
            ++editors;
            editor->reject();
        }
    });
    closer.start(10);
    MessageCatcher catcher;
    window.OnEditStat();
    QCOMPARE(catcher.texts.size(), 1);
    QVERIFY(!catcher.texts.first().isEmpty());
    QCOMPARE(editors, 0);
}

void TestPsnStatAnalyze::printsToPdf()
{
    QTemporaryDir dir;
    CDlgPsnStatAnalyze window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString gridFile = dir.filePath(u"grid.pdf"_s);
    const QString chartFile = dir.filePath(u"chart.pdf"_s);
    const auto printer = [](const QString &file) {
        auto *p = new QPrinter(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(file);
        return p;
    };
    // Nothing to print before a statistic is shown.
    std::unique_ptr<QPrinter> empty(printer(gridFile));
    QVERIFY(!window.PrintGridTo(*empty));
    QVERIFY(!QFile::exists(gridFile));

    select(window, u"数额段"_s);
    std::unique_ptr<QPrinter> gridPrinter(printer(gridFile));
    QVERIFY(window.PrintGridTo(*gridPrinter));
    gridPrinter.reset();
    const QString gridText = PdfText(gridFile).remove(u' ');
    QVERIFY2(gridText.contains(u"数额段"_s), qPrintable(gridText));
    QVERIFY2(gridText.contains(u"合计:"_s), qPrintable(gridText));

    std::unique_ptr<QPrinter> chartPrinter(printer(chartFile));
    QVERIFY(window.PrintChartTo(*chartPrinter));
    chartPrinter.reset();
    const QString chartText = PdfText(chartFile).remove(u' ');
    QVERIFY2(chartText.contains(u"数额段"_s), qPrintable(chartText));
}

void TestPsnStatAnalyze::keysAndPopup()
{
    CDlgPsnStatAnalyze window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget *tree = window.treeView()->tree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Tab);
    QCOMPARE(window.focusPane(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window.grid()));
    QTest::keyClick(window.grid(), Qt::Key_Tab);
    QCOMPARE(window.focusPane(), 0);
    QTRY_COMPARE(QApplication::focusWidget(), tree);

    // Alt opens the context menu, a second Alt closes it.
    QTest::keyClick(tree, Qt::Key_Alt);
    QVERIFY(window.openPopup());
    QTRY_VERIFY(window.popupMenu()->isVisible());
    QTest::keyClick(window.popupMenu(), Qt::Key_Alt);
    QTRY_VERIFY(!window.popupMenu()->isVisible());
    QVERIFY(!window.openPopup());

    // The right button anywhere in the window.
    QTest::mouseClick(window.grid()->viewport(), Qt::RightButton);
    QTRY_VERIFY(window.popupMenu()->isVisible());
    QStringList items;
    for (QAction *action : window.popupMenu()->actions())
        items << action->text();
    QCOMPARE(items,
             QStringList({ u"添加(&A)"_s, u"修改(&E)"_s, u"删除(&D)"_s, QString(),
                           u"图表选项(&O)"_s, u"打印(&P)"_s, QString(), u"退出(&C)"_s }));
    window.popupMenu()->close();
}

QTEST_MAIN(TestPsnStatAnalyze)
#include "tst_psnstatanalyze.moc"
