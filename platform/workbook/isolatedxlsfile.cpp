#include "platform/workbook/isolatedxlsfile.h"

#include "platform/workbook/cellgrid.h"
#include "platform/workbook/errortexts.h"
#include "platform/workbook/xlsfile.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

constexpr quint32 streamMagic = 0x56584C32; // "VXL2"
constexpr int readerTimeoutMs = 120000;
constexpr int streamVersion = QDataStream::Qt_6_4;

// The reader parses untrusted files with a library that can be led astray, so what it writes
// is checked as untrusted too. Only plain values cross: QDataStream's QVariant would construct
// any registered type, and its containers allocate whatever count the bytes claim.
enum class CellTag : quint8 { Empty, Number, Text, Date, DateTime, Boolean };

class StreamWriter
{
public:
    explicit StreamWriter(QIODevice &out) : m_out(&out) { m_out.setVersion(streamVersion); }

    void count(qsizetype n) { m_out << quint32(n); }
    void flag(bool value) { m_out << quint8(value ? 1 : 0); }
    void text(const QString &value)
    {
        count(value.size());
        m_out.writeRawData(reinterpret_cast<const char *>(value.utf16()),
                           int(value.size() * sizeof(char16_t)));
    }
    void texts(const QStringList &values)
    {
        count(values.size());
        for (const QString &value : values)
            text(value);
    }
    void cell(const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::Double:
            m_out << quint8(CellTag::Number) << value.toDouble();
            break;
        case QMetaType::QString:
            m_out << quint8(CellTag::Text);
            text(value.toString());
            break;
        case QMetaType::QDate:
            m_out << quint8(CellTag::Date) << qint64(value.toDate().toJulianDay());
            break;
        case QMetaType::QDateTime: {
            const QDateTime at = value.toDateTime();
            m_out << quint8(CellTag::DateTime) << qint64(at.date().toJulianDay())
                  << qint32(at.time().msecsSinceStartOfDay());
            break;
        }
        case QMetaType::Bool:
            m_out << quint8(CellTag::Boolean);
            flag(value.toBool());
            break;
        default:
            m_out << quint8(CellTag::Empty);
        }
    }
    bool ok() const { return m_out.status() == QDataStream::Ok; }
    QDataStream &stream() { return m_out; }

private:
    QDataStream m_out;
};

class StreamReader
{
public:
    explicit StreamReader(const QByteArray &data) : m_data(data), m_in(data)
    {
        m_in.setVersion(streamVersion);
    }

    bool ok() const { return m_in.status() == QDataStream::Ok; }
    quint32 magic()
    {
        quint32 value = 0;
        m_in >> value;
        return value;
    }
    bool flag()
    {
        quint8 value = 0;
        m_in >> value;
        if (value > 1)
            fail();
        return value == 1;
    }
    // A count of items of at least `minimumSize` bytes each, no more than the bytes left hold.
    qsizetype count(qsizetype minimumSize)
    {
        quint32 n = 0;
        m_in >> n;
        if (!ok() || qint64(n) * minimumSize > remaining()) {
            fail();
            return 0;
        }
        return qsizetype(n);
    }
    QString text()
    {
        const qsizetype length = count(sizeof(char16_t));
        if (!ok())
            return {};
        QString value(length, Qt::Uninitialized);
        if (m_in.readRawData(reinterpret_cast<char *>(value.data()), int(length * sizeof(char16_t)))
            != int(length * sizeof(char16_t)))
            fail();
        return value;
    }
    QStringList texts()
    {
        QStringList values;
        const qsizetype n = count(sizeof(quint32));
        for (qsizetype i = 0; i < n && ok(); ++i)
            values << text();
        return values;
    }
    QVariant cell()
    {
        quint8 tag = 0;
        m_in >> tag;
        switch (CellTag(tag)) {
        case CellTag::Empty:
            return {};
        case CellTag::Number: {
            double value = 0;
            m_in >> value;
            return value;
        }
        case CellTag::Text:
            return text();
        case CellTag::Date: {
            const QDate date = julianDay();
            return date.isValid() ? QVariant(date) : QVariant();
        }
        case CellTag::DateTime: {
            const QDate date = julianDay();
            qint32 msecs = 0;
            m_in >> msecs;
            const QTime time = QTime::fromMSecsSinceStartOfDay(msecs);
            if (!date.isValid() || !time.isValid())
                return fail();
            return QDateTime(date, time);
        }
        case CellTag::Boolean:
            return flag();
        }
        return fail();
    }

private:
    qint64 remaining() const { return m_data.size() - m_in.device()->pos(); }
    QVariant fail()
    {
        m_in.setStatus(QDataStream::ReadCorruptData);
        return {};
    }
    QDate julianDay()
    {
        qint64 day = 0;
        m_in >> day;
        const QDate date = QDate::fromJulianDay(day);
        if (!date.isValid())
            fail();
        return date;
    }

