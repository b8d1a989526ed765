#pragma once

#include "platform/reportengine/datasource.h"
#include "platform/reportengine/report.h"
#include "platform/reportengine/reportscript.h"
#include "platform/vbscript/engine.h"

#include <QHash>

#include <functional>
#include <optional>
#include <vector>

namespace vantrel::report {

// A band laid out: items with y from the band's top (x on the page), its height, and where a
// PageBreak control forces a new page.
struct Band
{
    std::vector<DisplayItem> items;
    std::vector<bool> pageCount; // per item: shows the page count, filled in at the end
    int height = 0;
    std::vector<int> breaks;
};

// One run of a report: owns the interpreter, the connections and the cursors for its length.
class ReportRun final : public RunContext
{
public:
    explicit ReportRun(Report &report);
    ~ReportRun() override;

    bool execute();
    QString error() const { return m_error; }

    int pageNumber() const override { return m_pageNumber; }
    DataCursor *cursorFor(const ReportLayout *layout) override;

private:
    using Sink = std::function<void(Band &&)>;

    bool fail(const QString &message);
    bool failed() const { return !m_error.isEmpty(); }
    void callProcedure(const QString &name);
    bool openData(ReportLayout &layout, DataCursor &cursor);
    void layoutBody(ReportLayout &layout, DataCursor *cursor, int x, bool events, const Sink &sink);
    void emitSection(const Section *section, DataCursor *cursor, int x, bool events,
                     const Sink &sink);
    Band buildBand(const Section &section, DataCursor *cursor, int x);
    void addControl(Band &band, const ReportControl &c, DataCursor *cursor, int x, bool canGrow);
    void addSubreport(Band &band, const ReportControl &c, int x);
    QString controlText(const ReportControl &c, DataCursor *cursor);
    QString evaluate(const ReportControl &c, const QString &expression);
    QString formatValue(const QVariant &value, const QString &format);
    int imageFor(const QString &base64);

    void startPage();
    void finishPage();
    void placeBand(Band band);
    void putItems(Band &band, int cut);
    int bodyHeight() const { return m_bodyBottom - m_bodyTop; }

    Report &m_report;
    ReportLayout &m_layout;
    PageSet &m_pages;
    TextMetrics &m_metrics;
    vbscript::Engine m_engine;
    DataConnections m_connections;
    DataCursor m_cursor;
    QHash<const ReportLayout *, DataCursor *> m_cursors;
    QHash<QString, vbscript::CompiledExpression> m_expressions; // control address + text
    QHash<QString, int> m_images;
    std::vector<std::shared_ptr<ReportLayout>> m_keepAlive;
    std::vector<std::shared_ptr<DataCursor>> m_subCursors;
    std::vector<std::pair<int, int>> m_pageCountItems; // page, item
    const Section *m_pageHeader = nullptr;
    const Section *m_pageFooter = nullptr;
    int m_pageNumber = 0;
    int m_y = 0;
    int m_bodyTop = 0;
    int m_bodyBottom = 0;
    int m_depth = 0;
    bool m_breakPending = false;
    QString m_error;
};

} // namespace vantrel::report
