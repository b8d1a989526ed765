#pragma once

#include <QString>
#include <QVariantList>

// The lists of the wage-set set-up as statements with their values bound, so that a grid opens
// them directly and the registered procedures of the same name return the same rows.
namespace vantrel::payroll {

struct BoundQuery
{
    QString sql;
    QVariantList values;
};

// qz_SelectWageSetItemsByID: the items of wage set sid in display order; columns 0 ItemID,
// 1 Active, 2 Name (the data column), 3 Alias, 4 iDataType, 5 the title of the IdRef
// dictionary, 6 iProperty, 7 StdTblID, 8 FExp2, 9 iDec, 10 iChoice, 11 Retain, 12 IdRef,
// 13 Ord.
BoundQuery WageSetItemsQuery(int sid);

// qz_SelectWageSetItemsReOrderByID: the items in calculation order; columns ItemID, Alias,
// the source as text, FExp2, OrdF.
BoundQuery WageSetItemsCalcOrderQuery(int sid);

// qz_SelectWagePsnBySort: the members of wage set sid in the department did and below it (0:
// all), by Ord; columns 0 ID (of qz_WagePsn), 1 number, 2 name, 3 sex, 4 department,
// 5 category, 6 Ord.
BoundQuery WageSetMembersQuery(int sid, int did);

// qz_SelectWagePsn: the chooser list of the work key; columns 0 PID, 1 CKD, 2 number, 3 name,
// 4 sex, 5 department, 6 identity-card number, 7 ord.
BoundQuery ChooserListQuery(const QString &workKey);

} // namespace vantrel::payroll
