#include "ui/controls/filedialogs.h"

#include "tests/support/modalanswers.h"

#include <sqlite3.h>

#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Whether some lock is held on the file: an open-file-description lock query conflicts with
// the process's own POSIX locks, which a plain F_GETLK would not report.
bool isLocked(int fd)
{
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    if (fcntl(fd, F_OFD_GETLK, &probe) != 0)
        return false;
    return probe.l_type != F_UNLCK;
}

} // namespace

class TestFileDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Listing the folder of an open database must not drop SQLite's locks on it: another
    // program closing the database would then delete the write-ahead log holding our writes.
    void listingTheDatabaseFolderKeepsItsLocks_data();
    void listingTheDatabaseFolderKeepsItsLocks();
};

void TestFileDialogs::listingTheDatabaseFolderKeepsItsLocks_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("open") << 0;
    QTest::newRow("open several") << 1;
    QTest::newRow("save") << 2;
}

void TestFileDialogs::listingTheDatabaseFolderKeepsItsLocks()
{
    QFETCH(int, kind);
    QTemporaryDir dir;
    // No extension a file-name match would settle: finding its kind means reading it.
    const QByteArray path = QFile::encodeName(dir.filePath(u"payroll.data"_s));
    sqlite3 *db = nullptr;
    QCOMPARE(
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        SQLITE_OK);
    QCOMPARE(sqlite3_exec(db,
                          "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1);"
                          "SELECT * FROM t;",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    // Kept open to the end: closing it would itself drop the locks.
    const int probe = ::open(QByteArray(path + "-shm").constData(), O_RDWR);
    QVERIFY(probe >= 0);
    QVERIFY(isLocked(probe));

    answerNextModal<QFileDialog>([](QFileDialog *dialog) {
        auto *model = dialog->findChild<QFileSystemModel *>();
        QTRY_VERIFY(model
                    && model->rowCount(model->index(dialog->directory().absolutePath())) >= 2);
        // Icons and type names are gathered on another thread: give them time.
        QTest::qWait(300);
        for (int row = 0; row < model->rowCount(model->index(dialog->directory().absolutePath()));
             ++row)
            model->type(model->index(row, 0, model->index(dialog->directory().absolutePath())));
        dialog->reject();
    });
    const QString folder = dir.path();
    if (kind == 0)
        QVERIFY(vantrel::ui::GetOpenFileName(nullptr, {}, folder, u"All Files (*)"_s).isEmpty());
    else if (kind == 1)
        QVERIFY(vantrel::ui::GetOpenFileNames(nullptr, {}, folder, u"All Files (*)"_s).isEmpty());
    else
        QVERIFY(vantrel::ui::GetSaveFileName(nullptr, {}, folder, u"All Files (*)"_s).isEmpty());

    QVERIFY(isLocked(probe));
    sqlite3_close(db);
    ::close(probe);
}

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
