#include "ui/controls/cbcgpadogridctrl.h"

#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/gridcelldelegate.h"
#include "ui/controls/igridowner.h"
#include "ui/controls/keysetrowsource.h"
#include "ui/controls/recordsetrowsource.h"
#include "ui/controls/recordwriter.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

CBCGPADOGridCtrl::CBCGPADOGridCtrl(QWidget *parent)
    : QTableView(parent)
    , m_pModel(new RecordsetGridModel(this))
    , m_pWriter(RecordWriter::defaultWriter())
{
    m_pModel->setCommitHandler([this](int record, int field, const QVariant &value) {
        return OnItemChanged(record, field, value);
    });
    setModel(m_pModel);
    setItemDelegate(new GridCellDelegate(this));
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionBehavior(SelectItems);
    setSelectionMode(ExtendedSelection);
    setWordWrap(false);
    // Fixed row heights keep scrolling through 100,000 rows cheap.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setSortIndicatorClearable(true);
    setSortingEnabled(true);
}

CBCGPADOGridCtrl::~CBCGPADOGridCtrl()
{
    Close();
}

bool CBCGPADOGridCtrl::fail(quint32 code, const QString &description)
{
    m_nLastError = code;
    m_strLastError = description;
    return false;
}

bool CBCGPADOGridCtrl::OpenConnection(const QString &connectionString)
{
    Close();
    m_pRecordset.reset();
    m_pOwnConnection = std::make_unique<CADODatabase>();
    m_pConnection = m_pOwnConnection.get();
    m_nLastError = 0;
    if (!m_pOwnConnection->Open(connectionString))
        return fail(m_pOwnConnection->GetLastError() ? m_pOwnConnection->GetLastError()
                                                     : ErrorCode::Failed,
                    m_pOwnConnection->GetLastErrorString());
    m_bOwnsConnection = true;
    return true;
}

bool CBCGPADOGridCtrl::AttachConnection(CADODatabase *connection)
{
    Close();
    m_nLastError = 0;
    if (!connection || !connection->IsOpen())
        return fail(ErrorCode::ObjectClosed, u"The connection is closed."_s);
    if (!m_pConnection || !m_pConnection->IsOpen()) {
        m_pModel->clear();
        m_pRecordset.reset();
        m_pConnection = connection;
    }
    m_bOwnsConnection = false;
    return ensureRecordset();
}

bool CBCGPADOGridCtrl::Close()
{
    m_nLastError = 0;
    m_pModel->clear();
    m_pSource.reset();
    m_nRowCount = 0;
    m_strQuery.clear();
    if (m_pRecordset)
        m_pRecordset->Close();
    if (m_bOwnsConnection && m_pConnection && m_pConnection == m_pOwnConnection.get())
        m_pConnection->Close();
    return true;
}

bool CBCGPADOGridCtrl::ensureRecordset()
{
    if (!m_pRecordset || m_pRecordset->database() != m_pConnection)
        m_pRecordset = std::make_unique<CADORecordset>(m_pConnection);
    return true;
}

bool CBCGPADOGridCtrl::GetTableList(QStringList &tables)
{
    m_nLastError = 0;
    if (!m_pConnection || !m_pConnection->IsOpen())
        return fail(ErrorCode::ObjectClosed, u"The connection is closed."_s);
    CADORecordset schema(m_pConnection);
    if (!schema.OpenSchemaTables())
        return fail(schema.GetLastError(), schema.GetLastErrorString());
    for (; !schema.IsEof(); schema.MoveNext()) {
        QString name, type;
        schema.GetFieldValueText(0, name);
        schema.GetFieldValueText(1, type);
        if (type == u"TABLE")
            tables << name;
    }
    return true;
}

bool CBCGPADOGridCtrl::GetFieldList(QStringList &fields) const
{
    fields.clear();
    if (!m_pSource)
        return false;
    for (int i = 0; i < m_pSource->fieldCount(); ++i)
        fields << m_pSource->fieldName(i);
    return true;
}

CADORecordset *CBCGPADOGridCtrl::GetRecordset() const
{
    return dynamic_cast<RecordsetRowSource *>(m_pSource.get()) ? m_pRecordset.get() : nullptr;
}

