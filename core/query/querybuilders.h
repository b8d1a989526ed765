#pragma once

#include <QString>

// Pieces of the person and detail queries that lists, reports, exports, mail merge and
// reminders share. Callers compose "SELECT " + select list + FROM clause + their own WHERE and
// ORDER BY; nothing here filters rows. Column captions become double-quoted aliases (inner
// quotes doubled), distinct within one list: a caption that is already taken (compared
// without case and without double quotes) gets "(2)", "(3)" … appended, an empty one falls back to
// the column name, and each is cut to 63 UTF-8 bytes, the longest name PostgreSQL keeps, so both
// backends return the same field names. Items whose names are not plain identifiers are left out.

// " FROM qz_PsnBase LEFT OUTER JOIN qz_PsnSort … LEFT OUTER JOIN qz_Dept … " and with the
// flag the photo join; begins and ends with a blank. Persons without a category or
// department row stay in.
QString BuildPsnFromClause(bool withPhoto);

// " FROM <detail> INNER JOIN qz_PsnBase … INNER JOIN qz_Dept … INNER JOIN qz_PsnSort … "
// joined on the detail row's own PID, DID and AID, and with the flag the photo join. Empty
// when qz_Table does not describe the detail table.
QString BuildDetailFromClause(const QString &detailTable, bool withPhoto);

// The select list for reports and mail merge: qz_PsnBase.PID, the person, category and
// department items of data types 0 to 3, the photo items with the flag, then every item of the
// detail table qz_Table.ID = detailTableId (none when it is 0 or less), each qualified by its
// table.
QString BuildPsnSelect(int detailTableId, bool withPhoto);

// Every person-base item for the statistics dialogs; a link item (type 4) shows the Name of
// the row it links to (the table before the '.' of its IdRef). Empty when there are none.
QString BuildPsnBaseSelectList();

// ",<Name> AS <caption>" for every item of the table in item order, unqualified, to follow
// the caller's own first columns. Empty when the table has no items.
QString BuildTableSelectList(const QString &tableName);

// The caption as a double-quoted alias, inner quotes doubled.
QString QuoteCaption(const QString &caption);
