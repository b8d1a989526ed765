#pragma once

#include "ui/controls/gridcelldelegate.h"

class CViewPsn;

// The person list's cell editors: a dictionary item offers its titles in a drop-down list;
// a date item a date editor that Delete or Backspace empties (the cell then holds no date);
// everything else edits as in any grid.
class PsnCellDelegate : public GridCellDelegate
{
    Q_OBJECT

public:
    PsnCellDelegate(CBCGPADOGridCtrl *grid, const CViewPsn *view);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CBCGPADOGridCtrl *m_pGrid;
    const CViewPsn *m_pView;
};
