#include "admin/ui/cdlgdbtableitemset.h"

#include "admin/structurestore.h"
#include "admin/ui/adminmessages.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;

namespace {

struct NameLink
{
    int marker;
    const char16_t *link;
    const char16_t *column;
};

const NameLink kNameLinks[] = {
    { CDlgDBTableItemSet::SortNameRef, u"QZ_PSNSORT.NAME", u".类别名称" },
    { CDlgDBTableItemSet::DeptNameRef, u"QZ_DEPT.NAME", u".部门名称" },
    { CDlgDBTableItemSet::PsnNameRef, u"QZ_PSNBASE.NAME", u".人员名称" },
};

} // namespace

CDlgDBTableItemSet::CDlgDBTableItemSet(QWidget *parent)
    : CDialogExx(0, 0, parent), m_strCaption(u"新建"_s)
{
    setWindowTitle(u"新建字段"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_pAlias = new QLineEdit(this);
    m_pAlias->setObjectName(u"alias"_s);
    m_pAlias->setMaxLength(50);
    m_pType = new QComboBox(this);
    m_pType->setObjectName(u"dataType"_s);
    m_pLength = new QLineEdit(this);
    m_pLength->setObjectName(u"length"_s);
    m_pLength->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,4}"_s), m_pLength));
    m_pReferenceLabel = new QLabel(u"参照对象："_s, this);
    m_pReferenceLabel->setObjectName(u"referenceLabel"_s);
    m_pReference = new QComboBox(this);
    m_pReference->setObjectName(u"reference"_s);
    m_pDefValue = new QLineEdit(this);
    m_pDefValue->setObjectName(u"defValue"_s);
    m_pDefValue->setMaxLength(256);
    m_pNotNull = new QCheckBox(u"必录字段"_s, this);
    m_pNotNull->setObjectName(u"notNull"_s);
    m_pShow = new QCheckBox(u"是否显示"_s, this);
    m_pShow->setObjectName(u"show"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(u"okButton"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDBTableItemSet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgDBTableItemSet::reject);
    auto *form = new QFormLayout(this);
    form->addRow(u"名称："_s, m_pAlias);
    form->addRow(u"数据类型："_s, m_pType);
    form->addRow(u"字段长度："_s, m_pLength);
    form->addRow(m_pReferenceLabel, m_pReference);
    form->addRow(u"默认值："_s, m_pDefValue);
    form->addRow(QString(), m_pNotNull);
    form->addRow(QString(), m_pShow);
    form->addRow(buttons);
    resize(380, height());
}

void CDlgDBTableItemSet::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        setWindowTitle(m_strCaption);
        m_pAlias->setText(m_strAlias);
        m_pLength->setText(QString::number(m_nLength));
        m_pDefValue->setText(m_strDefValue);
        m_pNotNull->setChecked(m_nNotNull != 0);
        m_pShow->setChecked(m_nShow != 0);
        m_pType->addItems({ u"数值"_s, u"字符"_s, u"日期"_s, u"参照"_s });
        if (m_nAdd == 0)
            m_pType->addItem(u"引用"_s);
        const bool listed = m_nDataType >= 0 && m_nDataType < m_pType->count();
        m_pType->setCurrentIndex(listed ? m_nDataType : -1);
        if (listed)
            OnTypeChanged(m_nDataType);
        connect(m_pType, &QComboBox::currentIndexChanged, this, &CDlgDBTableItemSet::OnTypeChanged);
        if (m_nAdd == 0) {
            m_pType->setEnabled(false);
            m_pReferenceLabel->setEnabled(m_nDataType == ItemDictionary);
            m_pReference->setEnabled(m_nDataType == ItemDictionary);
            m_pLength->setEnabled(false);
        }
        m_pAlias->setFocus();
    }
    CDialogExx::showEvent(event);
}

