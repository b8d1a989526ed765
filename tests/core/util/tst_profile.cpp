#include "core/util/profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void values();
    void readableByItsOwnerOnly();
};

void TestProfile::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestProfile::cleanup()
{
    QFile::remove(QSettings(u"MorvelSoft"_s, u"Vantrel"_s).fileName());
}

void TestProfile::values()
{
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"Left"_s, -1), -1);
    Profile::writeInt(u"MDIForm"_s, u"Left"_s, 120);
    Profile::writeString({}, u"UserName"_s, u"张三"_s);
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"Left"_s, -1), 120);
    QCOMPARE(Profile::getString({}, u"UserName"_s), u"张三"_s);
    QVERIFY(Profile::contains(u"MDIForm"_s, u"Left"_s));
    // Sections are found below the group "Settings", with either separator.
    QCOMPARE(QSettings(u"MorvelSoft"_s, u"Vantrel"_s).value(u"Settings/MDIForm/Left"_s).toInt(),
             120);
    Profile::writeInt(u"Dlgs\\Form-3-0"_s, u"Width"_s, 300);
    QCOMPARE(Profile::getInt(u"Dlgs/Form-3-0"_s, u"Width"_s, -1), 300);
    Profile::remove(u"MDIForm"_s, u"Left"_s);
    QVERIFY(!Profile::contains(u"MDIForm"_s, u"Left"_s));
    // A value that is no number gives the default.
    Profile::writeString({}, u"IdleLockTime"_s, u"ten"_s);
    QCOMPARE(Profile::getInt({}, u"IdleLockTime"_s, 10), 10);
}

void TestProfile::readableByItsOwnerOnly()
{
    const QString path = QSettings(u"MorvelSoft"_s, u"Vantrel"_s).fileName();
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    // A remembered password goes into the profile.
    Profile::writeString({}, u"Password"_s, u"encoded"_s);
    QVERIFY(QFile::exists(path));
    QVERIFY(QFile::permissions(path).testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());

    // A profile from before, readable by others, is closed at the next write.
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOther));
    Profile::remove({}, u"Password"_s);
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
    Profile::writeInt({}, u"SaveUserPwd"_s, 1);
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
