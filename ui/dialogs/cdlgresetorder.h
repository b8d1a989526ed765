#pragma once

#include "core/query/ordermoves.h"

#include <QDialog>
#include <QVariantList>

class CBCGPADOGridCtrl;
class QLabel;
class QToolBar;

// "调序": puts the rows of an ordered list (departments, categories, items, templates …) into a
// new order. The selected row moves to the top, to the bottom, up or down (toolbar, or
// Ctrl+Shift+Home/End/Up/Down wherever the focus is); each move writes the order column at
// once, in one transaction, and the grid shows the stored order afterwards. A move that fails
// changes nothing and says so. The caller reloads its own list when IsChanged().
class CDlgResetOrder : public QDialog
{
    Q_OBJECT

public:
    explicit CDlgResetOrder(QWidget *parent = nullptr);
    ~CDlgResetOrder() override;

    // The query that lists the rows in their order (with the values of its '?'), the grid
    // columns of the key and of the order value (both hidden), and where the order is written.
    void SetList(const QString &listQuery, int keyColumn, int orderColumn,
                 const OrderColumns &order, const QVariantList &listValues = {});
    // What Refresh runs to renumber the order column (on theDatabase): a statement, or the name
    // of a registered procedure that takes the values in order.
    void SetRenumberStatement(const QString &sql, const QVariantList &values = {});
    // The same through the program's procedures, each given its arguments in order: the list
    // comes from the first one's rows, Refresh runs the second.
    void SetProcedures(const QString &listProcedure, const QString &renumberProcedure,
                       const QVariantList &arguments);
    void SetCaption(const QString &caption);
    bool IsChanged() const { return m_bChanged; }
    CBCGPADOGridCtrl *GetGrid() const { return m_pGrid; }
    QString GetFooterText() const;

    // Reads the rows on the grid's own connection (the session's connection string); false
    // when they cannot be read.
    bool LoadRows();
    void MoveToTop();
    void MoveToBottom();
    void MoveUp();
    void MoveDown();
    void Refresh();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildToolBar();
    bool handleMoveKey(const QKeyEvent *key);
    int keyOfRow(int row) const;
    int firstShownColumn() const;
    int selectedRow();
    void finishMove(const vantrel::Status &status, int key);

    QString m_strListQuery;
    QVariantList m_listValues;
    int m_nKeyColumn = 0;
    int m_nOrderColumn = 1;
    OrderColumns m_order;
    QString m_strRenumberSql;
    QString m_strListProcedure;
    QString m_strRenumberProcedure;
    QVariantList m_procedureArguments;
    QVariantList m_renumberValues;
    bool m_bChanged = false;
    bool m_bLoaded = false;

    QToolBar *m_pToolBar;
    CBCGPADOGridCtrl *m_pGrid;
    QLabel *m_pFooter;
};
