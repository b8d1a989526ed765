#pragma once

#include <QStringList>
#include <QTreeWidget>

// The attachment list of a mail: one row per file, "名称" (the file name with its icon) and
// "路径" (the full path). Its context menu adds files ("添加附件(&A)") and removes the selected
// ones ("删除附件(&D)"). Each added file goes on top of the list.
class CMyFileListView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CMyFileListView(QWidget *parent = nullptr);

    // Asks for files (several at once) and adds them.
    void AddAttachments();
    // Adds the files in this order, each on top of the ones before.
    void AddFiles(const QStringList &paths);
    void RemoveSelectedAttachments();
    // Appends the full path of every row, top to bottom.
    void GetFilePaths(QStringList &paths) const;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};
