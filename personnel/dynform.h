#pragma once

#include "core/query/itemmetadata.h"
#include "platform/common/result.h"

#include <QDate>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

class CADODatabase;

namespace vantrel::personnel {

// What a field of a generated form holds while the user edits it: number, text and dictionary
// items their text (QString), a date item a QDate (invalid: no date), a link item the picked
// id (int, 0: none).
using FieldContent = QVariant;
using FieldContents = QVector<FieldContent>;

// The items a form shows for a table: those of qz_Items for the table (its name compared
// without case) that are not of type 5 nor marked 2 in iFlag, in Ord order, all fields
// filled. A failed query gives its reason.
Result<CItemInfoArray> LoadFormItems(CADODatabase &db, const QString &tableName);

// A number as typed: the system locale's form first, then the plain one; blank counts as 0.
// Nothing when it is no number.
std::optional<double> ParseNumberText(const QString &text);
// A date as typed: the regional short form first, then ISO; invalid when neither reads.
QDate ParseDateText(const QString &text);
// A number as a field shows it: the system locale's decimal point, no grouping, the shortest
// digits that read back the same.
QString NumberText(double value);

// The content a field shows for a stored value: NULL and empty give an empty text, no date or
// id 0; a stored date up to 1899-12-30 (the old zero date) reads as no date.
FieldContent FieldContentFromStored(const tagVANTRELITEMINFO &item, const QVariant &stored);
// What a new row's field starts with: DefValue for number, text and dictionary items; a date
// item DefValue read as a date (no date when it does not read); a link item id 0.
FieldContent FieldDefault(const tagVANTRELITEMINFO &item);

// The value written for a field, or the message that stops the save: "'%s'为数值类型!" for a
// number that does not read, "'%s'的长度不能超过%d个字符!" for a text or dictionary value
// longer than iLength (when above 0). A number is a double (blank: 0), no date is NULL.
Result<QVariant> StoredValueFromContent(const tagVANTRELITEMINFO &item,
                                        const FieldContent &content);

// Whether a required item counts as empty: a text or dictionary item without text, no date, a
// link without id. A number is never empty.
bool IsFieldEmpty(const tagVANTRELITEMINFO &item, const FieldContent &content);
// The first required item that is empty, or -1.
int FirstMissingRequired(const CItemInfoArray &items, const FieldContents &contents);
// "'%s'为必填项!"
QString RequiredMessage(const tagVANTRELITEMINFO &item);

// The row whose key column holds the key, one content per item; no value when there is no
// such row; a failure when the names are no identifiers or the query fails.
Result<std::optional<FieldContents>> LoadFormRecord(CADODatabase &db, const QString &table,
                                                    const QString &keyColumn, int key,
                                                    const CItemInfoArray &items);

// How a save ended. The messages are shown one after another under the caption "提示"; the
// information icon when informational, else the warning icon.
struct FormSaveResult
{
    int key = 0; // the row's key once saved (a new row's from its own insert)
    QStringList messages;
    bool informational = false;

    bool ok() const { return messages.isEmpty(); }
    static FormSaveResult failed(QStringList messages, bool informational = false)
    {
        FormSaveResult r;
        r.messages = std::move(messages);
        r.informational = informational;
        return r;
    }
};

// Writes the columns of one row: key 0 inserts a row and gives its key from the insert,
// another key updates that row. Gone: the row to update is not there any more. Failed: the
// database refused; the text says why. The caller holds the transaction.
struct RowWrite
{
    enum Outcome { Written, Gone, Failed } outcome = Failed;
    int key = 0;
    QString error;
};
RowWrite WriteFormRow(CADODatabase &db, const QString &table, const QString &keyColumn, int key,
                      const QStringList &columns, const QVariantList &values);

// The whole save of a generated form (no required check): every value converted, then the row
// written in one transaction. String 133 when the row to update is gone; "保存出错!" with the
// database's text when a write fails.
FormSaveResult SaveFormRecord(CADODatabase &db, const QString &table, const QString &keyColumn,
                              int key, const CItemInfoArray &items, const FieldContents &contents);

// What a value that does not convert shows: a number's message is followed by "保存出错!".
QStringList ConversionMessages(const tagVANTRELITEMINFO &item, const QString &message);

// "保存出错!" followed by the database's reason on a line of its own.
QString SaveErrorMessage(const QString &reason);

} // namespace vantrel::personnel
