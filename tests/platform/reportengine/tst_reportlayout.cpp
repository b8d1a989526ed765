#include "platform/reportengine/layoutxml.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::report;

Q_DECLARE_METATYPE(vantrel::report::ReportLayout)

namespace {

ReportControl *add(ReportLayout &layout, Section &section, const QString &className,
                   const QString &name = {})
{
    ReportControl *c = layout.addControl(section, className, name);
    Q_ASSERT(c);
    c->left = 100;
    c->top = 50;
    c->width = 1440;
    c->height = 285;
    return c;
}

Section &addSection(ReportLayout &layout, int type, const QString &name, int height)
{
    Section s;
    s.type = type;
    s.name = name;
    s.height = height;
    layout.sections.append(s);
    return layout.sections.last();
}

QString pngBase64()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(bytes.toBase64());
}

ReportLayout everyClassLayout()
{
    ReportLayout layout;
    layout.name = u"人员名册"_s;
    layout.page.landscape = true;
    layout.page.leftMargin = 720;
    const int types[] = { 0, 2, 4, 6, 5, 3, 1 };
    for (int type : types)
        addSection(layout, type, u"节"_s + QString::number(type), 400 + type);
    Section &detail = *layout.dataSection();
    detail.canGrow = true;
    for (const QString &className : ControlClass::classNames())
        add(layout, detail, className);
    ReportControl *field = detail.control(u"Field1"_s);
    field->font.name = u"黑体"_s;
    field->font.size = 10.5;
    field->font.bold = true;
    field->font.underline = true;
    field->props.set(u"DataField"_s, u"编号"_s);
    field->props.set(u"SummaryType"_s, 4);
    ReportControl *data = layout.dataControl();
    data->props.set(u"ConnectionString"_s, u"Provider=QSQLITE;Data Source=/tmp/a b.db"_s);
    data->props.set(u"Source"_s, u"SELECT 姓名 AS \"名字\" FROM QZ_PSNBASE WHERE a<'x' & b>1"_s);
    layout.sections[2].props.set(u"DataField"_s, u"部门"_s);
    return layout;
}

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void unknownPartsKept_data();
    void unknownPartsKept();
    void fileBytesEqualBytes();
    void brokenInputFails_data();
    void brokenInputFails();
    void classRegistry_data();
    void classRegistry();
    void copiesAreDeep();
    void sampleLayoutsAreCanonical_data();
    void sampleLayoutsAreCanonical();
};

void TestReportLayout::roundTrip_data()
{
    QTest::addColumn<ReportLayout>("layout");

    QTest::newRow("empty") << ReportLayout();
    QTest::newRow("every section type and class, Chinese names") << everyClassLayout();

    ReportLayout script = everyClassLayout();
    script.script = u"Sub Detail_Format\r\n  x = \"a \"\"q\"\" ]]> b\"\r\nEnd Sub\r\n"_s;
    QTest::newRow("script with quotes, ]]> and CR LF") << script;

    ReportLayout lf = everyClassLayout();
    lf.script = u"Sub OnReportStart\n  y = 1 ' ]]>]]>\n\tEnd Sub"_s;
    QTest::newRow("script with LF and tabs") << lf;

    ReportLayout mixed = everyClassLayout();
    mixed.script = u"a = 1\r\nb = 2\nc = 3\rd = \"\x01\""_s;
    QTest::newRow("script with mixed breaks and a control character") << mixed;

    ReportLayout rich = everyClassLayout();
    rich.dataSection()
        ->control(u"RichEdit1"_s)
        ->props.set(u"Html"_s, u"<p style=\"color:red\">加粗 <b>&amp;</b></p>\r\n<p>二</p>"_s);
    rich.dataSection()->control(u"Image1"_s)->props.set(u"Picture"_s, pngBase64());
    rich.dataSection()->control(u"Label1"_s)->props.set(u"Caption"_s, u" 前后有空格 "_s);
    QTest::newRow("rich text, image, blanks kept") << rich;
}

