#pragma once

#include "platform/common/result.h"

#include <QIODevice>
#include <QString>

#include <memory>

struct zip;

namespace workbook {

// A ZIP file opened for reading; its entries are read as sequential devices, so a large sheet
// is parsed without being unpacked into memory first.
class ZipArchive
{
public:
    // The error text is libzip's own reason, for the caller to wrap.
    static vantrel::Result<ZipArchive> open(const QString &path);

    ZipArchive(ZipArchive &&other) noexcept;
    ZipArchive &operator=(ZipArchive &&other) noexcept;
    ~ZipArchive();

    bool contains(const QString &entryName) const;
    // A device open for reading the unpacked entry; it must not outlive the archive.
    vantrel::Result<std::unique_ptr<QIODevice>> openEntry(const QString &entryName) const;

private:
    explicit ZipArchive(zip *archive);
    zip *m_archive = nullptr;
};

} // namespace workbook
