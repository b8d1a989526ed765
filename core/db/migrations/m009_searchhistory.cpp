#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

QStringList savedQueryTables()
{
    return {
        // One row per saved advanced query of one operator and one window type.
        uR"sql(CREATE TABLE qz_Research (
    RID %IDENTITY%,
    Name VARCHAR(50),
    UserID INTEGER NOT NULL DEFAULT 0,
    iType INTEGER NOT NULL DEFAULT 0,
    OrdCol TEXT
))sql"_s,
        // The condition rows of a saved query; texts are kept as shown, the SQL is built anew
        // on every run.
        uR"sql(CREATE TABLE qz_ResearchDetail (
    id %IDENTITY%,
    RID INTEGER NOT NULL,
    Flag INTEGER NOT NULL DEFAULT 0,
    AndOr VARCHAR(50),
    TblName VARCHAR(50),
    ItemName VARCHAR(50),
    OpSgn VARCHAR(20),
    sValue VARCHAR(100),
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
        u"CREATE INDEX ix_qz_Research_User ON qz_Research (UserID, iType)"_s,
        u"CREATE INDEX ix_qz_ResearchDetail_RID ON qz_ResearchDetail (RID, Flag, Ord)"_s,
    };
}

QStringList historyTables()
{
    return {
        // Transfers: the old department's name as it was, the new one as the form gave it.
        uR"sql(CREATE TABLE qz_PsnRedeploy (
    ID %IDENTITY%,
    PID INTEGER NOT NULL,
    BeforeDep VARCHAR(50),
    AfterDep VARCHAR(50),
    MobDate %DATETIME%
))sql"_s,
        // Category changes, the same way with category names.
        uR"sql(CREATE TABLE qz_PsnSortAlter (
    ID %IDENTITY%,
    PID INTEGER NOT NULL,
    OStatus VARCHAR(50),
    NStatus VARCHAR(50),
    ADate %DATETIME%
))sql"_s,
        u"CREATE INDEX ix_qz_PsnRedeploy_PID ON qz_PsnRedeploy (PID)"_s,
        u"CREATE INDEX ix_qz_PsnRedeploy_MobDate ON qz_PsnRedeploy (MobDate)"_s,
        u"CREATE INDEX ix_qz_PsnSortAlter_PID ON qz_PsnSortAlter (PID)"_s,
        u"CREATE INDEX ix_qz_PsnSortAlter_ADate ON qz_PsnSortAlter (ADate)"_s,
        // The items the wizards' forms and the history lists are built from. The new
        // department or category is picked by name; the old one is written by the wizard and
        // shown in the lists, never placed on a form (iFlag 2).
        uR"sql(INSERT INTO qz_Items
    (TblName, Name, Alias, iSort, iDataType, iLength, IdRef, iFlag,
     bFixed, bNotNull, bShow, Active, iWid, Ord) VALUES
    ('QZ_PSNREDEPLOY', 'BeforeDep', '调动前部门', 5, 1, 50, NULL, 2, 1, 0, 1, 1, 120, 1),
    ('QZ_PSNREDEPLOY', 'AfterDep', '调动后部门', 5, 3, 50, 'QZ_DEPT.NAME', 0, 1, 1, 1, 1, 120, 2),
    ('QZ_PSNREDEPLOY', 'MobDate', '调动日期', 5, 2, 8, NULL, 0, 1, 1, 1, 1, 100, 3),
    ('QZ_PSNSORTALTER', 'OStatus', '原人员类别', 5, 1, 50, NULL, 2, 1, 0, 1, 1, 100, 1),
    ('QZ_PSNSORTALTER', 'NStatus', '新人员类别', 5, 3, 50, 'QZ_PSNSORT.NAME', 0, 1, 1, 1, 1, 100, 2),
    ('QZ_PSNSORTALTER', 'ADate', '变更日期', 5, 2, 8, NULL, 0, 1, 1, 1, 1, 100, 3))sql"_s,
    };
}

} // namespace

SchemaMigration migration009SearchHistory()
{
    SchemaMigration migration;
    migration.version = 9;
    migration.description = u"Saved advanced queries; transfer and category-change histories"_s;
    migration.statements << savedQueryTables() << historyTables();
    return migration;
}

} // namespace vantrel::db
