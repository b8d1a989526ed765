#pragma once

#include "platform/common/result.h"
#include "platform/reportengine/displaylist.h"
#include "platform/reportengine/reportlayout.h"
#include "platform/reportengine/textmetrics.h"
#include "platform/vbscript/hostobject.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>

namespace vantrel::report {

class Report;

// What a report tells its caller while it runs. Every function has an empty default.
class ReportEvents
{
public:
    virtual ~ReportEvents() = default;
    // Before the data is read: the place to bind subreports.
    virtual void reportStart(Report &) { }
    virtual void reportEnd(Report &) { }
    // A script or data error stopped the run; the pages made so far stay.
    virtual void error(Report &, const QString &) { }
    // The record source gave no rows.
    virtual void noData(Report &) { }
    // A page is complete (index from 0).
    virtual void pageEnd(Report &, int) { }
};

// A report: its layout, the script it runs with and, after run(), its pages.
//
// A run reads the data control's record source on a connection of its own (read-only), runs
// the layout's script followed by the script given here in one interpreter, with the named
// items and "rpt", and lays the bands out page by page: report header once, page header and
// footer on every page, group header and footer when a group's key changes, detail per row.
class Report
{
public:
    Report();
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    ReportLayout &layout() { return m_layout; }
    const ReportLayout &layout() const { return m_layout; }
    QString name() const { return m_layout.name; }

    // Loading replaces the layout only when the bytes are a layout.
    Result<void> loadLayout(const QByteArray &bytes);
    Result<void> loadLayoutFile(const QString &path);
    QByteArray saveLayout() const;
    Result<void> saveLayoutFile(const QString &path) const;

    // The script state: named items and the text added to the layout's own script.
    void resetScripts();
    void addNamedItem(const QString &name, std::shared_ptr<vbscript::HostObject> object);
    void setScript(const QString &text) { m_script = text; }
    void addScript(const QString &text) { m_script += text; }
    QString scriptText() const;

    void setEvents(ReportEvents *events) { m_events = events; }
    ReportEvents *events() const { return m_events; }
    // Fonts measure text by default; tests give fixed metrics.
    void setTextMetrics(std::shared_ptr<TextMetrics> metrics) { m_metrics = std::move(metrics); }

    // Runs synchronously; false when an error stopped it (lastError() says why; the Error
    // event has been raised).
    bool run();
    // Runs again, after the data control has changed.
    bool refresh() { return run(); }

    const PageSet &pages() const { return m_pages; }
    QString lastError() const { return m_lastError; }

private:
    friend class ReportRun;

    ReportLayout m_layout;
    QVector<QPair<QString, std::shared_ptr<vbscript::HostObject>>> m_namedItems;
    QString m_script;
    ReportEvents *m_events = nullptr;
    std::shared_ptr<TextMetrics> m_metrics;
    PageSet m_pages;
    QString m_lastError;
};

} // namespace vantrel::report
