#include "core/app/purviewtable.h"

#include <algorithm>
#include <bit>

namespace {

constexpr quint64 bit(int n)
{
    return quint64(1) << n;
}

} // namespace

constexpr std::array<tagRightInfo, RightCount> PurviewTable = { {
    { bit(63), u"人员档案管理", u"" },
    { bit(62), u"查看档案", u"" },
    { bit(61), u"新增人员", u"" },
    { bit(60), u"修改人员", u"" },
    { bit(59), u"删除人员", u"" },
    { bit(58), u"人员档案打印", u"" },
    { bit(57), u"打印模板管理", u"" },
    { bit(56), u"邮件模板管理", u"" },
    { bit(55), u"人事邮件群发", u"" },
    { bit(54), u"人员档案导入", u"" },
    { bit(53), u"人员档案导出", u"" },
    { bit(52), u"调动管理", u"人员所在部门变动" },
    { bit(51), u"离职管理", u"人员所属类别变动" },
    { bit(50), u"定制高级查询", u"" },
    { bit(49), u"人员统计分析管理", u"" },
    { bit(48), u"人事提醒管理", u"" },
    { bit(39), u"薪资管理", u"" },
    { bit(38), u"查看薪资", u"" },
    { bit(37), u"新建与删除薪资表", u"" },
    { bit(36), u"修改薪资数据", u"" },
    { bit(35), u"薪资表结账", u"薪资表审核结账" },
    { bit(34), u"薪资打印", u"" },
    { bit(33), u"薪资导入", u"" },
    { bit(32), u"薪资导出", u"" },
    { bit(31), u"银行报盘", u"" },
    { bit(30), u"邮件群发", u"" },
    { bit(29), u"定制高级查询", u"" },
    { bit(28), u"打印模板管理", u"" },
    { bit(27), u"银行模板管理", u"" },
    { bit(26), u"导出模板管理", u"" },
    { bit(25), u"邮件模板管理", u"" },
    { bit(24), u"薪资汇总", u"" },
    { bit(23), u"帐套设置", u"薪资帐套基本设置" },
    { bit(15), u"系统管理", u"" },
    { bit(14), u"组织结构管理", u"部门机构设置" },
    { bit(13), u"人员类别管理", u"人员属性管理" },
    { bit(12), u"数据结构管理", u"数据表及字段管理" },
    { bit(11), u"基础档案管理", u"数据字典管理" },
    { bit(10), u"系统基本设置", u"" },
} };

namespace {

constexpr std::array<int, 3> roots = { 0, 16, 33 };

constexpr bool oneDistinctBitEach()
{
    quint64 all = 0;
    for (const tagRightInfo &right : PurviewTable) {
        if (std::popcount(right.mask) != 1 || (all & right.mask))
            return false;
        all |= right.mask;
    }
    return true;
}

static_assert(oneDistinctBitEach(), "every right needs a bit of its own");

} // namespace

bool IsValidRight(int index)
{
    return index >= 0 && index < RightCount;
}

bool IsRootRight(int index)
{
    return std::find(roots.begin(), roots.end(), index) != roots.end();
}

int RootOfRight(int index)
{
    if (!IsValidRight(index))
        return -1;
    int root = roots.front();
    for (int candidate : roots) {
        if (candidate <= index)
            root = candidate;
    }
    return root;
}

bool MaskHasRight(quint64 mask, int index)
{
    return IsValidRight(index) && (mask & PurviewTable[index].mask) != 0;
}
