#include "platform/workbook/ziparchive.h"

#include <QFile>

#include <zip.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

// An entry's unpacked bytes as a read-only sequential device.
class ZipEntryDevice : public QIODevice
{
public:
    explicit ZipEntryDevice(zip_file_t *file) : m_file(file) { }
    ~ZipEntryDevice() override { zip_fclose(m_file); }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const zip_int64_t n = zip_fread(m_file, data, zip_uint64_t(maxSize));
        if (n < 0)
            setErrorString(QString::fromUtf8(zip_file_strerror(m_file)));
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *m_file;
};

QString errorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

} // namespace

vantrel::Result<ZipArchive> ZipArchive::open(const QString &path)
{
    int code = 0;
    zip *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return vantrel::Result<ZipArchive>::failure(errorText(code));
    return ZipArchive(archive);
}

ZipArchive::ZipArchive(zip *archive) : m_archive(archive) { }

ZipArchive::ZipArchive(ZipArchive &&other) noexcept
    : m_archive(std::exchange(other.m_archive, nullptr))
{
}

ZipArchive &ZipArchive::operator=(ZipArchive &&other) noexcept
{
    std::swap(m_archive, other.m_archive);
    return *this;
}

ZipArchive::~ZipArchive()
{
    if (m_archive)
        zip_discard(m_archive);
}

bool ZipArchive::contains(const QString &entryName) const
{
    return zip_name_locate(m_archive, entryName.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

vantrel::Result<std::unique_ptr<QIODevice>> ZipArchive::openEntry(const QString &entryName) const
{
    using R = vantrel::Result<std::unique_ptr<QIODevice>>;
    zip_file_t *file = zip_fopen(m_archive, entryName.toUtf8().constData(), ZIP_FL_NOCASE);
    if (!file)
        return R::failure(entryName + u": "_s + QString::fromUtf8(zip_strerror(m_archive)));
    auto device = std::make_unique<ZipEntryDevice>(file);
    device->open(QIODevice::ReadOnly);
    return R(std::move(device));
}

} // namespace workbook
