#include "core/app/connectionsetting.h"
#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/schema.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "testdatabase.h"
#include "ui/app/dlgdbconnect.h"
#include "ui/app/dlglogin.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QQueue>
#include <QRadioButton>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using vantrel::db::Backend;
using vantrel::db::ConnectionString;

namespace {

// Answers the modal dialogs that open while it lives. Message boxes get the next queued answer
// (else OK, else their escape button) and their texts, captions and icons are recorded; any
// other dialog is recorded as "[ClassName]" and handed to the next queued action (rejected
// when there is none).
class ModalDriver : public QObject
{
public:
    using Action = std::function<void(QWidget *)>;

    ModalDriver() { schedule(); }

    void then(Action action) { m_actions.enqueue(std::move(action)); }
    void answer(QMessageBox::StandardButton button) { m_answers.enqueue(button); }
    bool idle() const { return m_actions.isEmpty() && !QApplication::activeModalWidget(); }

    QStringList seen;
    QStringList captions;           // of the message boxes, in order
    QList<QMessageBox::Icon> icons; // the same

private:
    // A fresh single-shot each time: an action that opens another modal loop must not keep
    // the next poll from running.
    void schedule()
    {
        QTimer::singleShot(5, this, [this] { poll(); });
    }

    void poll()
    {
        schedule();
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_current)
            return;
        m_current = modal;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen << box->text();
            captions << box->windowTitle();
            icons << box->icon();
            QAbstractButton *button = m_answers.isEmpty() ? box->button(QMessageBox::Ok)
                                                          : box->button(m_answers.dequeue());
            if (!button)
                button = box->escapeButton() ? box->escapeButton() : box->buttons().value(0);
            button->click();
            return;
        }
        seen << u"[%1]"_s.arg(QString::fromLatin1(modal->metaObject()->className()));
        if (m_actions.isEmpty()) {
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        m_actions.dequeue()(modal);
    }

    QQueue<Action> m_actions;
    QQueue<QMessageBox::StandardButton> m_answers;
    QPointer<QWidget> m_current;
};

template<typename T> T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

void typeInto(QWidget *dialog, const char *name, const QString &text)
{
    auto *edit = child<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void clickOk(QWidget *dialog)
{
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
}

void login(CDlgLogin &dialog, const QString &user, const QString &password)
{
    typeInto(&dialog, "userName", user);
    typeInto(&dialog, "password", password);
    clickOk(&dialog);
}

const QString kWrongSecret = u"wrong-secret-7731"_s;

QString newDatabaseQuestion(const QString &path)
{
    return u"数据库文件不存在:\n%1\n\n是否新建数据库?"_s.arg(path);
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void loginSucceeds();
    void cleanedUserName_data();
    void cleanedUserName();
    void emptyUserName();
    void threeFailures();
    void lockedUser();
    void oldDigestRehashedAtLogin_data();
    void oldDigestRehashedAtLogin();
    void rememberedPassword();
    void firstRunJourney();
    void missingSettingOffersConnection();
    void connectionButton();
    void missingDatabaseFile();
    void unreachableDatabase();
    void failedUserQueryIsShown();
    void reLoginKeepsConnection();
    void testConnection();
    void connectDialogChecks();
    void newDatabaseOnlyAfterYes();
    void newDatabaseThatCannotBeMade();

private:
    // The setting that reaches the fixture's database (PostgreSQL: its database name is put in
    // place of the program's).
    ConnectionSetting workingSetting() const;
    ConnectionSetting brokenSetting() const;
    void fillConnectDialog(QWidget *dialog, const ConnectionSetting &setting);

    QTemporaryDir m_home;
    std::unique_ptr<TestDatabase> m_fixture;
};

void TestLogin::initTestCase()
{
    // Profile, kelm.ini and the user's data folder all land in a folder of this run, so the
    // two backends' runs and the user's own settings never meet.
    QVERIFY(m_home.isValid());
    qputenv("XDG_DATA_HOME", m_home.filePath(u"data"_s).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home.filePath(u"config"_s).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.filePath(u"config"_s));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home.filePath(u"config"_s));
    QCoreApplication::setOrganizationName(u"MorvelSoft"_s);
    QCoreApplication::setApplicationName(u"Vantrel"_s);
    ConnectionSetting::setIniFilePathOverride(m_home.filePath(u"kelm.ini"_s));
}

