#pragma once

#include "ui/controls/ceditbrowsetreectrl.h"

// A tree picker over a dictionary, the person categories or the departments, filled when the
// list first opens, under a root item with the prompt text (item data 0). Dictionary levels are
// read when the user first expands their parent. The picked value is the RefIdRole of the last
// accepted item (0 at first); reopening selects that item again.
class CEditBrowseCtrlFromDB : public CEditBrowseTreeCtrl
{
    Q_OBJECT

public:
    enum ListKind { Dictionary = 0, PsnSorts = 1, Depts = 2 };

    // dictId: the dictionary's code (qz_DictItem.DictId) for a dictionary list.
    CEditBrowseCtrlFromDB(QWidget *wndWatch, int kind, const QString &dictId, bool readOnly,
                          QWidget *parent = nullptr);

    void OnBrowse() override;
    void AcceptDropDown() override;
    void OnDropTreeSelect(QTreeWidgetItem *item) override;

    int GetPickedValue() const { return m_nPicked; }
    // The value a form loads (the text is the caller's: the name it looked up).
    void SetPickedValue(int value) { m_nPicked = value; }
    int GetKind() const { return m_nKind; }
    QString GetDictId() const { return m_strDictId; }

    static QString Prompt();

private:
    void fillList();

    int m_nKind;
    QString m_strDictId;
    int m_nPicked = 0;
};
