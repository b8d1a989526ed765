#include "admin/operatorsave.h"

#include "core/app/passworddigest.h"
#include "core/app/purview.h"
#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

namespace vantrel::admin {

namespace {

using Icon = AdminOutcome::Icon;
using Field = AdminOutcome::Field;

const QString kNameTaken = u"错误：该用户已存在!"_s;

} // namespace

QString OperatorSave::purviewText(const OperatorInput &input)
{
    Purview purview;
    purview.mask = input.rightsMask;
    purview.categories = Purview::joinIds(input.categories);
    purview.departments = Purview::joinIds(input.departments);
    purview.wageSets = Purview::joinIds(input.wageSets);
    return purview.toText();
}

bool OperatorSave::nameTaken(const QString &name, int exceptUserId, bool *ok)
{
    const db::QueryResult found
        = m_db.run(u"SELECT COUNT(*) FROM qz_Users WHERE upper(UserName)=upper(?) AND UserID<>?"_s,
                   { name, exceptUserId });
    *ok = found.ok;
    return found.scalar().toInt() > 0;
}

AdminOutcome OperatorSave::save(const OperatorInput &input)
{
    const QString name = input.userName.trimmed();
    if (name.isEmpty())
        return AdminOutcome::refused(u"错误：用户名称不能为空值 !!!"_s, Icon::Warning,
                                     Field::UserName);
    bool ok = true;
    const int self = input.isNew ? 0 : input.userId;
    if (input.isNew || name.toUpper() != input.openedUserName.trimmed().toUpper()) {
        const bool taken = nameTaken(name, self, &ok);
        if (!ok)
            return AdminOutcome::refused(u"保存失败!\n\n"_s + m_db.GetLastErrorString(),
                                         Icon::Critical);
        if (taken)
            return AdminOutcome::refused(kNameTaken, Icon::Information, Field::UserName);
    }
    const QString password = input.password.trimmed();
    const QString confirmation = input.confirmation.trimmed();
    if (input.isNew || !password.isEmpty()) {
        if (password.isEmpty())
            return AdminOutcome::refused(u"错误：密码不能为空值!!!"_s, Icon::Warning,
                                         Field::Password);
        if (password != confirmation)
            return AdminOutcome::refused(u"错误：密码与密码确认不一致!!!"_s, Icon::Warning);
    }
    if (input.rightsMask == 0)
        return AdminOutcome::refused(u"至少选择一项功能权限!"_s, Icon::Warning);
    if (input.categories.isEmpty())
        return AdminOutcome::refused(u"至少选择一个人员类别!"_s, Icon::Warning);
    if (input.departments.isEmpty())
        return AdminOutcome::refused(u"至少选择一个部门!"_s, Icon::Warning);

    const QString purview = purviewText(input);
    // An empty description is stored as NULL.
    const QVariant descr = input.description.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                                       : QVariant(input.description);
    const int locked = input.locked ? 1 : 0;
    bool written = false;
    if (input.isNew) {
        written = m_db.Execute(u"INSERT INTO qz_Users (UserName, Pwd, Locked, Descr, Purview, "
                               u"ISuper) VALUES (?, ?, ?, ?, ?, 0)"_s,
                               { name, PasswordDigest::make(password), locked, descr, purview });
    } else {
        const db::QueryResult exists
            = m_db.run(u"SELECT 1 FROM qz_Users WHERE UserID=?"_s, { input.userId });
        if (exists.ok && !exists.hasRow())
            return AdminOutcome::refused(u"该记录已被其他操作员删除,请刷新数据列表!"_s,
                                         Icon::Warning);
        if (password.isEmpty())
            written = m_db.Execute(u"UPDATE qz_Users SET UserName=?, Locked=?, Descr=?, "
                                   u"Purview=? WHERE UserID=?"_s,
                                   { name, locked, descr, purview, input.userId });
        else
            written = m_db.Execute(
                u"UPDATE qz_Users SET UserName=?, Pwd=?, Locked=?, Descr=?, "
                u"Purview=? WHERE UserID=?"_s,
                { name, PasswordDigest::make(password), locked, descr, purview, input.userId });
    }
    if (written)
        return AdminOutcome::done();
    const QString reason = m_db.GetLastErrorString();
    // Another administrator took the name since the check: the unique index refused it.
    if (nameTaken(name, self, &ok) && ok)
        return AdminOutcome::refused(kNameTaken, Icon::Information, Field::UserName);
    return AdminOutcome::refused(u"保存失败!\n\n"_s + reason, Icon::Critical);
}

} // namespace vantrel::admin
