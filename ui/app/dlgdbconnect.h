#pragma once

#include "core/app/connectionsetting.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CDlgDBConnect;
}

// "数据库连接配置": asks for the database server (a PostgreSQL host or an embedded database
// file), the login kind, login ID and password, can test them, and on OK writes them as the
// connection setting in kelm.ini. Opens empty, except on a machine without any setting, where
// it proposes the embedded database file in the user's data folder with the system login.
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
    std::unique_ptr<Ui::CDlgDBConnect> m_ui;
};
