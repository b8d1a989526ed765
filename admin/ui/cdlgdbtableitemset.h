#pragma once

#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The item editor ("新建字段" / "修改字段") of one data table: name, data type, length,
// reference, default value and the required and show flags. Adding offers the types 0 to 3;
// modifying keeps the type, the length and a link's reference. OK checks and saves through
// the structure store, writes the log entry and closes only when the item was written.
class CDlgDBTableItemSet : public CDialogExx
{
    Q_OBJECT

public:
    // Markers of the reference list's fixed entries (a dictionary entry carries its qz_Dict.ID).
    enum ReferenceMarker { SortNameRef = -1, DeptNameRef = -2, PsnNameRef = -3, SeparatorRef = 0 };

    explicit CDlgDBTableItemSet(QWidget *parent = nullptr);

    QString m_strCaption;
    int m_nAdd = 0; // 1 add, 0 modify
    QString m_strTableTitle;
    QString m_strTableName;
    int m_nItemID = 0;
    int m_nDataType = 0;
    int m_nLength = 50;
    QString m_strAlias;
    QString m_strIdRef;
    QString m_strDefValue;
    int m_nNotNull = 0;
    int m_nShow = 1;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void OnTypeChanged(int type);
    void fillReferences();
    // The reference the list's selection stands for; empty for none or the separator.
    QString chosenReference() const;

    QComboBox *m_pType;
    QComboBox *m_pReference;
    QLabel *m_pReferenceLabel;
    QLineEdit *m_pLength;
    QLineEdit *m_pAlias;
    QLineEdit *m_pDefValue;
    QCheckBox *m_pNotNull;
    QCheckBox *m_pShow;
    bool m_loaded = false;
};
