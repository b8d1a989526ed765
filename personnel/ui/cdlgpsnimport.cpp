#include "personnel/ui/cdlgpsnimport.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cdlgpsndatapreview.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/widgetfillers.h"
#include "ui/dialogs/cprogressdlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

QString cellText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

} // namespace

CDlgPsnImport::CDlgPsnImport(QWidget *parent)
    : CDialogExx(442, 0, parent)
    , m_pSort(new QComboBox(this))
    , m_pDept(new CDropDownListDept(this))
    , m_pGrid(new QTableWidget(0, 4, this))
    , m_pPreview(new QPushButton(u"源数据预览"_s, this))
{
    setWindowTitle(u"人员档案导入"_s);
    resize(620, 460);
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(u"所属部门："_s, this), 0, 0);
    layout->addWidget(m_pDept, 0, 1);
    layout->addWidget(new QLabel(u"所属类别："_s, this), 0, 2);
    layout->addWidget(m_pSort, 0, 3);
    auto *group = new QGroupBox(u"导入项匹配"_s, this);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_pGrid);
    layout->addWidget(group, 1, 0, 1, 4);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_pPreview, QDialogButtonBox::ActionRole);
    QPushButton *import = buttons->addButton(u"开始导入(&I)"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons, 2, 0, 1, 4);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);

    m_pGrid->setHorizontalHeaderLabels(
        { u"序号"_s, u"源数据列标题"_s, u"源数据内容"_s, u"匹配目标字段"_s });
    for (const auto &[column, width] : { std::pair { 0, 50 }, { 1, 150 }, { 2, 200 }, { 3, 120 } })
        m_pGrid->setColumnWidth(column, width);
    m_pGrid->horizontalHeader()->setStretchLastSection(true);
    m_pGrid->verticalHeader()->hide();
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pPreview->setEnabled(false);

    connect(m_pPreview, &QPushButton::clicked, this, &CDlgPsnImport::OnPreview);
    connect(import, &QPushButton::clicked, this, &CDlgPsnImport::OnImport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QComboBox *CDlgPsnImport::matchBox(int row) const
{
    return qobject_cast<QComboBox *>(m_pGrid->cellWidget(row, ColMatch));
}

void CDlgPsnImport::showEvent(QShowEvent *event)
{
    CDialogExx::showEvent(event);
    if (m_bLoaded)
        return;
    m_bLoaded = true;
    setWindowTitle(u"人员档案导入 - "_s + m_strFilePath);
    if (!m_pDept->Initialize())
        return;
    if (const QTreeWidgetItem *first = m_pDept->GetDropTree()->topLevelItem(0))
        m_pDept->setText(first->text(0));
    if (FillPsnSortCombo(m_pSort) && m_pSort->count() > 0)
        m_pSort->setCurrentIndex(0);
    LoadSourceFile();
}

void CDlgPsnImport::LoadSourceFile()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<ImportSource> source = ReadImportSource(m_strFilePath);
    QApplication::restoreOverrideCursor();
    m_pGrid->setRowCount(0);
    m_numeric.clear();
    m_oldMatch.clear();
    if (!source || source->columns.isEmpty())
        return;
    m_pGrid->setUpdatesEnabled(false);
    for (int row = 0; row < source->columns.size(); ++row) {
        const ImportColumn &column = source->columns[row];
        m_pGrid->insertRow(row);
        m_pGrid->setItem(row, ColNumber, new QTableWidgetItem(QString::number(row + 1)));
        m_pGrid->setItem(row, ColTitle, new QTableWidgetItem(column.title));
        m_pGrid->setItem(row, ColValue, new QTableWidgetItem(cellText(column.first)));
        auto *box = new QComboBox(m_pGrid);
        box->addItem(QString(), 0);
        int match = 0;
        for (const tagVANTRELITEMINFO &item : std::as_const(m_arrItems)) {
            box->addItem(item.Alias, item.ItemID);
            // Exact case only; a later equal alias wins.
            if (item.Alias == column.title)
                match = box->count() - 1;
        }
        box->setCurrentIndex(match);
        m_pGrid->setCellWidget(row, ColMatch, box);
        m_numeric.append(column.numeric);
        m_oldMatch.append(match);
        connect(box, &QComboBox::currentIndexChanged, this, [this, row] { onMatchChanged(row); });
    }
    m_pGrid->setUpdatesEnabled(true);
    m_pPreview->setEnabled(true);
}

