#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/ui/cdlgpsnbatchworkingage.h"
#include "personnel/ui/cdlgpsndatapreview.h"
#include "personnel/ui/cdlgpsnimport.h"
#include "personnel/ui/cviewpsn.h"
#include "personnel/ui/personnelmodule.h"
#include "platform/workbook/workbookreader.h"
#include "platform/workbook/workbookwriter.h"
#include "psnfixture.h"
#include "psnviewopener.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/widgetfillers.h"
#include "ui/dialogs/cprogressdlg.h"
#include "ui/frame/cmainframe.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Chooses the department in the picker as a user does (the tree item with that DID).
void chooseDept(CDropDownListDept *picker, int did)
{
    QTreeWidget *tree = picker->GetDropTree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, RefIdRole).toInt() == did) {
            tree->setCurrentItem(*it);
            picker->setText((*it)->text(0));
        }
    }
}

int personCount()
{
    return theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnBase"_s).scalar().toInt();
}

} // namespace

class TestPsnImportDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void matchingGrid();
    void importJourney();
    void importChecks_data();
    void importChecks();
    void previewSources();
    void seniorityChecks();
    void exportFromList();

private:
    QString personsFile(int rows);

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
    QTemporaryDir m_dir;
};

void TestPsnImportDialogs::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestPsnImportDialogs::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(u"admin"_s);
}

void TestPsnImportDialogs::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

QString TestPsnImportDialogs::personsFile(int rows)
{
    QList<QVariantList> data;
    for (int i = 1; i <= rows; ++i)
        data.append({ u"N%1"_s.arg(i), u"人%1"_s.arg(i), u"文字"_s, double(i) });
    const QString path = m_dir.filePath(u"p%1.xlsx"_s.arg(rows));
    writeTestWorkbook(path, { u"编号"_s, u"姓名"_s, u"数额"_s, u"备注"_s }, data);
    return path;
}

void TestPsnImportDialogs::matchingGrid()
{
    const QString path = m_dir.filePath(u"titles.xlsx"_s);
    QVERIFY(writeTestWorkbook(path, { u"编号"_s, u"姓名"_s, u"备注"_s, u"入职日期"_s },
                              { { u"A9"_s, u"新人"_s, u"x"_s, QDate(2024, 5, 10) } }));
    CDlgPsnImport dialog;
    dialog.SetFilePath(path);
    LoadItemInfos(dialog.Items(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    dialog.show();
    QTableWidget *grid = dialog.grid();
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(3, CDlgPsnImport::ColValue)->text(), u"2024-05-10"_s);
    QCOMPARE(dialog.matchBox(0)->currentText(), u"编号"_s);
    QCOMPARE(dialog.matchBox(3)->currentText(), u"入职日期"_s);
    QVERIFY(dialog.previewButton()->isEnabled());

    // Choosing 编号 for a second row is refused and the row keeps its choice.
    MessageCatcher catcher;
    dialog.matchBox(2)->setCurrentIndex(dialog.matchBox(2)->findText(u"编号"_s));
    QCOMPARE(catcher.texts, QStringList { u"'编号'字段已选择了匹配项！"_s });
    QCOMPARE(dialog.matchBox(2)->currentText(), u"备注"_s);
    // The blank choice never conflicts.
    dialog.matchBox(2)->setCurrentIndex(0);
    dialog.matchBox(3)->setCurrentIndex(0);
    QCOMPARE(catcher.texts.size(), 1);

    answerNextModal<CDlgPsnDataPreview>([](CDlgPsnDataPreview *preview) {
        QCOMPARE(preview->grid()->model()->rowCount(), 1);
        QCOMPARE(preview->footerText(), u"共 1 条记录"_s);
        preview->accept();
    });
    QTest::mouseClick(dialog.previewButton(), Qt::LeftButton);
}

void TestPsnImportDialogs::importJourney()
{
    CViewPsn *view = OpenPsnView(m_pMain);
    QVERIFY(view);
    view->SetNextFilePath(personsFile(1500));
    answerNextModal<CDlgPsnImport>([](CDlgPsnImport *dialog) {
        // 数额 holds texts: left out; 备注 holds numbers: kept.
        dialog->matchBox(2)->setCurrentIndex(0);
        chooseDept(dialog->deptPicker(), 3);
        dialog->categoryCombo()->setCurrentIndex(dialog->categoryCombo()->findText(u"退休"_s));
        MessageCatcher *catcher = new MessageCatcher(QMessageBox::Yes);
        QObject::connect(dialog, &QDialog::finished, [catcher] {
            QCOMPARE(catcher->texts,
                     QStringList({ u"确定导入此人员档案吗?"_s, u"成功导入 1500 条记录！"_s }));
            delete catcher;
        });
        dialog->OnImport();
    });
    view->action(CViewPsn::IdImport)->trigger();
    QCOMPARE(personCount(), 1507);
    QCOMPARE(theDatabase.run(u"SELECT F13 FROM qz_PsnBase WHERE Number='N7'"_s).scalar().toString(),
             u"7"_s);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnBase WHERE DID=3 AND AID=2"_s)
                 .scalar()
                 .toInt(),
             1501);
    QVERIFY(logLines().contains(
        u"人员档案[数据导入：成功导入 1500 条记录！|%1]"_s.arg(m_dir.filePath(u"p1500.xlsx"_s))));
    QCOMPARE(view->GetGridCtrl()->GetRowCount(), 1507);
}

