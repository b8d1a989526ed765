#include "admin/ui/cdlgpsnsortmanager.h"

#include "admin/deptstore.h"
#include "admin/ui/admintoolbar.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/query/ordermoves.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cdlgdynctlformforpsnsort.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

void inform(QWidget *owner, const QString &text, QMessageBox::Icon icon = QMessageBox::Information)
{
    ShowMessage(owner, text, LoadResString(117), icon);
}

QString quotedAlias(const QString &alias)
{
    return u"\""_s + QString(alias).replace(u"\""_s, u"\"\""_s) + u"\""_s;
}

} // namespace

CDlgPsnSortManager::CDlgPsnSortManager(QWidget *parent) : CDialogExx(438, 0, parent)
{
    setWindowTitle(u"人员类别管理"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_pToolBar = CreateAdminToolBar(
        this,
        AdminEditCommands(
            u"新建"_s, [this] { OnAdd(); }, [this] { OnModify(); }, [this] { OnDelete(); })
            + AdminOrderCommands([this] { OnMoveUp(); }, [this] { OnMoveDown(); },
                                 [this] { OnRefresh(); }, [this] { accept(); }));
    m_pGrid = new CBCGPADOGridCtrl(this);
    m_pGrid->setObjectName(u"sortGrid"_s);
    m_pGrid->SetKeyField(u"AID"_s);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->installEventFilter(this);
    m_pGrid->horizontalHeader()->viewport()->installEventFilter(this);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, [this] { OnModify(); });
    connect(m_pGrid, &CBCGPADOGridCtrl::gridRButtonUp, this, [this](const GridMouseInfo &info) {
        ShowAdminToolBarMenu(m_pToolBar, this, info.globalPos);
    });
    LayOutAdminList(this, m_pToolBar, m_pGrid);
    resize(560, 420);
    LoadSortGrid();
}

void CDlgPsnSortManager::LoadSortGrid()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList select { u"AID"_s };
    m_itemNames = { QString() };
    m_widths = { 20 };
    m_nNameColumn = 1;
    bool nameFound = false;
    const vantrel::db::QueryResult items = theDatabase.run(
        u"SELECT Name, Alias, iWid FROM qz_Items WHERE upper(TblName) = 'QZ_PSNSORT' "
        "ORDER BY Ord"_s);
    for (int row = 0; items.ok && row < items.rows.rowCount(); ++row) {
        const QString name = items.rows.text(row, 0).trimmed();
        if (!IsSqlIdentifier(name) || name.compare(u"AID"_s, Qt::CaseInsensitive) == 0
            || name.compare(u"Ord"_s, Qt::CaseInsensitive) == 0)
            continue;
        if (!nameFound && name.compare(u"Name"_s, Qt::CaseInsensitive) == 0) {
            nameFound = true;
            m_nNameColumn = int(m_itemNames.size());
        }
        select << name + u" AS "_s + quotedAlias(items.rows.text(row, 1));
        m_itemNames << name;
        m_widths << items.rows.value(row, 2).toInt();
    }
    select << u"Ord"_s;
    m_itemNames << QString();
    m_widths << 0;
    m_pGrid->Close();
    if (m_pGrid->OpenConnection(theApp.m_strConnection)
        && m_pGrid->OpenSQL(
            u"SELECT %1 FROM qz_PsnSort ORDER BY Ord"_s.arg(select.join(u", "_s)))) {
        for (int column = 0; column < m_widths.size(); ++column) {
            if (m_widths.at(column) > 0)
                m_pGrid->setColumnWidth(column, m_widths.at(column));
        }
        m_pGrid->setColumnHidden(0, true);
        m_pGrid->setColumnHidden(int(m_widths.size()) - 1, true);
    }
    QApplication::restoreOverrideCursor();
}

void CDlgPsnSortManager::OnAdd()
{
    CDlgDynCtlFormForPsnSort form(this);
    form.m_strCaption = u"添加类别"_s;
    form.m_nAddFlag = 1;
    form.m_pOwnerWnd = this;
    form.m_pOwnerGrid = m_pGrid;
    form.exec();
}

void CDlgPsnSortManager::OnModify()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0) {
        inform(this, u"请选择项！"_s);
        return;
    }
    CDlgDynCtlFormForPsnSort form(this);
    form.m_strCaption = u"类别设置"_s;
    form.m_nAddFlag = 0;
    form.m_pOwnerWnd = this;
    form.m_pOwnerGrid = m_pGrid;
    form.m_nKeyValue = m_pGrid->GetFieldValue(row, 0).toInt();
    form.m_strOldName = m_pGrid->GetFieldValue(row, m_nNameColumn).toString();
    form.exec();
}

void CDlgPsnSortManager::OnDelete()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0) {
        inform(this, u"请选择项！"_s);
        return;
    }
    const int aid = m_pGrid->GetFieldValue(row, 0).toInt();
    const QString name = m_pGrid->GetFieldValue(row, m_nNameColumn).toString();
    const vantrel::Result<int> persons = vantrel::admin::PsnCountBySort(theDatabase, aid);
    if (!persons) {
        MessageBoxFormat(this, persons.error());
        return;
    }
    if (*persons > 0) {
        inform(this, u"该类别下还有 %1 个人员!"_s.arg(*persons), QMessageBox::Warning);
        return;
    }
    if (ShowMessage(this, u"确定要删除'%1'吗?"_s.arg(name), LoadResString(117),
                    QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    if (!vantrel::admin::DeletePsnSort(theDatabase, aid))
        return;
    theApp.WriteSystemLog(u"系统管理[人员类别删除'%1']"_s.arg(name), 0);
    LoadSortGrid();
}

void CDlgPsnSortManager::moveRow(int step)
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0) {
        inform(this, u"请选择项！"_s);
        return;
    }
    const int other = row + step;
    const int aid = m_pGrid->GetFieldValue(row, 0).toInt();
    if (other >= 0 && other < m_pGrid->GetRowCount()) {
        const int otherAid = m_pGrid->GetFieldValue(other, 0).toInt();
        if (ExchangeOrder({ u"qz_PsnSort"_s, u"AID"_s, u"Ord"_s, {}, {} }, aid, otherAid)) {
            LoadSortGrid();
            const int moved = m_pGrid->FindRowByKey(aid);
            m_pGrid->SetCurSel(moved >= 0 ? moved : other);
        }
    }
    // Written whether or not the row moved.
    theApp.WriteSystemLog(u"系统管理[人员类别调序]"_s, 0);
}

void CDlgPsnSortManager::OnRefresh()
{
    const vantrel::Status renumbered = vantrel::admin::RenumberPsnSorts(theDatabase);
    if (!renumbered)
        MessageBoxFormat(this, renumbered.error());
    LoadSortGrid();
}

void CDlgPsnSortManager::storeChangedWidths()
{
    for (int column = 0; column < m_itemNames.size(); ++column) {
        const int width = m_pGrid->columnWidth(column);
        if (m_itemNames.at(column).isEmpty() || width == m_widths.at(column))
            continue;
        m_widths[column] = width;
        vantrel::admin::StoreItemWidth(theDatabase, u"QZ_PSNSORT"_s, m_itemNames.at(column), width);
    }
}

bool CDlgPsnSortManager::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pGrid->horizontalHeader()->viewport()
        && event->type() == QEvent::MouseButtonRelease)
        storeChangedWidths();
    if (watched == m_pGrid) {
        if (const int step = AdminMoveKeyStep(event)) {
            moveRow(step);
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}
