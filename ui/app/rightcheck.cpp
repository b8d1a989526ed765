#include "ui/app/rightcheck.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"

#include <QMainWindow>

bool CheckRightWithMessage(int index, CVantrelApp &app, bool reRead)
{
    if (theCurrentUser.HasRight(index, reRead))
        return true;
    ShowMessage(app.m_pMainWnd, LoadResString(106), LoadResString(128), QMessageBox::Warning);
    return false;
}
