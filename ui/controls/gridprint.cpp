#include "ui/controls/gridprint.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace vantrel::ui {

namespace {

struct PrintColumn
{
    int logical = 0;
    qreal width = 0; // device pixels
    Qt::Alignment align = Qt::AlignLeft;
};

// The shown columns in shown order, their screen widths turned into the printer's pixels and
// scaled down together when the page is narrower.
QVector<PrintColumn> printColumns(const QTableView &grid, qreal pageWidth, qreal dotsPerScreenPx)
{
    const QHeaderView *header = grid.horizontalHeader();
    const QAbstractItemModel *model = grid.model();
    QVector<PrintColumn> columns;
    qreal total = 0;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical) || grid.isColumnHidden(logical))
            continue;
        PrintColumn c;
        c.logical = logical;
        c.width = qMax(8, header->sectionSize(logical)) * dotsPerScreenPx;
        const QVariant align = model->headerData(logical, Qt::Horizontal, Qt::TextAlignmentRole);
        if (align.isValid())
            c.align = Qt::Alignment(align.toInt()) & Qt::AlignHorizontal_Mask;
        total += c.width;
        columns.append(c);
    }
    if (total > pageWidth) {
        for (PrintColumn &c : columns)
            c.width *= pageWidth / total;
    }
    return columns;
}

QString cellText(const QAbstractItemModel *model, const QModelIndex &index)
{
    const QVariant check = model->data(index, Qt::CheckStateRole);
    if (check.isValid())
        return check.toInt() == Qt::Checked ? u"√"_s : QString();
    return model->data(index, Qt::DisplayRole).toString();
}

class GridPainter
{
public:
    GridPainter(QPainter &painter, const QRectF &page, const QVector<PrintColumn> &columns)
        : m_painter(painter), m_page(page), m_columns(columns)
    {
    }

    void drawTitle(const QString &title, const QFont &font)
    {
        m_painter.save();
        m_painter.setFont(font);
        // Measured on the page's device: screen metrics would give a printer a title a
        // fraction of its height, half hidden behind the header row.
        const qreal height = QFontMetricsF(font, m_painter.device()).height() * 1.6;
        m_painter.drawText(QRectF(m_page.left(), m_y, m_page.width(), height), Qt::AlignCenter,
                           title);
        m_painter.restore();
        m_y += height;
    }

    void drawRow(const QStringList &texts, qreal height, bool header)
    {
        qreal x = m_page.left();
        for (int i = 0; i < m_columns.size(); ++i) {
            const QRectF cell(x, m_y, m_columns.at(i).width, height);
            if (header)
                m_painter.fillRect(cell, QColor(232, 232, 232));
            m_painter.drawRect(cell);
            const Qt::Alignment align = header ? Qt::AlignHCenter : m_columns.at(i).align;
            m_painter.drawText(cell.adjusted(m_pad, 0, -m_pad, 0), align | Qt::AlignVCenter,
                               texts.value(i));
            x += m_columns.at(i).width;
        }
        m_y += height;
    }

    bool fits(qreal height, qreal footer) const { return m_y + height <= m_page.bottom() - footer; }
    void newPage() { m_y = m_page.top(); }
    void setPad(qreal pad) { m_pad = pad; }

private:
    QPainter &m_painter;
    QRectF m_page;
    const QVector<PrintColumn> &m_columns;
    qreal m_y = 0;
    qreal m_pad = 0;
};

} // namespace

bool PrintGrid(const QTableView &grid, const QString &title, QPrinter &printer)
{
    const QAbstractItemModel *model = grid.model();
    QPainter painter;
    if (!model || !painter.begin(&printer))
        return false;
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    const qreal dotsPerScreenPx = printer.resolution() / 96.0;
    const QVector<PrintColumn> columns = printColumns(grid, page.width(), dotsPerScreenPx);

    // A font with exact text maps in PDF output, so printed files stay searchable.
    QFont font(u"WenQuanYi Micro Hei"_s);
    font.setPointSizeF(9);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 0));
    QFont titleFont = font;
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    const QFontMetricsF metrics(font, &printer);
    const qreal rowHeight = metrics.height() * 1.5;
    const qreal footer = metrics.height() * 2;

    QStringList headerTexts;
    for (const PrintColumn &c : columns)
        headerTexts << model->headerData(c.logical, Qt::Horizontal, Qt::DisplayRole).toString();

    GridPainter out(painter, page, columns);
    out.setPad(metrics.averageCharWidth() / 2);
    int pageNumber = 1;
    auto drawFooter = [&] {
        painter.drawText(QRectF(page.left(), page.bottom() - footer, page.width(), footer),
                         Qt::AlignCenter, u"第 %1 页"_s.arg(pageNumber));
    };
    out.newPage();
    out.drawTitle(title, titleFont);
    out.drawRow(headerTexts, rowHeight, true);
    for (int row = 0; row < model->rowCount(); ++row) {
        if (grid.isRowHidden(row))
            continue;
        if (!out.fits(rowHeight, footer)) {
            drawFooter();
            printer.newPage();
            ++pageNumber;
            out.newPage();
            out.drawRow(headerTexts, rowHeight, true);
        }
        QStringList texts;
        for (const PrintColumn &c : columns)
            texts << cellText(model, model->index(row, c.logical));
        out.drawRow(texts, rowHeight, false);
    }
    drawFooter();
    return painter.end();
}

bool PrintGridWithDialog(const QTableView &grid, const QString &title, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintGrid(grid, title, printer);
}

} // namespace vantrel::ui
