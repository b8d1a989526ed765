#pragma once

#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAction>
#include <QMdiSubWindow>

// Opens the person window as the main frame's 人员档案 does (the frame made and shown once)
// and lists every person of every category; null when it does not open.
inline CViewPsn *OpenPsnView(CMainFrame *&main)
{
    if (!main) {
        main = new CMainFrame;
        main->show();
    }
    main->commands().action(2100)->trigger();
    QMdiSubWindow *window = OpenedPersonnelFrame();
    auto *frame = window ? qobject_cast<CChildFramePsn *>(window->widget()) : nullptr;
    if (!frame)
        return nullptr;
    frame->GetView()->SetFilters(0, 0);
    frame->GetView()->Refresh();
    return frame->GetView();
}
