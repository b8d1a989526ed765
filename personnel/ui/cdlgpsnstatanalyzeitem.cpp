#include "personnel/ui/cdlgpsnstatanalyzeitem.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "personnel/psnstat.h"
#include "ui/app/messagebox.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

constexpr int NameRole = Qt::UserRole + 1;
constexpr int TypeRole = Qt::UserRole + 2;
const QString DateFormat = u"yyyy-MM-dd"_s;

bool isRangeType(int dataType)
{
    return dataType == 0 || dataType == 2;
}

void warn(QWidget *owner, const QString &text)
{
    ShowMessage(owner, text, LoadResString(117), QMessageBox::Warning);
}

void fail(QWidget *owner, const QString &text)
{
    ShowMessage(owner, text, LoadResString(117), QMessageBox::Critical);
}

// "确定" and "取消" at the right of a row; "确定" is the default button.
QHBoxLayout *okCancelRow(QPushButton *ok, QPushButton *cancel)
{
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

// Selects the entry whose item data equals the value; none when no entry has it.
void selectData(QComboBox *combo, const QVariant &value)
{
    combo->setCurrentIndex(combo->findData(value));
}

} // namespace

// ---- StatBoundDelegate

StatBoundDelegate::StatBoundDelegate(const int *dataType, QObject *parent)
    : QStyledItemDelegate(parent), m_pDataType(dataType)
{
}

QString StatBoundDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(DateFormat);
    return QStyledItemDelegate::displayText(value, locale);
}

QWidget *StatBoundDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    if (*m_pDataType == 2) {
        auto *edit = new QDateEdit(parent);
        edit->setDisplayFormat(DateFormat);
        edit->setCalendarPopup(true);
        m_pEditor = edit;
    } else {
        m_pEditor = QStyledItemDelegate::createEditor(parent, option, index);
    }
    return m_pEditor;
}

void StatBoundDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QDateEdit *>(editor)) {
        const QDate date = index.data(Qt::EditRole).toDate();
        edit->setDate(date.isValid() ? date : QDate::currentDate());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void StatBoundDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                     const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QDateEdit *>(editor)) {
        model->setData(index, edit->date(), Qt::EditRole);
        return;
    }
    if (auto *edit = qobject_cast<QLineEdit *>(editor); edit && *m_pDataType == 0) {
        QString text = edit->text();
        if (!IsNumericText(text))
            return; // not accepted: the cell keeps its value
        model->setData(index, text, Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void StatBoundDelegate::finishEdit()
{
    if (!m_pEditor)
        return;
    QWidget *editor = m_pEditor;
    m_pEditor = nullptr;
    Q_EMIT commitData(editor);
    Q_EMIT closeEditor(editor);
}

// ---- CDlgPsnStatAnalyzeItem

CDlgPsnStatAnalyzeItem::CDlgPsnStatAnalyzeItem(const QString &caption, int tid,
                                               const QString &title, const QString &table,
                                               const QString &field, QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_strCaption(caption)
    , m_bNew(tid == 0)
    , m_nTID(tid)
    , m_strTitle(title)
    , m_strTable(table.isEmpty() ? u"QZ_PSNBASE"_s : table)
    , m_strField(field)
    , m_pTitle(new QLineEdit(title, this))
    , m_pTableCombo(new QComboBox(this))
    , m_pFieldCombo(new QComboBox(this))
    , m_pRangeBox(new QGroupBox(this))
    , m_pGrid(new QTableWidget(0, 4, this))
    , m_pDelegate(new StatBoundDelegate(&m_nDataType, this))
    , m_pNew(new QPushButton(u"新建"_s, this))
    , m_pDelete(new QPushButton(u"删除"_s, this))
    , m_pDown(new QPushButton(u"向下"_s, this))
    , m_pUp(new QPushButton(u"向上"_s, this))
    , m_pSave(new QPushButton(u"确定"_s, this))
{
    setWindowTitle(m_strCaption);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_pGrid->setHorizontalHeaderLabels({ u"ID"_s, u"描述"_s, u"下限值"_s, u"上限值"_s });
    m_pGrid->setColumnHidden(ColId, true);
    m_pGrid->setColumnWidth(ColTitle, 120);
    m_pGrid->setColumnWidth(ColLower, 85);
    m_pGrid->setColumnWidth(ColUpper, 85);
    m_pGrid->horizontalHeader()->setStretchLastSection(true);
    m_pGrid->verticalHeader()->setFixedWidth(30);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->setItemDelegateForColumn(ColLower, m_pDelegate);
    m_pGrid->setItemDelegateForColumn(ColUpper, m_pDelegate);

    auto *cancel = new QPushButton(u"取消"_s, this);
    for (QPushButton *button : { m_pNew, m_pDelete, m_pDown, m_pUp })
        button->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(u"标题："_s, m_pTitle);
    form->addRow(u"数据表："_s, m_pTableCombo);
    form->addRow(u"字段："_s, m_pFieldCombo);
    auto *rangeButtons = new QVBoxLayout;
    for (QPushButton *button : { m_pNew, m_pDelete, m_pUp, m_pDown })
        rangeButtons->addWidget(button);
    rangeButtons->addStretch();
    auto *rangeLayout = new QHBoxLayout(m_pRangeBox);
    rangeLayout->addWidget(m_pGrid, 1);
    rangeLayout->addLayout(rangeButtons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pRangeBox, 1);
    layout->addLayout(okCancelRow(m_pSave, cancel));
    resize(460, 420);

    connect(m_pNew, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem::OnNewBucket);
    connect(m_pDelete, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem::OnDeleteBucket);
    connect(m_pUp, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem::OnMoveUp);
    connect(m_pDown, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem::OnMoveDown);
    connect(m_pSave, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem::OnSave);
    connect(cancel, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem::reject);

    fillTableCombo();
    fillFieldCombo();
    loadBuckets();
    onFieldChanged();
    m_pTableCombo->setEnabled(m_bNew);
    m_pFieldCombo->setEnabled(m_bNew);
    connect(m_pTableCombo, &QComboBox::currentIndexChanged, this,
            &CDlgPsnStatAnalyzeItem::onTableChanged);
    connect(m_pFieldCombo, &QComboBox::currentIndexChanged, this,
            &CDlgPsnStatAnalyzeItem::onFieldChanged);
}

void CDlgPsnStatAnalyzeItem::fillTableCombo()
{
    const auto rows = theDatabase.run(u"SELECT ID,TblName,Title FROM qz_Table"
                                      " WHERE (bStat=1 AND nType<>6) ORDER BY Ord"_s);
    m_pTableCombo->clear();
    int chosen = 0;
    for (int row = 0; rows.ok && row < rows.rows.rowCount(); ++row) {
        m_pTableCombo->addItem(rows.rows.text(row, 2), rows.rows.value(row, 0));
        m_pTableCombo->setItemData(row, rows.rows.text(row, 1), NameRole);
        if (rows.rows.text(row, 1).compare(m_strTable, Qt::CaseInsensitive) == 0)
            chosen = row;
    }
    if (m_pTableCombo->count() > 0) {
        m_pTableCombo->setCurrentIndex(chosen);
        m_strTable = m_pTableCombo->currentData(NameRole).toString();
    }
}

void CDlgPsnStatAnalyzeItem::fillFieldCombo()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bFilling = true;
    const auto rows = theDatabase.run(u"SELECT ItemID,Name,Alias,iDataType FROM qz_Items"
                                      " WHERE UPPER(TblName)=UPPER(?) ORDER BY Ord"_s,
                                      { m_strTable });
    m_pFieldCombo->clear();
    int chosen = 0;
    for (int row = 0; rows.ok && row < rows.rows.rowCount(); ++row) {
        m_pFieldCombo->addItem(rows.rows.text(row, 2), rows.rows.value(row, 0));
        m_pFieldCombo->setItemData(row, rows.rows.text(row, 1), NameRole);
        m_pFieldCombo->setItemData(row, rows.rows.value(row, 3).toInt(), TypeRole);
        if (rows.rows.text(row, 1).compare(m_strField, Qt::CaseInsensitive) == 0)
            chosen = row;
    }
    m_pFieldCombo->setCurrentIndex(m_pFieldCombo->count() > 0 ? chosen : -1);
    m_bFilling = false;
    QApplication::restoreOverrideCursor();
}

void CDlgPsnStatAnalyzeItem::loadBuckets()
{
    m_pGrid->setRowCount(0);
    if (m_nTID <= 0)
        return;
    const auto ranges = LoadStatRanges(theDatabase, m_nTID);
    if (!ranges) {
        fail(this, ranges.error());
        return;
    }
    // The bound cells follow the stored field's type.
    const int index = m_pFieldCombo->currentIndex();
    m_nDataType = index >= 0 ? m_pFieldCombo->itemData(index, TypeRole).toInt() : 0;
    for (const StatRange &range : *ranges) {
        const int row = m_pGrid->rowCount();
        m_pGrid->insertRow(row);
        setBucketRow(row, range.id, range.title, range.lower, range.upper);
    }
    if (m_pGrid->rowCount() > 0)
        m_pGrid->selectRow(0);
}

void CDlgPsnStatAnalyzeItem::setBucketRow(int row, int id, const QString &title,
                                          const QString &lower, const QString &upper)
{
    m_pGrid->setItem(row, ColId, new QTableWidgetItem(QString::number(id)));
    m_pGrid->setItem(row, ColTitle, new QTableWidgetItem(title));
    const QString bounds[] = { lower, upper };
    for (int i = 0; i < 2; ++i) {
        auto *cell = new QTableWidgetItem;
        if (m_nDataType == 0) {
            cell->setData(Qt::EditRole, bounds[i].trimmed());
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else if (m_nDataType == 2) {
            const QDate date = ParseStatDate(bounds[i]);
            cell->setData(Qt::EditRole, date.isValid() ? date : QDate::currentDate());
        }
        m_pGrid->setItem(row, ColLower + i, cell);
    }
}

void CDlgPsnStatAnalyzeItem::onTableChanged()
{
    m_strTable = m_pTableCombo->currentData(NameRole).toString();
    fillFieldCombo();
    onFieldChanged();
}

void CDlgPsnStatAnalyzeItem::onFieldChanged()
{
    if (m_bFilling)
        return;
    const int index = m_pFieldCombo->currentIndex();
    if (index < 0)
        return;
    m_strField = m_pFieldCombo->itemData(index, NameRole).toString();
    m_nDataType = m_pFieldCombo->itemData(index, TypeRole).toInt();
    // The grid and the four range buttons sit in the box.
    m_pRangeBox->setEnabled(isRangeType(m_nDataType));
    m_pRangeBox->setTitle(u"'"_s + m_pFieldCombo->itemText(index) + u"'区段"_s);
}

void CDlgPsnStatAnalyzeItem::OnNewBucket()
{
    m_pGrid->setFocus();
    const int row = m_pGrid->rowCount();
    m_pGrid->insertRow(row);
    const QString today = QDate::currentDate().toString(DateFormat);
    const QString bound = m_nDataType == 2 ? today : u"0"_s;
    setBucketRow(row, 0, QString(), bound, bound);
    m_pGrid->selectRow(row);
    m_pGrid->scrollToItem(m_pGrid->item(row, ColTitle));
}

void CDlgPsnStatAnalyzeItem::OnDeleteBucket()
{
    const int row = m_pGrid->currentRow();
    if (row < 0)
        return;
    if (ShowMessage(this, u"确定删除当前项吗?"_s, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    m_pDelegate->finishEdit();
    const int id = m_pGrid->item(row, ColId)->text().toInt();
    if (id > 0) {
        const vantrel::Status deleted = DeleteStatRange(theDatabase, id);
        if (!deleted) {
            fail(this, deleted.error());
            return;
        }
    }
    m_pGrid->removeRow(row);
    if (m_pGrid->rowCount() > 0)
        m_pGrid->selectRow(qMin(row, m_pGrid->rowCount() - 1));
}

void CDlgPsnStatAnalyzeItem::moveRow(int step)
{
    const int row = m_pGrid->currentRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= m_pGrid->rowCount())
        return;
    m_pDelegate->finishEdit();
    for (int column = 0; column < m_pGrid->columnCount(); ++column) {
        QTableWidgetItem *mine = m_pGrid->takeItem(row, column);
        QTableWidgetItem *theirs = m_pGrid->takeItem(other, column);
        m_pGrid->setItem(row, column, theirs);
        m_pGrid->setItem(other, column, mine);
    }
    m_pGrid->selectRow(other);
    m_pGrid->scrollToItem(m_pGrid->item(other, ColTitle));
}

void CDlgPsnStatAnalyzeItem::OnMoveUp()
{
    moveRow(-1);
}

void CDlgPsnStatAnalyzeItem::OnMoveDown()
{
    moveRow(1);
}

bool CDlgPsnStatAnalyzeItem::validateBuckets() const
{
    if (m_pGrid->rowCount() == 0)
        return false;
    for (int row = 0; row < m_pGrid->rowCount(); ++row) {
        if (m_pGrid->item(row, ColTitle)->text().trimmed().isEmpty())
            return false;
        for (const int column : { ColLower, ColUpper }) {
            const QVariant value = m_pGrid->item(row, column)->data(Qt::EditRole);
            QString text = value.toString();
            if (m_nDataType == 0 && !IsNumericText(text))
                return false;
            if (m_nDataType == 2 && !value.toDate().isValid())
                return false;
        }
    }
    return true;
}

void CDlgPsnStatAnalyzeItem::OnSave()
{
    m_pDelegate->finishEdit();
    const QString title = m_pTitle->text().trimmed();
    if (title.isEmpty()) {
        warn(this, u"标题不能为空!"_s);
        m_pTitle->setFocus();
        return;
    }
    const bool ranges = isRangeType(m_nDataType);
    if (ranges && !validateBuckets()) {
        warn(this, u"区段设置有错误!"_s);
        return;
    }
    QVector<StatRange> rows;
    for (int row = 0; ranges && row < m_pGrid->rowCount(); ++row) {
        StatRange range;
        range.id = m_pGrid->item(row, ColId)->text().toInt();
        range.title = m_pGrid->item(row, ColTitle)->text().trimmed();
        const QVariant lower = m_pGrid->item(row, ColLower)->data(Qt::EditRole);
        const QVariant upper = m_pGrid->item(row, ColUpper)->data(Qt::EditRole);
        range.lower = m_nDataType == 2 ? lower.toDate().toString(DateFormat) : lower.toString();
        range.upper = m_nDataType == 2 ? upper.toDate().toString(DateFormat) : upper.toString();
        rows << range;
    }
    StatDefinition definition;
    definition.tid = m_nTID;
    definition.caption = title;
    definition.flag = 1;
    definition.table = m_strTable;
    definition.field = m_strField;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<int> saved = SaveStat1D(theDatabase, definition, m_nDataType, rows);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        fail(this, saved.error());
        return;
    }
    m_nTID = *saved;
    m_strTitle = title;
    theApp.WriteSystemLog(
        u"人员档案[人员统计分析项%1 '%2']"_s.arg(m_bNew ? u"添加"_s : u"修改"_s, title), 0);
    done(QDialog::Accepted);
}

// ---- CDlgPsnStatAnalyzeItem2D

CDlgPsnStatAnalyzeItem2D::CDlgPsnStatAnalyzeItem2D(const QString &caption, int tid,
                                                   const QString &title, int horzTid, int vertTid,
                                                   QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_bNew(tid == 0)
    , m_nTID(tid)
    , m_nHorzTID(horzTid)
    , m_nVertTID(vertTid)
    , m_pTitle(new QLineEdit(title, this))
    , m_pHorzCombo(new QComboBox(this))
    , m_pVertCombo(new QComboBox(this))
{
    setWindowTitle(caption);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    auto *ok = new QPushButton(u"确定"_s, this);
    auto *cancel = new QPushButton(u"取消"_s, this);
    auto *form = new QFormLayout;
    form->addRow(u"标题："_s, m_pTitle);
    form->addRow(u"横向指标："_s, m_pHorzCombo);
    form->addRow(u"纵向指标："_s, m_pVertCombo);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(okCancelRow(ok, cancel));
    resize(360, 170);
    connect(ok, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem2D::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgPsnStatAnalyzeItem2D::reject);

    fillHorizontalCombo();
    if (!m_bNew) {
        m_nHorzTID = m_pHorzCombo->currentIndex() >= 0 ? m_pHorzCombo->currentData().toInt() : -1;
        fillVerticalCombo();
    }
    connect(m_pHorzCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_bFilling || index < 0)
            return;
        m_nHorzTID = m_pHorzCombo->itemData(index).toInt();
        fillVerticalCombo();
    });
    connect(m_pVertCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_bFilling && index >= 0)
            m_nVertTID = m_pVertCombo->itemData(index).toInt();
    });
}

