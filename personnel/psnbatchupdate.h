#pragma once

#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

class CADODatabase;

namespace vantrel::personnel {

// One change of one person item for every person of a scope (the person list's batch update).
struct PsnBatchUpdate
{
    QString itemName; // the item's column, as qz_Items names it
    int mode = 0;     // 0 assign, 1 add, 2 subtract, 3 multiply, 4 divide (numbers only)
    QString value;    // as typed; a date as yyyy-MM-dd, empty for none
};

// The words of the modes as the log shows them ("赋值" …); modes of other items log "赋值".
QString BatchModeWord(int mode);

// Changes the item for the persons of the scope (the person list's WHERE text, over
// BuildPsnFromClause without the photo) in one statement: texts, dictionary values and dates
// are assigned; numbers computed by the mode and rounded to 2 decimals. The value is always
// bound. Returns the number of persons changed, or why nothing was: the item is not a
// person item that may be batch-changed (never NUMBER), the value is no number or no date,
// a division by 0, or the database's own text.
Result<int> RunPsnBatchUpdate(CADODatabase &db, const PsnBatchUpdate &update,
                              const SqlCondition &where);

// "人员档案[基本信息批量修改'<item>|<mode>|<value>(<condition>)']" with the scope as text
// ("WHERE" as "条件：").
QString BatchUpdateLogText(const PsnBatchUpdate &update, int dataType, const SqlCondition &where);

} // namespace vantrel::personnel
