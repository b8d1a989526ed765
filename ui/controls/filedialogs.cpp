#include "ui/controls/filedialogs.h"

#include "ui/controls/cuseshgetfileinfo.h"

#include <QFileIconProvider>

namespace vantrel::ui {

namespace {

class NameOnlyIconProvider : public QFileIconProvider
{
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QFileIconProvider::icon(QFileIconProvider::Folder);
        return m_shell.GetFileIcon(info.fileName(), true);
    }
    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QFileIconProvider::type(info);
        return m_shell.GetFileTypeName(info.fileName());
    }

private:
    CUseShGetFileInfo m_shell;
};

QFileIconProvider *nameOnlyIconProvider()
{
    static NameOnlyIconProvider provider;
    return &provider;
}

QStringList run(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                QFileDialog::FileMode mode, QFileDialog::AcceptMode accept,
                QFileDialog::Options options)
{
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setOptions(options);
    PrepareFileDialog(dialog);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace

void PrepareFileDialog(QFileDialog &dialog)
{
    // A native dialog would sniff file contents out of our reach.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setIconProvider(nameOnlyIconProvider());
}

QString GetOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter)
{
    return run(parent, caption, dir, filter, QFileDialog::ExistingFile, QFileDialog::AcceptOpen, {})
        .value(0);
}

QStringList GetOpenFileNames(QWidget *parent, const QString &caption, const QString &dir,
                             const QString &filter)
{
    return run(parent, caption, dir, filter, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen,
               {});
}

QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter, QFileDialog::Options options)
{
    return run(parent, caption, dir, filter, QFileDialog::AnyFile, QFileDialog::AcceptSave, options)
        .value(0);
}

} // namespace vantrel::ui
