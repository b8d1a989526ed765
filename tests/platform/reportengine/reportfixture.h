#pragma once

#include "platform/reportengine/report.h"

#include <QStringList>
#include <QTemporaryDir>

// Small layouts and an embedded database for the report engine's tests.
namespace reportfixture {

// A database file with the table P (ID, Dept, Name, Note): rows 1..n, names R1…Rn, seven rows
// to a department D1, D2 …
class PersonsDb
{
public:
    explicit PersonsDb(int rows);
    QString connectionString() const { return m_connectionString; }
    bool ok() const { return !m_connectionString.isEmpty(); }
    // Runs a statement on the file (for more tables).
    bool execute(const QString &sql);

private:
    QTemporaryDir m_dir;
    QString m_connectionString;
};

// A small custom page (6000 x 4000 twips, margins 500): a page header "名单" (300), a detail
// of the given height with the data control and a field bound to Name, and a page footer (300)
// with the page line "第 N 页 共 M 页" made of three fields as the page-number form makes it.
// With fixed metrics of 240 per line and a 240 detail, ten rows fill a page.
vantrel::report::ReportLayout listLayout(const QString &connectionString, const QString &source,
                                         int detailHeight = 240);

vantrel::report::Section &section(vantrel::report::ReportLayout &layout, int type);
vantrel::report::ReportControl &addField(vantrel::report::ReportLayout &layout,
                                         vantrel::report::Section &section,
                                         const QString &dataField, int left, int top, int width,
                                         int height = 240);

// The page's text runs joined into lines: runs at the same height, left to right.
QStringList pageLines(const vantrel::report::PageSet &pages, int page);

// Records the events a run raises, in order ("ReportStart", "PageEnd 0", "Error: …").
class EventLog final : public vantrel::report::ReportEvents
{
public:
    QStringList events;
    std::function<void(vantrel::report::Report &)> onStart;
    void reportStart(vantrel::report::Report &report) override;
    void reportEnd(vantrel::report::Report &) override
    {
        events.append(QStringLiteral("ReportEnd"));
    }
    void error(vantrel::report::Report &, const QString &text) override;
    void noData(vantrel::report::Report &) override { events.append(QStringLiteral("NoData")); }
    void pageEnd(vantrel::report::Report &, int page) override;
};

} // namespace reportfixture