void TestReportLayout::roundTrip()
{
    QFETCH(ReportLayout, layout);
    const QByteArray first = LayoutXml::write(layout);
    const auto loaded = LayoutXml::read(first);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error()));
    QCOMPARE(loaded->script, layout.script);
    QCOMPARE(loaded->name, layout.name);
    QCOMPARE(loaded->page, layout.page);
    QCOMPARE(loaded->sections.size(), layout.sections.size());
    for (qsizetype i = 0; i < layout.sections.size(); ++i) {
        const Section &want = layout.sections[i];
        const Section &got = loaded->sections[i];
        QCOMPARE(got.type, want.type);
        QCOMPARE(got.canGrow, want.canGrow);
        QCOMPARE(got.props, want.props);
        QCOMPARE(got.controls.size(), want.controls.size());
        for (qsizetype c = 0; c < want.controls.size(); ++c) {
            QCOMPARE(got.controls[c].kind, want.controls[c].kind);
            QCOMPARE(got.controls[c].name, want.controls[c].name);
            QCOMPARE(got.controls[c].font, want.controls[c].font);
            QCOMPARE(got.controls[c].props, want.controls[c].props);
        }
    }
    QCOMPARE(LayoutXml::write(*loaded), first);
}

void TestReportLayout::unknownPartsKept_data()
{
    // What a newer version might write, one addition to a canonical layout per row.
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");

    QTest::newRow("attribute on the root")
        << QByteArray("FormatVersion=\"1\"") << QByteArray("FormatVersion=\"2\" Theme=\"dark\"");
    QTest::newRow("attribute on a font")
        << QByteArray("<Font Name=\"黑体\" Size=\"10.5\"")
        << QByteArray("<Font Name=\"黑体\" Charset=\"134\" Size=\"10.5\"");
    QTest::newRow("element before the first section")
        << QByteArray("    <Section Type=\"0\"")
        << QByteArray("    <Watermark Text=\"草稿\">\n        <Angle>45</Angle>\n    </Watermark>\n"
                      "    <Section Type=\"0\"");
    QTest::newRow("element between a control's font and its properties")
        << QByteArray("StrikeOut=\"0\"/>\n            <Prop Name=\"DataField\"")
        << QByteArray("StrikeOut=\"0\"/>\n            <Shadow Depth=\"2\"/>\n"
                      "            <Prop Name=\"DataField\"");
    QTest::newRow("attribute after a control property's name")
        << QByteArray("<Prop Name=\"DataField\">编号")
        << QByteArray("<Prop Name=\"DataField\" Bind=\"2\">编号");
    QTest::newRow("attribute before a control property's name")
        << QByteArray("<Prop Name=\"SummaryType\">")
        << QByteArray("<Prop Scope=\"页\" Name=\"SummaryType\">");
    QTest::newRow("attribute between a property's name and its line breaks")
        << QByteArray("<Prop Name=\"Html\" Breaks=\"CRLF\">")
        << QByteArray("<Prop Name=\"Html\" Kind=\"x\" Breaks=\"CRLF\">");
    QTest::newRow("attribute on a section property")
        << QByteArray("<Prop Name=\"DataField\">部门")
        << QByteArray("<Prop Name=\"DataField\" Sort=\"desc\">部门");
    QTest::newRow("attribute on a report property")
        << QByteArray("<Prop Name=\"Title\">") << QByteArray("<Prop Name=\"Title\" Lang=\"zh\">");
    QTest::newRow("attribute on the script, before its line breaks")
        << QByteArray("<Script Breaks=\"CRLF\">")
        << QByteArray("<Script Language=\"VBScript\" Breaks=\"CRLF\">");
    QTest::newRow("attribute on the script, after its line breaks")
        << QByteArray("<Script Breaks=\"CRLF\">")
        << QByteArray("<Script Breaks=\"CRLF\" Language=\"VBScript\">");
}

void TestReportLayout::unknownPartsKept()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    ReportLayout layout = everyClassLayout();
    layout.script = u"Sub OnReportStart\r\nEnd Sub\r\n"_s;
    layout.props.set(u"Title"_s, u"名册"_s);
    layout.dataSection()->control(u"RichEdit1"_s)->props.set(u"Html"_s, u"<p>一</p>\r\n"_s);
    QByteArray bytes = LayoutXml::write(layout);
    QCOMPARE(bytes.count(from), 1);
    bytes.replace(from, to);
    const auto loaded = LayoutXml::read(bytes);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error()));
    QCOMPARE(loaded->dataSection()->control(u"Field1"_s)->props.value(u"DataField"_s), u"编号"_s);
    QCOMPARE(loaded->script, layout.script);
    QCOMPARE(QString::fromUtf8(LayoutXml::write(*loaded)), QString::fromUtf8(bytes));
    // A copy keeps them too.
    const ReportLayout copy = *loaded;
    QCOMPARE(LayoutXml::write(copy), bytes);
}

