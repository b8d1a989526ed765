#pragma once

#include "personnel/cpersonbase.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class CADODatabase;

// The persons the personnel tests work on, on the test database:
//   departments 1 总公司 over 2 一部 and 3 二部; 2 over 4 一组, 3 over 5 二组 (Ord = DID);
//   categories 1 在职 and 2 退休;
//   persons (Ord = PID)  1 A001 张一 (1, 在职)   2 A002 张二 (2, 在职)   3 A003 张三 (3, 退休)
//                        4 a004 张四 (4, 在职)   5 A005 张五 (5, 退休)   6 A006 张六 (5, 在职)
//                        7 B007 O'Brien (4, 退休);
//   user items F12 数额 (number, F12 = 10 for everyone), F13 备注 (text), F14 入职日期 (date);
//   operators: admin (super), dept35 (departments 3 and 5, right 3 修改人员 but not 4),
//   nodept (no department), viewer (departments 3 and 5, no right but viewing).
// False with the reason in *error.
bool fillPersonFixture(CADODatabase &db, QString *error);

// In a test's init(), with a TestDatabase (tests/support): a fresh database with the schema and
// this fixture on theDatabase; skips when the backend is not available here.
#define VANTREL_OPEN_PSN_FIXTURE(fixture) \
    do { \
        VANTREL_OPEN_TEST_DB(fixture, theDatabase, true); \
        QString fixtureError_; \
        QVERIFY2(fillPersonFixture(theDatabase, &fixtureError_), qPrintable(fixtureError_)); \
    } while (false)

// Logs the fixture's operator in as theCurrentUser (reads theDatabase).
void loginAs(const QString &userName);

// The system log's texts on theDatabase, oldest first.
QStringList logLines();

// Writes an .xlsx workbook with one sheet "人员": the header row, then the rows (values as
// the workbook writer takes them). False when it cannot be written.
bool writeTestWorkbook(const QString &path, const QStringList &header,
                       const QList<QVariantList> &rows);

// The person as the person list hands it on (PID, number and name read from theDatabase).
CPersonBase fixturePerson(int pid);
