#pragma once

#include "ui/dialogs/cdialogexx.h"

#include <QList>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The operator dialog: name, password twice, description and locked flag, and four tabs of
// check lists (rights, person categories, departments, wage sets). The caller sets the values
// before exec() and reads them back after OK, when the row has been written.
//
// Column 1 of every list is the check; a click on it or Space toggles the current row. In the
// rights and department trees a toggle carries down to the whole subtree and up to the parents:
// a parent is checked when any child is, and unchecked only when all of its children are.
class CDLGUser : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDLGUser(QWidget *parent = nullptr);

    // The values (set before exec(), read after OK).
    QString m_strTitle;
    int m_nNew = 0;
    int m_nUserID = 0;
    QString m_strUserName;
    QString m_strPwd;
    QString m_strPwdConfirm;
    QString m_strDescr;
    int m_nLocked = 0;
    int m_nSuper = 0;
    QString m_strPurview;

    enum Tab { RightsTab, PsnSortTab, DeptTab, WageSetTab };
    QTreeWidget *grid(Tab tab) const { return m_grids[tab]; }
    QTabWidget *tabs() const { return m_pTabs; }

    // Toggles a row as a click on its check does (with the propagation of the two trees).
    void ToggleRowCheck(QTreeWidget *grid, QTreeWidgetItem *row);
    void SetAllChecks(bool checked); // the grid on the active tab

    static bool isChecked(const QTreeWidgetItem *row);

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    QTreeWidget *makeGrid(const QStringList &titles, const QList<int> &widths, int hiddenFrom);
    void FillRightsGrid();
    void FillPsnSortGrid();
    void FillDeptGrid();
    void FillWageSetGrid();
    void loadFromValues();
    void CheckRightsByMask(quint64 mask);
    void CheckRowsByIdList(QTreeWidget *grid, const QString &list);
    quint64 BuildRightsMask() const;
    QList<int> BuildIdList(QTreeWidget *grid) const;
    void SyncParentCheck(QTreeWidgetItem *row, bool checked);
    QTreeWidget *gridOf(QObject *watched) const;

    QLineEdit *m_pUserName;
    QLineEdit *m_pPwd;
    QLineEdit *m_pPwdConfirm;
    QLineEdit *m_pDescr;
    QCheckBox *m_pLocked;
    QLabel *m_pNote;
    QPushButton *m_pSelectAll;
    QPushButton *m_pSelectNone;
    QTabWidget *m_pTabs;
    QTreeWidget *m_grids[4] {};
    bool m_loaded = false;
};
