// The four entry points the program binds at run time. Texts come as UTF-16 and are copied;
// no exception leaves the library.
#include "reportlib/creport.h"
#include "reportlib/reportpreview.h"

#include <QDebug>

#include <exception>

namespace {

QString text(const char16_t *value)
{
    return value ? QString::fromUtf16(value) : QString();
}

template<typename F> int guarded(const char *name, int failure, F body)
{
    try {
        return body();
    } catch (const std::exception &e) {
        qWarning("ferrolyn: %s failed: %s", name, e.what());
    } catch (...) {
        qWarning("ferrolyn: %s failed", name);
    }
    return failure;
}

} // namespace

extern "C" {

FERROLYN_EXPORT int OpenReport(const char16_t *connection, const char16_t *sql, int reportId,
                               int readOnly, int designMode, const char16_t *prelude)
{
    return guarded("OpenReport", ferrolyn::OutcomeNotRun, [&] {
        ferrolyn::CReport report;
        report.setScript(text(prelude));
        return report.OpenReport(text(connection), text(sql), reportId, readOnly != 0,
                                 designMode != 0);
    });
}

FERROLYN_EXPORT int CreateReport(const char16_t *connection, const char16_t *sql, short type,
                                 const char16_t *name, const char16_t *prelude)
{
    return guarded("CreateReport", 0, [&] {
        ferrolyn::CReport report;
        report.setScript(text(prelude));
        return int(report.CreateReport(text(connection), text(sql), type, text(name)));
    });
}

FERROLYN_EXPORT int PrintReport(const char16_t *connection, const char16_t *sql, int reportId,
                                int showPrintDialog, const char16_t *prelude)
{
    return guarded("PrintReport", ferrolyn::OutcomeNotRun, [&] {
        ferrolyn::CReport report;
        report.setScript(text(prelude));
        return report.PrintReport(text(connection), text(sql), reportId, showPrintDialog != 0);
    });
}

FERROLYN_EXPORT int ExportReport(const char16_t *connection, const char16_t *sql, int reportId,
                                 short exportType, const char16_t *fileName,
                                 const char16_t *prelude)
{
    return guarded("ExportReport", ferrolyn::OutcomeNotWritten, [&] {
        ferrolyn::CReport report;
        report.setScript(text(prelude));
        return report.ExportReport(text(connection), text(sql), reportId, exportType,
                                   text(fileName));
    });
}

} // extern "C"
