#include "admin/adminprocedures.h"

#include "admin/deptstore.h"
#include "admin/structureprocedures.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::admin {

namespace {

bool flag(const ProcedureContext &ctx, const QString &name)
{
    return ctx.input(name).toBool();
}

// The next class code: one above the largest all-digit code, at least three digits wide.
bool nextClassCode(ProcedureContext &ctx, QString *code)
{
    const db::QueryResult codes = ctx.db().run(u"SELECT DictId FROM qz_Dict"_s);
    if (!codes.ok)
        return ctx.fail(codes.error.description);
    qulonglong largest = 0;
    for (int row = 0; row < codes.rows.rowCount(); ++row) {
        bool digits = false;
        const qulonglong value = codes.rows.text(row, 0).toULongLong(&digits);
        if (digits && value > largest)
            largest = value;
    }
    *code = u"%1"_s.arg(largest + 1, 3, 10, QChar(u'0'));
    return true;
}

bool titleTaken(ProcedureContext &ctx, const QString &sql, const QVariantList &values, bool *taken)
{
    const db::QueryResult found = ctx.db().run(sql, values);
    if (!found.ok)
        return ctx.fail(found.error.description);
    *taken = found.scalar().toInt() > 0;
    return true;
}

bool addDictSort(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    const QString title = ctx.input(u"Title"_s).toString();
    bool taken = false;
    if (!titleTaken(ctx, u"SELECT COUNT(*) FROM qz_Dict WHERE upper(Title)=upper(?) AND ID<>?"_s,
                    { title, id }, &taken))
        return false;
    if (taken)
        return ctx.fail(u"A dictionary class named '%1' exists."_s.arg(title));
    if (id > 0) {
        if (!ctx.exec(u"UPDATE qz_Dict SET Title=?, Active=? WHERE ID=?"_s,
                      { title, flag(ctx, u"Active"_s) ? 1 : 0, id }))
            return false;
        return ctx.recordsAffected() > 0
            || ctx.fail(u"The dictionary class %1 no longer exists."_s.arg(id));
    }
    QString code;
    if (!nextClassCode(ctx, &code))
        return false;
    return ctx.exec(u"INSERT INTO qz_Dict (DictId, Title, Active, Ord) "
                    u"SELECT ?, ?, ?, COALESCE(MAX(Ord), 0) + 1 FROM qz_Dict"_s,
                    { code, title, flag(ctx, u"Active"_s) ? 1 : 0 });
}

bool addDictItem(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    const QString dictId = ctx.input(u"DictId"_s).toString();
    const QString title = ctx.input(u"Title"_s).toString();
    const int active = flag(ctx, u"Active"_s) ? 1 : 0;
    if (id > 0) {
        if (!ctx.exec(u"UPDATE qz_DictItem SET Title=?, Active=? WHERE ID=?"_s,
                      { title, active, id }))
            return false;
        return ctx.recordsAffected() > 0
            || ctx.fail(u"The dictionary item %1 no longer exists."_s.arg(id));
    }
    const db::QueryResult owner
        = ctx.db().run(u"SELECT COUNT(*) FROM qz_Dict WHERE DictId=?"_s, { dictId });
    if (!owner.ok)
        return ctx.fail(owner.error.description);
    if (owner.scalar().toInt() == 0)
        return ctx.fail(u"The dictionary class '%1' does not exist."_s.arg(dictId));
    const QString code = ctx.input(u"DictValue"_s).toString();
    const QString parent = ctx.input(u"ParentValue"_s).toString();
    if (!ctx.exec(u"INSERT INTO qz_DictItem (DictId, DictValue, ParentValue, Title, Active, "
                  u"hasChild) VALUES (?, ?, ?, ?, ?, 0)"_s,
                  { dictId, code, parent, title, active }))
        return false;
    if (parent.isEmpty())
        return true;
    return ctx.exec(u"UPDATE qz_DictItem SET hasChild=1 WHERE DictId=? AND DictValue=?"_s,
                    { dictId, parent });
}

bool selectDictItems(ProcedureContext &ctx)
{
    const QString dictId = ctx.input(u"DictId"_s).toString();
    const QString parent = ctx.input(u"DictValue"_s).toString();
    // A top-level item's parent is '' (or NULL in rows written before that rule).
    const QString under
        = parent.isEmpty() ? u"(ParentValue='' OR ParentValue IS NULL)"_s : u"ParentValue=?"_s;
    QVariantList values { dictId };
    if (!parent.isEmpty())
        values << parent;
    return ctx.select(u"SELECT ID, DictId AS \"档案类编码\", DictValue AS \"编码\", "
                      u"Title AS \"名称\", ParentValue AS \"上级编码\", Active AS \"是否有效\", "
                      u"hasChild AS \"下级\" FROM qz_DictItem "
                      u"WHERE DictId=? AND DictId<>'' AND %1 ORDER BY DictValue"_s.arg(under),
                      values);
}

bool selectSystemUsers(ProcedureContext &ctx)
{
    return ctx.select(u"SELECT UserID, UserName AS \"用户名\", Locked AS \"锁定\", "
                      u"Descr AS \"描述\", Purview, ISuper FROM qz_Users ORDER BY UserID"_s);
}

} // namespace

void registerAdminProcedures(db::ProcedureRegistry &registry)
{
    registry.add(u"qz_AddDictSort"_s, addDictSort);
    registry.add(u"qz_AddDictItem"_s, addDictItem);
    registry.add(u"qz_SelectSystemDictItemsByID"_s, selectDictItems);
    registry.add(u"qz_SelectSystemUsers"_s, selectSystemUsers);
    registerStructureProcedures(registry);
    registerDeptProcedures(registry);
}

} // namespace vantrel::admin
