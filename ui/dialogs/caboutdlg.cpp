#include "ui/dialogs/caboutdlg.h"

#include "ui/dialogs/cdialogexx.h"
#include "ui_caboutdlg.h"

#include <QCoreApplication>

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlg>())
{
    m_ui->setupUi(this);
    CDialogExx::applyBackground(this);
    m_ui->logo->SetBitmap(580);
    const auto [version, build] = splitVersion(QCoreApplication::applicationVersion());
    m_ui->version->setText(version);
    m_ui->build->setText(build);
}

CAboutDlg::~CAboutDlg() = default;

std::pair<QString, QString> CAboutDlg::splitVersion(const QString &version)
{
    const qsizetype dot = version.lastIndexOf(u'.');
    if (dot < 0)
        return { QString(), version };
    return { version.left(dot), version.mid(dot + 1) };
}

QString CAboutDlg::versionText() const
{
    return m_ui->version->text();
}

QString CAboutDlg::buildText() const
{
    return m_ui->build->text();
}
