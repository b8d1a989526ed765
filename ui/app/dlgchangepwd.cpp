#include "ui/app/dlgchangepwd.h"

#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"

#include "ui_dlgchangepwd.h"

#include <QIcon>

using namespace Qt::StringLiterals;

CDlgPassWordModify::CDlgPassWordModify(QWidget *parent)
    : CDialogExx(0, 0, parent), m_ui(std::make_unique<Ui::CDlgPassWordModify>())
{
    m_ui->setupUi(this);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
}

CDlgPassWordModify::~CDlgPassWordModify() = default;

void CDlgPassWordModify::accept()
{
    const QString oldPassword = m_ui->m_editOld->text().trimmed();
    const QString newPassword = m_ui->m_editNew->text().trimmed();
    const QString confirmation = m_ui->m_editConfirm->text().trimmed();

    if (!theCurrentUser.checkPassword(oldPassword)) {
        ShowMessage(this, u"请输入原登录口令!"_s, LoadResString(117), QMessageBox::Warning);
        m_ui->m_editOld->setFocus();
        return;
    }
    if (newPassword != confirmation) {
        ShowMessage(this, u"新密码与密码确认不一致!"_s, LoadResString(117), QMessageBox::Warning);
        m_ui->m_editConfirm->setFocus();
        return;
    }
    if (!storePassword(newPassword)) {
        m_ui->m_editNew->setFocus();
        return;
    }
    ShowMessage(this, u"登录口令修改成功!!!"_s, LoadResString(117), QMessageBox::Information);
    CDialogExx::accept();
}

bool CDlgPassWordModify::storePassword(const QString &password)
{
    const QString digest = PasswordDigest::make(password);
    QString failure;
    if (!theDatabase.Execute(u"UPDATE qz_Users SET Pwd = ? WHERE UserID = ?"_s,
                             { digest, theCurrentUser.UserID }))
        failure = theDatabase.GetLastErrorString();
    else if (theDatabase.GetRecordsAffected() != 1)
        // The operator was removed meanwhile: nothing was stored.
        failure = u"当前操作员已不在操作员表中。"_s;
    if (!failure.isEmpty()) {
        MessageBoxFormat(this, u"登录口令修改失败!\n\n"_s + failure);
        return false;
    }
    theCurrentUser.Pwd = digest;
    return true;
}
