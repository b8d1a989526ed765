#include "ui/app/dlghtmllogobanner.h"

#include "core/app/constants.h"
#include "core/app/vantrelapp.h"
#include "core/util/appfiles.h"
#include "ui/app/bannerbridge.h"
#include "ui/app/launchers.h"

#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

// Runs in the page once its document is parsed. The page brings qwebchannel.js itself; the
// light-up stays in the page so that the mouse gets an answer without a round trip.
const QString bindingScript = uR"js(
(function () {
    if (typeof QWebChannel === 'undefined' || typeof qt === 'undefined')
        return;
    new QWebChannel(qt.webChannelTransport, function (channel) {
        var banner = channel.objects.banner;
        ['calculate', 'calendar', 'password', 'exit'].forEach(function (id) {
            var element = document.getElementById(id);
            if (!element)
                return;
            element.addEventListener('click', function (event) {
                event.preventDefault();
                banner.activate(id);
            });
        });
        Array.prototype.forEach.call(document.getElementsByClassName('hotE'), function (element) {
            element.addEventListener('mouseover', function () {
                element.style.color = '#c02000';
                element.style.cursor = 'pointer';
            });
            element.addEventListener('mouseout', function () {
                element.style.textDecoration = 'none';
                element.style.color = '#000000';
            });
        });
        banner.bound();
    });
})();
)js"_s;

} // namespace

CDlgHtmlLogoBanner::CDlgHtmlLogoBanner(QWidget *parent, const QString &pageFile)
    : QWidget(parent), m_view(new QWebEngineView(this)), m_bridge(new BannerBridge(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);

    QWebEnginePage *page = m_view->page();
    auto *channel = new QWebChannel(page);
    channel->registerObject(u"banner"_s, m_bridge);
    page->setWebChannel(channel);

    QWebEngineScript binding;
    binding.setName(u"vantrel-banner-binding"_s);
    binding.setInjectionPoint(QWebEngineScript::DocumentReady);
    binding.setWorldId(QWebEngineScript::MainWorld);
    binding.setRunsOnSubFrames(false);
    binding.setSourceCode(bindingScript);
    page->scripts().insert(binding);

    connect(page, &QWebEnginePage::loadStarted, this, [this] { m_ready = false; });
    connect(m_bridge, &BannerBridge::ready, this, [this] { m_ready = true; });
    connect(m_bridge, &BannerBridge::activated, this, &CDlgHtmlLogoBanner::onActivated);

    m_view->load(QUrl::fromLocalFile(pageFile.isEmpty() ? pagePath() : pageFile));
}

CDlgHtmlLogoBanner::~CDlgHtmlLogoBanner() = default;

QString CDlgHtmlLogoBanner::pagePath()
{
    return QString::fromUtf16(strBannerPath).arg(GetAppFolder());
}

void CDlgHtmlLogoBanner::onActivated(const QString &id)
{
    Q_EMIT elementClicked(id);
    if (id == u"calculate") {
        LaunchCalculator();
    } else if (id == u"calendar") {
        LaunchTirlo();
    } else if (id == u"password") {
        // Posted, so that the dialog it opens does not run inside the channel's delivery.
        QTimer::singleShot(0, this, [this] { Q_EMIT changePasswordRequested(); });
    } else if (id == u"exit") {
        if (QMainWindow *frame = theApp.m_pMainWnd)
            QTimer::singleShot(0, frame, &QWidget::close);
    }
}
