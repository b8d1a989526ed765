#include "reportlib/tiffexport.h"

#include "platform/reportengine/pagerenderer.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryFile>

#include <tiffio.h>

using namespace Qt::StringLiterals;

namespace ferrolyn {

namespace {

constexpr int Dpi = 200;

QImage renderPage(const vantrel::report::PageSet &pages, int page)
{
    const double scale = Dpi / 1440.0;
    QImage image(qRound(pages.pageWidth * scale), qRound(pages.pageHeight * scale),
                 QImage::Format_RGB888);
    image.setDotsPerMeterX(qRound(Dpi / 0.0254));
    image.setDotsPerMeterY(qRound(Dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    vantrel::report::paintPage(pages, page, painter, scale);
    painter.end();
    return image;
}

bool writePage(TIFF *tiff, const QImage &image)
{
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(Dpi));
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(Dpi));
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    for (int y = 0; y < image.height(); ++y) {
        auto *line = const_cast<uchar *>(image.constScanLine(y));
        if (TIFFWriteScanline(tiff, line, uint32_t(y), 0) < 0)
            return false;
    }
    return TIFFWriteDirectory(tiff) != 0;
}

} // namespace

vantrel::Status writeTiff(const vantrel::report::PageSet &pages, const QString &path)
{
    using vantrel::Status;
    QTemporaryFile temp(path + u".XXXXXX"_s);
    if (!temp.open())
        return Status::failure(
            u"The TIFF file %1 cannot be written: %2"_s.arg(path, temp.errorString()));
    temp.close();
    TIFF *tiff = TIFFOpen(QFile::encodeName(temp.fileName()).constData(), "w");
    if (!tiff)
        return Status::failure(u"The TIFF file %1 cannot be written."_s.arg(path));
    bool ok = true;
    for (int i = 0; ok && i < int(pages.pages.size()); ++i)
        ok = writePage(tiff, renderPage(pages, i));
    TIFFClose(tiff);
    if (!ok)
        return Status::failure(u"The TIFF file %1 cannot take page data."_s.arg(path));
    QFile::remove(path);
    if (!temp.rename(path))
        return Status::failure(
            u"The TIFF file %1 cannot be written: %2"_s.arg(path, temp.errorString()));
    temp.setAutoRemove(false);
    return {};
}

} // namespace ferrolyn
