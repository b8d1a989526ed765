#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CDlgAppIdleLocked;
}

// The lock shown when the operator has been away (or on Ctrl+L). Only the current operator's
// password, taken exactly as typed, ends it: exec() returns QDialog::Accepted then and never
// otherwise, because Esc and the close box do nothing. A wrong password selects the typed
// text for another try; there is no limit.
class CDlgAppIdleLocked : public QDialog
{
    Q_OBJECT

public:
    // The operator name starts as theCurrentUser's.
    explicit CDlgAppIdleLocked(QWidget *parent = nullptr);
    ~CDlgAppIdleLocked() override;

    void setOperatorName(const QString &name);

public Q_SLOTS:
    // Checks the password; ends the dialog only when it is right.
    void accept() override;
    // Does nothing: the lock cannot be dismissed without the password.
    void reject() override;

private:
    std::unique_ptr<Ui::CDlgAppIdleLocked> m_ui;
};
