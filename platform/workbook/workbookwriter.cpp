#include "platform/workbook/workbookwriter.h"

#include "platform/workbook/errortexts.h"
#include "platform/workbook/exceldate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

QString trimmedApostrophes(QString name)
{
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    while (name.endsWith(u'\''))
        name.chop(1);
    return name;
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

} // namespace

WorkbookWriter::WorkbookWriter(QString path, const QString &sheetName)
    : m_path(std::move(path)), m_sheetName(validSheetName(sheetName))
{
}

WorkbookWriter::~WorkbookWriter()
{
    discard();
}

QString WorkbookWriter::validSheetName(const QString &name)
{
    constexpr qsizetype maxLength = 31;
    QString result = name;
    for (QChar &c : result) {
        if (u"[]:*?/\\"_s.contains(c))
            c = u'_';
    }
    result = trimmedApostrophes(result);
    if (result.size() > maxLength) {
        // Never cut a character written as a surrogate pair in half.
        result.truncate(result[maxLength - 1].isHighSurrogate() ? maxLength - 1 : maxLength);
        result = trimmedApostrophes(result);
    }
    return result.isEmpty() ? u"Sheet1"_s : result;
}

QString WorkbookWriter::xlsxPath(const QString &path)
{
    if (path.isEmpty() || path.endsWith(u".xlsx"_s, Qt::CaseInsensitive))
        return path;
    if (path.endsWith(u".xls"_s, Qt::CaseInsensitive))
        return path.chopped(4) + u".xlsx"_s;
    return path + u".xlsx"_s;
}

vantrel::Status WorkbookWriter::open()
{
    if (!m_error.isEmpty())
        return vantrel::Status::failure(m_error);
    if (m_workbook)
        return misuse("open()");
    const QFileInfo target(m_path);
    if (target.isDir())
        return fail(errortexts::cannotWrite(m_path, u"同名文件夹已存在"_s));
    // Created here, beside the target, so that finish() can rename it over the target.
    m_tempPath = target.absolutePath() + u"/.~export-"_s
        + QString::number(QRandomGenerator::global()->generate64(), 36) + u".tmp"_s;
    QFile reserved(m_tempPath);
    if (!reserved.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_tempPath.clear();
        return fail(errortexts::cannotWrite(m_path, reserved.errorString()));
    }
    reserved.close();
    m_tempDir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_tempDir.data();
    m_workbook = workbook_new_opt(QFile::encodeName(m_tempPath).constData(), &options);
    if (m_workbook)
        m_sheet = workbook_add_worksheet(m_workbook, m_sheetName.toUtf8().constData());
    if (!m_sheet)
        return fail(errortexts::cannotWrite(m_path, u"libxlsxwriter"_s));
    m_dateFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_dateFormat, "yyyy-mm-dd");
    m_dateTimeFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_dateTimeFormat, "yyyy-mm-dd hh:mm:ss");
    m_timeFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_timeFormat, "hh:mm:ss");
    return {};
}

vantrel::Status WorkbookWriter::writeHeader(const QStringList &names)
{
    QVariantList values;
    values.reserve(names.size());
    for (const QString &name : names)
        values.append(name);
    return writeRow(values);
}

vantrel::Status WorkbookWriter::writeRow(const QVariantList &values)
{
    if (vantrel::Status status = checkOpen("writeRow()"); !status)
        return status;
    if (m_row >= LXW_ROW_MAX)
        return fail(u"行数超过 Excel 工作表的上限（%1 行）"_s.arg(LXW_ROW_MAX));
    if (values.size() > LXW_COL_MAX)
        return fail(u"列数超过 Excel 工作表的上限（%1 列）"_s.arg(LXW_COL_MAX));
    for (int column = 0; column < values.size(); ++column) {
        if (vantrel::Status status = writeCell(column, values[column]); !status)
            return status;
    }
    ++m_row;
    return {};
}

