#include "personnel/ui/cchildframepsn.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/migrations/migrations.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cadjunctpane.h"
#include "personnel/ui/cphotopane.h"
#include "personnel/ui/crelatinfopane.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/app/messagebox.h"
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
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString Placement = u"MDIForm"_s;
QPointer<QMdiSubWindow> openedFrame;

} // namespace

CChildFramePsn::CChildFramePsn(QWidget *parent) : QMainWindow(parent), m_pView(new CViewPsn)
{
    setObjectName(u"ChildFramePsn"_s);
    setWindowTitle(LoadResString(103));
    setCentralWidget(m_pView);
    setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
    createToolBar();
    createPanes();
    createMenus();
    createShortcuts();
    m_pView->SetSearchBox(m_pSearchBox);
    m_pView->AddPane(m_pPhotoPane);
    m_pView->AddPane(m_pAdjunctPane);
    m_pView->AddPane(m_pRelatPane);
    connect(m_pView, &CViewPsn::refreshing, this, &CChildFramePsn::BuildDynamicMenus);
    restoreState(Profile::getValue(Placement, u"PsnPanes"_s).toByteArray());
    updatePaneCommands();
}

CChildFramePsn::~CChildFramePsn() = default;

QToolButton *CChildFramePsn::addMenuButton(int id, const QString &text, QMenu *menu)
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

