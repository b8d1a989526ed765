#include "admin/adminprocedures.h"
#include "admin/ui/cdlgpsnsortmanager.h"
#include "admintestsupport.h"
#include "core/db/procedureregistry.h"
#include "modalanswers.h"
#include "personnel/ui/cdlgdynctlformforpsnsort.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace Qt::StringLiterals;

// The person-category manager, driven headless.
class TestPsnSortDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void aliasWithBlanksAndQuotes();
    void addThroughFormSelectsNewRow();
    void moves_data();
    void moves();
    void refreshRenumbers();
    void deleteRefusesWithCount();

private:
    // Categories x1, x2, x3 with the given orders.
    void addSorts(const QList<int> &ords);
    QStringList shownNames(const CDlgPsnSortManager &manager) const;

    TestDatabase *m_fixture = nullptr;
};

void TestPsnSortDialogs::initTestCase()
{
    vantrel::admin::registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestPsnSortDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    startAdminSession(m_fixture->connectionString());
    theDatabase.Execute(u"DELETE FROM qz_PsnSort"_s);
}

void TestPsnSortDialogs::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestPsnSortDialogs::addSorts(const QList<int> &ords)
{
    for (int i = 0; i < ords.size(); ++i)
        theDatabase.Execute(u"INSERT INTO qz_PsnSort (Name, Ord) VALUES (?, ?)"_s,
                            { u"x%1"_s.arg(i + 1), ords.at(i) });
}

QStringList TestPsnSortDialogs::shownNames(const CDlgPsnSortManager &manager) const
{
    QStringList names;
    for (int row = 0; row < manager.grid()->GetRowCount(); ++row)
        names << manager.grid()->GetFieldValue(row, manager.SortNameColumn()).toString();
    return names;
}

void TestPsnSortDialogs::aliasWithBlanksAndQuotes()
{
    addSorts({ 1, 2 });
    theDatabase.Execute(u"UPDATE qz_Items SET Alias = ? WHERE upper(TblName) = 'QZ_PSNSORT' "
                        "AND upper(Name) = 'NAME'"_s,
                        { u"类别 \"名称\" x'y"_s });
    CDlgPsnSortManager manager;
    QAbstractItemModelTester tester(manager.grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(shownNames(manager), QStringList({ u"x1"_s, u"x2"_s }));
    QCOMPARE(manager.grid()->model()->headerData(manager.SortNameColumn(), Qt::Horizontal),
             QVariant(u"类别 \"名称\" x'y"_s));
    QVERIFY(manager.grid()->isColumnHidden(0));
}

void TestPsnSortDialogs::addThroughFormSelectsNewRow()
{
    addSorts({ 1, 2 });
    CDlgPsnSortManager manager;
    manager.show();
    answerNextModal<CDlgDynCtlFormForPsnSort>([](CDlgDynCtlFormForPsnSort *form) {
        for (const tagITEMCTRLINFO &item : form->items()) {
            if (item.info.Name.compare(u"Name"_s, Qt::CaseInsensitive) == 0)
                SetFieldContent(item.pCtrl, u"O'Neil"_s);
        }
        form->m_bModified = true;
        form->OnSave();
        form->done(0);
    });
    manager.OnAdd();
    const int row = manager.grid()->GetCurSel();
    QVERIFY(row >= 0);
    QCOMPARE(manager.grid()->GetFieldValue(row, manager.SortNameColumn()).toString(), u"O'Neil"_s);
}

void TestPsnSortDialogs::moves_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("down") << 0 << 1 << QStringList { u"x2"_s, u"x1"_s, u"x3"_s };
    QTest::newRow("up") << 2 << -1 << QStringList { u"x1"_s, u"x3"_s, u"x2"_s };
    QTest::newRow("up on the first") << 0 << -1 << QStringList { u"x1"_s, u"x2"_s, u"x3"_s };
    QTest::newRow("down on the last") << 2 << 1 << QStringList { u"x1"_s, u"x2"_s, u"x3"_s };
}

void TestPsnSortDialogs::moves()
{
    QFETCH(int, row);
    QFETCH(int, step);
    QFETCH(QStringList, order);
    addSorts({ 1, 2, 3 });
    CDlgPsnSortManager manager;
    manager.show();
    manager.grid()->SetCurSel(row);
    const QString moved = shownNames(manager).at(row);
    const int before = logRows();
    QTest::keyClick(manager.grid(), step < 0 ? Qt::Key_Up : Qt::Key_Down,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shownNames(manager), order);
    QCOMPARE(shownNames(manager).at(manager.grid()->GetCurSel()), moved);
    QCOMPARE(logRows(), before + 1);
}

void TestPsnSortDialogs::refreshRenumbers()
{
    addSorts({ 3, 3, 7 });
    CDlgPsnSortManager manager;
    manager.OnRefresh();
    const vantrel::db::QueryResult rows
        = theDatabase.run(u"SELECT Name, Ord FROM qz_PsnSort ORDER BY Ord"_s);
    QCOMPARE(rows.rows.rowCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rows.rows.value(i, 1).toInt(), i + 1);
    QCOMPARE(rows.rows.text(2, 0), u"x3"_s);
    QCOMPARE(shownNames(manager).size(), 3);
}

void TestPsnSortDialogs::deleteRefusesWithCount()
{
    addSorts({ 1, 2 });
    const int busy = scalar(u"SELECT AID FROM qz_PsnSort WHERE Name = 'x1'"_s);
    theDatabase.Execute(u"INSERT INTO qz_PsnBase (AID, Name) VALUES (?, 'p'), (?, 'q'), (?, 'r')"_s,
                        { busy, busy, busy });
    CDlgPsnSortManager manager;
    manager.show();
    manager.grid()->SetCurSel(0);
    {
        MessageCatcher messages(QMessageBox::Yes);
        manager.OnDelete();
        QCOMPARE(messages.texts, QStringList { u"该类别下还有 3 个人员!"_s });
    }
    manager.grid()->SetCurSel(1);
    {
        MessageCatcher messages(QMessageBox::Yes);
        manager.OnDelete();
        QCOMPARE(messages.texts, QStringList { u"确定要删除'x2'吗?"_s });
    }
    QCOMPARE(shownNames(manager), QStringList { u"x1"_s });
}

QTEST_MAIN(TestPsnSortDialogs)
#include "tst_psnsortdialogs.moc"