bool CBCGPADOGridCtrl::GetTableFieldList(const QString &table, QStringList &fields)
{
    fields.clear();
    m_nLastError = 0;
    if (!m_pConnection || !m_pConnection->IsOpen())
        return fail(ErrorCode::ObjectClosed, u"The connection is closed."_s);
    if (!IsSqlIdentifier(table))
        return fail(ErrorCode::InvalidArgument, u"'%1' is not a table name."_s.arg(table));
    // Only the field names are wanted, not the rows.
    CADORecordset probe(m_pConnection);
    if (!probe.Open(u"SELECT * FROM %1 WHERE 1 = 0"_s.arg(table), QVariantList {}))
        return fail(probe.GetLastError(), probe.GetLastErrorString());
    for (int i = 0; i < probe.GetFieldCount(); ++i)
        fields << probe.GetFieldName(i);
    return true;
}

bool CBCGPADOGridCtrl::OpenTable(const QString &table)
{
    if (!IsSqlIdentifier(table)) {
        Close();
        return fail(ErrorCode::InvalidArgument, u"'%1' is not a table name."_s.arg(table));
    }
    return OpenSQL(u"SELECT * FROM "_s + table);
}

bool CBCGPADOGridCtrl::beginOpen()
{
    m_nLastError = 0;
    m_strLastError.clear();
    m_strQuery.clear();
    m_nRowCount = 0;
    m_pModel->clear(m_bKeepColumns);
    m_pSource.reset();
    if (!m_pConnection || !m_pConnection->IsOpen())
        return fail(ErrorCode::ObjectClosed, u"The connection is closed."_s);
    ensureRecordset();
    m_pRecordset->Close();
    return true;
}

bool CBCGPADOGridCtrl::OpenSQL(const QString &sql, const QVariantList &values)
{
    if (!beginOpen())
        return false;
    if (sql.trimmed().isEmpty())
        return fail(ErrorCode::InvalidArgument, u"The query is empty."_s);
    if (m_bVirtualMode && !m_strKeyField.isEmpty()) {
        auto keyset = std::make_unique<KeysetRowSource>(m_pConnection);
        keyset->setKeyQuery(m_strKeyQuery);
        if (!keyset->open(sql, values, m_strKeyField))
            return fail(keyset->lastError().code, keyset->lastError().description);
        if (!keyset->hasDuplicateKeys())
            return showRows(std::move(keyset), sql);
    }
    if (!m_pRecordset->Open(sql, values))
        return fail(m_pRecordset->GetLastError() ? m_pRecordset->GetLastError() : ErrorCode::Failed,
                    m_pRecordset->GetLastErrorString());
    return showRows(std::make_unique<RecordsetRowSource>(m_pRecordset.get(), m_strKeyField), sql);
}

bool CBCGPADOGridCtrl::OpenCommand(CADOCommand &command)
{
    if (!beginOpen())
        return false;
    if (!m_pRecordset->Open(command))
        return fail(m_pRecordset->GetLastError() ? m_pRecordset->GetLastError() : ErrorCode::Failed,
                    m_pRecordset->GetLastErrorString());
    return showRows(std::make_unique<RecordsetRowSource>(m_pRecordset.get(), m_strKeyField), {});
}

bool CBCGPADOGridCtrl::showRows(std::unique_ptr<GridRowSource> source, const QString &query)
{
    const bool keep = m_bKeepColumns && m_pModel->columnCount() == source->fieldCount();
    m_pSource = std::move(source);
    m_pModel->attach(m_pSource.get(), m_bKeepColumns);
    m_nRowCount = m_pModel->rowCount();
    if (!keep)
        sizeNewColumns();
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    if (m_pModel->columnCount() > 0 && m_nRowCount > 0)
        m_strQuery = query;
    return true;
}

void CBCGPADOGridCtrl::sizeNewColumns()
{
    const QFontMetrics metrics = horizontalHeader()->fontMetrics();
    for (int column = 0; column < m_pModel->columnCount(); ++column) {
        const int width = (m_nOptions & SizeColumnsToTitles)
            ? metrics.horizontalAdvance(m_pModel->columnTitle(column)) + 8
            : 50;
        horizontalHeader()->resizeSection(column, width);
        if (!m_bVirtualMode && (m_nOptions & WidenColumnsToValues))
            widenToValues(column);
    }
}

void CBCGPADOGridCtrl::widenToValues(int column)
{
    if (m_pModel->cellKind(column) == RecordsetGridModel::CheckCell)
        return;
    const QFontMetrics metrics = fontMetrics();
    int widest = 0;
    for (int record = 0; record < m_nRowCount; ++record)
        widest = qMax(widest,
                      metrics.horizontalAdvance(m_pModel->displayTextOfRecord(record, column)));
    if (widest > 0 && horizontalHeader()->sectionSize(column) < widest)
        horizontalHeader()->resizeSection(column, widest + 8);
}

