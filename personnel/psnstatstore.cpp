#include "personnel/psnstatstore.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/query/ordermoves.h"
#include "core/util/stringhelpers.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

const QString &definitionColumns()
{
    static const QString columns = u"TID, sCaption, sFlag, bFixed, sTblName, sFldName, Ord"_s;
    return columns;
}

StatDefinition definitionAt(const db::RowSet &rows, int row)
{
    return { rows.value(row, 0).toInt(),    rows.value(row, 1).toString(),
             rows.value(row, 2).toInt(),    rows.value(row, 3).toInt() != 0,
             rows.value(row, 4).toString(), rows.value(row, 5).toString(),
             rows.value(row, 6).toInt() };
}

Status statusOf(const db::QueryResult &result)
{
    return result.ok ? Status() : Status::failure(result.error.description);
}

// Inserts a definition and gives it its own TID as Ord, so that it sorts last.
Result<int> insertDefinition(CADODatabase &db, const QString &caption, int flag,
                             const QString &table, const QString &field)
{
    const db::QueryResult inserted
        = db.run(u"INSERT INTO qz_Stat (sCaption, sFlag, bFixed, sTblName, sFldName, Ord)"
                 " VALUES (?, ?, 0, ?, ?, 0) RETURNING TID"_s,
                 { caption, flag, table, field });
    if (!inserted.ok)
        return Result<int>::failure(inserted.error.description);
    const int tid = inserted.scalar().toInt();
    if (tid <= 0)
        return Result<int>::failure(u"The new statistic got no TID."_s);
    if (Status ordered
        = statusOf(db.run(u"UPDATE qz_Stat SET Ord = ? WHERE TID = ?"_s, { tid, tid }));
        !ordered)
        return Result<int>::failure(ordered.error());
    return tid;
}

// Rewrites the columns of an existing definition; false when it is gone.
Result<bool> rewriteDefinition(CADODatabase &db, int tid, const QStringList &columns,
                               QVariantList values)
{
    QStringList sets;
    for (const QString &column : columns)
        sets << column + u" = ?"_s;
    const db::QueryResult updated
        = db.run(u"UPDATE qz_Stat SET %1 WHERE TID = ?"_s.arg(sets.join(u", "_s)), values << tid);
    if (!updated.ok)
        return Result<bool>::failure(updated.error.description);
    return updated.rowsAffected > 0;
}

// The stored text of a bound; nullopt when the bound is no number or date of the item's type.
std::optional<QString> storedBound(int dataType, const QString &text)
{
    if (dataType == StatDateItem) {
        const QDate date = ParseStatDate(text);
        return date.isValid() ? std::optional(date.toString(u"yyyy-MM-dd"_s)) : std::nullopt;
    }
    QString number = text;
    return IsNumericText(number) ? std::optional(number) : std::nullopt;
}

Result<QVector<StatRange>> storedRanges(int dataType, const QVector<StatRange> &ranges)
{
    const auto refused = [] { return Result<QVector<StatRange>>::failure(u"区段设置有错误!"_s); };
    if (ranges.isEmpty())
        return refused();
    QVector<StatRange> stored;
    for (const StatRange &range : ranges) {
        const std::optional<QString> lower = storedBound(dataType, range.lower);
        const std::optional<QString> upper = storedBound(dataType, range.upper);
        if (range.title.trimmed().isEmpty() || !lower || !upper)
            return refused();
        stored.append({ range.id, range.title, *lower, *upper });
    }
    return stored;
}

Status writeRange(CADODatabase &db, int tid, int ord, const StatRange &range)
{
    CADOCommand command(&db, u"qz_AddStatItmFilter"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, range.id);
    command.AddParameterInt(u"TID"_s, adInteger, adParamInput, 4, tid);
    command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 200, range.title);
    command.AddParameterText(u"LowerVal"_s, adVarChar, adParamInput, 50, range.lower);
    command.AddParameterText(u"UperVal"_s, adVarChar, adParamInput, 50, range.upper);
    command.AddParameterInt(u"Ord"_s, adInteger, adParamInput, 4, ord);
    if (command.Execute())
        return {};
    return Status::failure(command.GetLastErrorString());
}

Result<int> commitWith(db::DbTransaction &transaction, CADODatabase &db, int tid)
{
    if (!transaction.commit())
        return Result<int>::failure(db.GetLastErrorString());
    return tid;
}

} // namespace

