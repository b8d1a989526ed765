#include "payroll/ui/cdlgwagesetset.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/ordermoves.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "payroll/ui/wagesetupui.h"
#include "payroll/wagesetupnames.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/dialogs/cdialogexx.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

enum Column { ColId = 0, ColTitle = 1, ColDescr = 2, ColOrd = 3 };

QPushButton *button(const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CDlgWageSetSet::CDlgWageSetSet(int sid, QWidget *parent)
    : QDialog(parent)
    , m_pGrid(new CBCGPADOGridCtrl(this))
    , m_pName(new QLineEdit(this))
    , m_pDescr(new QPlainTextEdit(this))
    , m_nSID(sid)
{
    setWindowTitle(u"薪资类别设置"_s);
    CDialogExx::applyBackground(this);
    m_pGrid->AttachConnection(&theDatabase);
    m_pGrid->SetReadOnly(true);
    m_pGrid->horizontalHeader()->hide();
    m_pGrid->horizontalHeader()->setStretchLastSection(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pName->setMaxLength(50);

    auto *save = button(u"保存(&S)"_s, this);
    save->setDefault(true);
    auto *quit = button(u"退出(&C)"_s, this);
    auto *add = button(u"新增(&A)"_s, this);
    auto *up = button(u"↑"_s, this);
    auto *down = button(u"↓"_s, this);
    auto *remove = button(u"删除(&D)"_s, this);

    auto *moves = new QHBoxLayout;
    for (QPushButton *b : { add, up, down, remove })
        moves->addWidget(b);
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(u"现有的薪资类别："_s, this));
    left->addWidget(m_pGrid, 1);
    left->addLayout(moves);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(u"名称："_s, this), 0, 0);
    fields->addWidget(m_pName, 0, 1);
    fields->addWidget(new QLabel(u"说明："_s, this), 1, 0, Qt::AlignTop);
    fields->addWidget(m_pDescr, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(quit);
    fields->addLayout(buttons, 2, 0, 1, 2);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(fields, 1);
    resize(520, 320);

    connect(save, &QPushButton::clicked, this, &CDlgWageSetSet::OnSave);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &CDlgWageSetSet::OnAdd);
    connect(up, &QPushButton::clicked, this, &CDlgWageSetSet::OnMoveUp);
    connect(down, &QPushButton::clicked, this, &CDlgWageSetSet::OnMoveDown);
    connect(remove, &QPushButton::clicked, this, &CDlgWageSetSet::OnDelete);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridSelChanged, this, &CDlgWageSetSet::onRowChanged);
    loadList();
}

QStringList CDlgWageSetSet::Titles() const
{
    QStringList titles;
    for (int row = 0; row < m_pGrid->GetRowCount(); ++row)
        titles << m_pGrid->GetFieldValue(row, ColTitle).toString();
    return titles;
}

void CDlgWageSetSet::SelectRow(int row)
{
    m_pGrid->SetCurSel(row, ColTitle);
    onRowChanged();
}

int CDlgWageSetSet::selectedRow() const
{
    return m_pGrid->GetRowCount() > 0 ? m_pGrid->GetCurSel() : -1;
}

// Every wage set, whatever the operator's own list says. A list that cannot be read stays as
// it was.
void CDlgWageSetSet::loadList(int selectSid)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->setUpdatesEnabled(false);
    const bool opened
        = m_pGrid->OpenSQL(uR"(SELECT ID AS "ID", Title AS "标题", Descr AS "说明", Ord AS "序号")"
                           u" FROM qz_Table WHERE nType = ? ORDER BY Ord, ID"_s,
                           { WageSetTableType });
    if (opened) {
        for (int column : { ColId, ColDescr, ColOrd })
            m_pGrid->setColumnHidden(column, true);
    }
    m_pGrid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!opened)
        return;
    int row = m_pGrid->GetRowCount() > 0 ? 0 : -1;
    for (int r = 0; selectSid > 0 && r < m_pGrid->GetRowCount(); ++r) {
        if (m_pGrid->GetFieldValue(r, ColId).toInt() == selectSid)
            row = r;
    }
    if (row >= 0)
        m_pGrid->SetCurSel(row, ColTitle);
    onRowChanged();
}

void CDlgWageSetSet::onRowChanged()
{
    const int row = selectedRow();
    if (row < 0) {
        m_nSID = 0;
        m_pName->clear();
        m_pDescr->clear();
        m_nMode = 1;
        return;
    }
    m_nSID = m_pGrid->GetFieldValue(row, ColId).toInt();
    m_pName->setText(m_pGrid->GetFieldValue(row, ColTitle).toString());
    m_pDescr->setPlainText(m_pGrid->GetFieldValue(row, ColDescr).toString());
    m_nMode = 0;
}

void CDlgWageSetSet::OnAdd()
{
    m_nSID = 0;
    m_pName->clear();
    m_pDescr->clear();
    m_pName->setFocus();
    m_nMode = 1;
}

