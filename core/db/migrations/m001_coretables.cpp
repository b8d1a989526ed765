#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

// Column names keep the spelling the rest of the program uses in its SQL; identifiers are
// never quoted, so both backends fold them alike. Flags are INTEGER 0/1 and never NULL, since
// the callers compare them with "=1" and "<>2".

QStringList metadataTables()
{
    return {
        // One row per data table: the built-in ones, related archives (nType 5), wage sets (6).
        uR"sql(CREATE TABLE qz_Table (
    ID %IDENTITY%,
    TblName VARCHAR(50) NOT NULL,
    Title VARCHAR(50) NOT NULL,
    Descr VARCHAR(100),
    ParentID INTEGER NOT NULL DEFAULT 0,
    nType INTEGER NOT NULL DEFAULT 0,
    hasChild INTEGER NOT NULL DEFAULT 0,
    Flag INTEGER NOT NULL DEFAULT 0,
    bFixed INTEGER NOT NULL DEFAULT 0,
    bShow INTEGER NOT NULL DEFAULT 0,
    bStat INTEGER NOT NULL DEFAULT 0,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
        // One row per item (column) of a data table; grids, forms, imports and wage formulas
        // are built from these rows. The wage columns (iProperty to Active) serve wage items.
        uR"sql(CREATE TABLE qz_Items (
    ItemID %IDENTITY%,
    iSort INTEGER NOT NULL DEFAULT 0,
    TblName VARCHAR(50) NOT NULL,
    Name VARCHAR(30) NOT NULL,
    Alias VARCHAR(50) NOT NULL,
    iDataType INTEGER NOT NULL DEFAULT 0,
    iLength INTEGER NOT NULL DEFAULT 0,
    iDec INTEGER NOT NULL DEFAULT 0,
    iChoice INTEGER NOT NULL DEFAULT 0,
    iFlag INTEGER NOT NULL DEFAULT 0,
    IdRef VARCHAR(100),
    DefValue VARCHAR(256),
    bFixed INTEGER NOT NULL DEFAULT 0,
    bNotNull INTEGER NOT NULL DEFAULT 0,
    bShow INTEGER NOT NULL DEFAULT 0,
    iWid INTEGER NOT NULL DEFAULT 0,
    ColFmt VARCHAR(50),
    iProperty INTEGER NOT NULL DEFAULT 0,
    FExp TEXT,
    FExp2 TEXT,
    OrdF INTEGER NOT NULL DEFAULT 0,
    StdTblID INTEGER NOT NULL DEFAULT 0,
    Retain INTEGER NOT NULL DEFAULT 0,
    Active INTEGER NOT NULL DEFAULT 0,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
    };
}

QStringList personTables()
{
    // The user-defined columns of these tables are added later by the structure procedures;
    // the fixed ones stay nullable where a form may store an empty value as NULL.
    return {
        // Persons: fixed columns only.
        uR"sql(CREATE TABLE qz_PsnBase (
    PID %IDENTITY%,
    DID INTEGER NOT NULL DEFAULT 0,
    AID INTEGER NOT NULL DEFAULT 0,
    Number VARCHAR(50),
    Name VARCHAR(50),
    Sex VARCHAR(10),
    Birthday %DATETIME%,
    IDNumber VARCHAR(18),
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
        // At most one photo per person, keyed by the person's own id.
        uR"sql(CREATE TABLE qz_PsnAdj (
    PID INTEGER NOT NULL PRIMARY KEY,
    Photo %BLOB%
))sql"_s,
        // The department tree; ParentArr is the path "|own|parent|…|top|".
        uR"sql(CREATE TABLE qz_Dept (
    DID %IDENTITY%,
    ParentID INTEGER NOT NULL DEFAULT 0,
    Name VARCHAR(50),
    Ord INTEGER NOT NULL DEFAULT 0,
    ParentArr VARCHAR(1000),
    PNRule VARCHAR(50)
))sql"_s,
        // Person categories.
        uR"sql(CREATE TABLE qz_PsnSort (
    AID %IDENTITY%,
    Name VARCHAR(50),
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
    };
}

QStringList dictionaryTables()
{
    return {
        // Dictionary classes; DictId is the code that items of data type 3 refer to.
        uR"sql(CREATE TABLE qz_Dict (
    ID %IDENTITY%,
    DictId VARCHAR(20) NOT NULL UNIQUE,
    Title VARCHAR(100) NOT NULL,
    Active INTEGER NOT NULL DEFAULT 0,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
        // Coded dictionary entries, a tree by code prefix within one class.
        uR"sql(CREATE TABLE qz_DictItem (
    ID %IDENTITY%,
    DictId VARCHAR(20) NOT NULL,
    DictValue VARCHAR(20) NOT NULL,
    ParentValue VARCHAR(20),
    Title VARCHAR(100) NOT NULL,
    Active INTEGER NOT NULL DEFAULT 0,
    hasChild INTEGER NOT NULL DEFAULT 0
))sql"_s,
    };
}

