#pragma once

#include <QString>

class CADODatabase;

// The persons the statistics tests count, on a database with the program's schema (PID 1…30):
//   departments (DID: name, Ord) 1 总公司 1, 2 一部 3, 3 二部 2 (both under 1), 4 一组 5 (under 2),
//     5 二组 4 (under 3); persons 1–4 in 1, 5–12 in 2, 13–18 in 4, 19–23 in 3, 24–30 in 5;
//   categories 1 在职 (odd PIDs) and 2 退休 (even PIDs);
//   Sex '男' for PIDs 1–15, '女' after;
//   F12 数额 (number) = PID × 10, NULL for PID 30;
//   F13 职称 (dictionary): NULL for 1–3, '' for 4–5, '  ' for 6–7, 'abc ' for 8–12,
//     'O''Brien' for 13–20, 'abc' for 21–24, 'Zed' for 25–30;
//   F14 入职日期 (date): 2020-01-PID for 1–10, 2021-06-(PID−10) for 11–20 (PID 20 at 15:30),
//     2022-12-(PID−20) for 21–29, NULL for 30;
//   related archive qz_Rel1 履历 (nType 5) with R1 单位 (text) and R2 年数 (number): two rows
//     ('甲', 1) and ('乙', 2) for each of PIDs 1–10, one row ('甲', 5) for PIDs 11–15;
//   operators admin (super), dept35 (departments 3 and 5), nodept (no department).
// False with the reason in *error.
bool fillStatFixture(CADODatabase &db, QString *error);
