#pragma once

#include "core/db/rowset.h"
#include "platform/common/result.h"

#include <QHash>
#include <QString>

#include <memory>

class CADODatabase;

namespace vantrel::report {

// The connections of one report run: one per connection string, opened on first use and closed
// when the run ends. Every query runs read-only: a record source is user text, and a statement
// that tries to write fails without changing anything.
class DataConnections
{
public:
    DataConnections();
    ~DataConnections();
    DataConnections(const DataConnections &) = delete;
    DataConnections &operator=(const DataConnections &) = delete;

    // The rows of source on the connection string's database; the error names the reason.
    // Column lookup by name ignores case; values keep their type (NULL, number, text, date,
    // blob).
    Result<db::RowSet> read(const QString &connectionString, const QString &source);
    void closeAll();

private:
    QHash<QString, std::shared_ptr<CADODatabase>> m_connections;
};

} // namespace vantrel::report
