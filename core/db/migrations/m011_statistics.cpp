#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration011Statistics()
{
    SchemaMigration migration;
    migration.version = 11;
    migration.description
        = u"Statistics: definitions (qz_Stat) and their ranges (qz_StatItmFilter)"_s;
    migration.statements
        // A cross (sFlag 2) keeps the TIDs of the two statistics it crosses, as decimal text,
        // in sTblName and sFldName.
        << uR"sql(CREATE TABLE qz_Stat (
    TID %IDENTITY%,
    sCaption VARCHAR(100),
    sFlag INTEGER NOT NULL DEFAULT 1,
    bFixed INTEGER NOT NULL DEFAULT 0,
    sTblName VARCHAR(50),
    sFldName VARCHAR(50),
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s
        // Bounds are kept as typed texts: numbers, or dates as "yyyy-MM-dd".
        << uR"sql(CREATE TABLE qz_StatItmFilter (
    id %IDENTITY%,
    TID INTEGER NOT NULL,
    fTitle VARCHAR(200),
    LowerVal VARCHAR(50),
    UperVal VARCHAR(50),
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s << u"CREATE INDEX ix_qz_Stat_Flag ON qz_Stat (sFlag, Ord)"_s
        << u"CREATE INDEX ix_qz_StatItmFilter_TID ON qz_StatItmFilter (TID, Ord)"_s
        // The person table and the related archives are what statistics count; wage sets
        // never are.
        << u"UPDATE qz_Table SET bStat=1 WHERE bStat<>1 AND nType<>6"
           " AND (upper(TblName)='QZ_PSNBASE' OR nType=5)"_s;
    return migration;
}

} // namespace vantrel::db
