#include "personnel/psndelete.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

PsnDeleteOutcome DeletePersons(CADODatabase &db, const QVector<int> &pids)
{
    PsnDeleteOutcome outcome;
    for (const int pid : pids) {
        CADOCommand command(&db, u"qz_DeletePsnBaseByID"_s);
        command.AddParameterInt(u"PID"_s, adInteger, adParamInput, 4, pid);
        if (command.Execute())
            ++outcome.deleted;
        else
            outcome.failures << u"%1: %2"_s.arg(pid).arg(command.GetLastErrorString());
    }
    return outcome;
}

QString PsnDeleteLogText(int deleted)
{
    return u"人员档案[人员删除%1个]"_s.arg(deleted);
}

} // namespace vantrel::personnel
