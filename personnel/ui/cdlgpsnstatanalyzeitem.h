#pragma once

#include "ui/dialogs/cdialogexx.h"

#include <QPointer>
#include <QStyledItemDelegate>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The bound cells of the range grid: a date editor for a date field, a line edit for a
// number field that refuses text that is not a number (the cell keeps its value).
class StatBoundDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit StatBoundDelegate(const int *dataType, QObject *parent = nullptr);

    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    // Takes the open editor's value (when acceptable) and closes it.
    void finishEdit();

private:
    const int *m_pDataType;
    mutable QPointer<QWidget> m_pEditor;
};

// "添加统计项" of a one-dimensional statistic: a title, the counted table and field, and for
// a number or date field its ranges ("区段") in order. Table and field are fixed once the
// statistic exists. A range deleted here is gone at once; everything else is written by
// "确定" in one transaction (a failure is shown and the dialog stays open).
class CDlgPsnStatAnalyzeItem : public CDialogExx
{
    Q_OBJECT

public:
    enum Column { ColId, ColTitle, ColLower, ColUpper };

    // tid 0: a new statistic on table and field (both may be empty: the first entries).
    CDlgPsnStatAnalyzeItem(const QString &caption, int tid, const QString &title,
                           const QString &table, const QString &field, QWidget *parent = nullptr);

    int tid() const { return m_nTID; }
    QString title() const { return m_strTitle; }
    QString table() const { return m_strTable; }
    QString field() const { return m_strField; }
    int dataType() const { return m_nDataType; }

    QLineEdit *titleEdit() const { return m_pTitle; }
    QComboBox *tableCombo() const { return m_pTableCombo; }
    QComboBox *fieldCombo() const { return m_pFieldCombo; }
    QTableWidget *rangeGrid() const { return m_pGrid; }
    QGroupBox *rangeBox() const { return m_pRangeBox; }
    QPushButton *saveButton() const { return m_pSave; }

    void OnNewBucket();
    void OnDeleteBucket();
    void OnMoveUp();
    void OnMoveDown();
    void OnSave();

    // Enter does not close the dialog; only "确定" saves.
    void accept() override { }

private:
    void fillTableCombo();
    void fillFieldCombo();
    void loadBuckets();
    void onTableChanged();
    void onFieldChanged();
    void setBucketRow(int row, int id, const QString &title, const QString &lower,
                      const QString &upper);
    bool validateBuckets() const;
    void moveRow(int step);

    QString m_strCaption;
    bool m_bNew;
    int m_nTID;
    QString m_strTitle;
    QString m_strTable;
    QString m_strField;
    int m_nDataType = 0;
    bool m_bFilling = false;

    QLineEdit *m_pTitle;
    QComboBox *m_pTableCombo;
    QComboBox *m_pFieldCombo;
    QGroupBox *m_pRangeBox;
    QTableWidget *m_pGrid;
    StatBoundDelegate *m_pDelegate;
    QPushButton *m_pNew;
    QPushButton *m_pDelete;
    QPushButton *m_pDown;
    QPushButton *m_pUp;
    QPushButton *m_pSave;
};

// "添加统计项" of a cross: a title and two different one-dimensional statistics, the
// horizontal one giving the columns, the vertical one the rows. One of them must count the
// person table. No log is written.
class CDlgPsnStatAnalyzeItem2D : public CDialogExx
{
    Q_OBJECT

public:
    // tid 0: a new cross (horzTid and vertTid -1: none chosen).
    CDlgPsnStatAnalyzeItem2D(const QString &caption, int tid, const QString &title, int horzTid,
                             int vertTid, QWidget *parent = nullptr);

    int tid() const { return m_nTID; }
    int horzTid() const { return m_nHorzTID; }
    int vertTid() const { return m_nVertTID; }
    QLineEdit *titleEdit() const { return m_pTitle; }
    QComboBox *horizontalCombo() const { return m_pHorzCombo; }
    QComboBox *verticalCombo() const { return m_pVertCombo; }

    void accept() override;

private:
    void fillHorizontalCombo();
    void fillVerticalCombo();

    bool m_bNew;
    int m_nTID;
    int m_nHorzTID;
    int m_nVertTID;
    bool m_bFilling = false;
    QLineEdit *m_pTitle;
    QComboBox *m_pHorzCombo;
    QComboBox *m_pVertCombo;
};
