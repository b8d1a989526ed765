#include "admin/dictionarystore.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

namespace vantrel::admin {

namespace {

using Icon = AdminOutcome::Icon;
using Field = AdminOutcome::Field;

const QString kSaveFailed = u"保存失败!"_s;

AdminOutcome saveFailed(const QString &reason)
{
    return AdminOutcome::refused(kSaveFailed + u"\n\n"_s + reason, Icon::Critical);
}

// A top-level item's parent code: '' or NULL.
const QString kTopLevel = u"(ParentValue='' OR ParentValue IS NULL)"_s;

} // namespace

int DictionaryStore::count(const QString &sql, const QVariantList &values, bool *ok)
{
    const db::QueryResult found = m_db.run(sql, values);
    *ok = found.ok;
    return found.scalar().toInt();
}

AdminOutcome DictionaryStore::saveClass(const DictClassInput &input)
{
    const QString title = input.title.trimmed();
    if (title.isEmpty())
        return AdminOutcome::refused(u"错误：名称不能为空!"_s, Icon::Information, Field::Title);
    bool ok = true;
    if (input.adding || title.toUpper() != input.openedTitle.trimmed().toUpper()) {
        const int same
            = count(u"SELECT COUNT(*) FROM qz_Dict WHERE upper(Title)=upper(?)"_s, { title }, &ok);
        if (!ok)
            return saveFailed(m_db.GetLastErrorString());
        if (same > 0)
            return AdminOutcome::refused(u"错误：名称重复!"_s, Icon::Information, Field::Title);
    }
    if (!input.adding) {
        const int exists = count(u"SELECT COUNT(*) FROM qz_Dict WHERE ID=?"_s, { input.id }, &ok);
        if (ok && exists == 0)
            return AdminOutcome::refused(u"该记录已被其他操作员删除,请刷新数据列表!"_s,
                                         Icon::Information);
    }
    CADOCommand command(&m_db, u"qz_AddDictSort"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, input.adding ? 0 : input.id);
    command.AddParameterInt(u"Active"_s, adBoolean, adParamInput, 1,
                            input.adding || input.active ? 1 : 0);
    command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 100, title);
    if (!command.Execute())
        return saveFailed(command.GetLastErrorString());
    return AdminOutcome::done();
}

AdminOutcome DictionaryStore::saveItem(const DictItemInput &input)
{
    const QString code = input.code.trimmed();
    const QString title = input.title.trimmed();
    if (code.isEmpty() || title.isEmpty())
        return AdminOutcome::refused(u"错误：编码、名称不能为空!"_s, Icon::Information,
                                     Field::Title);
    bool ok = true;
    if (input.adding) {
        const bool digits
            = std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digits || !code.startsWith(input.parentCode) || code.size() <= input.parentCode.size())
            return AdminOutcome::refused(u"子级编码必须以上级编码为前缀且长度大于上级编码长度!"_s,
                                         Icon::Information, Field::Code);
        const QString under = input.parentCode.isEmpty() ? kTopLevel : u"ParentValue=?"_s;
        QVariantList values { input.dictId };
        if (!input.parentCode.isEmpty())
            values << input.parentCode;
        values << code;
        const int same = count(u"SELECT COUNT(*) FROM qz_DictItem WHERE DictId=? AND %1 "
                               u"AND DictValue=?"_s.arg(under),
                               values, &ok);
        if (!ok)
            return saveFailed(m_db.GetLastErrorString());
        if (same > 0)
            return AdminOutcome::refused(u"错误：编码重复!"_s, Icon::Information, Field::Code);
    }
    if (input.adding || title.toUpper() != input.openedTitle.trimmed().toUpper()) {
        const int same = count(u"SELECT COUNT(*) FROM qz_DictItem WHERE DictId=? "
                               u"AND upper(Title)=upper(?) AND ID<>?"_s,
                               { input.dictId, title, input.adding ? 0 : input.id }, &ok);
        if (!ok)
            return saveFailed(m_db.GetLastErrorString());
        if (same > 0)
            return AdminOutcome::refused(u"错误：名称重复!"_s, Icon::Information, Field::Title);
    }
    if (input.classId > 0
        && count(u"SELECT COUNT(*) FROM qz_Dict WHERE ID=?"_s, { input.classId }, &ok) == 0 && ok)
        return AdminOutcome::refused(u"选择的档案类被删除！"_s, Icon::Information);
    if (!input.adding
        && count(u"SELECT COUNT(*) FROM qz_DictItem WHERE ID=?"_s, { input.id }, &ok) == 0 && ok)
        return AdminOutcome::refused(u"选择的档案项被删除！"_s, Icon::Information);

    CADOCommand command(&m_db, u"qz_AddDictItem"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, input.adding ? 0 : input.id);
    command.AddParameterInt(u"Active"_s, adBoolean, adParamInput, 1,
                            input.adding || input.active ? 1 : 0);
    command.AddParameterText(u"DictId"_s, adVarChar, adParamInput, 20, input.dictId);
    command.AddParameterText(u"DictValue"_s, adVarChar, adParamInput, 20, code);
    command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 100, title);
    command.AddParameterText(u"ParentValue"_s, adVarChar, adParamInput, 20, input.parentCode);
    if (!command.Execute())
        return saveFailed(command.GetLastErrorString());
    return AdminOutcome::done();
}

