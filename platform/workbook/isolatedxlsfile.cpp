#include "platform/workbook/isolatedxlsfile.h"

#include "platform/workbook/cellgrid.h"
#include "platform/workbook/errortexts.h"
#include "platform/workbook/xlsfile.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

constexpr quint32 streamMagic = 0x56584C53; // "VXLS"
constexpr int readerTimeoutMs = 120000;

} // namespace

QString IsolatedXlsFile::readerProgram()
{
    const QString beside
        = QDir(QCoreApplication::applicationDirPath()).filePath(u"vantrel-xlsread"_s);
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QString::fromUtf8(VANTREL_XLSREAD_BUILD_PATH);
}

vantrel::Result<std::unique_ptr<SheetSource>> IsolatedXlsFile::open(const QString &path)
{
    using R = vantrel::Result<std::unique_ptr<SheetSource>>;
    QProcess reader;
    reader.setProcessChannelMode(QProcess::SeparateChannels);
    reader.start(readerProgram(), { path });
    if (!reader.waitForStarted())
        return R::failure(errortexts::unreadableFile(path, reader.errorString()));
    const bool finished = reader.waitForFinished(readerTimeoutMs);
    if (!finished) {
        reader.kill();
        reader.waitForFinished();
    }
    if (!finished || reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        return R::failure(errortexts::corruptFile(path));

    QByteArray data = reader.readAllStandardOutput();
    QDataStream in(&data, QIODevice::ReadOnly);
    quint32 magic = 0;
    bool ok = false;
    QString error;
    in >> magic >> ok >> error;
    if (magic != streamMagic || in.status() != QDataStream::Ok)
        return R::failure(errortexts::corruptFile(path));
    if (!ok)
        return R::failure(error);
    auto file = std::unique_ptr<IsolatedXlsFile>(new IsolatedXlsFile);
    in >> file->m_names;
    for (qsizetype i = 0; i < file->m_names.size(); ++i) {
        SheetData sheet;
        in >> sheet.error >> sheet.header >> sheet.rows;
        file->m_sheets << sheet;
    }
    if (in.status() != QDataStream::Ok)
        return R::failure(errortexts::corruptFile(path));
    return R(std::move(file));
}

vantrel::Status IsolatedXlsFile::readSheet(int index, CellGrid &grid)
{
    if (index < 0 || index >= m_sheets.size())
        return vantrel::Status::failure(errortexts::sheetNotFound(QString::number(index + 1)));
    const SheetData &sheet = m_sheets.at(index);
    if (!sheet.error.isEmpty())
        return vantrel::Status::failure(sheet.error);
    // The reader shaped the sheet already; its header and rows give the same sheet again.
    for (int c = 0; c < sheet.header.size(); ++c)
        grid.set(0, c, sheet.header.at(c));
    for (int r = 0; r < sheet.rows.size(); ++r) {
        const QVariantList &row = sheet.rows.at(r);
        for (int c = 0; c < row.size(); ++c)
            grid.set(r + 1, c, row.at(c));
    }
    return {};
}

int writeXlsWorkbook(const QString &path, QIODevice &out)
{
    QDataStream stream(&out);
    stream << streamMagic;
    auto source = XlsFile::open(path);
    if (!source) {
        stream << false << source.error();
        return 0;
    }
    const QStringList names = (*source)->sheetNames();
    stream << true << QString() << names;
    for (int i = 0; i < names.size(); ++i) {
        CellGrid grid;
        const vantrel::Status read = (*source)->readSheet(i, grid);
        const Sheet sheet = std::move(grid).toSheet(names.at(i));
        stream << (read ? QString() : read.error()) << sheet.header << sheet.rows;
    }
    return stream.status() == QDataStream::Ok ? 0 : 1;
}

} // namespace workbook
