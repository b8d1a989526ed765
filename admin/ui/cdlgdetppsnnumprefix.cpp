#include "admin/ui/cdlgdetppsnnumprefix.h"

#include "admin/deptstore.h"
#include "admin/ui/depttreefill.h"
#include "core/db/cadodatabase.h"

#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgDetpPsnNumPrefix::CDlgDetpPsnNumPrefix(QWidget *parent) : CDialogExx(568, 0, parent)
{
    setWindowTitle(u"分部门人员编号前缀设置"_s);
    m_pModel = new QStandardItemModel(this);
    m_pTree = new QTreeView(this);
    m_pTree->setObjectName(u"prefixTree"_s);
    m_pTree->setModel(m_pModel);
    m_pTree->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed
                             | QAbstractItemView::SelectedClicked);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"确定"_s, QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDetpPsnNumPrefix::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pTree, 1);
    layout->addWidget(buttons);
    resize(420, 460);
    BuildGrid();
    connect(m_pModel, &QStandardItemModel::itemChanged, this, &CDlgDetpPsnNumPrefix::OnItemChanged);
    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                // Only the prefix can change: the cursor goes there in every row.
                if (current.isValid() && current.column() != ColPrefix)
                    m_pTree->setCurrentIndex(current.siblingAtColumn(ColPrefix));
            });
}

void CDlgDetpPsnNumPrefix::BuildGrid()
{
    m_pModel->clear();
    m_pModel->setHorizontalHeaderLabels(
        { u"DID"_s, u"ParentID"_s, u"部门名称"_s, u"人员编号前缀"_s });
    const vantrel::db::QueryResult depts
        = theDatabase.run(u"SELECT DID, ParentID, Name, PNRule FROM qz_Dept ORDER BY Ord, DID"_s);
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    FillDeptTree(m_pModel, depts.rows, ColDID, ColParentID, [&](int row) {
        QList<QStandardItem *> cells;
        for (int column = ColDID; column <= ColPrefix; ++column) {
            // A NULL prefix shows empty.
            auto *cell = new QStandardItem(depts.rows.text(row, column));
            cell->setEditable(column == ColPrefix);
            cells << cell;
        }
        cells.at(ColName)->setIcon(icon);
        return cells;
    });
    m_pTree->setTreePosition(ColName);
    m_pTree->setColumnHidden(ColDID, true);
    m_pTree->setColumnHidden(ColParentID, true);
    m_pTree->setColumnWidth(ColName, 260);
    m_pTree->setColumnWidth(ColPrefix, 80);
    m_pTree->expandAll();
}

void CDlgDetpPsnNumPrefix::OnItemChanged(QStandardItem *item)
{
    if (item->column() != ColPrefix)
        return;
    const int did = item->index().siblingAtColumn(ColDID).data().toInt();
    if (vantrel::admin::SetDeptPrefix(theDatabase, did, item->text()))
        m_bChanged = true;
}
