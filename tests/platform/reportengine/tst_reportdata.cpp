#include "core/db/cadodatabase.h"
#include "platform/reportengine/report.h"
#include "platform/vbscript/hostobject.h"
#include "tests/support/testdatabase.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::report;

namespace {

// Collects what the script hands it: probe.Put value.
class Probe final : public vantrel::vbscript::HostObject
{
public:
    QStringList values;
    int memberId(const QString &name) const override
    {
        return name.compare(u"Put", Qt::CaseInsensitive) == 0 ? 1 : -1;
    }
    vantrel::vbscript::Variant invoke(int, vantrel::vbscript::HostCall &call) override
    {
        values.append(call.argument(0).deref().toText().value_or(u"<no text>"_s));
        return {};
    }
};

class ErrorLog final : public ReportEvents
{
public:
    QStringList errors;
    void error(Report &, const QString &text) override { errors.append(text); }
};

// One detail band holding the data control and one field per data field, each on a line of
// its own; no page bands.
ReportLayout fieldsLayout(const QString &connectionString, const QString &source,
                          const QStringList &dataFields)
{
    ReportLayout layout;
    Section detail;
    detail.type = SectionType::Detail;
    detail.name = u"Detail"_s;
    detail.height = 240 * int(dataFields.size());
    layout.sections.append(detail);
    Section &s = layout.sections.last();
    ReportControl *data = layout.addControl(s, u"DDActiveReports2.DataControl"_s, u"DataControl"_s);
    data->props.set(u"ConnectionString"_s, connectionString);
    data->props.set(u"Source"_s, source);
    for (qsizetype i = 0; i < dataFields.size(); ++i) {
        ReportControl *field = layout.addControl(s, u"DDActiveReports2.Field"_s);
        field->top = 240 * int(i);
        field->width = 5000;
        field->height = 240;
        field->props.set(u"DataField"_s, dataFields[i]);
    }
    return layout;
}

} // namespace

// Data binding on both backends: the data control's own read-only connection, columns by name
// without regard to case, values with their types.
class TestReportData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void valuesKeepTheirType();
    void outputFormat_data();
    void outputFormat();
    void scriptReadsTheRecordset();
    void rowsStreamThroughGroupsAndSubreports();
    void scriptMovesItsOwnRecordset();
    void failureInTheRowsStopsTheRun();
    void writingSourceFails_data();
    void writingSourceFails();
    void badConnectionFails();
    void blobBindsToImage();
    void fontsNeedAGuiApplication();

private:
    bool fillNumbers(int count);
    CADODatabase m_db;
    std::unique_ptr<TestDatabase> m_owned;
};

void TestReportData::init()
{
    m_db.Close();
    m_owned = std::make_unique<TestDatabase>();
    VANTREL_OPEN_TEST_DB(*m_owned, m_db, false);
    QVERIFY(m_db.Execute(u"CREATE TABLE 人员 (编号 INTEGER, 姓名 TEXT, 工资 DOUBLE PRECISION, "
                         "生日 TIMESTAMP, 备注 TEXT)"_s));
    QVERIFY(m_db.runBatch(u"INSERT INTO 人员 VALUES (?, ?, ?, ?, ?)"_s,
                          { { 1, u"张三"_s, 1234.5, QDateTime(QDate(1990, 5, 1), QTime(0, 0)),
                              QVariant() },
                            { 2, u"李四"_s, 0.25, QDateTime(QDate(2000, 1, 2), QTime(8, 30)),
                              u"备注 ]]> \"x\""_s } })
                .ok);
}

void TestReportData::valuesKeepTheirType()
{
    Report report;
    report.layout() = fieldsLayout(
        m_owned->connectionString(),
        u"SELECT 编号 AS \"号\", 姓名 AS \"Person Name\", 工资, 生日, 备注 FROM 人员 ORDER BY 编号"_s,
        { u"号"_s, u"person NAME"_s, u"工资"_s, u"[生日]"_s, u"备注"_s });
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    QCOMPARE(report.pages().texts(0),
             (QStringList { u"1"_s, u"张三"_s, u"1234.5"_s, u"1990-05-01"_s, QString(), u"2"_s,
                            u"李四"_s, u"0.25"_s, u"2000-01-02 08:30:00"_s, u"备注 ]]> \"x\""_s }));
}

