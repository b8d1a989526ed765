#pragma once

#include "ui/controls/cbcgpadogridctrl.h"

class QKeyEvent;
class QLineEdit;

// The recordset grid as a data-entry sheet. Enter starts editing the current cell; inside a
// text cell Left, Right, Home and End move the caret and leave the cell only at the edge of the
// text (a selection first collapses), Shift with them extends the selection; Up and Down end
// the edit and move. After Enter has ended an edit the grid goes where the user's profile value
// "EnterAction" (read at construction) says: 0 the next visible column to the right, 1 the
// next row, anything else stays. Each key's part can be switched off.
class CMyADOGridCtrl : public CBCGPADOGridCtrl
{
    Q_OBJECT

public:
    enum EnterAction { EnterNextColumn = 0, EnterNextRow = 1, EnterStay = 2 };

    explicit CMyADOGridCtrl(QWidget *parent = nullptr);

    void SetEnterBeginsEdit(bool on) { m_bEnterBeginsEdit = on; }
    bool EnterBeginsEdit() const { return m_bEnterBeginsEdit; }
    void SetTabEndsEdit(bool on) { m_bTabEndsEdit = on; }
    void SetLeftRightEndEdit(bool on) { m_bLeftRightEndEdit = on; }
    void SetUpDownEndEdit(bool on) { m_bUpDownEndEdit = on; }
    void SetHomeEndEndEdit(bool on) { m_bHomeEndEndEdit = on; }
    int GetEnterAction() const { return m_nEnterAction; }
    void SetEnterAction(int action) { m_nEnterAction = action; }

    // How the last in-place edit ended (item, row, column, end reason).
    const GridItemInfo &GetEndEditInfo() const { return m_endEditInfo; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void OnEndInplaceEdit(QWidget *editor, QAbstractItemDelegate::EndEditHint hint,
                          const GridItemInfo &info) override;

private:
    bool handleCaretKey(QLineEdit *editor, const QKeyEvent *key);
    bool handleForwardKey(QLineEdit *editor, int key);
    bool handleBackwardKey(QLineEdit *editor, int key);
    void endEditAndMove(QLineEdit *editor, CursorAction move, int reason);
    void moveAfterEnter(const GridItemInfo &info);

    bool m_bEnterBeginsEdit = true;
    bool m_bTabEndsEdit = true;
    bool m_bLeftRightEndEdit = true;
    bool m_bUpDownEndEdit = true;
    bool m_bHomeEndEndEdit = true;
    int m_nEnterAction;
    GridItemInfo m_endEditInfo;
    int m_nEndMove = -1; // the CursorAction that ends the edit, -1 for none
};
