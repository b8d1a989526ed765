#include "personnel/psnimport.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "platform/workbook/cellgrid.h"
#include "platform/workbook/exceldate.h"
#include "platform/workbook/workbookreader.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

// The old provider guessed a column's type from this many data rows.
constexpr int guessRows = 8;
// Rows sent to the database at a time; the transaction spans them all.
constexpr int chunkRows = 500;
constexpr int numberLength = 50;

bool isNumberCell(const QVariant &cell)
{
    return cell.typeId() == QMetaType::Double || cell.typeId() == QMetaType::Bool;
}

QString numberText(double value)
{
    // Whole numbers as digits (an identity number typed as a number keeps every digit).
    if (std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QVariant dateFromText(const QString &text)
{
    static const QRegularExpression pattern(
        uR"(^(\d{4})[-/.年](\d{1,2})[-/.月](\d{1,2})日?(?:[ T](\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"_s);
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

struct Failure
{
    int sheetRow = 0; // 1-based as the sheet shows it
    QString column;
    QString reason;
};

QString failureText(const Failure &failure)
{
    if (failure.column.isEmpty())
        return u"导入数据出错!\n第 %1 行：%2"_s.arg(failure.sheetRow).arg(failure.reason);
    return u"导入数据出错!\n第 %1 行 '%2'：%3"_s.arg(failure.sheetRow)
        .arg(failure.column, failure.reason);
}

// Upper-cased numbers already in the table.
Result<QSet<QString>> usedNumbers(CADODatabase &db)
{
    const db::QueryResult result
        = db.run(u"SELECT upper(Number) FROM qz_PsnBase WHERE Number IS NOT NULL"_s);
    if (!result.ok)
        return Result<QSet<QString>>::failure(result.error.description);
    QSet<QString> numbers;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        numbers.insert(result.rows.value(row, 0).toString());
    return numbers;
}

// The inserting side of an import: checks and converts the rows and sends them in chunks.
class ImportRun
{
public:
    ImportRun(CADODatabase &db, const PsnImportRequest &request, QSet<QString> numbers)
        : m_db(db), m_request(request), m_numbers(std::move(numbers))
    {
        QStringList columns { u"DID"_s, u"AID"_s };
        for (int i = 0; i < request.matches.size(); ++i) {
            const QString &name = request.matches.at(i).item.Name;
            columns.append(name);
            if (name.compare(u"Number"_s, Qt::CaseInsensitive) == 0)
                m_numberMatch = i;
        }
        m_sql = u"INSERT INTO qz_PsnBase (%1) VALUES (%2)"_s.arg(
            columns.join(u','), QStringList(columns.size(), u"?"_s).join(u','));
    }

    // False when the row fails; the failure is kept.
    bool addRow(int sheetRow, const QVariantList &cells)
    {
        QVariantList values { m_request.department, m_request.category };
        for (const ImportMatch &match : m_request.matches) {
            const Result<QVariant> value
                = ConvertImportCell(cells.value(match.column), match.item.iDataType);
            if (!value)
                return fail(sheetRow, match.item.Alias, value.error());
            values.append(*value);
        }
        if (m_numberMatch >= 0 && !checkNumber(sheetRow, values.at(m_numberMatch + 2)))
            return false;
        m_rows.append(values);
        m_sheetRows.append(sheetRow);
        return m_rows.size() < chunkRows || flush();
    }

    bool flush()
    {
        if (m_rows.isEmpty())
            return true;
        const db::QueryResult result = m_db.runBatch(m_sql, m_rows);
        if (!result.ok) {
            // The batch names its failing row as "Row <n>: " within the chunk.
            static const QRegularExpression rowPrefix(u"^Row (\\d+): "_s);
            const QRegularExpressionMatch m = rowPrefix.match(result.error.description);
            const int index = m.hasMatch() ? m.captured(1).toInt() - 1 : 0;
            QString reason = result.error.description.mid(m.hasMatch() ? m.capturedLength() : 0);
            return fail(m_sheetRows.value(index, m_sheetRows.first()), {}, reason.trimmed());
        }
        m_imported += int(result.rowsAffected);
        m_rows.clear();
        m_sheetRows.clear();
        return true;
    }

    int imported() const { return m_imported; }
    const Failure &failure() const { return m_failure; }

private:
    bool checkNumber(int sheetRow, const QVariant &value)
    {
        const QString number = value.toString().trimmed();
        const QString title = m_request.matches.at(m_numberMatch).item.Alias;
        if (number.isEmpty())
            return fail(sheetRow, title, u"编号不能为空"_s);
        if (number.size() > numberLength)
            return fail(sheetRow, title, u"编号超过 %1 个字符"_s.arg(numberLength));
        const QString key = number.toUpper();
        if (m_numbers.contains(key))
            return fail(sheetRow, title, u"编号 '%1' 已存在"_s.arg(number));
        m_numbers.insert(key);
        return true;
    }

    bool fail(int sheetRow, const QString &column, const QString &reason)
    {
        m_failure = { sheetRow + 1, column, reason };
        return false;
    }

    CADODatabase &m_db;
    const PsnImportRequest &m_request;
    QSet<QString> m_numbers;
    QString m_sql;
    int m_numberMatch = -1;
    QVector<QVariantList> m_rows;
    QVector<int> m_sheetRows;
    int m_imported = 0;
    Failure m_failure;
};

} // namespace

Result<ImportSource> ReadImportSource(const QString &path)
{
    auto reader = workbook::WorkbookReader::open(path);
    if (!reader)
        return Result<ImportSource>::failure(reader.error());
    ImportSource source;
    source.sheetName = reader->sheetNames().value(0);
    QVariantList header;
    QVector<QVariantList> rows;
    const vantrel::Status read
        = reader->readFirstSheetRows([&](int sheetRow, const QVariantList &cells) {
              if (sheetRow == 0)
                  header = cells;
              else
                  rows.append(cells);
              return rows.size() < guessRows;
          });
    if (!read)
        return Result<ImportSource>::failure(read.error());
    if (rows.isEmpty())
        return source;
    qsizetype width = header.size();
    for (const QVariantList &cells : std::as_const(rows))
        width = std::max(width, cells.size());
    for (int column = 0; column < width; ++column) {
        ImportColumn info;
        info.title = workbook::headerName(header.value(column), column);
        info.first = rows.first().value(column);
        info.numeric = true;
        for (const QVariantList &cells : std::as_const(rows)) {
            const QVariant cell = cells.value(column);
            if (cell.isValid() && !isNumberCell(cell))
                info.numeric = false;
        }
        source.columns.append(info);
    }
    return source;
}

Result<QVariant> ConvertImportCell(const QVariant &cell, int dataType)
{
    using R = Result<QVariant>;
    if (!cell.isValid() || (cell.typeId() == QMetaType::QString && cell.toString().isEmpty()))
        return QVariant();
    const int type = cell.typeId();
    switch (dataType) {
    case ItemNumber:
        if (type == QMetaType::Double || type == QMetaType::Bool)
            return QVariant(cell.toDouble());
        if (type == QMetaType::QString) {
            bool ok = false;
            const double number = cell.toString().trimmed().toDouble(&ok);
            if (ok)
                return QVariant(number);
        }
        return R::failure(u"'%1' 不是数字"_s.arg(cell.toString()));
    case ItemDate:
        if (type == QMetaType::QDate)
            return QVariant(QDateTime(cell.toDate(), QTime(0, 0)));
        if (type == QMetaType::QDateTime)
            return cell;
        if (type == QMetaType::Double) {
            const QVariant date
                = workbook::dateFromSerial(cell.toDouble(), workbook::DateSystem::Excel1900);
            if (date.typeId() == QMetaType::QDate)
                return QVariant(QDateTime(date.toDate(), QTime(0, 0)));
            if (date.isValid())
                return date;
        } else if (type == QMetaType::QString) {
            const QVariant date = dateFromText(cell.toString());
            if (date.isValid())
                return date;
        }
        return R::failure(u"'%1' 不是有效日期"_s.arg(cell.toString()));
    default:
        if (type == QMetaType::Double)
            return QVariant(numberText(cell.toDouble()));
        if (type == QMetaType::QDate)
            return QVariant(cell.toDate().toString(Qt::ISODate));
        if (type == QMetaType::QDateTime)
            return QVariant(cell.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s));
        if (type == QMetaType::Bool)
            return QVariant(cell.toBool() ? u"TRUE"_s : u"FALSE"_s);
        return QVariant(cell.toString());
    }
}

PsnImportOutcome RunPsnImport(CADODatabase &db, const PsnImportRequest &request,
                              const ImportProgress &progress)
{
    PsnImportOutcome outcome;
    for (const ImportMatch &match : request.matches) {
        if (!IsSqlIdentifier(match.item.Name)) {
            outcome.error = u"导入数据出错!\n'%1'不是人员项目"_s.arg(match.item.Alias);
            return outcome;
        }
    }
    auto reader = workbook::WorkbookReader::open(request.path);
    if (!reader) {
        outcome.error = u"导入数据出错!\n"_s + reader.error();
        return outcome;
    }
    db::DbTransaction transaction(db);
    Result<QSet<QString>> numbers = usedNumbers(db);
    if (!transaction.isActive() || !numbers) {
        outcome.error
            = u"导入数据出错!\n"_s + (numbers ? db.GetLastErrorString() : numbers.error());
        return outcome;
    }
    ImportRun run(db, request, std::move(numbers).value());
    bool failed = false;
    int read = 0;
    const vantrel::Status status
        = reader->readFirstSheetRows([&](int sheetRow, const QVariantList &cells) {
              if (sheetRow == 0)
                  return true;
              if (!run.addRow(sheetRow, cells)) {
                  failed = true;
                  return false;
              }
              if (progress && ++read % 100 == 0 && !progress(read)) {
                  outcome.cancelled = true;
                  return false;
              }
              return true;
          });
    if (outcome.cancelled)
        return outcome;
    if (!status) {
        outcome.error = u"导入数据出错!\n"_s + status.error();
        return outcome;
    }
    if (failed || !run.flush()) {
        outcome.error = failureText(run.failure());
        return outcome;
    }
    if (progress && !progress(read)) {
        outcome.cancelled = true;
        return outcome;
    }
    if (!transaction.commit()) {
        outcome.error = u"导入数据出错!\n"_s + db.GetLastErrorString();
        return outcome;
    }
    outcome.imported = run.imported();
    return outcome;
}

const tagVANTRELITEMINFO *FindImportItem(const CItemInfoArray &items, int itemId)
{
    for (const tagVANTRELITEMINFO &item : items) {
        if (item.ItemID == itemId)
            return &item;
    }
    return nullptr;
}

ImportCheck CheckImportMatches(const CItemInfoArray &items, const QVector<ImportGridRow> &rows)
{
    for (const ImportGridRow &row : rows) {
        const tagVANTRELITEMINFO *item = FindImportItem(items, row.itemId);
        if (item && item->iDataType == ItemNumber && !row.numeric)
            return { u"源数据列 '%1' 与目标列 '%2' 数据类型不匹配！"_s.arg(row.title, item->Alias),
                     false };
    }
    int matched = 0;
    bool number = false;
    bool name = false;
    for (const ImportGridRow &row : rows) {
        if (row.itemId <= 0)
            continue;
        ++matched;
        if (const tagVANTRELITEMINFO *item = FindImportItem(items, row.itemId)) {
            number = number || item->Name.toUpper() == u"NUMBER";
            name = name || item->Name.toUpper() == u"NAME";
        }
    }
    if (matched == 0)
        return { u"还没有进行导入字段匹配！"_s, true };
    if (!number)
        return { u"'编号'必须有匹配项！"_s, true };
    if (!name)
        return { u"'姓名'必须有匹配项！"_s, true };
    return {};
}

QVector<ImportMatch> ImportMatches(const CItemInfoArray &items, const QVector<ImportGridRow> &rows)
{
    QVector<ImportMatch> matches;
    for (int column = 0; column < rows.size(); ++column) {
        if (rows[column].itemId <= 0)
            continue;
        if (const tagVANTRELITEMINFO *item = FindImportItem(items, rows[column].itemId))
            matches.append({ column, *item });
    }
    return matches;
}

QString ImportSuccessText(int imported)
{
    return u"成功导入 %1 条记录！"_s.arg(imported);
}

QString ImportLogText(int imported, const QString &path)
{
    return u"人员档案[数据导入："_s + ImportSuccessText(imported) + u'|' + path + u']';
}

} // namespace vantrel::personnel
