#include "core/query/scalarqueries.h"

#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/sqlidentifier.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

CADODatabase &orGlobal(CADODatabase *db)
{
    return db ? *db : theDatabase;
}

// Column 0 of the first row, or an invalid variant.
QVariant firstValue(CADODatabase &db, const QString &sql, const QVariantList &values, bool *found)
{
    *found = false;
    if (!db.IsOpen())
        return {};
    const vantrel::db::QueryResult result = db.run(sql, values);
    if (!result.hasRow())
        return {};
    *found = true;
    return result.scalar();
}

} // namespace

QVariant GetScalarVariant(const QString &sql, const QVariantList &values, CADODatabase *db)
{
    CADORecordset rs(&orGlobal(db));
    QVariant value;
    if (rs.Open(sql, values) && !rs.IsEof())
        rs.GetFieldValueVariant(0, value);
    return value;
}

QString GetScalarText(const QString &sql, const QVariantList &values, CADODatabase *db)
{
    CADORecordset rs(&orGlobal(db));
    QString text;
    if (rs.Open(sql, values) && !rs.IsEof() && !rs.GetFieldValueText(0, text))
        text.clear();
    return text;
}

int GetScalarInt(const QString &sql, const QVariantList &values, CADODatabase *db)
{
    CADORecordset rs(&orGlobal(db));
    int value = 0;
    if (rs.Open(sql, values) && !rs.IsEof() && !rs.GetFieldValueInt(0, value))
        value = 0;
    return value;
}

bool TableExists(const QString &table, CADODatabase *db)
{
    bool found = false;
    CADODatabase &conn = orGlobal(db);
    firstValue(conn, conn.dialect().tableExistsQuery(), { table }, &found);
    return found;
}

bool RecordExists(const QString &table, const QString &condition, const QVariantList &values,
                  CADODatabase *db)
{
    if (!IsSqlIdentifier(table))
        return false;
    bool found = false;
    firstValue(orGlobal(db), u"SELECT 1 FROM %1 WHERE (%2)"_s.arg(table, condition), values,
               &found);
    return found;
}

QString GetPsnSortName(int aid)
{
    return GetScalarText(u"SELECT Name FROM qz_PsnSort WHERE AID = ?"_s, { aid });
}

QString GetDeptName(int did)
{
    return GetScalarText(u"SELECT Name FROM qz_Dept WHERE DID = ?"_s, { did });
}

QString GetWageSetTableName(int sid)
{
    return GetScalarText(u"SELECT TblName FROM qz_Table WHERE nType = 6 AND ID = ?"_s, { sid });
}

QString GetWageSetTitle(int sid)
{
    return GetScalarText(u"SELECT Title FROM qz_Table WHERE nType = 6 AND ID = ?"_s, { sid });
}

QString GetDictCode(int id)
{
    return GetScalarText(u"SELECT DictId FROM qz_Dict WHERE ID = ?"_s, { id });
}

QString GetDictTitleList(const QString &dictCode, bool strip)
{
    CADORecordset rs(&theDatabase);
    QString list;
    if (!rs.Open(u"SELECT Title FROM qz_DictItem WHERE Active = 1 AND DictId = ? "
                 "ORDER BY DictValue LIMIT 500"_s,
                 { dictCode }))
        return list;
    for (; !rs.IsEof(); rs.MoveNext()) {
        QString title;
        rs.GetFieldValueText(0, title);
        list += u'|' + title;
    }
    if (strip && !list.isEmpty())
        list.remove(0, 1);
    return list;
}

bool IsPsnNumberFree(const QString &number, QString *error)
{
    if (number.isEmpty() || number.size() > 50)
        return false;
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT COUNT(PID) FROM qz_PsnBase WHERE upper(Number) = upper(?)"_s, { number })
        || rs.IsEof()) {
        if (error)
            *error = rs.GetLastErrorString();
        return false;
    }
    int count = 0;
    rs.GetFieldValueInt(0, count);
    return count <= 0;
}

