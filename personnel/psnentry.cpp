#include "personnel/psnentry.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

const QString numberTaken = u"编号重复或长度异常!"_s;

int indexOfItem(const CItemInfoArray &items, const QString &name)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant contentOf(const PsnSaveRequest &request, const QString &name)
{
    const int index = indexOfItem(request.items, name);
    return index >= 0 && index < request.contents.size() ? request.contents.at(index) : QVariant();
}

// The chosen category and department must still be there; 0 means none chosen.
std::optional<FormSaveResult> checkLinks(CADODatabase &db, const PsnSaveRequest &request)
{
    const struct
    {
        QString item, table, condition;
        int message;
    } links[] = { { u"AID"_s, u"qz_PsnSort"_s, u"AID = ?"_s, 120 },
                  { u"DID"_s, u"qz_Dept"_s, u"DID = ?"_s, 119 } };
    for (const auto &link : links) {
        const int id = contentOf(request, link.item).toInt();
        if (id <= 0)
            continue;
        const Result<bool> exists = RecordExists(link.table, link.condition, { id }, &db);
        if (!exists)
            return FormSaveResult::failed({ SaveErrorMessage(exists.error()) });
        if (!*exists)
            return FormSaveResult::failed({ LoadResString(link.message) }, true);
    }
    return std::nullopt;
}

// A number typed (or changed) by the user must be free; an automatic one is made later.
std::optional<FormSaveResult> checkTypedNumber(const PsnSaveRequest &request, QString &number)
{
    number = contentOf(request, u"NUMBER"_s).toString();
    if (indexOfItem(request.items, u"NUMBER"_s) < 0)
        return std::nullopt;
    if (request.add && request.rule.isAutomatic())
        return std::nullopt;
    if (!request.add && number == request.loadedNumber)
        return std::nullopt;
    QString error;
    if (!IsPsnNumberFree(number, &error))
        return FormSaveResult::failed({ error.isEmpty() ? numberTaken : SaveErrorMessage(error) });
    return std::nullopt;
}

// A failed write of the number is a clash when another person holds it by now.
QString writeFailure(const QString &number, const QString &reason)
{
    if (!number.isEmpty() && !IsPsnNumberFree(number))
        return numberTaken;
    return SaveErrorMessage(reason);
}

Result<QString> automaticNumber(CADODatabase &db, const PsnNumberRule &rule, int pid, int did)
{
    QString deptPrefix;
    if (rule.mode == 2) {
        const ScalarAnswer<QString> pnRule
            = GetScalarText(u"SELECT PNRule FROM qz_Dept WHERE DID = ?"_s, { did }, &db);
        if (pnRule.failed())
            return Result<QString>::failure(pnRule.error());
        deptPrefix = pnRule.valueOr(QString());
    }
    return NumberForSequence(rule, pid, deptPrefix);
}

} // namespace

PsnNumberRule ParseNumberRule(const QString &option)
{
    PsnNumberRule rule;
    const QStringList pieces = option.split(u'|');
    if (pieces.size() != 3)
        return rule;
    rule.mode = pieces.at(0).trimmed().toInt();
    if (rule.mode < 0 || rule.mode > 3)
        rule.mode = 0;
    rule.length = pieces.at(1).trimmed().toInt();
    rule.prefix = pieces.at(2);
    return rule;
}

Result<PsnNumberRule> LoadNumberRule(CADODatabase &db)
{
    const ScalarAnswer<QString> option
        = GetScalarText(u"SELECT sContent FROM qz_SysOption WHERE nType = 0 LIMIT 1"_s, {}, &db);
    if (option.failed())
        return Result<PsnNumberRule>::failure(option.error());
    return ParseNumberRule(option.valueOr(QString()));
}

QString NumberForSequence(const PsnNumberRule &rule, int sequence, const QString &deptPrefix)
{
    const QString padded = QString::number(sequence).rightJustified(rule.length, u'0');
    switch (rule.mode) {
    case 1:
        return rule.prefix + padded;
    case 2:
        return deptPrefix + padded;
    default:
        return padded;
    }
}

QString PsnSaveLogText(bool add, const QString &number, const QString &name)
{
    return u"人员档案[%1：(%2)%3]"_s.arg(add ? u"新增"_s : u"修改"_s, number, name);
}

