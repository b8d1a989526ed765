#include "platform/reportengine/reportrun.h"

#include "core/script/scriptvalue.h"
#include "platform/reportengine/barcode.h"

#include <QColor>
#include <QDateTime>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using vantrel::vbscript::Variant;

namespace vantrel::report {

namespace {

constexpr int MaxSubreportDepth = 8;

// Items that must not be cut between pages; frames and lines are cut where the page ends.
bool isAtomic(ItemKind kind)
{
    return kind != ItemKind::Line && kind != ItemKind::Rect && kind != ItemKind::RoundRect;
}

// Colours as layouts give them: "#rrggbb", or a number in the BGR order of OLE colours.
QRgb colorOf(const QString &text, QRgb fallback)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return fallback;
    if (t.startsWith(u'#')) {
        const QColor c = QColor::fromString(t);
        return c.isValid() ? c.rgba() : fallback;
    }
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (!ok || v < 0)
        return fallback;
    return qRgb(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}

TextAlign alignmentOf(const ReportControl &c)
{
    switch (c.props.intValue(u"Alignment"_s, 0)) {
    case 1:
        return TextAlign::Right;
    case 2:
        return TextAlign::Center;
    default:
        return TextAlign::Left;
    }
}

QString variantText(const Variant &value)
{
    if (value.isNull() || value.isEmpty())
        return {};
    return value.toText().value_or(QString());
}

// Number formats "0", "0.00", "#,##0.00" (decimals after the point, grouping with a comma);
// date formats in the script language's letters: yyyy, mm, dd, hh, nn, ss.
QString applyOutputFormat(const QVariant &value, const QString &format)
{
    const bool isDate
        = value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate;
    if (isDate) {
        QString out;
        for (qsizetype i = 0; i < format.size(); ++i) {
            // m is a month unless it follows an hour.
            const QChar c = format[i];
            if (c.toLower() == u'm' && !(i > 0 && format[i - 1].toLower() == u'n'))
                out += u'M';
            else if (c.toLower() == u'n')
                out += u'm';
            else if (c.toLower() == u'y' || c.toLower() == u'd')
                out += c.toLower();
            else
                out += c;
        }
        return value.toDateTime().toString(out);
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !format.contains(u'0'))
        return value.toString();
    const qsizetype point = format.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(format.size() - point - 1);
    QString text = QString::number(std::abs(number), 'f', decimals);
    if (format.contains(u',')) {
        qsizetype end = text.indexOf(u'.');
        if (end < 0)
            end = text.size();
        for (qsizetype i = end - 3; i > 0; i -= 3)
            text.insert(i, u',');
    }
    return number < 0 && text.contains(QRegularExpression(u"[1-9]"_s)) ? u'-' + text : text;
}

// The part of a line that does not wrap which shows in a box of that width, whole characters
// only: the start of a left-aligned text, the end of a right-aligned one, the middle of a
// centred one. The display list holds what the painter shows, so find and the text writers
// see the same.
QString clipSideways(TextMetrics &metrics, const QString &text, const FontSpec &font, int width,
                     TextAlign align)
{
    const int full = metrics.textWidth(text, font);
    if (full <= width)
        return text;
    std::vector<qsizetype> bounds; // grapheme boundaries, 0 to the text's size
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype b = 0; b >= 0; b = finder.toNextBoundary())
        bounds.push_back(b);
    auto widthTo = [&](size_t k) { return metrics.textWidth(text.left(bounds[k]), font); };
    // The first boundary whose width from the start reaches `from`, the last within `to`.
    auto firstFrom = [&](int from) {
        size_t lo = 0, hi = bounds.size() - 1;
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (widthTo(mid) >= from)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    auto lastWithin = [&](int to) {
        size_t lo = 0, hi = bounds.size() - 1;
        while (lo < hi) {
            const size_t mid = (lo + hi + 1) / 2;
            if (widthTo(mid) <= to)
                lo = mid;
            else
                hi = mid - 1;
        }
        return lo;
    };
    const int hidden = full - width;
    const int from = align == TextAlign::Left ? 0 : align == TextAlign::Right ? hidden : hidden / 2;
    const size_t first = firstFrom(from);
    const size_t last = std::max(first, lastWithin(from + width));
    return text.mid(bounds[first], bounds[last] - bounds[first]);
}

const Section *firstOfType(const ReportLayout &layout, int type)
{
    for (const Section &s : layout.sections) {
        if (s.type == type)
            return &s;
    }
    return nullptr;
}

} // namespace

ReportRun::ReportRun(Report &report)
    : m_report(report)
    , m_layout(report.m_layout)
    , m_pages(report.m_pages)
    , m_metrics(*report.m_metrics)
{
}

ReportRun::~ReportRun() = default;

DataCursor *ReportRun::cursorFor(const ReportLayout *layout)
{
    return m_cursors.value(layout);
}

bool ReportRun::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message.isEmpty() ? u"Unknown error"_s : message;
    return false;
}

