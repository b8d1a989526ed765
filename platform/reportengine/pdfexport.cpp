#include "platform/reportengine/pdfexport.h"

#include "platform/reportengine/pagerenderer.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace vantrel::report {

Result<void> writePdf(const PageSet &pages, const QString &path, const QString &title)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result<void>::failure(
            u"The PDF file %1 cannot be written: %2"_s.arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setCreator(u"Ferrolyn"_s);
        writer.setTitle(title);
        // One device unit per twip: the display lists paint without scaling.
        writer.setResolution(1440);
        writer.setPageSize(QPageSize(QSizeF(pages.pageWidth / 20.0, pages.pageHeight / 20.0),
                                     QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            return Result<void>::failure(u"The PDF file %1 cannot be started."_s.arg(path));
        for (size_t i = 0; i < pages.pages.size(); ++i) {
            if (i > 0 && !writer.newPage())
                return Result<void>::failure(
                    u"The PDF file %1 cannot take another page."_s.arg(path));
            paintPage(pages, int(i), painter, writer.resolution() / 1440.0);
        }
        painter.end();
    }
    if (!file.commit())
        return Result<void>::failure(
            u"The PDF file %1 cannot be written: %2"_s.arg(path, file.errorString()));
    return {};
}

} // namespace vantrel::report