void TestReportLayout::fileBytesEqualBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"名册.rpx"_s);
    const ReportLayout layout = everyClassLayout();
    QVERIFY(LayoutXml::writeFile(layout, path).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), LayoutXml::write(layout));
    const auto loaded = LayoutXml::readFile(path);
    QVERIFY(loaded.ok());
    QCOMPARE(LayoutXml::write(*loaded), LayoutXml::write(layout));
    QVERIFY(!LayoutXml::readFile(dir.filePath(u"missing.rpx"_s)).ok());
}

void TestReportLayout::brokenInputFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QByteArray good = LayoutXml::write(everyClassLayout());
    QTest::newRow("empty") << QByteArray() << u"Not a report layout"_s;
    QTest::newRow("not XML") << QByteArray("PK\x03\x04 binary") << u"Not a report layout"_s;
    QTest::newRow("other root") << QByteArray("<ActiveReportsLayout/>") << u"Not a report layout"_s;
    QTest::newRow("no version") << QByteArray("<Report Name=\"a\"/>") << u"no format version"_s;
    QTest::newRow("cut short") << good.left(good.size() / 2) << u"cannot be read"_s;
    QByteArray badClass = good;
    badClass.replace("DDActiveReports2.Shape", "DDActiveReports2.Chart");
    QTest::newRow("unknown class")
        << badClass << u"Unknown control class \"DDActiveReports2.Chart\""_s;
    QByteArray badNumber = good;
    badNumber.replace("Height=\"406\"", "Height=\"abc\"");
    QTest::newRow("bad number") << badNumber << u"Height"_s;
}

void TestReportLayout::brokenInputFails()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const auto loaded = LayoutXml::read(bytes);
    QVERIFY(!loaded.ok());
    QVERIFY2(loaded.error().contains(message), qPrintable(loaded.error()));
}

void TestReportLayout::classRegistry_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("typeName");
    QTest::newRow("full name") << u"DDActiveReports2.Field"_s << u"Field"_s;
    QTest::newRow("case: Barcode") << u"DDActiveReports2.Barcode"_s << u"BarCode"_s;
    QTest::newRow("case: BARCODE, no prefix") << u"BARCODE"_s << u"BarCode"_s;
    QTest::newRow("subreport") << u"ddactivereports2.subreport"_s << u"SubReport"_s;
    QTest::newRow("DAO data control") << u"DDActiveReports2.DAODataControl"_s << u"DataControl"_s;
    QTest::newRow("RDO data control") << u"DDActiveReports2.RDODataControl"_s << u"DataControl"_s;
    QTest::newRow("unknown") << u"DDActiveReports2.Chart"_s << QString();
}

void TestReportLayout::classRegistry()
{
    QFETCH(QString, className);
    QFETCH(QString, typeName);
    ControlKind kind;
    const bool known = ControlClass::lookup(className, &kind);
    QCOMPARE(known, !typeName.isEmpty());
    if (known)
        QCOMPARE(ControlClass::typeName(kind), typeName);
}

void TestReportLayout::copiesAreDeep()
{
    ReportLayout master = everyClassLayout();
    ReportControl *sub = master.findControl(u"subreport1"_s);
    QVERIFY(sub);
    sub->subreport = std::make_shared<ReportLayout>(everyClassLayout());
    ReportLayout copy = master;
    copy.findControl(u"SubReport1"_s)->subreport->dataControl()->props.set(u"Source"_s, u"x"_s);
    copy.dataControl()->props.set(u"Source"_s, u"y"_s);
    QVERIFY(master.findControl(u"SubReport1"_s)->subreport->dataControl()->props.value(u"Source"_s)
            != u"x");
    QVERIFY(master.dataControl()->props.value(u"Source"_s) != u"y");
    // Names are unique in the report, whatever their case.
    Section &detail = *master.dataSection();
    QCOMPARE(master.addControl(detail, u"DDActiveReports2.Field"_s, u"FIELD1"_s)->name,
             u"Field2"_s);
}

void TestReportLayout::sampleLayoutsAreCanonical_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("persons by department") << u"persons_by_department.rpx"_s;
    QTest::newRow("wage list") << u"wage_list.rpx"_s;
}

// The layouts shipped as samples load, and saving them changes no byte.
void TestReportLayout::sampleLayoutsAreCanonical()
{
    QFETCH(QString, file);
    QFile f(QStringLiteral(REPORT_SAMPLES_DIR) + u'/' + file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const auto layout = LayoutXml::read(bytes);
    QVERIFY2(layout.ok(), qPrintable(layout.error()));
    QVERIFY(layout->dataControl());
    QCOMPARE(QString::fromUtf8(LayoutXml::write(*layout)), QString::fromUtf8(bytes));
}

QTEST_GUILESS_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
