#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "core/script/templatemerge.h"
#include "testdatabase.h"
#include "wagefixture.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTemplateMerge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void merge_data();
    void merge();
    void failingBlockFailsTheMerge_data();
    void failingBlockFailsTheMerge();
    void expandAlone();
    void findExpression_data();
    void findExpression();
    void recordsetRowOnBothBackends();
};

namespace {

QVariant field(const QString &title)
{
    static const QHash<QString, QVariant> row = {
        { u"姓名"_s, u"张三"_s },
        { u"备注"_s, u"他说\"你好\""_s },
        { u"恶意"_s, u"\" & SUM(\"基本工资\") & \"{$ 1 + 1 $}[姓名]"_s },
        { u"日期"_s, QDateTime(QDate(2007, 1, 5), QTime(0, 0)) },
        { u"金额"_s, 1234.5 },
        { u"负数"_s, -20.0 },
        { u"空"_s, QVariant(QMetaType::fromType<QString>()) },
        { u"真"_s, true },
        { u"多行"_s, u"第一行\r\n第二行"_s },
    };
    return row.value(title);
}

} // namespace

void TestTemplateMerge::initTestCase()
{
    registerHostFunctions();
}

void TestTemplateMerge::merge_data()
{
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QString &templ, const QString &expected) {
        QTest::newRow(name) << templ << expected;
    };
    row("plain fields", u"[姓名]: [金额] [日期] [真] [负数] <[空]> [不存在]|"_s,
        u"张三: 1234.5 2007-01-05 True -20 <> |"_s);
    row("quotes outside a block", u"<p>[备注]</p>"_s, u"<p>他说\"你好\"</p>"_s);
    row("quotes inside a block", u"{$ Len([备注]) & [备注] $}"_s, u"6他说\"你好\""_s);
    row("date inside a block", u"{$ Year([日期]) $}/{$ [日期] $}"_s, u"2007/2007-01-05"_s);
    row("numbers inside a block", u"{$ [金额] * 2 $} {$ 10 - [负数] $}"_s, u"2469 30"_s);
    row("boolean and NULL inside", u"{$ [真] And True $}{$ [空] & \"x\" $}"_s, u"Truex"_s);
    row("line breaks inside", u"{$ Len([多行]) $}"_s, u"8"_s);
    row("nested block", u"{$ IIF({$ [金额] > 1000 $}, \"高\", \"低\") $}"_s, u"高"_s);
    row("nested text value", u"{$ Len({$ [姓名] & \"先生\" $}) $}"_s, u"4"_s);
    row("twice nested", u"{$ 1 + {$ 2 * {$ 3 $} $} $}"_s, u"7"_s);
    row("hostile value outside", u"[恶意]"_s, u"\" & SUM(\"基本工资\") & \"{$ 1 + 1 $}[姓名]"_s);
    row("hostile value inside", u"{$ [恶意] $}"_s,
        u"\" & SUM(\"基本工资\") & \"{$ 1 + 1 $}[姓名]"_s);
    row("hostile value nested", u"{$ Len({$ [恶意] $}) $}"_s, u"34"_s);
    row("empty value is the own text", u"{$ noSuchVariable $}"_s, u"noSuchVariable"_s);
    row("empty block", u"a{$ $}b"_s, u"ab"_s);
    row("lone markers stay", u"a {$ \"b\" & [姓名] $} d $} e {$ f"_s, u"a b张三 d $} e {$ f"_s);
    row("lone open around a block", u"{$ x {$ 2 + 2 $}"_s, u"{$ x 4"_s);
    row("html spaces and entities", u"{$&nbsp;1&nbsp;&lt;&nbsp;2\u00A0$}{$ \"a\" &amp; \"b\" $}"_s,
        u"Trueab"_s);
    row("host function", u"{$ DX([金额]) $}"_s, u"壹仟贰佰叁拾肆元伍角"_s);
    row("equal blocks", u"{$ 1+1 $}{$ 1+1 $}"_s, u"22"_s);
    row("brackets around a field", u"[[姓名]]"_s, u"[张三]"_s);
}

void TestTemplateMerge::merge()
{
    QFETCH(QString, templateText);
    QFETCH(QString, expected);
    CScriptHostProxy host;
    host.CreateEngine();
    QCOMPARE(MergeTemplateFields(&host, field, templateText), expected);
}

