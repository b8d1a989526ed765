#include "personnel/ui/personnelmodule.h"

#include "personnel/psnprocedures.h"
#include "personnel/ui/cchildframepsn.h"
#include "ui/frame/modulecommands.h"

void RegisterPersonnelModule()
{
    vantrel::personnel::registerPsnProcedures();
    ModuleCommands::instance().registerOpener(2100,
                                              [](CMainFrame &frame) { OpenPersonnelFrame(frame); });
}
