#pragma once

#include "personnel/psnentry.h"
#include "personnel/ui/cdlgdynctlformbase.h"
#include "platform/idcard/idcardreader.h"

class CPhotoCtrl;
class CViewPsn;

// The person entry form: a person's items in a generated form, numbered by the options' rule,
// saved with the person checks and a log line, stepped through the person list. In add mode
// it stays open after each save, ready for the next person; the list is refilled and the last
// saved person is remembered for the caller.
class CDlgDynCtlFormForPsnbase : public CDlgDynCtlFormBase
{
    Q_OBJECT

public:
    explicit CDlgDynCtlFormForPsnbase(QWidget *parent = nullptr);

    CViewPsn *m_pOwnerView = nullptr;
    vantrel::personnel::PsnNumberRule m_rule;
    QString m_strLoadedNumber;

    CPhotoCtrl *photoCtrl() const { return m_pPhoto; }
    QPushButton *photoButton(int which) const
    {
        return m_pPhotoButtons[which];
    } // 打开 另存 拍照 清除
    // The PID of the last person saved, 0 when none was.
    int lastSavedPid() const { return m_nLastSaved; }

    void LoadNumberRule();
    bool LoadItems(const QString &table) override;
    void LoadRecord() override;
    bool SaveRecord() override;
    void ResetItemDefaults() override;
    void RecalcLayout() override;
    // The first item of that name gets the text (dates parsed; links left alone).
    void SetItemTextByName(const QString &name, const QString &value);

    // Reads an identity card into the fields and the photo (二代身份证采集).
    void ReadIdCard();
    // Fills the fields from the files the reader left in the folder; false when there is no
    // readable card text.
    bool FillFromIdCardFiles(const QString &folder);
    QPushButton *idCardButton() const { return m_pBtnIdCard; }

    void OnSave();
    // 另存: the photo saved to a file, logged with the name and number in the fields.
    void OnPhotoSaveAs();
    // The photo's person takes the name and number in the fields (no number while it is
    // still to be given automatically).
    void TakePersonFromFields();
    void reject() override;
    void done(int result) override;

protected:
    void OnInitDialog() override;
    void MoveTo(int row) override;
    bool handleNavigationKey(int key) override;

private:
    QPushButton *m_pBtnIdCard;
    vantrel::idcard::IdCardReader m_reader;
    CPhotoCtrl *m_pPhoto;
    QPushButton *m_pPhotoButtons[4];
    int m_nLastSaved = 0;
    bool m_bSaved = false;
};
