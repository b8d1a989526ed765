#pragma once

#include <QTreeWidget>

// A list with columns (a tree without roots) that reports to its owner instead of acting:
// files dropped on it, one dropFileAdd per file in the order the drop lists them; the start of
// a drag of its items; the end of a label edit; a double-click. With nothing connected the
// list behaves as usual and a drop is still completed.
class CMyListCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CMyListCtrl(QWidget *parent = nullptr);

Q_SIGNALS:
    void dropFileAdd(const QString &path);                    // WM_DROPFILE_ADD: full local path
    void listBeginDrag(QTreeWidgetItem *item);                // WM_LIST_BEGINDRAG
    void listEndLabelEdit(QTreeWidgetItem *item, int column); // WM_LIST_ENDLABELEDIT
    void listDblClk(QTreeWidgetItem *item, int column);       // WM_LIST_DBLCLK

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
};
