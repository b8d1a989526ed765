#pragma once

#include "platform/workbook/cellgrid.h"
#include "platform/workbook/sheetsource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>

// The workbook readers take a path: each input is written to one file of this process, every
// sheet of it is read, and the file is removed once the reader has let go of it.
template<typename Reader>
void readWorkbookInput(const uint8_t *data, size_t size, const QString &suffix)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/vantrel-fuzz-")
        + QString::number(QCoreApplication::applicationPid()) + suffix;
    struct RemoveOnExit
    {
        ~RemoveOnExit() { QFile::remove(path); }
    } removeOnExit;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    auto source = Reader::open(path);
    if (!source)
        return;
    const QStringList names = (*source)->sheetNames();
    for (int i = 0; i < names.size(); ++i) {
        workbook::CellGrid grid;
        if ((*source)->readSheet(i, grid))
            std::move(grid).toSheet(names[i]);
    }
}
