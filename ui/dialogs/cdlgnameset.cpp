#include "ui/dialogs/cdlgnameset.h"

#include "ui/app/messagebox.h"
#include "core/util/stringtable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgNameSet::CDlgNameSet(QWidget *parent)
    : QDialog(parent), m_pPrompt(new QLabel(u"名称:"_s, this)), m_pName(new QLineEdit(this))
{
    setWindowTitle(u"新增"_s);
    auto *row = new QHBoxLayout;
    row->addWidget(m_pPrompt);
    row->addWidget(m_pName, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgNameSet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgNameSet::reject);
}

void CDlgNameSet::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void CDlgNameSet::SetPrompt(const QString &prompt)
{
    m_pPrompt->setText(prompt);
}

void CDlgNameSet::SetName(const QString &name)
{
    m_pName->setText(name);
}

QString CDlgNameSet::GetName() const
{
    return m_pName->text();
}

void CDlgNameSet::accept()
{
    if (m_pName->text().isEmpty()) {
        ShowMessage(this, u"名称不能为空!"_s, LoadResString(117), QMessageBox::Information);
        m_pName->setFocus();
        return;
    }
    QDialog::accept();
}
