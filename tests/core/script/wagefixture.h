#pragma once

#include "core/payroll/wageviewsource.h"

#include <QString>

class CADODatabase;

// A small payroll on the open test database: two departments, four persons, the wage set
// "月度工资" (基本工资 number, 奖金 number, 备注 text, 发放日期 date) over the periods 200611,
// 200612 and 200701, and "年终奖" (奖金) in 200612. Person 0004 joins in 200701 with no
// 基本工资. Monthly 基本工资 of 0001, 0002, 0003: 3000/3100/3200, 4000/4100/4200,
// 5000/5100/5200. The application's payroll context is set to 月度工资, 200701, all persons.
struct WageFixture
{
    int monthlySet = 0;
    int bonusSet = 0;
    QString monthlyTable;
    QString bonusTable;

    // Fills the database and the application's session values; false with the reason in error.
    bool build(CADODatabase &db, const QString &connectionString);
    // Sets the application's payroll context (and operator) to 月度工资, 200701, all persons.
    void publish(const QString &connectionString) const;
    // The rows of 月度工资 in the period with their person, department and category, as the
    // wage view builds them.
    vantrel::payroll::WageViewSource wageView(int period) const;
    QString error;
};