vantrel::Status WorkbookWriter::writeCell(int column, const QVariant &value)
{
    if (value.isNull())
        return {};
    const auto row = lxw_row_t(m_row);
    const auto col = lxw_col_t(column);
    lxw_error error = LXW_NO_ERROR;
    if (value.typeId() == QMetaType::Bool) {
        error = worksheet_write_boolean(m_sheet, row, col, value.toBool(), nullptr);
    } else if (isNumber(value)) {
        const double number = value.toDouble();
        if (std::isfinite(number)) // a sheet has no NaN or infinity: leave the cell empty
            error = worksheet_write_number(m_sheet, row, col, number, nullptr);
    } else if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime
               || value.typeId() == QMetaType::QTime) {
        return writeDateTime(column, value);
    } else if (value.typeId() == QMetaType::QByteArray || !value.canConvert<QString>()) {
        return fail(u"第 %1 行第 %2 列的值不能写入 Excel 单元格（%3）"_s.arg(
            QString::number(m_row + 1), QString::number(column + 1),
            QString::fromLatin1(value.metaType().name())));
    } else if (const QString text = value.toString(); !text.isEmpty()) {
        error = worksheet_write_string(m_sheet, row, col, text.toUtf8().constData(), nullptr);
    }
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        return fail(u"第 %1 行第 %2 列的文本超过 Excel 单元格的上限（32767 个字符）"_s.arg(
            QString::number(m_row + 1), QString::number(column + 1)));
    if (error != LXW_NO_ERROR)
        return fail(errortexts::cannotWrite(m_path, QString::fromUtf8(lxw_strerror(error))));
    return {};
}

vantrel::Status WorkbookWriter::writeDateTime(int column, const QVariant &value)
{
    std::optional<double> serial;
    lxw_format *format = m_dateTimeFormat;
    if (value.typeId() == QMetaType::QDate) {
        serial = serialFromDateTime(value.toDate(), QTime());
        format = m_dateFormat;
    } else if (value.typeId() == QMetaType::QTime) {
        serial = value.toTime().msecsSinceStartOfDay() / (24.0 * 60 * 60 * 1000);
        format = m_timeFormat;
    } else {
        const QDateTime local = value.toDateTime().toLocalTime();
        serial = serialFromDateTime(local.date(), local.time());
    }
    lxw_error error;
    if (serial) {
        error
            = worksheet_write_number(m_sheet, lxw_row_t(m_row), lxw_col_t(column), *serial, format);
    } else {
        // Excel has no dates before 1900: keep the value readable as text.
        const QString text = value.typeId() == QMetaType::QDate
            ? value.toDate().toString(Qt::ISODate)
            : value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
        error = worksheet_write_string(m_sheet, lxw_row_t(m_row), lxw_col_t(column),
                                       text.toUtf8().constData(), nullptr);
    }
    if (error != LXW_NO_ERROR)
        return fail(errortexts::cannotWrite(m_path, QString::fromUtf8(lxw_strerror(error))));
    return {};
}

vantrel::Status WorkbookWriter::finish()
{
    if (vantrel::Status status = checkOpen("finish()"); !status)
        return status;
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
    if (error != LXW_NO_ERROR)
        return fail(errortexts::cannotWrite(m_path, QString::fromUtf8(lxw_strerror(error))));
    // rename() replaces the target in one step: readers never see a half-written file.
    if (std::rename(QFile::encodeName(m_tempPath).constData(),
                    QFile::encodeName(m_path).constData())
        != 0)
        return fail(errortexts::cannotWrite(m_path, qt_error_string(errno)));
    m_tempPath.clear();
    return {};
}

vantrel::Status WorkbookWriter::checkOpen(const char *call)
{
    if (!m_error.isEmpty())
        return vantrel::Status::failure(m_error);
    if (!m_sheet)
        return misuse(call);
    return {};
}

vantrel::Status WorkbookWriter::misuse(const char *call)
{
    qWarning("WorkbookWriter: %s called out of order", call);
    return fail(u"工作簿未打开"_s);
}

vantrel::Status WorkbookWriter::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    discard();
    return vantrel::Status::failure(m_error);
}

void WorkbookWriter::discard()
{
    if (m_workbook) {
        lxw_workbook_free(m_workbook);
        m_workbook = nullptr;
        m_sheet = nullptr;
    }
    if (!m_tempPath.isEmpty()) {
        QFile::remove(m_tempPath);
        m_tempPath.clear();
    }
}

} // namespace workbook
