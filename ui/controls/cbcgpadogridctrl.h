#pragma once

#include "core/db/errorreport.h"
#include "ui/controls/privatemessages.h"
#include "ui/controls/recordsetgridmodel.h"

#include <QAbstractItemDelegate>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTableView>
#include <QVariantList>

#include <memory>

class CADOCommand;
class CADODatabase;
class CADORecordset;
class GridRowSource;
class IGridOwner;
class RecordWriter;

// The data grid: the rows of a query on a connection, one column per field. Numbers are
// right-aligned (titles too), booleans centred check boxes, dates date cells, texts that are
// addresses links. Cells are read as they come into view. In virtual mode with a key field the
// rows themselves are fetched by key a page at a time, so 100,000 rows open in the time it
// takes to read their keys; otherwise the query's rows are read into one recordset.
//
// A cell the user changes is written to the record its row shows (rows may be sorted), through
// the grid's RecordWriter, found by the record's key with an optimistic check; a failure is
// shown ("多用户操作冲突!" when another user changed the row meanwhile) and the cell shows the
// record as it is. The owner (IGridOwner) may refuse an edit or a change; the other
// notifications are the signals below.
//
// Failures return false and keep the error code and text (GetLastError is 0 after a success).
class CBCGPADOGridCtrl : public QTableView
{
    Q_OBJECT

public:
    enum GridOption {
        SizeColumnsToTitles = 0x1,  // a new column is as wide as its title plus 8 pixels
        WidenColumnsToValues = 0x2, // outside virtual mode, widened to its widest value + 8
    };

    explicit CBCGPADOGridCtrl(QWidget *parent = nullptr);
    ~CBCGPADOGridCtrl() override;

    // ---- connection
    // Opens a connection of the grid's own (closed again by Close).
    virtual bool OpenConnection(const QString &connectionString);
    // Reads through the caller's open connection, which the grid never closes. A grid that
    // already has a connection keeps it (and no longer closes it).
    virtual bool AttachConnection(CADODatabase *connection);
    // Removes rows and columns, closes the recordset and the grid's own connection.
    virtual bool Close();
    CADODatabase *GetConnection() const { return m_pConnection; }
    bool OwnsConnection() const { return m_bOwnsConnection; }

    // ---- lists
    virtual bool GetTableList(QStringList &tables);
    virtual bool GetFieldList(QStringList &fields) const;
    virtual bool GetTableFieldList(const QString &table, QStringList &fields);

    // ---- opening
    // Runs the query (values bound to its '?') and shows its rows. With KeepColumns the
    // columns stay as they are and only the rows are refilled. A query without rows gives
    // the columns and true, and leaves GetQuery() empty. In virtual mode with a key field whose
    // values repeat, the rows are read whole instead.
    virtual bool OpenSQL(const QString &sql, const QVariantList &values = {});
    virtual bool OpenTable(const QString &table);
    // The rows of a command (its parameters already added); GetQuery() stays empty.
    virtual bool OpenCommand(CADOCommand &command);
    // Closes and leaves virtual mode.
    virtual void LeaveVirtualMode();
    // Shows the record of the row again (one column, or all with -1).
    virtual void RefreshRow(int row, int column = -1);
    virtual bool IsColumnTypeSupported(int column) const;
    // The first row whose cell text matches: whole text or part, with or without case;
    // -1 when none or the column is negative. Dates compare in their displayed form.
    virtual int FindRow(const QString &text, int column, bool caseSensitive, bool wholeText) const;
    // The row that shows the record with this value of the key field; -1 when none does.
    // Reads no rows: the keys are at hand.
    int FindRowByKey(const QVariant &key) const;
    // The shown cells of these rows from firstColumn on as the clipboard takes them: cells
    // separated by tabs, one line per row.
    QString RowsText(const QVector<int> &rows, int firstColumn) const;
    // The rows of the selection, each once, in ascending order.
    QVector<int> SelectedRows() const;

    // ---- frozen columns
    // The first count shown columns stay in place while the others scroll beside them; 0
    // frees them all. Kept over reopening; hidden columns do not count.
    void SetFrozenColumns(int count);
    int GetFrozenColumns() const { return m_nFrozenColumns; }
    // Tells the user of a failed write; a conflict adds "多用户操作冲突!".
    virtual void ShowADOError(const vantrel::db::ErrorInfo &error);

    // ---- editing
    // Changes a cell the way the user does (owner asked, record written, failure shown).
    bool SetCellValue(int row, int column, const QVariant &value);
    void SetOwner(IGridOwner *owner) { m_pOwner = owner; }
    IGridOwner *GetOwner() const { return m_pOwner; }
    // The writer stays the caller's; null restores the default.
    void SetRecordWriter(RecordWriter *writer);
    // A read-only grid opens no editors.
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    // Whether a cell editor is open.
    bool IsEditing() const { return state() == EditingState; }

