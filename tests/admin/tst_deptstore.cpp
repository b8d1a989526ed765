#include "admin/adminprocedures.h"
#include "admin/deptstore.h"
#include "admintestsupport.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::admin;

// The department tree's paths, order, delete checks and merge, and the category order, on
// both backends.
class TestDeptStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void paths_data();
    void paths();
    void preOrderSavesOrd();
    void swapExchangesOrd();
    void deleteRefusals_data();
    void deleteRefusals();
    void mergeMovesEverything();
    void mergeRefusals_data();
    void mergeRefusals();
    void failingWageTableRollsMergeBack();
    void prefixKeepsQuotes();
    void categoriesRenumberInOrder();
    void categoryCountAndDelete();

private:
    // A, A1 under A, A11 under A1, A111 under A11, and B beside A.
    void buildTree();
    int addDept(const QString &name, int parentId);
    int did(const QString &name) const { return m_dids.value(name); }
    // "|A1|B|" with the departments' ids in place of their names.
    QString path(const QString &names) const;
    QString pathOf(const QString &name) const;
    // Any update of the named department fails from now on.
    void failUpdatesOf(const QString &name);
    void addWageTable(const QString &table);
    void addPerson(const QString &dept, int aid = 0);

    TestDatabase *m_fixture = nullptr;
    QHash<QString, int> m_dids;
};

void TestDeptStore::initTestCase()
{
    registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestDeptStore::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theDatabase.Execute(u"DELETE FROM qz_Dept"_s);
    m_dids.clear();
}

void TestDeptStore::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

int TestDeptStore::addDept(const QString &name, int parentId)
{
    theDatabase.Execute(u"INSERT INTO qz_Dept (Name, ParentID, Ord) VALUES (?, 0, 0)"_s, { name });
    const int id = scalar(u"SELECT DID FROM qz_Dept WHERE Name = ?"_s, { name });
    m_dids.insert(name, id);
    const vantrel::Status placed = UpdateDeptParent(theDatabase, id, parentId);
    if (!placed)
        qWarning() << placed.error();
    return id;
}

void TestDeptStore::buildTree()
{
    addDept(u"A1"_s, addDept(u"A"_s, 0));
    addDept(u"A111"_s, addDept(u"A11"_s, did(u"A1"_s)));
    addDept(u"B"_s, 0);
}

QString TestDeptStore::path(const QString &names) const
{
    QStringList parts = names.split(u'|');
    for (QString &part : parts) {
        if (!part.isEmpty())
            part = QString::number(did(part));
    }
    return parts.join(u'|');
}

QString TestDeptStore::pathOf(const QString &name) const
{
    return text(u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { did(name) });
}

void TestDeptStore::failUpdatesOf(const QString &name)
{
    const bool sqlite = TestDatabase::backend() == vantrel::db::Backend::Sqlite;
    const QStringList statements = sqlite
        ? QStringList { u"CREATE TRIGGER t_fail BEFORE UPDATE ON qz_Dept FOR EACH ROW WHEN "
                        u"NEW.Name = '%1' BEGIN SELECT RAISE(ABORT, 'refused'); END"_s.arg(name) }
        : QStringList { u"CREATE FUNCTION t_fail() RETURNS trigger LANGUAGE plpgsql AS $$ "
                        u"BEGIN RAISE EXCEPTION 'refused'; END $$"_s,
                        u"CREATE TRIGGER t_fail BEFORE UPDATE ON qz_Dept FOR EACH ROW WHEN "
                        u"(NEW.Name = '%1') EXECUTE FUNCTION t_fail()"_s.arg(name) };
    for (const QString &sql : statements)
        QVERIFY2(theDatabase.Execute(sql), qPrintable(theDatabase.GetLastErrorString()));
}

void TestDeptStore::addWageTable(const QString &table)
{
    theDatabase.Execute(u"CREATE TABLE %1 (ID INTEGER, DID INTEGER, F1 INTEGER)"_s.arg(table));
    theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType) VALUES (?, ?, 6)"_s,
                        { table, table });
}