void CDlgPsnImport::onMatchChanged(int row)
{
    QComboBox *box = matchBox(row);
    const QString label = box->currentText().trimmed();
    if (!label.isEmpty()) {
        for (int other = 0; other < m_pGrid->rowCount(); ++other) {
            if (other == row || matchBox(other)->currentText() != label)
                continue;
            ShowMessage(this, u"'%1'字段已选择了匹配项！"_s.arg(label), LoadResString(117),
                        QMessageBox::Information);
            const QSignalBlocker blocker(box);
            box->setCurrentIndex(m_oldMatch[row]);
            return;
        }
    }
    m_oldMatch[row] = box->currentIndex();
}

QVector<ImportGridRow> CDlgPsnImport::gridRows() const
{
    QVector<ImportGridRow> rows;
    for (int row = 0; row < m_pGrid->rowCount(); ++row)
        rows.append({ m_pGrid->item(row, ColTitle)->text(), m_numeric.value(row),
                      matchBox(row)->currentData().toInt() });
    return rows;
}

void CDlgPsnImport::OnPreview()
{
    CDlgPsnDataPreview preview(this);
    preview.SetSheet(m_strFilePath);
    preview.exec();
}

void CDlgPsnImport::OnImport()
{
    const QString caption = LoadResString(117);
    const QVector<ImportGridRow> rows = gridRows();
    const ImportCheck check = CheckImportMatches(m_arrItems, rows);
    if (!check.message.isEmpty()) {
        ShowMessage(this, check.message, caption,
                    check.exclamation ? QMessageBox::Warning : QMessageBox::Information);
        return;
    }
    const int department = m_pDept->GetSelectedDept();
    if (department <= 0) {
        ShowMessage(this, LoadResString(115), caption, QMessageBox::Warning);
        return;
    }
    const int category = m_pSort->currentData().toInt();
    if (category <= 0) {
        ShowMessage(this, LoadResString(114), caption, QMessageBox::Warning);
        return;
    }
    if (ShowMessage(this, u"确定导入此人员档案吗?"_s, caption, QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const PsnImportOutcome outcome
        = runImport({ m_strFilePath, department, category, ImportMatches(m_arrItems, rows) });
    if (outcome.cancelled)
        return;
    if (!outcome.ok()) {
        ShowMessage(this, outcome.error, caption, QMessageBox::Warning);
        return;
    }
    m_nImported = outcome.imported;
    ShowMessage(this, ImportSuccessText(outcome.imported), caption, QMessageBox::Information);
    theApp.WriteSystemLog(ImportLogText(outcome.imported, m_strFilePath), 0);
    accept();
}

PsnImportOutcome CDlgPsnImport::runImport(const PsnImportRequest &request)
{
    std::atomic_int rowsRead { 0 };
    std::atomic_bool cancel { false };
    PsnImportOutcome outcome;
    const QString connection = theDatabase.GetConnectionString();
    QThread *worker = QThread::create([&] {
        CADODatabase db;
        if (!db.Open(connection)) {
            outcome.error = u"导入数据出错!\n"_s + db.GetLastErrorString();
            return;
        }
        outcome = RunPsnImport(db, request, [&](int rows) {
            rowsRead = rows;
            return !cancel;
        });
    });
    tagProgressInfo info;
    info.caption = u"人员档案导入"_s;
    info.status = u"正在导入…"_s;
    info.showPercent = 0;
    CProgressDlg progress;
    progress.Create(info, this);
    worker->start();
    while (!worker->wait(50)) {
        progress.SetStatus(u"已读取 %1 行"_s.arg(rowsRead.load()));
        progress.SetPos(rowsRead / 100 % 100);
        progress.PumpMessages();
        if (progress.IsCancelled())
            cancel = true;
    }
    delete worker;
    progress.DestroyWindow();
    return outcome;
}
