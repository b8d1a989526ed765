#include "core/query/querybuilders.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"

#include <QDebug>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// PostgreSQL cuts longer names silently.
constexpr int MaxAliasBytes = 63;

// The longest start of the text that fits the byte count in UTF-8, whole characters only.
QString clipToUtf8Bytes(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size()
            && text.at(end + 1).isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(text.at(end), text.at(end + 1))
                                   : char32_t(text.at(end).unicode());
        const int width = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

// The name as a lookup may meet it: field lookups ignore case, and Qt's SQLite driver drops
// double quotes from the names it reports.
QString nameKey(const QString &name)
{
    QString key = name.toCaseFolded();
    key.remove(u'"');
    return key;
}

// Hands out the aliases of one select list, each distinct from those before it.
class CaptionAliases
{
public:
    explicit CaptionAliases(const QStringList &taken = {})
    {
        for (const QString &name : taken)
            m_used.insert(nameKey(name));
    }

    QString take(const QString &caption, const QString &column)
    {
        const QString base = caption.isEmpty() ? column : caption;
        QString alias = clipToUtf8Bytes(base, MaxAliasBytes);
        for (int n = 2; m_used.contains(nameKey(alias)); ++n) {
            const QString suffix = u"(%1)"_s.arg(n);
            alias = clipToUtf8Bytes(base, MaxAliasBytes - int(suffix.toUtf8().size())) + suffix;
        }
        m_used.insert(nameKey(alias));
        return QuoteCaption(alias);
    }

private:
    QSet<QString> m_used;
};

struct ItemRow
{
    QString name;
    QString alias;
    QString table;
    QString idRef;
    int dataType = 0;
};

// The rows of "SELECT Name, Alias, TblName, IdRef, iDataType FROM qz_Items <condition>";
// none when the query fails.
QVector<ItemRow> readItems(const QString &condition, const QVariantList &values)
{
    QVector<ItemRow> rows;
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT Name, Alias, TblName, IdRef, iDataType FROM qz_Items "_s + condition,
                 values))
        return rows;
    for (; !rs.IsEof(); rs.MoveNext()) {
        ItemRow row;
        rs.GetFieldValueText(0, row.name);
        rs.GetFieldValueText(1, row.alias);
        rs.GetFieldValueText(2, row.table);
        rs.GetFieldValueText(3, row.idRef);
        rs.GetFieldValueInt(4, row.dataType);
        rows.append(row);
    }
    return rows;
}

// "<qualifier>.<column> AS <alias>", or empty when a name is no identifier.
QString selectItem(const QString &qualifier, const QString &column, const QString &caption,
                   CaptionAliases &aliases)
{
    if ((!qualifier.isEmpty() && !IsSqlIdentifier(qualifier)) || !IsSqlIdentifier(column)) {
        qWarning() << "query builder: item left out, not an identifier:" << qualifier << column;
        return {};
    }
    const QString expression = qualifier.isEmpty() ? column : qualifier + u'.' + column;
    return expression + u" AS "_s + aliases.take(caption, column);
}

void appendTo(QString &list, const QString &piece)
{
    if (piece.isEmpty())
        return;
    if (!list.isEmpty())
        list += u',';
    list += piece;
}

const QString TableItems = u"WHERE upper(TblName) = upper(?) ORDER BY Ord, ItemID"_s;
const QString ShownTableItems
    = u"WHERE upper(TblName) = upper(?) AND iDataType < 4 ORDER BY Ord, ItemID"_s;

} // namespace

QString QuoteCaption(const QString &caption)
{
    QString quoted = caption;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString BuildPsnFromClause(bool withPhoto)
{
    QString clause = u" FROM qz_PsnBase"
                     " LEFT OUTER JOIN qz_PsnSort ON qz_PsnBase.AID=qz_PsnSort.AID"
                     " LEFT OUTER JOIN qz_Dept ON qz_PsnBase.DID=qz_Dept.DID "_s;
    if (withPhoto)
        clause += u"LEFT JOIN qz_PsnAdj ON qz_PsnAdj.PID=qz_PsnBase.PID "_s;
    return clause;
}

QString BuildDetailFromClause(const QString &detailTable, bool withPhoto)
{
    const vantrel::Result<bool> known = IsKnownDataTable(detailTable);
    if (!known) {
        qWarning() << "BuildDetailFromClause: cannot check" << detailTable << known.error();
        return {};
    }
    if (!*known) {
        qWarning() << "BuildDetailFromClause: not a data table:" << detailTable;
        return {};
    }
    QString clause = u" FROM %1 INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"
                     " INNER JOIN qz_Dept ON %1.DID = qz_Dept.DID"
                     " INNER JOIN qz_PsnSort ON %1.AID = qz_PsnSort.AID "_s;
    if (withPhoto)
        clause += u"LEFT OUTER JOIN qz_PsnAdj ON %1.PID = qz_PsnAdj.PID "_s;
    return clause.arg(detailTable);
}

QString BuildPsnSelect(int detailTableId, bool withPhoto)
{
    QString list = u"qz_PsnBase.PID"_s;
    CaptionAliases aliases({ u"PID"_s });
    QVector<ItemRow> rows = readItems(ShownTableItems, { u"QZ_PSNBASE"_s });
    rows += readItems(ShownTableItems, { u"QZ_PSNSORT"_s });
    rows += readItems(ShownTableItems, { u"QZ_DEPT"_s });
    if (withPhoto)
        rows += readItems(TableItems, { u"QZ_PSNADJ"_s });
    for (const ItemRow &row : std::as_const(rows))
        appendTo(list, selectItem(row.table, row.name, row.alias, aliases));

    if (detailTableId <= 0)
        return list;
    const QString detail
        = GetScalarText(u"SELECT TblName FROM qz_Table WHERE ID = ?"_s, { detailTableId })
              .valueOr({});
    if (detail.isEmpty())
        return list;
    // Qualified by the detail table: its columns may share names with the person tables'.
    for (const ItemRow &row : readItems(TableItems, { detail }))
        appendTo(list, selectItem(detail, row.name, row.alias, aliases));
    return list;
}

QString BuildPsnBaseSelectList()
{
    QString list;
    CaptionAliases aliases;
    for (const ItemRow &row : readItems(TableItems, { u"QZ_PSNBASE"_s })) {
        if (row.dataType == ItemLink) {
            // The linked row's Name: its table is joined by the person FROM clause. A link
            // that names no table would select a bare, ambiguous Name; it stays out.
            const qsizetype dot = row.idRef.indexOf(u'.');
            const QString linked = dot > 0 ? row.idRef.left(dot) : QString();
            if (linked.isEmpty())
                qWarning() << "BuildPsnBaseSelectList: link without a table:" << row.name;
            else
                appendTo(list, selectItem(linked, u"Name"_s, row.alias, aliases));
        } else {
            appendTo(list, selectItem(u"QZ_PSNBASE"_s, row.name, row.alias, aliases));
        }
    }
    return list;
}

QString BuildTableSelectList(const QString &tableName)
{
    QString list;
    CaptionAliases aliases;
    for (const ItemRow &row : readItems(TableItems, { tableName })) {
        const QString piece = selectItem(QString(), row.name, row.alias, aliases);
        if (!piece.isEmpty())
            list += u',' + piece;
    }
    return list;
}
