#include "payroll/ui/payrollmodule.h"

#include "core/db/procedureregistry.h"
#include "payroll/ui/cchildframewage.h"
#include "payroll/ui/cdlgwageset.h"
#include "payroll/wageperiods.h"
#include "payroll/wagesetupprocedures.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/modulecommands.h"

void RegisterPayrollModule()
{
    vantrel::payroll::registerWageSetupProcedures(vantrel::db::ProcedureRegistry::instance());
    vantrel::payroll::registerWagePeriodProcedures(vantrel::db::ProcedureRegistry::instance());
    ModuleCommands::instance().registerOpener(2202, [](CMainFrame &frame) {
        CDlgWageSet dialog(&frame);
        dialog.exec();
    });
    ModuleCommands::instance().registerOpener(33158,
                                              [](CMainFrame &frame) { OpenWageFrame(frame); });
}
