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
    // The twelve export settings, module-wide; no value is checked.
    qint16 ExcelVersion() const { return modMain().settings.ExcelVersion; }
    void setExcelVersion(qint16 value) { modMain().settings.ExcelVersion = value; }
    bool ExcelAutoRowHeight() const { return modMain().settings.ExcelAutoRowHeight != 0; }
    void setExcelAutoRowHeight(bool on) { modMain().settings.ExcelAutoRowHeight = on ? -1 : 0; }
    qint32 ExcelBorderSpace() const { return modMain().settings.ExcelBorderSpace; }
    void setExcelBorderSpace(qint32 value) { modMain().settings.ExcelBorderSpace = value; }
    bool ExcelDoubleBoundaries() const { return modMain().settings.ExcelDoubleBoundaries != 0; }
    void setExcelDoubleBoundaries(bool on)
    {
        modMain().settings.ExcelDoubleBoundaries = on ? -1 : 0;
    }
    bool ExcelGenPagebreaks() const { return modMain().settings.ExcelGenPagebreaks != 0; }
    void setExcelGenPagebreaks(bool on) { modMain().settings.ExcelGenPagebreaks = on ? -1 : 0; }
    qint32 ExcelMinColumnWidth() const { return modMain().settings.ExcelMinColumnWidth; }
    void setExcelMinColumnWidth(qint32 value) { modMain().settings.ExcelMinColumnWidth = value; }
    qint32 ExcelMinRowHeight() const { return modMain().settings.ExcelMinRowHeight; }
    void setExcelMinRowHeight(qint32 value) { modMain().settings.ExcelMinRowHeight = value; }
    bool ExcelMultiSheet() const { return modMain().settings.ExcelMultiSheet != 0; }
    void setExcelMultiSheet(bool on) { modMain().settings.ExcelMultiSheet = on ? -1 : 0; }
    bool ExcelShowMarginSpace() const { return modMain().settings.ExcelShowMarginSpace != 0; }
    void setExcelShowMarginSpace(bool on) { modMain().settings.ExcelShowMarginSpace = on ? -1 : 0; }
    bool ExcelTrimEmptySpace() const { return modMain().settings.ExcelTrimEmptySpace != 0; }
    void setExcelTrimEmptySpace(bool on) { modMain().settings.ExcelTrimEmptySpace = on ? -1 : 0; }
    qint16 PdfVersion() const { return modMain().settings.PdfVersion; }
    void setPdfVersion(qint16 value) { modMain().settings.PdfVersion = value; }
    qint32 PdfJPGQuality() const { return modMain().settings.PdfJPGQuality; }
    void setPdfJPGQuality(qint32 value) { modMain().settings.PdfJPGQuality = value; }
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
