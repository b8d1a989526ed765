#include "admin/structurestore.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"

#include <QDate>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace vantrel::admin {

namespace {

using Icon = AdminOutcome::Icon;
using Field = AdminOutcome::Field;

constexpr int Duplicate = 2;

const QString kGone = u"该记录已被其他操作员删除,请刷新数据列表!"_s;

AdminOutcome info(const QString &message, Field focus = Field::None)
{
    return AdminOutcome::refused(message, Icon::Information, focus);
}

// A failure shown with the error icon; the database's reason, when there is one, below it.
AdminOutcome failed(const QString &message, const QString &reason = {})
{
    return AdminOutcome::refused(reason.isEmpty() ? message : message + u"\n\n"_s + reason,
                                 Icon::Critical);
}

// How many rows the count query gives, or the failure to show.
bool countRows(CADODatabase &db, const QString &sql, const QVariantList &values, int *n,
               AdminOutcome *failure)
{
    const ScalarAnswer<int> answer = GetScalarInt(sql, values, &db);
    if (answer.failed()) {
        *failure = failed(answer.error());
        return false;
    }
    *n = answer.valueOr(0);
    return true;
}

// Runs an add procedure: Return 0 is done, 2 the duplicate refusal; any other value, or a
// command that never ran, the failure with the database's reason.
AdminOutcome runAdd(CADOCommand &command, CADOParameter &returned, const QString &duplicate,
                    const QString &failure)
{
    returned.SetValue(-1);
    command.ExecuteScalar();
    int value = -1;
    returned.GetValueInt(value);
    if (value == 0)
        return AdminOutcome::done();
    if (value == Duplicate)
        return info(duplicate, Field::Title);
    return failed(failure, command.GetLastErrorString());
}

// Whether the row that a change is meant for is gone; a failed look-up lets the change try.
bool rowGone(CADODatabase &db, const QString &table, const QString &condition, int id)
{
    const Result<bool> exists = RecordExists(table, condition, { id }, &db);
    return exists.ok() && !*exists;
}

} // namespace

QString StructureStore::storedAlias(const QString &typed)
{
    return typed.trimmed().toUpper();
}

int StructureStore::itemSortOf(const QString &tableName)
{
    const QString name = tableName.toUpper();
    if (name == u"QZ_PSNBASE"_s)
        return 0;
    if (name == u"QZ_PSNSORT"_s)
        return 3;
    if (name == u"QZ_DEPT"_s)
        return 4;
    return 5;
}

bool StructureStore::defaultSuits(int dataType, int length, const QString &value)
{
    if (value.isEmpty())
        return true;
    switch (dataType) {
    case ItemNumber: {
        bool number = false;
        QLocale::c().toDouble(value, &number);
        return number;
    }
    case ItemDate:
        return QDate::fromString(value, u"yyyy-MM-dd"_s).isValid();
    case ItemText:
    case ItemDictionary:
        return value.size() <= length;
    default:
        return true;
    }
}

AdminOutcome StructureStore::saveTable(const TableInput &input)
{
    const QString title = input.title.trimmed();
    if (title.isEmpty())
        return info(u"错误：标题不能为空!"_s, Field::Title);
    AdminOutcome failure;
    if (input.adding || title.toUpper() != input.openedTitle.trimmed().toUpper()) {
        int same = 0;
        if (!countRows(m_db,
                       u"SELECT COUNT(*) FROM qz_Table WHERE upper(trim(Title))=upper(trim(?))"_s,
                       { title }, &same, &failure))
            return failure;
        if (same > 0)
            return info(u"错误：该数据表已存在!"_s, Field::Title);
    }
    if (input.adding) {
        if (input.parentId <= 0)
            return info(u"请选择主表!"_s, Field::Parent);
        CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
        CADOCommand command(&m_db, u"qz_AddDBTable"_s);
        command.AddParameterObject(&returned);
        command.AddParameterInt(u"nType"_s, adInteger, adParamInput, 4, 5);
        command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 50, input.title);
        command.AddParameterText(u"Descr"_s, adVarChar, adParamInput, 100, input.description);
        command.AddParameterInt(u"ParentID"_s, adInteger, adParamInput, 4, input.parentId);
        command.AddParameterInt(u"IShow"_s, adBoolean, adParamInput, 1, input.show ? 1 : 0);
        return runAdd(command, returned, u"错误：该数据表已存在!"_s, u"添加数据表失败!"_s);
    }
    if (rowGone(m_db, u"qz_Table"_s, u"ID=?"_s, input.id))
        return info(kGone);
    CADOCommand command(&m_db, u"qz_UpdateDBTable"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, input.id);
    command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 50, input.title);
    command.AddParameterText(u"Descr"_s, adVarChar, adParamInput, 100, input.description);
    command.AddParameterInt(u"IShow"_s, adBoolean, adParamInput, 1, input.show ? 1 : 0);
    if (!command.Execute())
        return failed(u"修改数据表失败!"_s, command.GetLastErrorString());
    return AdminOutcome::done();
}