void ReportRun::callProcedure(const QString &name)
{
    if (failed() || !m_engine.hasProcedure(name))
        return;
    if (!m_engine.call(name))
        fail(m_engine.lastError().description());
}

bool ReportRun::execute()
{
    m_pages.clear();
    m_pages.pageWidth = m_layout.page.pageWidth();
    m_pages.pageHeight = m_layout.page.pageHeight();
    for (const auto &item : std::as_const(m_report.m_namedItems))
        m_engine.addNamedItem(item.first, item.second);
    m_engine.addNamedItem(u"rpt"_s, std::make_shared<ReportObject>(this, &m_layout));
    const QString script = m_report.scriptText();
    if (!script.trimmed().isEmpty() && !m_engine.loadScript(script))
        fail(m_engine.lastError().description());

    ReportEvents *events = m_report.events();
    if (!failed()) {
        if (events)
            events->reportStart(m_report);
        callProcedure(u"OnReportStart"_s);
    }
    m_pageHeader = firstOfType(m_layout, SectionType::PageHeader);
    m_pageFooter = firstOfType(m_layout, SectionType::PageFooter);
    const bool hasData = m_layout.dataControl() != nullptr;
    if (!failed() && hasData)
        openData(m_layout, m_cursor);
    if (!failed()) {
        startPage();
        if (hasData && !m_cursor.hasRow() && events)
            events->noData(m_report);
        layoutBody(m_layout, hasData ? &m_cursor : nullptr, m_layout.page.leftMargin, true,
                   [this](Band &&band) { placeBand(std::move(band)); });
        if (!failed())
            finishPage();
    }
    // The page count is known only now.
    if (!m_pageCountItems.empty()) {
        const int count = m_pages.internString(QString::number(m_pages.pages.size()));
        for (const auto &[page, item] : m_pageCountItems)
            m_pages.pages[size_t(page)].items[size_t(item)].text = count;
    }
    if (failed()) {
        if (events)
            events->error(m_report, m_error);
    } else {
        callProcedure(u"OnReportEnd"_s);
        if (failed() && events)
            events->error(m_report, m_error);
    }
    if (events)
        events->reportEnd(m_report);
    m_cursor.close();
    m_subCursors.clear();
    m_connections.closeAll();
    return !failed();
}

bool ReportRun::openData(ReportLayout &layout, DataCursor &cursor)
{
    const ReportControl *control = layout.dataControl();
    const Result<void> opened
        = cursor.open(m_connections, control->props.value(u"ConnectionString"_s),
                      control->props.value(u"Source"_s));
    if (!opened)
        return fail(opened.error());
    m_cursors.insert(&layout, &cursor);
    return true;
}

