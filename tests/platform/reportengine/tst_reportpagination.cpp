#include "reportfixture.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace vantrel::report;
using namespace reportfixture;

namespace {

QStringList rows(int from, int to, const QString &suffix = {})
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out.append(u"R"_s + QString::number(i) + suffix);
    return out;
}

QString footer(int page, int count)
{
    return u"第 %1 页 共 %2页"_s.arg(page).arg(count);
}

void runFixed(Report &report)
{
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    QVERIFY2(report.run(), qPrintable(report.lastError()));
}

} // namespace

// Pagination on the display lists, with fixed metrics: narrow characters 100 twips, wide ones
// 200, lines 240. The list layout holds ten rows of 240 to a page.
class TestReportPagination : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageBands_data();
    void pageBands();
    void groupBands();
    void canGrow_data();
    void canGrow();
    void unwrappedTextIsClipped_data();
    void unwrappedTextIsClipped();
    void tallBandSplitsBetweenLines();
    void reportBandsAndScriptEvents();
    void pageBreak();
    void subreportAcrossPageEnd();
    void noData();
    void errorsStopTheRun_data();
    void errorsStopTheRun();
};

void TestReportPagination::pageBands_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("detailHeight");
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("25 rows, ten a page: the middle page")
        << 25 << 240 << 3 << 1
        << (QStringList { u"名单"_s } + rows(11, 20) + QStringList { footer(2, 3) });
    QTest::newRow("25 rows, ten a page: the last page")
        << 25 << 240 << 3 << 2
        << (QStringList { u"名单"_s } + rows(21, 25) + QStringList { footer(3, 3) });
    QTest::newRow("taller detail, five a page")
        << 25 << 480 << 5 << 4
        << (QStringList { u"名单"_s } + rows(21, 25) + QStringList { footer(5, 5) });
    QTest::newRow("full pages leave no empty page")
        << 20 << 240 << 2 << 1
        << (QStringList { u"名单"_s } + rows(11, 20) + QStringList { footer(2, 2) });
    QTest::newRow("第 3 页 共 12 页")
        << 120 << 240 << 12 << 2
        << (QStringList { u"名单"_s } + rows(21, 30) + QStringList { footer(3, 12) });
}

void TestReportPagination::pageBands()
{
    QFETCH(int, rowCount);
    QFETCH(int, detailHeight);
    QFETCH(int, pageCount);
    QFETCH(int, page);
    QFETCH(QStringList, lines);

    PersonsDb db(rowCount);
    QVERIFY(db.ok());
    Report report;
    report.layout()
        = listLayout(db.connectionString(), u"SELECT * FROM P ORDER BY ID"_s, detailHeight);
    EventLog log;
    report.setEvents(&log);
    runFixed(report);
    QCOMPARE(int(report.pages().pages.size()), pageCount);
    QCOMPARE(pageLines(report.pages(), page), lines);
    QCOMPARE(log.events.first(), u"ReportStart"_s);
    QCOMPARE(log.events.last(), u"ReportEnd"_s);
    QCOMPARE(log.events.count(u"PageEnd "_s + QString::number(pageCount - 1)), 1);
}