void CChildFramePsn::createToolBar()
{
    m_pToolBar = addToolBar(LoadResString(102));
    m_pToolBar->setObjectName(u"ToolBar%1"_s.arg(IdToolBar));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto addViewAction = [this](int id) {
        QAction *a = m_pView->action(id);
        m_pToolBar->addAction(a);
        m_actions.insert(id, a);
    };
    for (const int id : { int(CViewPsn::IdAdd), int(CViewPsn::IdModify), int(CViewPsn::IdDelete),
                          int(CViewPsn::IdReorder) })
        addViewAction(id);

    m_pToolsMenu = new QMenu(this);
    m_pToolsMenu->addAction(m_pView->action(CViewPsn::IdBatchUpdate));
    m_actions.insert(CViewPsn::IdBatchUpdate, m_pView->action(CViewPsn::IdBatchUpdate));
    m_pToolsMenu->addAction(m_pView->action(CViewPsn::IdSeniority));
    m_actions.insert(IdSeniority, m_pView->action(CViewPsn::IdSeniority));
    m_pToolsMenu->addSeparator();
    m_pToolsMenu->addAction(m_pView->action(CViewPsn::IdImport));
    m_actions.insert(IdImport, m_pView->action(CViewPsn::IdImport));
    addMenuButton(IdTools, u"工具"_s, m_pToolsMenu);

    m_pChangesMenu = new QMenu(this);
    for (const int id : { int(CViewPsn::IdTransfer), int(CViewPsn::IdSortChange) }) {
        m_pChangesMenu->addAction(m_pView->action(id));
        m_actions.insert(id, m_pView->action(id));
    }
    addMenuButton(IdChanges, u"异动"_s, m_pChangesMenu);

    m_pPrintMenu = new QMenu(this);
    m_pMailMenu = new QMenu(this);
    for (const auto &[kind, menu] :
         { std::pair { PrintItem, m_pPrintMenu }, std::pair { MailItem, m_pMailMenu } }) {
        QToolButton *button = addMenuButton(kind == PrintItem ? IdPrint : IdMail,
                                            kind == PrintItem ? u"打印"_s : u"邮件"_s, menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        const DynamicKind k = kind;
        connect(button, &QToolButton::clicked, this, [this, k] { runMenuButton(k); });
        connect(menu, &QMenu::triggered, this, [this](QAction *a) {
            const QVariantList item = a->data().toList();
            if (item.size() == 2)
                Q_EMIT dynamicCommand(item.at(0).toInt(), item.at(1).toInt(), a->text());
        });
    }
    BuildDynamicMenus();
    connect(this, &CChildFramePsn::dynamicCommand, this,
            [this](int kind, int id, const QString &name) {
                if (kind == PrintItem)
                    m_pView->PrintReport(id, name);
                else
                    m_pView->SendMails(id, name);
            });

    for (const int id :
         { int(CViewPsn::IdExport), int(CViewPsn::IdFilter), int(CViewPsn::IdRefresh) })
        addViewAction(id);
    QAction *exit = m_pToolBar->addAction(u"退出"_s);
    exit->setData(IdExit);
    m_actions.insert(IdExit, exit);
    connect(exit, &QAction::triggered, this, [this] {
        if (auto *window = qobject_cast<QMdiSubWindow *>(parentWidget()))
            window->close();
        else
            close();
    });

    m_pToolBar->addSeparator();
    m_pSearchBox = AddToolBarSearchBox(m_pToolBar, [this] { m_pView->Search(); });
}

QToolButton *CChildFramePsn::toolButton(int id) const
{
    return m_buttons.value(id);
}

QMenu *CChildFramePsn::menuOf(DynamicKind kind) const
{
    return kind == PrintItem ? m_pPrintMenu : m_pMailMenu;
}

void CChildFramePsn::BuildDynamicMenus()
{
    struct Source
    {
        DynamicKind kind;
        QString query;
        int managerId;
        QString managerText;
    };
    const Source sources[] = {
        { PrintItem, u"SELECT ID, Name FROM qz_Report WHERE Active=1 AND Type=1 ORDER BY Ord, ID"_s,
          IdPrintTemplates, u"打印模板管理"_s },
        { MailItem,
          u"SELECT AID, Name FROM qz_WageAnnounce WHERE Active=1 AND SID=0 ORDER BY Ord, AID"_s,
          IdMailTemplates, u"邮件模板管理"_s },
    };
    for (const Source &source : sources) {
        QMenu *menu = menuOf(source.kind);
        menu->clear();
        // A failed query leaves the menu without items.
        const vantrel::db::QueryResult rows = theDatabase.run(source.query);
        for (int row = 0; rows.ok && row < rows.rows.rowCount(); ++row) {
            QAction *item = menu->addAction(rows.rows.value(row, 1).toString());
            item->setData(QVariantList { int(source.kind), rows.rows.value(row, 0).toInt() });
        }
        menu->addSeparator();
        QAction *manager = menu->addAction(source.managerText);
        manager->setData(source.managerId);
        const DynamicKind kind = source.kind;
        connect(manager, &QAction::triggered, this, [this, kind] {
            const bool changed
                = kind == PrintItem ? m_pView->OnPrintTemplates() : m_pView->OnMailTemplates();
            // Not from inside the action's own signal: rebuilding deletes it.
            if (changed)
                QMetaObject::invokeMethod(this, &CChildFramePsn::BuildDynamicMenus,
                                          Qt::QueuedConnection);
        });
        m_actions.insert(source.managerId, manager);
    }
}

QList<QAction *> CChildFramePsn::dynamicActions(DynamicKind kind) const
{
    QList<QAction *> items;
    for (QAction *a : menuOf(kind)->actions()) {
        if (a->data().toList().size() == 2)
            items << a;
    }
    return items;
}

void CChildFramePsn::runMenuButton(DynamicKind kind)
{
    const QList<QAction *> items = dynamicActions(kind);
    if (items.size() == 1) {
        items.first()->trigger();
    } else if (items.size() > 1) {
        if (QToolButton *button = toolButton(kind == PrintItem ? IdPrint : IdMail))
            button->showMenu();
    }
}

void CChildFramePsn::createPanes()
{
    m_pDeptPane = new CDeptPane(u"导航"_s, this);
    m_pRelatPane = new CRelatInfoPane(this);
    m_pPhotoPane = new CPhotoPane(this);
    m_pAdjunctPane = new CAdjunctPane(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_pDeptPane);
    addDockWidget(Qt::BottomDockWidgetArea, m_pRelatPane);
    addDockWidget(Qt::RightDockWidgetArea, m_pPhotoPane);
    splitDockWidget(m_pPhotoPane, m_pAdjunctPane, Qt::Vertical);
    resizeDocks({ m_pDeptPane, m_pPhotoPane }, { 200, 120 }, Qt::Horizontal);
    resizeDocks({ m_pRelatPane, m_pPhotoPane, m_pAdjunctPane }, { 120, 120, 240 }, Qt::Vertical);
    connect(m_pDeptPane, &CDeptPane::treeSelChanged, this, &CChildFramePsn::onDeptSelection);
}

QDockWidget *CChildFramePsn::paneOfCommand(int id) const
{
    switch (id) {
    case IdDeptPaneView:
        return m_pDeptPane;
    case IdPhotoPaneView:
        return m_pPhotoPane;
    case IdRelatPaneView:
        return m_pRelatPane;
    case IdAdjunctPaneView:
        return m_pAdjunctPane;
    default:
        return nullptr;
    }
}

void CChildFramePsn::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(u"MenuBar130"_s);
    // Mnemonics stay with the main frame's menus of the same names.
    QMenu *edit = bar->addMenu(u"编辑"_s);
    edit->addActions(m_pView->contextMenu()->actions());
    QMenu *view = bar->addMenu(u"视图"_s);
    connect(view, &QMenu::aboutToShow, this, &CChildFramePsn::updatePaneCommands);
    const std::pair<int, QString> panes[] = {
        { IdDeptPaneView, u"部门导航窗口"_s },
        { IdPhotoPaneView, u"相片窗口"_s },
        { IdRelatPaneView, u"相关信息窗口"_s },
        { IdAdjunctPaneView, u"附件窗口"_s },
    };
    for (const auto &[id, text] : panes) {
        QDockWidget *pane = paneOfCommand(id);
        QAction *toggle = view->addAction(text);
        toggle->setData(id);
        toggle->setCheckable(true);
        toggle->setChecked(!pane->isHidden());
        m_actions.insert(id, toggle);
        connect(toggle, &QAction::triggered, pane, [pane, toggle] {
            pane->setVisible(pane->isHidden());
            toggle->setChecked(!pane->isHidden());
        });
        // The check follows the pane however it was shown or closed.
        connect(pane->toggleViewAction(), &QAction::toggled, toggle, &QAction::setChecked);
    }
    QMenu *tools = bar->addMenu(u"工具"_s);
    tools->addActions(m_pToolsMenu->actions());
    tools->addSeparator();
    tools->addActions(m_pChangesMenu->actions());
}

