#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/purviewtable.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "testdatabase.h"

#include <QTest>

#include <bit>

using namespace Qt::StringLiterals;

// The rights work on the session's connection, theDatabase, and the global operator.
class TestCurrentUser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsLoggedOut();
    void parsePurview_data();
    void parsePurview();
    void allFlags();
    void superUser();
    void reReadPicksUpChange();
    void failedReReadKeepsRights_data();
    void failedReReadKeepsRights();
    void password();
    void rightsTable();

private:
    static QList<int> heldRights(CCurrentUser &user);
    static int addOperator(const QString &name, const QString &purview);
    static int addRow(const QString &table, const QString &key, int ord);

    TestDatabase *m_fixture = nullptr;
};

QList<int> TestCurrentUser::heldRights(CCurrentUser &user)
{
    QList<int> rights;
    for (int i = 0; i < RightCount; ++i) {
        if (user.HasRight(i, false))
            rights << i;
    }
    return rights;
}

int TestCurrentUser::addOperator(const QString &name, const QString &purview)
{
    return InsertReturningId(u"qz_Users"_s, { u"UserName"_s, u"Pwd"_s, u"Purview"_s, u"ISuper"_s },
                             { name, QString(), purview, 0 }, u"UserID"_s);
}

int TestCurrentUser::addRow(const QString &table, const QString &key, int ord)
{
    return InsertReturningId(table, { u"Name"_s, u"Ord"_s }, { u"n%1"_s.arg(ord), ord }, key);
}

void TestCurrentUser::init()
{
    theCurrentUser.reset();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
}

void TestCurrentUser::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    theCurrentUser.reset();
}

void TestCurrentUser::startsLoggedOut()
{
    CCurrentUser user(u"li"_s, u"digest"_s, 0);
    QCOMPARE(user.UserID, -1);
    QCOMPARE(user.UserName, u"li"_s);
    QCOMPARE(heldRights(user), QList<int>());

    theCurrentUser.UserID = 7;
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"ffffffffffffffff|1|2|3"_s);
    theCurrentUser.reset();
    QCOMPARE(theCurrentUser.UserID, -1);
    QCOMPARE(theCurrentUser.ISuper, 0);
    QCOMPARE(theCurrentUser.rightsMask(), quint64(0));
    QCOMPARE(theCurrentUser.deptList(), QString());
    QCOMPARE(theCurrentUser.allDepts(), 0);
    QCOMPARE(theCurrentUser.HasRight(0, false), false);
}

void TestCurrentUser::parsePurview_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<QString>("categories");
    QTest::addColumn<QString>("departments");
    QTest::addColumn<QString>("wageSets");

    const QString earlier = u"0|7|8|9"_s;
    QTest::newRow("two bits, lists, empty last field")
        << earlier << u"c000000000000000|1,2|3|"_s << QList<int> { 0, 1 } << u"1,2"_s << u"3"_s
        << QString();
    QTest::newRow("mask alone keeps the lists")
        << earlier << u"8000000000"_s << QList<int> { 16 } << u"7"_s << u"8"_s << u"9"_s;
    QTest::newRow("two fields keep the rest")
        << earlier << u"4000|5"_s << QList<int> { 34 } << u"5"_s << u"8"_s << u"9"_s;
    QTest::newRow("empty text changes nothing")
        << u"4000|1|2|3"_s << QString() << QList<int> { 34 } << u"1"_s << u"2"_s << u"3"_s;
    QTest::newRow("system rights")
        << earlier << u"fc00|||"_s << QList<int> { 33, 34, 35, 36, 37, 38 } << QString()
        << QString() << QString();
    QTest::newRow("bits without a right")
        << earlier << u"ff00007f03ff|||"_s << QList<int>() << QString() << QString() << QString();
    QTest::newRow("upper-case hex") << earlier << u"A000000000000000|1|2|3"_s << QList<int> { 0, 2 }
                                    << u"1"_s << u"2"_s << u"3"_s;
}

