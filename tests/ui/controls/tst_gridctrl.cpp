#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/igridowner.h"
#include "ui/controls/keyedrecordwriter.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString PersonQuery
    = u"SELECT PID, Number, Name, Birthday, Ord FROM qz_PsnBase ORDER BY PID"_s;
constexpr int ColPid = 0, ColNumber = 1, ColName = 2, ColBirthday = 3, ColOrd = 4;

// An owner that answers as told and keeps what it heard.
class RecordingOwner : public IGridOwner
{
public:
    int beginEdit = 0, itemChanged = 0, afterEdit = 1;
    QList<GridItemInfo> changes, ends;

    int OnGridBeginEdit(const GridItemInfo &) override { return beginEdit; }
    int OnGridItemChanged(const GridItemInfo &info) override
    {
        changes << info;
        return itemChanged;
    }
    int OnGridAfterEdit(const GridItemInfo &info) override
    {
        ends << info;
        return afterEdit;
    }
};

QString numberOf(const QString &name, CADODatabase &db = theDatabase)
{
    return GetScalarText(u"SELECT Number FROM qz_PsnBase WHERE Name = ?"_s, { name }, &db)
        .valueOr({});
}

QLineEdit *editorOf(QAbstractItemView &view)
{
    return view.viewport()->findChild<QLineEdit *>();
}

// Types into the current cell and ends the edit with the key.
void typeAndEnd(CMyADOGridCtrl &grid, const QString &text, Qt::Key key)
{
    QTest::keyClick(&grid, Qt::Key_Return);
    QLineEdit *editor = editorOf(grid);
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, key);
    QTRY_VERIFY(!grid.IsEditing());
}

} // namespace

class TestGridCtrl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void modelPassesTester();
    void opening();
    void sortedEditWritesItsRecord();
    void conflictBetweenTwoConnections();
    void enterMovesAsEnterActionSays_data();
    void enterMovesAsEnterActionSays();
    void virtualRowsByKey();
    void caretKeys();
    void ownerDecides();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestGridCtrl::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestGridCtrl::init()
{
    // The model answers the view without a single warning: an index it is asked about that
    // is not one of its cells, or a message of its own, fails the test.
    QTest::failOnWarning(QRegularExpression(u"^Index |RecordsetGridModel"_s));
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_PsnBase (Number, Name, Birthday, Ord) VALUES"
        " ('001', 'Chen', '1980-02-01 00:00:00', 3), ('002', 'Anders', NULL, 1),"
        " ('003', 'Diaz', '1975-06-30 00:00:00', 2), ('004', 'Baker', '1990-12-24 00:00:00', 4)"_s));
    Profile::remove({}, u"EnterAction"_s);
}

