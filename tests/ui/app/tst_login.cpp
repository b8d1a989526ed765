#include "core/app/connectionsetting.h"
#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "testdatabase.h"
#include "ui/app/dlgdbconnect.h"
#include "ui/app/dlglogin.h"

#include <QApplication>
#include <QCheckBox>
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

// Answers the modal dialogs that open while it lives. Message boxes are answered with OK and
// their texts recorded; any other dialog is recorded as "[ClassName]" and handed to the next
// queued action (rejected when there is none).
class ModalDriver : public QObject
{
public:
    using Action = std::function<void(QWidget *)>;

    ModalDriver() { schedule(); }

    void then(Action action) { m_actions.enqueue(std::move(action)); }
    bool idle() const { return m_actions.isEmpty() && !QApplication::activeModalWidget(); }

    QStringList seen;

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
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            (ok ? ok : box->buttons().value(0))->click();
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

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void codec_data();
    void codec();
    void codecRejectsForeignText();
    void settingSurvivesIniFile();
    void settingLine_data();
    void settingLine();
    void connectionString_data();
    void connectionString();

    void loginSucceeds();
    void cleanedUserName_data();
    void cleanedUserName();
    void emptyUserName();
    void threeFailures();
    void lockedUser();
    void rememberedPassword();
    void newUserTwoClicks();
    void missingSettingOffersConnection();
    void unreachableDatabase();
    void failedUserQueryIsShown();
    void reLoginKeepsConnection();
    void testConnection();
    void connectDialogChecks();

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

// ---- the codec and the setting line

void TestLogin::codec_data()
{
    QTest::addColumn<QString>("plain");
    QTest::newRow("empty") << QString();
    QTest::newRow("padded password") << u"       admin"_s;
    QTest::newRow("line with commas") << u"3,/data/a,b.db,,p%2Cw,1"_s;
    QTest::newRow("chinese") << u"服务器,数据库 连接；密码"_s;
    QTest::newRow("ini specials") << u"a=\"b\";c='d' [x] #y \\z"_s;
}

void TestLogin::codec()
{
    QFETCH(QString, plain);
    const QString stored = ConnectionSetting::encode(plain);
    QCOMPARE(ConnectionSetting::decode(stored), plain);
    for (const QChar c : stored) {
        QVERIFY2(c.unicode() < 0x80 && c != u',' && c != u';', qPrintable(stored));
    }
    if (plain.size() > 3)
        QVERIFY(!stored.contains(plain.trimmed().left(4)));
}

void TestLogin::codecRejectsForeignText()
{
    QCOMPARE(ConnectionSetting::decode(u"not base64!"_s), QString());
    QCOMPARE(ConnectionSetting::decode(u"中文"_s), QString());
    QVERIFY(ConnectionSetting::encode(u"admin"_s) != ConnectionSetting::encode(u"admim"_s));
}

void TestLogin::settingSurvivesIniFile()
{
    const ConnectionSetting written(u"/数据/薪资,2024/vantrel.db"_s,
                                    ConnectionSetting::PasswordLogin, u"user,1"_s, u"pa,ss%2C;w"_s);
    QVERIFY(!ConnectionSetting::exists());
    QVERIFY(written.write());
    QVERIFY(ConnectionSetting::exists());

    QFile file(ConnectionSetting::iniFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString raw = QString::fromUtf8(file.readAll());
    QVERIFY2(raw.contains(u"[ConnectInfo]"_s) && raw.contains(u"DBConnect="_s), qPrintable(raw));
    QVERIFY(!raw.contains(u"pa,ss"_s) && !raw.contains(u"vantrel.db"_s));

    const QString stored = QSettings(ConnectionSetting::iniFilePath(), QSettings::IniFormat)
                               .value(u"ConnectInfo/DBConnect"_s)
                               .toString();
    const auto read = ConnectionSetting::fromLine(ConnectionSetting::decode(stored));
    QVERIFY(read);
    QCOMPARE(read->server(), written.server());
    QCOMPARE(read->loginKind(), written.loginKind());
    QCOMPARE(read->loginId(), written.loginId());
    QCOMPARE(read->password(), written.password());
    QCOMPARE(ConnectionSetting::BuildConnectionString(), written.connectionString());
}

void TestLogin::settingLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("loginId");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("kind");
    const int system = ConnectionSetting::SystemLogin;
    const int withPassword = ConnectionSetting::PasswordLogin;
    QTest::newRow("empty") << QString() << false << QString() << QString() << QString() << 0;
    QTest::newRow("four fields") << u"3,srv,id,pw"_s << false << QString() << QString() << QString()
                                 << 0;
    QTest::newRow("code 1") << u"1,pw,srv,id,0"_s << true << u"srv"_s << u"id"_s << u"pw"_s
                            << withPassword;
    QTest::newRow("code 2") << u"2,srv,pw,id,0"_s << true << u"srv"_s << u"id"_s << u"pw"_s
                            << withPassword;
    QTest::newRow("code 3, system")
        << u"3,srv,id,pw,1"_s << true << u"srv"_s << u"id"_s << u"pw"_s << system;
    QTest::newRow("other code") << u"7,srv,id,pw,0"_s << true << QString() << QString() << QString()
                                << withPassword;
    QTest::newRow("not trimmed") << u"3, srv ,id, pw ,2"_s << true << u" srv "_s << u"id"_s
                                 << u" pw "_s << system;
    QTest::newRow("flag not a number")
        << u"3,srv,id,pw,x"_s << true << u"srv"_s << u"id"_s << u"pw"_s << withPassword;
    QTest::newRow("escaped") << u"3,/a%2Cb/x.db,id,p%25w%2c,1"_s << true << u"/a,b/x.db"_s
                             << u"id"_s << u"p%w,"_s << system;
    QTest::newRow("sixth field ignored")
        << u"3,srv,id,pw,0,extra"_s << true << u"srv"_s << u"id"_s << u"pw"_s << withPassword;
}

void TestLogin::settingLine()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    const auto setting = ConnectionSetting::fromLine(line);
    QCOMPARE(bool(setting), valid);
    if (!valid)
        return;
    QFETCH(QString, server);
    QFETCH(QString, loginId);
    QFETCH(QString, password);
    QFETCH(int, kind);
    QCOMPARE(setting->server(), server);
    QCOMPARE(setting->loginId(), loginId);
    QCOMPARE(setting->password(), password);
    QCOMPARE(setting->loginKind(), kind);

