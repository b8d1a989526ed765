#include "statfixture.h"

#include "core/app/purviewtable.h"
#include "core/db/cadodatabase.h"

#include <QDateTime>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

bool execAll(CADODatabase &db, const QStringList &statements, QString *error)
{
    for (const QString &statement : statements) {
        if (!db.Execute(statement)) {
            *error = statement + u"\n"_s + db.GetLastErrorString();
            return false;
        }
    }
    return true;
}

int deptOf(int pid)
{
    if (pid <= 4)
        return 1;
    if (pid <= 12)
        return 2;
    if (pid <= 18)
        return 4;
    return pid <= 23 ? 3 : 5;
}

QVariant titleOf(int pid)
{
    if (pid <= 3)
        return QVariant(QMetaType::fromType<QString>());
    if (pid <= 5)
        return u""_s;
    if (pid <= 7)
        return u"  "_s;
    if (pid <= 12)
        return u"abc "_s;
    if (pid <= 20)
        return u"O'Brien"_s;
    return pid <= 24 ? u"abc"_s : u"Zed"_s;
}

QVariant joinedOn(int pid)
{
    if (pid <= 10)
        return QDateTime(QDate(2020, 1, pid), QTime(0, 0));
    if (pid <= 20)
        return QDateTime(QDate(2021, 6, pid - 10), pid == 20 ? QTime(15, 30) : QTime(0, 0));
    if (pid <= 29)
        return QDateTime(QDate(2022, 12, pid - 20), QTime(0, 0));
    return QVariant(QMetaType::fromType<QDateTime>());
}

} // namespace

bool fillStatFixture(CADODatabase &db, QString *error)
{
    const QString mask = QString::number(PurviewTable[0].mask, 16);
    if (!execAll(
            db,
            {
                u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord, ParentArr) VALUES"
                " (1, 0, '总公司', 1, '|1|'), (2, 1, '一部', 3, '|2|1|'), (3, 1, '二部', 2, "
                "'|3|1|'),"
                " (4, 2, '一组', 5, '|4|2|1|'), (5, 3, '二组', 4, '|5|3|1|')"_s,
                u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, '在职', 1), (2, '退休', 2)"_s,
                u"ALTER TABLE qz_PsnBase ADD F12 DOUBLE PRECISION"_s,
                u"ALTER TABLE qz_PsnBase ADD F13 VARCHAR(100)"_s,
                db.dialect().ddl(u"ALTER TABLE qz_PsnBase ADD F14 %DATETIME%"_s),
                u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iLength, IdRef, bShow,"
                " iWid, Ord) VALUES ('QZ_PSNBASE', 'F12', '数额', 0, 8, NULL, 1, 80, 8),"
                " ('QZ_PSNBASE', 'F13', '职称', 3, 100, 'ZC', 1, 100, 9),"
                " ('QZ_PSNBASE', 'F14', '入职日期', 2, 8, NULL, 1, 100, 10)"_s,
                db.dialect().ddl(u"CREATE TABLE qz_Rel1 (ID %IDENTITY%, PID INTEGER NOT NULL,"
                                 " Ord INTEGER NOT NULL DEFAULT 0, R1 VARCHAR(50),"
                                 " R2 DOUBLE PRECISION)"_s),
                u"INSERT INTO qz_Table (TblName, Title, nType, bShow, bStat, Ord) VALUES"
                " ('qz_Rel1', '履历', 5, 1, 1, 4)"_s,
                u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iLength, iSort, Ord)"
                " VALUES ('QZ_REL1', 'R1', '单位', 1, 50, 5, 1),"
                " ('QZ_REL1', 'R2', '年数', 0, 8, 5, 2)"_s,
                u"INSERT INTO qz_Users (UserName, Pwd, Locked, Purview, ISuper) VALUES"
                " ('dept35', '', 0, '%1|1,2,|3,5,|', 0), ('nodept', '', 0, '%1|1,2,||', 0)"_s.arg(
                    mask),
            },
            error))
        return false;
    QVector<QVariantList> persons;
    QVector<QVariantList> related;
    for (int pid = 1; pid <= 30; ++pid) {
        persons.append({ pid, deptOf(pid), pid % 2 == 1 ? 1 : 2,
                         u"P%1"_s.arg(pid, 3, 10, QChar(u'0')), u"人%1"_s.arg(pid),
                         pid <= 15 ? u"男"_s : u"女"_s, pid,
                         pid == 30 ? QVariant(QMetaType::fromType<double>()) : QVariant(pid * 10.0),
                         titleOf(pid), joinedOn(pid) });
        if (pid <= 10)
            related << QVariantList { pid, 1, u"甲"_s, 1.0 }
                    << QVariantList { pid, 2, u"乙"_s, 2.0 };
        else if (pid <= 15)
            related << QVariantList { pid, 1, u"甲"_s, 5.0 };
    }
    const vantrel::db::QueryResult inserted = db.runBatch(
        u"INSERT INTO qz_PsnBase (PID, DID, AID, Number, Name, Sex, Ord, F12, F13, F14)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
        persons);
    const vantrel::db::QueryResult rows = inserted.ok
        ? db.runBatch(u"INSERT INTO qz_Rel1 (PID, Ord, R1, R2) VALUES (?, ?, ?, ?)"_s, related)
        : inserted;
    if (!rows.ok) {
        *error = rows.error.description;
        return false;
    }
    if (db.backend() != vantrel::db::Backend::Postgres)
        return true;
    // Identity columns on PostgreSQL go on after the ids written above.
    QStringList sequences;
    for (const auto &[table, key] :
         { std::pair { u"qz_psnbase"_s, u"pid"_s }, std::pair { u"qz_dept"_s, u"did"_s },
           std::pair { u"qz_psnsort"_s, u"aid"_s } })
        sequences
            << u"SELECT setval(pg_get_serial_sequence('%1', '%2'), (SELECT MAX(%2) FROM %1))"_s.arg(
                   table, key);
    return execAll(db, sequences, error);
}
