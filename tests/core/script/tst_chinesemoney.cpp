#include "core/script/chinesemoney.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

class TestChineseMoney : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void amounts_data();
    void amounts();
};

void TestChineseMoney::amounts_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected"); // empty: too large for the function
    const auto row = [](const char *name, double amount, const QString &expected) {
        QTest::newRow(name) << amount << expected;
    };
    row("zero", 0, u"零元整"_s);
    row("ten", 10, u"壹拾元整"_s);
    row("jiao and fen", 1234.56, u"壹仟贰佰叁拾肆元伍角陆分"_s);
    row("ten jiao", 1000.10, u"壹仟元壹角"_s);
    row("zero jiao", 1.05, u"壹元零伍分"_s);
    row("fen only", 0.05, u"伍分"_s);
    row("jiao only", 0.5, u"伍角"_s);
    row("zero inside", 10005, u"壹万零伍元整"_s);
    row("zero before hundreds", 10500, u"壹万零伍佰元整"_s);
    row("yuan after wan", 100000, u"壹拾万元整"_s);
    row("yuan after wan with jiao", 1000000.50, u"壹佰万元伍角"_s);
    row("wan and zero fen", 100000.05, u"壹拾万元零伍分"_s);
    row("yi then units", 100000005, u"壹亿零伍元整"_s);
    row("yi then wan", 105000000, u"壹亿零伍佰万元整"_s);
    row("full yi", 123456789.12, u"壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"_s);
    row("wan yi", 1e12, u"壹万亿元整"_s);
    row("wan yi and yi", 1.2345e12, u"壹万贰仟叁佰肆拾伍亿元整"_s);
    row("wan yi zero yi", 1.0005e12, u"壹万零伍亿元整"_s);
    row("wan yi zero wan", 1e12 + 1e4, u"壹万亿零壹万元整"_s);
    row("largest group", 9e15, u"玖仟万亿元整"_s);
    row("negative", -3, u"负叁元整"_s);
    row("negative fen", -0.01, u"负壹分"_s);
    row("rounds half up", 2.675, u"贰元陆角捌分"_s);
    row("rounds to nothing", -0.004, u"零元整"_s);
    row("rounds up to yuan", 0.999, u"壹元整"_s);
    row("too large", 1e16, QString());
    row("infinite", INFINITY, QString());
    row("not a number", NAN, QString());
}

void TestChineseMoney::amounts()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(ChineseMoneyText(amount).value_or(QString()), expected);
}

QTEST_GUILESS_MAIN(TestChineseMoney)
#include "tst_chinesemoney.moc"
