#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "core/script/wageformula.h"
#include "testdatabase.h"
#include "wagefixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestWageFormula : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void check_data();
    void check();
    void stripBracketsInQuotes_data();
    void stripBracketsInQuotes();
    void replaceReferences();
    void counts();
    void lostConnectionIsNoUnknownItem();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWageFormula::initTestCase()
{
    registerHostFunctions();
    // Script errors would be shown on this thread; the check's own message is the result.
    CScriptHostProxy::setErrorPresenter({});
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    WageFixture wages;
    QVERIFY2(wages.build(theDatabase, m_fixture->connectionString()), qPrintable(wages.error));
}

void TestWageFormula::cleanupTestCase()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWageFormula::check_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("message"); // empty: the formula passes
    const QString badExpression = u"错误公式表达式,请检查函数名和参数是否正确!"_s;
    const auto row = [](const char *name, const QString &formula, const QString &message) {
        QTest::newRow(name) << formula << message;
    };
    row("number", u"[月度工资.基本工资] * 2"_s, {});
    row("two numbers", u"[月度工资.基本工资] + [月度工资.奖金] / 3"_s, {});
    row("divide by a reference", u"[月度工资.基本工资] / [月度工资.奖金]"_s, {});
    row("same reference twice", u"[月度工资.基本工资] - [月度工资.基本工资] / 2"_s, {});
    row("text", u"[月度工资.备注] & \"元\""_s, {});
    row("date", u"Year([月度工资.发放日期]) - 2000"_s, {});
    row("person text", u"IIF([人员信息.姓名] = \"张三\", 1, 2)"_s, {});
    row("person date", u"DateAdd(\"yyyy\", 60, [人员信息.出生日期])"_s, {});
    row("host functions", u"SUM(\"基本工资\") / COUNT + Len(DX(1))"_s, {});
    row("square brackets", u"[月度工资.基本工资 * 2"_s, u"中括号不配对!"_s);
    row("parentheses", u"([月度工资.基本工资] * 2"_s, u"小括号不配对!"_s);
    row("double quote", u"\"abc & [月度工资.基本工资]"_s, u"双引号不配对!"_s);
    row("single quote", u"[月度工资.基本工资] ' note"_s, u"单引号不配对!"_s);
    row("brackets before parentheses", u"([月度工资.基本工资"_s, u"中括号不配对!"_s);
    row("unknown item", u"[月度工资.不存在] + 1"_s, u"项目名称'月度工资.不存在'不匹配!"_s);
    row("unknown table", u"[年度工资.基本工资] + 1"_s, u"项目名称'年度工资.基本工资'不匹配!"_s);
    row("no table", u"[基本工资] + 1"_s, u"项目名称'基本工资'不匹配!"_s);
    row("link item has no test value", u"[人员信息.部门] + 1"_s,
        u"项目名称'人员信息.部门'不匹配!"_s);
    row("unknown item before a bad expression", u"[月度工资.不存在] + * 2"_s,
        u"项目名称'月度工资.不存在'不匹配!"_s);
    row("closing parenthesis first", u")[月度工资.基本工资]("_s, badExpression);
    row("unknown function", u"NoSuch([月度工资.基本工资])"_s, badExpression);
    row("undefined name is Empty", u"undefinedName"_s, badExpression);
    row("syntax", u"[月度工资.基本工资] *"_s, badExpression);
    row("type mismatch", u"[月度工资.备注] * 2"_s, badExpression);
}

void TestWageFormula::check()
{
    QFETCH(QString, formula);
    QFETCH(QString, message);
    const vantrel::Status status = CheckWageFormula(formula);
    QCOMPARE(status.error(), message);
    QCOMPARE(status.ok(), message.isEmpty());
}

void TestWageFormula::stripBracketsInQuotes_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two literals") << u"IIF([月度工资.基本工资] > 0, \"[正]\", \"[负]\")"_s
                                  << u"IIF([月度工资.基本工资] > 0, \"正\", \"负\")"_s;
    QTest::newRow("reference between literals")
        << u"\"[a]\" & [月度工资.备注] & \"c]\""_s << u"\"a\" & [月度工资.备注] & \"c\""_s;
    QTest::newRow("doubled quotes") << u"\"a\"\"[b]\"\"c\""_s << u"\"a\"\"b\"\"c\""_s;
    QTest::newRow("unpaired quote") << u"[x] & \"[y]"_s << u"[x] & \"[y]"_s;
    QTest::newRow("after a pair") << u"\"[a]\" & \"[b]"_s << u"\"a\" & \"[b]"_s;
    QTest::newRow("no quotes") << u"[月度工资.基本工资] * 2"_s << u"[月度工资.基本工资] * 2"_s;
}

void TestWageFormula::stripBracketsInQuotes()
{
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    StripBracketsInQuotes(formula);
    QCOMPARE(formula, expected);
}

void TestWageFormula::replaceReferences()
{
    const QString pay
        = GetScalarText(u"SELECT Name FROM qz_Items WHERE Alias = '基本工资'"_s).valueOr({});
    const QString bonus
        = GetScalarText(u"SELECT Name FROM qz_Items WHERE Alias = '奖金' ORDER BY ItemID"_s)
              .valueOr({});
    QString formula = u"[月度工资.基本工资] * 2 + [月度工资.基本工资] + [月度工资.奖金]"_s
                      u" + Year([人员信息.出生日期]) + [年终奖.奖金]"_s;
    QCOMPARE(ReplaceFormulaReferences(formula), 4);
    const QString yearEndBonus
        = GetScalarText(u"SELECT Name FROM qz_Items WHERE Alias = '奖金' ORDER BY ItemID DESC"_s)
              .valueOr({});
    QCOMPARE(formula,
             u"{%1} * 2 + {%1} + {%2} + Year({Birthday}) + {%3}"_s.arg(pay, bonus, yearEndBonus));
    QVERIFY(pay.startsWith(u'F') && bonus != yearEndBonus);
    formula = u"\"no references\""_s;
    QCOMPARE(ReplaceFormulaReferences(formula), 0);
}

void TestWageFormula::counts()
{
    QVERIFY(AreCharCountsEqual(u")(a)("_s, u'(', u')'));
    QVERIFY(!AreCharCountsEqual(u"[[a]"_s, u'[', u']'));
    QVERIFY(IsCharCountEven(u"\"a\" & \"b\""_s, u'"'));
    QVERIFY(!IsCharCountEven(u"it's"_s, u'\''));
    QVERIFY(IsCharCountEven(QString(), u'"'));
}

void TestWageFormula::lostConnectionIsNoUnknownItem()
{
    QVERIFY2(m_fixture->loseConnection(theDatabase), qPrintable(m_fixture->error()));
    const vantrel::Status status = CheckWageFormula(u"[月度工资.基本工资] * 2"_s);
    QVERIFY(!status);
    QVERIFY(!status.error().isEmpty());
    QVERIFY2(!status.error().startsWith(u"项目名称"_s), qPrintable(status.error()));
    QVERIFY(theDatabase.Open(m_fixture->connectionString()));
}

QTEST_GUILESS_MAIN(TestWageFormula)
#include "tst_wageformula.moc"
