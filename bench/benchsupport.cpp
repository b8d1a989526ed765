#include "benchsupport.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace bench {

double memoryMb(const char *key)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

QString createDatabase(Backend backend, QTemporaryDir &dir, const QString &tag, QString *why)
{
    if (backend == Backend::Sqlite) {
        const QString path = dir.filePath(tag + u".db"_s);
        if (const vantrel::Status created = createSqliteDatabase(path); !created) {
            *why = created.error();
            return {};
        }
        return ConnectionString::forSqlite(path);
    }
    const auto env = [](const char *name) { return qEnvironmentVariable(name); };
    if (env("VANTREL_PG_HOST").isEmpty()) {
        *why = u"no PostgreSQL server (VANTREL_PG_HOST)"_s;
        return {};
    }
    const QString admin = ConnectionString::forPostgres(
        env("VANTREL_PG_HOST"), env("VANTREL_PG_PORT").toInt(), env("VANTREL_PG_USER"),
        env("VANTREL_PG_PASSWORD"), u"postgres"_s);
    const QString name = u"vt_%1_%2"_s.arg(tag).arg(QCoreApplication::applicationPid());
    CADODatabase server;
    if (!server.Open(admin)) {
        *why = server.GetLastErrorString();
        return {};
    }
    server.Execute(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(name));
    if (!server.Execute(u"CREATE DATABASE %1"_s.arg(name))) {
        *why = server.GetLastErrorString();
        return {};
    }
    QString own = admin;
    own.replace(u"Database=postgres"_s, u"Database="_s + name);
    return own;
}

int userColumnType(int i)
{
    return i % 8 < 3 ? 0 : i % 8 < 7 ? 1 : 2;
}

bool fillPersons(CADODatabase &db, int persons, int userColumns)
{
    for (int i = 1; i <= userColumns; ++i) {
        static const char *types[] = { "DOUBLE PRECISION", "VARCHAR(50)", "%DATETIME%" };
        if (!db.Execute(db.dialect().ddl(u"ALTER TABLE qz_PsnBase ADD COLUMN F%1 %2"_s.arg(i).arg(
                QString::fromLatin1(types[userColumnType(i)]))))
            || !db.Execute(
                u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iWid, bShow, Ord)"
                " VALUES ('QZ_PSNBASE', ?, ?, ?, 80, 1, ?)"_s,
                { u"F%1"_s.arg(i), u"项目%1"_s.arg(i), userColumnType(i), 10 + i }))
            return false;
    }
    DbTransaction transaction(db);
    for (int d = 1; d <= 20; ++d) {
        const int parent = d <= 4 ? 0 : 1 + (d - 5) / 4;
        const QString path = parent ? u"|%1|%2|"_s.arg(d).arg(parent) : u"|%1|"_s.arg(d);
        if (!db.Execute(u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord, ParentArr)"
                        " VALUES (?, ?, ?, ?, ?)"_s,
                        { d, parent, u"部门%1"_s.arg(d), d, path }))
            return false;
    }
    if (!db.Execute(
            u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, '在职', 1), (2, '退休', 2)"_s))
        return false;
    QStringList columns { u"DID"_s, u"AID"_s,      u"Number"_s,   u"Name"_s,
                          u"Sex"_s, u"Birthday"_s, u"IDNumber"_s, u"Ord"_s };
    for (int i = 1; i <= userColumns; ++i)
        columns << u"F%1"_s.arg(i);
    QVector<QVariantList> rows;
    rows.reserve(persons);
    const QDateTime born(QDate(1980, 5, 1), QTime(0, 0));
    for (int p = 0; p < persons; ++p) {
        QVariantList row { 5 + p % 16,
                           1,
                           u"N%1"_s.arg(p, 6, 10, QChar(u'0')),
                           u"职员%1"_s.arg((p * 7919) % persons),
                           p % 2 ? u"男"_s : u"女"_s,
                           born.addDays(p % 9000),
                           u"1101011980%1"_s.arg(p, 8, 10, QChar(u'0')),
                           p };
        for (int i = 1; i <= userColumns; ++i) {
            const int type = userColumnType(i);
            row << (type == 0       ? QVariant(3000.0 + (p * i) % 5000 * 0.25)
                        : type == 1 ? QVariant(u"值%1-%2"_s.arg(i).arg(p % 977))
                                    : QVariant(born.addDays(i * 30)));
        }
        rows.push_back(row);
    }
    if (!db.runBatch(u"INSERT INTO qz_PsnBase (%1) VALUES (%2)"_s.arg(
                         columns.join(u','), QStringList(columns.size(), u"?"_s).join(u',')),
                     rows)
             .ok)
        return false;
    if (!transaction.commit())
        return false;
    if (db.backend() == Backend::Postgres)
        db.Execute(u"ANALYZE"_s);
    return true;
}

bool fillWagePersons(CADODatabase &db, int persons)
{
    DbTransaction transaction(db);
    for (int d = 1; d <= 16; ++d) {
        if (!db.Execute(u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord, ParentArr)"
                        " VALUES (?, 0, ?, ?, ?)"_s,
                        { d, u"部门%1"_s.arg(d), d, u"|%1|"_s.arg(d) }))
            return false;
    }
    db.Execute(u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, '在职', 1)"_s);
    QVector<QVariantList> rows;
    for (int p = 0; p < persons; ++p)
        rows.push_back(
            { 1 + p % 16, 1, u"N%1"_s.arg(p, 6, 10, QChar(u'0')), u"职员%1"_s.arg(p), p });
    return db.runBatch(u"INSERT INTO qz_PsnBase (DID, AID, Number, Name, Ord)"
                       " VALUES (?, ?, ?, ?, ?)"_s,
                       rows)
               .ok
        && transaction.commit();
}

bool openPrepared(benchmark::State &state, const QString &connection, const QString &why)
{
    if (connection.isEmpty()) {
        state.SkipWithError(qPrintable(why));
        return false;
    }
    theDatabase.Close();
    theApp.m_strConnection = connection;
    if (!theDatabase.Open(theApp.m_strConnection)) {
        state.SkipWithError(qPrintable(theDatabase.GetLastErrorString()));
        return false;
    }
    return true;
}

} // namespace bench
