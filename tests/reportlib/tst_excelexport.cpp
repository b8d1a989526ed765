// The Excel writer's cell grid: where text runs land under the Excel settings.
#include "platform/workbook/workbookreader.h"
#include "reportlib/excelexport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::report;

namespace {

struct RunAt
{
    int page;
    int x;
    int y;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(QVector<RunAt>)

namespace {

// Pages of 1000 x 1000 twips with one 240-high, 300-wide text run per entry.
PageSet pagesOf(const QVector<RunAt> &runs, int pageCount)
{
    PageSet pages;
    pages.pageWidth = 1000;
    pages.pageHeight = 1000;
    pages.pages.resize(size_t(pageCount));
    const int font = pages.internFont(FontSpec());
    for (const RunAt &r : runs) {
        DisplayItem item;
        item.x = r.x;
        item.y = r.y;
        item.width = 300;
        item.height = 240;
        item.font = font;
        item.text = pages.internString(r.text);
        pages.pages[size_t(r.page)].items.push_back(item);
    }
    return pages;
}

// Every filled cell of every sheet as "sheet!row,col=value" (rows and columns from 0, the
// header row being row 0), numbers marked with "#".
QStringList cellsOf(const QString &path)
{
    QStringList out;
    auto book = workbook::WorkbookReader::open(path);
    if (!book)
        return { book.error() };
    const QStringList names = book->sheetNames();
    for (const QString &name : names) {
        auto sheet = book->readSheet(name);
        if (!sheet)
            return { sheet.error() };
        for (qsizetype c = 0; c < sheet->header.size(); ++c) {
            if (!sheet->header[c].startsWith(u'F'))
                out << u"%1!0,%2=%3"_s.arg(name).arg(c).arg(sheet->header[c]);
        }
        for (qsizetype r = 0; r < sheet->rows.size(); ++r) {
            for (qsizetype c = 0; c < sheet->rows[r].size(); ++c) {
                const QVariant v = sheet->rows[r][c];
                if (!v.isValid())
                    continue;
                const QString text = v.typeId() == QMetaType::Double
                    ? u"#"_s + QString::number(v.toDouble())
                    : v.toString();
                out << u"%1!%2,%3=%4"_s.arg(name).arg(r + 1).arg(c).arg(text);
            }
        }
    }
    return out;
}

} // namespace

class TestExcelExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grid_data()
    {
        QTest::addColumn<QVector<RunAt>>("runs");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QString>("epara");
        QTest::addColumn<QStringList>("cells");
        const QString plain = u"8|-1|28|-1|0|850|113|0|0|-1"_s; // no margin space
        QTest::newRow("side by side, closer than a column: two cells")
            << QVector<RunAt> { { 0, 0, 0, u"a"_s }, { 0, 400, 0, u"b"_s } } << 1 << plain
            << QStringList { u"Sheet1!0,0=a"_s, u"Sheet1!0,1=b"_s };
        QTest::newRow("close edges on different lines share a column")
            << QVector<RunAt> { { 0, 0, 0, u"a"_s }, { 0, 400, 300, u"b"_s } } << 1 << plain
            << QStringList { u"Sheet1!0,0=a"_s, u"Sheet1!1,0=b"_s };
        QTest::newRow("numbers as numbers")
            << QVector<RunAt> { { 0, 0, 0, u"title"_s },
                                { 0, 0, 300, u"1,234.50"_s },
                                { 0, 1000, 300, u"-7"_s },
                                { 0, 2000, 300, u"12a"_s } }
            << 1 << plain
            << QStringList { u"Sheet1!0,0=title"_s, u"Sheet1!1,0=#1234.5"_s, u"Sheet1!1,1=#-7"_s,
                             u"Sheet1!1,2=12a"_s };
        QTest::newRow("pages stacked on one sheet")
            << QVector<RunAt> { { 0, 0, 0, u"p1"_s }, { 1, 0, 0, u"p2"_s } } << 2 << plain
            << QStringList { u"Sheet1!0,0=p1"_s, u"Sheet1!1,0=p2"_s };
        QTest::newRow("a sheet per page")
            << QVector<RunAt> { { 0, 0, 0, u"p1"_s }, { 1, 0, 0, u"p2"_s } } << 2
            << u"8|-1|28|-1|0|850|113|-1|0|-1"_s
            << QStringList { u"Sheet1!0,0=p1"_s, u"Sheet2!0,0=p2"_s };
        QTest::newRow("margin space keeps an empty first row and column")
            << QVector<RunAt> { { 0, 900, 500, u"a"_s } } << 1 << u"8|-1|28|-1|0|850|113|0|-1|-1"_s
            << QStringList { u"Sheet1!1,1=a"_s };
        QTest::newRow("empty space kept: a spacer row under each run")
            << QVector<RunAt> { { 0, 0, 0, u"a"_s }, { 0, 0, 600, u"b"_s } } << 1
            << u"8|-1|28|-1|0|850|113|0|0|0"_s
            << QStringList { u"Sheet1!0,0=a"_s, u"Sheet1!2,0=b"_s };
    }
    void grid()
    {
        QFETCH(QVector<RunAt>, runs);
        QFETCH(int, pageCount);
        QFETCH(QString, epara);
        QFETCH(QStringList, cells);
        ferrolyn::modMain().settings = ferrolyn::ExportSettings();
        ferrolyn::ParseExportSettings(epara);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"grid.xlsx"_s);
        const auto written
            = ferrolyn::writeExcel(pagesOf(runs, pageCount), path, ferrolyn::modMain().settings);
        QVERIFY2(written, qPrintable(written.error()));
        QCOMPARE(cellsOf(path), cells);
    }

    void unwritable()
    {
        const auto written
            = ferrolyn::writeExcel(pagesOf({ { 0, 0, 0, u"a"_s } }, 1),
                                   u"/nonexistent/dir/x.xlsx"_s, ferrolyn::ExportSettings());
        QVERIFY(!written);
        QVERIFY(written.error().contains(u"/nonexistent/dir/x.xlsx"_s));
    }
};

QTEST_GUILESS_MAIN(TestExcelExport)
#include "tst_excelexport.moc"
