#include "reportlib/reportstorage.h"

#include "core/db/cadodatabase.h"
#include "platform/reportengine/layoutxml.h"
#include "platform/reportengine/reportlayout.h"
#include "reportlib/modmain.h"

using namespace Qt::StringLiterals;
using vantrel::Result;
using vantrel::Status;
using vantrel::report::ReportControl;
using vantrel::report::ReportLayout;
using vantrel::report::Section;

namespace ferrolyn {

namespace {

// A connection of one procedure's own, closed when it goes.
class OwnConnection
{
public:
    OwnConnection() { m_open = m_db.Open(modMain().gConnectionString); }
    ~OwnConnection() { m_db.Close(); }
    bool isOpen() const { return m_open; }
    QString error() const { return m_db.GetLastErrorString(); }
    CADODatabase &db() { return m_db; }

private:
    CADODatabase m_db;
    bool m_open = false;
};

QString failureText(const vantrel::db::QueryResult &r)
{
    return r.error.description;
}

QByteArray layoutBytes(const ReportLayout &layout)
{
    return vantrel::report::LayoutXml::write(layout);
}

Result<ReportLayout> readLayout(const QByteArray &bytes)
{
    return vantrel::report::LayoutXml::read(bytes);
}

bool subreportRowsApply()
{
    return modMain().gReportID > 0 && modMain().gReportExists != 0;
}

} // namespace

Section *FindDataSection(ReportLayout &layout)
{
    return layout.dataSection();
}

ReportControl *FindDataControl(ReportLayout &layout)
{
    return layout.dataControl();
}

Status LoadReportLayout(ReportLayout &layout)
{
    ModMain &m = modMain();
    OwnConnection cn;
    if (!cn.isOpen())
        return Status::failure(cn.error());
    const auto r
        = cn.db().run(u"SELECT Name, Data, EPara FROM qz_Report WHERE ID=?"_s, { m.gReportID });
    if (!r.ok)
        return Status::failure(failureText(r));
    if (r.rows.rowCount() == 0)
        return Status::failure(u"报表 %1 不存在。"_s.arg(m.gReportID));
    auto loaded = readLayout(r.rows.value(0, 1).toByteArray());
    if (!loaded)
        return Status::failure(loaded.error());
    m.gReportName = r.rows.text(0, 0);
    const QString epara = r.rows.text(0, 2);
    if (m.gLoadExportSettings && !epara.isEmpty())
        ParseExportSettings(epara);
    layout = std::move(loaded).value();
    return {};
}

Status SaveReportLayout(const ReportLayout &layout)
{
    ModMain &m = modMain();
    if (m.gReadOnly) {
        showMessage(MessageIcon::Information, {}, u"此报表只读！"_s);
        return Status::failure(u"此报表只读！"_s);
    }
    auto fail = [](const QString &why) {
        showMessage(MessageIcon::Exclamation, u"保存时出错"_s, why);
        return Status::failure(why);
    };
    OwnConnection cn;
    if (!cn.isOpen())
        return fail(cn.error());
    const QByteArray data = layoutBytes(layout);
    const QString epara = BuildExportSettings();
    if (m.gReportExists == 1) {
        const auto r = cn.db().run(u"UPDATE qz_Report SET Data=?, EPara=? WHERE ID=?"_s,
                                   { data, epara, m.gReportID });
        if (!r.ok)
            return fail(failureText(r));
        if (r.rowsAffected == 0)
            return fail(u"报表 %1 不存在。"_s.arg(m.gReportID));
    } else {
        const auto r = cn.db().run(u"INSERT INTO qz_Report (ParentID, Type, Name, Data, EPara) "
                                   u"VALUES (0, ?, ?, ?, ?) RETURNING ID"_s,
                                   { int(m.gReportType), m.gReportName, data, epara });
        if (!r.ok || !r.hasRow())
            return fail(r.ok ? u"新报表没有得到 ID。"_s : failureText(r));
        m.gReportID = r.scalar().toInt();
    }
    m.gReportExists = 1;
    return {};
}

Status SaveSubReportRecord(const ReportLayout &subreport, const QString &name)
{
    ModMain &m = modMain();
    ReportLayout stored = subreport;
    QString source;
    if (ReportControl *data = stored.dataControl()) {
        source = data->props.value(u"Source"_s);
        data->props.set(u"ConnectionString"_s, QString());
    }
    OwnConnection cn;
    if (!cn.isOpen())
        return Status::failure(cn.error());
    const QByteArray bytes = layoutBytes(stored);
    vantrel::db::DbTransaction tx(cn.db());
    const auto found
        = cn.db().run(u"SELECT ID FROM qz_Report WHERE ParentID=? AND Name=? AND Type=-1"_s,
                      { m.gReportID, name });
    if (!found.ok)
        return Status::failure(failureText(found));
    const auto r = found.hasRow()
        ? cn.db().run(u"UPDATE qz_Report SET RsSQL=?, Data=? WHERE ID=?"_s,
                      { source, bytes, found.scalar() })
        : cn.db().run(u"INSERT INTO qz_Report (Type, ParentID, Name, RsSQL, Data) "
                      u"VALUES (-1, ?, ?, ?, ?)"_s,
                      { m.gReportID, name, source, bytes });
    if (!r.ok)
        return Status::failure(failureText(r));
    if (!tx.commit())
        return Status::failure(cn.error());
    return {};
}

Status DeleteSubReportRecord(const QString &name)
{
    if (!subreportRowsApply())
        return {};
    OwnConnection cn;
    if (!cn.isOpen())
        return Status::failure(cn.error());
    const auto r = cn.db().run(u"DELETE FROM qz_Report WHERE ParentID=? AND Name=? AND Type=-1"_s,
                               { modMain().gReportID, name });
    return r.ok ? Status() : Status::failure(failureText(r));
}

Status RenameSubReportRecord(const QString &oldName, const QString &newName)
{
    if (!subreportRowsApply())
        return {};
    OwnConnection cn;
    if (!cn.isOpen())
        return Status::failure(cn.error());
    const auto r
        = cn.db().run(u"UPDATE qz_Report SET Name=? WHERE ParentID=? AND Name=? AND Type=-1"_s,
                      { newName, modMain().gReportID, oldName });
    return r.ok ? Status() : Status::failure(failureText(r));
}

Result<ReportLayout> LoadSubReportRecord(const QString &name)
{
    using R = Result<ReportLayout>;
    const ModMain &m = modMain();
    OwnConnection cn;
    if (!cn.isOpen())
        return R::failure(cn.error());
    const auto r = cn.db().run(
        u"SELECT Data, RsSQL FROM qz_Report WHERE ParentID=? AND Name=? AND Type=-1"_s,
        { m.gReportID, name });
    if (!r.ok)
        return R::failure(failureText(r));
    if (!r.hasRow())
        return R::failure(u"子报表 %1 不存在。"_s.arg(name));
    auto layout = readLayout(r.rows.value(0, 0).toByteArray());
    if (!layout)
        return layout;
    if (ReportControl *data = layout->dataControl()) {
        data->props.set(u"ConnectionString"_s, m.gConnectionString);
        data->props.set(u"Source"_s, r.rows.text(0, 1));
    }
    return layout;
}

} // namespace ferrolyn
