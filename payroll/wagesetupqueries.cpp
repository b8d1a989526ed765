#include "payroll/wagesetupqueries.h"

#include "core/payroll/wagesetschema.h"

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

// The data table of a wage set as a sub-query, compared the way item rows name it.
const QString itemsOfSet
    = u"upper(I.TblName) = upper((SELECT T.TblName FROM qz_Table T WHERE T.ID = ? AND T.nType = ?))"
      u" AND I.iSort = ?"_s;

} // namespace

BoundQuery WageSetItemsQuery(int sid)
{
    return { uR"(SELECT I.ItemID AS "ID", I.Active AS "启用", I.Name AS "字段名",)"
             uR"( I.Alias AS "项目名称", I.iDataType AS "数据类型", D.Title AS "参照对象",)"
             uR"( I.iProperty AS "数据来源", I.StdTblID AS "标准表", I.FExp2 AS "计算公式",)"
             uR"( I.iDec AS "小数位数", I.iChoice AS "尾数规则", I.Retain AS "结转保留",)"
             uR"( I.IdRef AS "IdRef", I.Ord AS "Ord")"
             u" FROM qz_Items I LEFT JOIN qz_Dict D ON D.DictId = I.IdRef WHERE "_s
                 + itemsOfSet + u" ORDER BY I.Ord, I.ItemID"_s,
             { sid, WageSetTableType, WageItemSort } };
}

BoundQuery WageSetItemsCalcOrderQuery(int sid)
{
    return { uR"(SELECT I.ItemID AS "ID", I.Alias AS "项目名称",)"
             uR"( CASE I.iProperty WHEN 1 THEN '公式计算' WHEN 2 THEN '查标准表')"
             uR"( ELSE '自由输入' END AS "数据来源", I.FExp2 AS "计算公式", I.OrdF AS "OrdF")"
             u" FROM qz_Items I WHERE "_s
                 + itemsOfSet + u" ORDER BY I.OrdF, I.ItemID"_s,
             { sid, WageSetTableType, WageItemSort } };
}

BoundQuery WageSetMembersQuery(int sid, int did)
{
    // The key keeps its plain name: the grid's virtual mode reads it back by that name.
    BoundQuery query {
        uR"(SELECT W.ID, P.Number AS "编号", P.Name AS "姓名",)"
        uR"( P.Sex AS "性别", D.Name AS "部门", S.Name AS "人员类别", W.Ord AS "Ord")"
        u" FROM qz_WagePsn W INNER JOIN qz_PsnBase P ON P.PID = W.PID"
        u" LEFT JOIN qz_Dept D ON D.DID = P.DID"
        u" LEFT JOIN qz_PsnSort S ON S.AID = P.AID WHERE W.SID = ?"_s,
        { sid }
    };
    if (did != 0) {
        query.sql += u" AND CHARINDEX(?, D.ParentArr) > 0"_s;
        query.values << u"|%1|"_s.arg(did);
    }
    query.sql += u" ORDER BY W.Ord, W.ID"_s;
    return query;
}

BoundQuery ChooserListQuery(const QString &workKey)
{
    return { uR"(SELECT K.PID AS "PID", K.CKD AS "选择", P.Number AS "编号", P.Name AS "姓名",)"
             uR"( P.Sex AS "性别", D.Name AS "部门", P.IDNumber AS "身份证号", K.ord AS "ord")"
             u" FROM qz_PsnPickWork K INNER JOIN qz_PsnBase P ON P.PID = K.PID"
             u" LEFT JOIN qz_Dept D ON D.DID = P.DID"
             u" WHERE K.WorkKey = ? ORDER BY K.ord, K.PID"_s,
             { workKey } };
}

} // namespace vantrel::payroll