void TestReportPagination::groupBands()
{
    // Departments of seven: D1 1-7, D2 8-14, D3 15.
    PersonsDb db(15);
    QVERIFY(db.ok());
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT * FROM P ORDER BY ID"_s);
    Section header;
    header.type = SectionType::GroupHeader;
    header.name = u"GroupHeader1"_s;
    header.height = 240;
    header.props.set(u"DataField"_s, u"dept"_s);
    Section groupFooter = header;
    groupFooter.type = SectionType::GroupFooter;
    groupFooter.name = u"GroupFooter1"_s;
    groupFooter.props.remove(u"DataField"_s);
    layout.sections.insert(1, header);
    layout.sections.insert(3, groupFooter);
    addField(layout, layout.sections[1], u"Dept"_s, 0, 0, 2000);
    // The footer sees the group's last row.
    addField(layout, layout.sections[3], u"=\"完 \" & rpt.DataControl.Recordset(\"Name\")"_s, 0, 0,
             2000);
    report.layout() = layout;
    runFixed(report);
    QCOMPARE(int(report.pages().pages.size()), 3);
    QCOMPARE(pageLines(report.pages(), 0),
             (QStringList { u"名单"_s, u"D1"_s } + rows(1, 7)
              + QStringList { u"完 R7"_s, u"D2"_s, footer(1, 3) }));
    QCOMPARE(pageLines(report.pages(), 1),
             (QStringList { u"名单"_s } + rows(8, 14)
              + QStringList { u"完 R14"_s, u"D3"_s, u"R15"_s, footer(2, 3) }));
    QCOMPARE(pageLines(report.pages(), 2), (QStringList { u"名单"_s, u"完 R15"_s, footer(3, 3) }));
}

void TestReportPagination::canGrow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("grow");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("Chinese breaks between characters")
        << u"一二三四五六七"_s << 1000 << true << QStringList { u"一二三四五"_s, u"六七"_s };
    QTest::newRow("no line starts with 。")
        << u"一二三四五。六"_s << 1000 << true << QStringList { u"一二三四"_s, u"五。六"_s };
    QTest::newRow("nor with ，、") << u"一二三四五，六七八九十、甲"_s << 1000 << true
                                   << QStringList { u"一二三四"_s, u"五，六七八"_s, u"九十、甲"_s };
    QTest::newRow("nor with ）") << u"（一二三四）五"_s << 1000 << true
                                 << QStringList { u"（一二三"_s, u"四）五"_s };
    QTest::newRow("mixed text breaks at blanks")
        << u"Qt 报表 engine"_s << 800 << true << QStringList { u"Qt 报表"_s, u"engine"_s };
    QTest::newRow("a long word breaks anywhere")
        << u"abcdefghij"_s << 400 << true << QStringList { u"abcd"_s, u"efgh"_s, u"ij"_s };
    QTest::newRow("line breaks kept")
        << u"甲\r\n乙"_s << 1000 << true << QStringList { u"甲"_s, u"乙"_s };
    QTest::newRow("without CanGrow the field keeps its height")
        << u"一二三四五六七"_s << 1000 << false << QStringList { u"一二三四五"_s };
}

void TestReportPagination::canGrow()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(bool, grow);
    QFETCH(QStringList, lines);

    PersonsDb db(0);
    QVERIFY(db.ok());
    QVERIFY(db.execute(u"CREATE TABLE T (Txt TEXT, Tail TEXT)"_s));
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT Txt, Tail FROM T"_s);
    Section &detail = section(layout, SectionType::Detail);
    detail.canGrow = grow;
    detail.controls.last().props.set(u"DataField"_s, u"Txt"_s);
    detail.controls.last().width = width;
    report.layout() = layout;
    // A second row shows where the grown band ends.
    const QString literal
        = QString(text).replace(u'\'', u"''"_s).replace(u"\r\n"_s, u"' || char(13, 10) || '"_s);
    QVERIFY(db.execute(u"INSERT INTO T VALUES ('"_s + literal + u"', 'x')"_s));
    QVERIFY(db.execute(u"INSERT INTO T VALUES ('next', 'x')"_s));
    runFixed(report);
    QCOMPARE(pageLines(report.pages(), 0),
             (QStringList { u"名单"_s } + lines + QStringList { u"next"_s, footer(1, 1) }));
}

