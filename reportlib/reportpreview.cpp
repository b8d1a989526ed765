#include "reportlib/reportpreview.h"

#include "platform/reportengine/pagerenderer.h"
#include "platform/reportengine/pdfexport.h"
#include "reportlib/excelexport.h"
#include "reportlib/modmain.h"
#include "reportlib/reportstorage.h"
#include "reportlib/tiffexport.h"
#include "reportlib/vbo.h"

#include <QApplication>
#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;
using vantrel::Status;
using vantrel::report::Report;
using vantrel::report::ReportControl;

namespace ferrolyn {

namespace {

std::function<void(QPrinter &)> &printerSetup()
{
    static std::function<void(QPrinter &)> setup;
    return setup;
}

template<typename F> void forEachSubReport(vantrel::report::ReportLayout &layout, F f)
{
    for (auto &section : layout.sections) {
        for (ReportControl &control : section.controls) {
            if (control.typeName() == u"SubReport"_s)
                f(control);
        }
    }
}

// Opaque images go into the PDF at the JPEG quality asked for.
vantrel::report::PageSet withJpegImages(const vantrel::report::PageSet &pages, int quality)
{
    vantrel::report::PageSet out = pages;
    for (int i = 0; i < out.imageCount(); ++i) {
        const QImage &image = out.image(i);
        if (image.isNull() || image.hasAlphaChannel())
            continue;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(qBound(0, quality, 100));
        if (writer.write(image))
            out.replaceImage(i, QImage::fromData(bytes, "jpeg"));
    }
    return out;
}

} // namespace

ReportPreview::ReportPreview()
{
    modMain().gExportFormatIndex = 1;
}

ReportPreview::~ReportPreview() = default;

QString ReportPreview::openErrorText(const QString &reason)
{
    return u"打开报表时出错.请检查:数据源或报表脚本是否有误！\r\n\r\n"_s + reason;
}

Status ReportPreview::DoOpenReport()
{
    ModMain &m = modMain();
    m_rpt = std::make_unique<Report>();
    m_rpt->setEvents(this);
    if (const Status loaded = LoadReportLayout(m_rpt->layout()); !loaded) {
        m_lastError = loaded.error();
        return loaded;
    }
    if (ReportControl *data = FindDataControl(m_rpt->layout())) {
        data->props.set(u"ConnectionString"_s, m.gConnectionString);
        if (m.gHasRecordSource)
            data->props.set(u"Source"_s, m.gRecordSourceSQL);
        else
            m.gRecordSourceSQL = data->props.value(u"Source"_s);
    }
    bindScripts();
    return {};
}

void ReportPreview::bindScripts()
{
    m_rpt->resetScripts();
    if (!modMain().gVbo)
        modMain().gVbo = std::make_shared<Vbo>();
    m_rpt->addNamedItem(u"vbo"_s, modMain().gVbo);
    m_rpt->setScript(BuildReportScript());
}

bool ReportPreview::run()
{
    if (!m_rpt)
        return false;
    if (!m_rpt->run()) {
        m_lastError = m_rpt->lastError();
        return false;
    }
    return true;
}

int ReportPreview::runForOutput()
{
    if (modMain().gDeny2Print)
        return OutcomeDenied;
    if (!m_rpt)
        return OutcomeNotRun;
    bindScripts();
    return run() ? OutcomeDone : OutcomeNotRun;
}

int ReportPreview::DoPrintReport(bool displayDialog)
{
    if (const int ran = runForOutput(); ran != OutcomeDone)
        return ran;
    if (modMain().gPreviewOnly)
        return OutcomeDone;
    const auto &pages = m_rpt->pages();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_rpt->name());
    printer.setPageSize(QPageSize(QSizeF(pages.pageWidth / 20.0, pages.pageHeight / 20.0),
                                  QPageSize::Point, QString(), QPageSize::FuzzyMatch));
    printer.setFullPage(true);
    if (printerSetup())
        printerSetup()(printer);
    if (displayDialog && qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QPrintDialog dialog(&printer);
        dialog.setMinMax(1, int(pages.pages.size()));
        if (dialog.exec() != QDialog::Accepted)
            return OutcomeDone;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_lastError = u"The printer cannot be started."_s;
        return OutcomeNotWritten;
    }
    const double scale = printer.resolution() / 1440.0;
    int first = 0;
    int last = int(pages.pages.size()) - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = qMin(last, printer.toPage() - 1);
    }
    for (int i = first; i <= last; ++i) {
        if (i > first && !printer.newPage()) {
            m_lastError = u"The printer cannot take another page."_s;
            return OutcomeNotWritten;
        }
        vantrel::report::paintPage(pages, i, painter, scale);
    }
    return painter.end() ? OutcomeDone : OutcomeNotWritten;
}

int ReportPreview::DoExport2PDF(const QString &fileName)
{
    if (const int ran = runForOutput(); ran != OutcomeDone)
        return ran;
    const auto pages = withJpegImages(m_rpt->pages(), modMain().settings.PdfJPGQuality);
    const auto written = vantrel::report::writePdf(pages, fileName, m_rpt->name());
    if (!written)
        m_lastError = written.error();
    return written ? OutcomeDone : OutcomeNotWritten;
}

int ReportPreview::DoExport2Excel(const QString &fileName)
{
    if (const int ran = runForOutput(); ran != OutcomeDone)
        return ran;
    const auto written = writeExcel(m_rpt->pages(), fileName, modMain().settings);
    if (!written)
        m_lastError = written.error();
    return written ? OutcomeDone : OutcomeNotWritten;
}

int ReportPreview::DoExport2TIF(const QString &fileName)
{
    if (const int ran = runForOutput(); ran != OutcomeDone)
        return ran;
    const auto written = writeTiff(m_rpt->pages(), fileName);
    if (!written)
        m_lastError = written.error();
    return written ? OutcomeDone : OutcomeNotWritten;
}

void ReportPreview::BindSubReport(ReportControl &control)
{
    auto layout = LoadSubReportRecord(control.props.value(u"reportName"_s));
    if (layout)
        control.subreport
            = std::make_shared<vantrel::report::ReportLayout>(std::move(layout).value());
}

void ReportPreview::setPrinterSetup(std::function<void(QPrinter &)> setup)
{
    printerSetup() = std::move(setup);
}

void ReportPreview::reportStart(Report &report)
{
    forEachSubReport(report.layout(), [this](ReportControl &c) { BindSubReport(c); });
}

void ReportPreview::reportEnd(Report &report)
{
    // The pages keep what the subreports drew; the next run binds them afresh.
    forEachSubReport(report.layout(), [](ReportControl &c) { c.subreport.reset(); });
}

void ReportPreview::error(Report &, const QString &description)
{
    m_status = u"Error: "_s + description;
}

void ReportPreview::noData(Report &)
{
    m_status = u"记录集中没有数据！"_s;
}

void ReportPreview::pageEnd(Report &report, int page)
{
    m_pageText = u"%1/%2"_s.arg(page + 1).arg(report.pages().pages.size());
}

} // namespace ferrolyn
