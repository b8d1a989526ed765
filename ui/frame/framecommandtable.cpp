#include "ui/frame/framecommandtable.h"

#include "core/app/currentuser.h"

#include <algorithm>
#include <array>

namespace FrameCommandTable {

namespace {

constexpr int A = Always;
constexpr int S = SuperUserOnly;

// clang-format off
constexpr std::array<Command, 30> commands = { {
    { 2100,  u"人员档案(&P)\tF2",      u"F2",     0,  0,  A },
    { 2101,  u"调动管理(&H)",          u"",       11, 11, 11 },
    { 2104,  u"离职管理(&I)",          u"",       12, 12, 12 },
    { 33249, u"统计分析(&S)",          u"",       14, A,  14 },
    { 33222, u"人事提醒(&W)",          u"",       15, A,  15 },
    { 33158, u"薪资档案(&O)\tF11",     u"F11",    16, 16, 17 },
    { 2201,  u"薪资汇总(&T)",          u"",       31, 31, 31 },
    { 2202,  u"帐套设置(&S)",          u"",       32, 32, 32 },
    { 33188, u"组织机构(&D)",          u"",       34, A,  34 },
    { 33189, u"人员类别(&S)",          u"",       35, A,  35 },
    { 33174, u"数据结构(&T)",          u"",       36, A,  36 },
    { 33171, u"基础档案(&D)",          u"",       37, A,  37 },
    { 2300,  u"系统设置(&S)",          u"",       38, 38, 38 },
    { 2301,  u"操作员管理(&U)...",     u"",       S,  S,  S },
    { 2302,  u"系统日志(&L)",          u"",       S,  S,  S },
    { 2303,  u"口令设置(&P)",          u"",       A,  A,  A },
    { 33230, u"离开挂起(&L)\tCtrl+L",  u"Ctrl+L", A,  A,  A },
    { 33301, u"重新登录(&R)",          u"",       A,  A,  A },
    { 57665, u"退出(&X)",              u"",       A,  A,  A },
    { 32776, u"选项(&O)...",           u"",       A,  A,  A },
    { 33236, u"主菜单(&M)\tF12",       u"F12",    A,  A,  A },
    { 32796, u"导航栏(&K)",            u"",       A,  A,  A },
    { 322,   u"横幅栏(&B)",            u"",       A,  A,  A },
    { 59393, u"状态栏(&S)",            u"",       A,  A,  A },
    { 33242, u"计算器(&C)...",         u"",       A,  A,  A },
    { 33243, u"日历(&L)...",           u"",       A,  A,  A },
    { 33231, u"帮助主题(&H)",          u"",       A,  A,  A },
    { 57664, u"关于(&A)...",           u"",       A,  A,  A },
    { 57602, u"关闭(&C)",              u"",       A,  A,  A },
    { 32871, u"关闭所有子窗口(&L)",    u"",       A,  A,  A },
} };
// clang-format on

} // namespace

std::span<const Command> all()
{
    return commands;
}

const Command *find(int id)
{
    for (const Command &command : commands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

bool checksConnection(int id)
{
    static constexpr std::array<int, 16> watched
        = { 2100,  2101,  2104,  33249, 33222, 33158, 2201, 2202,
            33188, 33189, 33174, 33171, 2300,  2301,  2302, 2303 };
    return std::find(watched.begin(), watched.end(), id) != watched.end();
}

bool userHolds(int rule)
{
    if (rule == Always)
        return true;
    if (theCurrentUser.ISuper)
        return true;
    if (rule == SuperUserOnly)
        return false;
    return theCurrentUser.HasRight(rule, false);
}

} // namespace FrameCommandTable