AdminOutcome DictionaryStore::deleteClass(int classId)
{
    const QString code = classCode(classId);
    if (code.isEmpty())
        return AdminOutcome::refused(u"选择的档案类被删除！"_s, Icon::Information);
    bool ok = true;
    const int references = count(u"SELECT COUNT(*) FROM qz_Items WHERE iDataType=3 "
                                 u"AND upper(IdRef)=upper(?)"_s,
                                 { code }, &ok);
    if (!ok)
        return AdminOutcome::refused(m_db.GetLastErrorString(), Icon::Critical);
    if (references > 0)
        return AdminOutcome::refused(u"该档案类已被 %1 个字段引用,不能删除!"_s.arg(references),
                                     Icon::Warning);
    db::DbTransaction transaction(m_db);
    if (!transaction.isActive()
        || !m_db.Execute(u"DELETE FROM qz_DictItem WHERE DictId=?"_s, { code })
        || !m_db.Execute(u"DELETE FROM qz_Dict WHERE ID=?"_s, { classId }) || !transaction.commit())
        return AdminOutcome::refused(m_db.GetLastErrorString(), Icon::Critical);
    return AdminOutcome::done();
}

AdminOutcome DictionaryStore::deleteItem(int itemId)
{
    const db::QueryResult item = m_db.run(
        u"SELECT DictId, DictValue, ParentValue FROM qz_DictItem WHERE ID=?"_s, { itemId });
    if (!item.ok)
        return AdminOutcome::refused(item.error.description, Icon::Critical);
    if (!item.hasRow())
        return AdminOutcome::refused(u"选择的档案项被删除！"_s, Icon::Information);
    const QString dictId = item.rows.text(0, 0);
    const QString code = item.rows.text(0, 1);
    const QString parent = item.rows.text(0, 2);
    bool ok = true;
    const int below
        = count(u"SELECT COUNT(*) FROM qz_DictItem WHERE DictId=? AND ParentValue=? AND ID<>?"_s,
                { dictId, code, itemId }, &ok);
    if (!ok)
        return AdminOutcome::refused(m_db.GetLastErrorString(), Icon::Critical);
    if (below > 0)
        return AdminOutcome::refused(u"该档案项下有下级档案项,不能删除!"_s, Icon::Warning);

    db::DbTransaction transaction(m_db);
    if (!transaction.isActive()
        || !m_db.Execute(u"DELETE FROM qz_DictItem WHERE ID=?"_s, { itemId }))
        return AdminOutcome::refused(m_db.GetLastErrorString(), Icon::Critical);
    if (!parent.isEmpty()
        && !m_db.Execute(u"UPDATE qz_DictItem SET hasChild=0 WHERE DictId=? AND DictValue=? "
                         u"AND NOT EXISTS (SELECT 1 FROM qz_DictItem c WHERE c.DictId=? "
                         u"AND c.ParentValue=?)"_s,
                         { dictId, parent, dictId, parent }))
        return AdminOutcome::refused(m_db.GetLastErrorString(), Icon::Critical);
    if (!transaction.commit())
        return AdminOutcome::refused(m_db.GetLastErrorString(), Icon::Critical);
    return AdminOutcome::done();
}

QVector<DictNode> DictionaryStore::classes(bool *ok)
{
    const db::QueryResult found
        = m_db.run(u"SELECT ID, DictId, Title, CASE WHEN EXISTS (SELECT 1 FROM qz_DictItem i "
                   u"WHERE i.hasChild=1 AND i.DictId=qz_Dict.DictId) THEN 1 ELSE 0 END "
                   u"FROM qz_Dict ORDER BY Ord, ID"_s);
    if (ok)
        *ok = found.ok;
    QVector<DictNode> nodes;
    for (int row = 0; row < found.rows.rowCount(); ++row)
        nodes.push_back({ found.rows.value(row, 0).toInt(),
                          found.rows.text(row, 1),
                          {},
                          found.rows.text(row, 2),
                          found.rows.value(row, 3).toInt() > 0 });
    return nodes;
}

QVector<DictNode> DictionaryStore::children(const QString &dictId, const QString &parentCode,
                                            bool *ok)
{
    const QString under = parentCode.isEmpty() ? u"(i.ParentValue='' OR i.ParentValue IS NULL)"_s
                                               : u"i.ParentValue=?"_s;
    QVariantList values { dictId };
    if (!parentCode.isEmpty())
        values << parentCode;
    const db::QueryResult found = m_db.run(
        u"SELECT i.ID, i.DictValue, i.Title, CASE WHEN EXISTS (SELECT 1 FROM qz_DictItem c "
        u"WHERE c.DictId=i.DictId AND c.ParentValue=i.DictValue) THEN 1 ELSE 0 END "
        u"FROM qz_DictItem i WHERE i.DictId=? AND %1 ORDER BY i.DictValue"_s.arg(under),
        values);
    if (ok)
        *ok = found.ok;
    QVector<DictNode> nodes;
    for (int row = 0; row < found.rows.rowCount(); ++row)
        nodes.push_back({ found.rows.value(row, 0).toInt(), dictId, found.rows.text(row, 1),
                          found.rows.text(row, 2), found.rows.value(row, 3).toInt() > 0 });
    return nodes;
}

QString DictionaryStore::classCode(int classId)
{
    return m_db.run(u"SELECT DictId FROM qz_Dict WHERE ID=?"_s, { classId }).scalar().toString();
}

bool DictionaryStore::itemCodes(int itemId, QString *dictId, QString *code)
{
    const db::QueryResult found
        = m_db.run(u"SELECT DictId, DictValue FROM qz_DictItem WHERE ID=?"_s, { itemId });
    *dictId = found.rows.text(0, 0);
    *code = found.rows.text(0, 1);
    return found.hasRow();
}

int DictionaryStore::classIdOf(const QString &dictId)
{
    return m_db.run(u"SELECT ID FROM qz_Dict WHERE DictId=?"_s, { dictId }).scalar().toInt();
}

} // namespace vantrel::admin
