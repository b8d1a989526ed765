#pragma once

#include "core/app/connectionsetting.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CDlgDBConnect;
}

// "数据库连接配置": asks for the database server (a PostgreSQL host or an embedded database
// file), the SSL mode of a server, the login kind, login ID and password, can test them, and on
// OK writes them as the connection setting in kelm.ini. Opens empty, except on a machine
// without any setting, where it proposes the embedded database file in the user's data folder
// with the system login. A database file that does not exist is made only when the user says
// so on OK; testing never makes one.
class CDlgDBConnect : public QDialog
{
    Q_OBJECT

public:
    explicit CDlgDBConnect(QWidget *parent = nullptr);
    ~CDlgDBConnect() override;

    // The values as they stand in the dialog (server and login ID trimmed).
    ConnectionSetting setting() const;

    // OK: checks the values and writes the setting; the dialog stays open on a refusal.
    void accept() override;

public Q_SLOTS:
    void OnTestConnection();
    void OnLoginKindChanged();

private:
    // The SSL choice counts only for a server, not for a database file.
    void updateSslChoice();
    // Asks whether to make the missing database file and makes it; false (having said why)
    // when the user declines or it cannot be made.
    bool createDatabaseFile(const QString &path);

    std::unique_ptr<Ui::CDlgDBConnect> m_ui;
};
