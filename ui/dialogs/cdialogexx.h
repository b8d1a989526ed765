#pragma once

#include <QDialog>

// The base of most dialogs: one background colour for all of them, and each dialog's size and
// place (or its maximised state) remembered in the profile section "Dlgs/Form-<form>-<sub>".
// Form number 0 or less remembers nothing. A restored place is kept on a visible screen.
class CDialogExx : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogExx(int formNumber = 0, int subNumber = 0, QWidget *parent = nullptr);

    int formNumber() const { return m_formNumber; }
    int subNumber() const { return m_subNumber; }

    // The background every dialog of the program shares.
    static QColor backgroundColor();
    // Gives a dialog (also one not derived from this class) the shared background.
    static void applyBackground(QWidget *dialog);

    // Reads the saved place; called when the dialog is first shown.
    virtual void RestoreWindowPlacement();
    // Writes the place; called when the dialog closes (accepted, rejected or closed).
    virtual void SaveWindowPlacement();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString section() const;

    int m_formNumber;
    int m_subNumber;
    bool m_restored = false;
};