QStringList administrationTables()
{
    return {
        // Operators: Pwd holds a self-describing salted digest, Purview the rights text
        // "mask|categories|departments|wage sets".
        uR"sql(CREATE TABLE qz_Users (
    UserID %IDENTITY%,
    UserName VARCHAR(50) NOT NULL,
    Pwd VARCHAR(255),
    Locked INTEGER NOT NULL DEFAULT 0,
    Descr VARCHAR(255),
    Purview TEXT,
    ISuper INTEGER NOT NULL DEFAULT 0
))sql"_s,
        // Shared options by nType: 0 person numbering, 1 global script, 2 log retention days.
        uR"sql(CREATE TABLE qz_SysOption (
    id %IDENTITY%,
    nType INTEGER NOT NULL DEFAULT 0,
    sContent TEXT
))sql"_s,
        // Mail settings by dt: 0 the person item holding addresses, 3 one sender mailbox.
        // The password is wider than typed input, to leave room for an encoded form.
        uR"sql(CREATE TABLE qz_BatchMailSet (
    id %IDENTITY%,
    dt INTEGER NOT NULL DEFAULT 0,
    dbfield VARCHAR(50),
    svrname VARCHAR(50),
    port INTEGER NOT NULL DEFAULT 0,
    auh INTEGER NOT NULL DEFAULT 0,
    ssl INTEGER NOT NULL DEFAULT 0,
    account VARCHAR(50),
    password VARCHAR(255),
    mailadr VARCHAR(50),
    username VARCHAR(50)
))sql"_s,
        // The system log: one row per logged action, in local time.
        uR"sql(CREATE TABLE qz_Log (
    id %IDENTITY%,
    lDate %DATETIME% NOT NULL,
    lUser VARCHAR(50),
    lAction VARCHAR(2000)
))sql"_s,
    };
}

QStringList templateTables()
{
    return {
        // Report layouts: print and export templates (Type 0 payroll print, 1 personnel print,
        // 2 Excel export) and their subreports (Type -1, ParentID = the main report).
        uR"sql(CREATE TABLE qz_Report (
    ID %IDENTITY%,
    ParentID INTEGER NOT NULL DEFAULT 0,
    Type INTEGER NOT NULL DEFAULT 0,
    SID INTEGER NOT NULL DEFAULT 0,
    Name VARCHAR(255),
    Data %BLOB%,
    EPara VARCHAR(255),
    RsSQL TEXT,
    Active INTEGER NOT NULL DEFAULT 0,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
        // Bank-transfer file templates of a wage set.
        uR"sql(CREATE TABLE qz_WageExport (
    EID %IDENTITY%,
    SID INTEGER NOT NULL DEFAULT 0,
    Name VARCHAR(255) NOT NULL,
    Header TEXT,
    Footer TEXT,
    Sep VARCHAR(6),
    Ext VARCHAR(6),
    SFRows INTEGER NOT NULL DEFAULT 0,
    Active INTEGER NOT NULL DEFAULT 0,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
        // Mail templates: pay slips of a wage set, or personnel mails with SID 0.
        uR"sql(CREATE TABLE qz_WageAnnounce (
    AID %IDENTITY%,
    SID INTEGER NOT NULL DEFAULT 0,
    Name VARCHAR(255) NOT NULL,
    Subject VARCHAR(256),
    Content TEXT,
    Active INTEGER NOT NULL DEFAULT 0,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s,
    };
}

QStringList indexes()
{
    // User names and person numbers are unique without regard to case; the code checks that,
    // so their indexes only speed up the lookups.
    return {
        u"CREATE UNIQUE INDEX ux_qz_Table_TblName ON qz_Table (TblName)"_s,
        u"CREATE INDEX ix_qz_Table_ParentID ON qz_Table (ParentID)"_s,
        u"CREATE UNIQUE INDEX ux_qz_Items_TblName_Name ON qz_Items (TblName, Name)"_s,
        u"CREATE INDEX ix_qz_Items_TblName_Ord ON qz_Items (TblName, Ord)"_s,
        u"CREATE INDEX ix_qz_PsnBase_DID ON qz_PsnBase (DID)"_s,
        u"CREATE INDEX ix_qz_PsnBase_AID ON qz_PsnBase (AID)"_s,
        u"CREATE INDEX ix_qz_PsnBase_Number ON qz_PsnBase (Number)"_s,
        u"CREATE INDEX ix_qz_Dept_ParentID ON qz_Dept (ParentID)"_s,
        u"CREATE UNIQUE INDEX ux_qz_DictItem_Code"
        u" ON qz_DictItem (DictId, ParentValue, DictValue)"_s,
        u"CREATE INDEX ix_qz_Users_UserName ON qz_Users (UserName)"_s,
        u"CREATE INDEX ix_qz_SysOption_nType ON qz_SysOption (nType)"_s,
        u"CREATE INDEX ix_qz_BatchMailSet_dt ON qz_BatchMailSet (dt)"_s,
        u"CREATE INDEX ix_qz_Log_lDate ON qz_Log (lDate)"_s,
        u"CREATE INDEX ix_qz_Report_Type_SID ON qz_Report (Type, SID)"_s,
        u"CREATE INDEX ix_qz_Report_ParentID ON qz_Report (ParentID)"_s,
        u"CREATE INDEX ix_qz_WageExport_SID ON qz_WageExport (SID)"_s,
        u"CREATE INDEX ix_qz_WageAnnounce_SID ON qz_WageAnnounce (SID)"_s,
    };
}