void ReportRun::layoutBody(ReportLayout &layout, DataCursor *cursor, int x, bool events,
                           const Sink &sink)
{
    QVector<const Section *> headers;
    QVector<const Section *> footers;
    for (const Section &s : layout.sections) {
        if (s.type == SectionType::GroupHeader)
            headers.append(&s);
        else if (s.type == SectionType::GroupFooter)
            footers.append(&s);
    }
    // Footers stand in the reverse order of their headers: the innermost group's first.
    auto footerOf = [&](qsizetype level) -> const Section * {
        const qsizetype i = headers.size() - 1 - level;
        return i >= 0 && i < footers.size() ? footers[i] : nullptr;
    };
    const Section *detail = firstOfType(layout, SectionType::Detail);
    auto emit = [&](const Section *s) { emitSection(s, cursor, x, events, sink); };

    // The main report's header opens its first page, above the page header (startPage).
    if (&layout != &m_layout)
        emit(firstOfType(layout, SectionType::ReportHeader));
    if (!cursor) {
        emit(detail);
    } else {
        QVector<int> keys;
        for (const Section *h : headers) {
            const QString field = h->props.value(u"DataField"_s);
            const int column = field.isEmpty() ? -1 : cursor->fieldIndex(field);
            if (!field.isEmpty() && column < 0) {
                fail(u"The group field \"%1\" is not in the record source."_s.arg(field));
                return;
            }
            keys.append(column);
        }
        // Rows come one at a time: the row after the current one tells where groups end.
        qsizetype level = 0;
        while (cursor->hasRow() && !failed()) {
            cursor->scriptRow = cursor->row();
            for (qsizetype i = level; i < headers.size(); ++i)
                emit(headers[i]);
            emit(detail);
            const bool more = cursor->hasNext();
            level = more ? headers.size() : 0;
            for (qsizetype i = 0; more && i < keys.size(); ++i) {
                if (keys[i] >= 0 && cursor->value(keys[i]) != cursor->nextValue(keys[i])) {
                    level = i;
                    break;
                }
            }
            cursor->scriptRow = cursor->row();
            for (qsizetype i = headers.size() - 1; i >= level; --i)
                emit(footerOf(i));
            if (!more || failed())
                break;
            if (!cursor->next())
                fail(cursor->error());
        }
    }
    emit(firstOfType(layout, SectionType::ReportFooter));
}

void ReportRun::emitSection(const Section *section, DataCursor *cursor, int x, bool events,
                            const Sink &sink)
{
    if (!section || failed())
        return;
    if (events && !section->name.isEmpty())
        callProcedure(section->name + u"_Format"_s);
    if (failed())
        return;
    Band band = buildBand(*section, cursor, x);
    if (!failed())
        sink(std::move(band));
}

Band ReportRun::buildBand(const Section &section, DataCursor *cursor, int x)
{
    Band band;
    bool grows = section.canGrow;
    for (const ReportControl &c : section.controls) {
        if (failed())
            break;
        if (c.kind == ControlKind::SubReport) {
            addSubreport(band, c, x);
            grows = true;
        } else {
            addControl(band, c, cursor, x, section.canGrow);
        }
    }
    band.height = section.height;
    if (grows) {
        for (const DisplayItem &item : band.items)
            band.height = std::max(band.height, item.bottom());
    }
    return band;
}

