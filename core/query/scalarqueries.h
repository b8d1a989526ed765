#pragma once

#include "core/query/scalaranswer.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

class CADODatabase;

// One-value queries and existence tests on the session's connection (theDatabase unless
// another is given), values always bound. They show nothing and tell a failed query from an
// empty answer (TableExists aside).

// Column 0 of the first row as it came (a NULL is an invalid variant).
ScalarAnswer<QVariant> GetScalarVariant(const QString &sql, const QVariantList &values = {},
                                        CADODatabase *db = nullptr);
// As text: a NULL gives the empty text; a value with no text form (binary) fails.
ScalarAnswer<QString> GetScalarText(const QString &sql, const QVariantList &values = {},
                                    CADODatabase *db = nullptr);
// As a 32-bit integer: a NULL gives 0, a boolean -1 or 0, a double its whole part; text that
// is no whole number and values out of range fail.
ScalarAnswer<int> GetScalarInt(const QString &sql, const QVariantList &values = {},
                               CADODatabase *db = nullptr);

// Whether the table is there. A failed query also gives false: not for decisions that a lost
// connection must not take.
bool TableExists(const QString &table, CADODatabase *db = nullptr);
// Whether "SELECT 1 FROM <table> WHERE (<condition>)" finds a row, or why it failed: the table
// name must be an identifier; the condition is the caller's SQL with '?' for each value.
vantrel::Result<bool> RecordExists(const QString &table, const QString &condition,
                                   const QVariantList &values = {}, CADODatabase *db = nullptr);

// Lookups for display: the name, or the empty text when there is no row or the query fails.
QString GetPsnSortName(int aid);
QString GetDeptName(int did);
QString GetWageSetTableName(int sid);
QString GetWageSetTitle(int sid);
QString GetDictCode(int id);

// The titles of the first 500 active items of a dictionary in DictValue order, each after a
// '|'; with the strip flag the leading '|' goes.
QString GetDictTitleList(const QString &dictCode, bool strip);

// Whether no person holds the number (compared without regard to case). Empty or longer than
// 50 characters: false. A failed query counts as "not free" and leaves its reason in *error.
bool IsPsnNumberFree(const QString &number, QString *error = nullptr);

// Inserts one row and returns the key that the insert generated (0 on failure, with the
// reason in the connection's last error).
int InsertReturningId(const QString &table, const QStringList &columns, const QVariantList &values,
                      const QString &keyColumn, CADODatabase *db = nullptr);

// Renumbers the print templates of one wage set (0 for personnel) and kind.
bool RefreshPrintTemplateOrder(int sid, int kind);

// Template savers: 0 adds a template, an existing id updates it. Vanished: the template with
// that id is gone (another operator deleted it). Failed: the save, or the check before it,
// failed; *error says why.
enum class TemplateSave { Saved, Vanished, Failed };
// The message a caller shows for TemplateSave::Vanished.
QString TemplateVanishedMessage();
TemplateSave SaveBankExportTemplate(int eid, int sid, const QString &name, bool active,
                                    const QString &header, const QString &footer,
                                    const QString &sep, const QString &ext, int sfRows,
                                    QString *error = nullptr);
TemplateSave SaveAnnounceTemplate(int aid, int sid, const QString &name, bool active,
                                  const QString &subject, const QString &content,
                                  QString *error = nullptr);
