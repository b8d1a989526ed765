#pragma once

#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QLineEdit;

// The dictionary-class editor: the title and, when changing, the active flag. OK checks and
// saves through the dictionary store and closes only when the class was written.
class CDlgSystemDicSort : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgSystemDicSort(QWidget *parent = nullptr);

    QString m_strCaption;
    int m_nAdd = 1; // 1 add, 0 modify
    int m_nID = 0;
    int m_nActive = 1;
    QString m_strTitle;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_pTitle;
    QCheckBox *m_pActive;
    bool m_loaded = false;
};
