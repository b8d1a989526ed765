#include "personnel/ui/personnelmodule.h"

#include "personnel/advsavedqueries.h"
#include "personnel/psnprocedures.h"
#include "personnel/psnwizard.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgpsnhistorymanage.h"
#include "ui/frame/modulecommands.h"

void RegisterPersonnelModule()
{
    vantrel::personnel::registerPsnProcedures();
    vantrel::personnel::registerAdvSearchProcedures();
    vantrel::personnel::registerPsnWizardProcedures();
    ModuleCommands::instance().registerOpener(2100,
                                              [](CMainFrame &frame) { OpenPersonnelFrame(frame); });
    RegisterPsnHistoryOpeners();
}
