#include "ui/htmledit/chtmleditorpage.h"

#include <QLoggingCategory>
#include <QWebEngineSettings>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcHtmlEditorPage, "vantrel.htmleditor")

CHtmlEditorPage::CHtmlEditorPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    QWebEngineSettings *s = settings();
    // JavascriptEnabled covers the document's scripts only; ours run in the application world.
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::WebGLEnabled, false);
}

bool CHtmlEditorPage::acceptNavigationRequest(const QUrl &url, NavigationType type,
                                              bool isMainFrame)
{
    if (isMainFrame && type == NavigationTypeTyped && m_expectedLoads > 0) {
        --m_expectedLoads;
        return true;
    }
    // Frames of a template may show their own inline document, nothing from elsewhere.
    if (!isMainFrame && url.scheme() == u"about"_s)
        return true;
    Q_EMIT navigationRefused(url);
    return false;
}

void CHtmlEditorPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                               const QString &message, int line,
                                               const QString &source)
{
    if (level == ErrorMessageLevel)
        qCWarning(lcHtmlEditorPage, "%s:%d: %s", qUtf8Printable(source), line,
                  qUtf8Printable(message));
}
