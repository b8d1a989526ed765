#pragma once

#include "ui/controls/ceditbrowsegridctrl.h"

// The person picker: a grid of the persons the operator may see (procedure
// qz_SelectPsnForEditBrowseCtrl: the wage set's members when a wage-set id is set, only his
// departments unless he holds them all), read when the list first opens. Columns: 0 person id
// and 5 identity-card number hidden, 1 number, 2 name (bold), 3 department, 4 category.
// Typing while the list is shown selects the first row whose number or identity-card number
// is the text, or else whose name contains it (case ignored). Accepting a row puts its name
// into the edit and keeps its person id.
class CEditBrowseCtrlPSN : public CEditBrowseGridCtrl
{
    Q_OBJECT

public:
    // tag and filter are kept for the owner.
    CEditBrowseCtrlPSN(QWidget *wndWatch, int tag, const QString &filter, bool readOnly,
                       QWidget *parent = nullptr);

    void OnBrowse() override;
    void AcceptDropDown() override;

    // Prepares the grid (done by the constructor; again harmless).
    void InitGrid();
    // Reads the persons into the grid. Returns 1, or 0 when the grid could not be filled.
    int FillPersonGrid(CBCGPADOGridCtrl *grid);

    int GetPersonId() const { return m_nPersonId; }
    void SetPersonId(int id) { m_nPersonId = id; }
    // Set before the list first opens; 0: every person.
    void SetWageSetId(int sid) { m_nWageSetId = sid; }
    int GetWageSetId() const { return m_nWageSetId; }
    int GetTag() const { return m_nTag; }
    QString GetFilter() const { return m_strFilter; }

private:
    void searchText(const QString &text);

    int m_nTag;
    QString m_strFilter;
    int m_nPersonId = 0;
    int m_nWageSetId = 0;
};
