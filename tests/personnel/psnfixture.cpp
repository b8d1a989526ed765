#include "psnfixture.h"

#include "core/app/currentuser.h"
#include "core/app/purviewtable.h"
#include "core/db/cadodatabase.h"
#include "platform/workbook/workbookwriter.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QString maskText(std::initializer_list<int> rights)
{
    quint64 mask = 0;
    for (const int right : rights)
        mask |= PurviewTable[right].mask;
    return QString::number(mask, 16);
}

} // namespace

bool fillPersonFixture(CADODatabase &db, QString *error)
{
    const QStringList statements {
        u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord, ParentArr) VALUES"
        " (1, 0, '总公司', 1, '|1|'), (2, 1, '一部', 2, '|2|1|'), (3, 1, '二部', 3, '|3|1|'),"
        " (4, 2, '一组', 4, '|4|2|1|'), (5, 3, '二组', 5, '|5|3|1|')"_s,
        u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, '在职', 1), (2, '退休', 2)"_s,
        u"ALTER TABLE qz_PsnBase ADD F12 DOUBLE PRECISION"_s,
        u"ALTER TABLE qz_PsnBase ADD F13 VARCHAR(100)"_s,
        db.dialect().ddl(u"ALTER TABLE qz_PsnBase ADD F14 %DATETIME%"_s),
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iLength, bShow, iWid, Ord)"
        " VALUES ('QZ_PSNBASE', 'F12', '数额', 0, 8, 1, 80, 8),"
        " ('QZ_PSNBASE', 'F13', '备注', 1, 100, 1, 100, 9),"
        " ('QZ_PSNBASE', 'F14', '入职日期', 2, 8, 1, 100, 10)"_s,
        u"INSERT INTO qz_PsnBase (PID, DID, AID, Number, Name, Ord, F12) VALUES"
        " (1, 1, 1, 'A001', '张一', 1, 10), (2, 2, 1, 'A002', '张二', 2, 10),"
        " (3, 3, 2, 'A003', '张三', 3, 10), (4, 4, 1, 'a004', '张四', 4, 10),"
        " (5, 5, 2, 'A005', '张五', 5, 10), (6, 5, 1, 'A006', '张六', 6, 10),"
        " (7, 4, 2, 'B007', 'O''Brien', 7, 10)"_s,
        u"INSERT INTO qz_Users (UserName, Pwd, Locked, Purview, ISuper) VALUES"
        " ('dept35', '', 0, '%1|1,2,|3,5,|', 0), ('nodept', '', 0, '%1|1,2,||', 0),"
        " ('viewer', '', 0, '%2|1,2,|3,5,|', 0)"_s.arg(maskText({ 0, 2, 3 }), maskText({ 0 })),
    };
    for (const QString &statement : statements) {
        if (!db.Execute(statement)) {
            *error = statement + u"\n"_s + db.GetLastErrorString();
            return false;
        }
    }
    // Identity columns on PostgreSQL go on after the ids written above.
    if (db.backend() == vantrel::db::Backend::Postgres) {
        for (const auto &[table, key] :
             { std::pair { u"qz_PsnBase"_s, u"PID"_s }, std::pair { u"qz_Dept"_s, u"DID"_s },
               std::pair { u"qz_PsnSort"_s, u"AID"_s } }) {
            const QString sql = u"SELECT setval(pg_get_serial_sequence('%1', '%2'),"
                                " (SELECT MAX(%2) FROM %1))"_s.arg(table.toLower(), key.toLower());
            if (!db.Execute(sql)) {
                *error = db.GetLastErrorString();
                return false;
            }
        }
    }
    return true;
}

void loginAs(const QString &userName)
{
    const vantrel::db::QueryResult row = theDatabase.run(
        u"SELECT UserID, ISuper, Purview FROM qz_Users WHERE UserName = ?"_s, { userName });
    theCurrentUser.reset();
    theCurrentUser.UserName = userName;
    theCurrentUser.UserID = row.rows.value(0, 0).toInt();
    theCurrentUser.ISuper = row.rows.value(0, 1).toInt();
    theCurrentUser.ParsePurview(row.rows.value(0, 2).toString());
}

QStringList logLines()
{
    const vantrel::db::QueryResult result
        = theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id"_s);
    QStringList lines;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        lines << result.rows.value(row, 0).toString();
    return lines;
}

CPersonBase fixturePerson(int pid)
{
    const vantrel::db::QueryResult row
        = theDatabase.run(u"SELECT Number, Name FROM qz_PsnBase WHERE PID = ?"_s, { pid });
    CPersonBase person;
    person.PID = pid;
    person.Number = row.rows.value(0, 0).toString();
    person.Name = row.rows.value(0, 1).toString();
    return person;
}

bool writeTestWorkbook(const QString &path, const QStringList &header,
                       const QList<QVariantList> &rows)
{
    workbook::WorkbookWriter writer(path, u"人员"_s);
    if (!writer.open() || !writer.writeHeader(header))
        return false;
    for (const QVariantList &row : rows) {
        if (!writer.writeRow(row))
            return false;
    }
    return bool(writer.finish());
}
