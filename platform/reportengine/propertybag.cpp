#include "platform/reportengine/propertybag.h"

namespace vantrel::report {

int PropertyBag::indexOf(const QString &name) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString PropertyBag::value(const QString &name, const QString &fallback) const
{
    const int i = indexOf(name);
    return i < 0 ? fallback : m_items[i].value;
}

int PropertyBag::intValue(const QString &name, int fallback) const
{
    bool ok = false;
    const int v = value(name).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

double PropertyBag::doubleValue(const QString &name, double fallback) const
{
    bool ok = false;
    const double v = value(name).trimmed().toDouble(&ok);
    return ok ? v : fallback;
}

bool PropertyBag::boolValue(const QString &name, bool fallback) const
{
    const int i = indexOf(name);
    if (i < 0)
        return fallback;
    const QString v = m_items[i].value.trimmed();
    return v == u"1" || v == u"-1" || v.compare(u"True", Qt::CaseInsensitive) == 0;
}

void PropertyBag::set(const QString &name, const QString &value)
{
    const int i = indexOf(name);
    if (i < 0)
        m_items.append({ name, value });
    else
        m_items[i].value = value;
}

void PropertyBag::remove(const QString &name)
{
    if (const int i = indexOf(name); i >= 0)
        m_items.removeAt(i);
}

bool PropertyBag::operator==(const PropertyBag &other) const
{
    if (m_items.size() != other.m_items.size())
        return false;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].name != other.m_items[i].name || m_items[i].value != other.m_items[i].value)
            return false;
    }
    return true;
}

} // namespace vantrel::report
