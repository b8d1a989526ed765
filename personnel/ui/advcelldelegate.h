#pragma once

#include <QStyledItemDelegate>

// Roles of the advanced search grids' cells (QStandardItemModel items).
enum AdvCellRole {
    AdvOptionsRole = Qt::UserRole + 1, // QStringList: the cell is a drop-down list of these
    AdvIndexRole,                      // int: the cell keeps the chosen entry's index (-1 none)
    AdvDateRole,                       // bool: the cell holds a date (yyyy-MM-dd, no time)
    AdvRowIdRole,                      // int, on a row's first cell: its saved condition row id
};

// Edits the cells of the advanced search grids: a drop-down list for a cell with options
// (keeping the chosen index when the cell keeps one, the text otherwise), a date editor for a
// date cell, a line editor for the rest. An index cell's index is written after its text, so
// a watcher of AdvIndexRole sees the whole change.
class AdvCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};
