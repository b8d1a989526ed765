#pragma once

#include "personnel/cpersonbase.h"
#include "personnel/ui/cpanetoolbar.h"
#include "personnel/ui/ipersonpane.h"

#include <QDockWidget>

class CPhotoCtrl;
class QAction;

// The "相片" pane of the personnel frame: the current person's photo, changed from its toolbar
// or context menu and stored at once. Open, the camera and clear need right 3, save as right
// 10; open and the camera first check that the person is still there. The pane enables its
// toolbar: open, the camera and clear with a current person, save as while a photo (not the
// placeholder) shows.
class CPhotoPane : public QDockWidget, public IPersonPane, public IPaneCmdUI
{
    Q_OBJECT

public:
    enum { IdOpen = 32821, IdSaveAs = 32822, IdCamera = 32856, IdClear = 32823 };

    explicit CPhotoPane(QWidget *parent = nullptr);

    void SetCurrentPerson(const CPersonBase &person) override;
    const CPersonBase &GetPerson() const { return m_person; }
    QWidget *MainControl() const;
    CPhotoCtrl *photoCtrl() const { return m_pPhoto; }
    QAction *action(int id) const;
    CPaneToolBar *toolBar() const { return m_pToolBar; }
    bool IsPaneCommandEnabled(int id) const override;

    void OnOpen();
    void OnSaveAs();
    void OnCamera();
    void OnClear();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool personStillThere();

    CPersonBase m_person;
    CPaneToolBar *m_pToolBar;
    CPhotoCtrl *m_pPhoto;
};
