#pragma once

#include "core/db/sqldialect.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QVector>

#include <functional>

class GridRowSource;

// The rows of a query as a table: one column per field, one row per record. Cells are read
// from the row source when the view asks for them (nothing is copied): a whole recordset, or
// pages of rows fetched by key as they come into view.
//
// Rows can be sorted by the model; a row then shows another record than its number says, and
// recordOfRow() is the only way from a view row to its record. The model never writes to the
// database: a change goes to the commit handler (the grid), which writes the record through
// its writer and answers whether the change stands.
class RecordsetGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum CellKind { PlainCell, CheckCell, DateCell };
    enum DateDisplay { DateOnly, DateAndTime, TimeOnly };

    // Colours and weight of a column; an invalid colour is the default one.
    struct ColumnFormat
    {
        QColor text;
        QColor background;
        bool bold = false;

        bool operator==(const ColumnFormat &other) const = default;
    };

    enum Role {
        RecordRole = Qt::UserRole + 1, // int: the recordset position the row shows
        LinkRole,                      // QString: the link of a link cell, else invalid
        CellKindRole,                  // int: the column's CellKind
        FieldKindRole,                 // int: the field's vantrel::db::FieldKind
    };

    // (record, field, new value) → whether the change was written. The value is already in the
    // field's kind: a number, a date and time, a bool (Boolean fields), 0/1 (integer check
    // columns) or an invalid variant for an empty cell.
    using CommitHandler = std::function<bool(int record, int field, const QVariant &value)>;

    explicit RecordsetGridModel(QObject *parent = nullptr);

    // Shows the source's rows (the source stays the caller's and must outlive the model or be
    // detached first). The columns are built from its fields unless keepColumns is set and
    // their number is unchanged. Null empties the rows.
    void attach(GridRowSource *source, bool keepColumns = false);
    // No rows; the columns too unless keepColumns.
    void clear(bool keepColumns = false);
    GridRowSource *source() const { return m_pSource; }

    void setCommitHandler(CommitHandler handler) { m_commit = std::move(handler); }
    bool isEditable() const { return bool(m_commit); }

    int recordOfRow(int row) const;
    int rowOfRecord(int record) const; // -1 when the record is not shown
    QVariant fieldValue(int record, int field) const;
    // The record was written: it is read again and views show it again.
    void refreshRecord(int record);

    // Column settings; they survive a reopen with keepColumns.
    QString columnTitle(int column) const;
    void setColumnTitle(int column, const QString &title);
    CellKind cellKind(int column) const;
    void setCellKind(int column, CellKind kind); // e.g. check boxes over an integer flag
    DateDisplay dateDisplay(int column) const;
    void setDateDisplay(int column, DateDisplay display);
    ColumnFormat columnFormat(int column) const;
    void setColumnFormat(int column, const ColumnFormat &format);
    vantrel::db::FieldKind fieldKind(int column) const;
    Qt::Alignment columnAlignment(int column) const;
    // A background for every cell of the record (a row marked as gone), over the column's;
    // an invalid colour takes it away. Forgotten when the rows are opened again.
    void setRecordBackground(int record, const QColor &color);

    // The text a cell shows (dates in the column's display, empty for check cells).
    QString displayText(int row, int column) const;
    QString displayTextOfRecord(int record, int column) const;

    // A link cell holds an address of the web, mail or file kind; its caption is the text.
    static bool ParseURLString(const QString &text, QString *url);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Stable; empty values first in ascending order. A column < 0 restores the recordset's
    // order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The value a cell editor's result stands for in the field's kind; false when the text is
    // not a value of that kind (letters in a number).
    bool toFieldValue(int column, const QVariant &input, QVariant *value) const;

private:
    struct Column
    {
        QString title;
        vantrel::db::FieldKind kind = vantrel::db::FieldKind::Unknown;
        CellKind cell = PlainCell;
        DateDisplay dates = DateOnly;
        ColumnFormat format;
    };

    bool isCell(const QModelIndex &index) const;
    void buildColumns();
    QVariant editValue(int record, int column) const;
    QVariant checkState(int record, int column) const;
    void setOrder(QVector<int> order);
    bool validColumn(int column) const { return column >= 0 && column < m_columns.size(); }

    GridRowSource *m_pSource = nullptr;
    int m_rowCount = 0;
    QVector<Column> m_columns;
    QVector<int> m_order;    // view row → record; empty while unsorted
    QVector<int> m_rowOfRec; // record → view row; empty while unsorted
    QHash<int, QColor> m_recordBackground;
    CommitHandler m_commit;
};
