#include "reportlib/renderjob.h"

#include "platform/reportengine/pdfexport.h"
#include "platform/reportengine/report.h"

using namespace Qt::StringLiterals;
using namespace vantrel::report;

namespace ferrolyn {

namespace {

class NoDataFlag final : public ReportEvents
{
public:
    bool sawNoData = false;
    void noData(Report &) override { sawNoData = true; }
};

// Subreports bound in the layout read from the same database.
void pointAt(ReportLayout &layout, const QString &connectionString)
{
    if (ReportControl *data = layout.dataControl())
        data->props.set(u"ConnectionString"_s, connectionString);
    for (Section &section : layout.sections) {
        for (ReportControl &control : section.controls) {
            if (control.subreport)
                pointAt(*control.subreport, connectionString);
        }
    }
}

} // namespace

vantrel::Result<RenderOutcome> renderToPdf(const RenderJob &job)
{
    using R = vantrel::Result<RenderOutcome>;
    Report report;
    if (const auto loaded = report.loadLayoutFile(job.layoutPath); !loaded)
        return R::failure(loaded.error());
    ReportControl *data = report.layout().dataControl();
    if (!data && !job.sql.trimmed().isEmpty())
        return R::failure(u"The layout has no data control to take the SQL."_s);
    pointAt(report.layout(), job.connectionString);
    if (data && !job.sql.trimmed().isEmpty())
        data->props.set(u"Source"_s, job.sql);
    NoDataFlag events;
    report.setEvents(&events);
    if (!report.run())
        return R::failure(u"The report stopped: "_s + report.lastError());
    if (const auto written = writePdf(report.pages(), job.pdfPath, report.name()); !written)
        return R::failure(written.error());
    RenderOutcome outcome;
    outcome.pages = int(report.pages().pages.size());
    outcome.noData = events.sawNoData;
    return outcome;
}

} // namespace ferrolyn
