#pragma once

#include "personnel/cpersonbase.h"
#include "personnel/ui/cpanetoolbar.h"
#include "personnel/ui/ipersonpane.h"

#include <QDockWidget>
#include <QStringList>

#include <functional>

class CMyListCtrl;
class QAction;
class QActionGroup;
class QMimeData;
class QTreeWidgetItem;

// The "附件" pane of the personnel frame: the files attached to the current person, newest
// first, with their size, date added and type. Files are added from a file dialog or by
// dropping them on the list (refused when over 100 MB, named in a message; files of 0 bytes
// are not stored), saved out by a dialog or by dragging them out, renamed in place (also by a
// double-click) and deleted. Adding, renaming and deleting need right 3; every change is
// logged. The view (icons, list, details) is kept in the profile ("AdjListView"/"Style").
class CAdjunctPane : public QDockWidget, public IPersonPane, public IPaneCmdUI
{
    Q_OBJECT

public:
    enum {
        IdAdd = 32821,
        IdSaveAs = 32822,
        IdDelete = 32823,
        IdRename = 32834,
        IdRefresh = 33182,
        IdViewIcons = 32826,
        IdViewList = 32828,
        IdViewDetails = 32830,
    };

    explicit CAdjunctPane(QWidget *parent = nullptr);
    ~CAdjunctPane() override;

    void SetCurrentPerson(const CPersonBase &person) override;
    const CPersonBase &GetPerson() const { return m_person; }
    // Lists the person's files (the list stays as it was when they cannot be read).
    void LoadFiles();
    CMyListCtrl *listCtrl() const { return m_pList; }
    QWidget *MainControl() const;
    QAction *action(int id) const;
    CPaneToolBar *toolBar() const { return m_pToolBar; }
    int viewStyle() const { return m_nViewStyle; }
    bool IsPaneCommandEnabled(int id) const override;

    // Runs a drag of the files carried by data with the move action; returns the action the
    // target took (IgnoreAction when it refused). Tests put a target of their own here.
    using DragRunner = std::function<Qt::DropAction(QMimeData *data)>;
    void SetDragRunner(DragRunner runner) { m_dragRunner = std::move(runner); }

    void OnFileAdd();
    void OnFileSaveAs();
    void OnFileRename();
    void OnFileDelete();
    void OnRefresh();
    void OnViewStyle(int id);
    // Files dropped on the list: all of one drop are added, then the list is read once.
    void AddDroppedFiles(const QStringList &paths);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void addFiles(const QStringList &paths);
    QList<QTreeWidgetItem *> selectedFiles() const;
    void onDropFileAdd(const QString &path);
    void onBeginDrag();
    void onEndLabelEdit(QTreeWidgetItem *item, int column);
    void applyViewStyle();
    void log(const QString &detail) const;
    void removeEmptyDragFolders();

    CPersonBase m_person;
    CPaneToolBar *m_pToolBar;
    CMyListCtrl *m_pList;
    QActionGroup *m_pViews;
    int m_nViewStyle;
    QStringList m_pendingDrops;
    QStringList m_dragFolders; // drag copies' folders not yet found empty
    DragRunner m_dragRunner;
};
