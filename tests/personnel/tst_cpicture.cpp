#include "personnel/cpicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray encoded(const QByteArray &format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// A 1×1 GIF; Qt reads GIF but does not write it.
const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                     "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                     "D\x01\x00;",
                     43);

} // namespace

class TestCPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formats_data();
    void formats();
    void refusedKeepsPicture_data();
    void refusedKeepsPicture();
    void suffixes_data();
    void suffixes();
};

void TestCPicture::formats_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("jpeg") << encoded("jpeg", { 30, 40 }) << QSize(30, 40) << u"jpg"_s;
    QTest::newRow("png") << encoded("png", { 7, 5 }) << QSize(7, 5) << u"png"_s;
    QTest::newRow("bmp") << encoded("bmp", { 3, 9 }) << QSize(3, 9) << u"bmp"_s;
    QTest::newRow("ico") << encoded("ico", { 16, 16 }) << QSize(16, 16) << u"ico"_s;
    QTest::newRow("gif") << gif << QSize(1, 1) << u"gif"_s;
}

void TestCPicture::formats()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QString, suffix);

    QVERIFY(!bytes.isEmpty());
    CPicture picture;
    QVERIFY(picture.Load(bytes));
    QCOMPARE(picture.GetSize(), size);
    QCOMPARE(picture.suffix(), suffix);

    // Saving writes the very bytes loaded, not a new encoding.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"photo."_s + suffix);
    QVERIFY(picture.SaveToFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);

    CPicture again;
    QVERIFY(again.LoadFromFile(path));
    QCOMPARE(again.bytes(), bytes);
    again.Free();
    QVERIFY(again.IsEmpty());
    QVERIFY(!again.SaveToFile(dir.filePath(u"none"_s)));
}

void TestCPicture::refusedKeepsPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("junk") << QByteArray("this is no picture at all");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut jpeg") << encoded("jpeg", { 30, 40 }).left(20);
    QTest::newRow("wmf header") << QByteArray("\xd7\xcd\xc6\x9a\x00\x00\x00\x00", 8);
}

void TestCPicture::refusedKeepsPicture()
{
    QFETCH(QByteArray, bytes);

    CPicture picture;
    const QByteArray png = encoded("png", { 4, 4 });
    QVERIFY(picture.Load(png));
    QVERIFY(!picture.Load(bytes));
    QCOMPARE(picture.bytes(), png);
    QCOMPARE(picture.GetSize(), QSize(4, 4));
}

void TestCPicture::suffixes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");

    QTest::newRow("added") << u"/tmp/a"_s << u"jpg"_s << u"/tmp/a.jpg"_s;
    QTest::newRow("kept") << u"/tmp/a.JPG"_s << u"jpg"_s << u"/tmp/a.JPG"_s;
    QTest::newRow("jpeg kept") << u"/tmp/a.jpeg"_s << u"jpg"_s << u"/tmp/a.jpeg"_s;
    QTest::newRow("other added") << u"/tmp/a.jpg"_s << u"png"_s << u"/tmp/a.jpg.png"_s;
}

void TestCPicture::suffixes()
{
    QFETCH(QString, path);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    QCOMPARE(CPicture::PathWithSuffix(path, suffix), expected);
}

QTEST_GUILESS_MAIN(TestCPicture)
#include "tst_cpicture.moc"
