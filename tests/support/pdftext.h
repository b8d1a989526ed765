#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a printed PDF as poppler's pdftotext reads it (by default in its layout, pages
// separated by form feeds); empty when the tool fails.
inline QString PdfText(const QString &file,
                       const QStringList &options = { QStringLiteral("-layout") })
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), QStringList(options) << file << QStringLiteral("-"));
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}