void TestReportPagination::unwrappedTextIsClipped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("shown");

    QTest::newRow("fits") << u"ABCD"_s << 0 << 400 << u"ABCD"_s;
    QTest::newRow("left keeps the start") << u"ABCDEFGHIJ"_s << 0 << 450 << u"ABCD"_s;
    QTest::newRow("right keeps the end") << u"ABCDEFGHIJ"_s << 1 << 450 << u"GHIJ"_s;
    QTest::newRow("centred keeps the middle") << u"ABCDEFGHIJ"_s << 2 << 450 << u"DEFG"_s;
    QTest::newRow("Chinese, whole characters only") << u"一二三四五"_s << 0 << 500 << u"一二"_s;
    QTest::newRow("mixed, right") << u"编号 A12"_s << 1 << 450 << u" A12"_s;
    QTest::newRow("line breaks become blanks") << u"甲\r\n乙丙"_s << 0 << 500 << u"甲 乙"_s;
    QTest::newRow("narrower than one character") << u"一二"_s << 0 << 150 << QString();
}

void TestReportPagination::unwrappedTextIsClipped()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(int, width);
    QFETCH(QString, shown);

    PersonsDb db(1);
    QVERIFY(db.ok());
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT * FROM P"_s);
    Section &detail = section(layout, SectionType::Detail);
    detail.canGrow = true;
    ReportControl &field = detail.controls.last();
    field.props.set(u"DataField"_s, QString());
    field.props.set(u"Text"_s, text);
    field.props.set(u"WordWrap"_s, 0);
    field.props.set(u"Alignment"_s, alignment);
    field.width = width;
    report.layout() = layout;
    runFixed(report);
    const auto &items = report.pages().pages[0].items;
    const auto run = std::find_if(items.cbegin(), items.cend(), [&](const DisplayItem &item) {
        return item.kind == ItemKind::Text && item.x == field.left + layout.page.leftMargin
            && item.width == width;
    });
    QVERIFY(run != items.cend());
    QCOMPARE(report.pages().string(run->text), shown);
    QCOMPARE(run->width, width);
}

void TestReportPagination::tallBandSplitsBetweenLines()
{
    // One row whose text wraps to 25 lines of one character: taller than a page (ten lines).
    PersonsDb db(0);
    QVERIFY(db.ok());
    QVERIFY(db.execute(u"CREATE TABLE T (Txt TEXT)"_s));
    QVERIFY(db.execute(
        u"INSERT INTO T VALUES ('一二三四五六七八九十甲乙丙丁戊己庚辛壬癸子丑寅卯辰'), ('next')"_s));
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT Txt FROM T"_s);
    Section &detail = section(layout, SectionType::Detail);
    detail.canGrow = true;
    detail.controls.last().props.set(u"DataField"_s, u"Txt"_s);
    detail.controls.last().width = 200;
    report.layout() = layout;
    runFixed(report);
    QCOMPARE(int(report.pages().pages.size()), 3);
    QCOMPARE(pageLines(report.pages(), 0),
             (QStringList { u"名单"_s, u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s,
                            u"七"_s, u"八"_s, u"九"_s, u"十"_s, footer(1, 3) }));
    QCOMPARE(pageLines(report.pages(), 2),
             (QStringList { u"名单"_s, u"子"_s, u"丑"_s, u"寅"_s, u"卯"_s, u"辰"_s, u"ne"_s,
                            u"xt"_s, footer(3, 3) }));
}

