#pragma once

#include <QString>

class CADODatabase;

// t_order, the table the row-order tests move rows in: ID (key), Grp, Name, Ord, and
// Forbidden, an order value that the row refuses (a CHECK), so that a move can be made to
// fail half-way. Created empty; false with the reason in the connection's last error.
bool createOrderTable(CADODatabase &db);

// "ID:Ord" of every row of t_order by ID, blank-separated; the error text when it cannot be read.
QString orderPairs(CADODatabase &db);
