#include "core/app/passworddigest.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/schema.h"
#include "core/query/scalarqueries.h"
#include "testdatabase.h"

#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

class TestSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createsAndSeedsOnce();
    void operatorNamesHeldTwiceDoNotStopTheUpgrade();
    void sharedFunctionsOnBothBackends_data();
    void sharedFunctionsOnBothBackends();
};

void TestSchema::createsAndSeedsOnce()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QCOMPARE(schemaVersion(db), 0);
    QVERIFY(upgradeSchema(db));
    QCOMPARE(schemaVersion(db), latestSchemaVersion());
    QVERIFY(upgradeSchema(db)); // nothing left to do, nothing seeded twice

    QCOMPARE(GetScalarInt(u"SELECT COUNT(*) FROM qz_Users"_s, {}, &db), 1);
    CADORecordset rs(&db);
    QVERIFY(rs.Open(u"SELECT Pwd, ISuper FROM qz_Users WHERE upper(UserName) = upper(?)"_s,
                    { u"ADMIN"_s }));
    QString stored;
    int super = 0;
    QVERIFY(rs.GetFieldValueText(0, stored));
    QVERIFY(rs.GetFieldValueInt(1, super));
    QCOMPARE(super, 1);
    QVERIFY(PasswordDigest::check(u"admin"_s, stored));
    QVERIFY(!PasswordDigest::check(u"admix"_s, stored));

    QCOMPARE(GetScalarText(u"SELECT sContent FROM qz_SysOption WHERE nType = 2 LIMIT 1"_s, {}, &db),
             u"60"_s);
    QVERIFY(GetScalarInt(u"SELECT COUNT(*) FROM qz_Items WHERE TblName = 'QZ_PSNBASE' "
                         "AND bFixed = 1"_s,
                         {}, &db)
                .valueOr(0)
            >= 7);
    QVERIFY(TableExists(u"QZ_PSNBASE"_s, &db));
    QVERIFY(!TableExists(u"qz_Nothing"_s, &db));
}

// Names differing only in case from before the unique name index: the upgrade goes on, logs
// them, and makes the index at a later start once they are put right.
void TestSchema::operatorNamesHeldTwiceDoNotStopTheUpgrade()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(upgradeSchema(db));
    const QString addUser = u"INSERT INTO qz_Users (UserName, Pwd, Locked, ISuper) "
                            "VALUES (?, 'x', 0, 0)"_s;
    QVERIFY(!db.Execute(addUser, { u"ADMIN"_s })); // the index holds

    QVERIFY(db.Execute(u"DROP INDEX ux_qz_Users_UserName"_s));
    QVERIFY(db.Execute(addUser, { u"ADMIN"_s }));
    QVERIFY(upgradeSchema(db));
    QCOMPARE(GetScalarInt(u"SELECT COUNT(*) FROM qz_Log WHERE lAction = ?"_s,
                          { u"操作员管理[名称重复:'ADMIN']"_s }, &db)
                 .valueOr(0),
             1);
    QVERIFY(db.Execute(u"DELETE FROM qz_Users WHERE UserName = 'ADMIN'"_s));
    QVERIFY(upgradeSchema(db));
    QVERIFY(!db.Execute(addUser, { u"Admin"_s }));
}

void TestSchema::sharedFunctionsOnBothBackends_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("department path found") << u"CHARINDEX('|3|', '|1|3|')"_s << u"3"_s;
    QTest::newRow("department path absent") << u"CHARINDEX('|4|', '|1|3|')"_s << u"0"_s;
    QTest::newRow("charindex of Chinese") << u"CHARINDEX('三', '张三')"_s << u"2"_s;
    QTest::newRow("Unicode upper") << u"upper('äbc αβ')"_s << u"ÄBC ΑΒ"_s;
    QTest::newRow("text joined") << u"'a' || 'b'"_s << u"ab"_s;
}

void TestSchema::sharedFunctionsOnBothBackends()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, true);
    CADORecordset rs(&db);
    QVERIFY2(rs.Open(u"SELECT "_s + expression, {}), qPrintable(rs.GetLastErrorString()));
    QString text;
    QVERIFY(rs.GetFieldValueText(0, text));
    QCOMPARE(text, expected);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
