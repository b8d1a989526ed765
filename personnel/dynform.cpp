#include "personnel/dynform.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/util/stringtable.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

// Stored dates up to this day are what the old program wrote for "no date".
const QDate zeroDate(1899, 12, 30);

bool isBlank(const QVariant &value)
{
    return !value.isValid() || value.isNull() || value.toString().isEmpty();
}

bool namesAreIdentifiers(const QString &table, const QString &keyColumn, const QStringList &columns)
{
    return IsSqlIdentifier(table) && IsSqlIdentifier(keyColumn)
        && std::all_of(columns.cbegin(), columns.cend(), IsSqlIdentifier);
}

QStringList columnsOf(const CItemInfoArray &items)
{
    QStringList columns;
    for (const tagVANTRELITEMINFO &item : items)
        columns << item.Name;
    return columns;
}

QDate storedDate(const QVariant &stored)
{
    if (stored.typeId() == QMetaType::QDateTime)
        return stored.toDateTime().date();
    if (stored.typeId() == QMetaType::QDate)
        return stored.toDate();
    const QString text = stored.toString();
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date;
}

} // namespace

Result<CItemInfoArray> LoadFormItems(CADODatabase &db, const QString &tableName)
{
    const vantrel::db::QueryResult result = db.run(
        u"SELECT ItemID, Name, Alias, bFixed, bNotNull, IdRef, DefValue, iDataType, iLength,"
        " iDec, iChoice, iFlag FROM qz_Items WHERE upper(TblName) = upper(?)"
        " AND iDataType <> 5 AND iFlag <> 2 ORDER BY Ord"_s,
        { tableName });
    if (!result.ok)
        return Result<CItemInfoArray>::failure(result.error.description);
    CItemInfoArray items;
    for (int row = 0; row < result.rows.rowCount(); ++row) {
        const auto at = [&](int column) { return result.rows.value(row, column); };
        tagVANTRELITEMINFO item;
        item.ItemID = at(0).toInt();
        item.Name = at(1).toString();
        item.Alias = at(2).toString();
        item.bFixed = at(3).toInt();
        item.bNotNull = at(4).toInt();
        item.IdRef = at(5).toString();
        item.DefValue = at(6).toString();
        item.iDataType = short(at(7).toInt());
        item.iLength = at(8).toInt();
        item.iDec = short(at(9).toInt());
        item.iChoice = short(at(10).toInt());
        item.iFlag = short(at(11).toInt());
        items << item;
    }
    return items;
}

std::optional<double> ParseNumberText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0;
    bool ok = false;
    double value = QLocale::system().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QDate ParseDateText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QDate regional = QLocale::system().toDate(trimmed, QLocale::ShortFormat);
    if (regional.isValid())
        return regional;
    return QDate::fromString(trimmed, Qt::ISODate);
}

QString NumberText(double value)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

FieldContent FieldContentFromStored(const tagVANTRELITEMINFO &item, const QVariant &stored)
{
    switch (item.iDataType) {
    case ItemDate: {
        if (isBlank(stored))
            return QDate();
        const QDate date = storedDate(stored);
        return date.isValid() && date > zeroDate ? date : QDate();
    }
    case ItemLink:
        return isBlank(stored) ? 0 : stored.toInt();
    case ItemNumber:
        return isBlank(stored) ? QString() : NumberText(stored.toDouble());
    default:
        return isBlank(stored) ? QString() : stored.toString();
    }
}

FieldContent FieldDefault(const tagVANTRELITEMINFO &item)
{
    switch (item.iDataType) {
    case ItemDate:
        return ParseDateText(item.DefValue);
    case ItemLink:
        return 0;
    default:
        return item.DefValue;
    }
}

Result<QVariant> StoredValueFromContent(const tagVANTRELITEMINFO &item, const FieldContent &content)
{
    switch (item.iDataType) {
    case ItemNumber: {
        const std::optional<double> number = ParseNumberText(content.toString());
        if (!number)
            return Result<QVariant>::failure(u"'%1'为数值类型!"_s.arg(item.Alias));
        return QVariant(*number);
    }
    case ItemDate: {
        const QDate date = content.typeId() == QMetaType::QDate ? content.toDate()
                                                                : ParseDateText(content.toString());
        if (!date.isValid())
            return QVariant(QMetaType(QMetaType::QDateTime));
        return QVariant(QDateTime(date, QTime(0, 0)));
    }
    case ItemLink:
        return QVariant(content.toInt());
    default: {
        const QString text = content.toString();
        if (item.iLength > 0 && text.size() > item.iLength)
            return Result<QVariant>::failure(
                u"'%1'的长度不能超过%2个字符!"_s.arg(item.Alias).arg(item.iLength));
        return QVariant(text);
    }
    }
}

