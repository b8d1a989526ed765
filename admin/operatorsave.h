#pragma once

#include "admin/adminoutcome.h"

#include <QList>
#include <QString>

class CADODatabase;

namespace vantrel::admin {

// An operator as the operator dialog hands it over: the edits as typed and the checked rows
// of its four lists in grid order.
struct OperatorInput
{
    bool isNew = true;
    int userId = 0;         // qz_Users.UserID when changing
    QString userName;       // as typed; stored trimmed, as the login looks it up
    QString openedUserName; // the name the dialog was opened with
    QString password;
    QString confirmation;
    QString description;
    bool locked = false;
    quint64 rightsMask = 0;
    QList<int> categories;
    QList<int> departments;
    QList<int> wageSets;
};

// Checks and writes one qz_Users row in the operator dialog's order. The rights text is the
// one the login parses (Purview); the password is stored as the login checks it
// (PasswordDigest of the trimmed text), and an empty password on a change keeps the stored one.
class OperatorSave
{
public:
    explicit OperatorSave(CADODatabase &db) : m_db(db) { }

    AdminOutcome save(const OperatorInput &input);

    // The rights text that save() wrote (or would write).
    static QString purviewText(const OperatorInput &input);

private:
    bool nameTaken(const QString &name, int exceptUserId, bool *ok);

    CADODatabase &m_db;
};

} // namespace vantrel::admin
