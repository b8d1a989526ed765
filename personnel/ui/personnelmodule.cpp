#include "personnel/ui/personnelmodule.h"

#include "personnel/advsavedqueries.h"
#include "personnel/psnprocedures.h"
#include "personnel/psnwizard.h"
#include "personnel/relatarc.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgpsnhistorymanage.h"
#include "personnel/ui/cdlgpsnstatanalyze.h"
#include "personnel/ui/cdlgpsnwakeupmanage.h"
#include "personnel/wakeupservice.h"
#include "ui/frame/modulecommands.h"

void RegisterPersonnelModule()
{
    vantrel::personnel::registerPsnProcedures();
    vantrel::personnel::registerRelatProcedures();
    vantrel::personnel::registerWakeupProcedures();
    ModuleCommands::instance().registerOpener(
        33222, [](CMainFrame &frame) { OpenWakeupManager(frame, 0); });
    ModuleCommands::instance().registerReminderManager(OpenWakeupManager);
    ModuleCommands::instance().registerReminderCounter(
        [](const QString &connectionString, const std::atomic_bool &stop) {
            using namespace vantrel::personnel;
            const auto rows = CountWakeupRows(connectionString, QDate::currentDate(),
                                              QueryBound { WakeupQueryBoundMs, &stop });
            return rows ? *rows : QVector<tagWAKEUPROW> {};
        });
    vantrel::personnel::registerAdvSearchProcedures();
    vantrel::personnel::registerPsnWizardProcedures();
    ModuleCommands::instance().registerOpener(2100,
                                              [](CMainFrame &frame) { OpenPersonnelFrame(frame); });
    RegisterPsnHistoryOpeners();
    RegisterPsnStatOpener();
}
