#include "core/db/cadodatabase.h"
#include "core/query/ordermoves.h"
#include "ordertable.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(OrderColumns)

namespace {

// Two groups; a row refuses the order value in its Forbidden column, so a case can make any
// one statement of a move fail.
const QString Initial = u"1:1 2:2 3:3 4:4 5:5 6:7 10:-5 12:3"_s;

const OrderColumns Group1 { u"t_order"_s, u"ID"_s, u"Ord"_s, u"Grp = ?"_s, { 1 } };

} // namespace

class TestOrderMoves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void moves_data();
    void moves();
    void repeatedToTopKeepsDecreasing();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestOrderMoves::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY2(createOrderTable(theDatabase), qPrintable(theDatabase.GetLastErrorString()));
    QVERIFY(theDatabase.Execute(u"INSERT INTO t_order (ID, Grp, Ord) VALUES (1, 1, 1), (2, 1, 2),"
                                " (3, 1, 3), (4, 1, 4), (5, 1, 5), (6, 1, 7), (10, 2, -5),"
                                " (12, 2, 3)"_s));
    QCOMPARE(orderPairs(theDatabase), Initial);
}

void TestOrderMoves::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestOrderMoves::moves_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<OrderColumns>("list");
    QTest::addColumn<int>("keyA");
    QTest::addColumn<int>("keyB");
    QTest::addColumn<int>("forbidRow");
    QTest::addColumn<int>("forbidValue");
    QTest::addColumn<int>("newOrder");     // to top and to bottom
    QTest::addColumn<QString>("expected"); // empty: the move fails and nothing changes

    const OrderColumns whole { u"t_order"_s, u"ID"_s, u"Ord"_s, {}, {} };
    const OrderColumns badColumn { u"t_order"_s, u"ID"_s, u"Nope"_s, {}, {} };
    const OrderColumns badTable { u"t_order;"_s, u"ID"_s, u"Ord"_s, {}, {} };

    QTest::newRow("exchange keeps gaps")
        << "exchange" << Group1 << 5 << 6 << 0 << 0 << 0 << "1:1 2:2 3:3 4:4 5:7 6:5 10:-5 12:3";
    QTest::newRow("to top of the group")
        << "top" << Group1 << 3 << 0 << 0 << 0 << 0 << "1:1 2:2 3:0 4:4 5:5 6:7 10:-5 12:3";
    QTest::newRow("to top of the table")
        << "top" << whole << 3 << 0 << 0 << 0 << -6 << "1:1 2:2 3:-6 4:4 5:5 6:7 10:-5 12:3";
    QTest::newRow("to top when first") << "top" << Group1 << 1 << 0 << 0 << 0 << 1 << Initial;
    QTest::newRow("to bottom") << "bottom" << Group1 << 2 << 0 << 0 << 0 << 8
                               << "1:1 2:8 3:3 4:4 5:5 6:7 10:-5 12:3";
    QTest::newRow("to bottom when last") << "bottom" << Group1 << 6 << 0 << 0 << 0 << 7 << Initial;
    QTest::newRow("drag down in the group")
        << "position" << Group1 << 2 << 5 << 0 << 0 << 0 << "1:1 2:5 3:2 4:3 5:4 6:7 10:-5 12:3";
    QTest::newRow("drag up in the group")
        << "position" << Group1 << 5 << 2 << 0 << 0 << 0 << "1:1 2:3 3:4 4:5 5:2 6:7 10:-5 12:3";
    QTest::newRow("drag down in the table")
        << "position" << whole << 2 << 5 << 0 << 0 << 0 << "1:1 2:5 3:2 4:3 5:4 6:7 10:-5 12:2";
    QTest::newRow("drag onto itself") << "position" << Group1 << 3 << 3 << 0 << 0 << 0 << Initial;

    QTest::newRow("exchange fails at the first write")
        << "exchange" << Group1 << 5 << 6 << 5 << 7 << 0 << "";
    QTest::newRow("exchange fails at the second write")
        << "exchange" << Group1 << 5 << 6 << 6 << 5 << 0 << "";
    QTest::newRow("exchange with a missing row")
        << "exchange" << Group1 << 1 << 99 << 0 << 0 << 0 << "";
    QTest::newRow("to top fails") << "top" << Group1 << 3 << 0 << 3 << 0 << 0 << "";
    QTest::newRow("drag fails while shifting")
        << "position" << Group1 << 2 << 5 << 4 << 3 << 0 << "";
    QTest::newRow("drag fails at the last write")
        << "position" << Group1 << 2 << 5 << 2 << 5 << 0 << "";
    QTest::newRow("unknown column") << "exchange" << badColumn << 5 << 6 << 0 << 0 << 0 << "";
    QTest::newRow("not an identifier") << "bottom" << badTable << 2 << 0 << 0 << 0 << 0 << "";
}

void TestOrderMoves::moves()
{
    QFETCH(QString, move);
    QFETCH(OrderColumns, list);
    QFETCH(int, keyA);
    QFETCH(int, keyB);
    QFETCH(int, forbidRow);
    QFETCH(int, forbidValue);
    QFETCH(int, newOrder);
    QFETCH(QString, expected);
    QVERIFY(theDatabase.Execute(u"UPDATE t_order SET Forbidden = ? WHERE ID = ?"_s,
                                { forbidValue, forbidRow }));

    vantrel::Status status;
    if (move == u"exchange") {
        status = ExchangeOrder(list, keyA, keyB);
    } else if (move == u"position") {
        status = MoveOrderPosition(list, keyA, keyB);
    } else {
        const vantrel::Result<int> moved
            = move == u"top" ? MoveOrderToTop(list, keyA) : MoveOrderToBottom(list, keyA);
        if (moved)
            QCOMPARE(*moved, newOrder);
        else
            status = vantrel::Status::failure(moved.error());
    }
    QCOMPARE(status.ok(), !expected.isEmpty());
    QVERIFY(status.ok() || !status.error().isEmpty());
    QCOMPARE(orderPairs(theDatabase), expected.isEmpty() ? Initial : expected);
    QCOMPARE(theDatabase.transactionDepth(), 0);
}

void TestOrderMoves::repeatedToTopKeepsDecreasing()
{
    QCOMPARE(*MoveOrderToTop(Group1, 4), 0);
    QCOMPARE(*MoveOrderToTop(Group1, 5), -1);
    QCOMPARE(*MoveOrderToTop(Group1, 4), -2);
    QCOMPARE(orderPairs(theDatabase), u"1:1 2:2 3:3 4:-2 5:-1 6:7 10:-5 12:3"_s);
}

QTEST_GUILESS_MAIN(TestOrderMoves)
#include "tst_ordermoves.moc"