void TestReportData::outputFormat_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("grouped, two decimals")
        << u"工资"_s << u"#,##0.00"_s << QStringList { u"1,234.50"_s, u"0.25"_s };
    QTest::newRow("one decimal") << u"工资"_s << u"0.0"_s << QStringList { u"1234.5"_s, u"0.3"_s };
    QTest::newRow("Chinese date") << u"生日"_s << u"yyyy年m月d日"_s
                                  << QStringList { u"1990年5月1日"_s, u"2000年1月2日"_s };
    QTest::newRow("date and time") << u"生日"_s << u"yyyy-mm-dd hh:nn"_s
                                   << QStringList { u"1990-05-01 00:00"_s, u"2000-01-02 08:30"_s };
    QTest::newRow("NULL stays empty")
        << u"备注"_s << u"0.00"_s << QStringList { QString(), u"备注 ]]> \"x\""_s };
}

void TestReportData::outputFormat()
{
    QFETCH(QString, field);
    QFETCH(QString, format);
    QFETCH(QStringList, texts);
    Report report;
    report.layout() = fieldsLayout(m_owned->connectionString(),
                                   u"SELECT * FROM 人员 ORDER BY 编号"_s, { field });
    report.layout().dataSection()->controls.last().props.set(u"OutputFormat"_s, format);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    QCOMPARE(report.pages().texts(0), texts);
}

void TestReportData::scriptReadsTheRecordset()
{
    Report report;
    report.layout()
        = fieldsLayout(m_owned->connectionString(),
                       u"SELECT 编号, 姓名 AS \"名字\", 工资, 生日, 备注 FROM 人员 ORDER BY 编号"_s,
                       { u"=rpt.DataControl.Recordset(\"名字\").Value & \"|\" & "
                         "TypeName(rpt.DataControl.Recordset.Fields(\"生日\").Value) & \"|\" & "
                         "TypeName(rpt.DataControl.Recordset(\"工资\").Value) & \"|\" & "
                         "IsNull(rpt.DataControl.Recordset(\"备注\").Value)"_s });
    auto probe = std::make_shared<Probe>();
    report.addNamedItem(u"probe"_s, probe);
    report.setScript(u"Sub OnReportEnd\r\n"
                     "  Dim rs, a\r\n"
                     "  Set rs = rpt.DataControl.Recordset\r\n"
                     "  rs.MoveFirst\r\n"
                     "  a = rs.GetRows()\r\n"
                     "  probe.Put UBound(a, 2) + 1\r\n"
                     "  probe.Put a(1, 1)\r\n"
                     "  probe.Put rs.EOF\r\n"
                     "  probe.Put rs.Fields.Count\r\n"
                     "End Sub\r\n"_s);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    QCOMPARE(report.pages().texts(0),
             (QStringList { u"张三|Date|Double|True"_s, u"李四|Date|Double|False"_s }));
    QCOMPARE(probe->values, (QStringList { u"2"_s, u"李四"_s, u"True"_s, u"5"_s }));
}

// The table G (k, grp): k from 1 to count, seven to a group.
bool TestReportData::fillNumbers(int count)
{
    if (!m_db.Execute(u"CREATE TABLE G (k INTEGER, grp INTEGER)"_s))
        return false;
    QVector<QVariantList> rows;
    for (int k = 1; k <= count; ++k)
        rows.append(QVariantList { k, (k - 1) / 7 });
    return m_db.runBatch(u"INSERT INTO G VALUES (?, ?)"_s, rows).ok;
}

