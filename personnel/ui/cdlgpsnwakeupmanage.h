#pragma once

#include "core/query/wakeupqueries.h"
#include "ui/dialogs/cdialogexx.h"
#include "ui/frame/cwakeupgridctrl.h"

class BackgroundJobs;
class CMainFrame;
class FrozenColumnView;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;
class QToolBar;
class WakeupPersonModel;

// The definitions' grid of the reminder manager: the nine reminder columns, 事项 and 人数
// shown, counts above 0 in red and "<Error>" where a count cannot be computed.
class CMyWakeupGridView : public CWakeupGridCtrl
{
    Q_OBJECT

public:
    explicit CMyWakeupGridView(QWidget *parent = nullptr);
};

// "人事提醒": the reminder definitions with their counts on the left, the persons the selected
// one finds on the right (every department), and the commands to add, modify, delete the
// definitions, set the alert up and refresh. Counts and lists are read on worker threads on
// read-only connections of their own, so the window keeps painting meanwhile. While it exists
// the main frame (when given) starts no reminder test.
class CDlgPsnWakeupManage : public CDialogExx
{
    Q_OBJECT

public:
    // startRow: the definition to select once the counts are in.
    explicit CDlgPsnWakeupManage(CMainFrame *frame, int startRow = 0, QWidget *parent = nullptr);
    ~CDlgPsnWakeupManage() override;

    CMyWakeupGridView *wakeupGrid() const { return m_grid; }
    FrozenColumnView *personList() const { return m_persons; }
    QLabel *footer() const { return m_footer; }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *popupMenu() const { return m_menu; }
    // Whether counts or a person list are still being read.
    bool isBusy() const;

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnSetup();
    void OnRefresh();

Q_SIGNALS:
    // The grid was refilled / the person list was filled or refused.
    void countsShown();
    void personsShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildCommands();
    void refill();
    void showPersons(int row);
    bool selectedItem(tagWAKEUPITEM *item);
    // Opens the editor on the definition; saved, it is logged with the title in logFormat.
    void editAndSave(const tagWAKEUPITEM &item, const QString &logFormat);
    void togglePopup(const QPoint &at);

    CMainFrame *m_frame;
    int m_startRow;
    int m_listRequest = 0;
    QToolBar *m_toolBar;
    QSplitter *m_splitter;
    CMyWakeupGridView *m_grid;
    FrozenColumnView *m_persons;
    WakeupPersonModel *m_model;
    QLabel *m_footer;
    QMenu *m_menu;
    BackgroundJobs *m_jobs;
};

// Opens the manager modally for the main frame with the row to select.
void OpenWakeupManager(CMainFrame &frame, int startRow);
