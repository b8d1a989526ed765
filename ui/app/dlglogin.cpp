#include "ui/app/dlglogin.h"

#include "core/app/connectionsetting.h"
#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/connectionstring.h"
#include "core/db/errorreport.h"
#include "core/db/schema.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "ui/app/dlgdbconnect.h"
#include "ui/app/messagebox.h"

#include "ui_dlglogin.h"

#include <QMouseEvent>
#include <QSysInfo>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;
using vantrel::db::ConnectionString;

namespace {

const QString kSaveUserPwd = u"SaveUserPwd"_s;
const QString kUserName = u"UserName"_s;
const QString kPassword = u"Password"_s;

void showNotice(QWidget *owner, const QString &text, QMessageBox::Icon icon)
{
    ShowMessage(owner, text, LoadResString(117), icon);
}

// A digest made with fewer rounds than new ones get is made again while the typed password is
// at hand. A failed write keeps the old digest, which still checks: it fails no login.
QString strengthenedDigest(int userId, const QString &password, const QString &stored)
{
    if (!PasswordDigest::needsRehash(stored))
        return stored;
    const QString digest = PasswordDigest::make(password);
    if (!theDatabase.Execute(u"UPDATE qz_Users SET Pwd = ? WHERE UserID = ?"_s, { digest, userId }))
        return stored;
    return digest;
}

} // namespace

CDlgLogin::CDlgLogin(Mode mode, QWidget *parent)
    : CDialogExx(0, 0, parent), m_ui(std::make_unique<Ui::CDlgLogin>()), m_mode(mode)
{
    m_ui->setupUi(this);
    setWindowTitle(LoadResString(128));
    m_ui->logo->SetBitmap(548);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CDlgLogin::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CDlgLogin::reject);
    connect(m_ui->connectButton, &QPushButton::clicked, this, &CDlgLogin::runConnectionDialog);
    // A re-login keeps the session's connection: there is nothing to set.
    m_ui->connectButton->setVisible(mode == StartUp);
    // Only the user's own typing counts: the remembered (still encoded) password put in below
    // must be decoded at login.
    connect(m_ui->password, &QLineEdit::textEdited, this, [this] { m_passwordEdited = true; });

    if (Profile::getInt({}, kSaveUserPwd, 0) != 0) {
        m_ui->remember->setChecked(true);
        m_ui->userName->setText(Profile::getString({}, kUserName));
        m_ui->password->setText(Profile::getString({}, kPassword));
    }
    if (!m_ui->userName->text().isEmpty())
        m_ui->password->setFocus();
}

CDlgLogin::~CDlgLogin() = default;

void CDlgLogin::showEvent(QShowEvent *event)
{
    CDialogExx::showEvent(event);
    if (m_mode != StartUp || m_offeredConnection)
        return;
    m_offeredConnection = true;
    // A first run: ask where the database is before the user types, not after.
    if (!ConnectionSetting::exists())
        QTimer::singleShot(0, this, &CDlgLogin::runConnectionDialog);
}

void CDlgLogin::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    CDialogExx::mousePressEvent(event);
}

void CDlgLogin::runConnectionDialog()
{
    CDlgDBConnect dialog(this);
    dialog.exec();
    // Back to typing: the user name first, the password when the name is there.
    activateWindow();
    if (m_ui->userName->text().trimmed().isEmpty())
        m_ui->userName->setFocus();
    else
        m_ui->password->setFocus();
}

