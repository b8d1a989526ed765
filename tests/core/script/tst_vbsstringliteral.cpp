#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/vbsstringliteral.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Texts that users type into names and fields, and that scripts must give back unchanged.
class TestVbsStringLiteral : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void evaluatesToTheText_data();
    void evaluatesToTheText();
    void preludeWithHostileNamesCompiles_data();
    void preludeWithHostileNamesCompiles();

private:
    QStringList m_shown;
};

void TestVbsStringLiteral::initTestCase()
{
    CScriptHostProxy::setErrorPresenter(
        [this](const QString &text, const QString &) { m_shown << text; });
}

void TestVbsStringLiteral::evaluatesToTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << u"月度工资"_s;
    QTest::newRow("quotes") << u"O\"Neil \"\"x\"\""_s;
    QTest::newRow("only a quote") << u"\""_s;
    QTest::newRow("CR LF") << u"第一行\r\n第二行"_s;
    QTest::newRow("CR alone") << u"a\rb"_s;
    QTest::newRow("LF alone") << u"a\nb"_s;
    QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s;
    QTest::newRow("breaks at both ends") << u"\r\n\nmid\r"_s;
    QTest::newRow("tab") << u"a\tb"_s;
    QTest::newRow("NUL") << QString(u"a"_s + QChar(0) + u"b"_s);
    QTest::newRow("C1 control") << QString(u"x"_s + QChar(0x85) + u"y"_s);
    QTest::newRow("statement break-out") << u"\" : MsgBox \"x\" : x = \""_s;
    QTest::newRow("comment") << u"' rem \" & vbCrLf & \""_s;
    QTest::newRow("Chinese and emoji") << u"张三·李四 😀"_s;
}

void TestVbsStringLiteral::evaluatesToTheText()
{
    QFETCH(QString, text);
    const QString literal = VbsStringLiteral(text);
    QVERIFY2(!literal.contains(u'\r') && !literal.contains(u'\n'), qPrintable(literal));
    CScriptHostProxy host;
    QCOMPARE(host.CreateEngine(), 1);
    QVariant value;
    QCOMPARE(host.Evaluate(literal, &value), 0);
    QCOMPARE(value.toString(), text);
    // One operand where a stronger operator stands next to it.
    QCOMPARE(
        host.Evaluate(u"TypeName("_s + literal + u") & Len("_s + literal + u" + \"!\")"_s, &value),
        0);
    QCOMPARE(value.toString(), u"String"_s + QString::number(text.size() + 1));
}

void TestVbsStringLiteral::preludeWithHostileNamesCompiles_data()
{
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("wageSetName");
    QTest::newRow("quotes") << u"O\"Neil"_s << u"工资\"A\""_s;
    QTest::newRow("line breaks") << u"张\r\n三"_s << u"月度\n工资\r"_s;
    QTest::newRow("control characters") << QString(u"a\tb"_s + QChar(0)) << u"\u001b[0m"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestVbsStringLiteral::preludeWithHostileNamesCompiles()
{
    QFETCH(QString, userName);
    QFETCH(QString, wageSetName);
    TestDatabase fixture;
    VANTREL_OPEN_TEST_DB(fixture, theDatabase, true);
    theCurrentUser.UserName = userName;
    theApp.SName = wageSetName;
    theApp.SDate = 202405;
    const vantrel::Result<QString> prelude = theApp.GetScriptPrelude();
    theDatabase.Close();
    QVERIFY2(prelude, qPrintable(prelude.error()));

    m_shown.clear();
    CScriptHostProxy host;
    QCOMPARE(host.CreateEngine(), 1);
    QCOMPARE(host.LoadScript(*prelude), 1);
    QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join(u'\n')));
    QVariant value;
    QCOMPARE(host.Evaluate(u"UserName()"_s, &value), 0);
    QCOMPARE(value.toString(), userName);
    QCOMPARE(host.Evaluate(u"SName()"_s, &value), 0);
    QCOMPARE(value.toString(), wageSetName);
    QCOMPARE(host.Evaluate(u"SDate()"_s, &value), 0);
    QCOMPARE(value.toInt(), 202405);
}

QTEST_GUILESS_MAIN(TestVbsStringLiteral)
#include "tst_vbsstringliteral.moc"