void TestGridCtrl::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestGridCtrl::modelPassesTester()
{
    CMyADOGridCtrl grid;
    QAbstractItemModelTester tester(grid.GetGridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(grid.OpenSQL(PersonQuery));
    grid.sortByColumn(ColName, Qt::DescendingOrder);
    QVERIFY(grid.SetCellValue(0, ColOrd, 9));
    grid.GetGridModel()->setCellKind(ColOrd, RecordsetGridModel::CheckCell);
    QVERIFY(grid.OpenSQL(u"SELECT PID, Name FROM qz_PsnBase WHERE PID < 0"_s));
    QVERIFY(grid.Close());
}

void TestGridCtrl::opening()
{
    CMyADOGridCtrl grid;
    QVERIFY(!grid.OpenSQL(PersonQuery)); // no connection yet
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(!grid.OwnsConnection());
    QVERIFY(grid.OpenSQL(PersonQuery));
    QCOMPARE(grid.GetRowCount(), 4);
    QCOMPARE(grid.GetQuery(), PersonQuery);
    RecordsetGridModel *model = grid.GetGridModel();
    // PostgreSQL folds unquoted names to lower case.
    QCOMPARE(model->headerData(ColNumber, Qt::Horizontal).toString().toLower(), u"number"_s);
    QCOMPARE(grid.horizontalHeader()->sectionSize(ColName), 50);
    QCOMPARE(model->headerData(ColOrd, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
    QCOMPARE(model->index(0, ColName).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(model->cellKind(ColBirthday), RecordsetGridModel::DateCell);
    QCOMPARE(model->index(0, ColBirthday).data().toString(), u"1980-02-01"_s);
    QCOMPARE(model->index(1, ColBirthday).data().toString(), QString());
    QCOMPARE(grid.FindRow(u"1975-06-30"_s, ColBirthday, false, true), 2);
    QCOMPARE(grid.FindRow(u"AK"_s, ColName, false, false), 3);
    QCOMPARE(grid.FindRow(u"AK"_s, ColName, true, false), -1);

    // No rows: the columns, no rows, true, and no stored query.
    QVERIFY(grid.OpenSQL(u"SELECT PID, Name FROM qz_PsnBase WHERE PID < 0"_s));
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(grid.GetRowCount(), 0);
    QVERIFY(grid.GetQuery().isEmpty());

    QVERIFY(!grid.OpenSQL(u"SELECT Nope FROM qz_PsnBase"_s));
    QVERIFY(grid.GetLastError() != 0);
    QCOMPARE(model->rowCount(), 0);
}

void TestGridCtrl::sortedEditWritesItsRecord()
{
    CMyADOGridCtrl grid;
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(grid.OpenSQL(PersonQuery));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.sortByColumn(ColName, Qt::DescendingOrder);
    QCOMPARE(grid.GetGridModel()->index(0, ColName).data().toString(), u"Diaz"_s);

    // By the program and by the keyboard: each reaches the person its row shows.
    QVERIFY(grid.SetCellValue(0, ColNumber, u"D-1"_s));
    grid.SetCurSel(1, ColNumber); // Chen
    typeAndEnd(grid, u"C-1"_s, Qt::Key_Return);
    QCOMPARE(numberOf(u"Diaz"_s), u"D-1"_s);
    QCOMPARE(numberOf(u"Chen"_s), u"C-1"_s);
    QCOMPARE(numberOf(u"Anders"_s), u"002"_s);
    QCOMPARE(numberOf(u"Baker"_s), u"004"_s);
    QCOMPARE(grid.GetGridModel()->index(1, ColNumber).data().toString(), u"C-1"_s);

    // Sorting back keeps the edited values with their persons.
    grid.sortByColumn(-1, Qt::AscendingOrder);
    QCOMPARE(grid.GetGridModel()->index(0, ColNumber).data().toString(), u"C-1"_s);
    QCOMPARE(grid.GetGridModel()->index(2, ColNumber).data().toString(), u"D-1"_s);
}

void TestGridCtrl::conflictBetweenTwoConnections()
{
    CMyADOGridCtrl mine, theirs;
    QVERIFY(mine.OpenConnection(m_fixture->connectionString()));
    QVERIFY(theirs.OpenConnection(m_fixture->connectionString()));
    QVERIFY(mine.OwnsConnection());
    QVERIFY(mine.OpenSQL(PersonQuery));
    QVERIFY(theirs.OpenSQL(PersonQuery));

    MessageCatcher messages;
    QVERIFY(theirs.SetCellValue(1, ColName, u"Andersson"_s));
    QVERIFY(!mine.SetCellValue(1, ColName, u"Anderson"_s));
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY2(messages.texts.first().endsWith(u"\n\n多用户操作冲突!"_s),
             qPrintable(messages.texts.first()));
    QVERIFY(messages.texts.first().size() > u"\n\n多用户操作冲突!"_s.size());
    QCOMPARE(mine.GetLastError(), vantrel::db::ErrorCode::RowConflict);
    // The other user's change stands; this grid shows what it read.
    QCOMPARE(numberOf(u"Andersson"_s), u"002"_s);
    QCOMPARE(mine.GetGridModel()->index(1, ColName).data().toString(), u"Anders"_s);
    // Another column of the same row was not changed by them, so it can be written.
    QVERIFY(mine.SetCellValue(1, ColNumber, u"A-2"_s));
    QCOMPARE(numberOf(u"Andersson"_s), u"A-2"_s);
    QCOMPARE(messages.texts.size(), 1);
}

void TestGridCtrl::enterMovesAsEnterActionSays_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("hideBirthday");
    QTest::addColumn<QPoint>("expected"); // (row, column) of the current cell afterwards

    QTest::newRow("next column") << 0 << 1 << ColNumber << false << QPoint(1, ColName);
    QTest::newRow("hidden column skipped") << 0 << 1 << ColName << true << QPoint(1, ColOrd);
    QTest::newRow("last column stays") << 0 << 1 << ColOrd << false << QPoint(1, ColOrd);
    QTest::newRow("next row") << 1 << 1 << ColName << false << QPoint(2, ColName);
    QTest::newRow("last row stays") << 1 << 3 << ColName << false << QPoint(3, ColName);
    QTest::newRow("other value stays") << 2 << 1 << ColName << false << QPoint(1, ColName);
}

void TestGridCtrl::enterMovesAsEnterActionSays()
{
    QFETCH(int, action);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, hideBirthday);
    QFETCH(QPoint, expected);
    Profile::writeInt({}, u"EnterAction"_s, action);
    CMyADOGridCtrl grid;
    QCOMPARE(grid.GetEnterAction(), action);
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(grid.OpenSQL(PersonQuery));
    grid.setColumnHidden(ColBirthday, hideBirthday);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.SetCurSel(row, column);
    typeAndEnd(grid, u"7"_s, Qt::Key_Enter);
    QCOMPARE(grid.GetEndEditInfo().endReason & EndByEnter, int(EndByEnter));
    QCOMPARE(QPoint(grid.currentIndex().row(), grid.currentIndex().column()), expected);
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 1);
}

void TestGridCtrl::virtualRowsByKey()
{
    // Enough rows for three pages.
    {
        vantrel::db::DbTransaction transaction(theDatabase);
        for (int i = 5; i <= 250; ++i)
            QVERIFY(theDatabase.Execute(
                u"INSERT INTO qz_PsnBase (Number, Name, Ord) VALUES (?, ?, ?)"_s,
                { u"%1"_s.arg(i, 3, 10, QChar(u'0')), u"P%1"_s.arg(i), i }));
        QVERIFY(transaction.commit());
    }
    CMyADOGridCtrl grid;
    QAbstractItemModelTester tester(grid.GetGridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.SetVirtualMode(true);
    grid.SetKeyField(u"PID"_s);
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(grid.OpenSQL(PersonQuery));
    QVERIFY(!grid.GetRecordset()); // read by key, not whole
    RecordsetGridModel *model = grid.GetGridModel();
    QCOMPARE(grid.GetRowCount(), 250);
    QCOMPARE(model->columnCount(), 5);
    QCOMPARE(model->cellKind(ColBirthday), RecordsetGridModel::DateCell);
    QCOMPARE(model->index(0, ColBirthday).data().toString(), u"1980-02-01"_s);
    QCOMPARE(model->index(249, ColNumber).data().toString(), u"250"_s);
    QCOMPARE(model->index(120, ColName).data().toString(), u"P121"_s);
    QCOMPARE(grid.FindRow(u"P200"_s, ColName, true, true), 199);

    // Sorted, the keyed writer writes the person the row shows.
    KeyedRecordWriter writer(&theDatabase, u"qz_PsnBase"_s, u"PID"_s);
    grid.SetRecordWriter(&writer);
    grid.sortByColumn(ColName, Qt::DescendingOrder);
    QCOMPARE(model->index(0, ColName).data().toString(), u"P99"_s);
    QCOMPARE(model->index(249, ColName).data().toString(), u"Anders"_s);
    QVERIFY(grid.SetCellValue(249, ColNumber, u"A-1"_s));
    QCOMPARE(numberOf(u"Anders"_s), u"A-1"_s);
    QCOMPARE(model->index(249, ColNumber).data().toString(), u"A-1"_s);

    // Another user changed the cell meanwhile: the conflict is told.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET Number = 'X' WHERE Name = 'P99'"_s));
    MessageCatcher messages;
    QVERIFY(!grid.SetCellValue(0, ColNumber, u"Y"_s));
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(messages.texts.first().endsWith(u"\n\n多用户操作冲突!"_s));
    QCOMPARE(numberOf(u"P99"_s), u"X"_s);
    QCOMPARE(model->index(0, ColNumber).data().toString(), u"X"_s);
}

void TestGridCtrl::caretKeys()
{
    CMyADOGridCtrl grid;
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(grid.OpenSQL(PersonQuery));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.SetCurSel(0, ColName);
    QTest::keyClick(&grid, Qt::Key_Return);
    QLineEdit *editor = editorOf(grid);
    QVERIFY(editor);
    QVERIFY(editor->hasSelectedText());

    // Right with a selection only collapses it to the end; Shift+Right never leaves the cell.
    QTest::keyClick(editor, Qt::Key_Right);
    QVERIFY(!editor->hasSelectedText());
    QCOMPARE(editor->cursorPosition(), 4);
    QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(grid.IsEditing());
    QTest::keyClick(editor, Qt::Key_Left);
    QCOMPARE(editor->cursorPosition(), 3);
    QTest::keyClick(editor, Qt::Key_End);
    QVERIFY(grid.IsEditing());

    // At the end of the text Right moves to the next cell.
    QTest::keyClick(editor, Qt::Key_Right);
    QTRY_VERIFY(!grid.IsEditing());
    QCOMPARE(grid.currentIndex().column(), ColBirthday);

    // Up ends the edit and moves up; Home at the start moves to the first column.
    grid.SetCurSel(2, ColNumber);
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(editorOf(grid), Qt::Key_Up);
    QTRY_VERIFY(!grid.IsEditing());
    QCOMPARE(grid.currentIndex().row(), 1);
    QTest::keyClick(&grid, Qt::Key_Return);
    editor = editorOf(grid);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Home);
    QTRY_VERIFY(!grid.IsEditing());
    QCOMPARE(grid.currentIndex().column(), ColPid);
}

void TestGridCtrl::ownerDecides()
{
    CMyADOGridCtrl grid;
    RecordingOwner owner;
    grid.SetOwner(&owner);
    QVERIFY(grid.AttachConnection(&theDatabase));
    QVERIFY(grid.OpenSQL(PersonQuery));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    owner.beginEdit = 1;
    grid.SetCurSel(0, ColName);
    QTest::keyClick(&grid, Qt::Key_Return);
    QVERIFY(!grid.IsEditing());

    owner.beginEdit = 0;
    owner.itemChanged = 1;
    QVERIFY(!grid.SetCellValue(0, ColName, u"Cheng"_s));
    QCOMPARE(numberOf(u"Chen"_s), u"001"_s);
    QCOMPARE(owner.changes.size(), 1);
    QCOMPARE(owner.changes.first().record, 0);
    QCOMPARE(owner.changes.first().oldValue.toString(), u"Chen"_s);
    QCOMPARE(owner.changes.first().value.toString(), u"Cheng"_s);

    // After-edit 0: the owner keeps the current cell where it is.
    owner.itemChanged = 0;
    owner.afterEdit = 0;
    typeAndEnd(grid, u"Cheng"_s, Qt::Key_Return);
    QCOMPARE(grid.currentIndex().column(), ColName);
    QCOMPARE(owner.ends.size(), 1);
    QCOMPARE(owner.ends.first().endReason, int(EndByEnter));
    QCOMPARE(numberOf(u"Cheng"_s), u"001"_s);
}

QTEST_MAIN(TestGridCtrl)
#include "tst_gridctrl.moc"
