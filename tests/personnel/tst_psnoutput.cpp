#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/psnoutput.h"
#include "personnel/ui/cdlgpsnprintrsselect.h"
#include "personnel/ui/cviewpsn.h"
#include "personnel/ui/personnelmodule.h"
#include "platform/workbook/workbookreader.h"
#include "psnfixture.h"
#include "psnviewopener.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/frame/cmainframe.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// What the fake report library was handed.
struct ReportCall
{
    QString connection;
    QString sql;
    int reportId = 0;
    int readOnly = -1;
    int designMode = -1;
};
QList<ReportCall> g_reportCalls;
int g_reportResult = 0;

int fakeOpenReport(const char16_t *connection, const char16_t *sql, int reportId, int readOnly,
                   int designMode, const char16_t *)
{
    g_reportCalls.append({ QString::fromUtf16(connection), QString::fromUtf16(sql), reportId,
                           readOnly, designMode });
    return g_reportResult;
}

class FakeMailBatch : public IPsnMailBatch
{
public:
    bool RunMailBatch(QWidget *, const PsnMailRequest &request, CScriptHostProxy *host) override
    {
        requests.append(request);
        hadHost = host != nullptr;
        return sends;
    }
    bool sends = true;
    bool hadHost = false;
    QList<PsnMailRequest> requests;
};

void chooseRecords(int choice)
{
    answerNextModal<CDlgPsnPrintRSSelect>([choice](CDlgPsnPrintRSSelect *dialog) {
        dialog->SetChoice(choice);
        dialog->accept();
    });
}

} // namespace

class TestPsnOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void print_data();
    void print();
    void printWithoutLibrary();
    void printDeletedPerson();
    void mail_data();
    void mail();
    void mailWithoutMailboxes();
    void missingModules();
    void exportKeepsRights();

private:
    CViewPsn *openView(const QString &user = u"admin"_s);

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
    QTemporaryDir m_dir;
};

void TestPsnOutput::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestPsnOutput::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_WageAnnounce (SID, Name, Subject, Content, Active) VALUES"
        " (0, '通知', '主题', '<p>正文</p>', 1)"_s));
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_BatchMailSet"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_BatchMailSet (dt, dbfield) VALUES (0, 'F13')"_s));
    theApp.m_strConnection = m_fixture->connectionString();
    theApp.OpenReport = &fakeOpenReport;
    g_reportCalls.clear();
    g_reportResult = 0;
}

void TestPsnOutput::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    RegisterPsnMailBatch(nullptr);
    theApp.OpenReport = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CViewPsn *TestPsnOutput::openView(const QString &user)
{
    loginAs(user);
    return OpenPsnView(m_pMain);
}

void TestPsnOutput::print_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("log");
    QTest::newRow("current person") << 0 << 0 << u" WHERE qz_PsnBase.PID=2"_s
                                    << u"人员档案[报表打印'花名册|(条件： qz_PsnBase.PID=2)']"_s;
    QTest::newRow("whole list") << 1 << 0 << QString() << u"人员档案[报表打印'花名册|()']"_s;
    QTest::newRow("report failed") << 1 << 3 << QString() << QString();
}

void TestPsnOutput::print()
{
    QFETCH(int, choice);
    QFETCH(int, result);
    QFETCH(QString, condition);
    QFETCH(QString, log);
    CViewPsn *view = openView();
    QVERIFY(view);
    view->GetGridCtrl()->SetCurSel(1);
    g_reportResult = result;
    const int logged = int(logLines().size());
    chooseRecords(choice);
    view->PrintReport(42, u"花名册"_s);
    QCOMPARE(g_reportCalls.size(), 1);
    const ReportCall &call = g_reportCalls.first();
    QCOMPARE(call.connection, m_fixture->connectionString());
    QCOMPARE(call.reportId, 42);
    QCOMPARE(call.readOnly, 1);
    QCOMPARE(call.designMode, 0);
    // The report library gets the photo and the values written in.
    QVERIFY(call.sql.contains(u"qz_PsnAdj"_s, Qt::CaseInsensitive));
    QVERIFY(!call.sql.contains(u'?'));
    QVERIFY(call.sql.contains(condition + view->GetOrderBy()));
    const QStringList lines = logLines();
    QCOMPARE(lines.size() - logged, log.isEmpty() ? 0 : 1);
    if (!log.isEmpty())
        QCOMPARE(lines.last(), log);
    // The query runs as handed over.
    QVERIFY(theDatabase.run(call.sql).ok);
}

void TestPsnOutput::printWithoutLibrary()
{
    CViewPsn *view = openView();
    QVERIFY(view);
    theApp.OpenReport = nullptr;
    const int logged = int(logLines().size());
    MessageCatcher catcher;
    chooseRecords(1);
    view->PrintReport(42, u"花名册"_s);
    QCOMPARE(catcher.texts.size(), 1);
    QVERIFY(catcher.texts.first().startsWith(u"报表组件没有安装"_s));
    QCOMPARE(int(logLines().size()), logged);
}

