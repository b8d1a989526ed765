#pragma once

#include "platform/common/result.h"
#include "platform/reportengine/report.h"
#include "reportlib/ferrolynexport.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;

namespace ferrolyn {

// What the entry points and the windowless calls report: 0 done, 1 an export type outside
// 0..2, 2 refused under Deny2Print, 3 the report did not load or run, 4 the output was not
// written.
enum ReportOutcome : int {
    OutcomeDone = 0,
    OutcomeBadExportType = 1,
    OutcomeDenied = 2,
    OutcomeNotRun = 3,
    OutcomeNotWritten = 4,
};

// The report viewer without its window: one stored report (gReportID) loaded, bound to the
// module state and run for the viewer, a printer or an export file. The viewer window shows
// one of these; PrintReport and ExportReport use it hidden. Subreports are bound from their
// rows when the report starts and released when it ends.
class FERROLYN_EXPORT ReportPreview final : public vantrel::report::ReportEvents
{
public:
    ReportPreview();
    ~ReportPreview() override;

    // Loads the report and points its data control at the caller's connection and SQL (or
    // keeps the layout's SQL in gRecordSourceSQL), then binds "vbo" and the script. Does not
    // run it. The failure text is the one the viewer shows.
    vantrel::Status DoOpenReport();
    // The reason DoOpenReport failed, as the viewer's message box says it.
    static QString openErrorText(const QString &reason);

    // Runs the bound report (the viewer's report source); false when it stopped.
    bool run();

    int DoPrintReport(bool displayDialog);
    int DoExport2PDF(const QString &fileName);
    int DoExport2Excel(const QString &fileName);
    int DoExport2TIF(const QString &fileName);

    // One subreport control's report from its row under gReportID; the control stays empty
    // when there is none.
    void BindSubReport(vantrel::report::ReportControl &control);

    vantrel::report::Report *report() const { return m_rpt.get(); }
    // The status bar's first panel and the page box ("3/12").
    QString statusText() const { return m_status; }
    QString pageText() const { return m_pageText; }
    QString lastError() const { return m_lastError; }

    // Prepares the printer before printing (tests point it at a PDF file).
    static void setPrinterSetup(std::function<void(QPrinter &)> setup);

    // ReportEvents
    void reportStart(vantrel::report::Report &report) override;
    void reportEnd(vantrel::report::Report &report) override;
    void error(vantrel::report::Report &report, const QString &description) override;
    void noData(vantrel::report::Report &report) override;
    void pageEnd(vantrel::report::Report &report, int page) override;

private:
    void bindScripts();
    int runForOutput();

    std::unique_ptr<vantrel::report::Report> m_rpt;
    QString m_status;
    QString m_pageText;
    QString m_lastError;
};

} // namespace ferrolyn
