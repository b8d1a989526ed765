#pragma once

#include "payroll/ui/iwagesetpage.h"

#include <QWidget>

// "薪资标准表": the standard tables of the wage set. Only the page's place in the set-up
// dialog for now: it shows nothing yet.
class CDlgTabWageStdTable : public QWidget, public IWageSetPage
{
    Q_OBJECT

public:
    explicit CDlgTabWageStdTable(QWidget *parent = nullptr) : QWidget(parent) { }

    int LoadWageSet(int sid) override
    {
        m_nSID = sid;
        return 1;
    }
    int LoadedSid() const override { return m_nSID; }

private:
    int m_nSID = 0;
};
