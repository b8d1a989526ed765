#pragma once

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"

#include <QString>
#include <QVariantList>

// What the administration tests share: one-value reads on theDatabase and the session an
// administration window runs in.

inline int scalar(const QString &sql, const QVariantList &values = {})
{
    return theDatabase.run(sql, values).scalar().toInt();
}

inline QString text(const QString &sql, const QVariantList &values = {})
{
    return theDatabase.run(sql, values).scalar().toString();
}

inline int logRows()
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM qz_Log"));
}

// The super user "admin" (UserID 1) logged in on the connection, the log kept 60 days.
inline void startAdminSession(const QString &connectionString)
{
    theApp = CVantrelApp();
    theApp.m_strConnection = connectionString;
    theApp.RecentDays = 60;
    theCurrentUser.reset();
    theCurrentUser.UserID = 1;
    theCurrentUser.UserName = QStringLiteral("admin");
    theCurrentUser.ISuper = 1;
}
