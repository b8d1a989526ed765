#include "core/script/scriptsessionscope.h"

#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

ScriptSessionScope::ScriptSessionScope(ScriptSession session, CADODatabase *database)
    : m_session(std::move(session))
{
    if (database) {
        m_session.database = database;
    } else {
        m_ownDatabase = std::make_unique<CADODatabase>();
        if (m_session.connectionString.isEmpty())
            m_error = u"No connection string for the script session."_s;
        else if (!m_ownDatabase->Open(m_session.connectionString))
            m_error = m_ownDatabase->GetLastErrorString();
        m_session.database = m_ownDatabase.get();
    }
    m_previous = ScriptSession::install(&m_session);
}

ScriptSessionScope::~ScriptSessionScope()
{
    ScriptSession::install(m_previous);
    if (m_ownDatabase)
        m_ownDatabase->Close();
}

bool ScriptSessionScope::isOpen() const
{
    return m_session.database && m_session.database->IsOpen();
}
