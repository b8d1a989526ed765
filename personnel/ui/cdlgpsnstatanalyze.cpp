#include "personnel/ui/cdlgpsnstatanalyze.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cdlgpsndatapreview.h"
#include "personnel/ui/cdlgpsnstatanalyzeitem.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cmychartview.h"
#include "ui/controls/cmytreectrl.h"
#include "ui/controls/gridprint.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/modulecommands.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

const QString ProfileSection = u"PsnStatChart"_s;

void warn(QWidget *owner, const QString &text)
{
    ShowMessage(owner, text, LoadResString(117), QMessageBox::Warning);
}

void fail(QWidget *owner, const QString &text)
{
    ShowMessage(owner, text, LoadResString(117), QMessageBox::Critical);
}

} // namespace

CDlgPsnStatAnalyze::CDlgPsnStatAnalyze(QWidget *parent)
    : CDialogExx(554, 0, parent)
    , m_nChartType(Profile::getInt(ProfileSection, u"ChartType"_s, 8))
    , m_nColorTheme(Profile::getInt(ProfileSection, u"ColorTheme"_s, 0))
    , m_nFillGradientType(Profile::getInt(ProfileSection, u"FillGradientType"_s, 0))
    , m_bShowDataLabels(Profile::getInt(ProfileSection, u"ShowDataLabels"_s, 1) != 0)
{
    setWindowTitle(u"人员统计分析"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

    buildMenu();
    buildToolBar();
    m_pTreeView = new CPsnStatTreeView(this);
    m_pGrid = new QTableWidget(this);
    m_pGrid->setObjectName(u"StatGrid"_s);
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->setAlternatingRowColors(true);
    m_pGrid->verticalHeader()->setDefaultSectionSize(22);
    m_pChart = new CMyChartView(this);
    m_pSplitter2 = new QSplitter(Qt::Vertical);
    m_pSplitter2->addWidget(m_pGrid);
    m_pSplitter2->addWidget(m_pChart);
    m_pSplitter2->setSizes({ 150, 300 });
    m_pSplitter = new QSplitter(Qt::Horizontal);
    m_pSplitter->addWidget(m_pTreeView);
    m_pSplitter->addWidget(m_pSplitter2);
    m_pSplitter->setSizes({ 200, 600 });
    m_pSplitter->setStretchFactor(1, 1);

    m_pStatusBar = new QStatusBar(this);
    m_pStatusBar->setSizeGripEnabled(false);
    auto *idle = new QLabel(u"就绪"_s, this);
    idle->setMinimumWidth(200);
    idle->setFrameShape(QFrame::Panel);
    idle->setFrameShadow(QFrame::Sunken);
    m_pStatusText = new QLabel(this);
    m_pStatusText->setFrameShape(QFrame::Panel);
    m_pStatusText->setFrameShadow(QFrame::Sunken);
    m_pStatusBar->addWidget(idle);
    m_pStatusBar->addWidget(m_pStatusText, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pSplitter, 1);
    layout->addWidget(m_pStatusBar);
    resize(980, 660);

    m_pChart->ClearChart();
    m_pChart->SetChartType(m_nChartType);
    connect(m_pTreeView, &CPsnStatTreeView::treeSelChanged, this,
            &CDlgPsnStatAnalyze::OnStatTreeSelChanged);
    connect(m_pGrid, &QTableWidget::cellDoubleClicked, this, &CDlgPsnStatAnalyze::OnGridDblClk);
    connect(m_pChart, &CMyChartView::chartPointClick, this, &CDlgPsnStatAnalyze::OnChartPointClick);
    m_pTreeView->OnInitialUpdate();
    qApp->installEventFilter(this);
}

CDlgPsnStatAnalyze::~CDlgPsnStatAnalyze()
{
    qApp->removeEventFilter(this);
    Profile::writeInt(ProfileSection, u"ChartType"_s, m_nChartType);
    Profile::writeInt(ProfileSection, u"ColorTheme"_s, m_nColorTheme);
    Profile::writeInt(ProfileSection, u"FillGradientType"_s, m_nFillGradientType);
    Profile::writeInt(ProfileSection, u"ShowDataLabels"_s, m_bShowDataLabels ? 1 : 0);
}

QAction *CDlgPsnStatAnalyze::addCommand(QMenu *menu, int id, const QString &text,
                                        void (CDlgPsnStatAnalyze::*slot)())
{
    QAction *action = menu->addAction(text, this, slot);
    action->setData(id);
    m_actions.insert(id, action);
    return action;
}

void CDlgPsnStatAnalyze::buildMenu()
{
    m_pMenu = new QMenu(u"Dummy"_s, this);
    addCommand(m_pMenu, IdAdd, u"添加(&A)"_s, &CDlgPsnStatAnalyze::OnAddStat);
    addCommand(m_pMenu, IdEdit, u"修改(&E)"_s, &CDlgPsnStatAnalyze::OnEditStat);
    addCommand(m_pMenu, IdDelete, u"删除(&D)"_s, &CDlgPsnStatAnalyze::OnDeleteStat);
    m_pMenu->addSeparator();
    m_pChartMenu = m_pMenu->addMenu(u"图表选项(&O)"_s);
    const std::pair<int, QString> types[] = {
        { IdPie3D, u"饼形图[3D]"_s },
        { IdBar2D, u"柱形图[2D]"_s },
        { IdHorzBar2D, u"条形图[2D]"_s },
        { IdPie2D, u"饼形图[2D]"_s },
        { 0, QString() },
        { IdBar3D, u"柱形图[3D]"_s },
        { IdHorzBar3D, u"条形图[3D]"_s },
        { 0, QString() },
    };
    const QHash<int, int> codes = { { IdBar2D, 8 },  { IdHorzBar2D, 9 },  { IdPie2D, 2 },
                                    { IdBar3D, 20 }, { IdHorzBar3D, 21 }, { IdPie3D, 3 } };
    for (const auto &[id, text] : types) {
        if (id == 0) {
            m_pChartMenu->addSeparator();
            continue;
        }
        const int code = codes.value(id);
        QAction *action
            = m_pChartMenu->addAction(text, this, [this, code] { OnSetChartType(code); });
        action->setData(id);
        m_actions.insert(id, action);
    }
    addCommand(m_pChartMenu, IdChartSettings, u"高级设置(&S)"_s,
               &CDlgPsnStatAnalyze::OnChartSettings);
    m_pPrintMenu = m_pMenu->addMenu(u"打印(&P)"_s);
    addCommand(m_pPrintMenu, IdPrintGrid, u"打印统计表格(&G)"_s, &CDlgPsnStatAnalyze::OnPrintGrid);
    addCommand(m_pPrintMenu, IdPrintChart, u"打印统计图表(&C)"_s,
               &CDlgPsnStatAnalyze::OnPrintChart);
    m_pMenu->addSeparator();
    m_pMenu->addAction(u"退出(&C)"_s, this, &CDlgPsnStatAnalyze::reject);
}

void CDlgPsnStatAnalyze::buildToolBar()
{
    m_pToolBar = new QToolBar(this);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_pToolBar->setIconSize(QSize(16, 16));
    const auto button = [this](int id, const QString &text, QStyle::StandardPixmap icon,
                               const QString &tip, auto slot) {
        QAction *action = m_pToolBar->addAction(style()->standardIcon(icon), text, this, slot);
        action->setToolTip(tip);
        action->setData(id);
        return action;
    };
    button(IdAdd, u"增加"_s, QStyle::SP_FileDialogNewFolder, u"添加统计项"_s,
           &CDlgPsnStatAnalyze::OnAddStat);
    button(IdEdit, u"修改"_s, QStyle::SP_FileDialogDetailedView, u"修改统计项"_s,
           &CDlgPsnStatAnalyze::OnEditStat);
    button(IdDelete, u"删除"_s, QStyle::SP_TrashIcon, u"删除统计项"_s,
           &CDlgPsnStatAnalyze::OnDeleteStat);
    m_pToolBar->addSeparator();
    const std::tuple<int, QString, QStyle::StandardPixmap, QString, QMenu *> dropDowns[] = {
        { IdChartOptions, u"图表"_s, QStyle::SP_FileDialogContentsView, u"图表选项"_s,
          m_pChartMenu },
        { IdPrint, u"打印"_s, QStyle::SP_DialogSaveButton, u"打印"_s, m_pPrintMenu },
    };
    for (const auto &[id, text, icon, tip, menu] : dropDowns) {
        auto *tool = new QToolButton(m_pToolBar);
        tool->setText(text);
        tool->setToolTip(tip);
        tool->setIcon(style()->standardIcon(icon));
        tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tool->setMenu(menu);
        tool->setPopupMode(QToolButton::InstantPopup);
        tool->setObjectName(id == IdPrint ? u"PrintButton"_s : u"ChartButton"_s);
        tool->setMinimumSize(36, 36);
        m_pToolBar->addWidget(tool);
    }
    m_pToolBar->addSeparator();
    button(IdClose, u"退出"_s, QStyle::SP_DialogCloseButton, u"退出"_s,
           &CDlgPsnStatAnalyze::reject);
}

// ---- the result

void CDlgPsnStatAnalyze::OnStatTreeSelChanged(const StatTreeScope &scope)
{
    m_nSortID = scope.category;
    m_nDeptID = scope.department;
    if (scope.itemData > 0) {
        m_nStatID = scope.itemData;
        LoadStatistic();
    } else {
        ClearResult();
    }
}

void CDlgPsnStatAnalyze::LoadStatistic()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StatScope scope;
    scope.department = m_nDeptID;
    scope.category = m_nSortID;
    const auto computed = ComputeStat(theDatabase, m_nStatID, scope, theCurrentUser);
    QApplication::restoreOverrideCursor();
    if (!computed) {
        ClearResult();
        fail(this, computed.error());
        return;
    }
    if (!computed->has_value())
        return; // gone meanwhile: the last result stays
    showTable(**computed);
    FillChart();
}

