#include "personnel/ui/cdlgdynctlformbase.h"

#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"
#include "ui/controls/ceditlblctl.h"
#include "ui/dialogs/cdlgscrollable.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

FieldContent GetFieldContent(const CEditlblCtl *ctrl)
{
    const tagVANTRELITEMINFO &item = ctrl->itemInfo();
    if (item.iDataType == ItemDate) {
        const CDateTimeCtrl *date = ctrl->GetDateCtrl();
        return date ? date->GetDate() : QDate();
    }
    if (item.iDataType == ItemLink) {
        const auto *picker = qobject_cast<const CEditBrowseCtrlFromDB *>(ctrl->GetMainCtrl());
        return picker ? picker->GetPickedValue() : 0;
    }
    const auto *edit = qobject_cast<const QLineEdit *>(ctrl->GetMainCtrl());
    return edit ? edit->text() : QString();
}

void SetFieldContent(CEditlblCtl *ctrl, const FieldContent &content)
{
    const tagVANTRELITEMINFO &item = ctrl->itemInfo();
    if (item.iDataType == ItemDate) {
        if (CDateTimeCtrl *date = ctrl->GetDateCtrl())
            date->SetDate(content.toDate());
        return;
    }
    auto *edit = qobject_cast<QLineEdit *>(ctrl->GetMainCtrl());
    if (!edit)
        return;
    if (item.iDataType == ItemLink) {
        auto *picker = qobject_cast<CEditBrowseCtrlFromDB *>(edit);
        const int id = content.toInt();
        if (picker)
            picker->SetPickedValue(id);
        const QString ref = item.IdRef.toUpper();
        if (ref == u"QZ_PSNSORT.AID"_s)
            edit->setText(id > 0 ? GetPsnSortName(id) : QString());
        else if (ref == u"QZ_DEPT.DID"_s)
            edit->setText(id > 0 ? GetDeptName(id) : QString());
        return;
    }
    edit->setText(content.toString());
}

namespace vantrel::personnel::forms {

bool LoadItems(CDlgScrollable *host, const QString &table, bool add, CItemCtrlArray &items)
{
    for (tagITEMCTRLINFO &element : items)
        delete element.pCtrl;
    items.clear();
    if (table.isEmpty())
        return true;
    const vantrel::Result<CItemInfoArray> loaded = LoadFormItems(theDatabase, table);
    if (!loaded)
        return false;
    for (int i = 0; i < loaded->size(); ++i) {
        const tagVANTRELITEMINFO &info = loaded->at(i);
        auto *ctrl = new CEditlblCtl(info, i, host->content());
        ctrl->show();
        if (add) {
            if (info.iDataType != ItemLink
                && (info.iDataType != ItemDate || ParseDateText(info.DefValue).isValid()))
                SetFieldContent(ctrl, FieldDefault(info));
        } else if (info.iFlag == 1 && ctrl->GetEditCtrl()) {
            ctrl->GetEditCtrl()->setEnabled(false);
        }
        items.append({ info, ctrl, QVariant() });
    }
    return true;
}

bool SetItemValue(QWidget *owner, const tagITEMCTRLINFO &item, QVariant *value)
{
    if (!item.pCtrl || !item.pCtrl->GetEditCtrl())
        return false;
    const vantrel::Result<QVariant> stored
        = StoredValueFromContent(item.info, GetFieldContent(item.pCtrl));
    if (!stored) {
        ShowMessage(owner, stored.error(), LoadResString(117), QMessageBox::Warning);
        item.pCtrl->GetEditCtrl()->setFocus();
        return false;
    }
    *value = *stored;
    return true;
}

bool CheckRequired(QWidget *owner, CDlgScrollable *host, const CItemCtrlArray &items)
{
    for (const tagITEMCTRLINFO &item : items) {
        if (!item.pCtrl)
            return false;
        if (item.info.bNotNull == 0 || !IsFieldEmpty(item.info, GetFieldContent(item.pCtrl)))
            continue;
        ShowMessage(owner, RequiredMessage(item.info), LoadResString(117), QMessageBox::Warning);
        EnsureItemVisible(host, item.pCtrl);
        item.pCtrl->setFocus();
        return true;
    }
    return false;
}

void LayoutItems(CDlgScrollable *host, const CItemCtrlArray &items)
{
    const int columnWidth = (host->width() - 70) / 2;
    for (int i = 0; i < items.size(); ++i) {
        const int row = i / 2;
        const int column = i % 2;
        if (items.at(i).pCtrl)
            items.at(i).pCtrl->setGeometry(20 + column * (columnWidth + 30), 20 + 30 * row,
                                           columnWidth, 20);
    }
}

void EnsureItemVisible(CDlgScrollable *host, QWidget *ctrl)
{
    if (!ctrl)
        return;
    const QRect hostRect(host->mapToGlobal(QPoint(0, 0)), host->size());
    const QRect ctrlRect(ctrl->mapToGlobal(QPoint(0, 0)), ctrl->size());
    if (ctrlRect.bottom() > hostRect.bottom())
        host->ScrollBy(ctrlRect.bottom() - hostRect.bottom() + 10);
    else if (hostRect.top() - ctrlRect.top() > 10)
        host->ScrollBy(-(hostRect.top() - ctrlRect.top()) - 10);
}

} // namespace vantrel::personnel::forms