void TestReportPagination::reportBandsAndScriptEvents()
{
    PersonsDb db(12);
    QVERIFY(db.ok());
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT * FROM P ORDER BY ID"_s);
    Section reportHeader;
    reportHeader.type = SectionType::ReportHeader;
    reportHeader.name = u"ReportHeader"_s;
    reportHeader.height = 240;
    Section reportFooter = reportHeader;
    reportFooter.type = SectionType::ReportFooter;
    reportFooter.name = u"ReportFooter"_s;
    layout.sections.prepend(reportHeader);
    layout.sections.append(reportFooter);
    addField(layout, layout.sections.first(), u"=title"_s, 0, 0, 3000);
    addField(layout, layout.sections.last(), u"=\"共 \" & rows & \" 行, 页起 \" & starts"_s, 0, 0,
             3000);
    addField(layout, section(layout, SectionType::PageHeader), u"=\"起 \" & starts"_s, 3000, 0,
             1500);
    // A label's caption is text as written, even with "=" in front.
    ReportControl *caption = layout.addControl(layout.sections.last(), u"DDActiveReports2.Label"_s);
    caption->left = 3000;
    caption->width = 1000;
    caption->height = 240;
    caption->props.set(u"Caption"_s, u"=合计"_s);
    report.layout() = layout;
    report.setScript(
        u"Dim title, rows, starts, ends\r\n"
        "Sub OnReportStart\r\n title = \"开始\"\r\nEnd Sub\r\n"
        "Sub OnPageStart\r\n starts = starts + 1\r\nEnd Sub\r\n"
        "Sub OnPageEnd\r\n ends = ends + 1\r\nEnd Sub\r\n"
        "Sub Detail_Format\r\n rows = rows + 1\r\nEnd Sub\r\n"
        "Sub OnReportEnd\r\n If ends <> 2 Then Err.Raise 1001, , \"ends \" & ends\r\nEnd Sub\r\n"_s);
    runFixed(report);
    // The report header opens the first page above the page header; the footer follows the
    // last row.
    QCOMPARE(
        pageLines(report.pages(), 0),
        (QStringList { u"开始"_s, u"名单起 1"_s } + rows(1, 9) + QStringList { footer(1, 2) }));
    QCOMPARE(pageLines(report.pages(), 1),
             (QStringList { u"名单起 2"_s } + rows(10, 12)
              + QStringList { u"共 12 行, 页起 2=合计"_s, footer(2, 2) }));
}

void TestReportPagination::pageBreak()
{
    PersonsDb db(3);
    QVERIFY(db.ok());
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT * FROM P ORDER BY ID"_s);
    Section &detail = section(layout, SectionType::Detail);
    ReportControl *pageBreak = layout.addControl(detail, u"DDActiveReports2.PageBreak"_s);
    pageBreak->top = 240;
    report.layout() = layout;
    runFixed(report);
    QCOMPARE(int(report.pages().pages.size()), 3);
    QCOMPARE(pageLines(report.pages(), 1), (QStringList { u"名单"_s, u"R2"_s, footer(2, 3) }));
}

void TestReportPagination::subreportAcrossPageEnd()
{
    PersonsDb db(12);
    QVERIFY(db.ok());
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT * FROM P WHERE ID <= 2"_s);
    Section &detail = section(layout, SectionType::Detail);
    ReportControl *sub = layout.addControl(detail, u"DDActiveReports2.SubReport"_s);
    sub->left = 500;
    sub->top = 240;
    sub->width = 3000;
    sub->props.set(u"reportName"_s, u"明细"_s);
    report.layout() = layout;
    report.setScript(u"Sub Detail_Format\r\n"
                     "  rpt.SubReport1.object.DataControl.Source = \"SELECT Name || '-' || \" & "
                     "rpt.DataControl.Recordset(\"ID\").Value & \" AS Name FROM P ORDER BY ID\"\r\n"
                     "End Sub\r\n"_s);
    EventLog log;
    // The caller binds the subreport when the report starts, as the viewer does.
    log.onStart = [&](Report &r) {
        ReportLayout subLayout;
        Section subDetail;
        subDetail.type = SectionType::Detail;
        subDetail.name = u"Detail"_s;
        subDetail.height = 240;
        subLayout.sections.append(subDetail);
        ReportControl *data = subLayout.addControl(
            subLayout.sections[0], u"DDActiveReports2.DataControl"_s, u"DataControl"_s);
        data->props.set(u"ConnectionString"_s, db.connectionString());
        addField(subLayout, subLayout.sections[0], u"Name"_s, 0, 0, 3000);
        r.layout().findControl(u"SubReport1"_s)->subreport
            = std::make_shared<ReportLayout>(subLayout);
    };
    report.setEvents(&log);
    runFixed(report);
    QCOMPARE(int(report.pages().pages.size()), 3);
    QCOMPARE(
        pageLines(report.pages(), 0),
        (QStringList { u"名单"_s, u"R1"_s } + rows(1, 9, u"-1"_s) + QStringList { footer(1, 3) }));
    QCOMPARE(pageLines(report.pages(), 1),
             (QStringList { u"名单"_s } + rows(10, 12, u"-1"_s) + QStringList { u"R2"_s }
              + rows(1, 6, u"-2"_s) + QStringList { footer(2, 3) }));
    QCOMPARE(pageLines(report.pages(), 2),
             (QStringList { u"名单"_s } + rows(7, 12, u"-2"_s) + QStringList { footer(3, 3) }));
    // The subreport's rows are indented by the control's position.
    const DisplayItem &first = report.pages().pages[0].items[2];
    QCOMPARE(report.pages().string(first.text), u"R1-1"_s);
    QCOMPARE(first.x, 500 + 500);
}