void TestLogin::init()
{
    m_fixture = std::make_unique<TestDatabase>();
}

void TestLogin::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
    theDatabase.Close();
    m_fixture.reset();
    theCurrentUser.reset();
    theApp.m_strConnection.clear();
    QSettings(u"MorvelSoft"_s, u"Vantrel"_s).clear();
    QFile::remove(ConnectionSetting::iniFilePath());
    QFile::remove(ConnectionSetting::defaultDatabaseFile());
    ConnectionSetting::setDatabaseNameOverride({});
}

ConnectionSetting TestLogin::workingSetting() const
{
    const ConnectionString cs = ConnectionString::parse(m_fixture->connectionString());
    if (cs.backend() == Backend::Sqlite)
        return ConnectionSetting(cs.filePath(), ConnectionSetting::SystemLogin, {}, {});
    ConnectionSetting::setDatabaseNameOverride(cs.databaseName());
    return ConnectionSetting(u"%1:%2"_s.arg(cs.host()).arg(cs.port()),
                             ConnectionSetting::PasswordLogin, cs.userName(), cs.password());
}

ConnectionSetting TestLogin::brokenSetting() const
{
    const ConnectionSetting good = workingSetting();
    if (TestDatabase::backend() == Backend::Sqlite)
        return ConnectionSetting(u"/nonexistent-folder/sub/vantrel.db"_s,
                                 ConnectionSetting::SystemLogin, {}, {});
    return ConnectionSetting(good.server(), good.loginKind(), good.loginId(), kWrongSecret);
}

void TestLogin::fillConnectDialog(QWidget *dialog, const ConnectionSetting &setting)
{
    typeInto(dialog, "server", setting.server());
    child<QRadioButton>(dialog,
                        setting.loginKind() == ConnectionSetting::SystemLogin ? "systemLogin"
                                                                              : "passwordLogin")
        ->click();
    typeInto(dialog, "loginId", setting.loginId());
    typeInto(dialog, "password", setting.password());
}

// ---- the login

void TestLogin::loginSucceeds()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    CDlgLogin dialog;
    QCOMPARE(dialog.windowTitle(), LoadResString(128));
    dialog.show();
    login(dialog, u"admin"_s, u"admin"_s);

    QCOMPARE(driver.seen, QStringList());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(theCurrentUser.UserName, u"admin"_s);
    QVERIFY(theCurrentUser.UserID > 0);
    QVERIFY(theCurrentUser.ISuper != 0);
    QCOMPARE(theApp.m_strConnection, workingSetting().connectionString());
    QVERIFY(theDatabase.IsOpen());
    QCOMPARE(
        GetScalarText(u"SELECT lAction FROM qz_Log WHERE lUser=? ORDER BY id"_s, { u"admin"_s }),
        u"登录系统[计算机名："_s + QSysInfo::machineHostName() + u']');
}

void TestLogin::cleanedUserName_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedPassword");
    QTest::newRow("blanks and separators") << u"  ;ad,min;  "_s << u"admin"_s;
    QTest::newRow("other case") << u"AdMiN"_s << u"admin"_s;
    QTest::newRow("password with blanks") << u"admin"_s << u"  admin "_s;
}

void TestLogin::cleanedUserName()
{
    QFETCH(QString, typedName);
    QFETCH(QString, typedPassword);
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    CDlgLogin dialog;
    dialog.show();
    login(dialog, typedName, typedPassword);

    QCOMPARE(driver.seen, QStringList());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(theCurrentUser.UserName, u"admin"_s);                      // the stored spelling
    QCOMPARE(child<QLineEdit>(&dialog, "userName")->text(), typedName); // not shown back
}

