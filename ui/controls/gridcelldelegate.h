#pragma once

#include <QStyledItemDelegate>

class CBCGPADOGridCtrl;

// Draws and edits the cells of a recordset grid: a plain line editor for texts and numbers (so
// that the grid's caret keys work the same in every cell), a date (and time) editor for date
// cells, centred check boxes that a click or Space toggles, and links drawn as links. Before an
// editor opens the grid asks its owner; a refused edit opens nothing.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridCellDelegate(CBCGPADOGridCtrl *grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    void paintCheck(QPainter *painter, const QStyleOptionViewItem &option,
                    const QModelIndex &index) const;

    CBCGPADOGridCtrl *m_pGrid;
};