CDlgDynCtlFormBase::CDlgDynCtlFormBase(QWidget *parent, int formNumber, int subNumber)
    : CDialogExx(formNumber, subNumber, parent)
    , m_strCaption(u"新建"_s)
    , m_strKeyName(u"ID"_s)
    , m_pHost(new CDlgScrollable(this))
    , m_pSeparator(new QFrame(this))
    , m_pBtnSave(new QPushButton(u"保存(&S)"_s, this))
    , m_pBtnExit(new QPushButton(u"退出(&C)"_s, this))
{
    m_pSeparator->setFrameShape(QFrame::HLine);
    m_pSeparator->setFrameShadow(QFrame::Sunken);
    const QString navTexts[] = { u"首笔"_s, u"上笔"_s, u"下笔"_s, u"末笔"_s };
    for (int i = 0; i < 4; ++i) {
        m_pNav[i] = new QPushButton(navTexts[i], this);
        m_pNav[i]->setAutoDefault(false);
    }
    m_pBtnSave->setAutoDefault(false);
    m_pBtnExit->setAutoDefault(false);
    connect(m_pNav[0], &QPushButton::clicked, this, [this] { MoveFirst(); });
    connect(m_pNav[1], &QPushButton::clicked, this, [this] { MovePrevious(); });
    connect(m_pNav[2], &QPushButton::clicked, this, [this] { MoveNext(); });
    connect(m_pNav[3], &QPushButton::clicked, this, [this] { MoveLast(); });
    connect(m_pBtnExit, &QPushButton::clicked, this, &QDialog::reject);
}

CDlgDynCtlFormBase::~CDlgDynCtlFormBase()
{
    for (tagITEMCTRLINFO &item : m_items) {
        delete item.pCtrl;
        item.pCtrl = nullptr;
    }
}

void CDlgDynCtlFormBase::OnInitDialog()
{
    setWindowTitle(m_strCaption);
    setMinimumSize(m_nMinTrackWidth, m_nMinTrackHeight);
    const bool navigate = !m_nAddFlag && m_pOwnerGrid;
    for (QPushButton *button : m_pNav)
        button->setEnabled(navigate);
    LoadItems(m_strTableName);
    if (!m_nAddFlag)
        LoadRecord();
    const int rows = int(std::ceil(m_items.size() * 0.5)) + 1;
    m_pHost->SetContentRect(QRect(0, 0, m_nMinTrackWidth, rows * 30));
    RecalcLayout();
    if (!m_items.isEmpty() && m_items.first().pCtrl)
        m_items.first().pCtrl->setFocus();
    m_bModified = false;
}

void CDlgDynCtlFormBase::showEvent(QShowEvent *event)
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
    CDialogExx::showEvent(event);
}

bool CDlgDynCtlFormBase::LoadItems(const QString &table)
{
    const bool loaded = forms::LoadItems(m_pHost, table, m_nAddFlag != 0, m_items);
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        connect(item.pCtrl, &CEditlblCtl::dataChanged, this, [this] { m_bModified = true; });
        connect(item.pCtrl, &CEditlblCtl::nextItem, this, &CDlgDynCtlFormBase::OnNextItem);
        connect(item.pCtrl, &CEditlblCtl::ownerKey, this, [this](QKeyEvent *event) {
            m_pHandledKey = event;
            m_nHandledKeyTime = event->timestamp();
            handleNavigationKey(event->key());
        });
    }
    return loaded;
}

void CDlgDynCtlFormBase::LoadRecord()
{
    if (m_items.isEmpty())
        return;
    CItemInfoArray infos;
    for (const tagITEMCTRLINFO &item : std::as_const(m_items))
        infos << item.info;
    const vantrel::Result<std::optional<FieldContents>> row
        = LoadFormRecord(theDatabase, m_strTableName, m_strKeyName, m_nKeyValue, infos);
    if (row && row->has_value()) {
        for (int i = 0; i < m_items.size(); ++i) {
            if (!m_items.at(i).pCtrl || !m_items.at(i).pCtrl->GetEditCtrl())
                break;
            SetFieldContent(m_items.at(i).pCtrl, row->value().at(i));
        }
    }
    m_bModified = false;
}

bool CDlgDynCtlFormBase::SetItemValue(tagITEMCTRLINFO *item, QVariant *value)
{
    return forms::SetItemValue(this, *item, value);
}

bool CDlgDynCtlFormBase::CheckRequired()
{
    return forms::CheckRequired(this, m_pHost, m_items);
}

bool CDlgDynCtlFormBase::SaveRecord()
{
    if (m_items.isEmpty())
        return false;
    return SaveWith([this](const CItemInfoArray &infos, const FieldContents &contents) {
        return SaveFormRecord(theDatabase, m_strTableName, m_strKeyName,
                              m_nAddFlag ? 0 : m_nKeyValue, infos, contents);
    });
}

