#include "personnel/ui/cphotopane.h"

#include "core/app/vantrelapp.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cphotoctrl.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CPhotoPane::CPhotoPane(QWidget *parent)
    : QDockWidget(u"相片"_s, parent), m_pToolBar(new CPaneToolBar), m_pPhoto(new CPhotoCtrl)
{
    setObjectName(u"PhotoPane"_s);
    m_pPhoto->m_bStoreAtOnce = true;
    m_pPhoto->setFocusPolicy(Qt::StrongFocus);
    m_pToolBar->setObjectName(u"ToolBar351"_s);
    m_pToolBar->SetOwner(this);
    const auto add = [this](int id, const QString &text, void (CPhotoPane::*slot)()) {
        QAction *action = m_pToolBar->AddCommand(id, text);
        if (slot)
            connect(action, &QAction::triggered, this, slot);
    };
    add(IdOpen, u"打开(&O)"_s, &CPhotoPane::OnOpen);
    add(IdSaveAs, u"另存为(&A)"_s, &CPhotoPane::OnSaveAs);
    add(IdCamera, u"拍照(&P)"_s, &CPhotoPane::OnCamera);
    add(IdClear, u"清除(&C)"_s, &CPhotoPane::OnClear);
    auto *body = new QWidget;
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pPhoto, 1);
    setWidget(body);
    connect(m_pPhoto, &CPhotoCtrl::dataChanged, m_pToolBar, &CPaneToolBar::UpdateCmdUI);
    m_pToolBar->UpdateCmdUI();
}

QAction *CPhotoPane::action(int id) const
{
    return m_pToolBar->command(id);
}

bool CPhotoPane::IsPaneCommandEnabled(int id) const
{
    switch (id) {
    case IdOpen:
    case IdCamera:
    case IdClear:
        return m_person.PID > 0;
    case IdSaveAs:
        return !m_pPhoto->showsPlaceholder();
    default:
        return false;
    }
}

void CPhotoPane::SetCurrentPerson(const CPersonBase &person)
{
    m_person = person;
    m_pPhoto->m_person = person;
    m_pPhoto->LoadPhoto(person.PID);
    m_pToolBar->UpdateCmdUI();
}

QWidget *CPhotoPane::MainControl() const
{
    return m_pPhoto;
}

bool CPhotoPane::personStillThere()
{
    if (m_person.PID <= 0)
        return false;
    const vantrel::Result<bool> exists
        = RecordExists(u"QZ_PSNBASE"_s, u"PID=?"_s, { m_person.PID });
    if (exists && !*exists) {
        ShowMessage(this, LoadResString(121), LoadResString(117), QMessageBox::Information);
        return false;
    }
    return true;
}

void CPhotoPane::OnOpen()
{
    if (!CheckRightWithMessage(3, theApp, false) || !personStillThere())
        return;
    m_pPhoto->OpenPhotoFile();
    m_pToolBar->UpdateCmdUI();
}

void CPhotoPane::OnSaveAs()
{
    if (CheckRightWithMessage(10, theApp, false))
        m_pPhoto->SavePhotoAs();
}

void CPhotoPane::OnCamera()
{
    if (!CheckRightWithMessage(3, theApp, false) || !personStillThere())
        return;
    m_pPhoto->TakeCameraPhoto();
    m_pToolBar->UpdateCmdUI();
}

void CPhotoPane::OnClear()
{
    if (!CheckRightWithMessage(3, theApp, false) || m_person.PID <= 0)
        return;
    if (ShowMessage(this, u"确定要清除图片吗?"_s, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    m_pPhoto->ClearPhoto();
    m_pPhoto->StorePhoto();
    m_pToolBar->UpdateCmdUI();
}

void CPhotoPane::contextMenuEvent(QContextMenuEvent *event)
{
    m_pToolBar->UpdateCmdUI();
    QMenu menu(this);
    menu.addActions(m_pToolBar->commands());
    menu.exec(event->globalPos());
}