void TestDeptStore::addPerson(const QString &dept, int aid)
{
    theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Name) VALUES (?, ?, 'p')"_s,
                        { did(dept), aid });
}

void TestDeptStore::paths_data()
{
    QTest::addColumn<QString>("moved");
    QTest::addColumn<QString>("parent");  // empty: top level; "missing": no such row
    QTest::addColumn<QString>("failing"); // a department whose update fails
    QTest::addColumn<bool>("done");
    QTest::addColumn<QStringList>("expected"); // paths of A, A1, A11, A111, B

    const QStringList built { u"|A|"_s, u"|A1|A|"_s, u"|A11|A1|A|"_s, u"|A111|A11|A1|A|"_s,
                              u"|B|"_s };
    QTest::newRow("as built") << QString() << QString() << QString() << true << built;
    QTest::newRow("subtree under B")
        << u"A1"_s << u"B"_s << QString() << true
        << QStringList { u"|A|"_s, u"|A1|B|"_s, u"|A11|A1|B|"_s, u"|A111|A11|A1|B|"_s, u"|B|"_s };
    QTest::newRow("subtree to the top")
        << u"A11"_s << QString() << QString() << true
        << QStringList { u"|A|"_s, u"|A1|A|"_s, u"|A11|"_s, u"|A111|A11|"_s, u"|B|"_s };
    QTest::newRow("top under another")
        << u"A"_s << u"B"_s << QString() << true
        << QStringList { u"|A|B|"_s, u"|A1|A|B|"_s, u"|A11|A1|A|B|"_s, u"|A111|A11|A1|A|B|"_s,
                         u"|B|"_s };
    QTest::newRow("into own subtree") << u"A1"_s << u"A111"_s << QString() << false << built;
    QTest::newRow("under itself") << u"A1"_s << u"A1"_s << QString() << false << built;
    QTest::newRow("missing parent") << u"A1"_s << u"missing"_s << QString() << false << built;
    QTest::newRow("failure inside the rewrite") << u"A1"_s << u"B"_s << u"A111"_s << false << built;
}

void TestDeptStore::paths()
{
    QFETCH(QString, moved);
    QFETCH(QString, parent);
    QFETCH(QString, failing);
    QFETCH(bool, done);
    QFETCH(QStringList, expected);

    buildTree();
    if (!failing.isEmpty())
        failUpdatesOf(failing);
    if (!moved.isEmpty()) {
        const int parentId = parent == u"missing"_s ? 99999 : (parent.isEmpty() ? 0 : did(parent));
        const vantrel::Status result = UpdateDeptParent(theDatabase, did(moved), parentId);
        QCOMPARE(bool(result), done);
        if (done)
            QCOMPARE(scalar(u"SELECT ParentID FROM qz_Dept WHERE DID = ?"_s, { did(moved) }),
                     parentId);
    }
    const QStringList names { u"A"_s, u"A1"_s, u"A11"_s, u"A111"_s, u"B"_s };
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(pathOf(names.at(i)), path(expected.at(i)));
}

void TestDeptStore::preOrderSavesOrd()
{
    buildTree();
    const QVector<int> order { did(u"B"_s), did(u"A"_s), did(u"A1"_s), did(u"A11"_s),
                               did(u"A111"_s) };
    QVERIFY(SaveDeptOrder(theDatabase, order));
    for (int i = 0; i < order.size(); ++i)
        QCOMPARE(scalar(u"SELECT Ord FROM qz_Dept WHERE DID = ?"_s, { order.at(i) }), i);
}

