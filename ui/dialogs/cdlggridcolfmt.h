#pragma once

#include "ui/controls/recordsetgridmodel.h"
#include "ui/dialogs/cdialogexx.h"

class CBCGPADOGridCtrl;
class QCheckBox;
class QToolButton;

// "列格式": text colour, background colour and bold for the column of the grid's current
// cell, shown on the grid while the user tries them. OK keeps the choice (the opener stores
// it); Cancel gives the column back the format it had. Without a grid there is no preview.
// An invalid colour is the default one ("缺省").
class CDlgGridColFmt : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgGridColFmt(CBCGPADOGridCtrl *grid, QWidget *parent = nullptr);

    // Before the dialog runs: the column's title (for the caption) and its present format.
    void SetColumnTitle(const QString &title);
    void SetFormat(const RecordsetGridModel::ColumnFormat &format);
    // After OK: the chosen format.
    RecordsetGridModel::ColumnFormat GetFormat() const { return m_format; }

    // What the colour buttons and the check box do; each is previewed on the grid.
    void ChooseTextColor(const QColor &color);
    void ChooseBackgroundColor(const QColor &color);
    void SetBold(bool bold);

    void accept() override;
    void reject() override;

private:
    QToolButton *makeColorButton(const QString &text, bool background);
    void showColor(QToolButton *button, const QColor &color);
    RecordsetGridModel::ColumnFormat choice() const;
    void applyToGrid(const RecordsetGridModel::ColumnFormat &format);

    CBCGPADOGridCtrl *m_pGrid;
    QToolButton *m_pTextColor;
    QToolButton *m_pBackColor;
    QCheckBox *m_pBold;
    QColor m_chosenText;
    QColor m_chosenBack;
    RecordsetGridModel::ColumnFormat m_format; // as before the dialog, then as chosen
};
