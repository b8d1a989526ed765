#include "core/script/cscripthostproxy.h"

#include "core/query/scalarqueries.h"
#include "core/script/scriptinterface.h"
#include "core/script/scriptsession.h"
#include "core/script/scriptvalue.h"
#include "platform/vbscript/engine.h"

#include <QCoreApplication>
#include <QThread>

using namespace Qt::StringLiterals;
using vantrel::vbscript::Engine;
using vantrel::vbscript::ScriptError;
using vantrel::vbscript::Variant;

namespace {

CScriptHostProxy::ErrorPresenter &presenter()
{
    static CScriptHostProxy::ErrorPresenter p;
    return p;
}

bool onUserInterfaceThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

CScriptHostProxy::CScriptHostProxy() = default;

CScriptHostProxy::~CScriptHostProxy() = default;

void CScriptHostProxy::setErrorPresenter(ErrorPresenter p)
{
    presenter() = std::move(p);
}

void CScriptHostProxy::report(const ScriptError &error)
{
    m_lastError = error;
    if (presenter() && onUserInterfaceThread())
        presenter()(error.description(), error.source());
}

int CScriptHostProxy::CreateEngine()
{
    ReleaseEngine();
    m_engine = std::make_unique<Engine>();
    m_engine->addNamedItem(u"myApp"_s, std::make_shared<ScriptInterface>(), true);
    return 1;
}

void CScriptHostProxy::ReleaseEngine()
{
    m_engine.reset();
}

int CScriptHostProxy::LoadScript(const QString &text)
{
    if (!m_engine)
        return 0;
    if (!m_engine->loadScript(text)) {
        report(m_engine->lastError());
        return 0;
    }
    return 1;
}

int CScriptHostProxy::Evaluate(const QString &expression, Variant *result)
{
    if (!m_engine)
        return NoEngine;
    auto value = m_engine->evaluate(expression);
    if (!value) {
        report(m_engine->lastError());
        return m_engine->lastError().hresult();
    }
    *result = std::move(value).value();
    return S_OK_;
}

int CScriptHostProxy::Evaluate(const QString &expression, QVariant *result)
{
    Variant value;
    const int code = Evaluate(expression, &value);
    if (code == S_OK_)
        *result = ScriptValue::toQVariant(value);
    return code;
}

vantrel::Status RestartScriptHost(CScriptHostProxy *proxy)
{
    if (!proxy)
        return {};
    proxy->CreateEngine();
    // A worker reads the global script on its own connection; without one it runs without.
    const ScriptSession session = ScriptSession::current();
    if (!session.database)
        return {};
    const ScalarAnswer<QString> global
        = GetScalarText(u"SELECT sContent FROM qz_SysOption WHERE nType = 1 ORDER BY id LIMIT 1"_s,
                        {}, session.database);
    if (global.failed())
        return vantrel::Status::failure(global.error());
    proxy->LoadScript(global.valueOr({}));
    return {};
}