void TestPsnImportDialogs::importChecks_data()
{
    QTest::addColumn<bool>("keepTextToNumber");
    QTest::addColumn<int>("department");
    QTest::addColumn<QString>("message");
    QTest::newRow("text column to number item")
        << true << 3 << u"源数据列 '数额' 与目标列 '数额' 数据类型不匹配！"_s;
    QTest::newRow("all departments") << false << 0 << u"请选择末级部门！"_s;
}

void TestPsnImportDialogs::importChecks()
{
    QFETCH(bool, keepTextToNumber);
    QFETCH(int, department);
    QFETCH(QString, message);
    CDlgPsnImport dialog;
    dialog.SetFilePath(personsFile(3));
    LoadItemInfos(dialog.Items(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    dialog.show();
    if (!keepTextToNumber)
        dialog.matchBox(2)->setCurrentIndex(0);
    if (department > 0)
        chooseDept(dialog.deptPicker(), department);
    MessageCatcher catcher(QMessageBox::Yes);
    dialog.OnImport();
    QCOMPARE(catcher.texts, QStringList { message });
    QVERIFY(dialog.isVisible());
    QCOMPARE(personCount(), 7);
}

void TestPsnImportDialogs::previewSources()
{
    CDlgPsnDataPreview preview;
    preview.SetQuery(m_fixture->connectionString(),
                     u"SELECT Number, Name FROM qz_PsnBase WHERE DID=? ORDER BY PID"_s, { 5 });
    preview.SetCaption(u"统计明细"_s);
    preview.show();
    QCOMPARE(preview.windowTitle(), u"统计明细"_s);
    QCOMPARE(preview.grid()->model()->rowCount(), 2);
    QCOMPARE(preview.footerText(), u"共 2 条记录"_s);

    const QString path = m_dir.filePath(u"browse.xlsx"_s);
    preview.SetExportPath(path);
    preview.action(CDlgPsnDataPreview::IdExport)->trigger();
    auto reader = workbook::WorkbookReader::open(path);
    QVERIFY(reader);
    const vantrel::Result<workbook::Sheet> sheet = reader->readFirstSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->header.size(), 2);
    QCOMPARE(sheet->rows.size(), 2);
    QCOMPARE(sheet->rows[1][0].toString(), u"A006"_s);

    MessageCatcher catcher;
    preview.SetExportPath(m_dir.filePath(u"no/such/folder/x.xlsx"_s));
    preview.OnExport();
    QCOMPARE(catcher.texts, QStringList { u"导出时出错!"_s });

    CDlgPsnDataPreview empty;
    empty.SetQuery(m_fixture->connectionString(), u"SELECT Number FROM qz_PsnBase WHERE 1=0"_s);
    empty.show();
    QCOMPARE(empty.footerText(), u"共 0 条记录"_s);

    CDlgPsnDataPreview broken;
    broken.SetQuery(u"Provider=QSQLITE;Data Source=%1"_s.arg(m_dir.filePath(u"none/x.db"_s)),
                    u"SELECT 1"_s);
    broken.show();
    QCOMPARE(catcher.texts.last(), u"打开数据库出错!"_s);
}

void TestPsnImportDialogs::seniorityChecks()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=?"_s,
                                { QDateTime(QDate(2010, 5, 10), QTime(0, 0)) }));
    CDlgPsnBatchWorkingAge dialog;
    dialog.show();
    QCOMPARE(dialog.methodCombo()->count(), 4);
    QCOMPARE(dialog.dateItemCombo()->currentIndex(), -1);
    MessageCatcher catcher(QMessageBox::Yes);
    dialog.OnOK();
    QCOMPARE(catcher.texts.last(), u"请选择日期字段!"_s);
    dialog.dateItemCombo()->setCurrentIndex(dialog.dateItemCombo()->findText(u"入职日期"_s));
    dialog.OnOK();
    QCOMPARE(catcher.texts.last(), u"请选择工龄字段!"_s);
    dialog.numberItemCombo()->setCurrentIndex(dialog.numberItemCombo()->findText(u"数额"_s));
    dialog.methodCombo()->setCurrentIndex(3);
    dialog.dateEdit()->setDate(QDate(2024, 5, 10));
    dialog.OnOK();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(
        theDatabase.run(u"SELECT MIN(F12), MAX(F12) FROM qz_PsnBase"_s).rows.value(0, 1).toDouble(),
        15.0);
    QCOMPARE(logLines().last(),
             u"人员档案[批量工龄核算：2024-05-10|入职日期|按年核算(虚岁)|数额 ()]"_s);
}

void TestPsnImportDialogs::exportFromList()
{
    CViewPsn *view = OpenPsnView(m_pMain);
    QVERIFY(view);
    const QString path = m_dir.filePath(u"list.xlsx"_s);
    view->SetNextFilePath(path);
    view->action(CViewPsn::IdExport)->trigger();
    auto reader = workbook::WorkbookReader::open(path);
    QVERIFY(reader);
    const vantrel::Result<workbook::Sheet> sheet = reader->readFirstSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->rows.size(), 7);
    QVERIFY(sheet->header.contains(u"姓名"_s));
    QCOMPARE(logLines().last(), u"人员档案[数据导出'%1|()']"_s.arg(path));
}

QTEST_MAIN(TestPsnImportDialogs)
#include "tst_psnimportdialogs.moc"
