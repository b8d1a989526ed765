#pragma once

#include "personnel/dynform.h"

#include <QByteArray>

#include <optional>

class CADODatabase;

namespace vantrel::personnel {

// How new person numbers are made (qz_SysOption row 0, "mode|length|prefix"): 0 the sequence,
// 1 the prefix and the sequence, 2 the department's PNRule and the sequence, 3 typed by hand.
// The sequence is the new person's own PID, padded with zeros to the length (never cut; the
// prefix does not count).
struct PsnNumberRule
{
    int mode = 3;
    int length = 20;
    QString prefix;

    bool isAutomatic() const { return mode >= 0 && mode <= 2; }
};

// The rule an option text gives: only a text of exactly three pieces counts (else the
// defaults); a mode outside 0 to 3 becomes 0.
PsnNumberRule ParseNumberRule(const QString &option);
// The rule stored in the options; a failed query gives its reason.
Result<PsnNumberRule> LoadNumberRule(CADODatabase &db);
// The number for a sequence under the rule: the prefix (mode 1) or the department's prefix
// (mode 2) before the padded sequence.
QString NumberForSequence(const PsnNumberRule &rule, int sequence, const QString &deptPrefix);

// What the person entry form hands to the save.
struct PsnSaveRequest
{
    bool add = true;
    int pid = 0;            // the person edited; 0 when adding
    CItemInfoArray items;   // the form's items
    FieldContents contents; // one per item; NUMBER holds the typed number
    QString loadedNumber;   // the number as it was read (edit mode)
    PsnNumberRule rule;
    // A changed photo to store with the row: empty bytes remove it; no value leaves it alone.
    std::optional<QByteArray> photo;
};

// The person as saved, for the log and the list.
struct PsnSaved
{
    int pid = 0;
    QString number;
    QString name;
};

struct PsnSaveResult
{
    FormSaveResult form; // the key is the person's PID
    PsnSaved person;
    bool ok() const { return form.ok(); }
};

// Saves a person in the form's order of checks: the chosen category (120) and department (119)
// still there, a typed number free and 1 to 50 characters long ("编号重复或长度异常!"), the row
// still there (133), each value convertible. The row, an automatic number (from the new
// PID, in modes 0 to 2) and the photo are written in one transaction: a clash or any failed
// write leaves the database as it was. After a save, "人员档案[新增：(…)…]" or
// "人员档案[修改：(…)…]" goes to the system log; nothing is logged when the save fails.
PsnSaveResult SavePerson(CADODatabase &db, const PsnSaveRequest &request);

// The log text of a saved person.
QString PsnSaveLogText(bool add, const QString &number, const QString &name);

// Stores or removes a person's photo (empty bytes remove it); the caller holds the transaction.
Result<bool> WritePsnPhoto(CADODatabase &db, int pid, const QByteArray &bytes);
// The person's stored photo: empty when there is none.
Result<QByteArray> ReadPsnPhoto(CADODatabase &db, int pid);

} // namespace vantrel::personnel
