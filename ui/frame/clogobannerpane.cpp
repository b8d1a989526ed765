#include "ui/frame/clogobannerpane.h"

#include "core/app/constants.h"
#include "ui/app/dlghtmllogobanner.h"
#include "core/util/profile.h"

#include <QFileInfo>
#include <QMainWindow>

using namespace Qt::StringLiterals;

CLogoBannerPane::CLogoBannerPane(QWidget *parent, const QString &page) : QDockWidget(parent)
{
    setObjectName(u"LogoBannerPane"_s);
    setWindowTitle(u"Logo"_s);
    // Closable only so that the View menu's entry can hide it: without a title bar the user
    // has no close box, and the pane never moves or floats.
    setFeatures(QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::TopDockWidgetArea);
    // An empty title widget: the pane shows no title bar at all.
    setTitleBarWidget(new QWidget(this));

    const QString path = page.isEmpty() ? CDlgHtmlLogoBanner::pagePath() : page;
    if (QFileInfo::exists(path)) {
        m_pBanner = new CDlgHtmlLogoBanner(this, path);
        setWidget(m_pBanner);
        connect(m_pBanner, &CDlgHtmlLogoBanner::changePasswordRequested, this,
                &CLogoBannerPane::changePasswordRequested);
        setBannerHeight(Profile::getInt({}, QString::fromUtf16(strBannerHeight), 56));
    } else {
        setWidget(new QWidget(this));
        setFixedHeight(0);
    }
}

CLogoBannerPane::~CLogoBannerPane() = default;

bool CLogoBannerPane::Create(QMainWindow *frame)
{
    if (!frame)
        return false;
    frame->addDockWidget(Qt::TopDockWidgetArea, this, Qt::Horizontal);
    return true;
}

void CLogoBannerPane::setBannerHeight(int height)
{
    if (!m_pBanner)
        return;
    m_nBannerHeight = qMax(0, height);
    setFixedHeight(m_nBannerHeight);
}
