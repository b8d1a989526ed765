#pragma once

#include "ui/dialogs/cdialogexx.h"

#include <memory>

namespace Ui {
class CDlgLogin;
}

// The login: checks the user name and password against qz_Users, fills theCurrentUser and
// writes the first system-log entry. exec() gives QDialog::Accepted when a user has logged in,
// QDialog::Rejected when the user cancelled or after the third wrong login.
//
// StartUp opens theDatabase from the connection setting in kelm.ini on every attempt (and
// brings its schema up to date); when there is no setting it first offers the connection
// dialog, and its "连接设置" button opens that dialog at any time. ReLogin uses theDatabase and
// theApp.m_strConnection as they are; on cancel the previous user stays logged in.
class CDlgLogin : public CDialogExx
{
    Q_OBJECT

public:
    enum Mode { StartUp, ReLogin };

    explicit CDlgLogin(Mode mode = StartUp, QWidget *parent = nullptr);
    ~CDlgLogin() override;

    // Wrong user names or passwords in this dialog's life.
    int failureCount() const { return m_failureCount; }

    // The login (OK button); the dialog stays open unless a user logged in.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    // The whole dialog can be dragged, not only its title bar.
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Reads the setting and opens theDatabase; false (having shown why) when it cannot.
    bool openDatabase();
    void CountFailure();
    void rememberLogin(const QString &userName, const QString &password);
    void runConnectionDialog();

    std::unique_ptr<Ui::CDlgLogin> m_ui;
    Mode m_mode;
    int m_failureCount = 0;
    bool m_passwordEdited = false;
    bool m_offeredConnection = false;
};