void ReportRun::addControl(Band &band, const ReportControl &c, DataCursor *cursor, int x,
                           bool canGrow)
{
    if (c.kind == ControlKind::DataControl || !c.props.boolValue(u"Visible"_s, true))
        return;
    DisplayItem item;
    item.x = x + c.left;
    item.y = c.top;
    item.width = c.width;
    item.height = c.height;
    item.color = colorOf(c.props.value(u"ForeColor"_s), 0xff000000);
    item.fill = colorOf(c.props.value(u"BackColor"_s), 0);
    item.penWidth = qint16(qBound(1, c.props.intValue(u"LineWeight"_s, 1), 100) * 15);
    auto add = [&](const DisplayItem &i, bool pageCount = false) {
        band.items.push_back(i);
        band.pageCount.push_back(pageCount);
    };

    switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::Field: {
        const QString text = controlText(c, cursor);
        if (failed())
            return;
        const int font = m_pages.internFont(c.font);
        const int lineHeight = std::max(1, m_metrics.lineHeight(c.font));
        const QStringList lines = c.props.boolValue(u"WordWrap"_s, true)
            ? m_metrics.wrap(text, c.font, c.width)
            : QStringList { clipSideways(m_metrics,
                                         QString(text).remove(u'\r').replace(u'\n', u' '), c.font,
                                         c.width, alignmentOf(c)) };
        const bool grows = canGrow && c.props.boolValue(u"CanGrow"_s, true);
        const qsizetype shown = grows
            ? lines.size()
            : std::min<qsizetype>(lines.size(), std::max(1, c.height / lineHeight));
        if (qAlpha(item.fill) != 0) {
            DisplayItem back = item;
            back.kind = ItemKind::Rect;
            back.color = 0;
            back.height = std::max(c.height, int(shown) * lineHeight);
            add(back);
        }
        const bool pageCount = c.props.intValue(u"SummaryType"_s) == 4;
        item.kind = ItemKind::Text;
        item.font = font;
        item.align = alignmentOf(c);
        item.fill = 0;
        item.height = lineHeight;
        for (qsizetype i = 0; i < shown; ++i) {
            item.y = c.top + int(i) * lineHeight;
            item.text = m_pages.internString(lines[i]);
            add(item, pageCount);
        }
        return;
    }
    case ControlKind::CheckBox: {
        item.kind = ItemKind::CheckBox;
        const QString field = c.props.value(u"DataField"_s);
        const QString value = field.isEmpty() ? c.props.value(u"Value"_s) : controlText(c, cursor);
        const QString v = value.trimmed();
        item.checked = !v.isEmpty() && v != u"0" && v.compare(u"False", Qt::CaseInsensitive) != 0;
        item.font = m_pages.internFont(c.font);
        item.text = m_pages.internString(c.props.value(u"Caption"_s));
        add(item);
        return;
    }
    case ControlKind::BarCode: {
        const QString data = controlText(c, cursor);
        const QString modules = c.props.value(u"Style"_s).contains(u"128") ? Barcode::code128(data)
                                                                           : Barcode::code39(data);
        item.kind = ItemKind::Bars;
        item.text = m_pages.internString(modules);
        add(item);
        return;
    }
    case ControlKind::Line:
        item.kind = ItemKind::Line;
        if (c.props.contains(u"X1"_s)) {
            item.x = x + c.props.intValue(u"X1"_s);
            item.y = c.props.intValue(u"Y1"_s);
            item.width = c.props.intValue(u"X2"_s) - c.props.intValue(u"X1"_s);
            item.height = c.props.intValue(u"Y2"_s) - c.props.intValue(u"Y1"_s);
        }
        add(item);
        return;
    case ControlKind::Shape: {
        const int shape = c.props.intValue(u"Shape"_s);
        item.kind = shape == 1 ? ItemKind::Ellipse
            : shape == 2       ? ItemKind::RoundRect
                               : ItemKind::Rect;
        add(item);
        return;
    }
    case ControlKind::Frame:
    case ControlKind::Ole:
        item.kind = ItemKind::Rect;
        add(item);
        return;
    case ControlKind::Image: {
        item.kind = ItemKind::Image;
        const QString field = c.props.value(u"DataField"_s);
        const int column
            = cursor && cursor->isOpen() && !field.isEmpty() ? cursor->fieldIndex(field) : -1;
        if (column >= 0 && cursor->hasRow()) {
            const QImage image = QImage::fromData(cursor->value(column).toByteArray());
            item.image = image.isNull() ? -1 : m_pages.addImage(image);
        } else {
            item.image = imageFor(c.props.value(u"Picture"_s));
        }
        if (item.image >= 0)
            add(item);
        return;
    }
    case ControlKind::RichEdit:
        item.kind = ItemKind::RichText;
        item.font = m_pages.internFont(c.font);
        item.text = m_pages.internString(c.props.value(u"Html"_s));
        add(item);
        return;
    case ControlKind::PageBreak:
        band.breaks.push_back(c.top);
        return;
    case ControlKind::SubReport:
    case ControlKind::DataControl:
        return;
    }
}

