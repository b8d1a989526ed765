#pragma once

#include "ui/dialogs/cdialogexx.h"

#include <memory>

namespace Ui {
class CDlgPassWordModify;
}

// The current operator changes his own password. All three entries are trimmed. OK checks
// the old password against theCurrentUser, then that the new one and its confirmation agree
// (case-sensitive), then stores the new digest in qz_Users on theDatabase and in
// theCurrentUser. Each refusal, and a failed write, shows a message and keeps the dialog open;
// exec() returns QDialog::Accepted only after the new password is stored.
class CDlgPassWordModify : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgPassWordModify(QWidget *parent = nullptr);
    ~CDlgPassWordModify() override;

public Q_SLOTS:
    void accept() override;

private:
    // Writes the digest of the new password; false, after saying why, when it is not stored.
    bool storePassword(const QString &password);

    std::unique_ptr<Ui::CDlgPassWordModify> m_ui;
};