void CDlgPsnStatAnalyze::showTable(const StatTable &table)
{
    m_table = table;
    m_pGrid->clear();
    m_pGrid->setColumnCount(int(table.headers.size()));
    m_pGrid->setRowCount(int(table.rowLabels.size()) + 1);
    m_pGrid->setHorizontalHeaderLabels(table.headers);
    for (int column = 0; column < m_pGrid->columnCount(); ++column)
        m_pGrid->setColumnWidth(column, column == 0 ? 260 : (table.dim == 1 ? 100 : 160));
    const auto countItem = [](qint64 count) {
        auto *item = new QTableWidgetItem;
        item->setData(Qt::DisplayRole, count);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return item;
    };
    for (int row = 0; row < table.rowLabels.size(); ++row) {
        m_pGrid->setItem(row, 0, new QTableWidgetItem(table.rowLabels.at(row)));
        for (int column = 0; column < table.counts.at(row).size(); ++column)
            m_pGrid->setItem(row, column + 1, countItem(table.counts.at(row).at(column)));
    }
    const int footer = int(table.rowLabels.size());
    m_pGrid->setItem(footer, 0, new QTableWidgetItem(u"合计:"_s));
    for (int column = 0; column < table.totals.size(); ++column)
        m_pGrid->setItem(footer, column + 1, countItem(table.totals.at(column)));
    const QBrush footerBrush = palette().brush(QPalette::Button);
    for (int column = 0; column < m_pGrid->columnCount(); ++column) {
        if (QTableWidgetItem *item = m_pGrid->item(footer, column))
            item->setBackground(footerBrush);
    }
    m_pStatusText->setText(table.title);
}