    const auto again = ConnectionSetting::fromLine(setting->toLine());
    QVERIFY(again);
    QCOMPARE(again->server(), server);
    QCOMPARE(again->password(), password);
    QCOMPARE(again->loginKind(), kind);
}

void TestLogin::connectionString_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    const int system = ConnectionSetting::SystemLogin;
    const int withPassword = ConnectionSetting::PasswordLogin;
    const QString db = u";Database=Morvel_VANTREL_DB"_s;
    QTest::newRow("file path") << u"/home/ann/vantrel.db"_s << withPassword
                               << u"Provider=QSQLITE;Data Source=/home/ann/vantrel.db"_s;
    QTest::newRow("file by suffix")
        << u"payroll.SQLITE"_s << system << u"Provider=QSQLITE;Data Source=payroll.SQLITE"_s;
    QTest::newRow("file with ;") << u"/data/a;b.db"_s << system
                                 << u"Provider=QSQLITE;Data Source=\"/data/a;b.db\""_s;
    QTest::newRow("host") << u"db01"_s << withPassword
                          << u"Provider=QPSQL;Server=db01;UID=sa;PWD=pw"_s + db;
    QTest::newRow("host,port") << u"db01,5433"_s << withPassword
                               << u"Provider=QPSQL;Server=db01,5433;UID=sa;PWD=pw"_s + db;
    QTest::newRow("host:port") << u"10.0.0.5:5433"_s << withPassword
                               << u"Provider=QPSQL;Server=10.0.0.5,5433;UID=sa;PWD=pw"_s + db;
    QTest::newRow("ipv6 with port") << u"[::1]:5433"_s << withPassword
                                    << u"Provider=QPSQL;Server=::1,5433;UID=sa;PWD=pw"_s + db;
    QTest::newRow("system login, remote")
        << u"db01"_s << system << u"Provider=QPSQL;Server=db01;Integrated Security=SSPI"_s + db;
    QTest::newRow("system login, local socket")
        << u"localhost:5433"_s << system
        << u"Provider=QPSQL;Server=,5433;Integrated Security=SSPI"_s + db;
}

void TestLogin::connectionString()
{
    QFETCH(QString, server);
    QFETCH(int, kind);
    QFETCH(QString, expected);
    const ConnectionSetting setting(server, kind, u"sa"_s, u"pw"_s);
    QCOMPARE(setting.connectionString(), expected);
    const ConnectionString parsed = ConnectionString::parse(expected);
    QCOMPARE(parsed.backend() == Backend::Sqlite, ConnectionSetting::isDatabaseFile(server));
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

void TestLogin::newUserTwoClicks()
{
    // Nothing configured: the proposal of the connection dialog, OK, then admin/admin.
    ModalDriver driver;
    driver.then([](QWidget *connect) {
        QCOMPARE(child<QLineEdit>(connect, "server")->text(),
                 ConnectionSetting::defaultDatabaseFile());
        QVERIFY(child<QRadioButton>(connect, "systemLogin")->isChecked());
        clickOk(connect);
    });
    CDlgLogin dialog;
    dialog.show();
    QTRY_VERIFY(driver.idle());
    QCOMPARE(driver.seen, QStringList { u"[CDlgDBConnect]"_s });
    QVERIFY(ConnectionSetting::exists());

    login(dialog, u"admin"_s, u"admin"_s);
    QCOMPARE(driver.seen.size(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(theDatabase.backend(), Backend::Sqlite);
    QCOMPARE(ConnectionString::parse(theApp.m_strConnection).filePath(),
             ConnectionSetting::defaultDatabaseFile());
    QVERIFY(QFile::exists(ConnectionSetting::defaultDatabaseFile()));
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
    QCOMPARE(driver.seen, (QStringList { LoadResString(116), u"[CDlgDBConnect]"_s }));
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
    // Testing writes nothing.
    QVERIFY(!ConnectionSetting::exists());
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

    typeInto(&dialog, "loginId", u"payroll"_s);
    typeInto(&dialog, "password", u"se,cret"_s);
    clickOk(&dialog);
    QCOMPARE(driver.seen.size(), 2);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(
        ConnectionSetting::BuildConnectionString(),
        u"Provider=QPSQL;Server=db02,5433;UID=payroll;PWD=se,cret;Database=Morvel_VANTREL_DB"_s);
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
