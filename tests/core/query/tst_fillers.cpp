#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/query/fillers.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "Title[children]" per node, blank-separated; '+' marks children in the database that are
// not in the tree (not granted, or not loaded yet).
QString render(const RefTree &nodes)
{
    QStringList parts;
    for (const RefTreeNode &node : nodes) {
        QString part = node.title;
        if (!node.children.isEmpty())
            part += u'[' + render(node.children) + u']';
        else if (node.hasChildren)
            part += u'+';
        parts << part;
    }
    return parts.join(u' ');
}

QString render(const RefChoices &choices)
{
    QStringList parts;
    for (const RefChoice &choice : choices)
        parts << u"%1=%2"_s.arg(choice.title).arg(choice.id);
    return parts.join(u' ');
}

// Rights text: mask | categories | departments | wage sets.
CCurrentUser userWith(int iSuper, const QString &purview)
{
    CCurrentUser user(u"u"_s, QString(), iSuper);
    user.ParsePurview(purview);
    return user;
}

} // namespace

// Departments: A(1) over A2(3) and A1(2) over A1a(5), and B(4); categories 1, 2 and 12; wage
// sets 20 and 21; dictionary XL two levels deep beside dictionary ZZ.
class TestFillers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void departments_data();
    void departments();
    void choices_data();
    void choices();
    void dictionaryLevels_data();
    void dictionaryLevels();
    void failedQueries();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestFillers::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    const QStringList statements {
        u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord) VALUES (1, 0, 'A', 1), (2, 1, 'A1', 3),"
        " (3, 1, 'A2', 2), (4, 0, 'B', 4), (5, 2, 'A1a', 5)"_s,
        u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, 'S1', 1), (2, 'S2', 2), (12, 'S12', 3)"_s,
        u"INSERT INTO qz_Table (ID, TblName, Title, nType, Ord) VALUES (20, 'W20', 'Pay', 6, 2),"
        " (21, 'W21', 'Bonus', 6, 1)"_s,
        u"INSERT INTO qz_DictItem (ID, DictId, DictValue, ParentValue, Title, Active) VALUES"
        " (1, 'XL', '02', NULL, 'Two', 1), (2, 'XL', '01', '', 'One', 1),"
        " (3, 'XL', '0101', '01', 'One-one', 1), (4, 'XL', '0102', '01', 'Off', 0),"
        " (5, 'XL', '0201', '02', 'Off too', 0), (6, 'XL', '03', NULL, 'Retired', 0),"
        " (7, 'ZZ', '0201', '02', 'Other dictionary', 1)"_s,
    };
    for (const QString &sql : statements)
        QVERIFY2(theDatabase.Execute(sql), qPrintable(theDatabase.GetLastErrorString()));
}

void TestFillers::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestFillers::departments_data()
{
    QTest::addColumn<int>("iSuper");
    QTest::addColumn<QString>("purview");
    QTest::addColumn<int>("parentId");
    QTest::addColumn<QString>("tree");

    QTest::newRow("super user, no list") << 1 << "0|||" << 0 << "A[A2 A1[A1a]] B";
    QTest::newRow("super user below A") << 1 << "0|||" << 1 << "A2 A1[A1a]";
    QTest::newRow("every department granted") << 0 << "0||5,4,3,2,1|" << 0 << "A[A2 A1[A1a]] B";
    QTest::newRow("one branch") << 0 << "0||1,2,5|" << 0 << "A[A1[A1a]]";
    QTest::newRow("children not granted") << 0 << "0||1|" << 0 << "A+";
    QTest::newRow("parent not granted hides the subtree") << 0 << "0||2,5|" << 0 << "";
    QTest::newRow("ids do not match inside ids") << 0 << "0||11,14|" << 0 << "";
}

void TestFillers::departments()
{
    QFETCH(int, iSuper);
    QFETCH(QString, purview);
    QFETCH(int, parentId);
    QFETCH(QString, tree);
    const vantrel::Result<RefTree> nodes = LoadDeptTree(parentId, userWith(iSuper, purview));
    QVERIFY2(nodes.ok(), qPrintable(nodes.error()));
    QCOMPARE(render(*nodes), tree);
    if (!nodes->isEmpty())
        QCOMPARE(nodes->first().id, parentId == 0 ? 1 : 3);
    QCOMPARE(GetDeptChildCount(1), 2);
    QCOMPARE(GetDeptChildCount(5), 0);
}

