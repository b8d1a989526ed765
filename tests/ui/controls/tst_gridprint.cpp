#include "ui/controls/gridprint.h"

#include "pdftext.h"

#include <QHeaderView>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The vertical extent, in points, of the first printed word that holds the text.
std::optional<std::pair<double, double>> wordSpan(const QString &file, const QString &text)
{
    QProcess p;
    p.start(u"pdftotext"_s, { u"-bbox"_s, file, u"-"_s });
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return std::nullopt;
    static const QRegularExpression word(
        uR"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    const QString page = QString::fromUtf8(p.readAllStandardOutput());
    for (const QRegularExpressionMatch &m : word.globalMatch(page)) {
        if (m.captured(3).contains(text))
            return std::pair { m.captured(1).toDouble(), m.captured(2).toDouble() };
    }
    return std::nullopt;
}

} // namespace

class TestGridPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsTitleShownColumnsAndRows_data();
    void printsTitleShownColumnsAndRows();
    void unwritableFileFails();

private:
    QTemporaryDir m_dir;
};

void TestGridPrint::printsTitleShownColumnsAndRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columnWidth");
    QTest::addColumn<bool>("severalPages");
    QTest::newRow("one page") << 3 << 100 << false;
    QTest::newRow("rows over several pages") << 150 << 100 << true;
    // Columns far wider than the page are scaled down, not cut off.
    QTest::newRow("wider than the page") << 3 << 900 << false;
}

void TestGridPrint::printsTitleShownColumnsAndRows()
{
    QFETCH(int, rows);
    QFETCH(int, columnWidth);
    QFETCH(bool, severalPages);
    QStandardItemModel model(rows, 4);
    model.setHorizontalHeaderLabels({ u"ID"_s, u"学历"_s, u"学校"_s, u"Ord"_s });
    for (int r = 0; r < rows; ++r) {
        model.setItem(r, 0, new QStandardItem(u"key%1"_s.arg(r)));
        model.setItem(r, 1, new QStandardItem(u"本科%1"_s.arg(r)));
        model.setItem(r, 2, new QStandardItem(u"school%1"_s.arg(r)));
        model.setItem(r, 3, new QStandardItem(u"ord%1"_s.arg(r)));
    }
    QTableView grid;
    grid.setModel(&model);
    grid.setColumnHidden(0, true);
    grid.setColumnHidden(3, true);
    // Shown order, not model order.
    grid.horizontalHeader()->moveSection(2, 1);
    for (int c = 0; c < 4; ++c)
        grid.setColumnWidth(c, columnWidth);

    const QString file = m_dir.filePath(u"grid%1-%2.pdf"_s.arg(rows).arg(columnWidth));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QVERIFY(vantrel::ui::PrintGrid(grid, u"张三(0001)-'学历'"_s, printer));

    const QString text = PdfText(file);
    QVERIFY2(!text.isEmpty(), "pdftotext gave nothing");
    const QStringList pageTexts = text.split(u'\f', Qt::SkipEmptyParts);
    const int pages = int(pageTexts.size());
    QCOMPARE(pages > 1, severalPages);
    QVERIFY(pageTexts.first().contains(u"张三(0001)-'学历'"_s));
    // The title stands whole above the column titles, at the printer's resolution.
    const auto title = wordSpan(file, u"张三"_s);
    const auto header = wordSpan(file, u"学校"_s);
    QVERIFY(title && header);
    QVERIFY2(title->second <= header->first,
             qPrintable(u"title %1-%2, header from %3"_s.arg(title->first)
                            .arg(title->second)
                            .arg(header->first)));
    QCOMPARE(text.count(u"张三(0001)"_s), 1);
    for (int p = 0; p < pages; ++p) {
        QVERIFY2(pageTexts.at(p).contains(u"学校"_s), "column titles on every page");
        const QRegularExpression number(u"第\\s*%1\\s*页"_s.arg(p + 1));
        QVERIFY2(pageTexts.at(p).contains(number), qPrintable(pageTexts.at(p)));
    }
    QVERIFY(!text.contains(u"key"_s));
    QVERIFY(!text.contains(u"ord"_s));
    for (int r = 0; r < rows; ++r) {
        const QRegularExpression cells(u"school%1\\s+本科%1\\b"_s.arg(r));
        QVERIFY2(text.contains(cells), qPrintable(cells.pattern()));
    }
}

void TestGridPrint::unwritableFileFails()
{
    QStandardItemModel model(1, 1);
    QTableView grid;
    grid.setModel(&model);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath(u"no/such/folder/x.pdf"_s));
    QVERIFY(!vantrel::ui::PrintGrid(grid, u"t"_s, printer));
}

QTEST_MAIN(TestGridPrint)
#include "tst_gridprint.moc"
