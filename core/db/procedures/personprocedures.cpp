#include "core/db/procedures/personprocedures.h"

#include "core/db/procedureregistry.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

// Decimal ids joined by ','; anything else in the text is dropped.
QVariantList parseIds(const QString &list)
{
    QVariantList ids;
    for (const QString &part : list.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (ok)
            ids << id;
    }
    return ids;
}

// SID (wage set; 0 or less: every person), AllDepts (non-zero: no department filter), DeptIds
// (the operator's departments, ids joined by ','). One row per person the picker may offer:
// 0 id, 1 number, 2 name, 3 department, 4 category, 5 identity-card number.
bool selectPsnForEditBrowseCtrl(ProcedureContext &ctx)
{
    QStringList conditions;
    QVariantList values;
    const int sid = ctx.input(u"SID"_s).toInt();
    if (sid > 0) {
        conditions << u"EXISTS (SELECT 1 FROM qz_WagePsn W WHERE W.PID = P.PID AND W.SID = ?)"_s;
        values << sid;
    }
    if (ctx.input(u"AllDepts"_s).toInt() == 0) {
        const QVariantList ids = parseIds(ctx.input(u"DeptIds"_s).toString());
        if (ids.isEmpty()) {
            conditions << u"1 = 0"_s;
        } else {
            conditions << u"P.DID IN (%1)"_s.arg(QStringList(ids.size(), u"?"_s).join(u", "_s));
            values += ids;
        }
    }
    QString sql = uR"(SELECT P.PID AS "PID", P.Number AS "编号", P.Name AS "姓名",)"
                  uR"( D.Name AS "部门", S.Name AS "人员类别", P.IDNumber AS "身份证号")"
                  u" FROM qz_PsnBase P LEFT JOIN qz_Dept D ON D.DID = P.DID"
                  u" LEFT JOIN qz_PsnSort S ON S.AID = P.AID"_s;
    if (!conditions.isEmpty())
        sql += u" WHERE "_s + conditions.join(u" AND "_s);
    sql += u" ORDER BY P.Ord, P.PID"_s;
    return ctx.select(sql, values);
}

} // namespace

void registerPersonProcedures(ProcedureRegistry &registry)
{
    registry.add(u"qz_SelectPsnForEditBrowseCtrl"_s, selectPsnForEditBrowseCtrl);
}

} // namespace vantrel::db
