#include "personnel/ui/cdlgpsndatapreview.h"

#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/filedialogs.h"
#include "ui/controls/gridprint.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

void PreviewModel::setTable(PreviewTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int PreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size());
}

int PreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.header.size());
}

QVariant PreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    const QVariant value = m_table.rows.at(index.row()).value(index.column());
    const int type = value.typeId();
    const bool number
        = type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong;
    if (role == Qt::TextAlignmentRole)
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (type == QMetaType::QDateTime) {
        const QDateTime when = value.toDateTime();
        return when.time() == QTime(0, 0) ? when.date().toString(u"yyyy-MM-dd"_s)
                                          : when.toString(u"yyyy-MM-dd HH:mm:ss"_s);
    }
    if (type == QMetaType::QDate)
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    return value;
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_table.header.value(section);
}

CDlgPsnDataPreview::CDlgPsnDataPreview(QWidget *parent)
    : CDialogExx(443, 0, parent)
    , m_pToolBar(new QToolBar(this))
    , m_pGrid(new QTableView(this))
    , m_pModel(new PreviewModel(this))
    , m_pFooter(new QLabel(this))
{
    resize(760, 480);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_pToolBar->setIconSize(QSize(16, 16));
    const auto add = [this](int id, const QString &text, void (CDlgPsnDataPreview::*slot)()) {
        QAction *a = m_pToolBar->addAction(text);
        a->setData(id);
        a->setToolTip(text);
        connect(a, &QAction::triggered, this, slot);
    };
    add(IdExport, u"导出"_s, &CDlgPsnDataPreview::OnExport);
    add(IdPrint, u"打印"_s, &CDlgPsnDataPreview::OnPrint);
    m_pToolBar->addSeparator();
    QAction *exit = m_pToolBar->addAction(u"退出"_s);
    exit->setData(int(IdExit));
    connect(exit, &QAction::triggered, this, &QDialog::accept);

    m_pGrid->setModel(m_pModel);
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_pGrid->addActions(m_pToolBar->actions());
    m_pFooter->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);
    layout->addWidget(m_pFooter);
}

void CDlgPsnDataPreview::SetQuery(const QString &connectionString, const QString &sql,
                                  const QVariantList &values)
{
    m_strConnect = connectionString;
    m_strSQL = sql;
    m_values = values;
    m_strSheetPath.clear();
}

void CDlgPsnDataPreview::SetSheet(const QString &path)
{
    m_strSheetPath = path;
    m_strConnect.clear();
    m_strSQL.clear();
}

QAction *CDlgPsnDataPreview::action(int id) const
{
    for (QAction *a : m_pToolBar->actions()) {
        if (a->data().toInt() == id)
            return a;
    }
    return nullptr;
}

QString CDlgPsnDataPreview::footerText() const
{
    return m_pFooter->text();
}

void CDlgPsnDataPreview::showEvent(QShowEvent *event)
{
    CDialogExx::showEvent(event);
    setWindowTitle(m_strCaption);
    if (!m_bLoaded)
        LoadData();
}

void CDlgPsnDataPreview::LoadData()
{
    m_bLoaded = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const PreviewLoad load = m_strSheetPath.isEmpty()
        ? LoadQueryPreview(m_strConnect, m_strSQL, m_values)
        : LoadSheetPreview(m_strSheetPath);
    QApplication::restoreOverrideCursor();
    m_pModel->setTable(load.table);
    m_pFooter->setText(PreviewFooterText(int(load.table.rows.size())));
    if (load.connectionFailed)
        ShowMessage(this, load.error, LoadResString(117), QMessageBox::Critical);
    m_pGrid->resizeColumnsToContents();
}

void CDlgPsnDataPreview::OnExport()
{
    QString path = m_strExportPath;
    m_strExportPath.clear();
    if (path.isEmpty())
        path = vantrel::ui::GetSaveFileName(this, QString(), QString(),
                                            u"Microsoft Excel 工作簿 (*.xlsx);;All Files (*)"_s);
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Status written = ExportPreview(m_pModel->table(), path);
    QApplication::restoreOverrideCursor();
    if (!written)
        ShowMessage(this, u"导出时出错!"_s, LoadResString(117), QMessageBox::Information);
}

void CDlgPsnDataPreview::OnPrint()
{
    vantrel::ui::PrintGridWithDialog(*m_pGrid, windowTitle(), this);
}
