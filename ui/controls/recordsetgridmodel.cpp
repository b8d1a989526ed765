#include "ui/controls/recordsetgridmodel.h"

#include "core/db/rowset.h"
#include "core/db/valuetext.h"
#include "ui/controls/gridrowsource.h"

#include <QDateTime>
#include <QFont>
#include <QRegularExpression>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

bool isNumeric(FieldKind kind)
{
    return kind == FieldKind::Integer || kind == FieldKind::BigInt || kind == FieldKind::Double;
}

QString dateFormatOf(RecordsetGridModel::DateDisplay display)
{
    switch (display) {
    case RecordsetGridModel::DateAndTime:
        return u"yyyy-MM-dd HH:mm:ss"_s;
    case RecordsetGridModel::TimeOnly:
        return u"HH:mm:ss"_s;
    case RecordsetGridModel::DateOnly:
        break;
    }
    return u"yyyy-MM-dd"_s;
}

QString plainText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return DoubleToText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? u"True"_s : u"False"_s;
    case QMetaType::QByteArray:
        return {};
    default:
        return value.toString();
    }
}

} // namespace

RecordsetGridModel::RecordsetGridModel(QObject *parent) : QAbstractTableModel(parent) { }

void RecordsetGridModel::clear(bool keepColumns)
{
    beginResetModel();
    m_pSource = nullptr;
    m_rowCount = 0;
    m_order.clear();
    m_rowOfRec.clear();
    m_recordBackground.clear();
    if (!keepColumns)
        m_columns.clear();
    endResetModel();
}

void RecordsetGridModel::setRecordBackground(int record, const QColor &color)
{
    if (color.isValid())
        m_recordBackground.insert(record, color);
    else
        m_recordBackground.remove(record);
    const int row = rowOfRecord(record);
    if (row >= 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1),
                           { Qt::BackgroundRole });
}

void RecordsetGridModel::attach(GridRowSource *source, bool keepColumns)
{
    beginResetModel();
    m_pSource = source;
    m_rowCount = source ? source->rowCount() : 0;
    m_order.clear();
    m_rowOfRec.clear();
    m_recordBackground.clear();
    const int fields = source ? source->fieldCount() : 0;
    if (!keepColumns || m_columns.size() != fields)
        buildColumns();
    endResetModel();
}

void RecordsetGridModel::buildColumns()
{
    m_columns.clear();
    if (!m_pSource)
        return;
    const int fields = m_pSource->fieldCount();
    m_columns.reserve(fields);
    for (int i = 0; i < fields; ++i) {
        Column column;
        column.title = m_pSource->fieldName(i);
        column.kind = m_pSource->fieldKind(i);
        if (column.kind == FieldKind::DateTime)
            column.cell = DateCell;
        else if (column.kind == FieldKind::Boolean)
            column.cell = CheckCell;
        m_columns.push_back(column);
    }
}

int RecordsetGridModel::recordOfRow(int row) const
{
    if (row < 0 || row >= m_rowCount)
        return -1;
    return m_order.isEmpty() ? row : m_order.at(row);
}

int RecordsetGridModel::rowOfRecord(int record) const
{
    if (record < 0 || record >= m_rowCount)
        return -1;
    return m_rowOfRec.isEmpty() ? record : m_rowOfRec.at(record);
}

QVariant RecordsetGridModel::fieldValue(int record, int field) const
{
    if (!m_pSource || record < 0 || record >= m_rowCount)
        return {};
    return m_pSource->value(record, field);
}