void ReportRun::addSubreport(Band &band, const ReportControl &c, int x)
{
    if (!c.subreport)
        return;
    if (m_depth >= MaxSubreportDepth) {
        fail(u"Subreports are nested more than %1 deep."_s.arg(MaxSubreportDepth));
        return;
    }
    std::shared_ptr<ReportLayout> sub = c.subreport;
    m_keepAlive.push_back(sub);
    auto cursor = std::make_shared<DataCursor>();
    m_subCursors.push_back(cursor);
    if (sub->dataControl() && !openData(*sub, *cursor))
        return;
    ++m_depth;
    int y = c.top;
    layoutBody(*sub, sub->dataControl() ? cursor.get() : nullptr, x + c.left, false,
               [&](Band &&part) {
                   for (size_t i = 0; i < part.items.size(); ++i) {
                       DisplayItem item = part.items[i];
                       item.y += y;
                       band.items.push_back(item);
                       band.pageCount.push_back(part.pageCount[i]);
                   }
                   for (int b : part.breaks)
                       band.breaks.push_back(b + y);
                   y += part.height;
               });
    --m_depth;
    m_cursors.remove(sub.get());
    // Its connections go back for the next row; a script may still hold the latest cursor.
    cursor->close();
    if (m_subCursors.size() > 1)
        m_subCursors.erase(m_subCursors.begin(), m_subCursors.end() - 1);
}

QString ReportRun::controlText(const ReportControl &c, DataCursor *cursor)
{
    QString field = c.props.value(u"DataField"_s).trimmed();
    if (field.startsWith(u'='))
        return evaluate(c, field.mid(1));
    if (!field.isEmpty()) {
        if (!cursor || !cursor->isOpen() || !cursor->hasRow())
            return {};
        if (field.startsWith(u'[') && field.endsWith(u']'))
            field = field.mid(1, field.size() - 2);
        const int column = cursor->fieldIndex(field);
        if (column < 0) {
            fail(u"The field \"%1\" of %2 is not in the record source."_s.arg(field, c.name));
            return {};
        }
        return formatValue(cursor->value(column), c.props.value(u"OutputFormat"_s));
    }
    // A label's caption is shown as written; a Text starting with "=" is an expression.
    if (c.kind == ControlKind::Label && c.props.contains(u"Caption"_s))
        return c.props.value(u"Caption"_s);
    const QString text = c.props.value(u"Text"_s, c.props.value(u"Caption"_s));
    if (text.startsWith(u'='))
        return evaluate(c, text.mid(1));
    return text;
}

QString ReportRun::evaluate(const ReportControl &c, const QString &expression)
{
    const QString key = QString::number(quintptr(&c)) + u'\n' + expression;
    auto it = m_expressions.find(key);
    if (it == m_expressions.end()) {
        auto compiled = m_engine.compile(expression);
        if (!compiled) {
            fail(u"%1: %2"_s.arg(c.name, m_engine.lastError().description()));
            return {};
        }
        it = m_expressions.insert(key, std::move(compiled.value()));
    }
    const auto value = it->evaluate({});
    if (!value) {
        fail(u"%1: %2"_s.arg(c.name, it->lastError().description()));
        return {};
    }
    return variantText(value.value());
}

QString ReportRun::formatValue(const QVariant &value, const QString &format)
{
    if (db::isNullValue(value))
        return {};
    if (!format.isEmpty())
        return applyOutputFormat(value, format);
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(u"yyyy-MM-dd"_s)
                                        : dt.toString(u"yyyy-MM-dd hh:mm:ss"_s);
    }
    case QMetaType::QDate:
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return {};
    default:
        return value.toString();
    }
}

int ReportRun::imageFor(const QString &base64)
{
    if (base64.isEmpty())
        return -1;
    const auto it = m_images.constFind(base64);
    if (it != m_images.constEnd())
        return *it;
    const QImage image = QImage::fromData(QByteArray::fromBase64(base64.toLatin1()), "PNG");
    const int index = image.isNull() ? -1 : m_pages.addImage(image);
    m_images.insert(base64, index);
    return index;
}

void ReportRun::startPage()
{
    ++m_pageNumber;
    m_pages.pages.emplace_back();
    callProcedure(u"OnPageStart"_s);
    m_y = m_layout.page.topMargin;
    auto putDirectly = [this](Band &&band) {
        putItems(band, band.height);
        m_y += band.height;
    };
    if (m_pageNumber == 1) {
        emitSection(firstOfType(m_layout, SectionType::ReportHeader),
                    m_cursor.isOpen() ? &m_cursor : nullptr, m_layout.page.leftMargin, true,
                    putDirectly);
    }
    if (m_pageHeader && !failed()) {
        emitSection(m_pageHeader, m_cursor.isOpen() ? &m_cursor : nullptr, m_layout.page.leftMargin,
                    true, putDirectly);
    }
    m_bodyTop = m_y;
    m_bodyBottom = m_layout.page.pageHeight() - m_layout.page.bottomMargin
        - (m_pageFooter ? m_pageFooter->height : 0);
    if (m_bodyBottom <= m_bodyTop)
        fail(u"The page header and footer leave no room for the report on the page."_s);
}

