#pragma once

#include "personnel/cpersonbase.h"
#include "platform/common/result.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class CADODatabase;

namespace vantrel::personnel {

// What one of the two change wizards changes: the person's department (a transfer) or
// category (a category change), and the history table that records it.
struct PsnChangeKind
{
    QString historyTable;   // qz_PsnRedeploy, qz_PsnSortAlter
    QString newValueItem;   // the form item whose picker gives the new id: AfterDep, NStatus
    QString oldValueColumn; // the old department or category name: BeforeDep, OStatus
    QString personColumn;   // DID, AID
    QString logWord;        // 人员调动, 人员类别变更
    QString dateColumn;     // MobDate, ADate
};

const PsnChangeKind &TransferChange();
const PsnChangeKind &CategoryChange();

// The captions and widths of the person's number, name and sex columns: their items' aliases
// and widths ("编号" 120, "姓名" 120, "性别" 50 where an item is missing).
struct PersonCaptions
{
    QStringList aliases { QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("性别") };
    QVector<int> widths { 120, 120, 50 };
};
Result<PersonCaptions> ReadPersonCaptions(CADODatabase &db);

// Adds qz_SelectPsnWizard to the program's registry (again is harmless): DID (the department
// whose subtree is listed; 0 every department), AllDepts (non-zero: no rights filter), DeptIds
// (the operator's departments, ids joined by ','). One row per person in the person list's
// order: 0 PID, 1 number, 2 name, 3 sex (captioned by the items' aliases), 4 "部门", 5 "类别",
// 6 number and name joined, for finding.
void registerPsnWizardProcedures();

// The log text of a finished wizard: "人员档案[人员调动：3 人]".
QString PsnChangeLogText(const PsnChangeKind &kind, int count);

// Moves every person to the new department or category and writes one history row each: the
// form's columns and values, the PID, and the person's old department or category name. All
// in one transaction; on failure nothing is changed and the error names the database's text.
Result<void> ApplyPsnChange(CADODatabase &db, const PsnChangeKind &kind, int newId,
                            const QStringList &columns, const QVariantList &values,
                            const CPersonMap &persons);

} // namespace vantrel::personnel
