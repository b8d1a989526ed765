#include "reportlib/creport.h"

#include "reportlib/reportpreview.h"
#include "reportlib/vbo.h"

namespace ferrolyn {

namespace {

ReportForms *&forms()
{
    static ReportForms *f = nullptr;
    return f;
}

// The connection string is stored before the new vbo opens its connection on it.
void newVbo()
{
    modMain().gVbo.reset();
    modMain().gVbo = std::make_shared<Vbo>();
}

} // namespace

void setReportForms(ReportForms *f)
{
    forms() = f;
}

CReport::CReport()
{
    modMain().settings = ExportSettings();
}

CReport::~CReport()
{
    modMain().gVbo.reset();
}

void CReport::takeCaller(const QString &connection, const QString &sql, qint32 reportId)
{
    ModMain &m = modMain();
    m.gReportID = reportId;
    m.gReportExists = 1;
    m.gConnectionString = connection;
    m.gRecordSourceSQL = sql;
    m.gHasRecordSource = !sql.trimmed().isEmpty();
    newVbo();
}

int CReport::OpenReport(const QString &connection, const QString &sql, qint32 reportId,
                        bool readOnly, bool designMode)
{
    modMain().gReadOnly = readOnly;
    takeCaller(connection, sql, reportId);
    if (designMode) {
        if (forms())
            forms()->runDesigner(false);
        return OutcomeDone;
    }
    ReportPreview preview;
    const auto opened = preview.DoOpenReport();
    if (!opened)
        showMessage(MessageIcon::Exclamation, QStringLiteral("打开报表出错！"),
                    ReportPreview::openErrorText(opened.error()));
    if (forms()) {
        forms()->showViewer(preview);
        return opened ? OutcomeDone : OutcomeNotRun;
    }
    return opened && preview.run() ? OutcomeDone : OutcomeNotRun;
}

qint32 CReport::CreateReport(const QString &connection, const QString &sql, qint16 reportType,
                             const QString &reportName)
{
    ModMain &m = modMain();
    m.gReportExists = 0;
    m.gReadOnly = false;
    m.gConnectionString = connection;
    m.gRecordSourceSQL = sql;
    m.gReportType = reportType;
    m.gReportName = reportName;
    m.gReportID = 0;
    newVbo();
    if (forms())
        forms()->runDesigner(true);
    return m.gReportID;
}

int CReport::PrintReport(const QString &connection, const QString &sql, qint32 reportId,
                         bool displayDialog)
{
    modMain().gReadOnly = true;
    takeCaller(connection, sql, reportId);
    ReportPreview preview;
    if (!preview.DoOpenReport())
        return OutcomeNotRun;
    return preview.DoPrintReport(displayDialog);
}

int CReport::ExportReport(const QString &connection, const QString &sql, qint32 reportId,
                          qint16 exportType, const QString &fileName)
{
    if (exportType < 0 || exportType > 2)
        return OutcomeBadExportType;
    modMain().gReadOnly = true;
    modMain().gLoadExportSettings = true;
    takeCaller(connection, sql, reportId);
    ReportPreview preview;
    if (!preview.DoOpenReport())
        return OutcomeNotRun;
    switch (exportType) {
    case 0:
        return preview.DoExport2PDF(fileName);
    case 1:
        return preview.DoExport2Excel(fileName);
    default:
        return preview.DoExport2TIF(fileName);
    }
}

} // namespace ferrolyn
