#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "modalanswers.h"
#include "ordertable.h"
#include "testdatabase.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/dialogs/cdlgresetorder.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString ListQuery = u"SELECT ID, Name, Ord FROM t_order ORDER BY Ord"_s;
const OrderColumns Orders { u"t_order"_s, u"ID"_s, u"Ord"_s, {}, {} };

// The names down the grid.
QString shown(const CDlgResetOrder &dialog)
{
    QStringList names;
    for (int row = 0; row < dialog.GetGrid()->GetRowCount(); ++row)
        names << dialog.GetGrid()->GetFieldValue(row, 1).toString();
    return names.join(u' ');
}

QString selectedName(const CDlgResetOrder &dialog)
{
    return dialog.GetGrid()->GetFieldValue(dialog.GetGrid()->GetCurSel(), 1).toString();
}

} // namespace

class TestResetOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void emptyListAsksForARow();
    void movesWriteAtOnce();
    void failedMoveChangesNothing();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestResetOrder::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, false);
    theApp.m_strConnection = m_fixture->connectionString();
    QVERIFY2(createOrderTable(theDatabase), qPrintable(theDatabase.GetLastErrorString()));
    QVERIFY(theDatabase.Execute(u"INSERT INTO t_order (ID, Name, Ord) VALUES (1, 'A', 1),"
                                " (2, 'B', 2), (3, 'C', 3), (4, 'D', 4)"_s));
}

void TestResetOrder::cleanup()
{
    theDatabase.Close();
    theApp.m_strConnection.clear();
    delete m_fixture;
}

void TestResetOrder::emptyListAsksForARow()
{
    CDlgResetOrder dialog;
    dialog.SetList(u"SELECT ID, Name, Ord FROM t_order WHERE ID < 0"_s, 0, 2, Orders);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"调序"_s);
    QCOMPARE(dialog.GetFooterText(), u"共 计：0 条记录"_s);
    MessageCatcher messages;
    dialog.MoveToTop();
    dialog.MoveToBottom();
    dialog.MoveUp();
    dialog.MoveDown();
    QCOMPARE(messages.texts, QStringList(4, u"请选择项！"_s));
    QVERIFY(!dialog.IsChanged());
}

void TestResetOrder::movesWriteAtOnce()
{
    CDlgResetOrder dialog;
    dialog.SetList(ListQuery, 0, 2, Orders);
    dialog.SetRenumberStatement(u"UPDATE t_order SET Ord = ID * 10"_s);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CBCGPADOGridCtrl *grid = dialog.GetGrid();
    QCOMPARE(dialog.GetFooterText(), u"共 计：4 条记录"_s);
    QVERIFY(grid->isColumnHidden(0));
    QVERIFY(grid->isColumnHidden(2));
    QCOMPARE(selectedName(dialog), u"A"_s);

    // The keys work with the focus in the grid; the row stays selected as it moves.
    grid->setFocus();
    grid->SetCurSel(2, 1);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(orderPairs(theDatabase), u"1:1 2:3 3:2 4:4"_s);
    QCOMPARE(shown(dialog), u"A C B D"_s);
    QCOMPARE(selectedName(dialog), u"C"_s);
    QVERIFY(dialog.IsChanged());

    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(orderPairs(theDatabase), u"1:1 2:3 3:5 4:4"_s);
    QCOMPARE(shown(dialog), u"A B D C"_s);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier); // the grid's own key
    QCOMPARE(orderPairs(theDatabase), u"1:1 2:3 3:5 4:4"_s);
    grid->SetCurSel(2, 1);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown(dialog), u"D A B C"_s);
    QCOMPARE(selectedName(dialog), u"D"_s);

    dialog.Refresh();
    QCOMPARE(orderPairs(theDatabase), u"1:10 2:20 3:30 4:40"_s);
    QCOMPARE(shown(dialog), u"A B C D"_s);
}

void TestResetOrder::failedMoveChangesNothing()
{
    CDlgResetOrder dialog;
    dialog.SetList(ListQuery, 0, 2, Orders);
    dialog.show();
    // B may not take C's value: the second write of the exchange fails.
    QVERIFY(theDatabase.Execute(u"UPDATE t_order SET Forbidden = 3 WHERE ID = 2"_s));
    dialog.GetGrid()->SetCurSel(1, 1);
    MessageCatcher messages;
    dialog.MoveDown();
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(messages.texts.first().startsWith(u"调序没有保存，顺序保持不变。"_s));
    QCOMPARE(orderPairs(theDatabase), u"1:1 2:2 3:3 4:4"_s);
    QCOMPARE(shown(dialog), u"A B C D"_s);
    QCOMPARE(selectedName(dialog), u"B"_s);
    QVERIFY(!dialog.IsChanged());

    // To the top fails alike.
    QVERIFY(theDatabase.Execute(u"UPDATE t_order SET Forbidden = 0 WHERE ID = 2"_s));
    dialog.MoveToTop();
    QCOMPARE(messages.texts.size(), 2);
    QCOMPARE(orderPairs(theDatabase), u"1:1 2:2 3:3 4:4"_s);
    QCOMPARE(shown(dialog), u"A B C D"_s);
}

QTEST_MAIN(TestResetOrder)
#include "tst_resetorder.moc"
