#include "admin/ui/depttreefill.h"

#include "core/db/rowset.h"

#include <QHash>
#include <QStandardItemModel>
#include <QVector>

void FillDeptTree(QStandardItemModel *model, const vantrel::db::RowSet &rows, int didColumn,
                  int parentColumn, const std::function<QList<QStandardItem *>(int row)> &makeRow)
{
    QHash<int, QVector<int>> childrenOf;
    for (int row = 0; row < rows.rowCount(); ++row)
        childrenOf[rows.value(row, parentColumn).toInt()] << row;
    const std::function<void(QStandardItem *, int)> addChildren
        = [&](QStandardItem *parent, int parentId) {
              for (int row : childrenOf.value(parentId)) {
                  const QList<QStandardItem *> cells = makeRow(row);
                  parent->appendRow(cells);
                  const int did = rows.value(row, didColumn).toInt();
                  // A row that names itself as its parent would never end.
                  if (did != parentId)
                      addChildren(cells.first(), did);
              }
          };
    addChildren(model->invisibleRootItem(), 0);
}
