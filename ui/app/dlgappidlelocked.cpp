#include "ui/app/dlgappidlelocked.h"

#include "core/app/currentuser.h"
#include "core/util/stringtable.h"
#include "ui/dialogs/cdialogexx.h"

#include "ui_dlgappidlelocked.h"

using namespace Qt::StringLiterals;

CDlgAppIdleLocked::CDlgAppIdleLocked(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CDlgAppIdleLocked>())
{
    m_ui->setupUi(this);
    CDialogExx::applyBackground(this);
    setWindowTitle(u"离开挂起 - "_s + LoadResString(128));
    // Stays above every window of the program, and blocks them all while it is up.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    m_ui->m_logo->SetBitmap(548);
    m_ui->m_editOperator->setText(theCurrentUser.UserName);
    m_ui->m_editPassword->setFocus();
}

CDlgAppIdleLocked::~CDlgAppIdleLocked() = default;

void CDlgAppIdleLocked::setOperatorName(const QString &name)
{
    m_ui->m_editOperator->setText(name);
}

void CDlgAppIdleLocked::accept()
{
    // Unlike the login, the unlock does not trim: a trailing blank is part of the password.
    QLineEdit *edit = m_ui->m_editPassword;
    if (theCurrentUser.checkPassword(edit->text())) {
        QDialog::accept();
        return;
    }
    edit->selectAll();
    edit->setFocus();
}

void CDlgAppIdleLocked::reject() { }
