#include "searchfixture.h"

#include "core/db/cadodatabase.h"

#include <QDateTime>
#include <QStringList>

using namespace Qt::StringLiterals;

bool fillSearchFixture(CADODatabase &db, QString *error)
{
    const QStringList statements {
        u"UPDATE qz_PsnBase SET F13 = 'xyz' WHERE PID = 1"_s,
        u"UPDATE qz_PsnBase SET F13 = 'AX' WHERE PID = 3"_s,
        u"UPDATE qz_PsnBase SET F13 = 'none' WHERE PID = 5"_s,
        db.dialect().ddl(u"CREATE TABLE qz_Rel1 (ID %IDENTITY%, PID INTEGER, Ord INTEGER,"
                         " R1 VARCHAR(50), R2 %DATETIME%)"_s),
        u"CREATE TABLE qz_Rel2 (ID INTEGER, PID INTEGER, Ord INTEGER, R3 VARCHAR(20),"
        " R4 DOUBLE PRECISION)"_s,
        u"INSERT INTO qz_Table (TblName, Title, nType, Ord) VALUES ('qz_Rel1', '履历', 5, 1),"
        " ('qz_Rel2', '家庭', 5, 2)"_s,
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, IdRef, Ord) VALUES"
        " ('QZ_REL1', 'R1', '单位', 1, NULL, 1), ('QZ_REL1', 'R2', '起始', 2, NULL, 2),"
        " ('QZ_REL2', 'R3', '关系', 3, 'GX', 1), ('QZ_REL2', 'R4', '人数', 0, NULL, 2)"_s,
        u"INSERT INTO qz_Rel1 (PID, Ord, R1) VALUES (1, 1, '甲公司'), (6, 1, '甲公司'),"
        " (7, 1, '乙公司')"_s,
        u"INSERT INTO qz_Rel2 (ID, PID, Ord, R3, R4) VALUES (1, 1, 1, '配偶', 3),"
        " (2, 2, 1, '子女', 1), (3, 6, 1, '配偶', 4)"_s,
    };
    for (const QString &statement : statements) {
        if (!db.Execute(statement)) {
            *error = statement + u"\n"_s + db.GetLastErrorString();
            return false;
        }
    }
    const QDateTime late(QDate(2019, 12, 31), QTime(23, 0));
    const QDateTime morning(QDate(2021, 5, 1), QTime(10, 30));
    for (const auto &[sql, values] :
         { std::pair { u"UPDATE qz_PsnBase SET F14 = ? WHERE PID = ?"_s, QVariantList { late, 2 } },
           std::pair { u"UPDATE qz_PsnBase SET F14 = ? WHERE PID = ?"_s,
                       QVariantList { morning, 6 } },
           std::pair { u"UPDATE qz_Rel1 SET R2 = ? WHERE PID = ?"_s,
                       QVariantList { QDateTime(QDate(2018, 1, 1), QTime(0, 0)), 1 } },
           std::pair { u"UPDATE qz_Rel1 SET R2 = ? WHERE PID = ?"_s,
                       QVariantList { QDateTime(QDate(2022, 3, 4), QTime(8, 0)), 7 } } }) {
        if (!db.Execute(sql, values)) {
            *error = db.GetLastErrorString();
            return false;
        }
    }
    return true;
}
