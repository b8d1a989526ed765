#pragma once

#include "ui/dialogs/cdialogexx.h"

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "公式设置": composes the formula of a formula item. A double click on an item of the reference
// tree (the wage set's items and the person items) inserts "[table title.item alias]"; the
// buttons insert operators, digits and separators; each insertion replaces the selection and
// is one step that "撤消(&U)" takes back. The function tree lists funcdescr.xml and shows the
// description of the selected function. The formula is not checked here.
class CDlgWageFormu : public CDialogExx
{
    Q_OBJECT

public:
    // The function file defaults to funcdescr.xml in the program folder.
    CDlgWageFormu(int sid, const QString &itemName, const QString &formula,
                  QWidget *parent = nullptr, const QString &functionFile = {});

    QString Formula() const { return m_strFormula; }

    QPlainTextEdit *FormulaEdit() const { return m_pFormula; }
    QTreeWidget *ReferenceTree() const { return m_pReferences; }
    QTreeWidget *FunctionTree() const { return m_pFunctions; }
    QPlainTextEdit *DescriptionEdit() const { return m_pDescription; }
    // The insert button with the text it inserts; null when there is none.
    QPushButton *InsertButton(const QString &text) const;
    QPushButton *UndoButton() const { return m_pUndo; }

    // Replaces the edit's selection (at the caret when none) by the text, as one undo step.
    void Insert(const QString &text);

    void accept() override;

private:
    void fillReferences();
    void fillFunctions();
    void onReferenceDoubleClicked(QTreeWidgetItem *item);
    void onFunctionSelected();

    int m_nSID;
    QString m_strFormula;
    QString m_strFunctionFile;
    QPlainTextEdit *m_pFormula;
    QTreeWidget *m_pReferences;
    QTreeWidget *m_pFunctions;
    QPlainTextEdit *m_pDescription;
    QPushButton *m_pUndo;
    QList<QPushButton *> m_inserts;
};
