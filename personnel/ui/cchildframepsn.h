#pragma once

#include <QHash>
#include <QMainWindow>

class CAdjunctPane;
class CDeptPane;
class CPhotoPane;
class CRelatInfoPane;
class CViewPsn;
class QAction;
class QComboBox;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;
struct DeptPaneSelection;

// The personnel archive's window in the main frame's MDI area: the module toolbar, the person
// view and four docking panes (导航: categories over the department tree; 相关资料, 相片,
// 附件 follow the view's current person). The department pane's choice scopes the view. The
// toolbar's 打印 and 邮件 buttons list the active personnel report layouts and mail templates
// from the database; their items carry the kind and the row's ID. F3 goes to the search box,
// F5 to the list (in the list it refreshes), F6 to F9 to the panes.
//
// The frame's own menu bar holds 编辑 (the list's context menu), 视图 (one checked command per
// pane: 部门导航窗口, 相片窗口, 相关信息窗口, 附件窗口) and 工具; 文件 and 帮助 stay the main
// frame's.
//
// One frame at a time: OpenPersonnelFrame makes it or brings it forward. Closing it stores its
// place ("MDIForm") and the panes' layout in the profile.
class CChildFramePsn : public QMainWindow
{
    Q_OBJECT

public:
    // Toolbar and menu ids.
    enum Command {
        IdToolBar = 130,
        IdTools = 33315,
        IdChanges = 32960,
        IdPrint = 32921,
        IdMail = 32983,
        IdSearchLabel = 32788,
        IdSearchBox = 32789,
        IdExit = 57602,
        IdSeniority = 33317,
        IdImport = 32968,
        IdTransfer = 32958,
        IdSortChange = 32959,
        IdPrintTemplates = 33191,
        IdMailTemplates = 33334,
        IdDeptPaneView = 32842,
        IdPhotoPaneView = 32848,
        IdRelatPaneView = 32849,
        IdAdjunctPaneView = 32851,
    };
    enum DynamicKind { PrintItem = 1, MailItem = 2 };

    explicit CChildFramePsn(QWidget *parent = nullptr);
    ~CChildFramePsn() override;

    CViewPsn *GetView() const { return m_pView; }
    CDeptPane *GetDeptPane() const { return m_pDeptPane; }
    CRelatInfoPane *GetRelatInfoPane() const { return m_pRelatPane; }
    CPhotoPane *GetPhotoPane() const { return m_pPhotoPane; }
    CAdjunctPane *GetAdjunctPane() const { return m_pAdjunctPane; }
    QToolBar *GetToolBar() const { return m_pToolBar; }
    QComboBox *GetSearchBox() const { return m_pSearchBox; }
    QToolButton *toolButton(int id) const;
    QAction *action(int id) const { return m_actions.value(id); }
    // The pane that a 视图 command shows and hides; null for other ids.
    QDockWidget *paneOfCommand(int id) const;

    // Fills the department pane and lets the view make its first fill (the first department
    // of the tree chosen).
    void OnInitialUpdate();
    // The 打印 and 邮件 menus from the database: items first, then the separator and the
    // manager entry. An item's action data is {kind, ID}.
    void BuildDynamicMenus();
    QList<QAction *> dynamicActions(DynamicKind kind) const;
    // Stores the window's place and the panes' layout.
    void SavePlacement() const;
    // Puts the MDI window where the profile says.
    static void ApplyPlacement(QMdiSubWindow *window);

Q_SIGNALS:
    // A print or mail item was chosen: the report's (template's) ID and name.
    void dynamicCommand(int kind, int id, const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBar();
    void createPanes();
    void createMenus();
    void updatePaneCommands();
    void createShortcuts();
    void onDeptSelection(const DeptPaneSelection &selection);
    void runMenuButton(DynamicKind kind);
    void focusPane(QDockWidget *pane, QWidget *control);
    QMenu *menuOf(DynamicKind kind) const;
    QToolButton *addMenuButton(int id, const QString &text, QMenu *menu);

    CViewPsn *m_pView;
    QToolBar *m_pToolBar = nullptr;
    QComboBox *m_pSearchBox = nullptr;
    CDeptPane *m_pDeptPane = nullptr;
    CRelatInfoPane *m_pRelatPane = nullptr;
    CPhotoPane *m_pPhotoPane = nullptr;
    CAdjunctPane *m_pAdjunctPane = nullptr;
    QMenu *m_pToolsMenu = nullptr;
    QMenu *m_pChangesMenu = nullptr;
    QMenu *m_pPrintMenu = nullptr;
    QMenu *m_pMailMenu = nullptr;
    QHash<int, QAction *> m_actions;
    QHash<int, QToolButton *> m_buttons;
};

class CMainFrame;

// The main frame's personnel-archive command (2100): brings the open frame forward, or opens
// one and writes "人员档案[查看]" to the log. Returns the frame's MDI window.
QMdiSubWindow *OpenPersonnelFrame(CMainFrame &mainFrame);
// The open personnel window, if any.
QMdiSubWindow *OpenedPersonnelFrame();