void TestFillers::choices_data()
{
    QTest::addColumn<int>("iSuper");
    QTest::addColumn<QString>("purview");
    QTest::addColumn<QString>("sortTree");
    QTest::addColumn<QString>("sorts");
    QTest::addColumn<QString>("wageSets");

    QTest::newRow("super user") << 1 << "0|||"
                                << "S1 S2 S12" << u"S1=1 S2=2 S12=12 <所有类别>=0"_s
                                << "Bonus=21 Pay=20";
    QTest::newRow("every category, one wage set")
        << 0 << "0|12,2,1||20"
        << "S1 S2 S12" << u"S1=1 S2=2 S12=12 <所有类别>=0"_s << "Pay=20";
    QTest::newRow("partial grant") << 0 << "0|1,12||21,20"
                                   << "S1 S12"
                                   << "S1=1 S12=12"
                                   << "Bonus=21 Pay=20";
    QTest::newRow("nothing granted") << 0 << "0|||"
                                     << ""
                                     << ""
                                     << "";
}

void TestFillers::choices()
{
    QFETCH(int, iSuper);
    QFETCH(QString, purview);
    QFETCH(QString, sortTree);
    QFETCH(QString, sorts);
    QFETCH(QString, wageSets);
    const CCurrentUser user = userWith(iSuper, purview);
    QCOMPARE(render(*LoadPsnSortTree(user)), sortTree);
    QCOMPARE(render(*LoadPsnSortChoices(user)), sorts);
    QCOMPARE(render(*LoadWageSetChoices(user)), wageSets);
    QCOMPARE(render(*LoadUserChoices()), u"admin=1"_s);

    theCurrentUser.ParsePurview(purview);
    QCOMPARE(GetUserSortList(), purview.section(u'|', 1, 1));
    theCurrentUser.reset();
}

void TestFillers::dictionaryLevels_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("parentValue");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("values");

    QTest::newRow("top level, empty or no parent") << "XL"
                                                   << ""
                                                   << "One+ Two"
                                                   << "01 02";
    QTest::newRow("code without case") << "xl"
                                       << ""
                                       << "One+ Two"
                                       << "01 02";
    QTest::newRow("second level, active only") << "XL"
                                               << "01"
                                               << "One-one"
                                               << "0101";
    QTest::newRow("no active children") << "XL"
                                        << "02"
                                        << ""
                                        << "";
    QTest::newRow("unknown dictionary") << "NO"
                                        << ""
                                        << ""
                                        << "";
}

void TestFillers::dictionaryLevels()
{
    QFETCH(QString, code);
    QFETCH(QString, parentValue);
    QFETCH(QString, level);
    QFETCH(QString, values);
    const vantrel::Result<RefTree> nodes = LoadDictLevel(code, parentValue);
    QVERIFY2(nodes.ok(), qPrintable(nodes.error()));
    QCOMPARE(render(*nodes), level);
    QStringList codes;
    for (const RefTreeNode &node : *nodes)
        codes << node.value;
    QCOMPARE(codes.join(u' '), values);
    if (!nodes->isEmpty())
        QCOMPARE(nodes->first().id, values.startsWith(u"0101"_s) ? 3 : 2);
}

void TestFillers::failedQueries()
{
    const CCurrentUser super = userWith(1, u"0|||"_s);
    theDatabase.Close();
    QVERIFY(!LoadDeptTree(0, super).ok());
    QVERIFY(!LoadDictLevel(u"XL"_s, QString()).ok());
    const vantrel::Result<RefChoices> sorts = LoadPsnSortChoices(super);
    QVERIFY(!sorts.ok());
    QVERIFY(!sorts.error().isEmpty());
    QVERIFY(!LoadWageSetChoices(super).ok());
    QCOMPARE(GetDeptChildCount(1), 0);
}

QTEST_GUILESS_MAIN(TestFillers)
#include "tst_fillers.moc"