void TestDeptStore::swapExchangesOrd()
{
    buildTree();
    theDatabase.Execute(u"UPDATE qz_Dept SET Ord = 4 WHERE DID = ?"_s, { did(u"A"_s) });
    theDatabase.Execute(u"UPDATE qz_Dept SET Ord = 9 WHERE DID = ?"_s, { did(u"B"_s) });
    QVERIFY(SwapDeptOrder(theDatabase, did(u"A"_s), 4, did(u"B"_s), 9));
    QCOMPARE(scalar(u"SELECT Ord FROM qz_Dept WHERE DID = ?"_s, { did(u"A"_s) }), 9);
    QCOMPARE(scalar(u"SELECT Ord FROM qz_Dept WHERE DID = ?"_s, { did(u"B"_s) }), 4);
}

void TestDeptStore::deleteRefusals_data()
{
    QTest::addColumn<QString>("dept");
    QTest::addColumn<QString>("message"); // empty: it may go
    QTest::newRow("sub-departments without persons") << u"A"_s << u"该部门下有下级部门,不能删除!"_s;
    QTest::newRow("persons") << u"A111"_s << u"该部门下还有 2 个人员!"_s;
    QTest::newRow("wage rows") << u"B"_s << u"该部门下还有 3 条薪资记录,不能删除!"_s;
    QTest::newRow("empty") << u"C"_s << QString();
}

void TestDeptStore::deleteRefusals()
{
    QFETCH(QString, dept);
    QFETCH(QString, message);
    buildTree();
    addDept(u"C"_s, 0);
    addPerson(u"A111"_s);
    addPerson(u"A111"_s);
    addWageTable(u"qz_wage_a"_s);
    addWageTable(u"qz_wage_b"_s);
    theDatabase.Execute(u"INSERT INTO qz_wage_a (ID, DID) VALUES (1, ?), (2, ?)"_s,
                        { did(u"B"_s), did(u"B"_s) });
    theDatabase.Execute(u"INSERT INTO qz_wage_b (ID, DID) VALUES (1, ?)"_s, { did(u"B"_s) });
    const AdminOutcome outcome = CheckDeptDelete(theDatabase, did(dept));
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.ok, message.isEmpty());
    if (outcome.ok) {
        QVERIFY(DeleteDept(theDatabase, did(dept)));
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dept WHERE DID = ?"_s, { did(dept) }), 0);
        QVERIFY(!DeleteDept(theDatabase, did(dept)));
    }
}

void TestDeptStore::mergeMovesEverything()
{
    buildTree();
    addPerson(u"A"_s);
    addPerson(u"A"_s);
    addPerson(u"A1"_s);
    addWageTable(u"qz_wage_a"_s);
    addWageTable(u"qz_wage_b"_s);
    theDatabase.Execute(u"INSERT INTO qz_wage_a (ID, DID) VALUES (1, ?)"_s, { did(u"A"_s) });
    theDatabase.Execute(u"INSERT INTO qz_wage_b (ID, DID) VALUES (1, ?), (2, ?)"_s,
                        { did(u"A"_s), did(u"A1"_s) });

    const vantrel::Status merged = MergeDept(theDatabase, did(u"A"_s), did(u"B"_s));
    QVERIFY2(merged, qPrintable(merged.error()));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dept WHERE DID = ?"_s, { did(u"A"_s) }), 0);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnBase WHERE DID = ?"_s, { did(u"B"_s) }), 2);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_wage_a WHERE DID = ?"_s, { did(u"B"_s) }), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_wage_b WHERE DID = ?"_s, { did(u"B"_s) }), 1);
    QCOMPARE(scalar(u"SELECT ParentID FROM qz_Dept WHERE DID = ?"_s, { did(u"A1"_s) }),
             did(u"B"_s));
    QCOMPARE(pathOf(u"A1"_s), path(u"|A1|B|"_s));
    QCOMPARE(pathOf(u"A111"_s), path(u"|A111|A11|A1|B|"_s));
}

void TestDeptStore::mergeRefusals_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::newRow("across levels") << u"A1"_s << u"B"_s;
    QTest::newRow("into itself") << u"B"_s << u"B"_s;
    QTest::newRow("into a missing one") << u"B"_s << u"missing"_s;
}

