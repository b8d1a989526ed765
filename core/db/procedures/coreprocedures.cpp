#include "core/db/procedures/coreprocedures.h"

#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

// Longest texts the log columns hold; a longer text is cut rather than lost.
constexpr int logUserLength = 50;
constexpr int logActionLength = 2000;

// UserName, Content, Cleanup, RecentDays: one log row stamped with the local time; with the
// clean-up flag, rows older than RecentDays days go.
bool addSystemLog(ProcedureContext &ctx)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString user = ctx.input(u"UserName"_s).toString().left(logUserLength);
    const QString action = ctx.input(u"Content"_s).toString().left(logActionLength);
    if (!ctx.exec(u"INSERT INTO qz_Log (lDate, lUser, lAction) VALUES (?, ?, ?)"_s,
                  { now, user, action }))
        return false;
    const int days = ctx.input(u"RecentDays"_s).toInt();
    if (ctx.input(u"Cleanup"_s).toBool() && days > 0)
        return ctx.exec(u"DELETE FROM qz_Log WHERE lDate < ?"_s, { now.addDays(-days) });
    return true;
}

// Adds a row when the id is 0 or less, else updates the row with that id (which must exist).
bool saveById(ProcedureContext &ctx, const QString &table, const QString &key,
              const QStringList &columns, const QVariantList &values)
{
    const int id = ctx.input(key).toInt();
    if (id > 0) {
        const QString sets = columns.join(u" = ?, "_s) + u" = ?"_s;
        if (!ctx.exec(u"UPDATE %1 SET %2 WHERE %3 = ?"_s.arg(table, sets, key),
                      values + QVariantList { id }))
            return false;
        return ctx.recordsAffected() > 0
            || ctx.fail(u"The template %1 no longer exists."_s.arg(id));
    }
    const QString marks = QStringList(columns.size(), u"?"_s).join(u", "_s);
    return ctx.exec(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, columns.join(u", "_s), marks),
                    values);
}

QVariantList inputs(ProcedureContext &ctx, const QStringList &names)
{
    QVariantList values;
    for (const QString &name : names) {
        const QVariant v = ctx.input(name);
        // Flags are stored as 0/1.
        values << (v.typeId() == QMetaType::Bool ? QVariant(v.toBool() ? 1 : 0) : v);
    }
    return values;
}

// EID 0 adds a bank-file template; an existing EID is updated.
bool addBankExportTemplate(ProcedureContext &ctx)
{
    const QStringList columns = { u"SID"_s,    u"Name"_s, u"Active"_s, u"Header"_s,
                                  u"Footer"_s, u"Sep"_s,  u"Ext"_s,    u"SFRows"_s };
    return saveById(ctx, u"qz_WageExport"_s, u"EID"_s, columns, inputs(ctx, columns));
}

// AID 0 adds a mail template; an existing AID is updated.
bool addAnnounceTemplate(ProcedureContext &ctx)
{
    const QStringList columns = { u"SID"_s, u"Name"_s, u"Active"_s, u"Subject"_s, u"Content"_s };
    return saveById(ctx, u"qz_WageAnnounce"_s, u"AID"_s, columns, inputs(ctx, columns));
}

// Wage-set id, kind: the templates of that list get the order 1, 2, 3 … as they stand.
bool refreshPrintTemplateOrder(ProcedureContext &ctx)
{
    const int sid = ctx.input(0).toInt();
    const int kind = ctx.input(1).toInt();
    if (!ctx.select(u"SELECT ID FROM qz_Report WHERE SID = ? AND Type = ? ORDER BY Ord, ID"_s,
                    { sid, kind }))
        return false;
    const RowSet rows = ctx.takeResult();
    int order = 0;
    for (int r = 0; r < rows.rowCount(); ++r) {
        if (!ctx.exec(u"UPDATE qz_Report SET Ord = ? WHERE ID = ?"_s,
                      { ++order, rows.value(r, 0) }))
            return false;
    }
    return true;
}

// A data table's caption, description and shown flag; the data-structure manager and the
// wage-set editor both save through it.
bool updateDbTable(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    if (!ctx.exec(u"UPDATE qz_Table SET Title=?, Descr=?, bShow=? WHERE ID=?"_s,
                  { ctx.input(u"Title"_s).toString(), ctx.input(u"Descr"_s).toString(),
                    ctx.input(u"IShow"_s).toBool() ? 1 : 0, id }))
        return false;
    return ctx.recordsAffected() > 0 || ctx.fail(u"The table %1 no longer exists."_s.arg(id));
}

} // namespace

void registerCoreProcedures(ProcedureRegistry &registry)
{
    registry.add(u"qz_UpdateDBTable"_s, updateDbTable);
    registry.add(u"qz_AddSystemLog"_s, addSystemLog);
    registry.add(u"qz_AddBankExportTemplet"_s, addBankExportTemplate);
    registry.add(u"qz_AddAnnounceTemplet"_s, addAnnounceTemplate);
    registry.add(u"qz_RefreshPrintReportTempletOrder"_s, refreshPrintTemplateOrder);
}

} // namespace vantrel::db
