#include "personnel/ui/personnelmodule.h"

#include "personnel/psnprocedures.h"
#include "personnel/relatarc.h"
#include "personnel/ui/cchildframepsn.h"
#include "ui/frame/modulecommands.h"

void RegisterPersonnelModule()
{
    vantrel::personnel::registerPsnProcedures();
    vantrel::personnel::registerRelatProcedures();
    ModuleCommands::instance().registerOpener(2100,
                                              [](CMainFrame &frame) { OpenPersonnelFrame(frame); });
}
