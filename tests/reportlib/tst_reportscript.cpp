// The report library without a database: export settings, the report script, vbo's own
// functions (DX, Format, Choose, Switch, IIf).
#include "platform/vbscript/varformat.h"
#include "reportlib/modmain.h"
#include "reportlib/vbo.h"

#include <QDate>
#include <QTest>

using namespace Qt::StringLiterals;
using vantrel::vbscript::Variant;

namespace {

Variant call(ferrolyn::Vbo &vbo, const QString &method, std::vector<Variant> args)
{
    vantrel::vbscript::HostCall c(args);
    return vbo.invoke(vbo.memberId(method), c);
}

QString show(const Variant &v)
{
    if (v.isNull())
        return u"<Null>"_s;
    return v.toText().value_or(u"<?>"_s);
}

Variant dateValue(int y, int m, int d)
{
    return Variant::fromDate(double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))));
}

} // namespace

class TestReportScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { ferrolyn::modMain().settings = ferrolyn::ExportSettings(); }

    void exportSettings_data()
    {
        QTest::addColumn<QString>("epara");
        QTest::addColumn<QString>("expected");
        const QString defaults = u"8|-1|28|-1|0|850|113|0|-1|-1"_s;
        QTest::newRow("empty changes nothing") << QString() << defaults;
        QTest::newRow("three fields") << u"4|0|10"_s << u"4|0|10|-1|0|850|113|0|-1|-1"_s;
        QTest::newRow("all ten") << u"9|0|1|0|-1|2|3|-1|0|0"_s << u"9|0|1|0|-1|2|3|-1|0|0"_s;
        QTest::newRow("eleventh ignored")
            << u"9|0|1|0|-1|2|3|-1|0|0|77"_s << u"9|0|1|0|-1|2|3|-1|0|0"_s;
        QTest::newRow("True and False words")
            << u"8|False|28|True|true"_s << u"8|0|28|-1|-1|850|113|0|-1|-1"_s;
        QTest::newRow("any non-zero is True") << u"8|5"_s << defaults;
        QTest::newRow("abc: number 0, flag kept")
            << u"abc|abc"_s << u"0|-1|28|-1|0|850|113|0|-1|-1"_s;
        QTest::newRow("leading number") << u"12px|-1|30.6"_s << u"12|-1|31|-1|0|850|113|0|-1|-1"_s;
        QTest::newRow("Integer out of range kept") << u"40000"_s << defaults;
        QTest::newRow("Long out of range kept") << u"8|-1|99999999999"_s << defaults;
        QTest::newRow("missing middle field kept") << u"8||5"_s << u"8|-1|5|-1|0|850|113|0|-1|-1"_s;
    }
    void exportSettings()
    {
        QFETCH(QString, epara);
        QFETCH(QString, expected);
        QCOMPARE(ferrolyn::BuildExportSettings(), u"8|-1|28|-1|0|850|113|0|-1|-1"_s);
        ferrolyn::ParseExportSettings(epara);
        QCOMPARE(ferrolyn::BuildExportSettings(), expected);
        QCOMPARE(ferrolyn::modMain().settings.PdfJPGQuality, 75);
    }

    void appFilePath()
    {
        const QString path = ferrolyn::GetAppFilePath(u"kelm.chm"_s);
        QVERIFY(path.endsWith(u"/kelm.chm"_s));
        QVERIFY(!path.contains(u"//"_s));
    }

    void reportScript_data()
    {
        QTest::addColumn<QString>("userScript");
        QTest::addColumn<bool>("appended");
        QTest::newRow("none") << QString() << false;
        QTest::newRow("blanks only") << u"  \t "_s << false;
        QTest::newRow("a prelude, untrimmed") << u" Function A()\r\nEnd Function"_s << true;
    }
    void reportScript()
    {
        QFETCH(QString, userScript);
        QFETCH(bool, appended);
        ferrolyn::modMain().gScript = userScript;
        // Line ends are CR LF; the blanks at line ends are part of the text.
        QString expected = uR"(Function getChartDataFromRecordset(rs) 
getChartDataFromRecordset = vbo.getChartDataFromRecordset(rs) 

End Function

Function IIf(Expression, TruePart, FalsePart) 
IIf = vbo.IIf(Expression, TruePart, FalsePart)

End Function

Function Format(expr, fmt) 
 Format = vbo.Format(expr, fmt)

End Function

Function DX(x) 
 DX = vbo.DX(x)

End Function

Function CreateReportByFile(sfile) 
Set CreateReportByFile = vbo.CreateReportByFile(sfile) 

End Function

Function CreateReportByFileTemplate(sReportfile, cnn, rssql) 
Set CreateReportByFileTemplate = vbo.CreateReportByFileTemplate(sReportfile, cnn, rssql) 

End Function

Function GetSalary(PSNumber,sSort,nFdate,sField) 
GetSalary = vbo.GetSalary(PSNumber,sSort,nFdate,sField) 

End Function

Function GetPreSalary(PSNumber,sSort,nFdate,nPer,sField) 
GetPreSalary = vbo.GetPreSalary(PSNumber,sSort,nFdate,nPer,sField) 

End Function

Function Sum(sField) 
Sum = vbo.Sum(sField) 

End Function

Function Avg(sField) 
Avg = vbo.Avg(sField) 

End Function

Function Max(sField) 
Max = vbo.Max(sField) 

End Function

Function Min(sField) 
Min = vbo.Min(sField) 

End Function

Function Count() 
Count = vbo.Count() 

End Function

)"_s;
        expected.replace(u"\n"_s, u"\r\n"_s);
        if (appended)
            expected += userScript;
        QCOMPARE(ferrolyn::BuildReportScript(), expected);
        ferrolyn::modMain().gScript.clear();
    }

    void dx_data()
    {
        QTest::addColumn<Variant>("x");
        QTest::addColumn<QString>("expected");
        QTest::newRow("234.50") << Variant(234.5) << u"贰佰叁拾肆元伍角整"_s;
        QTest::newRow("101") << Variant(qint32(101)) << u"壹佰零壹元整"_s;
        QTest::newRow("1E8") << Variant(1e8) << u"壹亿元整"_s;
        QTest::newRow("1.201E8") << Variant(1.201e8) << u"壹亿贰仟零壹拾万元整"_s;
        QTest::newRow("-3") << Variant(qint32(-3)) << u"负叁元整"_s;
        QTest::newRow("0") << Variant(qint32(0)) << u"零元整"_s;
        QTest::newRow("abc") << Variant(u"abc"_s) << u"非数字"_s;
        QTest::newRow("1E13") << Variant(1e13) << u"溢出"_s;
        QTest::newRow("9999999999999.99")
            << Variant(9999999999999.99)
            << u"玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"_s;
        QTest::newRow("0.5") << Variant(0.5) << u"伍角整"_s;
        QTest::newRow("0.05") << Variant(0.05) << u"伍分"_s;
        QTest::newRow("text 1234.56") << Variant(u"1234.56"_s) << u"壹仟贰佰叁拾肆元伍角陆分"_s;
        QTest::newRow("1000.06") << Variant(1000.06) << u"壹仟元零陆分"_s;
    }
    void dx()
    {
        QFETCH(Variant, x);
        QFETCH(QString, expected);
        QCOMPARE(ferrolyn::Vbo::DX(x), expected);
    }

    // The amount is written in the C locale whatever the user's regional format.
    void dxIgnoresLocale()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString text = ferrolyn::Vbo::DX(Variant(1234.5));
        QLocale::setDefault(before);
        QCOMPARE(text, u"壹仟贰佰叁拾肆元伍角整"_s);
    }

    void format_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("expected");
        const Variant may1 = dateValue(2024, 5, 1);
        QTest::newRow("Long Date") << may1 << u"Long Date"_s << u"2024年5月1日"_s;
        QTest::newRow("Short Date") << may1 << u"Short Date"_s << u"2024/5/1"_s;
        QTest::newRow("yyyy-mm-dd") << may1 << u"yyyy-mm-dd"_s << u"2024-05-01"_s;
        QTest::newRow("weekday, Sunday first") << may1 << u"w"_s << u"4"_s;
        QTest::newRow("week of 1 January is week 1") << dateValue(2022, 1, 1) << u"ww"_s << u"1"_s;
        QTest::newRow("first Sunday starts week 2") << dateValue(2022, 1, 2) << u"ww"_s << u"2"_s;
        QTest::newRow("quarter and day of year") << may1 << u"q/y"_s << u"2/122"_s;
        QTest::newRow("dddd") << may1 << u"dddd"_s << u"星期三"_s;
        QTest::newRow("quoted literal") << may1 << u"yyyy\"年\"m\"月\""_s << u"2024年5月"_s;
        QTest::newRow("Standard") << Variant(1234.5) << u"Standard"_s << u"1,234.50"_s;
        QTest::newRow("Fixed") << Variant(-0.456) << u"Fixed"_s << u"-0.46"_s;
        QTest::newRow("Percent") << Variant(0.125) << u"Percent"_s << u"12.50%"_s;
        QTest::newRow("Scientific") << Variant(12345.0) << u"Scientific"_s << u"1.23E+04"_s;
        QTest::newRow("Currency") << Variant(1234.5) << u"Currency"_s << u"¥1,234.50"_s;
        QTest::newRow("Yes/No") << Variant(qint32(0)) << u"Yes/No"_s << u"否"_s;
        QTest::newRow("#,##0.00") << Variant(1234567.891) << u"#,##0.00"_s << u"1,234,567.89"_s;
        QTest::newRow("0000") << Variant(qint32(42)) << u"0000"_s << u"0042"_s;
        QTest::newRow("#.##") << Variant(0.5) << u"#.##"_s << u".5"_s;
        QTest::newRow("half away from zero") << Variant(2.5) << u"0"_s << u"3"_s;
        QTest::newRow("negative section") << Variant(qint32(-5)) << u"0;(0)"_s << u"(5)"_s;
        QTest::newRow("zero section") << Variant(qint32(0)) << u"0;(0);\"零\""_s << u"零"_s;
        QTest::newRow("number text") << Variant(u"12.3"_s) << u"0.00"_s << u"12.30"_s;
        QTest::newRow("text codes") << Variant(u"abc"_s) << u">@@@@"_s << u" ABC"_s;
        QTest::newRow("text with literal") << Variant(u"1234"_s) << u"@@-@@"_s << u"12-34"_s;
        QTest::newRow("no codes") << Variant(2.5) << QString() << u"2.5"_s;
        QTest::newRow("Null") << Variant::null() << u"0.00"_s << QString();
    }
    void format()
    {
        QFETCH(Variant, value);
        QFETCH(QString, codes);
        QFETCH(QString, expected);
        ferrolyn::Vbo vbo;
        QCOMPARE(show(call(vbo, u"Format"_s, { value, Variant(codes) })), expected);
    }

    void chooseSwitchIIf_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Choose 2") << u"Choose"_s << QVariantList { 2, u"a"_s, u"b"_s } << u"b"_s;
        QTest::newRow("Choose 2.9 rounds down")
            << u"Choose"_s << QVariantList { 2.9, u"a"_s, u"b"_s, u"c"_s } << u"b"_s;
        QTest::newRow("Choose 0") << u"Choose"_s << QVariantList { 0, u"a"_s } << u"<Null>"_s;
        QTest::newRow("Choose past the end")
            << u"Choose"_s << QVariantList { 3, u"a"_s, u"b"_s } << u"<Null>"_s;
        QTest::newRow("Switch second true")
            << u"Switch"_s << QVariantList { false, u"a"_s, true, u"b"_s, true, u"c"_s } << u"b"_s;
        QTest::newRow("Switch none")
            << u"Switch"_s << QVariantList { false, u"a"_s } << u"<Null>"_s;
        QTest::newRow("IIf true") << u"IIf"_s << QVariantList { 1, u"t"_s, u"f"_s } << u"t"_s;
        QTest::newRow("IIf false") << u"IIf"_s << QVariantList { 0, u"t"_s, u"f"_s } << u"f"_s;
    }
    void chooseSwitchIIf()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, args);
        QFETCH(QString, expected);
        std::vector<Variant> values;
        for (const QVariant &a : args) {
            if (a.typeId() == QMetaType::Bool)
                values.push_back(Variant(a.toBool()));
            else if (a.typeId() == QMetaType::Double)
                values.push_back(Variant(a.toDouble()));
            else if (a.typeId() == QMetaType::Int)
                values.push_back(Variant(qint32(a.toInt())));
            else
                values.push_back(Variant(a.toString()));
        }
        ferrolyn::Vbo vbo;
        QCOMPARE(show(call(vbo, method, values)), expected);
    }
};

QTEST_GUILESS_MAIN(TestReportScript)
#include "tst_reportscript.moc"
