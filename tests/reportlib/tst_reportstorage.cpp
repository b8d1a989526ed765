// Report rows in qz_Report and the module state the four operations write, on both backends.
#include "core/db/cadodatabase.h"
#include "platform/reportengine/layoutxml.h"
#include "reportlib/creport.h"
#include "reportlib/modmain.h"
#include "reportlib/reportpreview.h"
#include "reportlib/reportstorage.h"
#include "tests/platform/reportengine/reportfixture.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::report;
using ferrolyn::modMain;

namespace {

// The designer's part in CreateReport and OpenReport: saves as often as asked; the viewer's:
// counts how often it was shown.
class StandInForms final : public ferrolyn::ReportForms
{
public:
    int saves = 0;
    int viewerShown = 0;
    ReportLayout layout;
    void showViewer(ferrolyn::ReportPreview &) override { ++viewerShown; }
    void runDesigner(bool) override
    {
        for (int i = 0; i < saves; ++i)
            ferrolyn::SaveReportLayout(layout);
    }
};

struct Message
{
    ferrolyn::MessageIcon icon;
    QString title;
    QString text;
};

} // namespace

class TestReportStorage : public QObject
{
    Q_OBJECT

private:
    TestDatabase m_fixture;
    CADODatabase m_db;
    QString m_cn;
    StandInForms m_forms;
    QVector<Message> m_messages;

    int insertReport(const QString &name, const QByteArray &data, const QString &epara = {},
                     int parent = 0, int type = 0)
    {
        const auto r = m_db.run(u"INSERT INTO qz_Report (ParentID, Type, Name, Data, EPara) "
                                u"VALUES (?, ?, ?, ?, ?) RETURNING ID"_s,
                                { parent, type, name, data, epara });
        return r.hasRow() ? r.scalar().toInt() : -1;
    }
    int insertReport(const QString &name, const ReportLayout &layout, const QString &epara = {})
    {
        return insertReport(name, LayoutXml::write(layout), epara);
    }
    ReportLayout listLayout() const
    {
        return reportfixture::listLayout(u"old"_s, u"SELECT Name FROM P ORDER BY ID"_s);
    }
    int rowCount(const QString &where, const QVariantList &values = {})
    {
        return m_db.run(u"SELECT COUNT(*) FROM qz_Report WHERE "_s + where, values)
            .scalar()
            .toInt();
    }
    // A known state before each case: as if a report 77 had been opened for export.
    void presetState()
    {
        auto &m = modMain();
        m.gReportID = 77;
        m.gReportExists = 1;
        m.gReadOnly = true;
        m.gConnectionString = m_cn;
        m.gRecordSourceSQL = u"SELECT 1"_s;
        m.gHasRecordSource = true;
        m.gReportName = u"旧"_s;
        m.gReportType = 5;
        m.gDeny2Print = false;
        m.gPreviewOnly = false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        VANTREL_OPEN_TEST_DB(m_fixture, m_db, true);
        m_cn = m_fixture.connectionString();
        QVERIFY(m_db.Execute(u"CREATE TABLE P (ID INTEGER, Name VARCHAR(20))"_s));
        QVERIFY(m_db.Execute(u"INSERT INTO P (ID, Name) VALUES (1, 'R1'), (2, 'R2')"_s));
        ferrolyn::setReportForms(&m_forms);
        ferrolyn::setMessagePresenter(
            [this](ferrolyn::MessageIcon icon, const QString &title, const QString &text) {
                m_messages.append({ icon, title, text });
            });
    }
    void init()
    {
        m_messages.clear();
        m_forms = StandInForms();
        modMain().gLoadExportSettings = false;
        modMain().settings = ferrolyn::ExportSettings();
        presetState();
        QVERIFY(m_db.Execute(u"DELETE FROM qz_Report"_s));
    }

    void loadReportLayout()
    {
        const int id = insertReport(u"工资表"_s, listLayout(), u"4|0|10"_s);
        const int broken = insertReport(u"坏"_s, QByteArray("not a layout"));
        auto &m = modMain();

        ReportLayout layout;
        m.gReportID = 999999;
        QVERIFY(!ferrolyn::LoadReportLayout(layout));
        QCOMPARE(m.gReportName, u"旧"_s);
        QVERIFY(m_messages.isEmpty());

        m.gReportID = broken;
        QVERIFY(!ferrolyn::LoadReportLayout(layout));
        QCOMPARE(m.gReportName, u"旧"_s);

        // Settings set through CReport stay while gLoadExportSettings is off.
        m.gReportID = id;
        m.settings.ExcelVersion = 9;
        QVERIFY(ferrolyn::LoadReportLayout(layout));
        QCOMPARE(m.gReportName, u"工资表"_s);
        QCOMPARE(layout.dataControl()->props.value(u"Source"_s),
                 u"SELECT Name FROM P ORDER BY ID"_s);
        QCOMPARE(ferrolyn::BuildExportSettings(), u"9|-1|28|-1|0|850|113|0|-1|-1"_s);

        m.gLoadExportSettings = true;
        QVERIFY(ferrolyn::LoadReportLayout(layout));
        QCOMPARE(ferrolyn::BuildExportSettings(), u"4|0|10|-1|0|850|113|0|-1|-1"_s);
    }

