#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/payroll/wagecalculator.h"
#include "core/payroll/wageformulaprogram.h"
#include "core/payroll/wageround.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "payroll/wageitemsave.h"
#include "payroll/wageperiods.h"
#include "payroll/wagescope.h"
#include "payroll/wagesetupprocedures.h"
#include "testdatabase.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

constexpr int Period = 202402;
constexpr int EarlierPeriod = 202311; // three months back, across the turn of the year

int insert(const QString &table, const QStringList &columns, const QVariantList &values,
           const QString &key)
{
    return InsertReturningId(table, columns, values, key);
}

// Records what the calculation tells its caller; cancels once at the row asked for.
struct FakeProgress : WageCalcObserver
{
    int cancelItem = -1;
    int cancelAfterRows = 0;
    int item = 0;
    int rows = 0;
    QStringList items;
    QStringList failures;

    void beginItem(const QString &alias, int index, int, int) override
    {
        item = index;
        rows = 0;
        items << alias;
    }
    bool rowDone() override { return item == cancelItem && ++rows == cancelAfterRows; }
    void formulaFailed(const QString &alias, const QString &) override { failures << alias; }
};

// Eight persons, four in each of two departments under one root, all members of 月薪. Typed
// items 基本工资 and 岗位津贴 (one NULL), text items 职级 and 备注; formulas over them in
// calculation order, one inactive formula. The period 202311 holds 基本工资 for seven of them.
struct Payroll
{
    int root = 0, deptA = 0, deptB = 0, kind = 0, sid = 0;
    QString table;
    QVector<int> pids;
    QHash<QString, QString> columns; // alias -> column
    QHash<QString, int> itemIds;
    int nextOrder = 1;

    bool make()
    {
        root = dept(0, {});
        deptA = dept(root, u"|%1|"_s.arg(root));
        deptB = dept(root, u"|%1|"_s.arg(root));
        kind = insert(u"qz_PsnSort"_s, { u"Name"_s }, { u"正式"_s }, u"AID"_s);
        const QStringList names = { u"张三"_s, u"李四"_s,   u"王小五"_s, u"赵六"_s,
                                    u"钱七"_s, u"孙小八"_s, u"周九"_s,   u"吴十"_s };
        for (int i = 0; i < names.size(); ++i)
            pids << insert(u"qz_PsnBase"_s, { u"DID"_s, u"AID"_s, u"Number"_s, u"Name"_s },
                           { i < 4 ? deptA : deptB, kind, u"N%1"_s.arg(i + 1), names.at(i) },
                           u"PID"_s);
        const vantrel::Result<int> made = AddWageSet(theDatabase, u"月薪"_s);
        if (!made)
            return false;
        sid = *made;
        table = WageSetDataTableName(sid);
        for (int i = 0; i < pids.size(); ++i)
            insert(u"qz_WagePsn"_s, { u"SID"_s, u"PID"_s, u"Ord"_s }, { sid, pids[i], i + 1 },
                   u"ID"_s);
        typed(u"基本工资"_s, 0);
        typed(u"岗位津贴"_s, 0);
        typed(u"职级"_s, 1);
        typed(u"备注"_s, 1);
        formula(u"应发合计"_s, u"{基本工资}+{岗位津贴}"_s);
        formula(u"补贴"_s, u"IIf({职级}=\"高\",500,100)"_s);
        formula(u"个税"_s,
                u"IIf({应发合计}<=5000,0,IIf({应发合计}<=8000,({应发合计}-5000)*0.03,"
                "90+({应发合计}-8000)*0.1))"_s);
        formula(u"部门分摊"_s, u"{应发合计}/SUM(\"应发合计\")*100"_s);
        formula(u"上季基本"_s, u"GETPRESALARY({Number},SNAME,SDATE,3,\"基本工资\")"_s);
        formula(u"实发全舍"_s, u"{应发合计}-{个税}+{补贴}"_s, 2, 1);
        formula(u"实发全入"_s, u"{应发合计}-{个税}+{补贴}"_s, 2, 2);
        formula(u"名序"_s, u"Len({Name})*100+{Ord}"_s);
        formula(u"停用"_s, u"1+1"_s, 2, 0, false);
        if (columns.size() != 13 || itemIds.size() != 13)
            return false;
        if (!CreateWagePeriod(theDatabase, 1, sid, EarlierPeriod)
            || !CreateWagePeriod(theDatabase, 1, sid, Period))
            return false;
        const QVariantList basic = { 3000, 4500, 6000, 8000.5, 2500, 5000, 7200, 10000 };
        const QVariantList allowance = { 500, QVariant(), 1000, 1500, 300, 800, 1200, 2000 };
        const QStringList grade
            = { u"高"_s, u"低"_s, u"低"_s, u"高"_s, u"低"_s, u"高"_s, u"低"_s, u"高"_s };
        for (int i = 0; i < pids.size(); ++i) {
            set(u"基本工资"_s, i, basic[i]);
            set(u"岗位津贴"_s, i, allowance[i]);
            set(u"职级"_s, i, grade[i]);
            set(u"停用"_s, i, 999);
            set(u"基本工资"_s, i, (i + 1) * 1000 + 0.125, EarlierPeriod);
        }
        set(u"备注"_s, 0, u"it's \"{F1}\""_s);
        // The eighth joined later: no row three months back.
        return theDatabase.Execute(u"DELETE FROM %1 WHERE PID = ? AND fDate = ?"_s.arg(table),
                                   { pids.last(), EarlierPeriod });
    }

