#include "personnel/ui/cdlgdynctlformforpsnbase.h"

#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cphotoctrl.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditlblctl.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/dialogs/cdlgscrollable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

const QString autoNumber = u"<自动编号>"_s;

bool isNumberItem(const tagITEMCTRLINFO &item)
{
    return item.info.Name.compare(u"NUMBER"_s, Qt::CaseInsensitive) == 0;
}

} // namespace

CDlgDynCtlFormForPsnbase::CDlgDynCtlFormForPsnbase(QWidget *parent)
    : CDlgDynCtlFormBase(parent, 567)
    , m_pBtnIdCard(new QPushButton(u"二代身份证采集(&T)"_s, this))
    , m_pPhoto(new CPhotoCtrl(this))
{
    m_pPhoto->setObjectName(u"photo"_s);
    const QString photoTexts[] = { u"打开"_s, u"另存"_s, u"拍照"_s, u"清除"_s };
    for (int i = 0; i < 4; ++i) {
        m_pPhotoButtons[i] = new QPushButton(photoTexts[i], this);
        m_pPhotoButtons[i]->setAutoDefault(false);
    }
    connect(m_pPhotoButtons[0], &QPushButton::clicked, m_pPhoto, &CPhotoCtrl::OpenPhotoFile);
    connect(m_pPhotoButtons[1], &QPushButton::clicked, this,
            &CDlgDynCtlFormForPsnbase::OnPhotoSaveAs);
    connect(m_pPhotoButtons[2], &QPushButton::clicked, m_pPhoto, &CPhotoCtrl::TakeCameraPhoto);
    connect(m_pPhotoButtons[3], &QPushButton::clicked, this, [this] {
        if (ShowMessage(this, u"确定要清除图片吗?"_s, LoadResString(117), QMessageBox::Question,
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::No)
            m_pPhoto->ClearPhoto();
    });
    connect(m_pPhoto, &CPhotoCtrl::dataChanged, this, [this] { m_bModified = true; });
    m_nMinTrackWidth = 700;
    m_nMinTrackHeight = 500;
    m_strKeyName = u"PID"_s;
    m_pBtnIdCard->setAutoDefault(false);
    connect(m_pBtnIdCard, &QPushButton::clicked, this, &CDlgDynCtlFormForPsnbase::ReadIdCard);
    disconnect(m_pBtnExit, nullptr, this, nullptr);
    connect(m_pBtnExit, &QPushButton::clicked, this, &CDlgDynCtlFormForPsnbase::reject);
    connect(m_pBtnSave, &QPushButton::clicked, this, &CDlgDynCtlFormForPsnbase::OnSave);
    if (!parent)
        resize(760, 540);
}

void CDlgDynCtlFormForPsnbase::OnInitDialog()
{
    LoadNumberRule();
    m_pOwnerGrid = m_pOwnerView ? m_pOwnerView->GetGridCtrl() : nullptr;
    CDlgDynCtlFormBase::OnInitDialog();
    m_pPhoto->LoadPhoto(m_nAddFlag ? 0 : m_nKeyValue);
    m_bModified = false;
    for (QPushButton *button : m_pNav)
        button->setEnabled(!m_nAddFlag && m_pOwnerView);
    const int rows = int(std::ceil(m_items.size() * 0.5)) + 1;
    m_pHost->SetContentRect(QRect(0, 0, 700, rows * 30));
    RecalcLayout();
}

void CDlgDynCtlFormForPsnbase::LoadNumberRule()
{
    const vantrel::Result<PsnNumberRule> rule = vantrel::personnel::LoadNumberRule(theDatabase);
    m_rule = rule ? *rule : PsnNumberRule();
}

bool CDlgDynCtlFormForPsnbase::LoadItems(const QString &table)
{
    const bool loaded = CDlgDynCtlFormBase::LoadItems(table);
    if (!m_nAddFlag)
        return loaded;
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        // A new person's dates start empty unless the item gives a default.
        if (item.info.iDataType == ItemDate && !ParseDateText(item.info.DefValue).isValid())
            SetFieldContent(item.pCtrl, QDate());
        auto *edit = qobject_cast<QLineEdit *>(item.pCtrl->GetMainCtrl());
        if (!isNumberItem(item) || !edit)
            continue;
        edit->setText(m_rule.isAutomatic() ? autoNumber : QString());
        edit->setReadOnly(m_rule.isAutomatic());
    }
    return loaded;
}