AdminOutcome StructureStore::saveItem(const ItemInput &input)
{
    const QString alias = storedAlias(input.alias);
    if (alias.isEmpty())
        return info(u"错误：项目名不能为空!"_s, Field::Title);
    AdminOutcome failure;
    if (input.adding || alias != storedAlias(input.openedAlias)) {
        int same = 0;
        if (!countRows(m_db,
                       u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName)=upper(?) "
                       u"AND upper(Alias)=upper(?)"_s,
                       { input.tableName, alias }, &same, &failure))
            return failure;
        if (same > 0)
            return info(u"错误：该项目已存在!"_s, Field::Title);
    }
    if (input.dataType == ItemDictionary && input.idRef.isEmpty())
        return info(u"参照项不能为空!"_s, Field::Reference);
    if (!defaultSuits(input.dataType, input.length, input.defaultValue))
        return info(u"错误：默认值与数据类型不符!"_s, Field::DefaultValue);
    const bool plain = input.dataType >= ItemNumber && input.dataType <= ItemDate;
    const QString idRef = plain ? QString() : input.idRef;
    if (input.adding) {
        CADOParameter returned(adInteger, 4, adParamReturnValue, u"Return"_s);
        CADOCommand command(&m_db, u"qz_AddDBTableItem"_s);
        command.AddParameterObject(&returned);
        command.AddParameterInt(u"iSort"_s, adInteger, adParamInput, 4,
                                itemSortOf(input.tableName));
        command.AddParameterText(u"TblName"_s, adVarChar, adParamInput, 50,
                                 input.tableName.toUpper());
        command.AddParameterText(u"Alias"_s, adVarChar, adParamInput, 50, alias);
        command.AddParameterInt(u"DataType"_s, adInteger, adParamInput, 4, input.dataType);
        command.AddParameterText(u"IdRef"_s, adVarChar, adParamInput, 100, idRef);
        command.AddParameterText(u"DefValue"_s, adVarChar, adParamInput, 256, input.defaultValue);
        command.AddParameterInt(u"Length"_s, adInteger, adParamInput, 4, input.length);
        command.AddParameterInt(u"bNotNull"_s, adBoolean, adParamInput, 1, input.notNull ? 1 : 0);
        command.AddParameterInt(u"bShow"_s, adBoolean, adParamInput, 1, input.show ? 1 : 0);
        return runAdd(command, returned, u"错误：该项目已存在!"_s, u"添加字段失败!"_s);
    }
    if (rowGone(m_db, u"qz_Items"_s, u"ItemID=?"_s, input.itemId))
        return info(kGone);
    CADOCommand command(&m_db, u"qz_UpdateDBTableItem"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, input.itemId);
    command.AddParameterText(u"Alias"_s, adVarChar, adParamInput, 50, alias);
    command.AddParameterText(u"IdRef"_s, adVarChar, adParamInput, 100, idRef);
    command.AddParameterText(u"DefValue"_s, adVarChar, adParamInput, 256, input.defaultValue);
    command.AddParameterInt(u"Length"_s, adInteger, adParamInput, 4, input.length);
    command.AddParameterInt(u"bNotNull"_s, adBoolean, adParamInput, 1, input.notNull ? 1 : 0);
    command.AddParameterInt(u"bShow"_s, adBoolean, adParamInput, 1, input.show ? 1 : 0);
    if (!command.Execute())
        return failed(u"修改字段失败!"_s, command.GetLastErrorString());
    return AdminOutcome::done();
}

AdminOutcome StructureStore::checkTableDelete(int tableId, const QString &tableName, bool fixed)
{
    if (fixed)
        return AdminOutcome::refused(u"系统固定数据表,不能删除!"_s, Icon::Warning);
    AdminOutcome failure;
    int items = 0;
    if (!countRows(m_db, u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName)=upper(?)"_s,
                   { tableName }, &items, &failure))
        return failure;
    if (items > 0)
        return AdminOutcome::refused(u"该数据表下还有项目字段,不能删除!"_s, Icon::Warning);
    int children = 0;
    if (!countRows(m_db, u"SELECT COUNT(*) FROM qz_Table WHERE ParentID=?"_s, { tableId },
                   &children, &failure))
        return failure;
    if (children > 0)
        return AdminOutcome::refused(u"该数据表下还有子表,不能删除!"_s, Icon::Warning);
    return AdminOutcome::done();
}

AdminOutcome StructureStore::deleteTable(int tableId)
{
    CADOCommand command(&m_db, u"qz_DeleteTableByID"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, tableId);
    return command.Execute() ? AdminOutcome::done() : failed(command.GetLastErrorString());
}

AdminOutcome StructureStore::deleteItem(int itemId)
{
    CADOCommand command(&m_db, u"qz_DeleteItemByID"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, itemId);
    return command.Execute() ? AdminOutcome::done() : failed(command.GetLastErrorString());
}

} // namespace vantrel::admin
