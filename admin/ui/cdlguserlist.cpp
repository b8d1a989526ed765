#include "admin/ui/cdlguserlist.h"

#include "admin/ui/admintoolbar.h"
#include "admin/ui/cdlguser.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum Column { ColUserID, ColName, ColLocked, ColDescr, ColPurview, ColSuper };

} // namespace

CDlgUserList::CDlgUserList(QWidget *parent) : CDialogExx(0, 0, parent)
{
    setWindowTitle(u"操作员管理"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_pToolBar
        = CreateAdminToolBar(this,
                             {
                                 { u"新建"_s, u"添加(&A)"_s, u"添加"_s,
                                   QStyle::SP_FileDialogNewFolder, [this] { OnAdd(); } },
                                 { u"修改"_s, u"修改(&E)"_s, u"修改"_s,
                                   QStyle::SP_FileDialogDetailedView, [this] { OnModify(); } },
                                 { u"删除"_s, u"删除(&D)"_s, u"删除"_s, QStyle::SP_TrashIcon,
                                   [this] { OnDelete(); }, true },
                                 { u"刷新"_s, u"刷新(&R)"_s, u"刷新列表"_s,
                                   QStyle::SP_BrowserReload, [this] { LoadUserGrid(); }, true },
                                 { u"退出"_s, u"退出(&C)"_s, u"关闭窗口"_s,
                                   QStyle::SP_DialogCloseButton, [this] { accept(); } },
                             });

    m_pGrid = new CBCGPADOGridCtrl(this);
    m_pGrid->setObjectName(u"grid"_s);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, &CDlgUserList::OnModify);
    m_pStatus = new QStatusBar(this);
    m_pStatus->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);
    layout->addWidget(m_pStatus);
    resize(700, 420);
    LoadUserGrid();
}

void CDlgUserList::LoadUserGrid()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->Close();
    m_pGrid->setUpdatesEnabled(false);
    if (!m_pGrid->OpenConnection(theApp.m_strConnection)) {
        m_pGrid->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
        ShowMessage(this, u"打开数据库出错!"_s, QString(), QMessageBox::NoIcon);
        return;
    }
    CADOCommand command(m_pGrid->GetConnection(), u"qz_SelectSystemUsers"_s);
    command.AddParameterInt(u"UserID"_s, adInteger, adParamInput, 4, theCurrentUser.UserID);
    if (m_pGrid->OpenCommand(command)) {
        for (int column : { int(ColUserID), int(ColPurview), int(ColSuper) })
            m_pGrid->setColumnHidden(column, true);
        m_pGrid->setColumnWidth(ColName, 80);
        m_pGrid->setColumnWidth(ColLocked, 50);
        m_pGrid->setColumnWidth(ColDescr, 400);
    } else {
        m_pGrid->Close();
    }
    m_pGrid->setUpdatesEnabled(true);
    m_pStatus->showMessage(u" 共: %1 人"_s.arg(m_pGrid->GetRowCount()));
    QApplication::restoreOverrideCursor();
}

void CDlgUserList::OnAdd()
{
    CDLGUser dialog(this);
    dialog.m_nNew = 1;
    if (dialog.exec() == QDialog::Accepted)
        LoadUserGrid();
}

void CDlgUserList::OnModify()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0) {
        ShowMessage(this, LoadResString(111), LoadResString(117), QMessageBox::Information);
        return;
    }
    CDLGUser dialog(this);
    dialog.m_strTitle = u"修改用户 *"_s;
    dialog.m_nNew = 0;
    dialog.m_nUserID = m_pGrid->GetFieldValue(row, ColUserID).toInt();
    dialog.m_strUserName = m_pGrid->GetFieldValue(row, ColName).toString();
    dialog.m_nLocked = m_pGrid->GetFieldValue(row, ColLocked).toInt() != 0 ? 1 : 0;
    dialog.m_strDescr = m_pGrid->GetFieldValue(row, ColDescr).toString();
    dialog.m_strPurview = m_pGrid->GetFieldValue(row, ColPurview).toString();
    dialog.m_nSuper = m_pGrid->GetFieldValue(row, ColSuper).toInt() != 0 ? 1 : 0;
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The grid writes what is set in its cells, so the changed row is read again instead.
    LoadUserGrid();
    m_pGrid->SetCurSel(qMin(row, m_pGrid->GetRowCount() - 1));
}

void CDlgUserList::OnDelete()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0) {
        ShowMessage(this, u"请在用户列表中选择用户!"_s, LoadResString(117),
                    QMessageBox::Information);
        return;
    }
    if (m_pGrid->GetFieldValue(row, ColSuper).toInt() != 0) {
        ShowMessage(this, u"超级管理员不能删除!"_s, LoadResString(117), QMessageBox::Warning);
        return;
    }
    const QString name = m_pGrid->GetFieldValue(row, ColName).toString();
    if (ShowMessage(this, u"确定要删除操作员 %1 吗?"_s.arg(name), LoadResString(117),
                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // ISuper in the condition too: a list read before someone became super user deletes nothing.
    if (!theDatabase.Execute(u"DELETE FROM qz_Users WHERE UserID=? AND ISuper=0"_s,
                             { m_pGrid->GetFieldValue(row, ColUserID).toInt() }))
        return;
    theApp.WriteSystemLog(u"系统管理[删除操作员'%1']"_s.arg(name), 0);
    LoadUserGrid();
}

void CDlgUserList::contextMenuEvent(QContextMenuEvent *event)
{
    ShowAdminToolBarMenu(m_pToolBar, this, event->globalPos());
}