void CDlgDynCtlFormForPsnbase::LoadRecord()
{
    CDlgDynCtlFormBase::LoadRecord();
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        if (isNumberItem(item))
            m_strLoadedNumber = GetFieldContent(item.pCtrl).toString();
    }
}

bool CDlgDynCtlFormForPsnbase::SaveRecord()
{
    if (m_items.isEmpty())
        return false;
    PsnSaveRequest request;
    request.add = m_nAddFlag != 0;
    request.pid = m_nAddFlag ? 0 : m_nKeyValue;
    request.loadedNumber = m_strLoadedNumber;
    request.rule = m_rule;
    request.photo = m_pPhoto->pendingPhoto();
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        request.items << item.info;
        request.contents << GetFieldContent(item.pCtrl);
    }
    const PsnSaveResult saved = SavePerson(theDatabase, request);
    for (const QString &message : saved.form.messages)
        ShowMessage(this, message, LoadResString(117),
                    saved.form.informational ? QMessageBox::Information : QMessageBox::Warning);
    if (!saved.ok())
        return false;
    m_nKeyValue = saved.person.pid;
    m_nLastSaved = saved.person.pid;
    m_strLoadedNumber = saved.person.number;
    m_pPhoto->m_person.PID = saved.person.pid;
    m_pPhoto->m_person.Number = saved.person.number;
    m_pPhoto->m_person.Name = saved.person.name;
    m_pPhoto->setStored();
    m_bModified = false;
    return true;
}

void CDlgDynCtlFormForPsnbase::TakePersonFromFields()
{
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        if (!item.pCtrl)
            continue;
        const QString text = GetFieldContent(item.pCtrl).toString().trimmed();
        if (item.info.Name.compare(u"NAME"_s, Qt::CaseInsensitive) == 0)
            m_pPhoto->m_person.Name = text;
        // An automatic number is not known before the person is saved.
        else if (isNumberItem(item))
            m_pPhoto->m_person.Number = text == autoNumber ? QString() : text;
    }
}

void CDlgDynCtlFormForPsnbase::OnPhotoSaveAs()
{
    // The log names the person as the form shows them, saved or not.
    TakePersonFromFields();
    m_pPhoto->SavePhotoAs();
}

void CDlgDynCtlFormForPsnbase::ResetItemDefaults()
{
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        if (!item.pCtrl || !item.pCtrl->GetEditCtrl())
            return;
        if (isNumberItem(item)) {
            if (!m_rule.isAutomatic())
                SetFieldContent(item.pCtrl, QString());
            continue;
        }
        if (item.info.iDataType == ItemNumber || item.info.iDataType == ItemText)
            SetFieldContent(item.pCtrl, item.info.DefValue);
    }
}

void CDlgDynCtlFormForPsnbase::SetItemTextByName(const QString &name, const QString &value)
{
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        if (!item.pCtrl || !item.pCtrl->GetEditCtrl())
            return;
        if (item.info.Name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (item.info.iDataType == ItemDate) {
            const QDate date = ParseDateText(value);
            if (date.isValid())
                SetFieldContent(item.pCtrl, date);
        } else if (item.info.iDataType != ItemLink) {
            SetFieldContent(item.pCtrl, value.trimmed());
        }
        return;
    }
}

namespace {

// Where the reader leaves its files: the setting, else the program folder, else the working
// folder.
QString idCardFolder()
{
    const QString configured = Profile::getString(u"IdCard"_s, u"Folder"_s);
    if (!configured.isEmpty())
        return configured;
    const QString program = QCoreApplication::applicationDirPath();
    return QFileInfo::exists(QDir(program).filePath(u"wz.txt"_s)) ? program : QDir::currentPath();
}

} // namespace

void CDlgDynCtlFormForPsnbase::ReadIdCard()
{
    if (!m_reader.isLoaded() && !m_reader.load(Profile::getString(u"IdCard"_s, u"Library"_s))) {
        ShowMessage(this, m_reader.error(), LoadResString(117), QMessageBox::Warning);
        return;
    }
    switch (m_reader.readCard()) {
    case vantrel::idcard::IdCardReader::NoPort:
        ShowMessage(this, u"端口打开失败！\n\r \n\r请确认身份证读卡器连接正确。"_s,
                    LoadResString(117), QMessageBox::Warning);
        break;
    case vantrel::idcard::IdCardReader::ReadFailed:
        ShowMessage(this, u"读卡失败！"_s, LoadResString(117), QMessageBox::Warning);
        break;
    case vantrel::idcard::IdCardReader::Read:
        if (!FillFromIdCardFiles(idCardFolder()))
            ShowMessage(this, u"读卡失败！"_s, LoadResString(117), QMessageBox::Warning);
        break;
    default:
        break; // a card that does not authenticate is passed over silently
    }
}

