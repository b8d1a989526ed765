#include "ui/htmledit/chtmlurlblocker.h"

#include <QUrl>

using namespace Qt::StringLiterals;

void CHtmlUrlBlocker::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    static const QStringList local = { u"file"_s, u"data"_s, u"blob"_s, u"about"_s, u"qrc"_s };
    if (!local.contains(info.requestUrl().scheme(), Qt::CaseInsensitive))
        info.block(true);
}