void TestLogin::emptyUserName()
{
    QVERIFY(ConnectionSetting(u"db01"_s, ConnectionSetting::PasswordLogin, u"sa"_s, {}).write());
    ModalDriver driver;
    CDlgLogin dialog;
    dialog.show();
    login(dialog, u" ;, ,"_s, u"admin"_s);
    QCOMPARE(driver.seen, QStringList { u"用户名不能为空!"_s });
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), child<QLineEdit>(&dialog, "userName"));
    QCOMPARE(dialog.failureCount(), 0);
}

void TestLogin::threeFailures()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    CDlgLogin dialog;
    dialog.show();
    login(dialog, u"admin"_s, u"wrong"_s);
    login(dialog, u"nobody"_s, u"admin"_s);
    QCOMPARE(driver.seen,
             (QStringList { u"错误：第1次错误，请确认后重新输入!"_s,
                            u"错误：第2次错误，请确认后重新输入!"_s }));
    QVERIFY(dialog.isVisible());

    login(dialog, u"admin"_s, QString());
    QCOMPARE(driver.seen.size(), 3);
    QCOMPARE(driver.seen.last(), u"错误：输入错误!请联系统管理员!"_s);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(theCurrentUser.UserID, -1);
}

void TestLogin::lockedUser()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(InsertReturningId(u"qz_Users"_s, { u"UserName"_s, u"Pwd"_s, u"Locked"_s, u"ISuper"_s },
                              { u"Clerk"_s, PasswordDigest::make(u"pw1"_s), 1, 0 }, u"UserID"_s)
            > 0);
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    CDlgLogin dialog;
    dialog.show();
    login(dialog, u"clerk"_s, u"pw1"_s);
    QCOMPARE(driver.seen, QStringList { u"抱歉,该用户被锁定,请与管理员联系!"_s });
    QCOMPARE(dialog.failureCount(), 0);
    QVERIFY(dialog.isVisible());

    login(dialog, u"clerk"_s, u"pw2"_s);
    QCOMPARE(driver.seen.last(), u"错误：第1次错误，请确认后重新输入!"_s);
    QCOMPARE(dialog.failureCount(), 1);
    QCOMPARE(theCurrentUser.UserID, -1);
}

void TestLogin::oldDigestRehashedAtLogin_data()
{
    QTest::addColumn<bool>("writeRefused");
    QTest::newRow("rewritten") << false;
    QTest::newRow("write refused") << true;
}

void TestLogin::oldDigestRehashedAtLogin()
{
    QFETCH(bool, writeRefused);
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    // A digest from the days of 20,000 rounds; today's rounds from here on.
    PasswordDigest::setRoundsForTesting(20000);
    const QString old = PasswordDigest::make(u"admin"_s);
    PasswordDigest::setRoundsForTesting(0);
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Users SET Pwd = ? WHERE UserName = ?"_s,
                                { old, u"admin"_s }));
    if (writeRefused) {
        const QStringList refuse = TestDatabase::backend() == Backend::Sqlite
            ? QStringList { u"CREATE TRIGGER keep_pwd BEFORE UPDATE ON qz_Users "
                            u"BEGIN SELECT RAISE(ABORT, 'refused'); END"_s }
            : QStringList { u"CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                            u"$$BEGIN RAISE EXCEPTION 'refused'; END$$"_s,
                            u"CREATE TRIGGER keep_pwd BEFORE UPDATE ON qz_Users "
                            u"FOR EACH ROW EXECUTE FUNCTION refuse()"_s };
        for (const QString &statement : refuse)
            QVERIFY2(theDatabase.Execute(statement), qPrintable(theDatabase.GetLastErrorString()));
    }
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    CDlgLogin dialog;
    dialog.show();
    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(driver.seen, QStringList());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    const QString stored
        = GetScalarText(u"SELECT Pwd FROM qz_Users WHERE UserName = ?"_s, { u"admin"_s }).value();
    QCOMPARE(theCurrentUser.Pwd, stored);
    QVERIFY(PasswordDigest::check(u"admin"_s, stored));
    if (writeRefused) {
        QCOMPARE(stored, old);
        return;
    }
    QVERIFY(stored != old);
    QCOMPARE(stored.section(u'$', 1, 1).toInt(), PasswordDigest::defaultRounds);
    QVERIFY(!PasswordDigest::needsRehash(stored));
}

