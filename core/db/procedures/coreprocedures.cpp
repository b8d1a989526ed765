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

// EID 0 adds a template; an existing EID is updated.
bool addBankExportTemplate(ProcedureContext &ctx)
{
    const int eid = ctx.input(u"EID"_s).toInt();
    const QVariantList values = {
        ctx.input(u"SID"_s).toInt(),
        ctx.input(u"Name"_s).toString(),
        ctx.input(u"Active"_s).toBool() ? 1 : 0,
        ctx.input(u"Header"_s).toString(),
        ctx.input(u"Footer"_s).toString(),
        ctx.input(u"Sep"_s).toString(),
        ctx.input(u"Ext"_s).toString(),
        ctx.input(u"SFRows"_s).toInt(),
    };
    if (eid > 0) {
        if (!ctx.exec(u"UPDATE qz_WageExport SET SID = ?, Name = ?, Active = ?, Header = ?, "
                      "Footer = ?, Sep = ?, Ext = ?, SFRows = ? WHERE EID = ?"_s,
                      values + QVariantList { eid }))
            return false;
        return ctx.recordsAffected() > 0
            || ctx.fail(u"The bank template %1 no longer exists."_s.arg(eid));
    }
    return ctx.exec(u"INSERT INTO qz_WageExport (SID, Name, Active, Header, Footer, Sep, Ext, "
                    "SFRows) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"_s,
                    values);
}

// AID 0 adds a mail template; an existing AID is updated.
bool addAnnounceTemplate(ProcedureContext &ctx)
{
    const int aid = ctx.input(u"AID"_s).toInt();
    const QVariantList values = {
        ctx.input(u"SID"_s).toInt(),
        ctx.input(u"Name"_s).toString(),
        ctx.input(u"Active"_s).toBool() ? 1 : 0,
        ctx.input(u"Subject"_s).toString(),
        ctx.input(u"Content"_s).toString(),
    };
    if (aid > 0) {
        if (!ctx.exec(u"UPDATE qz_WageAnnounce SET SID = ?, Name = ?, Active = ?, Subject = ?, "
                      "Content = ? WHERE AID = ?"_s,
                      values + QVariantList { aid }))
            return false;
        return ctx.recordsAffected() > 0
            || ctx.fail(u"The mail template %1 no longer exists."_s.arg(aid));
    }
    return ctx.exec(u"INSERT INTO qz_WageAnnounce (SID, Name, Active, Subject, Content) "
                    "VALUES (?, ?, ?, ?, ?)"_s,
                    values);
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
    for (const auto &row : rows.rows) {
        if (!ctx.exec(u"UPDATE qz_Report SET Ord = ? WHERE ID = ?"_s, { ++order, row.first() }))
            return false;
    }
    return true;
}

} // namespace

void registerCoreProcedures(ProcedureRegistry &registry)
{
    registry.add(u"qz_AddSystemLog"_s, addSystemLog);
    registry.add(u"qz_AddBankExportTemplet"_s, addBankExportTemplate);
    registry.add(u"qz_AddAnnounceTemplet"_s, addAnnounceTemplate);
    registry.add(u"qz_RefreshPrintReportTempletOrder"_s, refreshPrintTemplateOrder);
}

} // namespace vantrel::db
