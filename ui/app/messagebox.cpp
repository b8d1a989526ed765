#include "ui/app/messagebox.h"

#include "core/util/appfiles.h"
#include "core/util/stringtable.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

QMessageBox::StandardButton ShowMessage(QWidget *owner, const QString &text, const QString &caption,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, owner);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

void MessageBoxFormat(QWidget *owner, const QString &text)
{
    ShowMessage(owner, text.left(1022), LoadResString(117), QMessageBox::Critical);
}

void OpenHelpTopic(const QString &topic, QWidget *caller)
{
    const QString path = QDir(GetAppFolder()).filePath(u"help/"_s + topic);
    if (!QFileInfo::exists(path)) {
        ShowMessage(caller, u"帮助文件不存在：%1"_s.arg(QDir::toNativeSeparators(path)),
                    LoadResString(117), QMessageBox::Information);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
