#include "core/db/cadodatabase.h"
#include "personnel/psnfiles.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

QString writeFile(const QDir &dir, const QString &name, const QByteArray &content)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return {};
    return file.fileName();
}

QStringList names(const QVector<PsnFileRow> &files)
{
    QStringList list;
    for (const PsnFileRow &file : files)
        list << file.Name;
    return list;
}

} // namespace

// The attachment store on both backends, on the personnel fixture.
class TestPsnFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeTexts_data();
    void sizeTexts();
    void init();
    void cleanup();
    void addKeepsOnlyWhatCanBeStored();
    void listNewestFirstPerPerson();
    void saveAsGivesTheSameBytes();
    void renameAndDeleteReachOnlyTheOwnPerson();

private:
    TestDatabase *m_fixture = nullptr;
    QTemporaryDir m_dir;
};

void TestPsnFiles::sizeTexts_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << u"0 字节"_s;
    QTest::newRow("bytes") << qint64(123) << u"123 字节"_s;
    QTest::newRow("just under a KB") << qint64(1023) << u"1023 字节"_s;
    QTest::newRow("one KB") << qint64(1024) << u"1.00 KB"_s;
    QTest::newRow("1.20 KB") << qint64(1229) << u"1.20 KB"_s;
    QTest::newRow("cut, not rounded") << qint64(2047) << u"1.99 KB"_s;
    QTest::newRow("12.0 KB") << qint64(12288) << u"12.0 KB"_s;
    QTest::newRow("120 KB") << qint64(122880) << u"120 KB"_s;
    QTest::newRow("999 KB") << qint64(999 * 1024) << u"999 KB"_s;
    QTest::newRow("a thousand KB are MB") << qint64(1000 * 1024) << u"0.97 MB"_s;
    QTest::newRow("1.50 MB") << qint64(1572864) << u"1.50 MB"_s;
    QTest::newRow("the limit") << MaxAttachmentBytes << u"100 MB"_s;
    QTest::newRow("GB") << qint64(3) * 1024 * 1024 * 1024 << u"3.00 GB"_s;
}

void TestPsnFiles::sizeTexts()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(FormatByteSize(bytes), text);
}

void TestPsnFiles::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
}

void TestPsnFiles::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnFiles::addKeepsOnlyWhatCanBeStored()
{
    const QDir dir(m_dir.path());
    const QString quoted = writeFile(dir, u"O'Brien 的合同.pdf"_s, "%PDF-1.4\n");
    const QString empty = writeFile(dir, u"empty.txt"_s, {});
    QFile big(dir.filePath(u"big.bin"_s));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(MaxAttachmentBytes + 1));
    big.close();

    const PsnFileAdd added = AddPsnFile(theDatabase, 7, quoted);
    QCOMPARE(added.outcome, PsnFileAdd::Added);
    QCOMPARE(added.Name, u"O'Brien 的合同.pdf"_s);
    QCOMPARE(AddPsnFile(theDatabase, 7, empty).outcome, PsnFileAdd::Empty);
    const PsnFileAdd refused = AddPsnFile(theDatabase, 7, big.fileName());
    QCOMPARE(refused.outcome, PsnFileAdd::TooLarge);
    QCOMPARE(refused.Name, u"big.bin"_s);
    QCOMPARE(AddPsnFile(theDatabase, 7, dir.filePath(u"missing"_s)).outcome,
             PsnFileAdd::Unreadable);

    const auto files = LoadPsnFiles(theDatabase, 7);
    QVERIFY2(files, qPrintable(files.error()));
    QCOMPARE(files->size(), 1);
    QCOMPARE(files->first().ID, added.ID);
    QCOMPARE(files->first().FileSize, u"9 字节"_s);
    QVERIFY(qAbs(files->first().AddDate.secsTo(QDateTime::currentDateTime())) < 60);
}

void TestPsnFiles::listNewestFirstPerPerson()
{
    const QDir dir(m_dir.path());
    for (const QString &name : { u"a.txt"_s, u"b.txt"_s, u"c.txt"_s })
        QCOMPARE(AddPsnFile(theDatabase, 1, writeFile(dir, name, "x")).outcome, PsnFileAdd::Added);
    QCOMPARE(AddPsnFile(theDatabase, 2, writeFile(dir, u"other.txt"_s, "y")).outcome,
             PsnFileAdd::Added);
    QCOMPARE(names(*LoadPsnFiles(theDatabase, 1)),
             QStringList({ u"c.txt"_s, u"b.txt"_s, u"a.txt"_s }));
    QCOMPARE(names(*LoadPsnFiles(theDatabase, 3)), QStringList());
}

void TestPsnFiles::saveAsGivesTheSameBytes()
{
    const QDir dir(m_dir.path());
    QByteArray content;
    for (int i = 0; i < 70000; ++i)
        content.append(char(i * 7 % 256)); // zeros and high bytes included
    const PsnFileAdd added = AddPsnFile(theDatabase, 1, writeFile(dir, u"scan.jpg"_s, content));
    QCOMPARE(added.outcome, PsnFileAdd::Added);
    const QString target = dir.filePath(u"副本 'scan'.jpg"_s);
    QVERIFY(SavePsnFileAs(theDatabase, added.ID, 1, target));
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), content);
    // Another person's id reaches nothing and writes nothing.
    QVERIFY(!SavePsnFileAs(theDatabase, added.ID, 2, dir.filePath(u"none.jpg"_s)));
    QVERIFY(!QFile::exists(dir.filePath(u"none.jpg"_s)));
    QVERIFY(!SavePsnFileAs(theDatabase, added.ID, 1, dir.filePath(u"no/folder/x.jpg"_s)));
}

void TestPsnFiles::renameAndDeleteReachOnlyTheOwnPerson()
{
    const QDir dir(m_dir.path());
    const int id = AddPsnFile(theDatabase, 1, writeFile(dir, u"a.txt"_s, "x")).ID;
    QCOMPARE(*RenamePsnFile(theDatabase, id, 2, u"x.txt"_s), false);
    QCOMPARE(*RenamePsnFile(theDatabase, id, 1, u"it's 名.txt"_s), true);
    QCOMPARE(names(*LoadPsnFiles(theDatabase, 1)), QStringList { u"it's 名.txt"_s });
    QCOMPARE(*DeletePsnFile(theDatabase, id, 2), false);
    QCOMPARE(*DeletePsnFile(theDatabase, id, 1), true);
    QCOMPARE(*DeletePsnFile(theDatabase, id, 1), false);
    QVERIFY(LoadPsnFiles(theDatabase, 1)->isEmpty());
}

QTEST_GUILESS_MAIN(TestPsnFiles)
#include "tst_psnfiles.moc"