bool IsFieldEmpty(const tagVANTRELITEMINFO &item, const FieldContent &content)
{
    switch (item.iDataType) {
    case ItemNumber:
        return false;
    case ItemDate:
        return !(content.typeId() == QMetaType::QDate ? content.toDate()
                                                      : ParseDateText(content.toString()))
                    .isValid();
    case ItemLink:
        return content.toInt() == 0;
    default:
        return content.toString().isEmpty();
    }
}

int FirstMissingRequired(const CItemInfoArray &items, const FieldContents &contents)
{
    for (int i = 0; i < items.size() && i < contents.size(); ++i) {
        if (items.at(i).bNotNull != 0 && IsFieldEmpty(items.at(i), contents.at(i)))
            return i;
    }
    return -1;
}

QString RequiredMessage(const tagVANTRELITEMINFO &item)
{
    return u"'%1'为必填项!"_s.arg(item.Alias);
}

Result<std::optional<FieldContents>> LoadFormRecord(CADODatabase &db, const QString &table,
                                                    const QString &keyColumn, int key,
                                                    const CItemInfoArray &items)
{
    using Answer = Result<std::optional<FieldContents>>;
    const QStringList columns = columnsOf(items);
    if (items.isEmpty())
        return Answer(std::optional<FieldContents>(FieldContents()));
    if (!namesAreIdentifiers(table, keyColumn, columns))
        return Answer::failure(u"Invalid names for the form of '%1'."_s.arg(table));
    const vantrel::db::QueryResult result = db.run(
        u"SELECT %1 FROM %2 WHERE %3 = ?"_s.arg(columns.join(u", "_s), table, keyColumn), { key });
    if (!result.ok)
        return Answer::failure(result.error.description);
    if (result.rows.rowCount() == 0)
        return Answer(std::optional<FieldContents>());
    FieldContents contents;
    for (int i = 0; i < items.size(); ++i)
        contents << FieldContentFromStored(items.at(i), result.rows.value(0, i));
    return Answer(std::optional<FieldContents>(contents));
}

RowWrite WriteFormRow(CADODatabase &db, const QString &table, const QString &keyColumn, int key,
                      const QStringList &columns, const QVariantList &values)
{
    RowWrite write;
    if (!namesAreIdentifiers(table, keyColumn, columns) || columns.size() != values.size()
        || columns.isEmpty()) {
        write.error = u"Invalid write into '%1'."_s.arg(table);
        return write;
    }
    if (key == 0) {
        const vantrel::db::QueryResult result
            = db.run(u"INSERT INTO %1 (%2) VALUES (%3) RETURNING %4"_s.arg(
                         table, columns.join(u", "_s),
                         QStringList(columns.size(), u"?"_s).join(u", "_s), keyColumn),
                     values);
        if (!result.hasRow()) {
            write.error = result.ok ? u"The insert gave no key."_s : result.error.description;
            return write;
        }
        write.outcome = RowWrite::Written;
        write.key = result.scalar().toInt();
        return write;
    }
    QStringList assignments;
    for (const QString &column : columns)
        assignments << column + u" = ?"_s;
    QVariantList bound = values;
    bound << key;
    const vantrel::db::QueryResult result = db.run(
        u"UPDATE %1 SET %2 WHERE %3 = ?"_s.arg(table, assignments.join(u", "_s), keyColumn), bound);
    if (!result.ok) {
        write.error = result.error.description;
        return write;
    }
    write.outcome = result.rowsAffected > 0 ? RowWrite::Written : RowWrite::Gone;
    write.key = key;
    return write;
}

QStringList ConversionMessages(const tagVANTRELITEMINFO &item, const QString &message)
{
    if (item.iDataType == ItemNumber)
        return { message, u"保存出错!"_s };
    return { message };
}

QString SaveErrorMessage(const QString &reason)
{
    return reason.isEmpty() ? u"保存出错!"_s : u"保存出错!\n"_s + reason;
}

FormSaveResult SaveFormRecord(CADODatabase &db, const QString &table, const QString &keyColumn,
                              int key, const CItemInfoArray &items, const FieldContents &contents)
{
    if (items.isEmpty() || contents.size() != items.size())
        return FormSaveResult::failed({ u"保存出错!"_s });
    QVariantList values;
    for (int i = 0; i < items.size(); ++i) {
        const Result<QVariant> value = StoredValueFromContent(items.at(i), contents.at(i));
        if (!value)
            return FormSaveResult::failed(ConversionMessages(items.at(i), value.error()));
        values << *value;
    }
    vantrel::db::DbTransaction transaction(db);
    const RowWrite write = WriteFormRow(db, table, keyColumn, key, columnsOf(items), values);
    if (write.outcome == RowWrite::Gone)
        return FormSaveResult::failed({ LoadResString(133) });
    if (write.outcome == RowWrite::Failed)
        return FormSaveResult::failed({ SaveErrorMessage(write.error) });
    if (!transaction.commit())
        return FormSaveResult::failed({ SaveErrorMessage(db.GetLastErrorString()) });
    FormSaveResult saved;
    saved.key = write.key;
    return saved;
}

} // namespace vantrel::personnel