void CBCGPADOGridCtrl::LeaveVirtualMode()
{
    if (!m_bVirtualMode)
        return;
    Close();
    m_bVirtualMode = false;
}

void CBCGPADOGridCtrl::RefreshRow(int row, int column)
{
    const int record = m_pModel->recordOfRow(row);
    if (record < 0)
        return;
    if (column < 0)
        m_pModel->refreshRecord(record);
    else if (column < m_pModel->columnCount())
        update(m_pModel->index(row, column));
}

bool CBCGPADOGridCtrl::IsColumnTypeSupported(int column) const
{
    if (!m_pSource || column < 0 || column >= m_pSource->fieldCount())
        return false;
    switch (m_pSource->fieldKind(column)) {
    case FieldKind::Integer:
    case FieldKind::BigInt:
    case FieldKind::Double:
    case FieldKind::Text:
    case FieldKind::DateTime:
    case FieldKind::Boolean:
        return true;
    case FieldKind::Binary:
    case FieldKind::Unknown:
        break;
    }
    return false;
}

int CBCGPADOGridCtrl::FindRow(const QString &text, int column, bool caseSensitive,
                              bool wholeText) const
{
    if (column < 0 || column >= m_pModel->columnCount())
        return -1;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int row = 0; row < m_nRowCount; ++row) {
        const QString cell = m_pModel->displayText(row, column);
        if (wholeText ? cell.compare(text, cs) == 0 : cell.contains(text, cs))
            return row;
    }
    return -1;
}

void CBCGPADOGridCtrl::ShowADOError(const ErrorInfo &error)
{
    const QString text = error.code == ErrorCode::RowConflict
        ? u"%1\n\n多用户操作冲突!"_s.arg(error.description)
        : error.description;
    ShowMessage(this, text, LoadResString(128), QMessageBox::Warning);
}

bool CBCGPADOGridCtrl::SetCellValue(int row, int column, const QVariant &value)
{
    const QModelIndex index = m_pModel->index(row, column);
    if (!index.isValid())
        return false;
    const int role = m_pModel->cellKind(column) == RecordsetGridModel::CheckCell
        ? Qt::CheckStateRole
        : Qt::EditRole;
    QVariant input = value;
    if (role == Qt::CheckStateRole && value.typeId() != QMetaType::Int)
        input = value.toBool() ? Qt::Checked : Qt::Unchecked;
    return m_pModel->setData(index, input, role);
}

void CBCGPADOGridCtrl::SetRecordWriter(RecordWriter *writer)
{
    m_pWriter = writer ? writer : RecordWriter::defaultWriter();
}

void CBCGPADOGridCtrl::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    if (readOnly)
        m_pModel->setCommitHandler({});
    else
        m_pModel->setCommitHandler([this](int record, int field, const QVariant &value) {
            return OnItemChanged(record, field, value);
        });
}

QVariant CBCGPADOGridCtrl::GetFieldValue(int row, int field) const
{
    return m_pModel->fieldValue(m_pModel->recordOfRow(row), field);
}

int CBCGPADOGridCtrl::GetCurSel() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void CBCGPADOGridCtrl::SetCurSel(int row, int column)
{
    if (column < 0)
        column = qMax(0, currentIndex().column());
    const QModelIndex index = m_pModel->index(row, column);
    if (!index.isValid())
        return;
    const auto flags = selectionBehavior() == SelectRows
        ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
        : QItemSelectionModel::ClearAndSelect;
    selectionModel()->setCurrentIndex(index, flags);
    scrollTo(index);
}

void CBCGPADOGridCtrl::SetRowHeaderWidth(int width)
{
    verticalHeader()->setVisible(width > 0);
    if (width > 0)
        verticalHeader()->setFixedWidth(width);
}

GridItemInfo CBCGPADOGridCtrl::ItemInfo(const QModelIndex &index) const
{
    GridItemInfo info;
    if (!index.isValid())
        return info;
    info.row = index.row();
    info.column = index.column();
    info.record = m_pModel->recordOfRow(index.row());
    info.value = m_pModel->fieldValue(info.record, info.column);
    return info;
}

