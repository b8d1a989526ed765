#include "core/query/scalarqueries.h"

#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/sqlidentifier.h"
#include "core/db/valuetext.h"

#include <limits>
#include <optional>

using namespace vantrel::db;
using namespace Qt::StringLiterals;
using vantrel::Result;

namespace {

CADODatabase &orGlobal(CADODatabase *db)
{
    return db ? *db : theDatabase;
}

// Column 0 of the first row, converted by the caller's rule.
template<typename T, typename Convert>
ScalarAnswer<T> firstValue(CADODatabase &db, const QString &sql, const QVariantList &values,
                           Convert convert)
{
    const QueryResult result = db.run(sql, values);
    if (!result.ok)
        return ScalarAnswer<T>::failure(result.error.description);
    if (!result.hasRow())
        return ScalarAnswer<T>::noRow();
    return convert(result.scalar());
}

ScalarAnswer<int> toInt(const QVariant &value)
{
    const auto notAnInt = [&value] {
        return ScalarAnswer<int>::failure(
            u"The value '%1' is not a 32-bit whole number."_s.arg(value.toString()));
    };
    if (isNullValue(value))
        return 0;
    qint64 wide = 0;
    bool ok = true;
    switch (value.typeId()) {
    case QMetaType::Bool:
        wide = value.toBool() ? -1 : 0;
        break;
    case QMetaType::Double: {
        const double d = value.toDouble();
        ok = d > -2147483649.0 && d < 2147483648.0;
        wide = ok ? qint64(d) : 0;
        break;
    }
    case QMetaType::QString:
        wide = value.toString().trimmed().toLongLong(&ok);
        break;
    default:
        wide = value.toLongLong(&ok);
    }
    if (!ok || wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max())
        return notAnInt();
    return int(wide);
}

ScalarAnswer<QString> toText(const QVariant &value)
{
    QString text;
    if (!ValueToText(value, {}, text))
        return ScalarAnswer<QString>::failure(u"The value has no text form."_s);
    return text;
}

} // namespace

ScalarAnswer<QVariant> GetScalarVariant(const QString &sql, const QVariantList &values,
                                        CADODatabase *db)
{
    return firstValue<QVariant>(orGlobal(db), sql, values,
                                [](const QVariant &v) { return ScalarAnswer<QVariant>(v); });
}

ScalarAnswer<QString> GetScalarText(const QString &sql, const QVariantList &values,
                                    CADODatabase *db)
{
    return firstValue<QString>(orGlobal(db), sql, values, toText);
}

ScalarAnswer<int> GetScalarInt(const QString &sql, const QVariantList &values, CADODatabase *db)
{
    return firstValue<int>(orGlobal(db), sql, values, toInt);
}

bool TableExists(const QString &table, CADODatabase *db)
{
    CADODatabase &conn = orGlobal(db);
    return conn.run(conn.dialect().tableExistsQuery(), { table }).hasRow();
}

Result<bool> RecordExists(const QString &table, const QString &condition,
                          const QVariantList &values, CADODatabase *db)
{
    if (!IsSqlIdentifier(table))
        return Result<bool>::failure(u"'%1' is not a table name."_s.arg(table));
    const QueryResult result
        = orGlobal(db).run(u"SELECT 1 FROM %1 WHERE (%2)"_s.arg(table, condition), values);
    if (!result.ok)
        return Result<bool>::failure(result.error.description);
    return result.hasRow();
}

namespace {

// A lookup for display: no row and a failure both show as the empty text.
QString lookupText(const QString &sql, int id)
{
    return GetScalarText(sql, { id }).valueOr({});
}

} // namespace

QString GetPsnSortName(int aid)
{
    return lookupText(u"SELECT Name FROM qz_PsnSort WHERE AID = ?"_s, aid);
}

QString GetDeptName(int did)
{
    return lookupText(u"SELECT Name FROM qz_Dept WHERE DID = ?"_s, did);
}

QString GetWageSetTableName(int sid)
{
    return lookupText(u"SELECT TblName FROM qz_Table WHERE nType = 6 AND ID = ?"_s, sid);
}

QString GetWageSetTitle(int sid)
{
    return lookupText(u"SELECT Title FROM qz_Table WHERE nType = 6 AND ID = ?"_s, sid);
}

QString GetDictCode(int id)
{
    return lookupText(u"SELECT DictId FROM qz_Dict WHERE ID = ?"_s, id);
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
    const QueryResult result = conn.run(sql, values);
    if (!result.hasRow()) {
        conn.StoreError(result.ok ? ErrorInfo::make(
                            ErrorCode::Failed, u"The insert into '%1' gave no key."_s.arg(table))
                                  : result.error);
        return 0;
    }
    return result.scalar().toInt();
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

// Whether the template with that id is still there; Failed when that cannot be told.
std::optional<TemplateSave> checkStillThere(const QString &table, const QString &key, int id,
                                            QString *error)
{
    if (id <= 0)
        return std::nullopt;
    const Result<bool> exists = RecordExists(table, key + u" = ?"_s, { id });
    if (!exists) {
        if (error)
            *error = exists.error();
        return TemplateSave::Failed;
    }
    return *exists ? std::nullopt : std::optional(TemplateSave::Vanished);
}

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
    if (const auto refused = checkStillThere(u"qz_WageExport"_s, u"EID"_s, eid, error))
        return *refused;
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
    if (const auto refused = checkStillThere(u"qz_WageAnnounce"_s, u"AID"_s, aid, error))
        return *refused;
    CADOCommand command(&theDatabase, u"qz_AddAnnounceTemplet"_s);
    command.AddParameterInt(u"AID"_s, adInteger, adParamInput, 4, aid);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
    command.AddParameterText(u"Name"_s, adVarChar, adParamInput, 255, name);
    command.AddParameterVariant(u"Active"_s, adBoolean, adParamInput, 1, active);
    command.AddParameterText(u"Subject"_s, adVarChar, adParamInput, 256, subject);
    command.AddParameterText(u"Content"_s, adLongVarWChar, adParamInput, -1, content);
    return runSaver(command, error);
}