void CDlgPsnStatAnalyze::ClearResult()
{
    m_table.reset();
    m_pGrid->clear();
    m_pGrid->setRowCount(0);
    m_pGrid->setColumnCount(0);
    m_pChart->ClearChart();
    m_pStatusText->clear();
}

void CDlgPsnStatAnalyze::FillChart()
{
    if (m_pGrid->rowCount() == 0 || !m_table) {
        m_pChart->ClearChart();
        return;
    }
    ChartContent content;
    content.title = m_table->title;
    content.oneDimensional = m_table->dim == 1;
    const bool columnOrBar
        = m_nChartType == 8 || m_nChartType == 9 || m_nChartType == 20 || m_nChartType == 21;
    content.legend = !(content.oneDimensional && columnOrBar);
    const int rows = m_pGrid->rowCount() - 1; // the "合计:" row is never charted
    for (int row = 0; row < rows; ++row)
        content.labels << m_pGrid->item(row, 0)->text();
    for (int column = 1; column < m_pGrid->columnCount(); ++column) {
        ChartSeriesData series;
        series.name = m_pGrid->horizontalHeaderItem(column)->text();
        for (int row = 0; row < rows; ++row) {
            const QTableWidgetItem *cell = m_pGrid->item(row, column);
            series.values << (cell ? cell->data(Qt::DisplayRole).toDouble() : 0.0);
        }
        content.series << series;
    }
    m_pChart->SetColorTheme(m_nColorTheme);
    m_pChart->SetFillGradientType(m_nFillGradientType);
    m_pChart->SetShowDataLabels(m_bShowDataLabels);
    m_pChart->SetContent(content);
}

