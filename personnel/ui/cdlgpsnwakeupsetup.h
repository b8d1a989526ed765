#pragma once

#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QLabel;
class QSpinBox;

// "人事提醒设置": whether the reminder alert pops up ("EnableWakeup") and every how many
// minutes ("WakeupPerTime"). OK writes both to the profile, a period of 0 as 1; the caller
// then has the main frame restart its reminder timer.
class CDlgPsnWakeupSetup : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgPsnWakeupSetup(QWidget *parent = nullptr);

    QCheckBox *enableBox() const { return m_enable; }
    QSpinBox *minutesBox() const { return m_minutes; }

    void accept() override;

private:
    void enableMinutes();

    QCheckBox *m_enable;
    QLabel *m_before;
    QSpinBox *m_minutes;
    QLabel *m_after;
};