bool CBCGPADOGridCtrl::BeginInplaceEdit(const QModelIndex &index)
{
    if (m_bReadOnly || (m_pOwner && m_pOwner->OnGridBeginEdit(ItemInfo(index)) != 0))
        return false;
    m_editIndex = index;
    m_nPendingEndReason = EndByFocus;
    return true;
}

void CBCGPADOGridCtrl::OnInplaceEditorCreated(QWidget *editor, const QModelIndex &index)
{
    Q_UNUSED(index);
    editor->installEventFilter(this);
}

bool CBCGPADOGridCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_nPendingEndReason = EndByEnter;
            break;
        case Qt::Key_Escape:
            m_nPendingEndReason = EndByEscape;
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            m_nPendingEndReason = EndByTab;
            break;
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

bool CBCGPADOGridCtrl::OnItemChanged(int record, int field, const QVariant &value)
{
    if (!m_pSource)
        return false;
    GridItemInfo info = ItemInfo(m_pModel->index(m_pModel->rowOfRecord(record), field));
    info.oldValue = info.value;
    info.value = value;
    if (m_pOwner && m_pOwner->OnGridItemChanged(info) != 0)
        return false;
    m_nLastError = 0;
    const ErrorInfo error = m_pWriter->WriteField(m_pSource->recordRef(record), field, value);
    m_pSource->refresh(record);
    if (error.code == 0)
        return true;
    m_nLastError = error.code;
    ShowADOError(error);
    return false;
}

void CBCGPADOGridCtrl::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    int reason = m_nPendingEndReason;
    m_nPendingEndReason = EndByFocus;
    if (reason == EndByFocus && hint == QAbstractItemDelegate::RevertModelCache)
        reason = EndByEscape;
    GridItemInfo info = ItemInfo(m_editIndex);
    info.endReason = reason;
    m_editIndex = QPersistentModelIndex();
    if (m_pOwner && m_pOwner->OnGridAfterEdit(info) == 0) {
        const bool moves = hint == QAbstractItemDelegate::EditNextItem
            || hint == QAbstractItemDelegate::EditPreviousItem;
        QTableView::closeEditor(editor, moves ? QAbstractItemDelegate::NoHint : hint);
        return;
    }
    OnEndInplaceEdit(editor, hint, info);
}

void CBCGPADOGridCtrl::OnEndInplaceEdit(QWidget *editor, QAbstractItemDelegate::EndEditHint hint,
                                        const GridItemInfo &info)
{
    Q_UNUSED(info);
    QTableView::closeEditor(editor, hint);
}

void CBCGPADOGridCtrl::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        Q_EMIT gridSelChanged(ItemInfo(current));
}

void CBCGPADOGridCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton)
        Q_EMIT gridDblClk(ItemInfo(index));
    QTableView::mouseDoubleClickEvent(event);
}

void CBCGPADOGridCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (event->button() == Qt::RightButton) {
        Q_EMIT gridRButtonUp(
            GridMouseInfo { pos, event->globalPosition().toPoint(), index.row(), index.column() });
    } else if (event->button() == Qt::LeftButton && index.isValid()) {
        const QString url = index.data(RecordsetGridModel::LinkRole).toString();
        if (!url.isEmpty()) {
            static const QMetaMethod signal
                = QMetaMethod::fromSignal(&CBCGPADOGridCtrl::linkClicked);
            Q_EMIT linkClicked(url);
            if (!isSignalConnected(signal))
                QDesktopServices::openUrl(QUrl::fromUserInput(url));
        }
    }
    QTableView::mouseReleaseEvent(event);
}

