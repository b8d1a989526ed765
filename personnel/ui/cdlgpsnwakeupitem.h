#pragma once

#include "core/query/wakeupqueries.h"
#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// "人事提醒": one reminder definition, a date item of a person table (qz_Table nType 4) with
// the days ahead, or a custom SQL condition. The caller passes the definition in and, after
// OK, reads it back with WTable and WField as the chosen table's and item's SQL names. The
// dialog grows to 320 pixels while the custom condition shows.
class CDlgPsnWakeupItem : public CDialogExx
{
    Q_OBJECT

public:
    static constexpr int CustomHeight = 320;

    explicit CDlgPsnWakeupItem(const tagWAKEUPITEM &item, QWidget *parent = nullptr);

    tagWAKEUPITEM item() const { return m_item; }

    QComboBox *tableCombo() const { return m_tables; }
    QComboBox *fieldCombo() const { return m_fields; }
    QLineEdit *titleEdit() const { return m_title; }
    QSpinBox *daysBox() const { return m_days; }
    QCheckBox *customBox() const { return m_custom; }
    QPlainTextEdit *conditionEdit() const { return m_condition; }

    void accept() override;

private:
    void fillTables();
    void fillFields();
    void layOutForCustom();
    bool refuse(const QString &text);

    tagWAKEUPITEM m_item;
    QComboBox *m_tables;
    QComboBox *m_fields;
    QLineEdit *m_title;
    QSpinBox *m_days;
    QCheckBox *m_custom;
    QPlainTextEdit *m_condition;
};
