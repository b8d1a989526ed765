#pragma once

#include "personnel/arctableinfo.h"
#include "personnel/cpersonbase.h"
#include "personnel/ui/cdlgdynctlformforrelatarc.h"
#include "personnel/ui/cpanetoolbar.h"
#include "personnel/ui/ipersonpane.h"

#include <QDockWidget>
#include <QVector>

class CBCGPADOGridCtrl;
class CMyMFCTabCtrl;
class QAction;
class QPrinter;
class QTabBar;

// The "相关资料" pane of the personnel frame: the current person's rows of every shown
// related-archive table, one tab each, and as the last tab "薪资情况" the person's wage history
// (newest period first, the period frozen), one inner tab per wage set the operator may see.
// Rows are added and modified in the related-archive form (also by a double-click), deleted
// after a question and reordered (right 3, related tabs only); the shown grid is exported to
// an .xlsx workbook (right 10) and printed (right 5). Column widths dragged on a related tab
// are stored per caption. The grids read through the program's connection.
class CRelatInfoPane : public QDockWidget,
                       public IPersonPane,
                       public IPaneCmdUI,
                       public IRelatFormOwner
{
    Q_OBJECT

public:
    enum {
        IdAdd = 32836,
        IdModify = 32837,
        IdDelete = 32823,
        IdReorder = 33279,
        IdExport = 33137,
        IdPrint = 32949,
    };

    explicit CRelatInfoPane(QWidget *parent = nullptr);
    ~CRelatInfoPane() override;

    void SetCurrentPerson(const CPersonBase &person) override;
    const CPersonBase &GetPerson() const { return m_person; }
    void ReloadRelatRows() override;
    // Reads the related tables and wage sets again (the pane reads them once when made).
    void LoadTabs();

    QWidget *MainControl() const;
    QAction *action(int id) const;
    bool IsPaneCommandEnabled(int id) const override;
    CMyMFCTabCtrl *tabCtrl() const { return m_pTabs; }
    QTabBar *wageTabBar() const { return m_pWageTabs; }
    CBCGPADOGridCtrl *relatGrid() const { return m_pGrid; }
    CBCGPADOGridCtrl *wageGrid() const { return m_pWageGrid; }
    const QVector<tagARCTABLEINFO> &tables() const { return m_tables; }
    bool IsWageTab() const;
    int GetCurrentWageSet() const { return m_nWageSet; }

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnReorder();
    void OnExport();
    void OnPrint();
    // Prints the shown grid with its title and logs it; false when there is nothing to print.
    bool PrintShownGrid(QPrinter &printer);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool hasPerson() const { return m_person.PID > 0; }
    bool relatTabActive() const;
    void openForm(bool add);
    void onTabActivated(int index);
    void onWageTabChanged(int index);
    void onColumnResized(int column, int oldWidth, int newWidth);
    void fillRelatGrid();
    void fillWageGrid();
    bool attach(CBCGPADOGridCtrl *grid);
    // The shown grid's query and values, and its title; false when it shows no rows.
    bool shownQuery(QString *sql, QVariantList *values, QString *title);
    QString shownTitle() const;
    void log(const QString &text) const;

    CPersonBase m_person;
    CPaneToolBar *m_pToolBar;
    CMyMFCTabCtrl *m_pTabs;
    QWidget *m_pWagePage;
    QTabBar *m_pWageTabs;
    CBCGPADOGridCtrl *m_pGrid;
    CBCGPADOGridCtrl *m_pWageGrid;
    QVector<tagARCTABLEINFO> m_tables;
    QVector<int> m_widths; // one per column of the related grid
    QString m_strSql;      // the related grid's query
    int m_nWageSet = 0;
    int m_nTable = 0;
    bool m_bLoadingTabs = false;
};
