#pragma once

#include "core/db/rowset.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

namespace vantrel::db {

// A parsed filter in ADO's criteria syntax:
//   Field op value { AND|OR Field op value }, with parentheses,
//   op one of = <> < > <= >= LIKE, values 'text' (quote doubled), #date#, numbers or NULL,
//   LIKE patterns with * or % at the start and/or end. Field names may be in [brackets].
// Texts compare without regard to case.
class RecordsetFilter
{
public:
    static Result<RecordsetFilter> parse(const QString &criteria, const RowSet &rows);
    bool matches(const RowSet &rows, int row) const;

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
};

} // namespace vantrel::db
