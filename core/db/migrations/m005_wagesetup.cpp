#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration005WageSetup()
{
    SchemaMigration migration;
    migration.version = 5;
    migration.description
        = u"Wage-set set-up: one membership per person, standard tables, chooser lists"_s;
    migration.statements
        // A person belongs to a wage set once; of duplicates the first row stays.
        << u"DELETE FROM qz_WagePsn WHERE ID NOT IN "
           u"(SELECT MIN(ID) FROM qz_WagePsn GROUP BY SID, PID)"_s
        << u"DROP INDEX ix_qz_WagePsn_SID_PID"_s
        << u"CREATE UNIQUE INDEX ux_qz_WagePsn_SID_PID ON qz_WagePsn (SID, PID)"_s
        // The standard tables of wage sets; each names its own values table (STDTable).
        << uR"sql(CREATE TABLE qz_WageStdTable (
    id %IDENTITY%,
    SID INTEGER NOT NULL,
    STDName VARCHAR(50) NOT NULL,
    Descr VARCHAR(100),
    STDDim INTEGER NOT NULL DEFAULT 1,
    STDTable VARCHAR(50),
    DictRow VARCHAR(50),
    FldRow VARCHAR(50),
    TblRow VARCHAR(50),
    DictCol VARCHAR(50),
    FldCol VARCHAR(50),
    TblCol VARCHAR(50),
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s
        << u"CREATE INDEX ix_qz_WageStdTable_SID ON qz_WageStdTable (SID)"_s
        // The column items of two-dimension standard tables.
        << uR"sql(CREATE TABLE qz_WageStdTblItem (
    id %IDENTITY%,
    StdID INTEGER NOT NULL,
    DictId VARCHAR(20) NOT NULL,
    DictValue VARCHAR(20) NOT NULL
))sql"_s
        << u"CREATE INDEX ix_qz_WageStdTblItem_StdID ON qz_WageStdTblItem (StdID)"_s
        // Persons offered by an open chooser, with their ticks: one list per open dialog
        // (WorkKey), so two sessions of one operator never meet. A dialog removes its rows
        // when it closes; rows older than a day are left-overs of a session that ended hard.
        << uR"sql(CREATE TABLE qz_PsnPickWork (
    WorkKey VARCHAR(40) NOT NULL,
    PID INTEGER NOT NULL,
    CKD INTEGER NOT NULL DEFAULT 0,
    ord INTEGER NOT NULL DEFAULT 0,
    Created %DATETIME% NOT NULL,
    PRIMARY KEY (WorkKey, PID)
))sql"_s;
    return migration;
}

} // namespace vantrel::db