void TestReportData::rowsStreamThroughGroupsAndSubreports()
{
    // More rows than the data layer reads at a time; each row's subreport reads on a connection
    // of its own while the master's rows are still coming.
    const int count = 600;
    QVERIFY(fillNumbers(count));
    Report report;
    ReportLayout &layout = report.layout();
    layout = fieldsLayout(m_owned->connectionString(), u"SELECT k, grp FROM G ORDER BY k"_s,
                          { u"k"_s });
    Section header;
    header.type = SectionType::GroupHeader;
    header.name = u"GroupHeader1"_s;
    header.height = 240;
    header.props.set(u"DataField"_s, u"GRP"_s);
    Section footer = header;
    footer.type = SectionType::GroupFooter;
    footer.name = u"GroupFooter1"_s;
    layout.sections.insert(0, header);
    layout.sections.append(footer);
    layout.addControl(layout.sections[0], u"DDActiveReports2.Field"_s)
        ->props.set(u"DataField"_s, u"=\"H\" & rpt.DataControl.Recordset(\"grp\").Value"_s);
    layout.addControl(layout.sections[2], u"DDActiveReports2.Field"_s)
        ->props.set(u"DataField"_s, u"=\"F\" & rpt.DataControl.Recordset(\"k\").Value"_s);
    for (int i : { 0, 2 })
        layout.sections[i].controls.last().width = 3000;
    ReportControl *sub = layout.addControl(layout.sections[1], u"DDActiveReports2.SubReport"_s);
    sub->top = 240;
    sub->width = 3000;
    ReportLayout subLayout = fieldsLayout(m_owned->connectionString(), u"SELECT 1"_s, { u"n"_s });
    sub->subreport = std::make_shared<ReportLayout>(subLayout);
    report.setScript(u"Sub Detail_Format\r\n"
                     "  rpt.SubReport1.object.DataControl.Source = \"SELECT 'n' || COUNT(*) AS n "
                     "FROM G WHERE grp = \" & rpt.DataControl.Recordset(\"grp\").Value\r\n"
                     "End Sub\r\n"_s);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));

    QStringList want;
    for (int k = 1; k <= count; ++k) {
        const int group = (k - 1) / 7;
        if ((k - 1) % 7 == 0)
            want << u"H"_s + QString::number(group);
        want << QString::number(k) << u"n"_s + QString::number(qMin(7, count - group * 7));
        if (k % 7 == 0 || k == count)
            want << u"F"_s + QString::number(k);
    }
    QStringList got;
    for (int p = 0; p < int(report.pages().pages.size()); ++p)
        got += report.pages().texts(p);
    QCOMPARE(got.size(), want.size());
    QCOMPARE(got, want);
}

void TestReportData::scriptMovesItsOwnRecordset()
{
    // The script moves its recordset away from the run's row, past what has been read and back
    // to the start; the run's own rows go on unchanged.
    const int count = 300;
    QVERIFY(fillNumbers(count));
    Report report;
    report.layout() = fieldsLayout(m_owned->connectionString(),
                                   u"SELECT k, grp FROM G ORDER BY k"_s, { u"k"_s });
    auto probe = std::make_shared<Probe>();
    report.addNamedItem(u"probe"_s, probe);
    report.setScript(u"Sub Detail_Format\r\n"
                     "  Dim rs, a\r\n"
                     "  Set rs = rpt.DataControl.Recordset\r\n"
                     "  If rs(\"k\").Value <> 280 Then Exit Sub\r\n"
                     "  rs.MoveNext\r\n"
                     "  probe.Put rs(\"k\").Value\r\n"
                     "  rs.MoveNext\r\n"
                     "  probe.Put rs(\"k\").Value\r\n"
                     "  rs.MoveFirst\r\n"
                     "  probe.Put rs(\"k\").Value & \" \" & rs.BOF & \" \" & rs.EOF\r\n"
                     "  probe.Put rs.RecordCount\r\n"
                     "  rs.MoveLast\r\n"
                     "  probe.Put rs(\"k\").Value\r\n"
                     "  rs.MoveFirst\r\n"
                     "  rs.MoveNext\r\n"
                     "  a = rs.GetRows()\r\n"
                     "  probe.Put UBound(a, 2) + 1 & \" \" & a(0, 0) & \" \" & rs.EOF\r\n"
                     "End Sub\r\n"_s);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    QCOMPARE(probe->values,
             (QStringList { u"281"_s, u"282"_s, u"1 False False"_s, u"300"_s, u"300"_s,
                            u"299 2 True"_s }));
    QStringList got;
    for (int p = 0; p < int(report.pages().pages.size()); ++p)
        got += report.pages().texts(p);
    QCOMPARE(got.size(), count);
    QCOMPARE(got.value(279), u"280"_s);
    QCOMPARE(got.value(280), u"281"_s);
    QCOMPARE(got.last(), u"300"_s);
}