    int dept(int parent, const QString &ancestors)
    {
        const int did = insert(u"qz_Dept"_s, { u"ParentID"_s, u"Name"_s, u"Ord"_s },
                               { parent, u"部门"_s, 0 }, u"DID"_s);
        theDatabase.Execute(
            u"UPDATE qz_Dept SET Name = ?, ParentArr = ? WHERE DID = ?"_s,
            { u"部门%1"_s.arg(did),
              QString(u"|%1"_s.arg(did) + (ancestors.isEmpty() ? u"|"_s : ancestors)), did });
        return did;
    }

    void typed(const QString &alias, int dataType)
    {
        WageItemFields fields;
        fields.sid = sid;
        fields.alias = alias;
        fields.dataType = dataType;
        fields.retain = false;
        if (!SaveWageItem(theDatabase, fields).saved)
            return;
        columns.insert(alias, WageItemColumnName(fields.itemId));
        itemIds.insert(alias, fields.itemId);
        theDatabase.Execute(u"UPDATE qz_Items SET OrdF = ? WHERE ItemID = ?"_s,
                            { nextOrder++, fields.itemId });
    }

    // A formula item; {alias} in the text stands for that item's column.
    void formula(const QString &alias, QString text, int decimals = 2, int choice = 0,
                 bool active = true)
    {
        typed(alias, 0);
        for (auto it = columns.cbegin(); it != columns.cend(); ++it)
            text.replace(u'{' + it.key() + u'}', u'{' + it.value() + u'}');
        setFormula(alias, text);
        theDatabase.Execute(u"UPDATE qz_Items SET iProperty = 1, iDec = ?, iChoice = ?, Active = ?"
                            " WHERE ItemID = ?"_s,
                            { decimals, choice, active ? 1 : 0, itemIds.value(alias) });
    }

    void setFormula(const QString &alias, const QString &text)
    {
        theDatabase.Execute(u"UPDATE qz_Items SET FExp = ? WHERE ItemID = ?"_s,
                            { text, itemIds.value(alias) });
    }

    bool set(const QString &alias, int person, const QVariant &v, int period = Period)
    {
        return theDatabase.Execute(
            u"UPDATE %1 SET %2 = ? WHERE PID = ? AND fDate = ?"_s.arg(table, columns.value(alias)),
            { v, pids.at(person), period });
    }

