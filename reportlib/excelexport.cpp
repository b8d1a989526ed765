#include "reportlib/excelexport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <map>
#include <set>
#include <vector>

#include <xlsxwriter.h>

using namespace Qt::StringLiterals;
using vantrel::report::DisplayItem;
using vantrel::report::ItemKind;
using vantrel::report::PageSet;

namespace ferrolyn {

namespace {

struct Run
{
    int x = 0;
    int y = 0; // from the top of the sheet's first page
    int right = 0;
    int bottom = 0;
    QString text;
    bool bold = false;
};

// Edges closer than minGap to the first edge of a column fall into it, unless one line holds
// runs at both: two runs side by side never share a cell. linesAt gives the lines at an edge.
std::vector<int> snapEdges(std::vector<int> edges, int minGap,
                           const std::map<int, std::set<int>> &linesAt = {})
{
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<int> kept;
    std::set<int> keptLines;
    for (int e : edges) {
        const auto lines = linesAt.find(e);
        bool clash = false;
        if (lines != linesAt.end()) {
            for (int line : lines->second)
                clash = clash || keptLines.count(line);
        }
        if (kept.empty() || e - kept.back() >= qMax(1, minGap) || clash) {
            kept.push_back(e);
            keptLines.clear();
        }
        if (lines != linesAt.end())
            keptLines.insert(lines->second.begin(), lines->second.end());
    }
    return kept;
}

int indexOf(const std::vector<int> &edges, int value)
{
    const auto it = std::upper_bound(edges.begin(), edges.end(), value);
    return it == edges.begin() ? 0 : int(it - edges.begin()) - 1;
}

// A plain or grouped decimal ("1234.5", "-1,234.50"): the number and its format.
bool readNumber(const QString &text, double &value, QString &format)
{
    static const QRegularExpression plain(u"^-?(\\d{1,3}(,\\d{3})+|\\d+)(\\.(\\d+))?$"_s);
    const auto m = plain.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    QString bare = m.captured(0);
    bool ok = false;
    value = bare.remove(u',').toDouble(&ok);
    if (!ok)
        return false;
    const bool grouped = !m.captured(2).isEmpty();
    const int decimals = int(m.captured(4).size());
    format = (grouped ? u"#,##0"_s : u"0"_s)
        + (decimals > 0 ? u"."_s + QString(decimals, u'0') : QString());
    return true;
}

std::vector<Run> runsOf(const PageSet &pages, int first, int last)
{
    std::vector<Run> runs;
    for (int p = first; p <= last; ++p) {
        const int offset = (p - first) * pages.pageHeight;
        for (const DisplayItem &item : pages.pages[size_t(p)].items) {
            if ((item.kind != ItemKind::Text && item.kind != ItemKind::CheckBox) || item.text < 0)
                continue;
            const QString &text = pages.string(item.text);
            if (text.trimmed().isEmpty())
                continue;
            Run r { item.x,
                    item.y + offset,
                    item.x + item.width,
                    item.bottom() + offset,
                    text,
                    item.font >= 0 && pages.font(item.font).bold };
            runs.push_back(r);
        }
    }
    return runs;
}

class SheetWriter
{
public:
    SheetWriter(lxw_workbook *book, const ExportSettings &s) : m_book(book), m_s(s) { }

