#pragma once

#include <QString>
#include <QVector>

namespace vantrel::report {

// The settings of a report, section or control that have no member of their own: name and
// text value, kept in the order they were first set. Names are matched without regard to
// case; the first spelling is the one written back.
class PropertyBag
{
public:
    struct Property
    {
        QString name;
        QString value;
        bool operator==(const Property &) const = default;
    };

    bool contains(const QString &name) const { return indexOf(name) >= 0; }
    // The value, or fallback when the bag has no such property.
    QString value(const QString &name, const QString &fallback = {}) const;
    int intValue(const QString &name, int fallback = 0) const;
    double doubleValue(const QString &name, double fallback = 0) const;
    // "1", "-1" and "True" count as true; anything else as false.
    bool boolValue(const QString &name, bool fallback = false) const;

    void set(const QString &name, const QString &value);
    void set(const QString &name, int value) { set(name, QString::number(value)); }
    void setBool(const QString &name, bool value)
    {
        set(name, value ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void remove(const QString &name);

    const QVector<Property> &items() const { return m_items; }
    bool operator==(const PropertyBag &other) const;

private:
    int indexOf(const QString &name) const;
    QVector<Property> m_items;
};

} // namespace vantrel::report
