#pragma once

#include "personnel/psnpreview.h"
#include "ui/dialogs/cdialogexx.h"

#include <QAbstractTableModel>

class QLabel;
class QTableView;
class QToolBar;

// The rows of a browse table for a view; read-only. Dates show as dates.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;
    void setTable(vantrel::personnel::PreviewTable table);
    const vantrel::personnel::PreviewTable &table() const { return m_table; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    vantrel::personnel::PreviewTable m_table;
};

// Browses the rows of a query (on a connection of its own, opened from a connection string)
// or of a workbook's first sheet, with the record count below; exports them to an .xlsx file
// and prints them with the caption as title. The caller sets the source and caption, then
// runs the dialog modally.
class CDlgPsnDataPreview : public CDialogExx
{
    Q_OBJECT

public:
    enum Command { IdExport = 33137, IdPrint = 32949, IdExit = 32817 };

    explicit CDlgPsnDataPreview(QWidget *parent = nullptr);

    void SetQuery(const QString &connectionString, const QString &sql,
                  const QVariantList &values = {});
    void SetSheet(const QString &path);
    void SetCaption(const QString &caption) { m_strCaption = caption; }
    // The next export writes here instead of asking (tests, scripted runs).
    void SetExportPath(const QString &path) { m_strExportPath = path; }

    // Reads the rows; a connection that cannot be opened shows "打开数据库出错!".
    void LoadData();
    void OnExport();
    void OnPrint();

    QTableView *grid() const { return m_pGrid; }
    QString footerText() const;
    QAction *action(int id) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_strConnect;
    QString m_strSQL;
    QVariantList m_values;
    QString m_strSheetPath;
    QString m_strCaption = QStringLiteral("数据浏览");
    QString m_strExportPath;
    bool m_bLoaded = false;
    QToolBar *m_pToolBar;
    QTableView *m_pGrid;
    PreviewModel *m_pModel;
    QLabel *m_pFooter;
};