void TestDeptStore::mergeRefusals()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    buildTree();
    addPerson(source);
    QVERIFY(!MergeDept(theDatabase, did(source), target == u"missing"_s ? 99999 : did(target)));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnBase WHERE DID = ?"_s, { did(source) }), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dept"_s), 5);
}

void TestDeptStore::failingWageTableRollsMergeBack()
{
    buildTree();
    addPerson(u"A"_s);
    addWageTable(u"qz_wage_a"_s);
    theDatabase.Execute(u"INSERT INTO qz_wage_a (ID, DID) VALUES (1, ?)"_s, { did(u"A"_s) });
    // A wage set whose data table is gone.
    theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType) VALUES "
                        u"('qz_wage_gone', 'gone', 6)"_s);

    QVERIFY(!MergeDept(theDatabase, did(u"A"_s), did(u"B"_s)));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnBase WHERE DID = ?"_s, { did(u"A"_s) }), 1);
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_wage_a WHERE DID = ?"_s, { did(u"A"_s) }), 1);
    QCOMPARE(pathOf(u"A1"_s), path(u"|A1|A|"_s));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dept"_s), 5);
}

void TestDeptStore::prefixKeepsQuotes()
{
    addDept(u"O'Neil \"部\""_s, 0);
    const QString prefix = u"P'1\"; --"_s;
    QVERIFY(SetDeptPrefix(theDatabase, did(u"O'Neil \"部\""_s), prefix));
    QCOMPARE(text(u"SELECT PNRule FROM qz_Dept WHERE Name = ?"_s, { u"O'Neil \"部\""_s }), prefix);
    QVERIFY(SetDeptPrefix(theDatabase, did(u"O'Neil \"部\""_s), QString()));
    QCOMPARE(text(u"SELECT PNRule FROM qz_Dept WHERE Name = ?"_s, { u"O'Neil \"部\""_s }),
             QString());
}

void TestDeptStore::categoriesRenumberInOrder()
{
    theDatabase.Execute(u"DELETE FROM qz_PsnSort"_s);
    const QStringList names { u"x'1"_s, u"x2"_s, u"x3"_s };
    const QList<int> ords { 3, 3, 7 };
    for (int i = 0; i < names.size(); ++i)
        theDatabase.Execute(u"INSERT INTO qz_PsnSort (Name, Ord) VALUES (?, ?)"_s,
                            { names.at(i), ords.at(i) });
    QVERIFY(RenumberPsnSorts(theDatabase));
    const vantrel::db::QueryResult rows
        = theDatabase.run(u"SELECT Name, Ord FROM qz_PsnSort ORDER BY Ord"_s);
    QCOMPARE(rows.rows.rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows.rows.text(i, 0), names.at(i));
        QCOMPARE(rows.rows.value(i, 1).toInt(), i + 1);
    }
}

void TestDeptStore::categoryCountAndDelete()
{
    theDatabase.Execute(u"INSERT INTO qz_PsnSort (Name, Ord) VALUES ('busy', 1), ('idle', 2)"_s);
    const int busy = scalar(u"SELECT AID FROM qz_PsnSort WHERE Name = 'busy'"_s);
    const int idle = scalar(u"SELECT AID FROM qz_PsnSort WHERE Name = 'idle'"_s);
    addDept(u"A"_s, 0);
    addPerson(u"A"_s, busy);
    addPerson(u"A"_s, busy);
    QCOMPARE(*PsnCountBySort(theDatabase, busy), 2);
    QCOMPARE(*PsnCountBySort(theDatabase, idle), 0);
    QVERIFY(DeletePsnSort(theDatabase, idle));
    QVERIFY(!DeletePsnSort(theDatabase, idle));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnSort WHERE AID = ?"_s, { idle }), 0);
}

QTEST_GUILESS_MAIN(TestDeptStore)
#include "tst_deptstore.moc"
