#pragma once

#include "core/query/itemmetadata.h"
#include "personnel/psnimport.h"
#include "ui/dialogs/cdialogexx.h"

class CDropDownListDept;
class QComboBox;
class QPushButton;
class QTableWidget;

// Imports persons from the first sheet of a workbook: one grid row per source column with its
// title and first value, matched to a person item (automatically where the title equals an
// alias exactly), into the department and category chosen. The import runs on a thread of its
// own connection under a progress window; Cancel or any refused row leaves the table as it was.
class CDlgPsnImport : public CDialogExx
{
    Q_OBJECT

public:
    enum Column { ColNumber, ColTitle, ColValue, ColMatch };

    explicit CDlgPsnImport(QWidget *parent = nullptr);

    // Set before the dialog opens.
    void SetFilePath(const QString &path) { m_strFilePath = path; }
    CItemInfoArray &Items() { return m_arrItems; }

    // Reads the file into the matching grid and matches titles to aliases.
    void LoadSourceFile();
    void OnPreview();
    // The checks, the confirmation, then the import; accepts on success.
    void OnImport();

    QTableWidget *grid() const { return m_pGrid; }
    QComboBox *matchBox(int row) const;
    QComboBox *categoryCombo() const { return m_pSort; }
    CDropDownListDept *deptPicker() const { return m_pDept; }
    QPushButton *previewButton() const { return m_pPreview; }
    int imported() const { return m_nImported; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onMatchChanged(int row);
    QVector<vantrel::personnel::ImportGridRow> gridRows() const;
    vantrel::personnel::PsnImportOutcome runImport(
        const vantrel::personnel::PsnImportRequest &request);

    QString m_strFilePath;
    CItemInfoArray m_arrItems;
    QVector<bool> m_numeric; // per grid row: the source column is numeric
    QVector<int> m_oldMatch; // per grid row: the choice before the last change
    bool m_bLoaded = false;
    int m_nImported = 0;
    QComboBox *m_pSort;
    CDropDownListDept *m_pDept;
    QTableWidget *m_pGrid;
    QPushButton *m_pPreview;
};