void CDlgPsnStatAnalyze::OnSetChartType(int code)
{
    m_nChartType = code;
    m_pChart->SetChartType(code);
    FillChart();
}

void CDlgPsnStatAnalyze::ApplyChartSettings(int colorTheme, int fillGradientType,
                                            bool showDataLabels)
{
    m_nColorTheme = colorTheme;
    m_nFillGradientType = fillGradientType;
    m_bShowDataLabels = showDataLabels;
    FillChart();
}

void CDlgPsnStatAnalyze::RotateChart(int part, double xStep, double yStep, double perspectiveStep)
{
    m_pChart->RotateChart(part, xStep, yStep, perspectiveStep);
}

void CDlgPsnStatAnalyze::OnChartSettings()
{
    CDlgPsnStatChartSet dialog(this, m_nChartType, m_nColorTheme, m_nFillGradientType,
                               m_bShowDataLabels, this);
    dialog.exec();
}

// ---- definitions

int CDlgPsnStatAnalyze::selectedStatKind() const
{
    const QTreeWidgetItem *item = m_pTreeView->tree()->currentItem();
    if (!item)
        return 0;
    const int itemData = item->data(0, Qt::UserRole).toInt();
    if (itemData > 0)
        return item->parent() ? qAbs(item->parent()->data(0, Qt::UserRole).toInt()) : 0;
    return qAbs(itemData);
}

void CDlgPsnStatAnalyze::OnAddStat()
{
    const int kind = selectedStatKind();
    if (kind == 0) {
        warn(this, u"请选择统计类别!"_s);
        return;
    }
    int result = QDialog::Rejected;
    if (kind == 1) {
        CDlgPsnStatAnalyzeItem dialog(u"新建统计项"_s, 0, QString(), QString(), QString(), this);
        result = dialog.exec();
    } else {
        CDlgPsnStatAnalyzeItem2D dialog(u"新建统计项"_s, 0, QString(), -1, -1, this);
        result = dialog.exec();
    }
    if (result == QDialog::Accepted)
        m_pTreeView->LoadTree();
}

void CDlgPsnStatAnalyze::OnEditStat()
{
    const QTreeWidgetItem *item = m_pTreeView->tree()->currentItem();
    if (!item)
        return;
    const int tid = item->data(0, Qt::UserRole).toInt();
    if (tid <= 0) {
        warn(this, LoadResString(111));
        return;
    }
    const auto loaded = LoadStatDefinition(theDatabase, tid);
    if (!loaded) {
        fail(this, loaded.error());
        return;
    }
    if (!loaded->has_value())
        return;
    const StatDefinition &definition = **loaded;
    int result = QDialog::Rejected;
    if (definition.flag == 1) {
        CDlgPsnStatAnalyzeItem dialog(u"修改统计项"_s, tid, definition.caption, definition.table,
                                      definition.field, this);
        result = dialog.exec();
    } else {
        CDlgPsnStatAnalyzeItem2D dialog(u"修改统计项"_s, tid, definition.caption,
                                        definition.table.toInt(), definition.field.toInt(), this);
        result = dialog.exec();
    }
    if (result == QDialog::Accepted)
        m_pTreeView->LoadTree();
}

