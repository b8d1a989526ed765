#include "platform/reportengine/report.h"

#include "platform/reportengine/layoutxml.h"
#include "platform/reportengine/reportrun.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace vantrel::report {

Report::Report() = default;
Report::~Report() = default;

Result<void> Report::loadLayout(const QByteArray &bytes)
{
    auto layout = LayoutXml::read(bytes);
    if (!layout)
        return Result<void>::failure(layout.error());
    m_layout = std::move(layout.value());
    return {};
}

Result<void> Report::loadLayoutFile(const QString &path)
{
    auto layout = LayoutXml::readFile(path);
    if (!layout)
        return Result<void>::failure(layout.error());
    m_layout = std::move(layout.value());
    return {};
}

QByteArray Report::saveLayout() const
{
    return LayoutXml::write(m_layout);
}

Result<void> Report::saveLayoutFile(const QString &path) const
{
    return LayoutXml::writeFile(m_layout, path);
}

void Report::resetScripts()
{
    m_namedItems.clear();
    m_script.clear();
}

void Report::addNamedItem(const QString &name, std::shared_ptr<vbscript::HostObject> object)
{
    m_namedItems.append({ name, std::move(object) });
}

QString Report::scriptText() const
{
    if (m_layout.script.trimmed().isEmpty())
        return m_script;
    if (m_script.trimmed().isEmpty())
        return m_layout.script;
    return m_layout.script + u"\r\n"_s + m_script;
}

bool Report::run()
{
    if (!m_metrics) {
        // Fonts are measured through the font database, which only a QGuiApplication opens.
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            m_pages.clear();
            m_lastError = u"Reports measure their text with fonts: the program needs a "
                          "QGuiApplication."_s;
            if (m_events)
                m_events->error(*this, m_lastError);
            return false;
        }
        m_metrics = std::make_shared<FontTextMetrics>();
    }
    ReportRun run(*this);
    const bool ok = run.execute();
    m_lastError = ok ? QString() : run.error();
    return ok;
}

} // namespace vantrel::report
