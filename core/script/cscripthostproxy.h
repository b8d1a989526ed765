#pragma once

#include "platform/common/result.h"
#include "platform/vbscript/scripterror.h"
#include "platform/vbscript/variant.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace vantrel::vbscript {
class Engine;
}

// The owner of one VBScript engine with the named item "myApp" (the host functions). Each
// user of scripts keeps its own proxy and restarts it before use; an engine belongs to the
// thread that created it.
//
// Script errors are reported once through the error presenter (a message box of the window
// layer) when they happen on the user-interface thread; on any other thread nothing is shown
// and the caller reads lastError().
class CScriptHostProxy
{
public:
    // Result codes of Evaluate.
    static constexpr int S_OK_ = 0;
    static constexpr int NoEngine = 1;

    CScriptHostProxy();
    virtual ~CScriptHostProxy();
    CScriptHostProxy(const CScriptHostProxy &) = delete;
    CScriptHostProxy &operator=(const CScriptHostProxy &) = delete;

    // Drops any engine and starts a new one with "myApp"; 1 when it runs.
    int CreateEngine();
    // Adds functions, subs and global statements (which run at once); 1 on success, 0 when
    // there is no engine or the text fails (the error has been reported).
    int LoadScript(const QString &text);
    // One expression: 0 with the value in *result; the error's negative code when the script
    // fails; 1 when there is no engine (then *result stays empty).
    int Evaluate(const QString &expression, QVariant *result);
    // The same, keeping the script's own value (its subtype and all).
    int Evaluate(const QString &expression, vantrel::vbscript::Variant *result);
    void ReleaseEngine();

    bool hasEngine() const { return m_engine != nullptr; }
    // The engine, for compiling expressions once and evaluating them many times; null
    // without an engine.
    vantrel::vbscript::Engine *engine() const { return m_engine.get(); }
    const vantrel::vbscript::ScriptError &lastError() const { return m_lastError; }

    // Shows a script error to the user (text, caption); set by the window layer.
    using ErrorPresenter = std::function<void(const QString &text, const QString &caption)>;
    static void setErrorPresenter(ErrorPresenter presenter);

private:
    void report(const vantrel::vbscript::ScriptError &error);

    std::unique_ptr<vantrel::vbscript::Engine> m_engine;
    vantrel::vbscript::ScriptError m_lastError;
};

// Drops the proxy's engine, starts a new one and loads the stored global script
// (qz_SysOption nType 1) into it. Does nothing for a null proxy. Fails, with the engine
// started but without the global script, when that script cannot be read.
vantrel::Status RestartScriptHost(CScriptHostProxy *proxy);