void TestPsnOutput::printDeletedPerson()
{
    CViewPsn *view = openView();
    QVERIFY(view);
    view->GetGridCtrl()->SetCurSel(0);
    const int pid = view->GetGridCtrl()->GetFieldValue(0, 0).toInt();
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID=?"_s, { pid }));
    const int logged = int(logLines().size());
    MessageCatcher catcher;
    chooseRecords(0);
    view->PrintReport(42, u"花名册"_s);
    QCOMPARE(catcher.texts, QStringList { u"该记录已被其他操作员删除,请刷新数据列表!"_s });
    QVERIFY(g_reportCalls.isEmpty());
    QCOMPARE(int(logLines().size()), logged);
}

void TestPsnOutput::mail_data()
{
    QTest::addColumn<bool>("sends");
    QTest::addColumn<bool>("templateDeleted");
    QTest::newRow("sent") << true << false;
    QTest::newRow("nothing sent") << false << false;
    QTest::newRow("template deleted meanwhile") << true << true;
}

void TestPsnOutput::mail()
{
    QFETCH(bool, sends);
    QFETCH(bool, templateDeleted);
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_BatchMailSet (dt, svrname, port, auh, ssl, account, password, mailadr,"
        " username) VALUES (3, 'smtp.b', 465, 1, 1, 'b', 'pw', 'b@x', '乙'),"
        " (3, 'smtp.a', 25, 0, 0, 'a', '', 'a@x', '甲')"_s));
    if (templateDeleted)
        QVERIFY(theDatabase.Execute(u"DELETE FROM qz_WageAnnounce"_s));
    FakeMailBatch batch;
    batch.sends = sends;
    RegisterPsnMailBatch(&batch);
    CViewPsn *view = openView();
    QVERIFY(view);
    view->SetFilters(3, 0);
    view->Refresh();
    const int logged = int(logLines().size());
    view->SendMails(1, u"通知"_s);
    QCOMPARE(batch.requests.size(), 1);
    QVERIFY(batch.hadHost);
    const PsnMailRequest &request = batch.requests.first();
    QCOMPARE(request.caption, u"邮件通知"_s);
    QCOMPARE(request.subject, templateDeleted ? QString() : u"主题"_s);
    QCOMPARE(request.addressColumn, u"F13"_s);
    QCOMPARE(request.servers.size(), 2);
    QCOMPARE(request.servers[0].server, u"smtp.b"_s);
    QVERIFY(request.servers[0].ssl);
    QCOMPARE(request.servers[1].displayName, u"甲"_s);
    // Every person of the list: department 3 and below.
    QCOMPARE(theDatabase.run(request.query).rows.rowCount(), 3);
    const QStringList lines = logLines();
    QCOMPARE(lines.size() - logged, sends ? 1 : 0);
    if (sends)
        QVERIFY(lines.last().startsWith(u"人员档案['二部邮件群发'通知'(条件："_s));
}

void TestPsnOutput::mailWithoutMailboxes()
{
    FakeMailBatch batch;
    RegisterPsnMailBatch(&batch);
    CViewPsn *view = openView();
    QVERIFY(view);
    MessageCatcher catcher;
    view->SendMails(1, u"通知"_s);
    QCOMPARE(catcher.texts, QStringList { u"没有用于群发的邮箱!"_s });
    QVERIFY(batch.requests.isEmpty());
}

void TestPsnOutput::missingModules()
{
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_BatchMailSet (dt, svrname, port) VALUES (3, 'smtp.a', 25)"_s));
    CViewPsn *view = openView();
    QVERIFY(view);
    const int logged = int(logLines().size());
    MessageCatcher catcher;
    view->SendMails(1, u"通知"_s);
    QVERIFY(!view->OnPrintTemplates());
    QVERIFY(!view->OnMailTemplates());
    QCOMPARE(catcher.texts,
             QStringList({ u"邮件群发由薪资管理模块提供，该模块尚未安装。"_s,
                           u"打印模板管理由系统管理模块提供，该模块尚未安装。"_s,
                           u"邮件模板管理由薪资管理模块提供，该模块尚未安装。"_s }));
    QCOMPARE(int(logLines().size()), logged);
}

void TestPsnOutput::exportKeepsRights()
{
    // Departments 3 and 5 only, with every right.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Users SET Purview='ffffffffffffffff|1,2,|3,5,|'"
                                " WHERE UserName='dept35'"_s));
    loginAs(u"dept35"_s);
    CViewPsn *view = OpenPsnView(m_pMain);
    QVERIFY(view);
    const QString path = m_dir.filePath(u"dept35.xlsx"_s);
    view->SetNextFilePath(path);
    view->action(CViewPsn::IdExport)->trigger();
    auto reader = workbook::WorkbookReader::open(path);
    QVERIFY(reader);
    const vantrel::Result<workbook::Sheet> sheet = reader->readFirstSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->rows.size(), 3);
    QVERIFY(logLines().last().contains(u"qz_PsnBase.DID IN (3,5)"_s));

    MessageCatcher catcher;
    view->SetNextFilePath(m_dir.filePath(u"no/such/folder/x.xlsx"_s));
    view->action(CViewPsn::IdExport)->trigger();
    QCOMPARE(catcher.texts, QStringList { u"导出时出错!"_s });
}

QTEST_MAIN(TestPsnOutput)
#include "tst_psnoutput.moc"