    void saveNewThenUpdate()
    {
        auto &m = modMain();
        m.gReportExists = 0;
        m.gReadOnly = false;
        m.gReportID = 0;
        m.gReportType = 2;
        m.gReportName = u"导出'模板"_s;
        m.settings.ExcelMultiSheet = -1;
        ReportLayout layout = listLayout();
        QVERIFY(ferrolyn::SaveReportLayout(layout));
        const int id = m.gReportID;
        QVERIFY(id > 0);
        QCOMPARE(m.gReportExists, quint8(1));
        auto row
            = m_db.run(u"SELECT ParentID, Type, Name, EPara FROM qz_Report WHERE ID=?"_s, { id });
        QCOMPARE(row.rows.value(0, 0).toInt(), 0);
        QCOMPARE(row.rows.value(0, 1).toInt(), 2);
        QCOMPARE(row.rows.text(0, 2), u"导出'模板"_s);
        QCOMPARE(row.rows.text(0, 3), u"8|-1|28|-1|0|850|113|-1|-1|-1"_s);

        // The second save updates Data and EPara only.
        QVERIFY(m_db.Execute(u"UPDATE qz_Report SET Name='改名' WHERE ID=?"_s, { id }));
        layout.name = u"第二版"_s;
        m.settings.ExcelVersion = 4;
        QVERIFY(ferrolyn::SaveReportLayout(layout));
        QCOMPARE(m.gReportID, id);
        QCOMPARE(rowCount(u"1=1"_s), 1);
        row = m_db.run(u"SELECT Name, EPara, Data FROM qz_Report WHERE ID=?"_s, { id });
        QCOMPARE(row.rows.text(0, 0), u"改名"_s);
        QCOMPARE(row.rows.text(0, 1), u"4|-1|28|-1|0|850|113|-1|-1|-1"_s);
        QCOMPARE(LayoutXml::read(row.rows.value(0, 2).toByteArray())->name, u"第二版"_s);
    }

    void saveRefusedOrFailing()
    {
        auto &m = modMain();
        m.gReadOnly = true;
        m.gReportExists = 0;
        QVERIFY(!ferrolyn::SaveReportLayout(listLayout()));
        QCOMPARE(rowCount(u"1=1"_s), 0);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, u"此报表只读！"_s);
        QCOMPARE(int(m_messages[0].icon), int(ferrolyn::MessageIcon::Information));

