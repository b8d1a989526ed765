#pragma once

#include "payroll/wageitemsave.h"
#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "新增薪资项目" / "修改项目": one wage item. A number item is typed in, computed from a formula
// or looked up in a standard table; a reference item takes its values from a dictionary. The
// data type of an existing item never changes. "确定" checks and saves the item (the formula
// through the formula check) and closes only when it is saved.
class CDlgWageItemSet : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgWageItemSet(QWidget *parent = nullptr);

    // A new item of wage set sid, or the item given (fields.isNew false).
    void SetNewItem(int sid);
    void SetItem(const vantrel::payroll::WageItemFields &fields);
    // After Accepted: what was saved, with the item's id.
    const vantrel::payroll::WageItemFields &Fields() const { return m_fields; }

    QLineEdit *NameEdit() const { return m_pName; }
    QComboBox *DataTypeList() const { return m_pDataType; }
    QComboBox *SourceList() const { return m_pSource; }
    QComboBox *StandardTableList() const { return m_pStdTable; }
    QComboBox *DictionaryList() const { return m_pDict; }
    QComboBox *DecimalsList() const { return m_pDecimals; }
    QComboBox *RoundingList() const { return m_pRounding; }
    QPlainTextEdit *FormulaEdit() const { return m_pFormula; }
    QPushButton *FormulaButton() const { return m_pFormulaButton; }

    // "公式设置": the formula editor on the formula as it stands; on OK it replaces it.
    void OnFormulaEditor();
    void accept() override;

private:
    void load();
    void onDataTypeChanged();
    void onSourceChanged();
    bool isNumber() const;
    void focus(vantrel::payroll::WageItemField field);

    vantrel::payroll::WageItemFields m_fields;
    QLineEdit *m_pName;
    QCheckBox *m_pActive;
    QCheckBox *m_pRetain;
    QComboBox *m_pDataType;
    QLabel *m_pSourceLabel;
    QComboBox *m_pSource;
    QLabel *m_pDictLabel;
    QComboBox *m_pDict;
    QLabel *m_pStdTableLabel;
    QComboBox *m_pStdTable;
    QComboBox *m_pDecimals;
    QComboBox *m_pRounding;
    QLabel *m_pFormulaLabel;
    QPlainTextEdit *m_pFormula;
    QPushButton *m_pFormulaButton;
};
