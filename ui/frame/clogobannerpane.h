#pragma once

#include <QDockWidget>

class CDlgHtmlLogoBanner;
class QMainWindow;

// The fixed-height pane across the top of the main frame that hosts the banner page. When the
// page html/banner.htm is in the program folder, the pane holds a CDlgHtmlLogoBanner and is
// "BannerHeight" pixels high (profile, default 56); without the page it holds nothing and is 0
// pixels high, yet still exists, so the View menu's entry (toggleViewAction()) keeps working.
// The pane has no title bar: the user can neither move nor float it, only hide it from the View
// menu.
class CLogoBannerPane : public QDockWidget
{
    Q_OBJECT

public:
    // Builds the banner (when its page exists) and reads its height. The page is the program
    // folder's unless another file is named.
    explicit CLogoBannerPane(QWidget *parent = nullptr, const QString &page = {});
    ~CLogoBannerPane() override;

    // Docks the pane across the top of the frame, above its central area; false without one.
    bool Create(QMainWindow *frame);

    // The banner, owned by the pane; null when the page does not exist.
    CDlgHtmlLogoBanner *banner() const { return m_pBanner; }

    // In pixels; 0 without a banner. The main frame stores it as "BannerHeight".
    int bannerHeight() const { return m_nBannerHeight; }
    // Takes effect at once; ignored (the height stays 0) when there is no banner.
    void setBannerHeight(int height);

Q_SIGNALS:
    // The banner's "password" link: the main frame opens its password change.
    void changePasswordRequested();

private:
    CDlgHtmlLogoBanner *m_pBanner = nullptr;
    int m_nBannerHeight = 0;
};