        // A row that is gone: the error is shown, the state stays.
        m.gReadOnly = false;
        m.gReportExists = 1;
        m.gReportID = 424242;
        QVERIFY(!ferrolyn::SaveReportLayout(listLayout()));
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages[1].title, u"保存时出错"_s);
        QCOMPARE(m.gReportID, 424242);
        QCOMPARE(m.gReportExists, quint8(1));

        // A database that does not answer: nothing half-written, the state stays.
        m.gReportExists = 0;
        m.gReportID = 0;
        m.gConnectionString = u"Provider=QSQLITE;Data Source=/nonexistent/dir/x.db"_s;
        QVERIFY(!ferrolyn::SaveReportLayout(listLayout()));
        QCOMPARE(m.gReportExists, quint8(0));
        QCOMPARE(m.gReportID, 0);
    }

    void subreportRows()
    {
        auto &m = modMain();
        const int main = insertReport(u"主"_s, listLayout());
        const int lookalike = insertReport(u"O'Brien"_s, listLayout()); // a main report
        m.gReportID = main;
        m.gReportExists = 1;
        ReportLayout sub = reportfixture::listLayout(m_cn, u"SELECT Name FROM P WHERE ID=2"_s);
        QVERIFY(ferrolyn::SaveSubReportRecord(sub, u"O'Brien"_s));
        QVERIFY(ferrolyn::SaveSubReportRecord(sub, u"O'Brien"_s));
        QCOMPARE(rowCount(u"ParentID=? AND Type=-1"_s, { main }), 1);
        auto row = m_db.run(u"SELECT RsSQL, Data FROM qz_Report WHERE ParentID=?"_s, { main });
        QCOMPARE(row.rows.text(0, 0), u"SELECT Name FROM P WHERE ID=2"_s);
        const auto stored = LayoutXml::read(row.rows.value(0, 1).toByteArray());
        QVERIFY(stored);
        QCOMPARE(stored->dataControl()->props.value(u"ConnectionString"_s), QString());
        QCOMPARE(stored->dataControl()->props.value(u"Source"_s),
                 u"SELECT Name FROM P WHERE ID=2"_s);

        // Loading gives it the caller's connection and the stored SQL.
        const auto loaded = ferrolyn::LoadSubReportRecord(u"O'Brien"_s);
        QVERIFY(loaded);
        QCOMPARE(loaded->dataControl()->props.value(u"ConnectionString"_s), m_cn);

        // Without a data control: an empty RsSQL.
        ReportLayout plain = sub;
        plain.sections[1].controls.removeFirst();
        QVERIFY(!plain.dataControl());
        QVERIFY(ferrolyn::SaveSubReportRecord(plain, u"无数据"_s));
        QCOMPARE(m_db.run(u"SELECT RsSQL FROM qz_Report WHERE Name='无数据'"_s).rows.text(0, 0),
                 QString());

        QVERIFY(ferrolyn::RenameSubReportRecord(u"O'Brien"_s, u"D'Arcy"_s));
        QCOMPARE(rowCount(u"ParentID=? AND Name=?"_s, { main, u"D'Arcy"_s }), 1);

        // With gReportID 0 a main report of the same name survives.
        m.gReportID = 0;
        QVERIFY(m_db.Execute(u"UPDATE qz_Report SET Name='D''Arcy' WHERE ID=?"_s, { lookalike }));
        QVERIFY(ferrolyn::DeleteSubReportRecord(u"D'Arcy"_s));
        QVERIFY(ferrolyn::RenameSubReportRecord(u"D'Arcy"_s, u"x"_s));
        QCOMPARE(rowCount(u"ID=? AND Name=?"_s, { lookalike, u"D'Arcy"_s }), 1);

        m.gReportID = main;
        QVERIFY(ferrolyn::DeleteSubReportRecord(u"D'Arcy"_s));
        QCOMPARE(rowCount(u"ParentID=? AND Name=?"_s, { main, u"D'Arcy"_s }), 0);
        QCOMPARE(rowCount(u"ID=?"_s, { lookalike }), 1);
    }

    // What each operation writes into the module state.
    void operationState_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("reportId");
        QTest::addColumn<int>("exists");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("hasSource");
        QTest::addColumn<bool>("loadsSettings");
        // -2 stands for the stored report's ID; the state before is report 77, exists, read-only,
        // with SQL.
        QTest::newRow("OpenReport")
            << u"open"_s << u"SELECT Name FROM P"_s << 0 << -2 << 1 << false << true << false;
        QTest::newRow("OpenReport, blank SQL is none")
            << u"open"_s << u"   "_s << 0 << -2 << 1 << false << false << false;
        QTest::newRow("OpenReport in design mode")
            << u"design"_s << QString() << 0 << -2 << 1 << false << false << false;
        QTest::newRow("CreateReport keeps gHasRecordSource")
            << u"create"_s << QString() << 0 << 0 << 0 << false << true << false;
        QTest::newRow("PrintReport under Deny2Print")
            << u"print"_s << u"SELECT Name FROM P"_s << 2 << -2 << 1 << true << true << false;
        QTest::newRow("ExportReport under Deny2Print")
            << u"export 0"_s << QString() << 2 << -2 << 1 << true << false << true;
        QTest::newRow("ExportReport type 3 changes nothing")
            << u"export 3"_s << QString() << 1 << 77 << 1 << true << true << false;
        QTest::newRow("ExportReport type -1 changes nothing")
            << u"export -1"_s << QString() << 1 << 77 << 1 << true << true << false;
    }
    void operationState()
    {
        QFETCH(QString, operation);
        QFETCH(QString, sql);
        QFETCH(int, outcome);
        QFETCH(int, reportId);
        QFETCH(int, exists);
        QFETCH(bool, readOnly);
        QFETCH(bool, hasSource);
        QFETCH(bool, loadsSettings);
        const int id = insertReport(u"名单"_s, listLayout());
        auto &m = modMain();
        ferrolyn::CReport report;
        report.setDeny2Print(true);
        int result = -99;
        if (operation == u"open"_s)
            result = report.OpenReport(m_cn, sql, id, false, false);
        else if (operation == u"design"_s)
            result = report.OpenReport(m_cn, sql, id, false, true);
        else if (operation == u"create"_s)
            result = report.CreateReport(m_cn, sql, 1, u"新"_s);
        else if (operation == u"print"_s)
            result = report.PrintReport(m_cn, sql, id, false);
        else
            result = report.ExportReport(m_cn, sql, id, qint16(operation.mid(7).toInt()),
                                         QDir::temp().filePath(u"never.pdf"_s));
        QCOMPARE(result, outcome);
        QCOMPARE(m.gReportID, reportId == -2 ? id : reportId);
        QCOMPARE(int(m.gReportExists), exists);
        QCOMPARE(m.gReadOnly, readOnly);
        QCOMPARE(m.gHasRecordSource, hasSource);
        QCOMPARE(m.gLoadExportSettings, loadsSettings);
        QCOMPARE(m.gConnectionString, m_cn);
        if (operation.startsWith(u"export "_s) && outcome == 1)
            QCOMPARE(m.gRecordSourceSQL, u"SELECT 1"_s);
        // The viewer's open without caller SQL keeps the layout's SQL for the aggregates.
        if (operation == u"open"_s && !hasSource)
            QCOMPARE(m.gRecordSourceSQL, u"SELECT Name FROM P ORDER BY ID"_s);
        QVERIFY(!QFile::exists(QDir::temp().filePath(u"never.pdf"_s)));
        m.gDeny2Print = false;
    }

    void createReportReturnsFirstSavedId_data()
    {
        QTest::addColumn<int>("saves");
        QTest::newRow("closed without a save") << 0;
        QTest::newRow("one save") << 1;
        QTest::newRow("two saves: the first row's ID") << 2;
    }
    void createReportReturnsFirstSavedId()
    {
        QFETCH(int, saves);
        const int other = insertReport(u"别的"_s, listLayout());
        ferrolyn::CReport report;
        QCOMPARE(report.OpenReport(m_cn, {}, other, true, false), 0);
        QCOMPARE(m_forms.viewerShown, 1);
        m_forms.saves = saves;
        m_forms.layout = listLayout();
        const int id = report.CreateReport(m_cn, u"SELECT Name FROM P"_s, 0, u"新模板"_s);
        QCOMPARE(rowCount(u"Name='新模板'"_s), saves > 0 ? 1 : 0);
        if (saves == 0)
            QCOMPARE(id, 0);
        else
            QCOMPARE(id,
                     m_db.run(u"SELECT ID FROM qz_Report WHERE Name='新模板'"_s).scalar().toInt());
    }

    void exportSettingsAcrossInstances()
    {
        auto &m = modMain();
        ferrolyn::CReport first;
        first.settings().ExcelBorderSpace = 5;
        first.settings().PdfJPGQuality = 10;
        ferrolyn::CReport second;
        QCOMPARE(m.settings, ferrolyn::ExportSettings());

        // Once an ExportReport ran, later opens take the stored Excel settings too.
        const int id = insertReport(u"名单"_s, listLayout(), u"4|0"_s);
        QVERIFY(second.OpenReport(m_cn, {}, id, true, false) == 0);
        QCOMPARE(m.settings.ExcelVersion, qint16(8));
        second.setDeny2Print(true);
        QCOMPARE(second.ExportReport(m_cn, {}, id, 1, QDir::temp().filePath(u"x.xlsx"_s)), 2);
        second.setDeny2Print(false);
        ferrolyn::CReport third;
        QCOMPARE(m.settings.ExcelVersion, qint16(8));
        QCOMPARE(third.OpenReport(m_cn, {}, id, true, false), 0);
        QCOMPARE(m.settings.ExcelVersion, qint16(4));
        QCOMPARE(m.settings.ExcelAutoRowHeight, qint16(0));
        QVERIFY(m.gLoadExportSettings);
    }

    void missingReport()
    {
        ferrolyn::CReport report;
        const QString file = QDir::temp().filePath(u"missing-report.pdf"_s);
        QCOMPARE(report.ExportReport(m_cn, {}, 31337, 0, file), 3);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(report.OpenReport(m_cn, {}, 31337, true, false), 3);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].title, u"打开报表出错！"_s);
        QVERIFY(m_messages[0].text.startsWith(
            u"打开报表时出错.请检查:数据源或报表脚本是否有误！\r\n\r\n"_s));
    }
};

QTEST_MAIN(TestReportStorage)
#include "tst_reportstorage.moc"
