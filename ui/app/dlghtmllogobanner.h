#pragma once

#include <QWidget>

class BannerBridge;
class QWebEngineView;

// The banner page (html/banner.htm in the program folder) in a borderless web view. The
// program binds the page's elements when it has loaded: the class "hotE" lights up under the
// mouse, and clicks on the ids "calculate", "calendar", "password" and "exit" come back over
// the web channel to start the calculator, start Tirlo, ask for the password change and close
// the main window. A page without these ids simply has no working links. The page shows no
// context menu.
class CDlgHtmlLogoBanner : public QWidget
{
    Q_OBJECT

public:
    // Starts loading the page: the program folder's unless another file is named.
    explicit CDlgHtmlLogoBanner(QWidget *parent = nullptr, const QString &pageFile = {});
    ~CDlgHtmlLogoBanner() override;

    // <program folder>/html/banner.htm
    static QString pagePath();

    QWebEngineView *view() const { return m_view; }
    // True once the page has loaded and its elements are bound.
    bool isReady() const { return m_ready; }

Q_SIGNALS:
    // A bound element was clicked; its action runs after this signal.
    void elementClicked(const QString &id);
    // The "password" link, delivered from the event loop: the main frame opens its password
    // change. Nothing happens while no one listens.
    void changePasswordRequested();

private:
    void onActivated(const QString &id);

    QWebEngineView *m_view = nullptr;
    BannerBridge *m_bridge = nullptr;
    bool m_ready = false;
};
