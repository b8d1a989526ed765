#include "ui/controls/cmylistctrl.h"

#include <QDropEvent>
#include <QMimeData>

namespace {

bool hasFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.cbegin(), urls.cend(), [](const QUrl &u) { return u.isLocalFile(); });
}

} // namespace

CMyListCtrl::CMyListCtrl(QWidget *parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setAcceptDrops(true);
    setDragEnabled(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CMyListCtrl::listDblClk);
}

void CMyListCtrl::dragEnterEvent(QDragEnterEvent *event)
{
    if (hasFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CMyListCtrl::dragMoveEvent(QDragMoveEvent *event)
{
    if (hasFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CMyListCtrl::dropEvent(QDropEvent *event)
{
    if (!hasFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            Q_EMIT dropFileAdd(url.toLocalFile());
    }
    // The owner adds what it wants; the list itself takes nothing.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CMyListCtrl::startDrag(Qt::DropActions)
{
    // The owner decides what a drag of its items carries.
    if (QTreeWidgetItem *item = currentItem())
        Q_EMIT listBeginDrag(item);
}

void CMyListCtrl::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const QModelIndex index = currentIndex();
    QTreeWidget::closeEditor(editor, hint);
    if (index.isValid())
        Q_EMIT listEndLabelEdit(itemFromIndex(index), index.column());
}