void RecordsetGridModel::refreshRecord(int record)
{
    if (m_pSource && record >= 0 && record < m_rowCount)
        m_pSource->refresh(record);
    const int row = rowOfRecord(record);
    if (row >= 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

QString RecordsetGridModel::columnTitle(int column) const
{
    return validColumn(column) ? m_columns.at(column).title : QString();
}

void RecordsetGridModel::setColumnTitle(int column, const QString &title)
{
    if (!validColumn(column))
        return;
    m_columns[column].title = title;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

RecordsetGridModel::CellKind RecordsetGridModel::cellKind(int column) const
{
    return validColumn(column) ? m_columns.at(column).cell : PlainCell;
}

void RecordsetGridModel::setCellKind(int column, CellKind kind)
{
    if (!validColumn(column))
        return;
    m_columns[column].cell = kind;
    if (m_rowCount > 0)
        Q_EMIT dataChanged(index(0, column), index(m_rowCount - 1, column));
}

RecordsetGridModel::DateDisplay RecordsetGridModel::dateDisplay(int column) const
{
    return validColumn(column) ? m_columns.at(column).dates : DateOnly;
}

void RecordsetGridModel::setDateDisplay(int column, DateDisplay display)
{
    if (!validColumn(column))
        return;
    m_columns[column].dates = display;
    if (m_rowCount > 0)
        Q_EMIT dataChanged(index(0, column), index(m_rowCount - 1, column));
}

RecordsetGridModel::ColumnFormat RecordsetGridModel::columnFormat(int column) const
{
    return validColumn(column) ? m_columns.at(column).format : ColumnFormat();
}

void RecordsetGridModel::setColumnFormat(int column, const ColumnFormat &format)
{
    if (!validColumn(column) || m_columns.at(column).format == format)
        return;
    m_columns[column].format = format;
    if (m_rowCount > 0)
        Q_EMIT dataChanged(index(0, column), index(m_rowCount - 1, column));
}

FieldKind RecordsetGridModel::fieldKind(int column) const
{
    return validColumn(column) ? m_columns.at(column).kind : FieldKind::Unknown;
}

Qt::Alignment RecordsetGridModel::columnAlignment(int column) const
{
    if (cellKind(column) == CheckCell || fieldKind(column) == FieldKind::Boolean)
        return Qt::AlignCenter;
    if (isNumeric(fieldKind(column)))
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

bool RecordsetGridModel::ParseURLString(const QString &text, QString *url)
{
    static const QRegularExpression link(
        u"^(?:(?:https?|ftp|file)://\\S+|mailto:\\S+@\\S+|www\\.\\S+\\.\\S+)$"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !link.match(trimmed).hasMatch())
        return false;
    if (url)
        *url
            = trimmed.startsWith(u"www."_s, Qt::CaseInsensitive) ? u"http://"_s + trimmed : trimmed;
    return true;
}

QString RecordsetGridModel::displayText(int row, int column) const
{
    return displayTextOfRecord(recordOfRow(row), column);
}

QString RecordsetGridModel::displayTextOfRecord(int record, int column) const
{
    if (!validColumn(column) || record < 0)
        return {};
    const Column &c = m_columns.at(column);
    if (c.cell == CheckCell)
        return {};
    const QVariant value = fieldValue(record, column);
    if (isNullValue(value))
        return {};
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(dateFormatOf(c.dates));
    return plainText(value);
}

QVariant RecordsetGridModel::editValue(int record, int column) const
{
    const QVariant value = fieldValue(record, column);
    const Column &c = m_columns.at(column);
    if (c.cell == DateCell) {
        const QDateTime when = isNullValue(value) ? QDateTime() : value.toDateTime();
        return c.dates == DateOnly ? QVariant(when.date()) : QVariant(when);
    }
    if (isNullValue(value))
        return QString();
    if (value.typeId() == QMetaType::Double)
        return DoubleToText(value.toDouble());
    return value;
}

QVariant RecordsetGridModel::checkState(int record, int column) const
{
    const QVariant value = fieldValue(record, column);
    const bool on = !isNullValue(value)
        && (value.typeId() == QMetaType::Bool ? value.toBool() : value.toLongLong() != 0);
    return on ? Qt::Checked : Qt::Unchecked;
}

int RecordsetGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int RecordsetGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool RecordsetGridModel::isCell(const QModelIndex &index) const
{
    // Views ask about the root freely; an index of another model is a mistake the check logs.
    return index.isValid()
        && checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid);
}

QVariant RecordsetGridModel::data(const QModelIndex &index, int role) const
{
    if (!isCell(index))
        return {};
    const int record = recordOfRow(index.row());
    const int column = index.column();
    const Column &c = m_columns.at(column);
    switch (role) {
    case Qt::DisplayRole:
        return displayTextOfRecord(record, column);
    case Qt::EditRole:
        return c.cell == CheckCell ? checkState(record, column) : editValue(record, column);
    case Qt::CheckStateRole:
        return c.cell == CheckCell ? checkState(record, column) : QVariant();
    case Qt::TextAlignmentRole:
        return int(columnAlignment(column));
    case Qt::ForegroundRole:
        return c.format.text.isValid() ? QVariant(c.format.text) : QVariant();
    case Qt::BackgroundRole:
        if (const auto marked = m_recordBackground.constFind(record);
            marked != m_recordBackground.cend())
            return *marked;
        return c.format.background.isValid() ? QVariant(c.format.background) : QVariant();
    case Qt::FontRole: {
        if (!c.format.bold)
            return {};
        QFont font;
        font.setBold(true);
        return font;
    }
    case RecordRole:
        return record;
    case LinkRole: {
        QString url;
        if (c.kind != FieldKind::Text || c.cell != PlainCell
            || !ParseURLString(fieldValue(record, column).toString(), &url))
            return {};
        return url;
    }
    case CellKindRole:
        return int(c.cell);
    case FieldKindRole:
        return int(c.kind);
    default:
        return {};
    }
}

QVariant RecordsetGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < m_rowCount)
            return section + 1;
        return {};
    }
    if (!validColumn(section))
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section).title;
    if (role == Qt::TextAlignmentRole)
        return int(columnAlignment(section));
    return {};
}

