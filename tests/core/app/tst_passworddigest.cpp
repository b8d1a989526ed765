#include "core/app/passworddigest.h"
#include "core/app/purview.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPasswordDigest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void checks_data();
    void checks();
    void saltedAndSelfDescribing();
    void todaysRounds();
    void olderDigests();
    void purviewText();
};

void TestPasswordDigest::initTestCase()
{
    // The table below is about what counts in a password, not about the cost of a check.
    PasswordDigest::setRoundsForTesting(1000);
}

void TestPasswordDigest::checks_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same") << u"admin"_s << u"admin"_s << true;
    QTest::newRow("second half counts") << u"abcd"_s << u"abXY"_s << false;
    QTest::newRow("case counts") << u"Secret"_s << u"secret"_s << false;
    QTest::newRow("one character") << u"a"_s << u"b"_s << false;
    QTest::newRow("Chinese") << u"工资2024"_s << u"工资2024"_s << true;
    QTest::newRow("Chinese differs") << u"工资2024"_s << u"工资2025"_s << false;
    QTest::newRow("longer typed") << u"pass"_s << u"password"_s << false;
    QTest::newRow("empty matches empty") << QString() << QString() << true;
    QTest::newRow("empty typed") << u"x"_s << QString() << false;
    QTest::newRow("typed against empty") << QString() << u"x"_s << false;
}

void TestPasswordDigest::checks()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(PasswordDigest::check(typed, PasswordDigest::make(password)), accepted);
}

void TestPasswordDigest::saltedAndSelfDescribing()
{
    const QString a = PasswordDigest::make(u"admin"_s);
    const QString b = PasswordDigest::make(u"admin"_s);
    QVERIFY(a != b);
    QVERIFY(a.startsWith(u"pbkdf2-sha256$"_s));
    QVERIFY(a.size() <= 255); // fits qz_Users.Pwd
    QVERIFY(PasswordDigest::make(QString()).isEmpty());
    // Texts in no known form match nothing, not even what they look like.
    for (const QString &stored : { u"21232F297A57A5A743894A0E4A801FC3"_s, u"pbkdf2-sha256$x$y$z"_s,
                                   u"pbkdf2-sha256$0$AAAA$AAAA"_s })
        QVERIFY(!PasswordDigest::check(u"admin"_s, stored));
}

void TestPasswordDigest::todaysRounds()
{
    PasswordDigest::setRoundsForTesting(0);
    const QString stored = PasswordDigest::make(u"admin"_s);
    PasswordDigest::setRoundsForTesting(1000);
    QCOMPARE(stored.section(u'$', 1, 1).toInt(), PasswordDigest::defaultRounds);
    QVERIFY(PasswordDigest::check(u"admin"_s, stored));
    QVERIFY(!PasswordDigest::check(u"admim"_s, stored));
}

void TestPasswordDigest::olderDigests()
{
    // Made when 20,000 rounds were the rule: it still checks, and asks to be made again.
    PasswordDigest::setRoundsForTesting(20000);
    const QString old = PasswordDigest::make(u"工资2024"_s);
    PasswordDigest::setRoundsForTesting(0);
    QVERIFY(PasswordDigest::check(u"工资2024"_s, old));
    QVERIFY(!PasswordDigest::check(u"工资2025"_s, old));
    QVERIFY(PasswordDigest::needsRehash(old));

    PasswordDigest::setRoundsForTesting(1000);
    QVERIFY(!PasswordDigest::needsRehash(old)); // more rounds than new ones get
    QVERIFY(!PasswordDigest::needsRehash(PasswordDigest::make(u"x"_s)));
    QVERIFY(!PasswordDigest::needsRehash(QString()));
    QVERIFY(!PasswordDigest::needsRehash(u"21232F297A57A5A743894A0E4A801FC3"_s));
}

void TestPasswordDigest::purviewText()
{
    Purview p;
    p.parse(u"c000000000000000|1,2|3|"_s);
    QCOMPARE(p.mask, quint64(0xC000000000000000ULL));
    QCOMPARE(p.categories, u"1,2"_s);
    QCOMPARE(p.departments, u"3"_s);
    QCOMPARE(p.wageSets, QString());
    QCOMPARE(p.toText(), u"c000000000000000|1,2|3|"_s);
    QVERIFY(Purview::listContains(p.categories, 2));
    QVERIFY(!Purview::listContains(p.categories, 12));

    p.parse(u"ff"_s); // the mask alone keeps the lists
    QCOMPARE(p.mask, quint64(0xff));
    QCOMPARE(p.categories, u"1,2"_s);
    p.parse(QString());
    QCOMPARE(p.mask, quint64(0xff));
    QCOMPARE(Purview::joinIds({ 4, 5, 6 }), u"4,5,6"_s);
}

QTEST_GUILESS_MAIN(TestPasswordDigest)
#include "tst_passworddigest.moc"
