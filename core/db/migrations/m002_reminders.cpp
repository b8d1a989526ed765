#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration002Reminders()
{
    SchemaMigration migration;
    migration.version = 2;
    migration.description = u"Personnel reminders: one row per reminder definition"_s;
    // WTable and WField name a date item of a person table (qz_Table nType 4, qz_Items
    // iDataType 2); with ISCustom set, WCondit is an SQL condition over the person query's
    // tables instead.
    migration.statements << uR"sql(CREATE TABLE qz_PsnCaseWakeup (
    ID %IDENTITY%,
    Title VARCHAR(200) NOT NULL,
    WTips TEXT,
    WTable VARCHAR(100),
    WField VARCHAR(100),
    BefDays INTEGER NOT NULL DEFAULT 0,
    ISCustom INTEGER NOT NULL DEFAULT 0,
    WCondit TEXT,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s;
    return migration;
}

} // namespace vantrel::db
