#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CAboutDlg;
}

// The About box: logo, product name, rights notice, version and build.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
    ~CAboutDlg() override;

    // Splits a product version at its last '.': "1.2.3.4" gives "1.2.3" and "4"; a version
    // without '.' gives "" and the whole text.
    static std::pair<QString, QString> splitVersion(const QString &version);

    QString versionText() const;
    QString buildText() const;

private:
    std::unique_ptr<Ui::CAboutDlg> m_ui;
};
