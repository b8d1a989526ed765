#include "ui/controls/cmyfilelistview.h"

#include "ui/controls/cuseshgetfileinfo.h"
#include "ui/controls/filedialogs.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>

using namespace Qt::StringLiterals;

CMyFileListView::CMyFileListView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(2);
    setHeaderLabels({ u"名称"_s, u"路径"_s });
    header()->resizeSection(0, 120);
    header()->resizeSection(1, 400);
    setRootIsDecorated(false);
    setSelectionMode(ExtendedSelection);
}

void CMyFileListView::AddAttachments()
{
    const QStringList paths
        = vantrel::ui::GetOpenFileNames(this, QString(), QString(), u"All Files (*)"_s);
    AddFiles(paths);
}

void CMyFileListView::AddFiles(const QStringList &paths)
{
    const CUseShGetFileInfo icons;
    for (const QString &path : paths) {
        auto *item = new QTreeWidgetItem({ QFileInfo(path).fileName(), path });
        item->setIcon(0, icons.GetFileIcon(path, true));
        insertTopLevelItem(0, item);
    }
}

void CMyFileListView::RemoveSelectedAttachments()
{
    qDeleteAll(selectedItems());
}

void CMyFileListView::GetFilePaths(QStringList &paths) const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        paths << topLevelItem(i)->text(1);
}

void CMyFileListView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(u"添加附件(&A)"_s, this, &CMyFileListView::AddAttachments);
    menu.addAction(u"删除附件(&D)"_s, this, &CMyFileListView::RemoveSelectedAttachments);
    menu.exec(event->globalPos());
}
