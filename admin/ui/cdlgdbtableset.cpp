#include "admin/ui/cdlgdbtableset.h"

#include "admin/structurestore.h"
#include "admin/ui/adminmessages.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;

CDlgDBTableSet::CDlgDBTableSet(QWidget *parent) : CDialogExx(0, 0, parent), m_strCaption(u"新建"_s)
{
    setWindowTitle(u"新建数据表"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_pTitle = new QLineEdit(this);
    m_pTitle->setObjectName(u"title"_s);
    m_pTitle->setMaxLength(50);
    m_pDescr = new QLineEdit(this);
    m_pDescr->setObjectName(u"descr"_s);
    m_pDescr->setMaxLength(100);
    m_pShow = new QCheckBox(u"是否显示"_s, this);
    m_pShow->setObjectName(u"show"_s);
    m_pParent = new QComboBox(this);
    m_pParent->setObjectName(u"parent"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(u"okButton"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDBTableSet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgDBTableSet::reject);
    auto *form = new QFormLayout(this);
    form->addRow(u"标题："_s, m_pTitle);
    form->addRow(u"描述："_s, m_pDescr);
    form->addRow(u"主表："_s, m_pParent);
    form->addRow(QString(), m_pShow);
    form->addRow(buttons);
    resize(360, height());
}

void CDlgDBTableSet::fillMainTables()
{
    m_pParent->clear();
    const vantrel::db::QueryResult tables = theDatabase.run(
        u"SELECT ID,Title FROM qz_Table WHERE (hasChild=1 AND nType<>6) ORDER BY Ord"_s);
    for (int row = 0; row < tables.rows.rowCount(); ++row)
        m_pParent->addItem(tables.rows.text(row, 1), tables.rows.value(row, 0).toInt());
    m_pParent->setCurrentIndex(m_pParent->findData(m_nParentID));
}

void CDlgDBTableSet::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        setWindowTitle(m_strCaption);
        m_pTitle->setText(m_strTitle);
        m_pDescr->setText(m_strDescr);
        m_pShow->setChecked(m_nShow != 0);
        fillMainTables();
        m_pParent->setEnabled(m_nAdd != 0);
        m_pShow->setEnabled(m_nFixed == 0);
        m_pTitle->setFocus();
    }
    CDialogExx::showEvent(event);
}

void CDlgDBTableSet::accept()
{
    vantrel::admin::TableInput input;
    input.adding = m_nAdd != 0;
    input.id = m_nID;
    input.title = m_pTitle->text();
    input.openedTitle = m_strTitle;
    input.description = m_pDescr->text();
    input.show = m_pShow->isChecked();
    input.parentId = m_pParent->currentIndex() >= 0 ? m_pParent->currentData().toInt() : 0;
    const AdminOutcome outcome = vantrel::admin::StructureStore(theDatabase).saveTable(input);
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        if (outcome.focus == AdminOutcome::Field::Title)
            m_pTitle->setFocus();
        else if (outcome.focus == AdminOutcome::Field::Parent)
            m_pParent->setFocus();
        return;
    }
    m_strTitle = input.title;
    m_strDescr = input.description;
    m_nShow = input.show ? 1 : 0;
    if (input.adding)
        m_nParentID = input.parentId;
    theApp.WriteSystemLog(
        u"系统管理[数据表%1'%2']"_s.arg(input.adding ? u"新增"_s : u"修改"_s, m_strTitle), 0);
    CDialogExx::accept();
}
