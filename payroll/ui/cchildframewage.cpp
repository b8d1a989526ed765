#include "payroll/ui/cchildframewage.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/ui/cdlgwagetableopen.h"
#include "payroll/ui/cviewwage.h"
#include "ui/controls/cdeptpane.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/itemgridcommands.h"
#include "ui/controls/widgetfillers.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/mdiplacement.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString Placement = u"MDIForm"_s;

struct TemplateSource
{
    int buttonId;
    QString text;
    QString query;
    int managerId;
    QString managerText;
};

// In the order in which the menus are numbered.
const TemplateSource &templateSource(int kind)
{
    static const TemplateSource sources[] = {
        { CChildFrameWage::IdPrint, u"打印"_s,
          u"SELECT ID,Name FROM qz_Report WHERE Active=1 AND Type=0 AND SID=? ORDER BY Ord"_s,
          CChildFrameWage::IdPrintTemplates, u"打印模板管理(&M)"_s },
        { CChildFrameWage::IdBank, u"报盘"_s,
          u"SELECT EID,Name FROM qz_WageExport WHERE Active=1 AND SID=? ORDER BY Ord"_s,
          CChildFrameWage::IdBankTemplates, u"报盘模板管理(&M)"_s },
        { CChildFrameWage::IdExport, u"导出"_s,
          u"SELECT ID,Name FROM qz_Report WHERE Active=1 AND Type=2 AND SID=? ORDER BY Ord"_s,
          CChildFrameWage::IdExportTemplates, u"导出模板管理(&M)"_s },
        { CChildFrameWage::IdMail, u"邮件"_s,
          u"SELECT AID,Name FROM qz_WageAnnounce WHERE Active=1 AND SID=? ORDER BY Ord"_s,
          CChildFrameWage::IdMailTemplates, u"邮件模板管理(&M)"_s },
    };
    return sources[kind];
}

} // namespace

CChildFrameWage::CChildFrameWage(int sid, const QString &title, const QString &table, int period,
                                 int closed, QWidget *parent)
    : QMainWindow(parent)
    , m_nSid(sid)
    , m_strTitle(title)
    , m_strTable(table)
    , m_nPeriod(period)
    , m_pView(new CViewWage)
{
    setObjectName(u"ChildFrameWage"_s);
    setWindowTitle(u"薪资表(%1 - %2)"_s.arg(FormatWagePeriod(period), title));
    m_pView->SetPeriod(sid, title, table, period, closed);
    setCentralWidget(m_pView);
    createToolBar();
    m_pDeptPane = new CDeptPane(u"导航"_s, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_pDeptPane);
    resizeDocks({ m_pDeptPane }, { 200 }, Qt::Horizontal);
    connect(m_pDeptPane, &CDeptPane::treeSelChanged, this, &CChildFrameWage::onDeptSelection);
    createShortcuts();
    m_pView->SetSearchBox(m_pSearchBox);
    connect(m_pView, &CViewWage::refreshing, this, &CChildFrameWage::LoadTemplateMenus);
    restoreState(Profile::getValue(Placement, u"WagePanes"_s).toByteArray());
}

CChildFrameWage::~CChildFrameWage() = default;

QToolButton *CChildFrameWage::addMenuButton(int id, const QString &text, QMenu *menu)
{
    auto *button = new QToolButton;
    button->setText(text);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setObjectName(u"button%1"_s.arg(id));
    m_pToolBar->addWidget(button);
    m_buttons.insert(id, button);
    return button;
}

void CChildFrameWage::createToolBar()
{
    m_pToolBar = addToolBar(LoadResString(107));
    m_pToolBar->setObjectName(u"ToolBar131"_s);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto addViewAction = [this](int id) {
        QAction *a = m_pView->action(id);
        m_pToolBar->addAction(a);
        m_actions.insert(id, a);
    };
    for (const int id :
         { int(CViewWage::IdAdd), int(CViewWage::IdDelete), int(CViewWage::IdReorder) })
        addViewAction(id);
    m_pToolBar->addSeparator();
    m_pToolsMenu = new QMenu(this);
    for (const int id : { int(CViewWage::IdBatchUpdate), int(CViewWage::IdCalculate), 0,
                          int(CViewWage::IdImport) }) {
        if (id == 0) {
            m_pToolsMenu->addSeparator();
            continue;
        }
        m_pToolsMenu->addAction(m_pView->action(id));
        m_actions.insert(id, m_pView->action(id));
    }
    addMenuButton(IdTools, u"工具"_s, m_pToolsMenu);
    m_pToolBar->addSeparator();
    for (const int kind : { ExportKind, BankKind, MailKind, PrintKind }) {
        m_templateMenus[kind] = new QMenu(this);
        QToolButton *button = addMenuButton(templateSource(kind).buttonId,
                                            templateSource(kind).text, m_templateMenus[kind]);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        const auto k = TemplateKind(kind);
        connect(button, &QToolButton::clicked, this, [this, k] { runTemplateButton(k); });
        connect(m_templateMenus[kind], &QMenu::triggered, this, [this, k](QAction *a) {
            const QVariantList entry = a->data().toList();
            if (entry.size() == 2)
                Q_EMIT templateCommand(k, entry.at(1).toInt(), a->text());
        });
    }
    LoadTemplateMenus();
    m_pToolBar->addSeparator();
    addViewAction(CViewWage::IdCheckOut);
    m_pToolBar->addSeparator();
    addViewAction(CViewWage::IdFilter);
    addViewAction(CViewWage::IdRefresh);
    m_pSearchBox = AddToolBarSearchBox(m_pToolBar, [this] { m_pView->Search(); });
    m_pToolBar->addSeparator();
    QAction *exit = m_pToolBar->addAction(u"退出"_s);
    exit->setData(IdExit);
    m_actions.insert(IdExit, exit);
    connect(exit, &QAction::triggered, this, [this] {
        if (auto *window = qobject_cast<QMdiSubWindow *>(parentWidget()))
            window->close();
        else
            close();
    });
}