Result<std::optional<StatDefinition>> LoadStatDefinition(CADODatabase &db, int tid)
{
    const db::QueryResult result
        = db.run(u"SELECT %1 FROM qz_Stat WHERE TID = ?"_s.arg(definitionColumns()), { tid });
    if (!result.ok)
        return Result<std::optional<StatDefinition>>::failure(result.error.description);
    if (!result.hasRow())
        return std::optional<StatDefinition>();
    return std::optional(definitionAt(result.rows, 0));
}

Result<QVector<StatDefinition>> LoadStatGroup(CADODatabase &db, int flag)
{
    const db::QueryResult result = db.run(
        u"SELECT %1 FROM qz_Stat WHERE sFlag = ? ORDER BY Ord, TID"_s.arg(definitionColumns()),
        { flag });
    if (!result.ok)
        return Result<QVector<StatDefinition>>::failure(result.error.description);
    QVector<StatDefinition> definitions;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        definitions.append(definitionAt(result.rows, row));
    return definitions;
}

Result<QVector<StatRange>> LoadStatRanges(CADODatabase &db, int tid)
{
    const db::QueryResult result
        = db.run(u"SELECT id, fTitle, LowerVal, UperVal FROM qz_StatItmFilter WHERE TID = ?"
                 " ORDER BY Ord, id"_s,
                 { tid });
    if (!result.ok)
        return Result<QVector<StatRange>>::failure(result.error.description);
    QVector<StatRange> ranges;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        ranges.append({ result.rows.value(row, 0).toInt(), result.rows.value(row, 1).toString(),
                        result.rows.value(row, 2).toString(),
                        result.rows.value(row, 3).toString() });
    return ranges;
}

Result<std::optional<StatItem>> LoadStatItem(CADODatabase &db, const QString &table,
                                             const QString &field)
{
    const db::QueryResult result
        = db.run(u"SELECT TblName, Name, Alias, iDataType, IdRef FROM qz_Items"
                 " WHERE UPPER(Name)=UPPER(?) AND UPPER(TblName)=UPPER(?) ORDER BY ItemID"_s,
                 { field, table });
    if (!result.ok)
        return Result<std::optional<StatItem>>::failure(result.error.description);
    if (!result.hasRow())
        return std::optional<StatItem>();
    const db::RowSet &rows = result.rows;
    return std::optional(StatItem { rows.value(0, 0).toString(), rows.value(0, 1).toString(),
                                    rows.value(0, 2).toString(), rows.value(0, 3).toInt(),
                                    rows.value(0, 4).toString() });
}

