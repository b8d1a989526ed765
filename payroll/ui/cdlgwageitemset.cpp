#include "payroll/ui/cdlgwageitemset.h"

#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "payroll/ui/cdlgwageformu.h"
#include "payroll/ui/wagesetupui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

CDlgWageItemSet::CDlgWageItemSet(QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_pName(new QLineEdit(this))
    , m_pActive(new QCheckBox(u"是否启用"_s, this))
    , m_pRetain(new QCheckBox(u"结转保留"_s, this))
    , m_pDataType(new QComboBox(this))
    , m_pSourceLabel(new QLabel(u"数据来源："_s, this))
    , m_pSource(new QComboBox(this))
    , m_pDictLabel(new QLabel(u"参照对象："_s, this))
    , m_pDict(new QComboBox(this))
    , m_pStdTableLabel(new QLabel(u"标准表："_s, this))
    , m_pStdTable(new QComboBox(this))
    , m_pDecimals(new QComboBox(this))
    , m_pRounding(new QComboBox(this))
    , m_pFormulaLabel(new QLabel(u"公式内容："_s, this))
    , m_pFormula(new QPlainTextEdit(this))
    , m_pFormulaButton(new QPushButton(u"公式设置"_s, this))
{
    m_pName->setMaxLength(50);
    m_pFormula->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pSource->addItem(u"自由输入"_s, 0);
    m_pSource->addItem(u"公式计算"_s, 1);
    m_pSource->addItem(u"查标准表"_s, 2);
    m_pDecimals->addItems({ u"0"_s, u"1"_s, u"2"_s, u"3"_s });
    m_pRounding->addItems({ u"四舍五入"_s, u"全舍"_s, u"全入"_s });
    m_pFormulaButton->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(u"名称："_s, m_pName);
    auto *checks = new QHBoxLayout;
    checks->addWidget(m_pActive);
    checks->addWidget(m_pRetain);
    form->addRow(checks);
    form->addRow(u"数据类型："_s, m_pDataType);
    form->addRow(m_pSourceLabel, m_pSource);
    form->addRow(m_pDictLabel, m_pDict);
    form->addRow(m_pStdTableLabel, m_pStdTable);
    form->addRow(u"小数位数："_s, m_pDecimals);
    form->addRow(u"尾数规则："_s, m_pRounding);
    auto *formulaRow = new QHBoxLayout;
    formulaRow->addWidget(m_pFormulaLabel);
    formulaRow->addStretch();
    formulaRow->addWidget(m_pFormulaButton);
    auto *ok = new QPushButton(u"确定"_s, this);
    auto *cancel = new QPushButton(u"取消"_s, this);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(formulaRow);
    layout->addWidget(m_pFormula, 1);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CDlgWageItemSet::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgWageItemSet::reject);
    connect(m_pFormulaButton, &QPushButton::clicked, this, &CDlgWageItemSet::OnFormulaEditor);
    connect(m_pDataType, &QComboBox::currentIndexChanged, this,
            &CDlgWageItemSet::onDataTypeChanged);
    connect(m_pSource, &QComboBox::currentIndexChanged, this, &CDlgWageItemSet::onSourceChanged);
    SetNewItem(0);
}

void CDlgWageItemSet::SetNewItem(int sid)
{
    WageItemFields fields;
    fields.sid = sid;
    SetItem(fields);
}

void CDlgWageItemSet::SetItem(const WageItemFields &fields)
{
    m_fields = fields;
    setWindowTitle(fields.isNew ? u"新增薪资项目"_s : u"修改项目"_s);
    load();
}

void CDlgWageItemSet::load()
{
    m_pName->setText(m_fields.alias);
    m_pActive->setChecked(m_fields.active);
    m_pRetain->setChecked(m_fields.retain);
    m_pFormula->setPlainText(m_fields.formula);

    const QSignalBlocker typeBlock(m_pDataType);
    m_pDataType->clear();
    m_pDataType->addItem(u"数值"_s, 0);
    // An existing text or date item keeps its type, shown as what it is.
    if (!m_fields.isNew && m_fields.dataType == 1)
        m_pDataType->addItem(u"字符"_s, 1);
    else if (!m_fields.isNew && m_fields.dataType == 2)
        m_pDataType->addItem(u"日期"_s, 2);
    m_pDataType->addItem(u"参照"_s, 3);
    const int type = m_pDataType->findData(m_fields.dataType);
    m_pDataType->setCurrentIndex(m_fields.dataType == 0 ? 0 : (type >= 0 ? type : 1));
    m_pDataType->setEnabled(m_fields.isNew);

    const QSignalBlocker sourceBlock(m_pSource);
    m_pSource->setCurrentIndex(m_fields.property >= 0 && m_fields.property <= 2 ? m_fields.property
                                                                                : 0);
    m_pStdTable->clear();
    const auto tables = theDatabase.run(
        u"SELECT id, STDName FROM qz_WageStdTable WHERE SID = ? ORDER BY Ord, id"_s,
        { m_fields.sid });
    for (int row = 0; row < tables.rows.rowCount(); ++row)
        m_pStdTable->addItem(tables.rows.text(row, 1), tables.rows.value(row, 0).toInt());
    m_pStdTable->setCurrentIndex(m_pStdTable->findData(m_fields.standardTableId));
    if (m_fields.decimals >= 0 && m_fields.decimals <= 3)
        m_pDecimals->setCurrentIndex(m_fields.decimals);
    if (m_fields.rounding >= 0 && m_fields.rounding <= 2)
        m_pRounding->setCurrentIndex(m_fields.rounding);
    onDataTypeChanged();
}

