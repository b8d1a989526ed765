#pragma once

#include "platform/common/result.h"

#include <QString>
#include <QVariantList>

// A list that the user orders by an integer order column (as a rule Ord), keyed by an integer
// key column. The names must be identifiers and columns of the table, else every move fails
// untouched. Order values need not be consecutive.
struct OrderColumns
{
    QString table;
    QString keyColumn;
    QString orderColumn;
    // Confines to-top, to-bottom and position moves to the moved row's group: SQL with a '?'
    // for each value, e.g. "sFlag = ?". Empty: the whole table.
    QString groupCondition;
    QVariantList groupValues;
};

// Each move reads the order values it needs and writes the new ones on theDatabase in one
// transaction: on failure nothing is changed and the error text says why (the caller puts its
// list back and tells the user).

// Exchanges the order values of two rows (up and down moves).
vantrel::Status ExchangeOrder(const OrderColumns &list, int keyA, int keyB);

// Gives the row an order value below (above) every other row of its group and returns it; a
// row that is already strictly first (last) keeps its value.
vantrel::Result<int> MoveOrderToTop(const OrderColumns &list, int key);
vantrel::Result<int> MoveOrderToBottom(const OrderColumns &list, int key);

// Moves row A into the place of row B (drag and drop): the rows of the group from B up to A
// shift by one and A takes B's old value. Rows with equal values change nothing.
vantrel::Status MoveOrderPosition(const OrderColumns &list, int keyMove, int keyTarget);
