#include "ui/app/bannerbridge.h"

void BannerBridge::activate(const QString &id)
{
    Q_EMIT activated(id);
}

void BannerBridge::bound()
{
    Q_EMIT ready();
}
