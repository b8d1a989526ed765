#pragma once

#include <QHash>
#include <QMainWindow>

class CDeptPane;
class CMainFrame;
class CViewWage;
class QAction;
class QComboBox;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;
struct DeptPaneSelection;

// The window of one period of one wage set in the main frame's MDI area: the payroll toolbar,
// the wage view and the department pane "导航" that scopes it. The 打印, 报盘, 导出 and 邮件
// buttons list the wage set's active templates from the database, numbered from 0x10000 on
// every rebuild across the four menus; a button with one template runs it, with more shows the
// list (导出 always shows it, for 默认导出). F3 goes to the search box, F5 to the grid (in the
// grid it refreshes), F6 to the pane.
//
// OpenWageFrame makes one frame per wage set and period, or brings the open one forward.
// Closing it stores its place ("MDIForm") and the pane's layout in the profile.
class CChildFrameWage : public QMainWindow
{
    Q_OBJECT

public:
    enum Command {
        IdTools = 33315,
        IdPrint = 32921,
        IdBank = 32932,
        IdExport = 32941,
        IdMail = 32983,
        IdSearchLabel = 32788,
        IdSearchBox = 32789,
        IdExit = 57602,
        IdPrintTemplates = 33332,
        IdBankTemplates = 33333,
        IdExportTemplates = 33335,
        IdMailTemplates = 33334,
    };
    enum TemplateKind { PrintKind, BankKind, ExportKind, MailKind };
    static constexpr int FirstTemplateId = 0x10000;

    CChildFrameWage(int sid, const QString &title, const QString &table, int period, int closed,
                    QWidget *parent = nullptr);
    ~CChildFrameWage() override;

    int GetWageSetId() const { return m_nSid; }
    int GetPeriod() const { return m_nPeriod; }
    CViewWage *GetView() const { return m_pView; }
    CDeptPane *GetDeptPane() const { return m_pDeptPane; }
    QToolBar *GetToolBar() const { return m_pToolBar; }
    QComboBox *GetSearchBox() const { return m_pSearchBox; }
    QToolButton *toolButton(int id) const { return m_buttons.value(id); }
    QAction *action(int id) const { return m_actions.value(id); }

    // Fills the pane; its first department makes the view's first fill.
    void OnInitialUpdate();
    // The four template menus from the database; an entry's action data is its command id.
    void LoadTemplateMenus();
    // The templates of a kind in menu order: command id → (template ID, name).
    QList<QAction *> templateActions(TemplateKind kind) const;
    void SavePlacement() const;
    static void ApplyPlacement(QMdiSubWindow *window);

Q_SIGNALS:
    // A template entry was chosen (or run by its button): the template's ID and name.
    void templateCommand(int kind, int id, const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBar();
    void createShortcuts();
    void onDeptSelection(const DeptPaneSelection &selection);
    void runTemplateButton(TemplateKind kind);
    QToolButton *addMenuButton(int id, const QString &text, QMenu *menu);

    int m_nSid;
    QString m_strTitle;
    QString m_strTable;
    int m_nPeriod;
    CViewWage *m_pView;
    QToolBar *m_pToolBar = nullptr;
    QComboBox *m_pSearchBox = nullptr;
    CDeptPane *m_pDeptPane = nullptr;
    QMenu *m_pToolsMenu = nullptr;
    QMenu *m_templateMenus[4] = {};
    QHash<int, QAction *> m_actions;
    QHash<int, QToolButton *> m_buttons;
};

// The main frame's payroll command (33158): the period list, then the frame of the chosen
// period, brought forward when it is open already. Returns the frame's MDI window, null when
// the list was cancelled.
QMdiSubWindow *OpenWageFrame(CMainFrame &mainFrame);
// Opens (or brings forward) the frame of one period, as the period list answered.
QMdiSubWindow *OpenWagePeriodFrame(CMainFrame &mainFrame, int sid, const QString &title,
                                   const QString &table, int period, int closed);
