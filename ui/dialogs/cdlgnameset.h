#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for one name: caption "新增" and prompt "名称:" unless the opener sets others. OK
// refuses an empty name ("名称不能为空!") and keeps the dialog open; a name of blanks is taken
// as it is.
class CDlgNameSet : public QDialog
{
    Q_OBJECT

public:
    explicit CDlgNameSet(QWidget *parent = nullptr);

    void SetCaption(const QString &caption);
    void SetPrompt(const QString &prompt);
    void SetName(const QString &name);
    QString GetName() const;
    // A number for the opener's own use.
    void SetNumber(int number) { m_nNumber = number; }
    int GetNumber() const { return m_nNumber; }

    QLineEdit *nameEdit() const { return m_pName; }
    void accept() override;

private:
    QLabel *m_pPrompt;
    QLineEdit *m_pName;
    int m_nNumber = 0;
};