void TestTemplateMerge::failingBlockFailsTheMerge_data()
{
    QTest::addColumn<QString>("templateText");
    QTest::newRow("division by zero") << u"ok {$ 1 / 0 $}"_s;
    QTest::newRow("type mismatch") << u"{$ [备注] + 1 $}"_s;
    QTest::newRow("syntax") << u"{$ 1 + $}"_s;
    QTest::newRow("inner block") << u"{$ 1 + {$ CInt(\"x\") $} $}"_s;
}

void TestTemplateMerge::failingBlockFailsTheMerge()
{
    QFETCH(QString, templateText);
    CScriptHostProxy host;
    host.CreateEngine();
    QCOMPARE(MergeTemplateFields(&host, field, templateText), QString());
    QVERIFY(host.lastError().number() != 0);
    QCOMPARE(MergeTemplateFields(nullptr, field, u"[姓名]"_s), QString());
}

void TestTemplateMerge::expandAlone()
{
    CScriptHostProxy host;
    host.CreateEngine();
    QString text = u"[姓名] {$ 1 + 2 $} {$ \"[x]\" $}"_s;
    QCOMPARE(ExpandTemplateExpressions(text, &host), 1);
    QCOMPARE(text, u"[姓名] 3 [x]"_s);
    text = u"{$ 1 $} {$ 1 / 0 $}"_s;
    QCOMPARE(ExpandTemplateExpressions(text, &host), 0);
    QCOMPARE(text, u"{$ 1 $} {$ 1 / 0 $}"_s);
    QCOMPARE(ExpandTemplateExpressions(text, nullptr), 0);
    CScriptHostProxy stopped;
    text = u"{$ 1 $}"_s;
    QCOMPARE(ExpandTemplateExpressions(text, &stopped), 0);
}

void TestTemplateMerge::findExpression_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("one") << u"a{$b$}c"_s << 2 << 4;
    QTest::newRow("innermost") << u"{$a{$b$}$}"_s << 4 << 6;
    QTest::newRow("no close") << u"{$a"_s << -1 << -1;
    QTest::newRow("no open") << u"a$}"_s << -1 << 1;
    QTest::newRow("touching markers") << u"{$}"_s << -1 << 1;
}

void TestTemplateMerge::findExpression()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    qsizetype s = 0;
    qsizetype e = 0;
    FindTemplateExpression(text, u"{$"_s, u"$}"_s, &s, &e);
    QCOMPARE(s, qsizetype(start));
    QCOMPARE(e, qsizetype(end));
}

void TestTemplateMerge::recordsetRowOnBothBackends()
{
    TestDatabase fixture;
    VANTREL_OPEN_TEST_DB(fixture, theDatabase, true);
    WageFixture wages;
    QVERIFY2(wages.build(theDatabase, fixture.connectionString()), qPrintable(wages.error));
    const QString pay = GetItemNameByTitleAlias(u"月度工资.基本工资"_s);
    const QString paid = GetItemNameByTitleAlias(u"月度工资.发放日期"_s);
    const QString note = GetItemNameByTitleAlias(u"月度工资.备注"_s);
    const auto source = wages.wageView(200701).render(theDatabase);
    QVERIFY2(source, qPrintable(source.error()));
    CADORecordset rs(&theDatabase);
    QVERIFY(
        rs.Open(u"SELECT qz_PsnBase.Name AS \"姓名\", %1.%2 AS \"基本工资\", %1.%3 AS \"发放日期\","
                " %1.%4 AS \"备注\" %5 AND qz_PsnBase.Number = ?"_s.arg(wages.monthlyTable, pay,
                                                                        paid, note, source->sql),
                source->values + QVariantList { u"0001"_s }));
    QVERIFY(!rs.IsEof());
    CScriptHostProxy host;
    host.CreateEngine();
    QCOMPARE(
        MergeTemplateFields(&host, rs,
                            u"[姓名]：{$ DX([基本工资]) $}，[发放日期]，{$ [备注] & \"工资\" $}，"
                            "{$ GETPRESALARY(\"0001\", SNAME, SDATE, 2, \"基本工资\") $}"_s),
        u"张三：叁仟贰佰元整，2007-01-05，1月工资，3000"_s);
    theDatabase.Close();
}

QTEST_GUILESS_MAIN(TestTemplateMerge)
#include "tst_templatemerge.moc"
