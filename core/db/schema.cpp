#include "core/db/schema.h"

#include "core/app/passworddigest.h"
#include "core/db/cadodatabase.h"
#include "core/db/migrations/migrations.h"

#include <QDebug>

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

QVector<SchemaMigration> allMigrations()
{
    return { migration001CoreTables(),  migration002Reminders(),  migration003Payroll(),
             migration004PersonList(),  migration005WageSetup(),  migration006WageRound(),
             migration007PsnFiles(),    migration008AdminNames(), migration009SearchHistory(),
             migration010WakeupTable(), migration011Statistics() };
}

bool tableExists(CADODatabase &db, const QString &table)
{
    return db.run(db.dialect().tableExistsQuery(), { table }).hasRow();
}

// Seeds that need code: the first operator with a digest of its password.
bool seedVersion1(CADODatabase &db)
{
    return db.Execute(u"INSERT INTO qz_Users (UserName, Pwd, Locked, Descr, Purview, ISuper) "
                      "VALUES (?, ?, 0, ?, ?, 1)"_s,
                      { u"admin"_s, PasswordDigest::make(u"admin"_s), u"系统管理员"_s,
                        u"ffffffffffffffff|||"_s });
}

Status failure(CADODatabase &db, int version)
{
    return Status::failure(u"The database structure could not be brought to version %1.\n%2"_s.arg(
        QString::number(version), db.GetLastErrorString()));
}

// Numbers held twice keep the unique number index away; the log names them at every start
// until they are put right. A failure here leaves the program usable: the number check of
// the forms still holds.
void reportPsnNumbers(CADODatabase &db)
{
    const Result<QStringList> duplicates = ensurePsnNumberIndex(db);
    if (!duplicates) {
        qWarning() << "person number index:" << duplicates.error();
        return;
    }
    if (duplicates->isEmpty())
        return;
    db.Execute(u"INSERT INTO qz_Log (lDate, lUser, lAction) VALUES (?, ?, ?)"_s,
               { QDateTime::currentDateTime(), u"系统"_s,
                 u"人员档案[编号重复:'%1']"_s.arg(duplicates->join(u"','"_s)) });
}

// Two administrators adding one name at once: the second insert is refused by the index.
// Names that differ only in case from before keep it away and are logged; the operator
// dialog's own check still holds.
void ensureOperatorNameIndex(CADODatabase &db)
{
    const Result<QStringList> duplicates
        = ensureUniqueUpperIndex(db, u"qz_Users"_s, u"UserName"_s, u"ux_qz_Users_UserName"_s);
    if (!duplicates)
        qWarning() << "operator name index:" << duplicates.error();
    else if (!duplicates->isEmpty())
        db.Execute(u"INSERT INTO qz_Log (lDate, lUser, lAction) VALUES (?, ?, ?)"_s,
                   { QDateTime::currentDateTime(), u"系统"_s,
                     u"操作员管理[名称重复:'%1']"_s.arg(duplicates->join(u"','"_s)) });
}

} // namespace

int latestSchemaVersion()
{
    return allMigrations().constLast().version;
}

int schemaVersion(CADODatabase &db)
{
    if (!tableExists(db, u"qz_SchemaVersion"_s))
        return 0;
    return db.run(u"SELECT MAX(version) FROM qz_SchemaVersion"_s).scalar().toInt();
}

Status upgradeSchema(CADODatabase &db)
{
    if (!db.IsOpen())
        return Status::failure(u"The database is not open."_s);
    if (!db.Execute(u"CREATE TABLE IF NOT EXISTS qz_SchemaVersion (version INTEGER NOT NULL, "
                    "applied %1 NOT NULL)"_s.arg(db.dialect().ddl(u"%DATETIME%"_s))))
        return failure(db, 0);

    for (const SchemaMigration &migration : allMigrations()) {
        DbTransaction transaction(db);
        if (!transaction.isActive())
            return failure(db, migration.version);
        // Two programs starting at once on one server: the second waits, then sees the work done.
        if (db.backend() == Backend::Postgres
            && !db.Execute(u"LOCK TABLE qz_SchemaVersion IN EXCLUSIVE MODE"_s))
            return failure(db, migration.version);
        // Each step by its own number: steps made on parallel branches can land out of order.
        if (db.run(u"SELECT 1 FROM qz_SchemaVersion WHERE version = ?"_s, { migration.version })
                .hasRow())
            continue;
        QStringList statements;
        if (migration.version == 1 || migration.serverFunctions)
            statements << db.dialect().serverFunctions();
        for (const QString &statement : migration.statements)
            statements << db.dialect().ddl(statement);
        for (const QString &statement : std::as_const(statements)) {
            if (!db.Execute(statement))
                return failure(db, migration.version);
        }
        if (migration.version == 1 && !seedVersion1(db))
            return failure(db, migration.version);
        if (!db.Execute(u"INSERT INTO qz_SchemaVersion (version, applied) VALUES (?, ?)"_s,
                        { migration.version, QDateTime::currentDateTime() })
            || !transaction.commit())
            return failure(db, migration.version);
    }
    reportPsnNumbers(db);
    ensureOperatorNameIndex(db);
    return {};
}

} // namespace vantrel::db
