#include "reportfixture.h"

#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"

#include <QMap>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace vantrel::report;

namespace reportfixture {

PersonsDb::PersonsDb(int rows)
{
    const QString path = m_dir.filePath(u"persons.db"_s);
    if (!vantrel::db::createSqliteDatabase(path))
        return;
    const QString cs = vantrel::db::ConnectionString::forSqlite(path);
    CADODatabase db;
    if (!db.Open(cs)
        || !db.Execute(u"CREATE TABLE P (ID INTEGER, Dept TEXT, Name TEXT, Note TEXT)"_s))
        return;
    QVector<QVariantList> values;
    for (int i = 1; i <= rows; ++i)
        values.append(QVariantList { i, QString(u"D"_s + QString::number((i - 1) / 7 + 1)),
                                     QString(u"R"_s + QString::number(i)), QVariant() });
    if (rows > 0 && !db.runBatch(u"INSERT INTO P VALUES (?, ?, ?, ?)"_s, values).ok)
        return;
    m_connectionString = cs;
}

bool PersonsDb::execute(const QString &sql)
{
    CADODatabase db;
    return db.Open(m_connectionString) && db.Execute(sql);
}

Section &section(ReportLayout &layout, int type)
{
    for (Section &s : layout.sections) {
        if (s.type == type)
            return s;
    }
    Q_ASSERT(false);
    return layout.sections.first();
}

ReportControl &addField(ReportLayout &layout, Section &s, const QString &dataField, int left,
                        int top, int width, int height)
{
    ReportControl *c = layout.addControl(s, u"DDActiveReports2.Field"_s);
    c->left = left;
    c->top = top;
    c->width = width;
    c->height = height;
    if (!dataField.isEmpty())
        c->props.set(u"DataField"_s, dataField);
    return *c;
}

ReportLayout listLayout(const QString &connectionString, const QString &source, int detailHeight)
{
    ReportLayout layout;
    layout.name = u"名单"_s;
    layout.page = { u"Custom"_s, false, 6000, 4000, 500, 500, 500, 500, 5000 };
    const struct
    {
        int type;
        const char16_t *name;
        int height;
    } sections[] = { { SectionType::PageHeader, u"PageHeader", 300 },
                     { SectionType::Detail, u"Detail", detailHeight },
                     { SectionType::PageFooter, u"PageFooter", 300 } };
    for (const auto &s : sections) {
        Section section;
        section.type = s.type;
        section.name = QString::fromUtf16(s.name);
        section.height = s.height;
        layout.sections.append(section);
    }
    Section &header = section(layout, SectionType::PageHeader);
    ReportControl *title = layout.addControl(header, u"DDActiveReports2.Label"_s);
    title->width = 2000;
    title->height = 240;
    title->props.set(u"Caption"_s, u"名单"_s);

    Section &detail = section(layout, SectionType::Detail);
    ReportControl *data
        = layout.addControl(detail, u"DDActiveReports2.DataControl"_s, u"DataControl"_s);
    data->props.set(u"ConnectionString"_s, connectionString);
    data->props.set(u"Source"_s, source);
    addField(layout, detail, u"Name"_s, 0, 0, 3000);

    // The page line as the page-number form inserts it: A "页", B the page count, C the start.
    Section &footer = section(layout, SectionType::PageFooter);
    ReportControl &a = addField(layout, footer, u"=\"页\""_s, 3000, 0, 284);
    a.props.set(u"Text"_s, u"页"_s);
    ReportControl &b = addField(layout, footer, {}, 2716, 0, 284);
    b.props.set(u"Text"_s, u"共"_s);
    b.props.set(u"SummaryType"_s, 4);
    ReportControl &c
        = addField(layout, footer, u"=\"第 \" & rpt.PageNumber & \" 页 共 \""_s, 1436, 0, 1280);
    c.props.set(u"Text"_s, u"第 "_s);
    return layout;
}

QStringList pageLines(const PageSet &pages, int page)
{
    QMap<int, QVector<QPair<int, QString>>> rows;
    for (const DisplayItem &item : pages.pages[size_t(page)].items) {
        if (item.kind == ItemKind::Text)
            rows[item.y].append({ item.x, pages.string(item.text) });
    }
    QStringList lines;
    for (auto &runs : rows) {
        std::sort(runs.begin(), runs.end());
        QString line;
        for (const auto &run : runs)
            line += run.second;
        lines.append(line);
    }
    return lines;
}

void EventLog::reportStart(Report &report)
{
    events.append(u"ReportStart"_s);
    if (onStart)
        onStart(report);
}

void EventLog::error(Report &, const QString &text)
{
    events.append(u"Error: "_s + text);
}

void EventLog::pageEnd(Report &, int page)
{
    events.append(u"PageEnd "_s + QString::number(page));
}

} // namespace reportfixture