void TestLogin::rememberedPassword()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    {
        CDlgLogin dialog;
        dialog.show();
        QVERIFY(!child<QCheckBox>(&dialog, "remember")->isChecked());
        child<QCheckBox>(&dialog, "remember")->setChecked(true);
        login(dialog, u" ;admin "_s, u"admin"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(Profile::getInt({}, u"SaveUserPwd"_s, 0), 1);
    QCOMPARE(Profile::getString({}, u"UserName"_s), u"admin"_s);
    const QString stored = Profile::getString({}, u"Password"_s);
    QVERIFY(!stored.contains(u"admin"_s));
    QCOMPARE(ConnectionSetting::decode(stored), u"       admin"_s); // 7 blanks + 5 characters

    {
        // Filled from the profile; OK alone logs in.
        CDlgLogin dialog;
        dialog.show();
        QVERIFY(child<QCheckBox>(&dialog, "remember")->isChecked());
        QCOMPARE(child<QLineEdit>(&dialog, "userName")->text(), u"admin"_s);
        QCOMPARE(child<QLineEdit>(&dialog, "password")->text(), stored);
        clickOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    {
        // One keystroke makes the typed text count: the encoded text plus "x" is wrong.
        CDlgLogin dialog;
        dialog.show();
        QTest::keyClick(child<QLineEdit>(&dialog, "password"), Qt::Key_X);
        clickOk(&dialog);
        QCOMPARE(driver.seen, QStringList { u"错误：第1次错误，请确认后重新输入!"_s });

        child<QCheckBox>(&dialog, "remember")->setChecked(false);
        typeInto(&dialog, "password", u"admin"_s);
        clickOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(Profile::getInt({}, u"SaveUserPwd"_s, 1), 0);
    QCOMPARE(Profile::getString({}, u"UserName"_s, u"?"_s), QString());
    QCOMPARE(Profile::getString({}, u"Password"_s, u"?"_s), QString());
}

void TestLogin::firstRunJourney()
{
    // Nothing configured: the connection dialog proposes the file, OK and Yes make it, then
    // admin/admin logs in and the database gets its tables.
    const QString file = ConnectionSetting::defaultDatabaseFile();
    QVERIFY(!QFile::exists(file));
    ModalDriver driver;
    driver.then([&file](QWidget *connect) {
        QCOMPARE(child<QLineEdit>(connect, "server")->text(), file);
        QVERIFY(child<QRadioButton>(connect, "systemLogin")->isChecked());
        clickOk(connect);
    });
    driver.answer(QMessageBox::Yes);
    CDlgLogin dialog;
    dialog.show();
    QTRY_VERIFY(driver.idle());
    QCOMPARE(driver.seen, (QStringList { u"[CDlgDBConnect]"_s, newDatabaseQuestion(file) }));
    QCOMPARE(driver.captions.last(), LoadResString(117));
    QVERIFY(ConnectionSetting::exists());
    QVERIFY(QFile::exists(file));

    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(driver.seen.size(), 2);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(theDatabase.backend(), Backend::Sqlite);
    QCOMPARE(ConnectionString::parse(theApp.m_strConnection).filePath(), file);
    QCOMPARE(vantrel::db::schemaVersion(theDatabase), vantrel::db::latestSchemaVersion());
    QCOMPARE(GetScalarInt(u"SELECT ISuper FROM qz_Users WHERE UserName = ?"_s, { u"admin"_s }), 1);
}

void TestLogin::missingSettingOffersConnection()
{
    ModalDriver driver;
    driver.then([](QWidget *connect) { child<QPushButton>(connect, "cancelButton")->click(); });
    CDlgLogin dialog;
    dialog.show();
    QTRY_VERIFY(driver.idle());

    driver.then([](QWidget *connect) { child<QPushButton>(connect, "cancelButton")->click(); });
    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(
        driver.seen,
        (QStringList { u"[CDlgDBConnect]"_s, u"数据库连接配置没找到!"_s, u"[CDlgDBConnect]"_s }));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.failureCount(), 0);

    // A line of four fields is no setting either.
    QSettings(ConnectionSetting::iniFilePath(), QSettings::IniFormat)
        .setValue(u"ConnectInfo/DBConnect"_s, ConnectionSetting::encode(u"3,db01,sa,pw"_s));
    QCOMPARE(ConnectionSetting::BuildConnectionString(), QString());
    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(driver.seen.mid(3),
             (QStringList { u"数据库连接配置没找到!"_s, u"[CDlgDBConnect]"_s }));
    QCOMPARE(theCurrentUser.UserID, -1);
}

void TestLogin::connectionButton()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(workingSetting().write());
    ModalDriver driver;
    driver.then([](QWidget *connect) { child<QPushButton>(connect, "cancelButton")->click(); });
    {
        CDlgLogin dialog;
        dialog.show();
        auto *button = child<QPushButton>(&dialog, "connectButton");
        QCOMPARE(button->text(), u"连接设置"_s);
        QVERIFY(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(driver.idle());
        QCOMPARE(driver.seen, QStringList { u"[CDlgDBConnect]"_s });
        QVERIFY(dialog.isVisible());
        login(dialog, u"admin"_s, u"admin"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    // A re-login keeps the session's connection: no way to another one there.
    CDlgLogin relogin(CDlgLogin::ReLogin);
    relogin.show();
    QVERIFY(!child<QPushButton>(&relogin, "connectButton")->isVisible());
}

void TestLogin::missingDatabaseFile()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"moved/vantrel.db"_s);
    QVERIFY(ConnectionSetting(file, ConnectionSetting::SystemLogin, {}, {}).write());
    ModalDriver driver;
    CDlgLogin dialog;
    dialog.show();
    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(driver.seen, (QStringList { u"数据库文件不存在:\n"_s + file, u"[CDlgDBConnect]"_s }));
    QCOMPARE(driver.captions.first(), LoadResString(117));
    QCOMPARE(driver.icons.first(), QMessageBox::Critical);
    // Reported, not made.
    QVERIFY(!QFile::exists(file));
    QVERIFY(!theDatabase.IsOpen());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.failureCount(), 0);
}

void TestLogin::unreachableDatabase()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(brokenSetting().write());
    ModalDriver driver;
    driver.then([](QWidget *connect) {
        // It opens empty: it does not show the setting (nor its password).
        QCOMPARE(child<QLineEdit>(connect, "server")->text(), QString());
        QCOMPARE(child<QLineEdit>(connect, "password")->text(), QString());
        child<QPushButton>(connect, "cancelButton")->click();
    });
    CDlgLogin dialog;
    dialog.show();
    login(dialog, u"admin"_s, u"admin"_s);
    const QString refusal = TestDatabase::backend() == Backend::Sqlite
        ? u"数据库文件不存在:\n"_s + brokenSetting().server()
        : LoadResString(116);
    QCOMPARE(driver.seen, (QStringList { refusal, u"[CDlgDBConnect]"_s }));
    QVERIFY(dialog.isVisible());
    QVERIFY(!theDatabase.IsOpen());
    QVERIFY(!theDatabase.GetLastErrorString().contains(kWrongSecret));
}