void CDlgPsnStatAnalyze::OnDeleteStat()
{
    const QTreeWidgetItem *item = m_pTreeView->tree()->currentItem();
    if (!item)
        return;
    const int tid = item->data(0, Qt::UserRole).toInt();
    if (tid <= 0)
        return;
    const QString caption = item->text(0);
    if (ShowMessage(this, u"确定删除统计项 '%1' 吗?"_s.arg(caption), LoadResString(117),
                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const vantrel::Status deleted = DeleteStat(theDatabase, tid);
    if (!deleted) {
        warn(this, deleted.error());
        return;
    }
    theApp.WriteSystemLog(u"人员档案[删除人员统计分析项'%1']"_s.arg(caption), 0);
    m_pTreeView->LoadTree();
}

// ---- printing

bool CDlgPsnStatAnalyze::PrintGridTo(QPrinter &printer)
{
    if (m_pGrid->rowCount() == 0)
        return false;
    return vantrel::ui::PrintGrid(*m_pGrid, title(), printer);
}

bool CDlgPsnStatAnalyze::PrintChartTo(QPrinter &printer)
{
    if (m_pGrid->rowCount() == 0)
        return false;
    printer.setDocName(title());
    // A chart refilled a moment ago still has its title and axes to lay out.
    QCoreApplication::sendPostedEvents();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    m_pChart->PrintChart(painter, QRectF(0, 0, printer.width(), printer.height()));
    return painter.end();
}

void CDlgPsnStatAnalyze::OnPrintGrid()
{
    if (m_pGrid->rowCount() > 0)
        vantrel::ui::PrintGridWithDialog(*m_pGrid, title(), this);
}

void CDlgPsnStatAnalyze::OnPrintChart()
{
    if (m_pGrid->rowCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title());
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted)
        PrintChartTo(printer);
}

// ---- persons behind a cell

void CDlgPsnStatAnalyze::ShowPersonList(int row, int column)
{
    if (!m_table || row < 0 || row >= m_table->rowLabels.size() || column < 1
        || column >= m_table->headers.size())
        return;
    const QString label = m_table->rowLabels.at(row);
    const QString caption = m_table->dim == 1
        ? u"%1 - '%2'"_s.arg(m_table->title, label)
        : u"%1 - '%2 : %3'"_s.arg(m_table->title, label, m_table->headers.at(column));
    const SqlCondition query = StatCellQuery(*m_table, row, column);
    CDlgPsnDataPreview preview(this);
    preview.SetQuery(theApp.m_strConnection, query.sql, query.values);
    preview.SetCaption(caption);
    preview.exec();
}

void CDlgPsnStatAnalyze::OnGridDblClk(int row, int column)
{
    if (!m_table)
        return;
    if (m_table->dim == 1)
        ShowPersonList(row, 1);
    else if (column > 0)
        ShowPersonList(row, column);
}

void CDlgPsnStatAnalyze::OnChartPointClick(const ChartPointHit &hit)
{
    ShowPersonList(hit.pointIndex, hit.seriesIndex + 1);
}

// ---- mouse and keys anywhere in the window

bool CDlgPsnStatAnalyze::isMine(QObject *watched) const
{
    auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->window() == this;
}

void CDlgPsnStatAnalyze::showPopup(const QPoint &globalPos)
{
    m_pPopupMenu = m_pMenu;
    m_pMenu->popup(globalPos);
}

bool CDlgPsnStatAnalyze::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && isMine(watched)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton)
            showPopup(mouse->globalPosition().toPoint());
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool inMenu = m_pPopupMenu && watched == m_pPopupMenu.data();
    if (!isMine(watched) && !inMenu)
        return false;
    if (key->key() == Qt::Key_Alt || key->key() == Qt::Key_Menu) {
        if (m_pPopupMenu && m_pPopupMenu->isVisible()) {
            m_pPopupMenu->close();
            m_pPopupMenu = nullptr;
        } else {
            showPopup(QCursor::pos());
        }
        return true;
    }
    if (key->key() == Qt::Key_Tab && !inMenu && key->modifiers() == Qt::NoModifier) {
        m_nFocusPane = 1 - m_nFocusPane;
        if (m_nFocusPane == 0)
            m_pTreeView->tree()->setFocus(Qt::TabFocusReason);
        else
            m_pGrid->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

void RegisterPsnStatOpener()
{
    ModuleCommands::instance().registerOpener(33249, [](CMainFrame &frame) {
        CDlgPsnStatAnalyze dialog(&frame);
        dialog.exec();
    });
}
