#pragma once

#include "reportlib/ferrolynexport.h"
#include "reportlib/modmain.h"

#include <QString>

namespace ferrolyn {

class ReportPreview;

// The windows the operations hand over to: the viewer shows a loaded preview modally, the
// designer opens gReportID (create false) or a new report (create true) and returns when the
// user closes it, having saved through SaveReportLayout as it chose. Installed by the library's
// window layer; without it OpenReport runs the report without a window and CreateReport
// returns 0.
class ReportForms
{
public:
    virtual ~ReportForms() = default;
    virtual void showViewer(ReportPreview &preview) = 0;
    virtual void runDesigner(bool create) = 0;
};
FERROLYN_EXPORT void setReportForms(ReportForms *forms);

// The library's one public class. It holds no state of its own: everything is module state
// (ModMain), shared by every instance. Making an instance resets the twelve export settings;
// destroying one releases the script object.
class FERROLYN_EXPORT CReport
{
public:
    CReport();
    ~CReport();
    CReport(const CReport &) = delete;
    CReport &operator=(const CReport &) = delete;

    QString ConnectionString() const { return modMain().gConnectionString; }
    QString recordSourceSQL() const { return modMain().gRecordSourceSQL; }
    void setScript(const QString &script) { modMain().gScript = script; }
    void setPreviewOnly(bool on) { modMain().gPreviewOnly = on; }
    void setDeny2Print(bool on) { modMain().gDeny2Print = on; }
    ExportSettings &settings() { return modMain().settings; }

    // The outcomes are ReportOutcome values (reportpreview.h).
    int OpenReport(const QString &connection, const QString &sql, qint32 reportId, bool readOnly,
                   bool designMode);
    // The ID of the row the designer's first database save inserted, or 0.
    qint32 CreateReport(const QString &connection, const QString &sql, qint16 reportType,
                        const QString &reportName);
    int PrintReport(const QString &connection, const QString &sql, qint32 reportId,
                    bool displayDialog);
    int ExportReport(const QString &connection, const QString &sql, qint32 reportId,
                     qint16 exportType, const QString &fileName);

private:
    static void takeCaller(const QString &connection, const QString &sql, qint32 reportId);
};

} // namespace ferrolyn
