#include "ui/app/dlgdbconnect.h"

#include "core/db/cadodatabase.h"
#include "core/db/databasefile.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/dialogs/cdialogexx.h"

#include "ui_dlgdbconnect.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The driver's own words from an error report, so a failed test says why (the report's
// connection string is left out: it is long, and masked anyway).
QString failureReason(const QString &report)
{
    static const QRegularExpression description(u"Description = ([^\\n]*)"_s);
    const auto match = description.match(report);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

} // namespace

CDlgDBConnect::CDlgDBConnect(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CDlgDBConnect>())
{
    m_ui->setupUi(this);
    CDialogExx::applyBackground(this);
    connect(m_ui->systemLogin, &QRadioButton::clicked, this, &CDlgDBConnect::OnLoginKindChanged);
    connect(m_ui->passwordLogin, &QRadioButton::clicked, this, &CDlgDBConnect::OnLoginKindChanged);
    connect(m_ui->testButton, &QPushButton::clicked, this, &CDlgDBConnect::OnTestConnection);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CDlgDBConnect::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CDlgDBConnect::reject);
    connect(m_ui->server, &QLineEdit::textChanged, this, &CDlgDBConnect::updateSslChoice);

    // A first run has nothing to connect to yet: propose the embedded database, so that OK
    // alone gets a new user going.
    if (!ConnectionSetting::exists()) {
        m_ui->server->setText(ConnectionSetting::defaultDatabaseFile());
        m_ui->systemLogin->setChecked(true);
    } else {
        m_ui->passwordLogin->setChecked(true);
    }
    OnLoginKindChanged();
    updateSslChoice();
}

CDlgDBConnect::~CDlgDBConnect() = default;

ConnectionSetting CDlgDBConnect::setting() const
{
    const QString server = m_ui->server->text().trimmed();
    // The first entry, 默认, leaves the mode to libpq and writes nothing.
    const bool ssl
        = !ConnectionSetting::isDatabaseFile(server) && m_ui->sslMode->currentIndex() > 0;
    return ConnectionSetting(server,
                             m_ui->systemLogin->isChecked() ? ConnectionSetting::SystemLogin
                                                            : ConnectionSetting::PasswordLogin,
                             m_ui->loginId->text().trimmed(), m_ui->password->text(),
                             ssl ? m_ui->sslMode->currentText() : QString());
}

void CDlgDBConnect::updateSslChoice()
{
    m_ui->sslMode->setEnabled(!ConnectionSetting::isDatabaseFile(m_ui->server->text().trimmed()));
}

void CDlgDBConnect::OnLoginKindChanged()
{
    const bool withPassword = m_ui->passwordLogin->isChecked();
    m_ui->loginId->setEnabled(withPassword);
    m_ui->password->setEnabled(withPassword);
}

void CDlgDBConnect::OnTestConnection()
{
    CADODatabase test;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = test.Open(setting().connectionString());
    QGuiApplication::restoreOverrideCursor();
    if (ok) {
        test.Close();
        ShowMessage(this, u"连接成功！"_s, LoadResString(117), QMessageBox::Information);
        return;
    }
    QString text = u"连接失败！"_s;
    if (const QString reason = failureReason(test.GetLastErrorString()); !reason.isEmpty())
        text += u"\n\n"_s + reason;
    ShowMessage(this, text, LoadResString(117), QMessageBox::Critical);
}

void CDlgDBConnect::accept()
{
    const ConnectionSetting values = setting();
    if (values.server().isEmpty()) {
        ShowMessage(this, u"请输入数据库服务器名称或IP!"_s, LoadResString(117),
                    QMessageBox::Warning);
        m_ui->server->setFocus();
        return;
    }
    // A database file has no login ID to give.
    if (values.loginKind() == ConnectionSetting::PasswordLogin && values.loginId().isEmpty()
        && !ConnectionSetting::isDatabaseFile(values.server())) {
        ShowMessage(this, u"用户名称不能为空!"_s, LoadResString(117), QMessageBox::Warning);
        m_ui->loginId->setFocus();
        return;
    }
    if (ConnectionSetting::isDatabaseFile(values.server()) && !QFileInfo::exists(values.server())
        && !createDatabaseFile(values.server()))
        return;
    if (!values.write()) {
        ShowMessage(this, u"无法写入连接配置文件：%1"_s.arg(ConnectionSetting::iniFilePath()),
                    LoadResString(117), QMessageBox::Critical);
        return;
    }
    QDialog::accept();
}

bool CDlgDBConnect::createDatabaseFile(const QString &path)
{
    const auto answer = ShowMessage(this, u"数据库文件不存在:\n%1\n\n是否新建数据库?"_s.arg(path),
                                    LoadResString(117), QMessageBox::Question,
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        m_ui->server->setFocus();
        return false;
    }
    if (const vantrel::Status created = vantrel::db::createSqliteDatabase(path); !created) {
        ShowMessage(this, created.error(), LoadResString(117), QMessageBox::Critical);
        m_ui->server->setFocus();
        return false;
    }
    return true;
}
