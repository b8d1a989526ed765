#pragma once

#include "ui/dialogs/cdialogexx.h"

class QStandardItem;
class QStandardItemModel;
class QTreeView;

// The person-number prefixes per department ("分部门人员编号前缀设置"): the department tree
// with DID and ParentID hidden, the name and the prefix; only the prefix can be edited, a
// click elsewhere in a row lands on its prefix, and each edit is stored at once. m_bChanged
// tells the opener whether any prefix was stored.
class CDlgDetpPsnNumPrefix : public CDialogExx
{
    Q_OBJECT

public:
    enum Column { ColDID, ColParentID, ColName, ColPrefix };

    explicit CDlgDetpPsnNumPrefix(QWidget *parent = nullptr);

    bool m_bChanged = false;

    QTreeView *tree() const { return m_pTree; }
    QStandardItemModel *model() const { return m_pModel; }

private:
    void BuildGrid();
    void OnItemChanged(QStandardItem *item);

    QTreeView *m_pTree;
    QStandardItemModel *m_pModel;
};