bool CDlgDynCtlFormBase::SaveWith(const RowSaver &save)
{
    CItemInfoArray infos;
    FieldContents contents;
    for (tagITEMCTRLINFO &item : m_items) {
        QVariant value;
        if (!SetItemValue(&item, &value)) {
            if (item.info.iDataType == ItemNumber)
                showWarning(u"保存出错!"_s);
            return false;
        }
        infos << item.info;
        contents << GetFieldContent(item.pCtrl);
    }
    const FormSaveResult saved = save(infos, contents);
    for (const QString &message : saved.messages)
        showWarning(message);
    if (!saved.ok())
        return false;
    m_nKeyValue = saved.key;
    m_bModified = false;
    return true;
}

void CDlgDynCtlFormBase::EnsureItemVisible(QWidget *ctrl)
{
    forms::EnsureItemVisible(m_pHost, ctrl);
}

int CDlgDynCtlFormBase::targetRow(int which) const
{
    if (!m_pOwnerGrid)
        return -1;
    const int count = m_pOwnerGrid->GetRowCount();
    const int current = m_pOwnerGrid->GetCurSel();
    switch (which) {
    case 0:
        return count > 0 ? 0 : -1;
    case 1:
        return current > 0 ? current - 1 : -1;
    case 2:
        return current >= 0 && current + 1 < count ? current + 1 : -1;
    default:
        return count > 0 ? count - 1 : -1;
    }
}

void CDlgDynCtlFormBase::MoveTo(int row)
{
    if (row < 0)
        return;
    m_pOwnerGrid->SetCurSel(row);
    m_nKeyValue = m_pOwnerGrid->GetFieldValue(row, 0).toInt();
    LoadRecord();
    if (!m_items.isEmpty() && m_items.first().pCtrl) {
        EnsureItemVisible(m_items.first().pCtrl);
        m_items.first().pCtrl->setFocus();
    }
}

void CDlgDynCtlFormBase::MoveFirst()
{
    MoveTo(targetRow(0));
}

void CDlgDynCtlFormBase::MovePrevious()
{
    MoveTo(targetRow(1));
}

void CDlgDynCtlFormBase::MoveNext()
{
    MoveTo(targetRow(2));
}

void CDlgDynCtlFormBase::MoveLast()
{
    MoveTo(targetRow(3));
}

bool CDlgDynCtlFormBase::GetItemValueByName(const QString &name, QVariant *value)
{
    for (tagITEMCTRLINFO &item : m_items) {
        if (item.info.Name.compare(name, Qt::CaseInsensitive) == 0)
            return SetItemValue(&item, value);
    }
    return false;
}

void CDlgDynCtlFormBase::ResetItemDefaults()
{
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        if (!item.pCtrl || !item.pCtrl->GetEditCtrl())
            return;
        if (item.info.iDataType == ItemNumber || item.info.iDataType == ItemText)
            SetFieldContent(item.pCtrl, item.info.DefValue);
    }
}

void CDlgDynCtlFormBase::LayoutItems()
{
    forms::LayoutItems(m_pHost, m_items);
}

void CDlgDynCtlFormBase::RecalcLayout()
{
    const int w = width();
    const int h = height();
    m_pSeparator->setGeometry(0, h - 60, w, 2);
    for (int i = 0; i < 4; ++i)
        m_pNav[i]->setGeometry(30 + 66 * i, h - 45, 65, 24);
    m_pBtnSave->setGeometry(w - 190, h - 45, 70, 24);
    m_pBtnExit->setGeometry(w - 100, h - 45, 70, 24);
    m_pHost->setGeometry(0, 0, w, h - 61);
    LayoutItems();
}

void CDlgDynCtlFormBase::OnNextItem(int index)
{
    if (index >= m_items.size())
        return;
    if (index + 1 == m_items.size()) {
        // Out of the last field: the focus goes on to the buttons.
        focusNextChild();
        return;
    }
    EnsureItemVisible(m_items.at(index + 1).pCtrl);
    m_items.at(index + 1).pCtrl->setFocus();
}

void CDlgDynCtlFormBase::resizeEvent(QResizeEvent *event)
{
    CDialogExx::resizeEvent(event);
    RecalcLayout();
    update();
}

bool CDlgDynCtlFormBase::handleNavigationKey(int key)
{
    if (key == Qt::Key_PageUp)
        MovePrevious();
    else if (key == Qt::Key_PageDown)
        MoveNext();
    else
        return false;
    return true;
}

void CDlgDynCtlFormBase::keyPressEvent(QKeyEvent *event)
{
    if (event == m_pHandledKey && event->timestamp() == m_nHandledKeyTime) {
        m_pHandledKey = nullptr;
        event->accept();
        return;
    }
    handleNavigationKey(event->key());
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return; // Enter moves between fields; it never closes the form
    CDialogExx::keyPressEvent(event);
}

bool CDlgDynCtlFormBase::confirm(const QString &question)
{
    return ShowMessage(this, question, LoadResString(117), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void CDlgDynCtlFormBase::showWarning(const QString &text)
{
    ShowMessage(this, text, LoadResString(117), QMessageBox::Warning);
}
