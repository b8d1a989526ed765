#pragma once

#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QString>
#include <QVector>

class CADODatabase;
class CScriptHostProxy;
class QWidget;

namespace vantrel::personnel {

// A condition as log texts show it: its values written in, "WHERE" as "条件：", trimmed.
QString ConditionLogText(const SqlCondition &where);

// The report's query over the persons of the condition: every person, category and department
// field and the photo. The values are written in: the report library runs it on its own
// connection.
QString PsnReportQuery(const SqlCondition &where, const QString &orderBy);
// "人员档案[报表打印'<report>|(<condition>)']"
QString PrintLogText(const QString &reportName, const SqlCondition &where);

// One sender mailbox of a mail batch.
struct MailServerInfo
{
    QString server;
    int port = 25;
    bool authenticate = false;
    bool ssl = false;
    QString account;
    QString password;
    QString address;
    QString displayName;
};

// What the mail batch needs to mail a personnel template to the persons of a list.
struct PsnMailRequest
{
    QString caption = QStringLiteral("邮件通知");
    QString query; // the persons, values written in
    QString subject;
    QString content;
    QString addressColumn;
    QVector<MailServerInfo> servers;
};

// Reads the template (a deleted one gives an empty subject and body), the address column and
// the mailboxes in id order. Fails with "没有用于群发的邮箱!" when there are none, or the
// database's text.
Result<PsnMailRequest> BuildPsnMailRequest(CADODatabase &db, int templateId,
                                           const SqlCondition &where, const QString &orderBy);
// "人员档案['<department>邮件群发'<template>'(<condition>)]"
QString MailLogText(const QString &deptName, const QString &templateName,
                    const SqlCondition &where);

// The owners of what the person list hands on to other modules. Each is registered by its
// module at start-up; until then the person list shows that the module is missing.

// Print and export templates of the personnel module (kind 1, wage set 0).
class IPsnPrintTemplates
{
public:
    virtual ~IPsnPrintTemplates() = default;
    // Runs the manager modally; true when templates changed.
    virtual bool ManagePrintTemplates(QWidget *parent, const QString &caption) = 0;
};

// Personnel mail templates (wage set 0).
class IPsnMailTemplates
{
public:
    virtual ~IPsnMailTemplates() = default;
    // Runs the manager modally; true when templates changed.
    virtual bool ManageMailTemplates(QWidget *parent) = 0;
};

// Generates and sends the mails of a request, the template evaluated in the script host.
class IPsnMailBatch
{
public:
    virtual ~IPsnMailBatch() = default;
    // Runs modally; true when mails were sent.
    virtual bool RunMailBatch(QWidget *parent, const PsnMailRequest &request,
                              CScriptHostProxy *host)
        = 0;
};

// The registered owners (not owned here); null when none is registered.
void RegisterPsnPrintTemplates(IPsnPrintTemplates *owner);
void RegisterPsnMailTemplates(IPsnMailTemplates *owner);
void RegisterPsnMailBatch(IPsnMailBatch *owner);
IPsnPrintTemplates *PsnPrintTemplates();
IPsnMailTemplates *PsnMailTemplates();
IPsnMailBatch *PsnMailBatch();

} // namespace vantrel::personnel