Qt::ItemFlags RecordsetGridModel::flags(const QModelIndex &index) const
{
    // The root of a table holds no cell: nothing to select, edit or drop on.
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (!isEditable() || m_columns.at(index.column()).kind == FieldKind::Binary)
        return flags;
    if (m_columns.at(index.column()).cell == CheckCell)
        return flags | Qt::ItemIsUserCheckable;
    return flags | Qt::ItemIsEditable;
}

bool RecordsetGridModel::toFieldValue(int column, const QVariant &input, QVariant *value) const
{
    const Column &c = m_columns.at(column);
    *value = QVariant();
    if (c.cell == CheckCell) {
        const bool on = input.toInt() == Qt::Checked;
        *value = c.kind == FieldKind::Boolean ? QVariant(on) : QVariant(on ? 1 : 0);
        return true;
    }
    if (isNullValue(input))
        return true;
    if (input.typeId() == QMetaType::QDate || input.typeId() == QMetaType::QDateTime) {
        const QDateTime when
            = input.typeId() == QMetaType::QDate ? input.toDate().startOfDay() : input.toDateTime();
        if (when.isValid())
            *value = when;
        return true;
    }
    const QString text = input.toString().trimmed();
    if (text.isEmpty())
        return true;
    bool ok = true;
    switch (c.kind) {
    case FieldKind::Integer:
    case FieldKind::BigInt:
        *value = text.toLongLong(&ok);
        break;
    case FieldKind::Double:
        *value = text.toDouble(&ok);
        break;
    case FieldKind::DateTime:
        *value = SqlDialect::parseDateTimeText(text);
        ok = value->toDateTime().isValid();
        break;
    default:
        *value = input.toString();
    }
    return ok;
}

bool RecordsetGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isCell(index) || !m_commit)
        return false;
    const bool check = m_columns.at(index.column()).cell == CheckCell;
    if ((check && role != Qt::CheckStateRole && role != Qt::EditRole)
        || (!check && role != Qt::EditRole))
        return false;
    QVariant fieldValue;
    if (!toFieldValue(index.column(), value, &fieldValue))
        return false;
    const bool written = m_commit(recordOfRow(index.row()), index.column(), fieldValue);
    // A refused change may have put the record back: show it as it is now either way.
    Q_EMIT dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(columnCount() - 1));
    return written;
}

void RecordsetGridModel::sort(int column, Qt::SortOrder order)
{
    if (!validColumn(column) && m_order.isEmpty())
        return;
    if (!validColumn(column) || !m_pSource) {
        setOrder({});
        return;
    }
    setOrder(m_pSource->sortedOrder(column, order == Qt::AscendingOrder));
}

void RecordsetGridModel::setOrder(QVector<int> order)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QVector<int> records;
    records.reserve(before.size());
    for (const QModelIndex &index : before)
        records.push_back(recordOfRow(index.row()));

    m_order = std::move(order);
    m_rowOfRec.clear();
    if (!m_order.isEmpty()) {
        m_rowOfRec.resize(m_order.size());
        for (int row = 0; row < m_order.size(); ++row)
            m_rowOfRec[m_order.at(row)] = row;
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (int i = 0; i < before.size(); ++i)
        after.push_back(index(rowOfRecord(records.at(i)), before.at(i).column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
