#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Lets the editor's pages load only local content (files, data, blobs, the program's own
// resources); every request to another scheme (http, https, ftp, ws …) is blocked, so that a
// template never reaches the network while it is edited.
class CHtmlUrlBlocker : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};