Result<bool> WritePsnPhoto(CADODatabase &db, int pid, const QByteArray &bytes)
{
    if (!db.Execute(u"DELETE FROM qz_PsnAdj WHERE PID = ?"_s, { pid }))
        return Result<bool>::failure(db.GetLastErrorString());
    if (bytes.isEmpty())
        return true;
    if (!db.Execute(u"INSERT INTO qz_PsnAdj (PID, Photo) VALUES (?, ?)"_s, { pid, bytes }))
        return Result<bool>::failure(db.GetLastErrorString());
    return true;
}

Result<QByteArray> ReadPsnPhoto(CADODatabase &db, int pid)
{
    const vantrel::db::QueryResult result
        = db.run(u"SELECT Photo FROM qz_PsnAdj WHERE PID = ?"_s, { pid });
    if (!result.ok)
        return Result<QByteArray>::failure(result.error.description);
    return result.scalar().toByteArray();
}

PsnSaveResult SavePerson(CADODatabase &db, const PsnSaveRequest &request)
{
    PsnSaveResult outcome;
    const auto failed = [&outcome](FormSaveResult form) {
        outcome.form = std::move(form);
        return outcome;
    };
    if (request.items.isEmpty() || request.contents.size() != request.items.size())
        return failed(FormSaveResult::failed({ u"保存出错!"_s }));
    if (std::optional<FormSaveResult> refused = checkLinks(db, request))
        return failed(*refused);
    QString number;
    if (std::optional<FormSaveResult> refused = checkTypedNumber(request, number))
        return failed(*refused);
    const int pid = request.add ? 0 : request.pid;
    if (!request.add) {
        const Result<bool> exists = RecordExists(u"qz_PsnBase"_s, u"PID = ?"_s, { pid }, &db);
        if (!exists)
            return failed(FormSaveResult::failed({ SaveErrorMessage(exists.error()) }));
        if (!*exists)
            return failed(FormSaveResult::failed({ LoadResString(133) }));
    }

    const bool automatic = request.add && request.rule.isAutomatic();
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < request.items.size(); ++i) {
        const tagVANTRELITEMINFO &item = request.items.at(i);
        columns << item.Name;
        if (item.Name.compare(u"NUMBER"_s, Qt::CaseInsensitive) == 0) {
            const bool none = automatic || number.isEmpty();
            values << (none ? QVariant(QMetaType(QMetaType::QString)) : QVariant(number));
            continue;
        }
        const Result<QVariant> value = StoredValueFromContent(item, request.contents.at(i));
        if (!value)
            return failed(FormSaveResult::failed(ConversionMessages(item, value.error())));
        values << *value;
    }

    vantrel::db::DbTransaction transaction(db);
    const RowWrite write = WriteFormRow(db, u"qz_PsnBase"_s, u"PID"_s, pid, columns, values);
    if (write.outcome == RowWrite::Gone)
        return failed(FormSaveResult::failed({ LoadResString(133) }));
    if (write.outcome == RowWrite::Failed) {
        transaction.rollback();
        return failed(FormSaveResult::failed({ writeFailure(number, write.error) }));
    }
    if (automatic && indexOfItem(request.items, u"NUMBER"_s) >= 0) {
        const Result<QString> made
            = automaticNumber(db, request.rule, write.key, contentOf(request, u"DID"_s).toInt());
        if (!made)
            return failed(FormSaveResult::failed({ SaveErrorMessage(made.error()) }));
        number = *made;
        if (number.size() > 50
            || !db.Execute(u"UPDATE qz_PsnBase SET Number = ? WHERE PID = ?"_s,
                           { number, write.key }))
            return failed(FormSaveResult::failed({ numberTaken }));
    }
    if (request.photo) {
        const Result<bool> stored = WritePsnPhoto(db, write.key, *request.photo);
        if (!stored)
            return failed(FormSaveResult::failed({ SaveErrorMessage(stored.error()) }));
    }
    if (!transaction.commit()) {
        const QString reason = db.GetLastErrorString();
        return failed(FormSaveResult::failed({ writeFailure(number, reason) }));
    }

    outcome.form.key = write.key;
    outcome.person = { write.key, number, contentOf(request, u"NAME"_s).toString() };
    theApp.WriteSystemLog(PsnSaveLogText(request.add, number, outcome.person.name), 0);
    return outcome;
}

} // namespace vantrel::personnel