void CChildFrameWage::LoadTemplateMenus()
{
    // Numbered afresh on every rebuild, running on across the four menus.
    int next = FirstTemplateId;
    for (const int kind : { PrintKind, BankKind, ExportKind, MailKind }) {
        const TemplateSource &source = templateSource(kind);
        QMenu *menu = m_templateMenus[kind];
        menu->clear();
        // A query that fails (or a table not there yet) leaves the menu without entries.
        const vantrel::db::QueryResult rows = theDatabase.run(source.query, { m_nSid });
        for (int row = 0; rows.ok && row < rows.rows.rowCount(); ++row) {
            QAction *entry = menu->addAction(rows.rows.value(row, 1).toString());
            entry->setData(QVariantList { next++, rows.rows.value(row, 0).toInt() });
        }
        menu->addSeparator();
        QAction *manager = menu->addAction(source.managerText);
        manager->setEnabled(false); // the template managers come with the output commands
        m_actions.insert(source.managerId, manager);
        if (kind == ExportKind) {
            menu->addSeparator();
            menu->addAction(m_pView->action(CViewWage::IdExport));
        }
    }
}

QList<QAction *> CChildFrameWage::templateActions(TemplateKind kind) const
{
    QList<QAction *> entries;
    for (QAction *a : m_templateMenus[kind]->actions()) {
        if (a->data().toList().size() == 2)
            entries << a;
    }
    return entries;
}

void CChildFrameWage::runTemplateButton(TemplateKind kind)
{
    const QList<QAction *> entries = templateActions(kind);
    if (kind == ExportKind) {
        if (entries.isEmpty())
            m_pView->action(CViewWage::IdExport)->trigger();
        else
            toolButton(IdExport)->showMenu();
        return;
    }
    if (entries.size() == 1)
        entries.first()->trigger();
    else if (entries.size() > 1)
        toolButton(templateSource(kind).buttonId)->showMenu();
}

void CChildFrameWage::createShortcuts()
{
    AddSearchAndRefreshKeys(this, m_pSearchBox, m_pView->GetGridCtrl(),
                            [this] { m_pView->Refresh(); });
    auto *pane = new QShortcut(QKeySequence(Qt::Key_F6), this);
    pane->setContext(Qt::WidgetWithChildrenShortcut);
    connect(pane, &QShortcut::activated, this, [this] {
        if (m_pDeptPane->isVisible())
            m_pDeptPane->GetDeptTree()->setFocus();
    });
}

void CChildFrameWage::OnInitialUpdate()
{
    m_pView->OnInitialUpdate();
    m_pDeptPane->ReloadWithRoot();
    QTreeWidget *tree = m_pDeptPane->GetDeptTree();
    if (QTreeWidgetItem *first = tree->topLevelItem(0))
        tree->setCurrentItem(first);
}

void CChildFrameWage::onDeptSelection(const DeptPaneSelection &selection)
{
    m_pView->SetFilters(selection.department, selection.category);
    m_pView->BuildWhereClause();
    m_pView->FillGrid();
    m_pView->OnActivateView();
}

void CChildFrameWage::SavePlacement() const
{
    SaveMdiPlacement(qobject_cast<const QMdiSubWindow *>(parentWidget()));
    Profile::writeValue(Placement, u"WagePanes"_s, saveState());
}

void CChildFrameWage::ApplyPlacement(QMdiSubWindow *window)
{
    ApplyMdiPlacement(window);
}

void CChildFrameWage::closeEvent(QCloseEvent *event)
{
    SavePlacement();
    QMainWindow::closeEvent(event);
}

QMdiSubWindow *OpenWagePeriodFrame(CMainFrame &mainFrame, int sid, const QString &title,
                                   const QString &table, int period, int closed)
{
    QMdiArea *area = mainFrame.mdiArea();
    for (QMdiSubWindow *window : area->subWindowList()) {
        const auto *frame = qobject_cast<CChildFrameWage *>(window->widget());
        if (frame && frame->GetWageSetId() == sid && frame->GetPeriod() == period) {
            mainFrame.ActivateChildFrame(window);
            return window;
        }
    }
    auto *frame = new CChildFrameWage(sid, title, table, period, closed);
    QMdiSubWindow *window = area->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(frame->windowTitle());
    CChildFrameWage::ApplyPlacement(window);
    // The session's payroll context follows the active period window.
    QObject::connect(area, &QMdiArea::subWindowActivated, frame, [window, frame](QMdiSubWindow *w) {
        if (w == window)
            frame->GetView()->OnActivateView();
    });
    if (!window->isMaximized())
        window->show();
    frame->OnInitialUpdate();
    mainFrame.ActivateChildFrame(window);
    return window;
}

QMdiSubWindow *OpenWageFrame(CMainFrame &mainFrame)
{
    CDlgWageTableOpen dialog(&mainFrame);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return OpenWagePeriodFrame(mainFrame, dialog.wageSetId(), dialog.title(), dialog.tableName(),
                               dialog.period(), dialog.closed());
}
