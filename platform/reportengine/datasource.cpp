#include "platform/reportengine/datasource.h"

#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"

using namespace Qt::StringLiterals;

namespace vantrel::report {

DataConnections::DataConnections() = default;

DataConnections::~DataConnections()
{
    closeAll();
}

void DataConnections::closeAll()
{
    for (const auto &db : std::as_const(m_connections))
        db->Close();
    m_connections.clear();
}

Result<db::RowSet> DataConnections::read(const QString &connectionString, const QString &source)
{
    if (source.trimmed().isEmpty())
        return Result<db::RowSet>::failure(u"The data control has no record source."_s);
    std::shared_ptr<CADODatabase> &db = m_connections[connectionString];
    if (!db) {
        db = std::make_shared<CADODatabase>();
        if (!db->Open(connectionString)) {
            const QString error = db->GetLastErrorString();
            m_connections.remove(connectionString);
            return Result<db::RowSet>::failure(u"The report's database cannot be opened: "_s
                                               + error);
        }
    }
    db::QueryResult result = db->runReadOnly(source);
    if (!result.ok)
        return Result<db::RowSet>::failure(
            result.error.description.isEmpty() ? result.error.meaning : result.error.description);
    if (!result.returnsRows)
        return Result<db::RowSet>::failure(u"The record source returns no rows: "_s + source);
    return std::move(result.rows);
}

} // namespace vantrel::report
