#pragma once

#include "reportlib/ferrolynexport.h"

#include <QString>

#include <functional>
#include <memory>

namespace ferrolyn {

class Vbo;

// The ten Excel settings (stored in a report row's EPara) and the two PDF settings. Booleans
// hold True as -1 and False as 0, as the stored text does.
struct ExportSettings
{
    qint16 ExcelVersion = 8;
    qint16 ExcelAutoRowHeight = -1;
    qint32 ExcelBorderSpace = 28;
    qint16 ExcelDoubleBoundaries = -1;
    qint16 ExcelGenPagebreaks = 0;
    qint32 ExcelMinColumnWidth = 850;
    qint32 ExcelMinRowHeight = 113;
    qint16 ExcelMultiSheet = 0;
    qint16 ExcelShowMarginSpace = -1;
    qint16 ExcelTrimEmptySpace = -1;
    qint16 PdfVersion = 2;
    qint32 PdfJPGQuality = 75;
    bool operator==(const ExportSettings &) const = default;
};

// The library's state: one copy per loaded library, shared by every CReport and every form.
// Nothing resets it between calls except what each operation writes.
struct ModMain
{
    QString gConnectionString;
    QString gRecordSourceSQL;
    QString gScript;
    bool gHasRecordSource = false;
    qint16 gReportType = 0;
    QString gReportName;
    qint32 gReportID = 0;
    quint8 gReportExists = 0;
    bool gPreviewOnly = false;
    bool gDeny2Print = false;
    bool gLoadExportSettings = false;
    qint16 gNewNameCounter = 0;
    bool gReadOnly = false;
    std::shared_ptr<Vbo> gVbo;
    int gExportFormatIndex = 1;
    ExportSettings settings;
};

FERROLYN_EXPORT ModMain &modMain();

// A message box of the library: the forms install one; without it the text goes to the log.
enum class MessageIcon { Information, Exclamation };
using MessagePresenter
    = std::function<void(MessageIcon icon, const QString &title, const QString &text)>;
FERROLYN_EXPORT void setMessagePresenter(MessagePresenter presenter);
void showMessage(MessageIcon icon, const QString &title, const QString &text);

// The folder of the library with one "/" before the file name.
FERROLYN_EXPORT QString GetAppFilePath(const QString &fileName);

// Sets the ten Excel settings from an EPara text: a missing field, or a flag or number that
// does not read, leaves its setting as it was; fields after the tenth are ignored.
FERROLYN_EXPORT void ParseExportSettings(const QString &text);
// The EPara text of the current ten Excel settings ("8|-1|28|-1|0|850|113|0|-1|-1" by default).
FERROLYN_EXPORT QString BuildExportSettings();

} // namespace ferrolyn
