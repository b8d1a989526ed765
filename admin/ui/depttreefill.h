#pragma once

#include <QList>

#include <functional>

class QStandardItem;
class QStandardItemModel;

namespace vantrel::db {
class RowSet;
}

// Puts the departments of rows (read with one query, in their order) into the model as a
// tree: each under its parent's row, top-level ones (ParentID 0) at the top, siblings in the
// rows' order. makeRow gives the cells of a row; the first cell is the one that holds its
// sub-rows.
void FillDeptTree(QStandardItemModel *model, const vantrel::db::RowSet &rows, int didColumn,
                  int parentColumn, const std::function<QList<QStandardItem *>(int row)> &makeRow);