    bool write(const PageSet &pages, int first, int last, const QString &name)
    {
        lxw_worksheet *sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (!sheet)
            return false;
        const std::vector<Run> runs = runsOf(pages, first, last);
        std::vector<int> xs;
        std::vector<int> ys;
        if (m_s.ExcelShowMarginSpace) {
            xs.push_back(0);
            ys.push_back(0);
        }
        for (const Run &r : runs) {
            xs.push_back(r.x);
            ys.push_back(r.y);
            if (m_s.ExcelDoubleBoundaries)
                xs.push_back(r.right);
            if (!m_s.ExcelTrimEmptySpace)
                ys.push_back(r.bottom);
        }
        const std::vector<int> rows = snapEdges(ys, m_s.ExcelMinRowHeight);
        std::map<int, std::set<int>> rowsAtX;
        for (const Run &r : runs)
            rowsAtX[r.x].insert(indexOf(rows, r.y));
        const std::vector<int> cols = snapEdges(xs, m_s.ExcelMinColumnWidth, rowsAtX);

        std::map<std::pair<int, int>, std::pair<QString, bool>> cells;
        for (const Run &r : runs) {
            auto &cell = cells[{ indexOf(rows, r.y), indexOf(cols, r.x) }];
            cell.first += (cell.first.isEmpty() ? QString() : u" "_s) + r.text;
            cell.second = cell.second || r.bold;
        }
        for (size_t c = 0; c < cols.size(); ++c) {
            const int twips
                = (c + 1 < cols.size() ? cols[c + 1] - cols[c] : 1440) + m_s.ExcelBorderSpace;
            worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), twips / 15.0 / 7.0, nullptr);
        }
        if (!m_s.ExcelAutoRowHeight) {
            for (size_t r = 0; r + 1 < rows.size(); ++r)
                worksheet_set_row(sheet, lxw_row_t(r), (rows[r + 1] - rows[r]) / 20.0, nullptr);
        }
        for (const auto &[at, cell] : cells) {
            lxw_format *format = cell.second ? boldFormat() : nullptr;
            double number = 0;
            QString numberFormat;
            if (readNumber(cell.first, number, numberFormat)) {
                worksheet_write_number(sheet, lxw_row_t(at.first), lxw_col_t(at.second), number,
                                       this->numberFormat(numberFormat, cell.second));
            } else {
                worksheet_write_string(sheet, lxw_row_t(at.first), lxw_col_t(at.second),
                                       cell.first.toUtf8().constData(), format);
            }
        }
        if (m_s.ExcelGenPagebreaks && last > first) {
            std::vector<lxw_row_t> breaks;
            for (int p = first + 1; p <= last; ++p)
                breaks.push_back(lxw_row_t(indexOf(rows, (p - first) * pages.pageHeight) + 1));
            breaks.push_back(0);
            worksheet_set_h_pagebreaks(sheet, breaks.data());
        }
        return true;
    }

private:
    lxw_format *boldFormat()
    {
        if (!m_bold) {
            m_bold = workbook_add_format(m_book);
            format_set_bold(m_bold);
        }
        return m_bold;
    }
    lxw_format *numberFormat(const QString &code, bool bold)
    {
        const QString key = code + (bold ? u"b"_s : QString());
        if (!m_numberFormats.contains(key)) {
            lxw_format *f = workbook_add_format(m_book);
            format_set_num_format(f, code.toUtf8().constData());
            if (bold)
                format_set_bold(f);
            m_numberFormats.insert(key, f);
        }
        return m_numberFormats.value(key);
    }

    lxw_workbook *m_book;
    const ExportSettings &m_s;
    lxw_format *m_bold = nullptr;
    QHash<QString, lxw_format *> m_numberFormats;
};

} // namespace

vantrel::Status writeExcel(const PageSet &pages, const QString &path,
                           const ExportSettings &settings)
{
    using vantrel::Status;
    QTemporaryFile temp(path + u".XXXXXX"_s);
    if (!temp.open())
        return Status::failure(
            u"The Excel file %1 cannot be written: %2"_s.arg(path, temp.errorString()));
    temp.close();
    const QByteArray tempName = QFile::encodeName(temp.fileName());
    lxw_workbook *book = workbook_new(tempName.constData());
    if (!book)
        return Status::failure(u"The Excel file %1 cannot be written."_s.arg(path));
    SheetWriter writer(book, settings);
    const int count = int(pages.pages.size());
    bool ok = true;
    if (settings.ExcelMultiSheet && count > 0) {
        for (int p = 0; ok && p < count; ++p)
            ok = writer.write(pages, p, p, u"Sheet%1"_s.arg(p + 1));
    } else {
        ok = writer.write(pages, 0, count - 1, u"Sheet1"_s);
    }
    const lxw_error closed = workbook_close(book);
    if (!ok || closed != LXW_NO_ERROR)
        return Status::failure(u"The Excel file %1 cannot be written: %2"_s.arg(
            path, QString::fromUtf8(lxw_strerror(closed))));
    QFile::remove(path);
    if (!temp.rename(path))
        return Status::failure(
            u"The Excel file %1 cannot be written: %2"_s.arg(path, temp.errorString()));
    temp.setAutoRemove(false);
    return {};
}

} // namespace ferrolyn