    QVariant value(const QString &alias, int person)
    {
        return theDatabase
            .run(
                u"SELECT %1 FROM %2 WHERE PID = ? AND fDate = ?"_s.arg(columns.value(alias), table),
                { pids.at(person), Period })
            .scalar();
    }

    // Every item of every person, as the database holds them.
    QStringList snapshot()
    {
        QStringList all;
        for (int person = 0; person < pids.size(); ++person) {
            for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
                const QVariant v = value(it.key(), person);
                all << u"%1/%2=%3"_s.arg(person + 1)
                           .arg(it.key(),
                                v.isNull() ? u"NULL"_s : QString::number(v.toDouble(), 'g', 15));
            }
        }
        all.sort();
        return all;
    }

    // The view of one department (0: all) published as the payroll context, as the payroll
    // window does on activation, and its rows as the calculation's scope.
    WageCalcScope view(int department)
    {
        CCurrentUser everyone(u"op"_s, {}, 1);
        everyone.ParsePurview(u"ffffffffffffffff|||"_s);
        const auto where = BuildWageWhere(theDatabase, { table, Period, department, 0 }, everyone);
        theApp.SID = sid;
        theApp.SDate = Period;
        theApp.SName = u"月薪"_s;
        theApp.m_wageView
            = WageScopeSource(table, where ? *where : vantrel::personnel::SqlCondition());
        return { table,
                 Period,
                 { where ? where->sql : QString(), where ? where->values : QVariantList() } };
    }
};

} // namespace

class TestWageCalc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void rounding_data();
    void rounding();
    void fifteenDigitsAsTextReadsThem();
    void formulaValues_data();
    void formulaValues();
    void workedPayroll_data();
    void workedPayroll();
    void personFormMatchesFullForm();
    void cancelSkipsTheRestOfOneItem();
    void failingFormulaReportedOnce();
    void fullRunReclaimsRewrittenRows();
    void refusedRowSkippedOthersStored();

private:
    TestDatabase *m_fixture = nullptr;
    Payroll p;
    CScriptHostProxy m_host;
};

void TestWageCalc::initTestCase()
{
    registerHostFunctions();
    registerWageSetupProcedures(vantrel::db::ProcedureRegistry::instance());
    registerWagePeriodProcedures(vantrel::db::ProcedureRegistry::instance());
    CScriptHostProxy::setErrorPresenter({});
}

void TestWageCalc::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    p = Payroll();
    QVERIFY2(p.make(), qPrintable(theDatabase.GetLastErrorString()));
    QCOMPARE(m_host.CreateEngine(), 1);
}

void TestWageCalc::cleanup()
{
    m_host.ReleaseEngine();
    theApp.m_wageView = {};
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWageCalc::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("mode"); // 0 half away from zero, 1 floor, 2 ceiling
    QTest::addColumn<double>("expected");
    const auto row = [](const char *name, double v, int d, int m, double e) {
        QTest::newRow(name) << v << d << m << e;
    };
    row("1234.56 全舍", 1234.56, 2, 1, 1234);
    row("1234.56 全入", 1234.56, 2, 2, 1235);
    row("1234.56 at 1", 1234.56, 1, 0, 1234.6);
    row("2.675 at 2", 2.675, 2, 0, 2.68);
    row("1.005 at 2", 1.005, 2, 0, 1.01);
    row("0.25 at 1", 0.25, 1, 0, 0.3);
    row("0.5 at 0", 0.5, 0, 0, 1);
    row("2.5 at 0", 2.5, 0, 0, 3);
    row("-2.5 at 0", -2.5, 0, 0, -3);
    row("-1234.56 全舍", -1234.56, 2, 1, -1235);
    row("(0.1+0.2)*10 全入", (0.1 + 0.2) * 10, 2, 2, 3);
    row("0.1+0.2 全入 iDec ignored", 0.1 + 0.2, 3, 2, 1);
}

