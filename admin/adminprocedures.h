#pragma once

namespace vantrel::db {
class ProcedureRegistry;
}

namespace vantrel::admin {

// The procedures of system administration, each run by CADOCommand in one transaction: a
// procedure that fails changes nothing and the command reports the database's reason.
//
//   qz_AddDictSort (ID, Active, Title): ID 0 adds a class with the next free class code
//     (three digits or more: 001, 002 …) at the end of the order; another ID changes that
//     class's title and active flag. Fails when the title is taken (without regard to case)
//     or the class is gone.
//   qz_AddDictItem (ID, Active, DictId, DictValue, Title, ParentValue): ID 0 adds an item
//     (a top-level item's parent code is stored as '') and marks its parent as having
//     children; another ID changes that item's title and active flag. Fails when the class is
//     missing, the code is taken under that parent, or the item is gone.
//   qz_SelectSystemDictItemsByID (DictId, DictValue): the items under a class (DictValue
//     empty: its top-level items) or under one item, by code; columns ID, 档案类编码, 编码,
//     名称, 上级编码, 是否有效, 下级. No rows for an empty class code.
//   qz_SelectSystemUsers (UserID): every operator by UserID; columns UserID, 用户名, 锁定,
//     描述, Purview, ISuper.
// and the procedures of the data structure (structureprocedures.h) and of the departments and
// categories (deptstore.h).
void registerAdminProcedures(db::ProcedureRegistry &registry);

} // namespace vantrel::admin
