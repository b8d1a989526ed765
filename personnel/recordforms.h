#pragma once

#include "platform/common/result.h"

#include <QString>

class CADODatabase;

namespace vantrel::personnel {

// The checks of the department and category forms, without a window. A name counts as taken
// when another row holds it without regard to case and surrounding blanks.
Result<bool> DeptNameTaken(CADODatabase &db, const QString &name, int ownDid);
Result<bool> PsnSortNameTaken(CADODatabase &db, const QString &name, int ownAid);
// Whether the department parentId lies in the subtree of did (did itself included): it cannot
// become did's parent. The top level (0 or -1) never does.
Result<bool> ParentInsideSubtree(CADODatabase &db, int did, int parentId);

} // namespace vantrel::personnel