void TestReportData::failureInTheRowsStopsTheRun()
{
    // Row 280 fails on both backends (the absolute value of the smallest integer), after the
    // first rows have been read and laid out; unsorted, so no row is computed ahead.
    QVERIFY(fillNumbers(300));
    Report report;
    report.layout() = fieldsLayout(
        m_owned->connectionString(),
        u"SELECT k, abs(CASE WHEN k = 280 THEN -9223372036854775807 - 1 ELSE k END) AS a "
        "FROM G"_s,
        { u"a"_s });
    ErrorLog log;
    report.setEvents(&log);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY(!report.run());
    QCOMPARE(log.errors.size(), 1);
    QCOMPARE(log.errors.first(), report.lastError());
    QVERIFY(!report.pages().pages.empty());
    QCOMPARE(report.pages().texts(0).value(0), u"1"_s);
}

void TestReportData::writingSourceFails_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("update") << u"UPDATE 人员 SET 姓名 = 'x'"_s;
    QTest::newRow("delete") << u"DELETE FROM 人员"_s;
    QTest::newRow("insert") << u"INSERT INTO 人员 (编号, 姓名) VALUES (3, 'x')"_s;
    QTest::newRow("drop") << u"DROP TABLE 人员"_s;
}

void TestReportData::writingSourceFails()
{
    QFETCH(QString, source);
    Report report;
    report.layout() = fieldsLayout(m_owned->connectionString(), source, { u"姓名"_s });
    ErrorLog log;
    report.setEvents(&log);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY(!report.run());
    QCOMPARE(log.errors.size(), 1);
    QVERIFY(!log.errors.first().isEmpty());
    const auto rows = m_db.run(u"SELECT 编号, 姓名 FROM 人员 ORDER BY 编号"_s);
    QVERIFY(rows.ok);
    QCOMPARE(rows.rows.rowCount(), 2);
    QCOMPARE(rows.rows.text(0, 1), u"张三"_s);
    QCOMPARE(rows.rows.text(1, 1), u"李四"_s);
}

void TestReportData::badConnectionFails()
{
    Report report;
    report.layout() = fieldsLayout(u"Provider=QSQLITE;Data Source=/nonexistent/报表.db"_s,
                                   u"SELECT 1"_s, { u"x"_s });
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY(!report.run());
    QVERIFY2(report.lastError().contains(u"cannot be opened"_s), qPrintable(report.lastError()));
}

void TestReportData::blobBindsToImage()
{
    QImage image(8, 5, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QVERIFY(m_db.Execute(m_db.dialect().ddl(u"CREATE TABLE 照片 (编号 INTEGER, 图 %BLOB%)"_s)));
    QVERIFY(m_db.Execute(u"INSERT INTO 照片 VALUES (?, ?)"_s, { 1, png }));
    QVERIFY(m_db.Execute(u"INSERT INTO 照片 VALUES (?, ?)"_s, { 2, QVariant() }));

    Report report;
    report.layout() = fieldsLayout(m_owned->connectionString(),
                                   u"SELECT 编号, 图 FROM 照片 ORDER BY 编号"_s, { u"编号"_s });
    ReportControl *picture
        = report.layout().addControl(*report.layout().dataSection(), u"DDActiveReports2.Image"_s);
    picture->width = picture->height = 200;
    picture->props.set(u"DataField"_s, u"图"_s);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    // The row without a picture draws none.
    std::vector<QSize> sizes;
    for (const DisplayItem &item : report.pages().pages[0].items) {
        if (item.kind == ItemKind::Image)
            sizes.push_back(report.pages().image(item.image).size());
    }
    QCOMPARE(sizes, std::vector<QSize> { QSize(8, 5) });
}

void TestReportData::fontsNeedAGuiApplication()
{
    Report report;
    report.layout()
        = fieldsLayout(m_owned->connectionString(), u"SELECT 姓名 FROM 人员"_s, { u"姓名"_s });
    ErrorLog log;
    report.setEvents(&log);
    QVERIFY(!report.run());
    QCOMPARE(log.errors.size(), 1);
    QVERIFY(log.errors.first().contains(u"QGuiApplication"_s));
}

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_reportdata.moc"
