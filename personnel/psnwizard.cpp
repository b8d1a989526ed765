#include "personnel/psnwizard.h"

#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/query/querybuilders.h"
#include "personnel/psnscope.h"

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::personnel {

namespace {

QString placeholders(qsizetype count)
{
    return QStringList(count, u"?"_s).join(u',');
}

bool selectPsnWizard(ProcedureContext &ctx)
{
    const QString column = u"qz_PsnBase.DID"_s;
    QStringList conditions;
    QVariantList values;
    const auto add = [&](const SqlCondition &condition) {
        conditions << condition.sql;
        values += condition.values;
    };
    const int did = ctx.input(u"DID"_s).toInt();
    if (did > 0) {
        const Result<QVector<int>> subtree = DeptSubtree(ctx.db(), did);
        if (!subtree)
            return ctx.fail(subtree.error());
        add(IdListCondition(column, *subtree));
    }
    if (ctx.input(u"AllDepts"_s).toInt() == 0)
        add(IdListCondition(column, ctx.input(u"DeptIds"_s).toString()));
    const Result<PersonCaptions> person = ReadPersonCaptions(ctx.db());
    if (!person)
        return ctx.fail(person.error());
    const QStringList &captions = person->aliases;
    QString sql = u"SELECT qz_PsnBase.PID, qz_PsnBase.Number AS %1, qz_PsnBase.Name AS %2,"
                  " qz_PsnBase.Sex AS %3, qz_Dept.Name AS \"部门\", qz_PsnSort.Name AS \"类别\","
                  " COALESCE(qz_PsnBase.Number, '') || ' ' || COALESCE(qz_PsnBase.Name, '')"
                  " AS \"检索\""_s.arg(QuoteCaption(captions.at(0)), QuoteCaption(captions.at(1)),
                                       QuoteCaption(captions.at(2)))
        + BuildPsnFromClause(false);
    if (!conditions.isEmpty())
        sql += u" WHERE "_s + conditions.join(u" AND "_s);
    return ctx.select(sql + PsnOrderBy(), values);
}

} // namespace

const PsnChangeKind &TransferChange()
{
    static const PsnChangeKind kind { u"qz_PsnRedeploy"_s, u"AfterDep"_s, u"BeforeDep"_s, u"DID"_s,
                                      u"人员调动"_s,       u"MobDate"_s };
    return kind;
}

const PsnChangeKind &CategoryChange()
{
    static const PsnChangeKind kind { u"qz_PsnSortAlter"_s, u"NStatus"_s, u"OStatus"_s, u"AID"_s,
                                      u"人员类别变更"_s,    u"ADate"_s };
    return kind;
}

Result<PersonCaptions> ReadPersonCaptions(CADODatabase &db)
{
    const db::QueryResult rows = db.run(
        u"SELECT upper(Name), Alias, iWid FROM qz_Items WHERE upper(TblName) = 'QZ_PSNBASE'"
        " AND upper(Name) IN ('NUMBER', 'NAME', 'SEX')"_s);
    if (!rows.ok)
        return Result<PersonCaptions>::failure(rows.error.description);
    PersonCaptions captions;
    for (int row = 0; row < rows.rows.rowCount(); ++row) {
        const int at
            = QStringList { u"NUMBER"_s, u"NAME"_s, u"SEX"_s }.indexOf(rows.rows.text(row, 0));
        if (at < 0)
            continue;
        if (!rows.rows.text(row, 1).isEmpty())
            captions.aliases[at] = rows.rows.text(row, 1);
        captions.widths[at] = rows.rows.value(row, 2).toInt();
    }
    return captions;
}

void registerPsnWizardProcedures()
{
    db::ProcedureRegistry::instance().add(u"qz_SelectPsnWizard"_s, selectPsnWizard);
}

QString PsnChangeLogText(const PsnChangeKind &kind, int count)
{
    return u"人员档案[%1：%2 人]"_s.arg(kind.logWord).arg(count);
}

Result<void> ApplyPsnChange(CADODatabase &db, const PsnChangeKind &kind, int newId,
                            const QStringList &columns, const QVariantList &values,
                            const CPersonMap &persons)
{
    for (const QString &column : columns) {
        if (!IsSqlIdentifier(column))
            return Result<void>::failure(u"'%1' is not a column name."_s.arg(column));
    }
    const QStringList all = QStringList(columns) << u"PID"_s << kind.oldValueColumn;
    const QString insert = u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
        kind.historyTable, all.join(u", "_s), placeholders(all.size()));
    const QString update = u"UPDATE qz_PsnBase SET %1 = ? WHERE PID = ?"_s.arg(kind.personColumn);
    QVector<QVariantList> updates;
    QVector<QVariantList> rows;
    for (auto it = persons.cbegin(); it != persons.cend(); ++it) {
        updates << QVariantList { newId, it.key() };
        const QString old = kind.personColumn == u"DID" ? it->DeptName : it->SortName;
        rows << (QVariantList(values) << it.key() << old);
    }
    db::DbTransaction transaction(db);
    for (const auto &[sql, batch] : { std::pair { update, updates }, std::pair { insert, rows } }) {
        const db::QueryResult result = db.runBatch(sql, batch);
        if (!result.ok)
            return Result<void>::failure(result.error.description);
    }
    if (!transaction.commit())
        return Result<void>::failure(db.GetLastErrorString());
    return {};
}

} // namespace vantrel::personnel
