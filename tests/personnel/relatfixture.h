#pragma once

#include <QString>

class CADODatabase;

// Related archives and wage sets on top of the personnel fixture:
//   related tables (qz_Table nType 5): qz_Rel1 学历 (F1 学校 text, F2 毕业日期 date,
//   F3 说明"注" text; shown, first), qz_Rel2 家庭成员 (F1 称谓; shown), qz_Rel3 旧档案 (hidden);
//   张一 (PID 1) has two 学历 rows: 北大 (Ord 1), 清华 (Ord 2);
//   wage sets 工资 and 奖金 (item 基本工资 in 工资), 张一 paid in 202401, 202403 and 202402.
// False with the reason in *error. The wage sets' ids go to *wageSets when given.
bool fillRelatFixture(CADODatabase &db, QString *error, int *wageSets = nullptr);
