#include "payroll/ui/cdlgwagetableopen.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/ui/cdlgwagetabledelete.h"
#include "payroll/ui/cdlgwagetablenew.h"
#include "payroll/ui/wagesetupui.h"
#include "payroll/wageperiods.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/widgetfillers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

enum Column { ColId, ColPeriod, ColClosed, ColCreated };

constexpr int RightView = 17;
constexpr int RightCreateDelete = 18;
constexpr int RightChangeData = 19;
constexpr int RightClose = 20;

QTableWidgetItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

CDlgWageTableOpen::CDlgWageTableOpen(QWidget *parent)
    : CDialogExx(392, 0, parent)
    , m_pCombo(new QComboBox(this))
    , m_pGrid(new QTableWidget(0, 4, this))
    , m_pLimit(new QCheckBox(u"仅显示前"_s, this))
    , m_pMonths(new QSpinBox(this))
    , m_pReopen(new QPushButton(u"反结账(&Z)"_s, this))
{
    setWindowTitle(u"薪资档案"_s);
    m_pGrid->setHorizontalHeaderLabels({ u"ID"_s, u"薪资期间"_s, u"是否结账"_s, u"建表时间"_s });
    m_pGrid->setColumnHidden(ColId, true);
    m_pGrid->setColumnWidth(ColPeriod, 200);
    m_pGrid->setColumnWidth(ColClosed, 80);
    m_pGrid->setColumnWidth(ColCreated, 120);
    m_pGrid->horizontalHeader()->setStretchLastSection(true);
    m_pGrid->verticalHeader()->hide();
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pMonths->setRange(0, 10000);
    m_pMonths->setValue(12);
    m_pLimit->setChecked(true);

    auto *open = new QPushButton(u"打开(&O)"_s, this);
    auto *cancel = new QPushButton(u"取消(&C)"_s, this);
    auto *create = new QPushButton(u"新建(&N)"_s, this);
    auto *remove = new QPushButton(u"删除(&D)"_s, this);
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, &CDlgWageTableOpen::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgWageTableOpen::reject);
    connect(create, &QPushButton::clicked, this, &CDlgWageTableOpen::OnNew);
    connect(remove, &QPushButton::clicked, this, &CDlgWageTableOpen::OnDelete);
    connect(m_pReopen, &QPushButton::clicked, this, &CDlgWageTableOpen::OnReopen);
    connect(m_pCombo, &QComboBox::currentIndexChanged, this, &CDlgWageTableOpen::onWageSetChanged);
    connect(m_pGrid, &QTableWidget::itemSelectionChanged, this, &CDlgWageTableOpen::onRowChanged);
    connect(m_pGrid, &QTableWidget::cellDoubleClicked, this, &CDlgWageTableOpen::accept);
    connect(m_pMonths, &QSpinBox::valueChanged, this, [this] {
        if (m_nSid > 0 && m_pLimit->isChecked())
            LoadPeriods(m_nSid);
    });
    connect(m_pLimit, &QCheckBox::toggled, this, [this](bool on) {
        m_pMonths->setEnabled(on);
        LoadPeriods(m_nSid);
    });

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(u"薪资类别："_s, this));
    top->addWidget(m_pCombo, 1);
    auto *limit = new QHBoxLayout;
    limit->addWidget(m_pLimit);
    limit->addWidget(m_pMonths);
    limit->addWidget(new QLabel(u"个月"_s, this));
    limit->addStretch();
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : { create, remove, m_pReopen })
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pGrid, 1);
    layout->addLayout(limit);
    layout->addLayout(buttons);
    resize(560, 420);

    FillWageSetCombo(m_pCombo);
    if (m_pCombo->count() > 0) {
        m_pCombo->setCurrentIndex(0);
        onWageSetChanged();
    }
    onRowChanged();
    m_pGrid->setFocus();
}

void CDlgWageTableOpen::onWageSetChanged()
{
    if (m_pCombo->currentIndex() < 0)
        return;
    m_nSid = m_pCombo->currentData().toInt();
    m_strTitle = m_pCombo->currentText();
    m_strTable = GetWageSetTableName(m_nSid);
    LoadPeriods(m_nSid);
}

void CDlgWageTableOpen::LoadPeriods(int sid)
{
    QString sql = u"SELECT ID, fDate, Stat, CreateDate FROM qz_WageTable WHERE SID = ?"
                  u" ORDER BY fDate DESC"_s;
    QVariantList values { sid };
    if (m_pLimit->isChecked()) {
        sql += u" LIMIT ?"_s;
        values << m_pMonths->value();
    }
    const vantrel::db::QueryResult rows = theDatabase.run(sql, values);
    if (!rows.ok)
        return;
    m_pGrid->setRowCount(0);
    m_pGrid->setRowCount(rows.rows.rowCount());
    for (int row = 0; row < rows.rows.rowCount(); ++row) {
        const int period = rows.rows.value(row, 1).toInt();
        m_pGrid->setItem(row, ColId, cell(rows.rows.text(row, 0)));
        QTableWidgetItem *periodCell = cell(FormatWagePeriod(period));
        periodCell->setData(Qt::UserRole, period);
        m_pGrid->setItem(row, ColPeriod, periodCell);
        QTableWidgetItem *closed = cell({}, Qt::AlignHCenter);
        closed->setCheckState(rows.rows.value(row, 2).toInt() == 1 ? Qt::Checked : Qt::Unchecked);
        m_pGrid->setItem(row, ColClosed, closed);
        const QDateTime created = rows.rows.value(row, 3).toDateTime();
        m_pGrid->setItem(row, ColCreated,
                         cell(created.isValid() ? created.toString(u"yyyy-MM-dd HH:mm:ss"_s)
                                                : rows.rows.text(row, 3),
                              Qt::AlignRight));
    }
    if (m_pGrid->rowCount() > 0)
        m_pGrid->selectRow(0);
    onRowChanged();
}

