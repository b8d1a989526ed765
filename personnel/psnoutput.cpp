#include "personnel/psnoutput.h"

#include "core/db/cadodatabase.h"
#include "core/query/querybuilders.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

IPsnPrintTemplates *printTemplates = nullptr;
IPsnMailTemplates *mailTemplates = nullptr;
IPsnMailBatch *mailBatch = nullptr;

} // namespace

QString ConditionLogText(const SqlCondition &where)
{
    QString condition = where.literalText();
    condition.replace(u"WHERE"_s, u"条件："_s);
    return condition.trimmed();
}

QString PsnReportQuery(const SqlCondition &where, const QString &orderBy)
{
    return u"SELECT "_s + BuildPsnSelect(0, true) + BuildPsnFromClause(true) + where.literalText()
        + orderBy;
}

QString PrintLogText(const QString &reportName, const SqlCondition &where)
{
    return u"人员档案[报表打印'%1|(%2)']"_s.arg(reportName, ConditionLogText(where));
}

Result<PsnMailRequest> BuildPsnMailRequest(CADODatabase &db, int templateId,
                                           const SqlCondition &where, const QString &orderBy)
{
    using R = Result<PsnMailRequest>;
    PsnMailRequest request;
    request.query = u"SELECT "_s + BuildPsnSelect(0, false) + BuildPsnFromClause(false)
        + where.literalText() + u" "_s + orderBy;
    const db::QueryResult mail = db.run(
        u"SELECT Name, Subject, Content FROM qz_WageAnnounce WHERE AID=?"_s, { templateId });
    if (!mail.ok)
        return R::failure(mail.error.description);
    if (mail.hasRow()) {
        request.subject = mail.rows.text(0, 1);
        request.content = mail.rows.text(0, 2);
    }
    const db::QueryResult column = db.run(u"SELECT dbfield FROM qz_BatchMailSet WHERE dt=0"_s);
    if (!column.ok)
        return R::failure(column.error.description);
    request.addressColumn = column.scalar().toString();
    const db::QueryResult boxes
        = db.run(u"SELECT svrname, port, auh, ssl, account, password, mailadr, username"
                 " FROM qz_BatchMailSet WHERE dt=3 ORDER BY id"_s);
    if (!boxes.ok)
        return R::failure(boxes.error.description);
    for (int row = 0; row < boxes.rows.rowCount(); ++row) {
        const auto text = [&](int field) { return boxes.rows.text(row, field); };
        request.servers.append(
            { text(0), boxes.rows.value(row, 1).toInt(), boxes.rows.value(row, 2).toInt() != 0,
              boxes.rows.value(row, 3).toInt() != 0, text(4), text(5), text(6), text(7) });
    }
    if (request.servers.isEmpty())
        return R::failure(u"没有用于群发的邮箱!"_s);
    return request;
}

QString MailLogText(const QString &deptName, const QString &templateName, const SqlCondition &where)
{
    return u"人员档案['%1邮件群发'%2'(%3)]"_s.arg(deptName, templateName, ConditionLogText(where));
}

void RegisterPsnPrintTemplates(IPsnPrintTemplates *owner)
{
    printTemplates = owner;
}

void RegisterPsnMailTemplates(IPsnMailTemplates *owner)
{
    mailTemplates = owner;
}

void RegisterPsnMailBatch(IPsnMailBatch *owner)
{
    mailBatch = owner;
}

IPsnPrintTemplates *PsnPrintTemplates()
{
    return printTemplates;
}

IPsnMailTemplates *PsnMailTemplates()
{
    return mailTemplates;
}

IPsnMailBatch *PsnMailBatch()
{
    return mailBatch;
}

} // namespace vantrel::personnel
