#include "ui/controls/cdropdownlistdept.h"

#include "core/app/currentuser.h"
#include "ui/controls/widgetfillers.h"

#include <QStyle>

using namespace Qt::StringLiterals;

CDropDownListDept::CDropDownListDept(QWidget *parent) : CEditBrowseTreeCtrl(nullptr, parent) { }

int CDropDownListDept::Initialize()
{
    EnableBrowseButton();
    SetPickerReadOnly(true);
    CDropListTree &tree = m_wndDropList;
    tree.clear();
    tree.setRootIsDecorated(false);
    tree.setUpdatesEnabled(false);
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    if (theCurrentUser.allDepts() || theCurrentUser.ISuper) {
        auto *root = new QTreeWidgetItem({ u"<全体部门>"_s });
        root->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
        root->setData(0, RefIdRole, 0);
        tree.addTopLevelItem(root);
        FillDeptTree(&tree, 0, root, folder);
        root->setExpanded(true);
        tree.setCurrentItem(root);
    } else {
        FillDeptTree(&tree, 0, nullptr, folder);
        tree.setCurrentItem(tree.topLevelItem(0));
    }
    tree.setUpdatesEnabled(true);
    return 1;
}

int CDropDownListDept::GetSelectedDept() const
{
    const QTreeWidgetItem *item = m_wndDropList.currentItem();
    return item ? item->data(0, RefIdRole).toInt() : -1;
}
