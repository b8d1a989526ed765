#include "ui/controls/ceditbrowsectrlfromdb.h"

#include "ui/controls/widgetfillers.h"

#include <QStyle>

using namespace Qt::StringLiterals;

CEditBrowseCtrlFromDB::CEditBrowseCtrlFromDB(QWidget *wndWatch, int kind, const QString &dictId,
                                             bool readOnly, QWidget *parent)
    : CEditBrowseTreeCtrl(wndWatch, parent), m_nKind(kind), m_strDictId(dictId)
{
    if (readOnly) {
        SetPickerReadOnly(true);
        setPlaceholderText(Prompt());
    }
}

QString CEditBrowseCtrlFromDB::Prompt()
{
    return u"<请选择...>"_s;
}

void CEditBrowseCtrlFromDB::OnBrowse()
{
    if (m_wndDropList.topLevelItemCount() == 0)
        fillList();
    CEditBrowseTreeCtrl::OnBrowse();
}

void CEditBrowseCtrlFromDB::fillList()
{
    CDropListTree &tree = m_wndDropList;
    tree.clear();
    tree.setUpdatesEnabled(false);
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    auto *root = new QTreeWidgetItem({ Prompt() });
    root->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
    root->setData(0, RefIdRole, 0);
    tree.addTopLevelItem(root);
    switch (m_nKind) {
    case Dictionary:
        FillDictTree(&tree, root, m_strDictId, {}, style()->standardIcon(QStyle::SP_FileIcon));
        break;
    case PsnSorts:
        FillPsnSortTree(&tree, root, folder);
        break;
    default:
        FillDeptTree(&tree, 0, root, folder);
        break;
    }
    root->setExpanded(true);
    QTreeWidgetItem *picked = m_nPicked >= 1 ? tree.FindItemByData(m_nPicked, root) : nullptr;
    tree.setCurrentItem(picked ? picked : root);
    tree.setUpdatesEnabled(true);
}

void CEditBrowseCtrlFromDB::AcceptDropDown()
{
    // Kept before the notification, so that an owner reading it on CBN_SELENDOK sees the choice.
    if (QTreeWidgetItem *item = m_wndDropList.currentItem())
        m_nPicked = item->data(0, RefIdRole).toInt();
    CEditBrowseTreeCtrl::AcceptDropDown();
}

void CEditBrowseCtrlFromDB::OnDropTreeSelect(QTreeWidgetItem *item)
{
    if (!item || item->childCount() > 0 || m_nKind != Dictionary
        || item->data(0, RefIdRole).toInt() == 0)
        return;
    FillDictTree(&m_wndDropList, item, m_strDictId, item->data(0, RefValueRole).toString(),
                 style()->standardIcon(QStyle::SP_FileIcon));
    // A level found empty is not asked for again.
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    item->setExpanded(true);
}
