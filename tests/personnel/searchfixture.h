#pragma once

#include <QString>

class CADODatabase;

// Two related tables beside the person fixture, and texts and dates to search:
//   F13 备注: 1 'xyz', 3 'AX', 5 'none'; F14 入职日期: 2 2019-12-31 23:00, 6 2021-05-01 10:30
//   qz_Rel1 履历 (R1 单位 text, R2 起始 date): 1 甲公司 2018-01-01, 6 甲公司, 7 乙公司 2022-03-04
//   qz_Rel2 家庭 (R3 关系 dictionary, R4 人数 number): 1 配偶 3, 2 子女 1, 6 配偶 4
// Runs after fillPersonFixture. False with the reason in *error.
bool fillSearchFixture(CADODatabase &db, QString *error);