int CDlgWageTableOpen::selectedPeriod() const
{
    const QList<QTableWidgetItem *> chosen = m_pGrid->selectedItems();
    if (chosen.isEmpty())
        return 0;
    return m_pGrid->item(chosen.first()->row(), ColPeriod)->data(Qt::UserRole).toInt();
}

int CDlgWageTableOpen::selectedId() const
{
    const QList<QTableWidgetItem *> chosen = m_pGrid->selectedItems();
    return chosen.isEmpty() ? 0 : m_pGrid->item(chosen.first()->row(), ColId)->text().toInt();
}

void CDlgWageTableOpen::onRowChanged()
{
    const QList<QTableWidgetItem *> chosen = m_pGrid->selectedItems();
    m_pReopen->setEnabled(!chosen.isEmpty()
                          && m_pGrid->item(chosen.first()->row(), ColClosed)->checkState()
                              == Qt::Checked);
}

void CDlgWageTableOpen::accept()
{
    // The three rights are tested quietly; one refusal when none of them is held.
    if (!theCurrentUser.HasRight(RightView, true)
        && !theCurrentUser.HasRight(RightCreateDelete, false)
        && !theCurrentUser.HasRight(RightChangeData, false)) {
        ShowMessage(this, LoadResString(106), LoadResString(128), QMessageBox::Warning);
        return;
    }
    if (m_nSid < 1) {
        Tell(this, LoadResString(113));
        return;
    }
    const int period = selectedPeriod();
    if (period == 0) {
        Tell(this, u"请选择薪资表!"_s);
        return;
    }
    m_nPeriod = period;
    const QList<QTableWidgetItem *> chosen = m_pGrid->selectedItems();
    m_nClosed = m_pGrid->item(chosen.first()->row(), ColClosed)->checkState() == Qt::Checked;
    theApp.WriteSystemLog(
        u"薪资管理[打开薪资表'%1:%2']"_s.arg(m_strTitle, FormatWagePeriod(period)), 0);
    CDialogExx::accept();
}

void CDlgWageTableOpen::OnNew()
{
    if (!CheckRightWithMessage(RightCreateDelete, theApp, true) || !theApp.CheckConnection())
        return;
    if (m_nSid < 1) {
        Tell(this, LoadResString(113));
        return;
    }
    CDlgWageTableNew dialog(m_strTitle, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int found = m_pCombo->findText(m_strTitle, Qt::MatchExactly);
    m_pCombo->setCurrentIndex(found >= 0 ? found : 0);
    onWageSetChanged();
    m_pGrid->setFocus();
}

void CDlgWageTableOpen::OnDelete()
{
    if (!CheckRightWithMessage(RightCreateDelete, theApp, true))
        return;
    CDlgWageTableDelete dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString what;
    vantrel::Status deleted;
    if (dialog.mode() == 1) {
        what = u" %1 至 %2"_s.arg(FormatWagePeriod(dialog.from()), FormatWagePeriod(dialog.to()));
        if (!Ask(this, u"确定要删除%1薪资表吗?"_s.arg(what), QMessageBox::Question))
            return;
        deleted = DeleteWagePeriodRange(theDatabase, m_nSid, dialog.from(), dialog.to());
    } else {
        const int period = selectedPeriod();
        if (period == 0) {
            Tell(this, u"请选择薪资表!"_s);
            return;
        }
        what = FormatWagePeriod(period);
        if (!Ask(this, u"确定要删除薪资表[ %1 ]吗?"_s.arg(what), QMessageBox::Question))
            return;
        deleted = DeleteWagePeriod(theDatabase, m_nSid, selectedId(), period);
    }
    if (!deleted)
        return;
    theApp.WriteSystemLog(u"薪资管理[删除薪资表'%1:%2']"_s.arg(m_strTitle, what), 0);
    LoadPeriods(m_nSid);
}

void CDlgWageTableOpen::OnReopen()
{
    if (!CheckRightWithMessage(RightClose, theApp, true))
        return;
    const int period = selectedPeriod();
    if (m_nSid < 1 || period == 0)
        return;
    const QString text = FormatWagePeriod(period);
    if (!Ask(this, u"确定要将\"%1\"薪资表标记为未结账状态吗?"_s.arg(text), QMessageBox::Question))
        return;
    if (SetWagePeriodClosed(theDatabase, m_nSid, period, false)) {
        Tell(this, u"反结账完成!"_s);
        theApp.WriteSystemLog(u"薪资管理[反结帐薪资表'%1:%2']"_s.arg(m_strTitle, text), 0);
    }
    LoadPeriods(m_nSid);
}