void TestCurrentUser::parsePurview()
{
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(QList<int>, rights);
    QFETCH(QString, categories);
    QFETCH(QString, departments);
    QFETCH(QString, wageSets);

    CCurrentUser user;
    user.ParsePurview(before);
    user.ParsePurview(text);
    QCOMPARE(heldRights(user), rights);
    QCOMPARE(user.psnSortList(), categories);
    QCOMPARE(user.deptList(), departments);
    QCOMPARE(user.wageSetList(), wageSets);
}

void TestCurrentUser::allFlags()
{
    CCurrentUser user;
    user.ParsePurview(u"0|||"_s);
    QCOMPARE(user.allPsnSorts(), 1); // nothing to hide yet
    QCOMPARE(user.allDepts(), 1);

    const int d1 = addRow(u"qz_Dept"_s, u"DID"_s, 1);
    const int d2 = addRow(u"qz_Dept"_s, u"DID"_s, 2);
    const int s1 = addRow(u"qz_PsnSort"_s, u"AID"_s, 1);
    QVERIFY(d1 > 0 && d2 > 0 && s1 > 0);
    const QString one = QString::number(d1), two = QString::number(d2);

    // Ids are matched whole: "12" holds neither 1 nor 2.
    user.ParsePurview(u"0|%1|%2%3"_s.arg(QString::number(s1), one, two));
    QCOMPARE(user.allPsnSorts(), 1);
    QCOMPARE(user.allDepts(), 0);
    user.ParsePurview(u"0|99|%1,99"_s.arg(two));
    QCOMPARE(user.allPsnSorts(), 0);
    QCOMPARE(user.HasAllDepts(), 0);
    user.ParsePurview(u"0|%1|99,%2,%3"_s.arg(QString::number(s1), two, one));
    QCOMPARE(user.allPsnSorts(), 1);
    QCOMPARE(user.allDepts(), 1);
    QCOMPARE(GetUserDeptList(user), u"99,%1,%2"_s.arg(two, one));

    user.ISuper = 1;
    user.ParsePurview(u"0|||"_s);
    QCOMPARE(user.allPsnSorts(), 1);
    QCOMPARE(user.allDepts(), 1);

    // Unreadable tables grant no "all": the lists still filter.
    theDatabase.Close();
    user.ISuper = 0;
    user.ParsePurview(u"0|%1|%2,%3"_s.arg(QString::number(s1), one, two));
    QCOMPARE(user.allPsnSorts(), 0);
    QCOMPARE(user.allDepts(), 0);
}

void TestCurrentUser::superUser()
{
    const int id = addOperator(u"wang"_s, u"0|1|2|3"_s);
    QVERIFY(id > 0);
    theCurrentUser.UserID = id;
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"0|5|6|7"_s);
    for (int i = 0; i < RightCount; ++i)
        QVERIFY2(theCurrentUser.HasRight(i, true), qPrintable(QString::number(i)));
    // No re-read happened: the row's lists would have replaced these.
    QCOMPARE(theCurrentUser.deptList(), u"6"_s);
    QCOMPARE(GetUserWageSetList(), u"7"_s);
    // A number outside the table grants nothing, not even to a super user.
    QTest::ignoreMessage(QtWarningMsg, "CCurrentUser::HasRight: no right 39");
    QCOMPARE(theCurrentUser.HasRight(RightCount, false), false);
}

void TestCurrentUser::reReadPicksUpChange()
{
    const int id = addOperator(u"zhao"_s, u"8000000000|1|2|3"_s);
    QVERIFY(id > 0);
    theCurrentUser.UserID = id;
    theCurrentUser.ParsePurview(u"8000000000|1|2|3"_s);
    QVERIFY(theCurrentUser.HasRight(16, false));
    QVERIFY(!theCurrentUser.HasRight(17, false)); // a root does not imply its children

    QVERIFY(theDatabase.Execute(u"UPDATE qz_Users SET Purview = ? WHERE UserID = ?"_s,
                                { u"4000000000|4|5|6"_s, id }));
    QVERIFY(theCurrentUser.HasRight(16, false)); // held in memory until asked to re-read
    QVERIFY(!theCurrentUser.HasRight(16, true));
    QVERIFY(theCurrentUser.HasRight(17, false));
    QCOMPARE(theCurrentUser.psnSortList(), u"4"_s);
    QCOMPARE(GetUserDeptList(theCurrentUser), u"5"_s);
    QCOMPARE(GetUserWageSetList(), u"6"_s);
}

