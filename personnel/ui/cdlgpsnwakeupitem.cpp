#include "personnel/ui/cdlgpsnwakeupitem.h"

#include "core/db/cadodatabase.h"
#include "ui/app/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The entries of a combo from a query's rows: text from one column, item data from another,
// and the name to match (third column) kept as well.
void fillCombo(QComboBox *combo, const vantrel::db::QueryResult &result, const QString &select)
{
    combo->clear();
    int chosen = 0;
    for (int row = 0; result.ok && row < result.rows.rowCount(); ++row) {
        combo->addItem(result.rows.text(row, 1), result.rows.value(row, 0));
        combo->setItemData(row, result.rows.text(row, 2), Qt::UserRole + 1);
        if (result.rows.text(row, 2).compare(select, Qt::CaseInsensitive) == 0)
            chosen = row;
    }
    combo->setCurrentIndex(combo->count() > 0 ? chosen : -1);
}

} // namespace

CDlgPsnWakeupItem::CDlgPsnWakeupItem(const tagWAKEUPITEM &item, QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_item(item)
    , m_tables(new QComboBox(this))
    , m_fields(new QComboBox(this))
    , m_title(new QLineEdit(item.Title, this))
    , m_days(new QSpinBox(this))
    , m_custom(new QCheckBox(u"自定义提醒条件(SQL语句)"_s, this))
    , m_condition(new QPlainTextEdit(item.WCondit, this))
{
    setWindowTitle(u"人事提醒"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_tables->setObjectName(u"TableCombo"_s);
    m_fields->setObjectName(u"FieldCombo"_s);
    m_days->setRange(0, 1000);
    m_days->setValue(item.BefDays);
    m_custom->setChecked(item.ISCustom);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"提醒项目："_s, this));
    auto *pick = new QHBoxLayout;
    pick->addWidget(m_tables, 1);
    pick->addWidget(m_fields, 1);
    layout->addLayout(pick);
    layout->addWidget(new QLabel(u"提醒描述："_s, this));
    layout->addWidget(m_title);
    auto *days = new QHBoxLayout;
    days->addWidget(new QLabel(u"提前提醒天数："_s, this));
    days->addWidget(m_days);
    days->addStretch();
    layout->addLayout(days);
    layout->addWidget(m_custom);
    layout->addWidget(m_condition, 1);
    layout->addStretch(0);
    layout->addWidget(buttons);
    setFixedWidth(400);

    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgPsnWakeupItem::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgPsnWakeupItem::reject);
    connect(m_custom, &QCheckBox::toggled, this, &CDlgPsnWakeupItem::layOutForCustom);
    fillTables();
    connect(m_tables, &QComboBox::currentIndexChanged, this, &CDlgPsnWakeupItem::fillFields);
    layOutForCustom();
}

void CDlgPsnWakeupItem::fillTables()
{
    fillCombo(
        m_tables,
        theDatabase.run(u"SELECT ID,Title,TblName FROM qz_Table WHERE nType=4 ORDER BY Ord"_s),
        m_item.WTable);
    fillFields();
}

void CDlgPsnWakeupItem::fillFields()
{
    const QString table = m_tables->currentData(Qt::UserRole + 1).toString();
    if (table.isEmpty()) {
        m_fields->clear();
        return;
    }
    fillCombo(
        m_fields,
        theDatabase.run(u"SELECT ItemID,Alias,Name FROM qz_Items WHERE upper(TblName)=upper(?)"
                        " AND iDataType=2 ORDER BY Ord"_s,
                        { table }),
        m_item.WField);
}

void CDlgPsnWakeupItem::layOutForCustom()
{
    const bool custom = m_custom->isChecked();
    m_condition->setVisible(custom);
    if (custom) {
        setFixedHeight(CustomHeight);
    } else {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        setFixedHeight(sizeHint().height());
    }
}

bool CDlgPsnWakeupItem::refuse(const QString &text)
{
    ShowMessage(this, text, u"提示"_s, QMessageBox::Information);
    return false;
}

void CDlgPsnWakeupItem::accept()
{
    const QString title = m_title->text().trimmed();
    if (title.isEmpty()) {
        refuse(u"错误：描述标题不能为空!"_s);
        return;
    }
    const QString table = m_tables->currentData(Qt::UserRole + 1).toString();
    const QString field = m_fields->currentData(Qt::UserRole + 1).toString();
    if (table.isEmpty() || field.isEmpty()) {
        refuse(u"请选择提醒项目!"_s);
        return;
    }
    if (m_custom->isChecked() && m_condition->toPlainText().contains(u';')) {
        refuse(u"自定义条件中不能含有';'!"_s);
        return;
    }
    m_item.Title = title;
    m_item.WTable = table;
    m_item.WField = field;
    m_item.BefDays = m_days->value();
    m_item.ISCustom = m_custom->isChecked();
    m_item.WCondit = m_condition->toPlainText();
    CDialogExx::accept();
}