void CDlgDBTableItemSet::OnTypeChanged(int type)
{
    static const char16_t *const lengths[] = { u"9", u"50", u"8", u"50", u"4" };
    if (type < 0 || type > ItemLink)
        return;
    if (m_nAdd != 0)
        m_pLength->setText(QString::fromUtf16(lengths[type]));
    m_pLength->setEnabled(type == ItemText || type == ItemDictionary);
    const bool referring = type == ItemDictionary || type == ItemLink;
    if (type == ItemNumber || type == ItemText)
        m_pReference->clear();
    if (type == ItemDictionary) {
        fillReferences();
        m_pReferenceLabel->setText(u"参考对象:"_s);
    } else if (type == ItemLink) {
        m_pReference->clear();
        m_pReference->addItem(GetTableTitle(m_strIdRef), SeparatorRef);
        m_pReference->setCurrentIndex(0);
        m_pReferenceLabel->setText(u"引用对象:"_s);
    }
    m_pReferenceLabel->setEnabled(referring);
    m_pReference->setEnabled(referring);
    update();
}

void CDlgDBTableItemSet::fillReferences()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pReference->clear();
    int selected = -1;
    for (const NameLink &link : kNameLinks) {
        const QString text = QString::fromUtf16(link.link);
        m_pReference->addItem(GetTableTitle(text) + QString::fromUtf16(link.column), link.marker);
        if (m_strIdRef == text)
            selected = m_pReference->count() - 1;
    }
    m_pReference->addItem(u"-------------------------------------"_s, SeparatorRef);
    const vantrel::db::QueryResult dictionaries
        = theDatabase.run(u"SELECT ID,Title,DictId FROM qz_Dict WHERE Active=1 ORDER BY Ord"_s);
    for (int row = 0; row < dictionaries.rows.rowCount(); ++row) {
        m_pReference->addItem(dictionaries.rows.text(row, 1),
                              dictionaries.rows.value(row, 0).toInt());
        if (selected < 0 && m_strIdRef == dictionaries.rows.text(row, 2))
            selected = m_pReference->count() - 1;
    }
    m_pReference->setCurrentIndex(selected);
    QApplication::restoreOverrideCursor();
}

QString CDlgDBTableItemSet::chosenReference() const
{
    if (m_pReference->currentIndex() < 0)
        return {};
    const int marker = m_pReference->currentData().toInt();
    for (const NameLink &link : kNameLinks) {
        if (link.marker == marker)
            return QString::fromUtf16(link.link);
    }
    return marker == SeparatorRef ? QString() : GetDictCode(marker);
}

void CDlgDBTableItemSet::accept()
{
    vantrel::admin::ItemInput input;
    input.adding = m_nAdd != 0;
    input.itemId = m_nItemID;
    input.tableName = m_strTableName;
    input.alias = m_pAlias->text();
    input.openedAlias = m_strAlias;
    // A built-in item is in no entry of the list and keeps its type.
    input.dataType = m_pType->currentIndex() >= 0 ? m_pType->currentIndex() : m_nDataType;
    input.idRef = input.dataType == ItemDictionary ? chosenReference() : m_strIdRef;
    input.defaultValue = m_pDefValue->text();
    input.length = m_pLength->text().toInt();
    input.notNull = m_pNotNull->isChecked();
    input.show = m_pShow->isChecked();
    const AdminOutcome outcome = vantrel::admin::StructureStore(theDatabase).saveItem(input);
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        if (outcome.focus == AdminOutcome::Field::Title)
            m_pAlias->setFocus();
        else if (outcome.focus == AdminOutcome::Field::Reference)
            m_pReference->setFocus();
        else if (outcome.focus == AdminOutcome::Field::DefaultValue)
            m_pDefValue->setFocus();
        return;
    }
    m_strAlias = vantrel::admin::StructureStore::storedAlias(input.alias);
    m_nDataType = input.dataType;
    m_strIdRef = input.dataType <= ItemDate ? QString() : input.idRef;
    m_strDefValue = input.defaultValue;
    m_nLength = input.length;
    m_nNotNull = input.notNull ? 1 : 0;
    m_nShow = input.show ? 1 : 0;
    theApp.WriteSystemLog(u"系统管理[数据表'%1'%2字段'%3']"_s.arg(
                              m_strTableTitle, input.adding ? u"新增"_s : u"修改"_s, m_strAlias),
                          0);
    CDialogExx::accept();
}