QDate ParseStatDate(const QString &text)
{
    // Year, month and day between '-', '/' or '.', then anything (a time) after a blank or 'T'.
    static const QRegularExpression pattern(
        u"^\\s*(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T].*)?\\s*$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

std::optional<double> ParseStatNumber(const QString &text)
{
    QString number = text;
    if (!IsNumericText(number))
        return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

Result<int> SaveStat1D(CADODatabase &db, const StatDefinition &definition, int dataType,
                       const QVector<StatRange> &ranges)
{
    const QString caption = definition.caption.trimmed();
    if (caption.isEmpty())
        return Result<int>::failure(u"标题不能为空!"_s);
    QVector<StatRange> stored;
    if (CountsByRanges(dataType)) {
        Result<QVector<StatRange>> checked = storedRanges(dataType, ranges);
        if (!checked)
            return Result<int>::failure(checked.error());
        stored = std::move(checked).value();
    }
    db::DbTransaction transaction(db);
    if (!transaction.isActive())
        return Result<int>::failure(db.GetLastErrorString());
    int tid = definition.tid;
    if (tid != 0) {
        const Result<bool> rewritten = rewriteDefinition(db, tid, { u"sCaption"_s }, { caption });
        if (!rewritten)
            return Result<int>::failure(rewritten.error());
        if (!*rewritten)
            tid = 0;
    }
    if (tid == 0) {
        const Result<int> inserted
            = insertDefinition(db, caption, 1, definition.table, definition.field);
        if (!inserted)
            return inserted;
        tid = *inserted;
        // The ranges of a definition deleted meanwhile went with it.
        if (definition.tid != 0) {
            for (StatRange &range : stored)
                range.id = 0;
        }
    }
    for (int ord = 0; ord < stored.size(); ++ord) {
        if (Status written = writeRange(db, tid, ord, stored.at(ord)); !written)
            return Result<int>::failure(written.error());
    }
    return commitWith(transaction, db, tid);
}

Result<int> SaveStat2D(CADODatabase &db, int tid, const QString &caption, int horzTid, int vertTid)
{
    const QString title = caption.trimmed();
    if (title.isEmpty())
        return Result<int>::failure(u"标题不能为空!"_s);
    const db::QueryResult sides
        = db.run(u"SELECT COUNT(*), SUM(CASE WHEN UPPER(sTblName)='QZ_PSNBASE' THEN 1 ELSE 0 END)"
                 " FROM qz_Stat WHERE sFlag = 1 AND TID IN (?, ?)"_s,
                 { horzTid, vertTid });
    if (!sides.ok)
        return Result<int>::failure(sides.error.description);
    if (horzTid == vertTid || sides.rows.value(0, 0).toInt() != 2
        || sides.rows.value(0, 1).toInt() == 0)
        return Result<int>::failure(u"不能创建这两横纵指标统计项!"_s);
    const QString horz = QString::number(horzTid);
    const QString vert = QString::number(vertTid);
    db::DbTransaction transaction(db);
    if (!transaction.isActive())
        return Result<int>::failure(db.GetLastErrorString());
    if (tid != 0) {
        const Result<bool> rewritten = rewriteDefinition(
            db, tid, { u"sCaption"_s, u"sTblName"_s, u"sFldName"_s }, { title, horz, vert });
        if (!rewritten)
            return Result<int>::failure(rewritten.error());
        if (*rewritten)
            return commitWith(transaction, db, tid);
    }
    const Result<int> inserted = insertDefinition(db, title, 2, horz, vert);
    if (!inserted)
        return inserted;
    return commitWith(transaction, db, *inserted);
}

Status DeleteStatRange(CADODatabase &db, int id)
{
    if (id == 0)
        return {};
    return statusOf(db.run(u"DELETE FROM qz_StatItmFilter WHERE id = ?"_s, { id }));
}

Status DeleteStat(CADODatabase &db, int tid)
{
    db::DbTransaction transaction(db);
    if (!transaction.isActive())
        return Status::failure(db.GetLastErrorString());
    const QString key = QString::number(tid);
    const db::QueryResult crosses
        = db.run(u"SELECT c.sCaption, s.sCaption FROM qz_Stat c, qz_Stat s"
                 " WHERE c.sFlag = 2 AND s.TID = ? AND (c.sTblName = ? OR c.sFldName = ?)"
                 " ORDER BY c.Ord, c.TID"_s,
                 { tid, key, key });
    if (!crosses.ok)
        return Status::failure(crosses.error.description);
    if (crosses.hasRow())
        return Status::failure(u"统计项'%1'已被二维统计项'%2'引用,不能删除!"_s.arg(
            crosses.rows.value(0, 1).toString(), crosses.rows.value(0, 0).toString()));
    for (const QString &sql : { u"DELETE FROM qz_StatItmFilter WHERE TID = ?"_s,
                                u"DELETE FROM qz_Stat WHERE TID = ?"_s }) {
        if (Status deleted = statusOf(db.run(sql, { tid })); !deleted)
            return deleted;
    }
    if (!transaction.commit())
        return Status::failure(db.GetLastErrorString());
    return {};
}

Status MoveStat(int tidMove, int tidTarget, int flag)
{
    if (tidMove == tidTarget)
        return {};
    // The check and the move see the same rows.
    db::DbTransaction transaction(theDatabase);
    if (!transaction.isActive())
        return Status::failure(theDatabase.GetLastErrorString());
    const db::QueryResult members
        = theDatabase.run(u"SELECT COUNT(*) FROM qz_Stat WHERE sFlag = ? AND TID IN (?, ?)"_s,
                          { flag, tidMove, tidTarget });
    if (!members.ok)
        return Status::failure(members.error.description);
    if (members.scalar().toInt() != 2)
        return Status::failure(
            u"The statistics %1 and %2 are not two of one group."_s.arg(tidMove).arg(tidTarget));
    if (Status moved = MoveOrderPosition(
            { u"qz_Stat"_s, u"TID"_s, u"Ord"_s, u"sFlag = ?"_s, { flag } }, tidMove, tidTarget);
        !moved)
        return moved;
    if (!transaction.commit())
        return Status::failure(theDatabase.GetLastErrorString());
    return {};
}

} // namespace vantrel::personnel