void CDlgPsnStatAnalyzeItem2D::fillHorizontalCombo()
{
    m_bFilling = true;
    m_pHorzCombo->clear();
    const auto statistics = LoadStatGroup(theDatabase, 1);
    if (statistics) {
        for (const StatDefinition &definition : *statistics)
            m_pHorzCombo->addItem(definition.caption, definition.tid);
    }
    selectData(m_pHorzCombo, m_nHorzTID);
    m_bFilling = false;
}

void CDlgPsnStatAnalyzeItem2D::fillVerticalCombo()
{
    m_bFilling = true;
    m_pVertCombo->clear();
    const auto statistics = LoadStatGroup(theDatabase, 1);
    if (statistics) {
        for (const StatDefinition &definition : *statistics) {
            if (definition.tid != m_nHorzTID)
                m_pVertCombo->addItem(definition.caption, definition.tid);
        }
    }
    selectData(m_pVertCombo, m_nVertTID);
    m_bFilling = false;
}

void CDlgPsnStatAnalyzeItem2D::accept()
{
    // Nothing chosen, or the same statistic twice: the dialog just stays open.
    if (m_nHorzTID == m_nVertTID || m_nHorzTID <= 0 || m_nVertTID <= 0)
        return;
    const QString title = m_pTitle->text().trimmed();
    if (title.isEmpty()) {
        warn(this, u"标题不能为空!"_s);
        m_pTitle->setFocus();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<int> saved
        = SaveStat2D(theDatabase, m_nTID, title, m_nHorzTID, m_nVertTID);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        if (saved.error() == u"不能创建这两横纵指标统计项!"_s)
            warn(this, saved.error());
        else
            fail(this, saved.error());
        return;
    }
    m_nTID = *saved;
    CDialogExx::accept();
}