int InsertReturningId(const QString &table, const QStringList &columns, const QVariantList &values,
                      const QString &keyColumn, CADODatabase *db)
{
    CADODatabase &conn = orGlobal(db);
    if (!IsSqlIdentifier(table) || !IsSqlIdentifier(keyColumn)
        || !std::all_of(columns.cbegin(), columns.cend(), IsSqlIdentifier)
        || columns.size() != values.size()) {
        conn.StoreError(
            ErrorInfo::make(ErrorCode::InvalidArgument, u"Invalid insert into '%1'."_s.arg(table)));
        return 0;
    }
    const QString sql = u"INSERT INTO %1 (%2) VALUES (%3) RETURNING %4"_s.arg(
        table, columns.join(u", "_s), QStringList(columns.size(), u"?"_s).join(u", "_s), keyColumn);
    const vantrel::db::QueryResult inserted = conn.run(sql, values);
    if (!inserted.hasRow()) {
        conn.StoreError(inserted.ok
                            ? ErrorInfo::make(ErrorCode::Failed, u"The insert returned no key."_s)
                            : inserted.error);
        return 0;
    }
    return inserted.scalar().toInt();
}

bool RefreshPrintTemplateOrder(int sid, int kind)
{
    CADOCommand command(&theDatabase, u"qz_RefreshPrintReportTempletOrder"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
    command.AddParameterInt(u"Type"_s, adInteger, adParamInput, 4, kind);
    return command.Execute();
}

QString TemplateVanishedMessage()
{
    return u"该记录已被其他操作员删除,请刷新数据列表!"_s;
}

namespace {

TemplateSave runSaver(CADOCommand &command, QString *error)
{
    if (command.Execute())
        return TemplateSave::Saved;
    if (error)
        *error = command.GetLastErrorString();
    return TemplateSave::Failed;
}

} // namespace

TemplateSave SaveBankExportTemplate(int eid, int sid, const QString &name, bool active,
                                    const QString &header, const QString &footer,
                                    const QString &sep, const QString &ext, int sfRows,
                                    QString *error)
{
    if (eid > 0 && !RecordExists(u"qz_WageExport"_s, u"EID = ?"_s, { eid }))
        return TemplateSave::Vanished;
    CADOCommand command(&theDatabase, u"qz_AddBankExportTemplet"_s);
    command.AddParameterInt(u"EID"_s, adInteger, adParamInput, 4, eid);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
    command.AddParameterText(u"Name"_s, adVarChar, adParamInput, 255, name);
    command.AddParameterVariant(u"Active"_s, adBoolean, adParamInput, 1, active);
    command.AddParameterText(u"Header"_s, adLongVarWChar, adParamInput, -1, header);
    command.AddParameterText(u"Footer"_s, adLongVarWChar, adParamInput, -1, footer);
    command.AddParameterText(u"Sep"_s, adVarChar, adParamInput, 6, sep);
    command.AddParameterText(u"Ext"_s, adVarChar, adParamInput, 6, ext);
    command.AddParameterInt(u"SFRows"_s, adInteger, adParamInput, 4, sfRows);
    return runSaver(command, error);
}

TemplateSave SaveAnnounceTemplate(int aid, int sid, const QString &name, bool active,
                                  const QString &subject, const QString &content, QString *error)
{
    if (aid > 0 && !RecordExists(u"qz_WageAnnounce"_s, u"AID = ?"_s, { aid }))
        return TemplateSave::Vanished;
    CADOCommand command(&theDatabase, u"qz_AddAnnounceTemplet"_s);
    command.AddParameterInt(u"AID"_s, adInteger, adParamInput, 4, aid);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
    command.AddParameterText(u"Name"_s, adVarChar, adParamInput, 255, name);
    command.AddParameterVariant(u"Active"_s, adBoolean, adParamInput, 1, active);
    command.AddParameterText(u"Subject"_s, adVarChar, adParamInput, 256, subject);
    command.AddParameterText(u"Content"_s, adLongVarWChar, adParamInput, -1, content);
    return runSaver(command, error);
}
