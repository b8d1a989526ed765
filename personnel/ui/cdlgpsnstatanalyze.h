#pragma once

#include "personnel/psnstat.h"
#include "personnel/ui/cdlgpsnstatchartset.h"
#include "personnel/ui/cpsnstattreeview.h"
#include "ui/dialogs/cdialogexx.h"

#include <QHash>
#include <QMenu>
#include <QPointer>

class CMyChartView;
class QLabel;
class QPrinter;
class QSplitter;
class QStatusBar;
class QTableWidget;
class QToolBar;
struct ChartPointHit;

// "人员统计分析": the stored statistics with the scope pickers on the left, the selected
// statistic's table over its chart on the right. Adds, modifies and deletes statistics,
// switches the chart, prints table or chart, and lists the persons behind a cell or a chart
// point. The four chart settings come from the profile section "PsnStatChart" when the
// window is made and go back there when it goes.
class CDlgPsnStatAnalyze : public CDialogExx, public IPsnStatChartOwner
{
    Q_OBJECT

public:
    enum Command {
        IdAdd = 32818,
        IdEdit = 32816,
        IdDelete = 32819,
        IdChartOptions = 33255,
        IdPrint = 32949,
        IdClose = 32817,
        IdPie3D = 33274,
        IdBar2D = 33267,
        IdHorzBar2D = 33268,
        IdPie2D = 33265,
        IdBar3D = 33272,
        IdHorzBar3D = 33273,
        IdChartSettings = 33275,
        IdPrintGrid = 33263,
        IdPrintChart = 33264,
    };

    explicit CDlgPsnStatAnalyze(QWidget *parent = nullptr);
    ~CDlgPsnStatAnalyze() override;

    CPsnStatTreeView *treeView() const { return m_pTreeView; }
    QTableWidget *grid() const { return m_pGrid; }
    CMyChartView *chartView() const override { return m_pChart; }
    QToolBar *toolBar() const { return m_pToolBar; }
    QStatusBar *statusBar() const { return m_pStatusBar; }
    QMenu *popupMenu() const { return m_pMenu; }
    QAction *action(int id) const { return m_actions.value(id); }
    // The context menu as last opened by the right button or a key; null when closed.
    QMenu *openPopup() const { return m_pPopupMenu; }
    int focusPane() const { return m_nFocusPane; }

    int chartType() const { return m_nChartType; }
    int colorTheme() const { return m_nColorTheme; }
    int fillGradientType() const { return m_nFillGradientType; }
    bool showDataLabels() const { return m_bShowDataLabels; }
    // The shown statistic's caption and dimension (1 or 2); empty and 1 without one.
    QString title() const { return m_table ? m_table->title : QString(); }
    int statDim() const { return m_table ? m_table->dim : 1; }

    void OnStatTreeSelChanged(const StatTreeScope &scope);
    // Computes the statistic m_nStatID for the current scope into the grid and the chart.
    void LoadStatistic();
    void ClearResult();
    // Draws the grid's rows (not the "合计:" row) with the current chart settings.
    void FillChart();
    void OnAddStat();
    void OnEditStat();
    void OnDeleteStat();
    void OnSetChartType(int code);
    void OnChartSettings();
    // Print the table (with the title) or the chart (on the whole printable page); nothing
    // while the table is empty. The On… forms ask for the printer first.
    bool PrintGridTo(QPrinter &printer);
    bool PrintChartTo(QPrinter &printer);
    void OnPrintGrid();
    void OnPrintChart();
    // The persons behind a cell in the browse dialog; column counts from 1 (column 0 is the
    // label column).
    void ShowPersonList(int row, int column);
    void OnGridDblClk(int row, int column);
    void OnChartPointClick(const ChartPointHit &hit);

    // IPsnStatChartOwner
    void ApplyChartSettings(int colorTheme, int fillGradientType, bool showDataLabels) override;
    void RotateChart(int part, double xStep, double yStep, double perspectiveStep) override;

    // Enter does not close the window.
    void accept() override { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void buildMenu();
    QAction *addCommand(QMenu *menu, int id, const QString &text,
                        void (CDlgPsnStatAnalyze::*slot)());
    void showTable(const vantrel::personnel::StatTable &table);
    int selectedStatKind() const;
    void showPopup(const QPoint &globalPos);
    bool isMine(QObject *watched) const;

    // The chart settings of the profile.
    int m_nChartType;
    int m_nColorTheme;
    int m_nFillGradientType;
    bool m_bShowDataLabels;

    int m_nSortID = 0;
    int m_nDeptID = 0;
    int m_nStatID = 0;
    std::optional<vantrel::personnel::StatTable> m_table;
    int m_nFocusPane = 0;

    QToolBar *m_pToolBar = nullptr;
    QSplitter *m_pSplitter = nullptr;
    QSplitter *m_pSplitter2 = nullptr;
    CPsnStatTreeView *m_pTreeView = nullptr;
    QTableWidget *m_pGrid = nullptr;
    CMyChartView *m_pChart = nullptr;
    QStatusBar *m_pStatusBar = nullptr;
    QLabel *m_pStatusText = nullptr;
    QMenu *m_pMenu = nullptr;
    QMenu *m_pChartMenu = nullptr;
    QMenu *m_pPrintMenu = nullptr;
    QPointer<QMenu> m_pPopupMenu;
    QHash<int, QAction *> m_actions;
};

// Registers the main frame's opener of command 33249 (统计分析).
void RegisterPsnStatOpener();
