// Fills an embedded database with the personnel fixture of the tests (departments on three
// levels, two categories, seven persons, restricted operators, related archives and wage
// sets) and points the program at it:
//   vantrel-psnfixture <database file> [<kelm.ini to write>]
// The operators dept35 (departments 3 and 5), nodept (none) and viewer (no right to change
// persons) log in with their names as passwords; admin keeps "admin".

#include "core/app/connectionsetting.h"
#include "core/app/passworddigest.h"
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/schema.h"
#include "psnfixture.h"
#include "relatfixture.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <database file> [<kelm.ini>]\n", argv[0]);
        return 2;
    }
    const QString path = args.at(1);
    if (QFile::exists(path)) {
        std::fprintf(stderr, "%s exists already; the fixture goes into a new file\n",
                     qPrintable(path));
        return 1;
    }
    CADODatabase db;
    QString error;
    if (!vantrel::db::createSqliteDatabase(path)
        || !db.Open(vantrel::db::ConnectionString::forSqlite(path))
        || !vantrel::db::upgradeSchema(db) || !fillPersonFixture(db, &error)
        || !fillRelatFixture(db, &error)) {
        std::fprintf(stderr, "fixture failed: %s %s\n", qPrintable(db.GetLastErrorString()),
                     qPrintable(error));
        return 1;
    }
    for (const QString &user : { u"dept35"_s, u"nodept"_s, u"viewer"_s }) {
        if (!db.Execute(u"UPDATE qz_Users SET Pwd = ? WHERE UserName = ?"_s,
                        { PasswordDigest::make(user), user })) {
            std::fprintf(stderr, "%s\n", qPrintable(db.GetLastErrorString()));
            return 1;
        }
    }
    if (args.size() > 2) {
        ConnectionSetting::setIniFilePathOverride(args.at(2));
        if (!ConnectionSetting(path, ConnectionSetting::SystemLogin, {}, {}).write()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(2)));
            return 1;
        }
    }
    return 0;
}