void TestReportPagination::noData()
{
    PersonsDb db(5);
    QVERIFY(db.ok());
    Report report;
    report.layout() = listLayout(db.connectionString(), u"SELECT * FROM P WHERE ID < 0"_s);
    EventLog log;
    report.setEvents(&log);
    runFixed(report);
    QCOMPARE(int(report.pages().pages.size()), 1);
    QCOMPARE(pageLines(report.pages(), 0), (QStringList { u"名单"_s, footer(1, 1) }));
    QCOMPARE(log.events,
             (QStringList { u"ReportStart"_s, u"NoData"_s, u"PageEnd 0"_s, u"ReportEnd"_s }));
}

void TestReportPagination::errorsStopTheRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("dataField");
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<QString>("error");

    QTest::newRow("expression error on row 15")
        << QString() << u"=10 \\ (15 - rpt.DataControl.Recordset(\"ID\").Value)"_s << 2
        << u"Division by zero"_s;
    QTest::newRow("expression that does not compile") << QString() << u"=(1 +"_s << 1 << u"Field"_s;
    QTest::newRow("script that does not compile")
        << u"Sub Broken(\r\n"_s << u"Name"_s << 0 << u"Expected"_s;
    QTest::newRow("error raised in an event")
        << u"Sub Detail_Format\r\n If rpt.PageNumber = 2 Then Err.Raise 1000, , \"不可\"\r\nEnd Sub"_s
        << u"Name"_s << 2 << u"不可"_s;
    QTest::newRow("field not in the record source") << QString() << u"Nope"_s << 1 << u"\"Nope\""_s;
}

void TestReportPagination::errorsStopTheRun()
{
    QFETCH(QString, script);
    QFETCH(QString, dataField);
    QFETCH(int, pageCount);
    QFETCH(QString, error);

    PersonsDb db(25);
    QVERIFY(db.ok());
    Report report;
    report.layout() = listLayout(db.connectionString(), u"SELECT * FROM P ORDER BY ID"_s);
    section(report.layout(), SectionType::Detail)
        .controls.last()
        .props.set(u"DataField"_s, dataField);
    report.setScript(script);
    report.setTextMetrics(std::make_shared<FixedTextMetrics>());
    EventLog log;
    report.setEvents(&log);
    QVERIFY(!report.run());
    QVERIFY2(report.lastError().contains(error), qPrintable(report.lastError()));
    // The pages made so far stay.
    QCOMPARE(int(report.pages().pages.size()), pageCount);
    QCOMPARE(log.events.count(u"Error: "_s + report.lastError()), 1);
    QCOMPARE(log.events.last(), u"ReportEnd"_s);
}

QTEST_GUILESS_MAIN(TestReportPagination)
#include "tst_reportpagination.moc"