    const QByteArray &m_data;
    QDataStream m_in;
};

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

    return decode(reader.readAllStandardOutput(), path);
}

vantrel::Result<std::unique_ptr<SheetSource>> IsolatedXlsFile::decode(const QByteArray &data,
                                                                      const QString &path)
{
    using R = vantrel::Result<std::unique_ptr<SheetSource>>;
    const auto corrupt = [&path] { return R::failure(errortexts::corruptFile(path)); };
    StreamReader in(data);
    if (in.magic() != streamMagic || !in.ok())
        return corrupt();
    const bool opened = in.flag();
    const QString error = in.text();
    if (!in.ok())
        return corrupt();
    if (!opened)
        return R::failure(error);
    auto file = std::unique_ptr<IsolatedXlsFile>(new IsolatedXlsFile);
    file->m_names = in.texts();
    for (qsizetype i = 0; i < file->m_names.size() && in.ok(); ++i) {
        SheetData sheet;
        sheet.error = in.text();
        sheet.header = in.texts();
        // An empty row is at least its count; an empty cell its tag.
        const qsizetype rows = in.count(sizeof(quint32));
        for (qsizetype r = 0; r < rows && in.ok(); ++r) {
            QVariantList row;
            const qsizetype cells = in.count(sizeof(quint8));
            for (qsizetype c = 0; c < cells && in.ok(); ++c)
                row << in.cell();
            sheet.rows << row;
        }
        file->m_sheets << sheet;
    }
    if (!in.ok())
        return corrupt();
    return R(std::move(file));
}

vantrel::Status IsolatedXlsFile::readSheet(int index, CellSink &grid)
{
    if (index < 0 || index >= m_sheets.size())
        return vantrel::Status::failure(errortexts::sheetNotFound(QString::number(index + 1)));
    const SheetData &sheet = m_sheets.at(index);
    if (!sheet.error.isEmpty())
        return vantrel::Status::failure(sheet.error);
    // The reader shaped the sheet already; its header and rows give the same sheet again.
    for (int c = 0; c < sheet.header.size(); ++c)
        grid.set(0, c, sheet.header.at(c));
    for (int r = 0; r < sheet.rows.size() && !grid.stopped(); ++r) {
        const QVariantList &row = sheet.rows.at(r);
        for (int c = 0; c < row.size(); ++c)
            grid.set(r + 1, c, row.at(c));
    }
    return {};
}

int writeXlsWorkbook(const QString &path, QIODevice &out)
{
    StreamWriter stream(out);
    stream.stream() << streamMagic;
    auto source = XlsFile::open(path);
    if (!source) {
        stream.flag(false);
        stream.text(source.error());
        return stream.ok() ? 0 : 1;
    }
    const QStringList names = (*source)->sheetNames();
    stream.flag(true);
    stream.text(QString());
    stream.texts(names);
    for (int i = 0; i < names.size(); ++i) {
        CellGrid grid;
        const vantrel::Status read = (*source)->readSheet(i, grid);
        const Sheet sheet = std::move(grid).toSheet(names.at(i));
        stream.text(read ? QString() : read.error());
        stream.texts(sheet.header);
        stream.count(sheet.rows.size());
        for (const QVariantList &row : sheet.rows) {
            stream.count(row.size());
            for (const QVariant &value : row)
                stream.cell(value);
        }
    }
    return stream.ok() ? 0 : 1;
}

} // namespace workbook
