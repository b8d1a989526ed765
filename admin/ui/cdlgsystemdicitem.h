#pragma once

#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QLineEdit;

// The dictionary-item editor: class code and parent code shown, the code (digits, fixed once
// stored), the title and, when changing, the active flag. OK checks and saves through the
// dictionary store and closes only when the item was written.
class CDlgSystemDicItem : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgSystemDicItem(QWidget *parent = nullptr);

    QString m_strCaption;
    int m_nAdd = 1; // 1 add, 0 modify
    int m_nClassID = 0;
    int m_nID = 0;
    QString m_strDictId;
    QString m_strDictValue;
    QString m_strTitle;
    QString m_strParentValue;
    int m_nActive = 1;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_pDictId;
    QLineEdit *m_pCode;
    QLineEdit *m_pTitle;
    QLineEdit *m_pParent;
    QCheckBox *m_pActive;
    bool m_loaded = false;
};
