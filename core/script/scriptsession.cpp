#include "core/script/scriptsession.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"

#include <QCoreApplication>
#include <QThread>

namespace {

thread_local const ScriptSession *t_installed = nullptr;

bool onInterfaceThread()
{
    // Without an application object there is only the one thread.
    const QCoreApplication *app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

} // namespace

ScriptSession ScriptSession::snapshot()
{
    ScriptSession session;
    session.connectionString = theApp.m_strConnection;
    session.userName = theCurrentUser.UserName;
    session.period = theApp.SDate;
    session.wageSetId = theApp.SID;
    session.wageSetName = theApp.SName;
    session.wageView = theApp.m_wageView;
    session.database = &theDatabase;
    return session;
}

ScriptSession ScriptSession::current()
{
    if (t_installed)
        return *t_installed;
    if (onInterfaceThread())
        return snapshot();
    return {};
}

const ScriptSession *ScriptSession::install(const ScriptSession *session)
{
    const ScriptSession *previous = t_installed;
    t_installed = session;
    return previous;
}