bool CDlgWageItemSet::isNumber() const
{
    return m_pDataType->currentData().toInt() == 0;
}

void CDlgWageItemSet::onDataTypeChanged()
{
    const bool number = isNumber();
    const bool reference = m_pDataType->currentData().toInt() == 3;
    if (reference) {
        m_pDict->clear();
        const auto dicts = theDatabase.run(
            u"SELECT ID, Title, DictId FROM qz_Dict WHERE Active = 1 ORDER BY Ord"_s);
        for (int row = 0; row < dicts.rows.rowCount(); ++row)
            m_pDict->addItem(dicts.rows.text(row, 1), dicts.rows.text(row, 2));
        m_pDict->setCurrentIndex(m_pDict->findData(m_fields.dictionaryCode));
    }
    m_pSourceLabel->setVisible(number);
    m_pSource->setVisible(number);
    m_pDictLabel->setVisible(reference);
    m_pDict->setVisible(reference);
    m_pDecimals->setEnabled(number);
    m_pRounding->setEnabled(number);
    onSourceChanged();
}

void CDlgWageItemSet::onSourceChanged()
{
    const int source = m_pSource->currentData().toInt();
    const bool lookup = isNumber() && source == 2;
    const bool formula = isNumber() && source == 1;
    m_pStdTableLabel->setVisible(lookup);
    m_pStdTable->setVisible(lookup);
    for (QWidget *w : { static_cast<QWidget *>(m_pFormulaLabel), static_cast<QWidget *>(m_pFormula),
                        static_cast<QWidget *>(m_pFormulaButton) })
        w->setVisible(formula);
    resize(width(), formula ? 380 : 260);
}

void CDlgWageItemSet::OnFormulaEditor()
{
    CDlgWageFormu editor(m_fields.sid, m_pName->text().trimmed(), m_pFormula->toPlainText(), this);
    if (editor.exec() == QDialog::Accepted)
        m_pFormula->setPlainText(editor.Formula());
}

void CDlgWageItemSet::focus(WageItemField field)
{
    switch (field) {
    case WageItemField::Name:
        m_pName->setFocus();
        break;
    case WageItemField::Formula:
        m_pFormula->setFocus();
        break;
    case WageItemField::StandardTable:
        m_pStdTable->setFocus();
        break;
    case WageItemField::Dictionary:
        m_pDict->setFocus();
        break;
    case WageItemField::None:
        break;
    }
}

void CDlgWageItemSet::accept()
{
    WageItemFields fields = m_fields;
    fields.alias = m_pName->text();
    fields.active = m_pActive->isChecked();
    fields.retain = m_pRetain->isChecked();
    fields.formula = m_pFormula->toPlainText();
    fields.dataType = m_pDataType->currentData().toInt();
    if (fields.dataType == 0) {
        fields.property = m_pSource->currentData().toInt();
        fields.standardTableId = m_pStdTable->currentData().toInt();
    }
    if (fields.dataType == 3)
        fields.dictionaryCode = m_pDict->currentData().toString();
    fields.decimals = m_pDecimals->currentIndex();
    fields.rounding = m_pRounding->currentIndex();
    const WageItemSaveOutcome outcome = SaveWageItem(theDatabase, fields);
    if (!outcome.saved) {
        Tell(this, outcome.message,
             outcome.warning ? QMessageBox::Warning : QMessageBox::Information);
        focus(outcome.focus);
        return;
    }
    m_fields = fields;
    LogWageSetup(u"薪资类别'%1'%2薪资项目'%3'"_s.arg(
        GetWageSetTitle(fields.sid), fields.isNew ? u"新建"_s : u"修改"_s, fields.alias));
    CDialogExx::accept();
}
