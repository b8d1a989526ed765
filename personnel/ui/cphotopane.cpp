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
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CPhotoPane::CPhotoPane(QWidget *parent)
    : QDockWidget(u"相片"_s, parent), m_pToolBar(new QToolBar), m_pPhoto(new CPhotoCtrl)
{
    setObjectName(u"PhotoPane"_s);
    m_pPhoto->m_bStoreAtOnce = true;
    m_pPhoto->setFocusPolicy(Qt::StrongFocus);
    const auto add = [this](int id, const QString &text, void (CPhotoPane::*slot)()) {
        QAction *action = m_pToolBar->addAction(text);
        action->setData(id);
        if (slot)
            connect(action, &QAction::triggered, this, slot);
        else
            action->setEnabled(false); // the camera comes later
    };
    add(IdOpen, u"打开(&O)"_s, &CPhotoPane::OnOpen);
    add(IdSaveAs, u"另存为(&A)"_s, &CPhotoPane::OnSaveAs);
    add(IdCamera, u"拍照(&P)"_s, nullptr);
    add(IdClear, u"清除(&C)"_s, &CPhotoPane::OnClear);
    auto *body = new QWidget;
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pPhoto, 1);
    setWidget(body);
}

QAction *CPhotoPane::action(int id) const
{
    for (QAction *action : m_pToolBar->actions()) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

void CPhotoPane::SetCurrentPerson(const CPersonBase &person)
{
    m_person = person;
    m_pPhoto->m_person = person;
    m_pPhoto->LoadPhoto(person.PID);
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
}

void CPhotoPane::OnSaveAs()
{
    if (CheckRightWithMessage(10, theApp, false))
        m_pPhoto->SavePhotoAs();
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
}

void CPhotoPane::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addActions(m_pToolBar->actions());
    menu.exec(event->globalPos());
}