void CDlgWageSetSet::OnSave()
{
    const QString typed = m_pName->text();
    const QString name = typed.trimmed();
    if (name.isEmpty()) {
        Tell(this, u"错误：薪资类别名不能为空!"_s);
        m_pName->setFocus();
        return;
    }
    const int row = selectedRow();
    const QString before
        = m_nMode == 0 && row >= 0 ? m_pGrid->GetFieldValue(row, ColTitle).toString() : QString();
    if (m_nMode == 1 || name != before) {
        const vantrel::Result<bool> taken
            = IsWageSetNameTaken(theDatabase, name, m_nMode == 0 ? m_nSID : 0);
        if (!taken || *taken) {
            Tell(this, taken ? u"错误：该薪资类别已存在!"_s : taken.error(),
                 taken ? QMessageBox::Information : QMessageBox::Critical);
            m_pName->setFocus();
            return;
        }
    }
    // The description column holds 100 characters; the command sends no more.
    const QString description = m_pDescr->toPlainText().left(100);
    if (m_nMode == 0)
        rename(typed, description);
    else
        add(typed, description);
    m_nChanged = 1;
}

bool CDlgWageSetSet::rename(const QString &name, const QString &description)
{
    const vantrel::Result<bool> exists
        = RecordExists(u"qz_Table"_s, u"ID = ?"_s, { m_nSID }, &theDatabase);
    if (!exists || !*exists) {
        Tell(this, exists ? LoadResString(133) : exists.error(),
             exists ? QMessageBox::Information : QMessageBox::Critical);
        return false;
    }
    CADOCommand command(&theDatabase, u"qz_UpdateDBTable"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, m_nSID);
    command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 50, name);
    command.AddParameterText(u"Descr"_s, adVarChar, adParamInput, 100, description);
    command.AddParameterVariant(u"IShow"_s, adBoolean, adParamInput, 1, true);
    if (!command.Execute()) {
        Tell(this, u"更新薪资类别时出错!\n\n"_s + command.GetLastErrorString());
        return false;
    }
    loadList(m_nSID);
    LogWageSetup(u"更改薪资类别'%1'"_s.arg(name));
    return true;
}

bool CDlgWageSetSet::add(const QString &name, const QString &description)
{
    CADOCommand command(&theDatabase, u"qz_AddWageSort"_s);
    CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
    returned.SetValue(1);
    command.AddParameterObject(&returned);
    command.AddParameterText(u"Name"_s, adVarChar, adParamInput, 50, name);
    command.AddParameterText(u"Descr"_s, adVarChar, adParamInput, 100, description);
    const QVariant id = command.ExecuteScalar();
    const int result = command.GetLastErrorString().isEmpty() ? returned.GetValue().toInt() : 1;
    if (result == 0 && id.toInt() > 0) {
        m_nSID = id.toInt();
        loadList();
        LogWageSetup(u"新增薪资类别'%1'"_s.arg(name));
        return true;
    }
    switch (result) {
    case 2:
        Tell(this, u"薪资类别数超出太多!"_s, QMessageBox::Warning);
        break;
    case 3:
        Tell(this, u"薪资类别数重名!"_s, QMessageBox::Warning);
        break;
    default: {
        QString text = u"添加薪资类别失败!"_s;
        if (!command.GetLastErrorString().isEmpty())
            text += u"\n\n"_s + command.GetLastErrorString();
        Tell(this, text, QMessageBox::Critical);
    }
    }
    Tell(this, u"新建薪资类别时出错!"_s);
    return false;
}

void CDlgWageSetSet::OnDelete()
{
    const ScalarAnswer<int> sets = GetScalarInt(u"SELECT COUNT(*) FROM qz_Table WHERE nType = ?"_s,
                                                { WageSetTableType }, &theDatabase);
    if (sets.failed()) {
        Tell(this, sets.error(), QMessageBox::Critical);
        return;
    }
    if (sets.valueOr(0) == 1) {
        Tell(this, u"最后一个薪资类别不能删除!"_s);
        return;
    }
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString title = m_pGrid->GetFieldValue(row, ColTitle).toString();
    if (!Ask(
            this,
            u"删除薪资类别将同时删除该类别下的人员薪资及配置数据！\r\n\r\n确定要删除薪资类别'%1'吗?"_s
                .arg(title),
            QMessageBox::Warning))
        return;
    CADOCommand command(&theDatabase, u"qz_DeleteWageSort"_s);
    CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
    returned.SetValue(0);
    command.AddParameterObject(&returned);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4,
                            m_pGrid->GetFieldValue(row, ColId).toInt());
    const bool ran = command.Execute();
    if (!ran || returned.GetValue().toInt() == 0) {
        Tell(this,
             ran ? u"删除薪资类别失败!"_s
                 : u"删除薪资类别失败!\n\n"_s + command.GetLastErrorString(),
             QMessageBox::Critical);
        return;
    }
    m_nChanged = 1;
    LogWageSetup(u"删除薪资类别'%1'"_s.arg(title));
    loadList();
}

void CDlgWageSetSet::move(int step)
{
    const int row = selectedRow();
    if (row < 0) {
        Tell(this, LoadResString(113));
        return;
    }
    const int key = m_pGrid->GetFieldValue(row, ColId).toInt();
    const int neighbour = row + step;
    if (neighbour >= 0 && neighbour < m_pGrid->GetRowCount()) {
        const vantrel::Status moved
            = ExchangeOrder({ u"qz_Table"_s, u"ID"_s, u"Ord"_s, {}, {} }, key,
                            m_pGrid->GetFieldValue(neighbour, ColId).toInt());
        if (!moved) {
            Tell(this, moved.error(), QMessageBox::Critical);
            return;
        }
        loadList(key);
    }
    m_nChanged = 1;
    LogWageSetup(u"薪资类别顺序调整"_s);
}
