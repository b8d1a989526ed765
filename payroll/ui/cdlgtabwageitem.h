#pragma once

#include "payroll/ui/iwagesetpage.h"

#include <QWidget>

class CBCGPADOGridCtrl;
class QKeyEvent;
class QToolBar;

// "薪资项目": the items of the wage set in display order, read-only, with commands to add,
// change (also a double click), delete, set the calculation order, move and renumber them.
class CDlgTabWageItem : public QWidget, public IWageSetPage
{
    Q_OBJECT

public:
    // The columns of the list the commands read.
    enum Column {
        ColItemId = 0,
        ColActive = 1,
        ColAlias = 3,
        ColDataType = 4,
        ColProperty = 6,
        ColStdTable = 7,
        ColFormula = 8,
        ColDecimals = 9,
        ColRounding = 10,
        ColRetain = 11,
        ColIdRef = 12,
        ColOrd = 13
    };

    explicit CDlgTabWageItem(QWidget *parent = nullptr);

    int LoadWageSet(int sid) override;
    int LoadedSid() const override { return m_nSID; }

    CBCGPADOGridCtrl *Grid() const { return m_pGrid; }
    QToolBar *ToolBar() const { return m_pToolBar; }
    // The aliases down the list.
    QStringList Aliases() const;
    // The text a list cell shows.
    QString CellText(int row, int column) const;
    // Selects the item's row; false when it is not listed.
    bool SelectItem(int itemId);

    void OnNew();
    void OnModify();
    void OnDelete();
    void OnCalcOrder();
    void OnMoveUp() { move(-1); }
    void OnMoveDown() { move(1); }
    void OnRefresh();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void move(int step);
    int currentRow() const;
    void setValueLists();

    int m_nSID = 0;
    QToolBar *m_pToolBar;
    CBCGPADOGridCtrl *m_pGrid;
};