    // ---- state and settings
    QString GetQuery() const { return m_strQuery; }
    quint32 GetLastError() const { return m_nLastError; }
    QString GetLastErrorString() const { return m_strLastError; }
    int GetRowCount() const { return m_nRowCount; }
    // The recordset of the rows; null while they are read by key a page at a time.
    CADORecordset *GetRecordset() const;
    RecordsetGridModel *GetGridModel() const { return m_pModel; }
    int GetRecordOfRow(int row) const { return m_pModel->recordOfRow(row); }
    QVariant GetFieldValue(int row, int field) const;
    int GetCurSel() const; // the current row, -1 when none
    void SetCurSel(int row, int column = -1);
    void SetKeepColumns(bool keep) { m_bKeepColumns = keep; }
    void SetVirtualMode(bool on) { m_bVirtualMode = on; }
    // The result field whose values identify the rows (a plain identifier, e.g. PID): rows are
    // then read by key in virtual mode, and writers receive the key of the changed row.
    void SetKeyField(const QString &field) { m_strKeyField = field; }
    QString GetKeyField() const { return m_strKeyField; }
    // Virtual mode: the next OpenSQL reads the keys through this narrower query (see
    // KeysetRowSource::setKeyQuery); empty reads them from the query itself.
    void SetKeyQuery(const QString &sql) { m_strKeyQuery = sql; }
    bool IsVirtualMode() const { return m_bVirtualMode; }
    void SetGridOptions(int options) { m_nOptions = options; }
    int GetGridOptions() const { return m_nOptions; }
    // A row header of that width with row numbers; 0 hides it.
    void SetRowHeaderWidth(int width);

    GridItemInfo ItemInfo(const QModelIndex &index) const;

    // Called by the cell delegate: whether the owner lets the edit begin, and the new editor.
    bool BeginInplaceEdit(const QModelIndex &index);
    virtual void OnInplaceEditorCreated(QWidget *editor, const QModelIndex &index);

Q_SIGNALS:
    void gridDblClk(const GridItemInfo &info);     // WM_GRID_DBLCLK
    void gridSelChanged(const GridItemInfo &info); // WM_GRID_SELCHANGED: the current cell
    void gridRButtonUp(const GridMouseInfo &info); // WM_GRID_RBUTTONUP
    void linkClicked(const QString &url);

protected:
    // Writes a changed cell: the owner may refuse it, then the writer writes the record.
    virtual bool OnItemChanged(int record, int field, const QVariant &value);
    // An in-place edit ended and the owner let the grid go on: moves as the end hint says.
    virtual void OnEndInplaceEdit(QWidget *editor, QAbstractItemDelegate::EndEditHint hint,
                                  const GridItemInfo &info);
    // Why the edit ends, for the end-edit information; 0 unless a key set it.
    void SetPendingEndReason(int reason) { m_nPendingEndReason = reason; }
    const QPersistentModelIndex &EditedIndex() const { return m_editIndex; }

    // Notes how the user ends an in-place edit (Enter, Tab, Escape).
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool ensureRecordset();
    bool fail(quint32 code, const QString &description);
    bool beginOpen();
    bool showRows(std::unique_ptr<GridRowSource> source, const QString &query);
    void sizeNewColumns();
    void widenToValues(int column);

    CADODatabase *m_pConnection = nullptr;
    std::unique_ptr<CADODatabase> m_pOwnConnection;
    std::unique_ptr<CADORecordset> m_pRecordset;
    std::unique_ptr<GridRowSource> m_pSource;
    QString m_strKeyField;
    QString m_strKeyQuery;
    quint32 m_nLastError = 0;
    QString m_strLastError;
    int m_nRowCount = 0;
    bool m_bOwnsConnection = true;

    RecordsetGridModel *m_pModel;
    IGridOwner *m_pOwner = nullptr;
    RecordWriter *m_pWriter;
    QString m_strQuery;
    bool m_bKeepColumns = false;
    bool m_bVirtualMode = false;
    bool m_bReadOnly = false;
    int m_nOptions = 0;
    QPersistentModelIndex m_editIndex;
    QVariant m_editOldValue;
    int m_nPendingEndReason = EndByFocus;
    int m_nFrozenColumns = 0;
    QTableView *m_pFrozen = nullptr; // shows the frozen columns over the left of the grid
    int frozenWidth() const;
    bool isFrozenColumn(int column) const;
    void syncFrozenColumns();

protected:
    void resizeEvent(QResizeEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

public:
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
};