void TestLogin::failedUserQueryIsShown()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(theDatabase.Execute(u"ALTER TABLE qz_Users RENAME TO qz_UsersGone"_s));
    ModalDriver driver;
    CDlgLogin dialog(CDlgLogin::ReLogin);
    dialog.show();
    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(driver.seen.size(), 1);
    QVERIFY2(driver.seen.first().startsWith(u"读取用户信息失败!"_s),
             qPrintable(driver.seen.first()));
    const QString pgPassword = qEnvironmentVariable("VANTREL_PG_PASSWORD");
    QVERIFY(pgPassword.isEmpty() || !driver.seen.first().contains(pgPassword));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.failureCount(), 0);
}

void TestLogin::reLoginKeepsConnection()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    // No setting at all: re-login neither reads it nor offers the connection dialog.
    theApp.m_strConnection = m_fixture->connectionString();
    theCurrentUser.UserName = u"previous"_s;
    ModalDriver driver;
    {
        CDlgLogin dialog(CDlgLogin::ReLogin);
        dialog.show();
        QTest::qWait(50);
        child<QPushButton>(&dialog, "cancelButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(theCurrentUser.UserName, u"previous"_s);
    {
        CDlgLogin dialog(CDlgLogin::ReLogin);
        dialog.show();
        login(dialog, u"ADMIN"_s, u"admin"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(driver.seen, QStringList());
    QCOMPARE(theCurrentUser.UserName, u"admin"_s);
    QCOMPARE(theApp.m_strConnection, m_fixture->connectionString());
    QVERIFY(theDatabase.IsOpen());
    QCOMPARE(theDatabase.GetConnectionString(), m_fixture->connectionString());
}

// ---- the connection dialog

void TestLogin::testConnection()
{
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    ModalDriver driver;
    CDlgDBConnect dialog;
    dialog.show();
    fillConnectDialog(&dialog, workingSetting());
    QTest::mouseClick(child<QPushButton>(&dialog, "testButton"), Qt::LeftButton);
    QCOMPARE(driver.seen, QStringList { u"连接成功！"_s });

    fillConnectDialog(&dialog, brokenSetting());
    QTest::mouseClick(child<QPushButton>(&dialog, "testButton"), Qt::LeftButton);
    QCOMPARE(driver.seen.size(), 2);
    QVERIFY2(driver.seen.last().startsWith(u"连接失败！"_s), qPrintable(driver.seen.last()));
    QVERIFY(!driver.seen.last().contains(kWrongSecret));
    // Testing writes nothing and makes no database file.
    QVERIFY(!ConnectionSetting::exists());
    if (TestDatabase::backend() == Backend::Sqlite)
        QVERIFY(!QFile::exists(brokenSetting().server()));
    QVERIFY(dialog.isVisible());
}

void TestLogin::connectDialogChecks()
{
    QVERIFY(
        ConnectionSetting(u"db01"_s, ConnectionSetting::PasswordLogin, u"sa"_s, u"x"_s).write());
    ModalDriver driver;
    CDlgDBConnect dialog;
    dialog.show();
    // A setting exists: the dialog opens empty with the password login.
    QCOMPARE(child<QLineEdit>(&dialog, "server")->text(), QString());
    QVERIFY(child<QRadioButton>(&dialog, "passwordLogin")->isChecked());
    QVERIFY(child<QLineEdit>(&dialog, "loginId")->isEnabled());
    child<QRadioButton>(&dialog, "systemLogin")->click();
    QVERIFY(!child<QLineEdit>(&dialog, "loginId")->isEnabled());
    QVERIFY(!child<QLineEdit>(&dialog, "password")->isEnabled());
    child<QRadioButton>(&dialog, "passwordLogin")->click();
    QVERIFY(child<QLineEdit>(&dialog, "password")->isEnabled());

    clickOk(&dialog);
    QCOMPARE(driver.seen, QStringList { u"请输入数据库服务器名称或IP!"_s });
    QCOMPARE(dialog.focusWidget(), child<QLineEdit>(&dialog, "server"));

    typeInto(&dialog, "server", u"db02,5433"_s);
    clickOk(&dialog);
    QCOMPARE(driver.seen.last(), u"用户名称不能为空!"_s);
    QCOMPARE(dialog.focusWidget(), child<QLineEdit>(&dialog, "loginId"));
    QVERIFY(dialog.isVisible());

    // The SSL mode is a server's: a database file has none.
    auto *ssl = child<QComboBox>(&dialog, "sslMode");
    QCOMPARE(ssl->count(), 4);
    QCOMPARE(ssl->itemText(0), u"默认"_s);
    QVERIFY(ssl->isEnabled());
    typeInto(&dialog, "server", u"/data/vantrel.db"_s);
    QVERIFY(!ssl->isEnabled());
    typeInto(&dialog, "server", u"db02,5433"_s);
    QVERIFY(ssl->isEnabled());
    ssl->setCurrentIndex(ssl->findText(u"require"_s));

    typeInto(&dialog, "loginId", u"payroll"_s);
    typeInto(&dialog, "password", u"se,cret"_s);
    clickOk(&dialog);
    QCOMPARE(driver.seen.size(), 2);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ConnectionSetting::BuildConnectionString(),
             u"Provider=QPSQL;Server=db02,5433;UID=payroll;PWD=se,cret;Database=Morvel_VANTREL_DB;"
             u"SSL Mode=require"_s);
}

void TestLogin::newDatabaseOnlyAfterYes()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"new/payroll.db"_s);
    ModalDriver driver;
    CDlgDBConnect dialog;
    dialog.show();
    typeInto(&dialog, "server", file);

    driver.answer(QMessageBox::No);
    clickOk(&dialog);
    QCOMPARE(driver.seen, QStringList { newDatabaseQuestion(file) });
    QCOMPARE(driver.captions.last(), LoadResString(117));
    QVERIFY(!QFile::exists(file));
    QVERIFY(!ConnectionSetting::exists());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), child<QLineEdit>(&dialog, "server"));

    // Testing makes nothing either.
    QTest::mouseClick(child<QPushButton>(&dialog, "testButton"), Qt::LeftButton);
    QVERIFY2(driver.seen.last().startsWith(u"连接失败！"_s), qPrintable(driver.seen.last()));
    QVERIFY(!QFile::exists(file));

    driver.answer(QMessageBox::Yes);
    clickOk(&dialog);
    QCOMPARE(driver.seen.size(), 3);
    QCOMPARE(driver.seen.last(), newDatabaseQuestion(file));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(file));
    QCOMPARE(ConnectionSetting::BuildConnectionString(), ConnectionString::forSqlite(file));
    // Empty until the login gives it its tables.
    CADODatabase made;
    QVERIFY(made.Open(ConnectionString::forSqlite(file)));
    QCOMPARE(vantrel::db::schemaVersion(made), 0);
}

void TestLogin::newDatabaseThatCannotBeMade()
{
    const QString file = u"/proc/vantrel-no-such-folder/payroll.db"_s;
    ModalDriver driver;
    CDlgDBConnect dialog;
    dialog.show();
    typeInto(&dialog, "server", file);
    driver.answer(QMessageBox::Yes);
    clickOk(&dialog);
    QCOMPARE(driver.seen.size(), 2);
    QCOMPARE(driver.seen.first(), newDatabaseQuestion(file));
    QVERIFY2(driver.seen.last().contains(u"/proc/vantrel-no-such-folder"_s),
             qPrintable(driver.seen.last()));
    QCOMPARE(driver.icons.last(), QMessageBox::Critical);
    QVERIFY(dialog.isVisible());
    QVERIFY(!ConnectionSetting::exists());
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
