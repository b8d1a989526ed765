#pragma once

#include <QWebEnginePage>

// The editor's page: it goes only where the editor sends it. Every navigation other than a
// load the editor announced (links, redirects, refreshes, dropped files, frames) is refused.
// The document's own scripts do not run; the editor's script runs in a world of its own.
class CHtmlEditorPage : public QWebEnginePage
{
    Q_OBJECT

public:
    CHtmlEditorPage(QWebEngineProfile *profile, QObject *parent);

    // The next main-frame load is the editor's own.
    void expectLoad() { ++m_expectedLoads; }

Q_SIGNALS:
    void navigationRefused(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int line, const QString &source) override;

private:
    int m_expectedLoads = 0;
};
