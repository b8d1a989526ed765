#pragma once

#include "core/script/scriptsession.h"

#include <QString>

#include <memory>

class CADODatabase;

// Installs a session snapshot on the calling thread for the scope's life and restores the one
// before on leaving. A worker thread creates one at the start of its run: with no connection
// given, the scope opens one of its own from the snapshot's connection string (QtSql
// connections belong to the thread that opened them) and closes it at the end.
class ScriptSessionScope
{
public:
    explicit ScriptSessionScope(ScriptSession session, CADODatabase *database = nullptr);
    ~ScriptSessionScope();
    ScriptSessionScope(const ScriptSessionScope &) = delete;
    ScriptSessionScope &operator=(const ScriptSessionScope &) = delete;

    // Whether the session has an open connection; error() says why not.
    bool isOpen() const;
    QString error() const { return m_error; }
    const ScriptSession &session() const { return m_session; }

private:
    std::unique_ptr<CADODatabase> m_ownDatabase;
    ScriptSession m_session;
    const ScriptSession *m_previous = nullptr;
    QString m_error;
};