void CChildFramePsn::updatePaneCommands()
{
    // A pane hidden before the window first shows sends no hide event, so the check is
    // taken from the panes themselves.
    for (const int id : { IdDeptPaneView, IdPhotoPaneView, IdRelatPaneView, IdAdjunctPaneView })
        m_actions.value(id)->setChecked(!paneOfCommand(id)->isHidden());
}

void CChildFramePsn::focusPane(QDockWidget *pane, QWidget *control)
{
    if (pane->isVisible())
        control->setFocus();
}

void CChildFramePsn::createShortcuts()
{
    const auto key = [this](Qt::Key k, std::function<void()> run) {
        auto *shortcut = new QShortcut(QKeySequence(k), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, std::move(run));
    };
    AddSearchAndRefreshKeys(this, m_pSearchBox, m_pView->GetGridCtrl(),
                            [this] { m_pView->Refresh(); });
    key(Qt::Key_F6, [this] { focusPane(m_pDeptPane, m_pDeptPane->GetDeptTree()); });
    key(Qt::Key_F7, [this] { focusPane(m_pPhotoPane, m_pPhotoPane->MainControl()); });
    key(Qt::Key_F8, [this] { focusPane(m_pAdjunctPane, m_pAdjunctPane->MainControl()); });
    key(Qt::Key_F9, [this] { focusPane(m_pRelatPane, m_pRelatPane->MainControl()); });
}

void CChildFramePsn::OnInitialUpdate()
{
    m_pView->OnInitialUpdate();
    m_pDeptPane->ReloadWithRoot();
    QTreeWidget *tree = m_pDeptPane->GetDeptTree();
    if (QTreeWidgetItem *first = tree->topLevelItem(0))
        tree->setCurrentItem(first);
    // An administrator learns of person numbers held twice, which keep the number index away.
    const QStringList twice = vantrel::db::lastPsnNumberDuplicates();
    if (theCurrentUser.ISuper && !twice.isEmpty())
        ShowMessage(this, u"以下人员编号重复，请更正:\n"_s + twice.join(u", "_s),
                    LoadResString(117), QMessageBox::Warning);
}

void CChildFramePsn::onDeptSelection(const DeptPaneSelection &selection)
{
    m_pView->SetFilters(selection.department, selection.category);
    m_pView->BuildWhereClause();
    m_pView->FillGrid();
}

void CChildFramePsn::SavePlacement() const
{
    SaveMdiPlacement(qobject_cast<const QMdiSubWindow *>(parentWidget()));
    Profile::writeValue(Placement, u"PsnPanes"_s, saveState());
}

void CChildFramePsn::ApplyPlacement(QMdiSubWindow *window)
{
    ApplyMdiPlacement(window);
}

void CChildFramePsn::closeEvent(QCloseEvent *event)
{
    SavePlacement();
    QMainWindow::closeEvent(event);
}

QMdiSubWindow *OpenedPersonnelFrame()
{
    return openedFrame;
}

QMdiSubWindow *OpenPersonnelFrame(CMainFrame &mainFrame)
{
    if (openedFrame) {
        mainFrame.ActivateChildFrame(openedFrame);
        return openedFrame;
    }
    auto *frame = new CChildFramePsn;
    QMdiSubWindow *window = mainFrame.mdiArea()->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(frame->windowTitle());
    openedFrame = window;
    CChildFramePsn::ApplyPlacement(window);
    // The frame's own placement and layout are saved when the window closes around it.
    QObject::connect(window, &QObject::destroyed, [] { openedFrame = nullptr; });
    if (!window->isMaximized())
        window->show();
    frame->OnInitialUpdate();
    theApp.WriteSystemLog(u"人员档案[查看]"_s, 0);
    return window;
}
