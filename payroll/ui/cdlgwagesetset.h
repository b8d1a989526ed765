#pragma once

#include <QDialog>

class CBCGPADOGridCtrl;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "薪资类别设置": the list of every wage set, where sets are added, renamed, deleted and put in
// order. Each change is written (and logged) at once; the dialog stays open until 退出. The
// opener reads IsChanged() afterwards to know that its list of sets is stale.
class CDlgWageSetSet : public QDialog
{
    Q_OBJECT

public:
    explicit CDlgWageSetSet(int sid = 0, QWidget *parent = nullptr);

    bool IsChanged() const { return m_nChanged != 0; }
    int SelectedSid() const { return m_nSID; }
    bool IsAdding() const { return m_nMode == 1; }

    CBCGPADOGridCtrl *Grid() const { return m_pGrid; }
    QLineEdit *NameEdit() const { return m_pName; }
    QPlainTextEdit *DescriptionEdit() const { return m_pDescr; }

    // The titles down the list.
    QStringList Titles() const;
    void SelectRow(int row);

    void OnSave();
    void OnAdd();
    void OnDelete();
    void OnMoveUp() { move(-1); }
    void OnMoveDown() { move(1); }

private:
    void loadList(int selectSid = 0);
    void onRowChanged();
    void move(int step);
    int selectedRow() const;
    bool add(const QString &name, const QString &description);
    bool rename(const QString &name, const QString &description);

    CBCGPADOGridCtrl *m_pGrid;
    QLineEdit *m_pName;
    QPlainTextEdit *m_pDescr;
    int m_nSID;
    int m_nMode = 1;
    int m_nChanged = 0;
};
