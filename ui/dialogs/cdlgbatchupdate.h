#pragma once

#include "core/query/itemmetadata.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;

// "批量修改": the opener's items, a way of changing the chosen one and a value, for every
// selected row. Numbers offer "赋值", "统加", "统减", "统乘", "统除" (modes 0 to 4); texts,
// dictionary items and dates only "赋值"; other kinds no way at all. OK checks the input, asks
// for confirmation (the change cannot be undone) and closes; the opener runs the change.
class CDlgBatchUpdate : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Assign = 0, Add = 1, Subtract = 2, Multiply = 3, Divide = 4 };

    explicit CDlgBatchUpdate(QWidget *parent = nullptr);

    // Before the dialog runs: the items to offer and the caption to select first (the first
    // item whose caption starts with it).
    void SetItems(const CItemInfoArray &items, const QString &preselectedAlias = {});

    // The result after OK.
    int GetSelectedItem() const { return m_nSelectedItem; }
    int GetMode() const { return m_nMode; }
    QString GetValueText() const { return m_strValue; }
    short GetDataType() const { return m_nDataType; }

    QComboBox *itemList() const { return m_pItems; }
    QComboBox *modeList() const { return m_pModes; }
    QLineEdit *valueEdit() const { return m_pValue; }
    QDateEdit *dateEdit() const { return m_pDate; }

    void accept() override;

private:
    void onItemChanged(int index);
    bool checkInput();
    void refuse(const QString &text, QWidget *focus);

    QComboBox *m_pItems;
    QComboBox *m_pModes;
    QLineEdit *m_pValue;
    QDateEdit *m_pDate;
    CItemInfoArray m_items;
    int m_nSelectedItem = -1;
    int m_nMode = -1;
    QString m_strValue;
    short m_nDataType = -1;
};
