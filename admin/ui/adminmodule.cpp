#include "admin/ui/adminmodule.h"

#include "admin/adminprocedures.h"
#include "admin/ui/cdlgdeptmanager.h"
#include "admin/ui/cdlgpsnsortmanager.h"
#include "admin/ui/cdlgsystemdictmanage.h"
#include "admin/ui/cdlgsystemtablemanage.h"
#include "admin/ui/cdlguserlist.h"
#include "core/db/procedureregistry.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/modulecommands.h"

void RegisterAdminModule()
{
    vantrel::admin::registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
    ModuleCommands::instance().registerOpener(2301, [](CMainFrame &frame) {
        CDlgUserList dialog(&frame);
        dialog.exec();
    });
    ModuleCommands::instance().registerOpener(33188, [](CMainFrame &frame) {
        CDlgDeptManager dialog(&frame);
        dialog.exec();
    });
    ModuleCommands::instance().registerOpener(33189, [](CMainFrame &frame) {
        CDlgPsnSortManager dialog(&frame);
        dialog.exec();
    });
    ModuleCommands::instance().registerOpener(33171, [](CMainFrame &frame) {
        CDlgSystemDictManage dialog(&frame);
        dialog.exec();
    });
    // The frame closes every module window before this runs.
    ModuleCommands::instance().registerOpener(33174, [](CMainFrame &frame) {
        CDlgSystemTableManage dialog(&frame);
        dialog.exec();
    });
}