bool CDlgLogin::openDatabase()
{
    theApp.m_strConnection = ConnectionSetting::BuildConnectionString();
    if (theApp.m_strConnection.isEmpty()) {
        showNotice(this, u"数据库连接配置没找到!"_s, QMessageBox::Warning);
        runConnectionDialog();
        return false;
    }
    if (!theDatabase.Open(theApp.m_strConnection)) {
        // A missing file is named, so that a moved or unplugged database is not taken for a
        // network failure; it is never made here.
        if (theDatabase.GetLastError() == vantrel::db::ErrorCode::FileNotFound)
            showNotice(this,
                       u"数据库文件不存在:\n%1"_s.arg(
                           ConnectionString::parse(theApp.m_strConnection).filePath()),
                       QMessageBox::Critical);
        else
            showNotice(this, LoadResString(116), QMessageBox::Critical);
        runConnectionDialog();
        return false;
    }
    // A new embedded database gets its tables and the first administrator here.
    const vantrel::Status schema = vantrel::db::upgradeSchema(theDatabase);
    if (!schema) {
        showNotice(this,
                   u"数据库结构创建或升级失败!\n\n"_s + ConnectionString::masked(schema.error()),
                   QMessageBox::Critical);
        theDatabase.Close();
        return false;
    }
    return true;
}

void CDlgLogin::accept()
{
    QString userName = m_ui->userName->text().trimmed();
    userName.remove(u';').remove(u',');
    userName = userName.trimmed();
    const QString shown = m_ui->password->text();
    const QString password
        = (m_passwordEdited ? shown : ConnectionSetting::decode(shown)).trimmed();

    if (userName.isEmpty()) {
        showNotice(this, u"用户名不能为空!"_s, QMessageBox::Warning);
        m_ui->userName->setFocus();
        return;
    }
    if (m_mode == StartUp && !openDatabase())
        return;

    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT UserID,UserName,ISuper,Locked,Pwd,Purview FROM qz_Users "
                 u"WHERE upper(UserName)=upper(?) ORDER BY UserID"_s,
                 QVariantList { userName })) {
        showNotice(this,
                   u"读取用户信息失败!\n\n"_s + ConnectionString::masked(rs.GetLastErrorString()),
                   QMessageBox::Critical);
        return;
    }
    if (rs.GetRecordCount() <= 0) {
        rs.Close();
        CountFailure();
        return;
    }
    int userId = -1, isSuper = 0, locked = 0;
    QString storedName, pwd, purview;
    rs.GetFieldValueIntByName(u"UserID"_s, userId);
    rs.GetFieldValueTextByName(u"UserName"_s, storedName);
    rs.GetFieldValueIntByName(u"ISuper"_s, isSuper);
    rs.GetFieldValueIntByName(u"Locked"_s, locked);
    rs.GetFieldValueTextByName(u"Pwd"_s, pwd);
    rs.GetFieldValueTextByName(u"Purview"_s, purview);
    rs.Close();

    if (!PasswordDigest::check(password, pwd)) {
        CountFailure();
        return;
    }
    if (locked != 0) {
        showNotice(this, u"抱歉,该用户被锁定,请与管理员联系!"_s, QMessageBox::Warning);
        return;
    }

    // Start from a clean operator: rights lists that the new row leaves out must not be
    // inherited from the one who logged in before.
    theCurrentUser.reset();
    theCurrentUser.UserID = userId;
    theCurrentUser.UserName = storedName;
    theCurrentUser.ISuper = isSuper;
    theCurrentUser.Pwd = strengthenedDigest(userId, password, pwd);
    theCurrentUser.ParsePurview(purview);

    rememberLogin(userName, password);
    theApp.WriteSystemLog(u"登录系统[计算机名："_s + QSysInfo::machineHostName() + u']', 0);
    CDialogExx::accept();
}

void CDlgLogin::CountFailure()
{
    ++m_failureCount;
    if (m_failureCount >= 3) {
        showNotice(this, u"错误：输入错误!请联系统管理员!"_s, QMessageBox::Critical);
        reject();
        return;
    }
    showNotice(this, u"错误：第%1次错误，请确认后重新输入!"_s.arg(m_failureCount),
               QMessageBox::Warning);
}

void CDlgLogin::rememberLogin(const QString &userName, const QString &password)
{
    const bool remember = m_ui->remember->isChecked();
    Profile::writeInt({}, kSaveUserPwd, remember ? 1 : 0);
    // Padded so that the stored length does not tell a short password.
    Profile::writeString({}, kUserName, remember ? userName : QString());
    Profile::writeString({}, kPassword,
                         remember ? ConnectionSetting::encode(password.rightJustified(12, u' '))
                                  : QString());
}