QVector<int> CBCGPADOGridCtrl::SelectedRows() const
{
    QVector<int> rows;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows << row;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QString CBCGPADOGridCtrl::RowsText(const QVector<int> &rows, int firstColumn) const
{
    QStringList lines;
    const RecordsetGridModel *model = GetGridModel();
    for (const int row : rows) {
        QStringList cells;
        for (int column = firstColumn; column < model->columnCount(); ++column) {
            if (!isColumnHidden(column))
                cells << model->displayText(row, column);
        }
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n');
}

int CBCGPADOGridCtrl::FindRowByKey(const QVariant &key) const
{
    if (!m_pSource)
        return -1;
    const int record = m_pSource->recordOfKey(key);
    return record < 0 ? -1 : m_pModel->rowOfRecord(record);
}

bool CBCGPADOGridCtrl::isFrozenColumn(int column) const
{
    if (m_nFrozenColumns <= 0 || column < 0 || isColumnHidden(column))
        return false;
    int shown = 0;
    for (int c = 0; c <= column; ++c) {
        if (!isColumnHidden(c))
            ++shown;
    }
    return shown <= m_nFrozenColumns;
}

int CBCGPADOGridCtrl::frozenWidth() const
{
    int width = 0;
    for (int column = 0; column < m_pModel->columnCount(); ++column) {
        if (isFrozenColumn(column))
            width += columnWidth(column);
    }
    return width;
}

void CBCGPADOGridCtrl::SetFrozenColumns(int count)
{
    m_nFrozenColumns = qMax(0, count);
    if (!m_pFrozen && m_nFrozenColumns > 0) {
        m_pFrozen = new QTableView(this);
        m_pFrozen->setObjectName(u"frozenColumns"_s);
        m_pFrozen->setModel(m_pModel);
        m_pFrozen->setSelectionModel(selectionModel());
        m_pFrozen->setItemDelegate(itemDelegate());
        m_pFrozen->setEditTriggers(NoEditTriggers);
        m_pFrozen->setFocusPolicy(Qt::NoFocus);
        m_pFrozen->setFrameShape(QFrame::NoFrame);
        m_pFrozen->setWordWrap(false);
        m_pFrozen->verticalHeader()->hide();
        m_pFrozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_pFrozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
        m_pFrozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_pFrozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_pFrozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_pFrozen->setVerticalScrollMode(verticalScrollMode());
        viewport()->stackUnder(m_pFrozen);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, m_pFrozen->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(m_pFrozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
        connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                &CBCGPADOGridCtrl::syncFrozenColumns);
        connect(m_pModel, &QAbstractItemModel::modelReset, this,
                &CBCGPADOGridCtrl::syncFrozenColumns, Qt::QueuedConnection);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
                &CBCGPADOGridCtrl::syncFrozenColumns);
        // A double click in the frozen part is one in the grid, and edits there.
        connect(m_pFrozen, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
            Q_EMIT gridDblClk(ItemInfo(index));
            setCurrentIndex(index);
            edit(index, DoubleClicked, nullptr);
        });
    }
    // Frozen columns stay whole beside columns that scroll by the pixel.
    if (m_nFrozenColumns > 0)
        setHorizontalScrollMode(ScrollPerPixel);
    if (m_pFrozen) {
        m_pFrozen->setSelectionBehavior(selectionBehavior());
        m_pFrozen->setSelectionMode(selectionMode());
    }
    syncFrozenColumns();
}

void CBCGPADOGridCtrl::syncFrozenColumns()
{
    if (!m_pFrozen)
        return;
    if (m_nFrozenColumns <= 0 || m_pModel->columnCount() == 0) {
        m_pFrozen->hide();
        return;
    }
    for (int column = 0; column < m_pModel->columnCount(); ++column) {
        const bool frozen = isFrozenColumn(column);
        m_pFrozen->setColumnHidden(column, !frozen);
        if (frozen)
            m_pFrozen->setColumnWidth(column, columnWidth(column));
    }
    m_pFrozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_pFrozen->setGeometry(
        frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0),
        frameWidth(), frozenWidth(), viewport()->height() + horizontalHeader()->height());
    m_pFrozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
    // Scrolled home, the frozen columns are in their own place in the grid.
    m_pFrozen->setVisible(frozenWidth() > 0 && horizontalScrollBar()->value() > 0);
}

bool CBCGPADOGridCtrl::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // An editor under the frozen columns would be hidden: the grid scrolls home first.
    if ((editTriggers() & trigger) && isFrozenColumn(index.column())
        && horizontalScrollBar()->value() > 0 && (index.flags() & Qt::ItemIsEditable))
        horizontalScrollBar()->setValue(0);
    return QTableView::edit(index, trigger, event);
}

void CBCGPADOGridCtrl::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    syncFrozenColumns();
}

void CBCGPADOGridCtrl::updateGeometries()
{
    QTableView::updateGeometries();
    syncFrozenColumns();
}

QModelIndex CBCGPADOGridCtrl::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Moving left brings a cell hidden under the frozen columns back into sight.
    const int covered = frozenWidth();
    if (cursorAction == MoveLeft && current.isValid() && !isFrozenColumn(current.column())
        && visualRect(current).left() < covered)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + visualRect(current).left()
                                        - covered);
    return current;
}

void CBCGPADOGridCtrl::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // A frozen cell is always in sight across: only the rows scroll.
    const int across = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (isFrozenColumn(index.column()))
        horizontalScrollBar()->setValue(across);
}