void TestCurrentUser::failedReReadKeepsRights_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("operator deleted") << u"DELETE FROM qz_Users WHERE UserID = ?"_s;
    QTest::newRow("rights cleared to NULL")
        << u"UPDATE qz_Users SET Purview = NULL WHERE UserID = ?"_s;
    QTest::newRow("connection lost") << QString();
}

void TestCurrentUser::failedReReadKeepsRights()
{
    QFETCH(QString, sql);
    const QString purview = u"c000000000000000|1|2|3"_s;
    const int id = addOperator(u"qian"_s, purview);
    QVERIFY(id > 0);
    theCurrentUser.UserID = id;
    theCurrentUser.ParsePurview(purview);
    if (sql.isEmpty())
        theDatabase.Close();
    else
        QVERIFY(theDatabase.Execute(sql, { id }));

    QVERIFY(theCurrentUser.HasRight(1, true));
    QCOMPARE(heldRights(theCurrentUser), (QList<int> { 0, 1 }));
    QCOMPARE(theCurrentUser.deptList(), u"2"_s);
    QCOMPARE(theCurrentUser.wageSetList(), u"3"_s);
}

void TestCurrentUser::password()
{
    theCurrentUser.Pwd = PasswordDigest::make(u"s3cret"_s);
    QVERIFY(theCurrentUser.checkPassword(u"s3cret"_s));
    QVERIFY(!theCurrentUser.checkPassword(u"S3cret"_s));
    QVERIFY(!theCurrentUser.checkPassword(QString()));

    // The seeded administrator's stored digest works the same way.
    CCurrentUser admin;
    admin.Pwd = GetScalarText(u"SELECT Pwd FROM qz_Users WHERE UserName = ?"_s, { u"admin"_s })
                    .valueOr({});
    QVERIFY(admin.checkPassword(u"admin"_s));
}

void TestCurrentUser::rightsTable()
{
    QCOMPARE(PurviewTable.size(), size_t(39));
    quint64 all = 0;
    for (int i = 0; i < RightCount; ++i) {
        const tagRightInfo &right = PurviewTable[i];
        QCOMPARE(std::popcount(right.mask), 1);
        QCOMPARE(all & right.mask, quint64(0));
        all |= right.mask;
        // Consecutive bits down from the top of each group's range.
        const int bitNo = std::countr_zero(right.mask);
        const int expected = i < 16 ? 63 - i : i < 33 ? 39 - (i - 16) : 15 - (i - 33);
        QCOMPARE(bitNo, expected);
        QVERIFY(!right.name.isEmpty());
        QCOMPARE(IsRootRight(i), i == 0 || i == 16 || i == 33);
        QCOMPARE(RootOfRight(i), i < 16 ? 0 : i < 33 ? 16 : 33);
        QVERIFY(MaskHasRight(right.mask, i));
        QVERIFY(!MaskHasRight(~right.mask, i));
    }
    QCOMPARE(all, quint64(0xffff00ffff80fc00));

    QCOMPARE(PurviewTable[0].name, u"人员档案管理");
    QCOMPARE(PurviewTable[16].name, u"薪资管理");
    QCOMPARE(PurviewTable[33].name, u"系统管理");
    QCOMPARE(PurviewTable[11].description, u"人员所在部门变动");
    QCOMPARE(PurviewTable[20].description, u"薪资表审核结账");
    QCOMPARE(PurviewTable[32].description, u"薪资帐套基本设置");
    QCOMPARE(PurviewTable[36].description, u"数据表及字段管理");
    QVERIFY(PurviewTable[38].description.isEmpty());
    // Names repeat under different roots.
    QCOMPARE(PurviewTable[6].name, PurviewTable[27].name);
    QCOMPARE(PurviewTable[13].name, PurviewTable[26].name);

    QCOMPARE(RootOfRight(-1), -1);
    QCOMPARE(RootOfRight(RightCount), -1);
    QVERIFY(!MaskHasRight(~quint64(0), RightCount));
}

QTEST_GUILESS_MAIN(TestCurrentUser)
#include "tst_currentuser.moc"
