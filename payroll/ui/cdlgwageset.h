#pragma once

#include "ui/dialogs/cdialogexx.h"

class CDlgTabWageItem;
class CDlgTabWagePSN;
class CDlgTabWageStdTable;
class IWageSetPage;
class QComboBox;
class QPushButton;
class QTabWidget;

// "帐套设置": one wage set at a time, chosen in the combo, with its members, standard tables and
// items on three tabs. A tab's page loads the chosen set only when the tab is shown and the page
// shows another set; Ctrl+Tab goes to the next tab (from the last to the first). "设置(&S)..."
// opens the list of wage sets.
class CDlgWageSet : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgWageSet(QWidget *parent = nullptr);
    ~CDlgWageSet() override;

    int SelectedSid() const { return m_nSID; }
    QComboBox *WageSetCombo() const { return m_pCombo; }
    QTabWidget *Tabs() const { return m_pTabs; }
    QPushButton *SetupButton() const { return m_pSetup; }
    CDlgTabWagePSN *MembersPage() const { return m_pMembers; }
    CDlgTabWageStdTable *StandardTablePage() const { return m_pStdTables; }
    CDlgTabWageItem *ItemsPage() const { return m_pItems; }

    // "设置(&S)...".
    void OnSetup();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillCombo();
    void onWageSetChanged();
    void onTabChanged(int index);
    IWageSetPage *page(int index) const;

    QComboBox *m_pCombo;
    QPushButton *m_pSetup;
    QTabWidget *m_pTabs;
    CDlgTabWagePSN *m_pMembers;
    CDlgTabWageStdTable *m_pStdTables;
    CDlgTabWageItem *m_pItems;
    int m_nSID = 0;
};