void TestWageCalc::rounding()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(int, mode);
    QFETCH(double, expected);
    QCOMPARE(RoundWage(value, decimals, mode), expected);
    // The decimal core floors and ceils at a number of decimals too.
    QCOMPARE(RoundDecimal(0.1 + 0.2, 1, DecimalRounding::Ceiling), 0.3);
    QCOMPARE(RoundDecimal(-1234.56, 1, DecimalRounding::Floor), -1234.6);
}

// The shortcut to 15 significant digits gives what the text gives, across magnitudes and at
// the half-way digits where it must ask the text.
void TestWageCalc::fifteenDigitsAsTextReadsThem()
{
    QRandomGenerator random(19);
    QVector<double> values
        = { 0.1 + 0.2,           2.675,      1.005, 1234.56 * 100, -1e-7 / 3, 123456789012345.6,
            9.99999999999999e14, 1e15 + 0.5, 0.5,   4.35 * 100,    1e-20 / 7 };
    for (int i = 0; i < 200000; ++i) {
        const double mantissa = random.generateDouble() * 2 - 1;
        values << mantissa * std::pow(10.0, random.bounded(-12, 17));
        // Sums and products of two-decimal amounts, as payroll makes them.
        values << double(random.bounded(-100000000, 100000000)) / 100 * 0.03;
    }
    for (const double v : std::as_const(values)) {
        const double expected = QString::number(v, 'g', 15).toDouble();
        if (At15Digits(v) != expected)
            QFAIL(qPrintable(u"%1 gives %2, the text %3"_s.arg(v, 0, 'g', 17)
                                 .arg(At15Digits(v), 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
    }
}

// A formula over one row as the calculation runs it: references bound (or, where they cannot
// be parameters, put in as literals), the result stored by the item's rule.
void TestWageCalc::formulaValues_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QVariantList>("row"); // {A} {B} {T}
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QVariant>("expected");
    const QVariantList amounts = { 1000, 200.26, u"x"_s };
    const auto row = [](const char *name, const QString &f, const QVariantList &r, int d, int c,
                        const QVariant &e) { QTest::newRow(name) << f << r << d << c << e; };
    row("sum 全舍", u"{A}+{B}"_s, amounts, 2, 1, 1200.0);
    row("sum 全入", u"{A}+{B}"_s, amounts, 2, 2, 1201.0);
    row("sum at 1", u"{A}+{B}"_s, amounts, 1, 0, 1200.3);
    row("VBScript Round is banker's", u"Round(2.5)"_s, amounts, 2, 0, 2.0);
    row("whole stays Integer", u"{A}*2"_s, amounts, 2, 1, 2000);
    row("Boolean", u"{A}>1"_s, amounts, 2, 0, -1);
    row("number text", u"\"12.5\""_s, amounts, 2, 0, 12.5);
    row("NULL is Empty", u"IIf(IsEmpty({B}),7,8)"_s, QVariantList { 1, QVariant(), u""_s }, 2, 0,
        7);
    row("Empty result is NULL", u"Empty"_s, amounts, 2, 0, QVariant());
    row("text with quotes read as it is", u"Len({T})"_s, QVariantList { 1, 2, u"it's \"{A}\""_s },
        2, 0, 10);
    row("date as yyyy-MM-dd", u"IIf({T}=\"2024-02-29\",1,0)"_s,
        QVariantList { 1, 2, QDate(2024, 2, 29) }, 2, 0, 1);
    row("fused references", u"{A}{A}"_s, QVariantList { 12, 0, u""_s }, 2, 0, 1212);
    row("digit before a reference", u"1{A}"_s, QVariantList { 5, 0, u""_s }, 2, 0, 15);
    row("reference in a literal", u"Len(\"<{T}>\")"_s, QVariantList { 1, 2, u"a\"b"_s }, 2, 0, 5);
    row("literal text never scanned again", u"Len(\"{T}\")+{A}"_s,
        QVariantList { 1, 2, u"{A}\"\""_s }, 2, 0, 6);
    row("a big whole number", u"{A}+1"_s, QVariantList { 3000000000.0, 0, u""_s }, 2, 0,
        3000000001.0);
}

void TestWageCalc::formulaValues()
{
    QFETCH(QString, formula);
    QFETCH(QVariantList, row);
    QFETCH(int, decimals);
    QFETCH(int, choice);
    QFETCH(QVariant, expected);
    const QStringList names = { u"A"_s, u"B"_s, u"T"_s };
    vantrel::Result<WageFormulaProgram> program = WageFormulaProgram::build(
        *m_host.engine(), formula, [&](const QString &ref) { return int(names.indexOf(ref)); });
    QVERIFY2(program, qPrintable(program.error()));
    QVector<vantrel::vbscript::Variant> values;
    for (const QVariant &v : std::as_const(row))
        values << WageFormulaValue(v);
    const vantrel::Result<vantrel::vbscript::Variant> result = program->evaluate(values);
    QVERIFY2(result, qPrintable(result.error()));
    const vantrel::Result<QVariant> stored = WageStoredValue(*result, decimals, choice);
    QVERIFY2(stored, qPrintable(stored.error()));
    QCOMPARE(stored->isNull(), expected.isNull());
    if (!expected.isNull())
        QCOMPARE(stored->toDouble(), expected.toDouble());
}

void TestWageCalc::workedPayroll_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QVariantList>("expected"); // persons 1 to 8
    const auto row = [](const char *item, const QVariantList &values) {
        QTest::newRow(item) << QString::fromUtf8(item) << values;
    };
    row("应发合计", { 3500, 4500, 7000, 9500.5, 2800, 5800, 8400, 12000 });
    row("补贴", { 500, 100, 100, 500, 100, 500, 100, 500 });
    row("个税", { 0, 0, 60, 240.05, 0, 24, 130, 490 });
    // Each department's share of its own total (24500.5 and 29000).
    row("部门分摊", { 14.29, 18.37, 28.57, 38.78, 9.66, 20, 28.97, 41.38 });
    row("上季基本", { 1000.13, 2000.13, 3000.13, 4000.13, 5000.13, 6000.13, 7000.13, 0 });
    row("实发全舍", { 4000, 4600, 7040, 9760, 2900, 6276, 8370, 12010 });
    row("实发全入", { 4000, 4600, 7040, 9761, 2900, 6276, 8370, 12010 });
    row("名序", { 201, 202, 303, 204, 205, 306, 207, 208 });
    row("停用", { 999, 999, 999, 999, 999, 999, 999, 999 });
    row("基本工资", { 3000, 4500, 6000, 8000.5, 2500, 5000, 7200, 10000 });
    row("岗位津贴", { 500, QVariant(), 1000, 1500, 300, 800, 1200, 2000 });
}

void TestWageCalc::workedPayroll()
{
    QFETCH(QString, item);
    QFETCH(QVariantList, expected);
    WageCalculator calculator(theDatabase, *m_host.engine());
    FakeProgress progress;
    for (const int department : { p.deptA, p.deptB }) {
        const auto report = calculator.RecalculateAll(p.view(department), &progress);
        QVERIFY2(report, qPrintable(report.error()));
        QCOMPARE(report->rows, 4);
        QVERIFY2(report->skipped.isEmpty(), qPrintable(report->skippedMessage()));
        QVERIFY(report->failedItems.isEmpty());
    }
    QCOMPARE(progress.items.mid(0, 8),
             QStringList({ u"应发合计"_s, u"补贴"_s, u"个税"_s, u"部门分摊"_s, u"上季基本"_s,
                           u"实发全舍"_s, u"实发全入"_s, u"名序"_s }));
    for (int person = 0; person < 8; ++person) {
        const QVariant stored = p.value(item, person);
        QVERIFY2(stored.isNull() == expected[person].isNull(),
                 qPrintable(u"person %1"_s.arg(person + 1)));
        if (!stored.isNull())
            QCOMPARE(stored.toDouble(), expected[person].toDouble());
    }
    QCOMPARE(p.value(u"职级"_s, 0).toString(), u"高"_s);
    QCOMPARE(p.value(u"备注"_s, 0).toString(), u"it's \"{F1}\""_s);
}

// The one-person form after a cell edit gives what the full form gives. The department share
// reads SUM over the view, so a first round of single persons fills every 应发合计 and the
// second round is compared.
void TestWageCalc::personFormMatchesFullForm()
{
    WageCalculator calculator(theDatabase, *m_host.engine());
    QStringList full;
    for (const int department : { p.deptA, p.deptB }) {
        QVERIFY(calculator.RecalculateAll(p.view(department), nullptr));
    }
    full = p.snapshot();
    for (const QString &alias : p.columns.keys()) {
        if (theDatabase
                .run(u"SELECT iProperty FROM qz_Items WHERE ItemID = ?"_s,
                     { p.itemIds.value(alias) })
                .scalar()
                .toInt()
            == 1) {
            for (int person = 0; person < 8; ++person)
                p.set(alias, person, alias == u"停用"_s ? QVariant(999) : QVariant());
        }
    }
    FakeProgress progress;
    for (int round = 0; round < 2; ++round) {
        for (int person = 0; person < 8; ++person) {
            const auto report = calculator.RecalculatePerson(p.view(person < 4 ? p.deptA : p.deptB),
                                                             p.pids.at(person), &progress);
            QVERIFY2(report, qPrintable(report.error()));
            QVERIFY(report->skipped.isEmpty());
        }
    }
    QCOMPARE(progress.failures, QStringList());
    QCOMPARE(p.snapshot(), full);
    // A person outside the scope is not touched.
    p.set(u"应发合计"_s, 7, 1);
    QVERIFY(calculator.RecalculatePerson(p.view(p.deptA), p.pids.at(7), nullptr));
    QCOMPARE(p.value(u"应发合计"_s, 7).toDouble(), 1.0);
}

void TestWageCalc::cancelSkipsTheRestOfOneItem()
{
    for (const QString &alias : { u"部门分摊"_s, u"上季基本"_s, u"名序"_s })
        theDatabase.Execute(u"UPDATE qz_Items SET Active = 0 WHERE ItemID = ?"_s,
                            { p.itemIds.value(alias) });
    WageCalculator calculator(theDatabase, *m_host.engine());
    FakeProgress progress;
    progress.cancelItem = 2;
    progress.cancelAfterRows = 3;
    const auto report = calculator.RecalculateAll(p.view(p.root), &progress);
    QVERIFY2(report, qPrintable(report.error()));
    QCOMPARE(progress.items.size(), 5);
    QCOMPARE(progress.items.at(1), u"补贴"_s);
    for (int person = 0; person < 8; ++person) {
        QCOMPARE(p.value(u"补贴"_s, person).isNull(), person >= 3);
        for (const QString &later : { u"个税"_s, u"实发全舍"_s, u"实发全入"_s })
            QVERIFY2(!p.value(later, person).isNull(), qPrintable(later));
    }
    // Without 补贴 the fourth person's pay is 应发合计 - 个税.
    QCOMPARE(p.value(u"实发全入"_s, 3).toDouble(), 9261.0);
}

void TestWageCalc::failingFormulaReportedOnce()
{
    p.setFormula(u"补贴"_s, u"100/({Ord}-3)"_s);
    WageCalculator calculator(theDatabase, *m_host.engine());
    FakeProgress progress;
    const auto report = calculator.RecalculateAll(p.view(p.root), &progress);
    QVERIFY2(report, qPrintable(report.error()));
    QCOMPARE(progress.failures, QStringList { u"补贴"_s });
    QCOMPARE(report->failedItems, QStringList { u"补贴"_s });
    QCOMPARE(p.value(u"补贴"_s, 0).toDouble(), -50.0);
    QCOMPARE(p.value(u"补贴"_s, 1).toDouble(), -100.0);
    for (int person = 2; person < 8; ++person)
        QVERIFY(p.value(u"补贴"_s, person).isNull());
    QCOMPARE(p.value(u"实发全舍"_s, 7).toDouble(), 11510.0);

    // An unknown reference fails its item the same way; the one-person form reports it for
    // the person and stores nothing for that item.
    p.setFormula(u"补贴"_s, u"{NoSuchColumn}+1"_s);
    progress.failures.clear();
    const auto person = calculator.RecalculatePerson(p.view(p.root), p.pids.at(2), &progress);
    QVERIFY2(person, qPrintable(person.error()));
    QCOMPARE(progress.failures, QStringList { u"补贴"_s });
    QVERIFY(p.value(u"补贴"_s, 2).isNull());
}

// PostgreSQL: a full run clears the dead row versions it left, so the aggregates of the cell
// edits that follow do not read through them; inside a caller's transaction, where VACUUM
// cannot run, it leaves them and the caller's transaction intact.
void TestWageCalc::fullRunReclaimsRewrittenRows()
{
    if (TestDatabase::backend() != vantrel::db::Backend::Postgres)
        QSKIP("the embedded database has no dead row versions to reclaim");
    const auto vacuums = [this] {
        return theDatabase
            .run(u"SELECT vacuum_count FROM pg_stat_user_tables WHERE relname = lower(?)"_s,
                 { p.table })
            .scalar()
            .toInt();
    };
    WageCalculator calculator(theDatabase, *m_host.engine());
    const int before = vacuums();
    {
        vantrel::db::DbTransaction outer(theDatabase);
        QVERIFY(calculator.RecalculateAll(p.view(p.root), nullptr));
        QVERIFY(outer.commit());
    }
    QCOMPARE(vacuums(), before);
    QVERIFY(calculator.RecalculateAll(p.view(p.root), nullptr));
    QCOMPARE(vacuums(), before + 1);
}

void TestWageCalc::refusedRowSkippedOthersStored()
{
    const QString column = p.columns.value(u"应发合计"_s);
    const bool added = TestDatabase::backend() == vantrel::db::Backend::Postgres
        ? theDatabase.Execute(
            u"ALTER TABLE %1 ADD CONSTRAINT pay_cap CHECK (%2 < 10000)"_s.arg(p.table, column))
        // SQLite adds no CHECK to an existing table: a trigger refuses the same values.
        : theDatabase.Execute(
            u"CREATE TRIGGER pay_cap BEFORE UPDATE OF %2 ON %1"
            " WHEN NEW.%2 >= 10000 BEGIN SELECT RAISE(ABORT, 'pay_cap'); END"_s.arg(p.table,
                                                                                    column));
    QVERIFY2(added, qPrintable(theDatabase.GetLastErrorString()));
    WageCalculator calculator(theDatabase, *m_host.engine());
    const auto report = calculator.RecalculateAll(p.view(p.root), nullptr);
    QVERIFY2(report, qPrintable(report.error()));
    QCOMPARE(report->skipped.size(), 1);
    QVERIFY2(report->skipped.first().contains(u"N8 吴十"_s), qPrintable(report->skipped.first()));
    QVERIFY(report->skippedMessage().contains(u"应发合计"_s));
    QVERIFY(p.value(u"应发合计"_s, 7).isNull());
    for (int person = 0; person < 7; ++person)
        QVERIFY(!p.value(u"应发合计"_s, person).isNull());
    QCOMPARE(p.value(u"实发全舍"_s, 6).toDouble(), 8370.0);
}

QTEST_GUILESS_MAIN(TestWageCalc)
#include "tst_wagecalc.moc"
