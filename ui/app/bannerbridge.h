#pragma once

#include <QObject>

// The one object the banner page sees through its web channel (as "banner"). It carries the
// page's events to the program and nothing else, so the page can reach no other part of it.
class BannerBridge : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Called by the page: an element with one of the bound ids was clicked.
    Q_INVOKABLE void activate(const QString &id);
    // Called by the page once its elements are bound.
    Q_INVOKABLE void bound();

Q_SIGNALS:
    void activated(const QString &id);
    void ready();
};