QStringList optionSeeds()
{
    return {
        // Person numbers typed by hand ("scheme|length|prefix"), an empty global script and
        // 60 days of log; the option pages rewrite these rows in place, so they must exist.
        uR"sql(INSERT INTO qz_SysOption (nType, sContent) VALUES
    (0, '3|6|'),
    (1, ''),
    (2, '60'))sql"_s,
        // The row naming the person item that holds mail addresses; none chosen yet.
        u"INSERT INTO qz_BatchMailSet (dt, dbfield) VALUES (0, '')"_s,
    };
}

QStringList metadataSeeds()
{
    return {
        // The built-in tables. The person table is the main table of the related archives
        // (hasChild) and the one reminders read dates from (nType 4); the category and
        // department rows keep the spelling the report wizard compares exactly.
        uR"sql(INSERT INTO qz_Table
    (TblName, Title, Descr, ParentID, nType, hasChild, Flag, bFixed, bShow, bStat, Ord) VALUES
    ('QZ_PSNBASE', '人员信息', '人员基本信息', 0, 4, 1, 1, 1, 1, 1, 1),
    ('qz_PsnSort', '人员类别', '人员类别', 0, 1, 0, 1, 1, 1, 0, 2),
    ('qz_Dept', '部门', '组织机构', 0, 2, 0, 1, 1, 1, 0, 3))sql"_s,
        // Items of the built-in columns. Data types: 0 number, 1 text, 2 date, 3 dictionary,
        // 4 link (IdRef names the key it links to), 5 kept off forms. iSort: 0 person,
        // 3 category, 4 department, 5 other tables.
        uR"sql(INSERT INTO qz_Items
    (TblName, Name, Alias, iSort, iDataType, iLength, IdRef,
     bFixed, bNotNull, bShow, Active, iWid, Ord) VALUES
    ('QZ_PSNBASE', 'Number', '编号', 0, 1, 50, NULL, 1, 1, 1, 1, 120, 1),
    ('QZ_PSNBASE', 'Name', '姓名', 0, 1, 50, NULL, 1, 1, 1, 1, 120, 2),
    ('QZ_PSNBASE', 'Sex', '性别', 0, 1, 10, NULL, 1, 0, 1, 1, 50, 3),
    ('QZ_PSNBASE', 'Birthday', '出生日期', 0, 2, 8, NULL, 1, 0, 1, 1, 100, 4),
    ('QZ_PSNBASE', 'IDNumber', '身份证号', 0, 1, 18, NULL, 1, 0, 1, 1, 150, 5),
    ('QZ_PSNBASE', 'DID', '部门', 0, 4, 4, 'QZ_DEPT.DID', 1, 1, 1, 1, 120, 6),
    ('QZ_PSNBASE', 'AID', '人员类别', 0, 4, 4, 'QZ_PSNSORT.AID', 1, 1, 1, 1, 100, 7),
    ('QZ_PSNSORT', 'Name', '类别名称', 3, 1, 50, NULL, 1, 1, 1, 1, 150, 1),
    ('QZ_DEPT', 'Name', '部门名称', 4, 1, 50, NULL, 1, 1, 1, 1, 200, 1),
    ('QZ_DEPT', 'ParentID', '上级部门', 4, 4, 4, 'QZ_DEPT.DID', 1, 0, 1, 1, 120, 2),
    ('QZ_PSNADJ', 'Photo', '相片', 5, 5, 0, NULL, 1, 0, 1, 1, 100, 1))sql"_s,
    };
}

} // namespace

SchemaMigration migration001CoreTables()
{
    SchemaMigration migration;
    migration.version = 1;
    migration.description = u"Core tables: metadata, persons, departments, categories, "
                            u"dictionaries, operators, options, log and templates"_s;
    migration.statements << metadataTables() << personTables() << dictionaryTables()
                         << administrationTables() << templateTables() << indexes() << optionSeeds()
                         << metadataSeeds();
    return migration;
}

} // namespace vantrel::db