void ReportRun::finishPage()
{
    if (m_pageFooter && !failed()) {
        m_y = m_layout.page.pageHeight() - m_layout.page.bottomMargin - m_pageFooter->height;
        emitSection(m_pageFooter, m_cursor.isOpen() ? &m_cursor : nullptr, m_layout.page.leftMargin,
                    true, [this](Band &&band) { putItems(band, m_pageFooter->height); });
    }
    callProcedure(u"OnPageEnd"_s);
    if (ReportEvents *events = m_report.events())
        events->pageEnd(m_report, int(m_pages.pages.size()) - 1);
}

void ReportRun::putItems(Band &band, int cut)
{
    Page &page = m_pages.pages.back();
    for (size_t i = 0; i < band.items.size(); ++i) {
        DisplayItem item = band.items[i];
        if (item.y >= cut)
            continue;
        if (item.bottom() > cut && !isAtomic(item.kind) && item.kind != ItemKind::Line)
            item.height = cut - item.y;
        item.y += m_y;
        if (band.pageCount[i])
            m_pageCountItems.emplace_back(int(m_pages.pages.size()) - 1, int(page.items.size()));
        page.items.push_back(item);
    }
}

void ReportRun::placeBand(Band band)
{
    std::sort(band.breaks.begin(), band.breaks.end());
    // A break at the band's end moves what comes next, if anything does, to a new page.
    if (m_breakPending && m_y > m_bodyTop) {
        finishPage();
        startPage();
    }
    m_breakPending = false;
    while (!band.breaks.empty() && band.breaks.back() >= band.height) {
        band.breaks.pop_back();
        m_breakPending = true;
    }
    while (!failed()) {
        // A page break at the band's top starts the band on a new page.
        while (!band.breaks.empty() && band.breaks.front() <= 0) {
            band.breaks.erase(band.breaks.begin());
            if (m_y > m_bodyTop) {
                finishPage();
                startPage();
            }
        }
        const int available = m_bodyBottom - m_y;
        int cut = -1;
        if (!band.breaks.empty() && band.breaks.front() <= available) {
            cut = band.breaks.front();
        } else if (band.height <= available) {
            putItems(band, band.height);
            m_y += band.height;
            return;
        } else if (band.height <= bodyHeight() && m_y > m_bodyTop) {
            finishPage();
            startPage();
            continue;
        } else {
            // Taller than what is left: cut between lines, never through a text line.
            cut = available;
            for (bool moved = true; moved;) {
                moved = false;
                for (const DisplayItem &item : band.items) {
                    if (isAtomic(item.kind) && item.y < cut && item.bottom() > cut) {
                        cut = item.y;
                        moved = true;
                    }
                }
            }
            if (cut <= 0) {
                if (m_y > m_bodyTop) {
                    finishPage();
                    startPage();
                    continue;
                }
                cut = available; // one item taller than a page: it is clipped
            }
        }
        putItems(band, cut);
        Band rest;
        for (size_t i = 0; i < band.items.size(); ++i) {
            DisplayItem item = band.items[i];
            if (item.y >= cut) {
                item.y -= cut;
            } else if (!isAtomic(item.kind) && item.kind != ItemKind::Line && item.bottom() > cut) {
                item.height = item.bottom() - cut;
                item.y = 0;
            } else {
                continue;
            }
            rest.items.push_back(item);
            rest.pageCount.push_back(band.pageCount[i]);
        }
        for (int b : band.breaks) {
            if (b - cut > 0)
                rest.breaks.push_back(b - cut);
        }
        rest.height = band.height - cut;
        band = std::move(rest);
        finishPage();
        startPage();
        if (band.items.empty() && band.height <= 0)
            return;
    }
}

} // namespace vantrel::report
