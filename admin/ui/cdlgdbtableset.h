#pragma once

#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// The table editor ("新建数据表" / "修改数据表"): title, description, show flag and, when
// adding, the main table the new table belongs to. OK checks and saves through the structure
// store, writes the log entry and closes only when the table was written.
class CDlgDBTableSet : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgDBTableSet(QWidget *parent = nullptr);

    QString m_strCaption;
    int m_nAdd = 1; // 1 add, 0 modify
    QString m_strTitle;
    QString m_strDescr;
    int m_nFixed = 0;
    int m_nShow = 1;
    int m_nParentID = 0;
    int m_nID = 0;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillMainTables();

    QLineEdit *m_pTitle;
    QLineEdit *m_pDescr;
    QCheckBox *m_pShow;
    QComboBox *m_pParent;
    bool m_loaded = false;
};