bool CDlgDynCtlFormForPsnbase::FillFromIdCardFiles(const QString &folder)
{
    const std::optional<vantrel::idcard::IdCardRecord> card
        = vantrel::idcard::TakeIdCardFile(folder);
    if (!card)
        return false;
    SetItemTextByName(u"Name"_s, card->name);
    SetItemTextByName(u"Sex"_s, card->sex);
    SetItemTextByName(u"Nation"_s, card->nation);
    SetItemTextByName(u"Birthday"_s, card->birthday);
    SetItemTextByName(u"IDNumber"_s, card->number);
    SetItemTextByName(u"Address"_s, card->address);
    QFile picture(QDir(folder).filePath(u"zp.bmp"_s));
    if (picture.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = picture.readAll();
        picture.close();
        m_pPhoto->SetPhotoFromBytes(bytes);
        picture.remove();
    }
    m_bModified = true;
    return true;
}

void CDlgDynCtlFormForPsnbase::done(int result)
{
    m_reader.close();
    CDlgDynCtlFormBase::done(result);
}

void CDlgDynCtlFormForPsnbase::OnSave()
{
    if (CheckRequired() || !SaveRecord())
        return;
    m_bSaved = true;
    if (m_pOwnerView) {
        if (m_nAddFlag)
            m_pOwnerView->FillGrid();
        else
            m_pOwnerView->RefreshCurrentRow();
    }
    if (m_nAddFlag) {
        ResetItemDefaults();
        m_bModified = false;
        m_nKeyValue = 0;
    }
}

void CDlgDynCtlFormForPsnbase::MoveTo(int row)
{
    if (!m_pOwnerView || row < 0)
        return;
    if (m_bModified && confirm(u"内容已改变,保存数据吗?"_s)) {
        if (CheckRequired() || !SaveRecord())
            return;
        m_bSaved = true;
        m_pOwnerView->RefreshCurrentRow();
    }
    CMyADOGridCtrl *grid = m_pOwnerView->GetGridCtrl();
    grid->SetCurSel(row);
    grid->scrollTo(grid->currentIndex());
    m_nKeyValue = grid->GetFieldValue(row, 0).toInt();
    LoadRecord();
    m_pPhoto->LoadPhoto(m_nKeyValue);
    if (!m_items.isEmpty() && m_items.first().pCtrl) {
        EnsureItemVisible(m_items.first().pCtrl);
        m_items.first().pCtrl->setFocus();
    }
}

bool CDlgDynCtlFormForPsnbase::handleNavigationKey(int key)
{
    if (key == Qt::Key_Home)
        MoveFirst();
    else if (key == Qt::Key_End)
        MoveLast();
    else
        return CDlgDynCtlFormBase::handleNavigationKey(key);
    return true;
}

void CDlgDynCtlFormForPsnbase::reject()
{
    if (m_bModified && !confirm(u"确定退出吗?"_s))
        return;
    if (m_bSaved && m_nAddFlag)
        done(QDialog::Accepted);
    else
        CDlgDynCtlFormBase::reject();
}

void CDlgDynCtlFormForPsnbase::RecalcLayout()
{
    const int w = width();
    const int h = height();
    const int q = w / 4;
    m_pSeparator->setGeometry(0, h - 60, w, 2);
    for (int i = 0; i < 4; ++i)
        m_pNav[i]->setGeometry(30 + 66 * i, h - 45, 65, 24);
    m_pBtnIdCard->setGeometry(w - 390, h - 45, 120, 24);
    m_pBtnSave->setGeometry(w - 230, h - 45, 80, 24);
    m_pBtnExit->setGeometry(w - 130, h - 45, 80, 24);
    m_pPhoto->setGeometry(w - q + 5, 20, q - 15, h / 2);
    const int x0 = w - q + (q - 161) / 2;
    for (int i = 0; i < 4; ++i)
        m_pPhotoButtons[i]->setGeometry(x0 + 41 * i, h / 2 + 22, 38, 22);
    m_pHost->setGeometry(0, 0, w - q, h - 61);
    LayoutItems();
}
