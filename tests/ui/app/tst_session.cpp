#include "core/app/constants.h"
#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "testdatabase.h"
#include "ui/app/dlgappidlelocked.h"
#include "ui/app/dlgchangepwd.h"
#include "ui/app/dlghtmllogobanner.h"
#include "ui/app/launchers.h"
#include "ui/frame/clogobannerpane.h"
#include "ui/frame/dockedpanesizing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// QtWebEngine wants shared GL contexts before the application object exists.
[[maybe_unused]] static const bool sharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return true;
}();

namespace {

constexpr int WebTimeout = 30000;

// Answers every message box that comes up while it lives: keeps its text and closes it.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || box == m_answered)
                return;
            m_answered = box;
            texts << box->text();
            box->done(QMessageBox::Ok);
        });
        m_timer.start(10);
    }

    QStringList texts;

private:
    QTimer m_timer;
    QPointer<QMessageBox> m_answered;
};

template<typename T> T *child(QWidget &parent, const QString &name)
{
    T *widget = parent.findChild<T *>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

QString storedPwd()
{
    return GetScalarText(u"SELECT Pwd FROM qz_Users WHERE UserID = ?"_s, { theCurrentUser.UserID })
        .valueOr({});
}

QVariant runScript(QWebEngineView *view, const QString &script)
{
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, WebTimeout))
        qWarning("script did not answer: %s", qPrintable(script));
    return result;
}

} // namespace

// The lock, the password change and the banner, driven as the operator would. Each test runs
// logged in as the seeded administrator "admin" / "admin".
class TestSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void unlock_data();
    void unlock();
    void lockIgnoresEscapeAndClose();
    void lockRunsModally();

    void changeRefused_data();
    void changeRefused();
    void changeStored_data();
    void changeStored();
    void changeFailureKeepsDialog_data();
    void changeFailureKeepsDialog();

    void bannerClickReachesProgram();
    void bannerPaneHeight_data();
    void bannerPaneHeight();
    void bannerPaneWithoutPage();
    void paneSizing();

    void calculatorFromPath();
    void missingTools();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestSession::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSession::init()
{
    QSettings(u"MorvelSoft"_s, u"Vantrel"_s).clear();
    theCurrentUser.reset();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theCurrentUser.UserID
        = GetScalarInt(u"SELECT UserID FROM qz_Users WHERE UserName = ?"_s, { u"admin"_s })
              .valueOr(0);
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.Pwd = storedPwd();
    QVERIFY(theCurrentUser.UserID > 0);
    QVERIFY(PasswordDigest::check(u"admin"_s, theCurrentUser.Pwd));
}

void TestSession::cleanup()
{
    theApp.m_pMainWnd = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestSession::unlock_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("unlocks");

    QTest::newRow("right password") << u"s3cret"_s << u"s3cret"_s << true;
    QTest::newRow("wrong password") << u"s3cret"_s << u"s3cret!"_s << false;
    QTest::newRow("trailing blank is kept") << u"s3cret"_s << u"s3cret "_s << false;
    QTest::newRow("leading blank is kept") << u"s3cret"_s << u" s3cret"_s << false;
    QTest::newRow("case counts") << u"s3cret"_s << u"S3cret"_s << false;
    QTest::newRow("blank password needs its blank") << u"pw "_s << u"pw "_s << true;
    QTest::newRow("empty matches empty") << QString() << QString() << true;
    QTest::newRow("empty does not match a password") << u"s3cret"_s << QString() << false;
}

void TestSession::unlock()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, unlocks);

    theCurrentUser.Pwd = PasswordDigest::make(password);
    CDlgAppIdleLocked dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *edit = child<QLineEdit>(dlg, u"m_editPassword"_s);
    QCOMPARE(dlg.focusWidget(), edit);

    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(dlg.isVisible(), !unlocks);
    QCOMPARE(dlg.result(), unlocks ? QDialog::Accepted : QDialog::Rejected);
    if (!unlocks) {
        // Ready for another try: the whole text selected, the focus on it.
        QCOMPARE(edit->selectedText(), typed);
        QCOMPARE(dlg.focusWidget(), edit);
    }
}

void TestSession::lockIgnoresEscapeAndClose()
{
    CDlgAppIdleLocked dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), u"离开挂起 - "_s + LoadResString(128));
    QVERIFY(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
    auto *operatorEdit = child<QLineEdit>(dlg, u"m_editOperator"_s);
    QCOMPARE(operatorEdit->text(), u"admin"_s);
    QVERIFY(!operatorEdit->isEnabled());
    dlg.setOperatorName(u"李四"_s);
    QCOMPARE(operatorEdit->text(), u"李四"_s);

    QTest::keyClick(child<QLineEdit>(dlg, u"m_editPassword"_s), Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QVERIFY(!dlg.close());
    QVERIFY(dlg.isVisible());
}

void TestSession::lockRunsModally()
{
    CDlgAppIdleLocked dlg;
    bool stayedAfterWrong = false;
    QTimer::singleShot(0, &dlg, [&] {
        auto *edit = child<QLineEdit>(dlg, u"m_editPassword"_s);
        QTest::keyClicks(edit, u"wrong"_s);
        QTest::mouseClick(child<QPushButton>(dlg, u"m_btnUnlock"_s), Qt::LeftButton);
        stayedAfterWrong = dlg.isVisible();
        QTest::keyClicks(edit, u"admin"_s); // replaces the selected wrong text
        QTest::mouseClick(child<QPushButton>(dlg, u"m_btnUnlock"_s), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QVERIFY(stayedAfterWrong);
}

void TestSession::changeRefused_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("wrong old password")
        << u"admin2"_s << u"n1"_s << u"n1"_s << u"请输入原登录口令!"_s << u"m_editOld"_s;
    QTest::newRow("old password in other case")
        << u"ADMIN"_s << u"n1"_s << u"n1"_s << u"请输入原登录口令!"_s << u"m_editOld"_s;
    QTest::newRow("confirmation differs in case")
        << u"admin"_s << u"a"_s << u"A"_s << u"新密码与密码确认不一致!"_s << u"m_editConfirm"_s;
    QTest::newRow("confirmation missing")
        << u"admin"_s << u"n1"_s << QString() << u"新密码与密码确认不一致!"_s << u"m_editConfirm"_s;
}

void TestSession::changeRefused()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    const QString before = storedPwd();
    CDlgPassWordModify dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), u"修改登录口令"_s);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editOld"_s), oldPassword);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editNew"_s), newPassword);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editConfirm"_s), confirmation);

    MessageCatcher messages;
    QTest::mouseClick(child<QPushButton>(dlg, u"m_btnOk"_s), Qt::LeftButton);

    QCOMPARE(messages.texts, QStringList { message });
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.focusWidget(), child<QLineEdit>(dlg, focus));
    QCOMPARE(storedPwd(), before);
    QCOMPARE(theCurrentUser.Pwd, before);

    QTest::mouseClick(child<QPushButton>(dlg, u"m_btnCancel"_s), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestSession::changeStored_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("stored");

    QTest::newRow("entries are trimmed")
        << u" admin "_s << u"  n3w pw "_s << u"n3w pw"_s << u"n3w pw"_s;
    QTest::newRow("empty new password") << u"admin"_s << QString() << u"  "_s << QString();
}

void TestSession::changeStored()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, stored);

    CDlgPassWordModify dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editOld"_s), oldPassword);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editNew"_s), newPassword);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editConfirm"_s), confirmation);

    MessageCatcher messages;
    QTest::keyClick(child<QLineEdit>(dlg, u"m_editConfirm"_s), Qt::Key_Return);

    QCOMPARE(messages.texts, QStringList { u"登录口令修改成功!!!"_s });
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const QString digest = storedPwd();
    QVERIFY(PasswordDigest::check(stored, digest));
    QVERIFY(!PasswordDigest::check(u"admin"_s, digest));
    if (!newPassword.isEmpty())
        QVERIFY(!PasswordDigest::check(newPassword, digest)); // the untrimmed text is not it
    QCOMPARE(theCurrentUser.Pwd, digest);
}

void TestSession::changeFailureKeepsDialog_data()
{
    QTest::addColumn<bool>("connectionLost");
    QTest::newRow("operator removed meanwhile") << false;
    QTest::newRow("connection lost") << true;
}

void TestSession::changeFailureKeepsDialog()
{
    QFETCH(bool, connectionLost);

    const QString before = theCurrentUser.Pwd;
    if (connectionLost)
        theDatabase.Close();
    else
        QVERIFY(theDatabase.Execute(u"DELETE FROM qz_Users WHERE UserID = ?"_s,
                                    { theCurrentUser.UserID }));

    CDlgPassWordModify dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editOld"_s), u"admin"_s);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editNew"_s), u"other"_s);
    QTest::keyClicks(child<QLineEdit>(dlg, u"m_editConfirm"_s), u"other"_s);

    MessageCatcher messages;
    QTest::mouseClick(child<QPushButton>(dlg, u"m_btnOk"_s), Qt::LeftButton);

    QCOMPARE(messages.texts.size(), 1);
    QVERIFY2(messages.texts.first().startsWith(u"登录口令修改失败!"_s),
             qPrintable(messages.texts.first()));
    QVERIFY(dlg.isVisible());
    QCOMPARE(theCurrentUser.Pwd, before);
}

void TestSession::bannerClickReachesProgram()
{
    QVERIFY2(QFile::exists(CDlgHtmlLogoBanner::pagePath()),
             qPrintable(CDlgHtmlLogoBanner::pagePath()));
    QMainWindow frame;
    frame.show();
    theApp.m_pMainWnd = &frame;

    CDlgHtmlLogoBanner banner;
    QSignalSpy clicked(&banner, &CDlgHtmlLogoBanner::elementClicked);
    QSignalSpy password(&banner, &CDlgHtmlLogoBanner::changePasswordRequested);
    banner.resize(900, 56);
    banner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&banner));
    QTRY_VERIFY_WITH_TIMEOUT(banner.isReady(), WebTimeout);
    QCOMPARE(banner.view()->contextMenuPolicy(), Qt::NoContextMenu);

    // Every element the program binds is on the page, and the links carry the class.
    QCOMPARE(runScript(banner.view(),
                       u"['calculate','calendar','password','exit'].filter(function (id) {"
                       " var e = document.getElementById(id);"
                       " return e && e.classList.contains('hotE'); }).length"_s)
                 .toInt(),
             4);

    // A real mouse click on "口令设置".
    const QVariantList box
        = runScript(banner.view(),
                    u"(function () { var r = document.getElementById("
                    "'password').getBoundingClientRect();"
                    " return [r.left + r.width / 2, r.top + r.height / 2]; })()"_s)
              .toList();
    QCOMPARE(box.size(), 2);
    const QPoint centre(qRound(box.at(0).toDouble()), qRound(box.at(1).toDouble()));
    QWidget *surface = banner.view()->focusProxy();
    QVERIFY(surface);
    QTest::mouseMove(surface, centre);
    QTest::mouseClick(surface, Qt::LeftButton, {}, centre);
    QTRY_COMPARE_WITH_TIMEOUT(clicked.size(), 1, WebTimeout);
    QCOMPARE(clicked.first().first().toString(), u"password"_s);
    QTRY_COMPARE(password.size(), 1);

    // The light-up under the mouse and its reset.
    const QString colourAfter = u"var e = document.getElementById('calendar');"
                                " e.dispatchEvent(new MouseEvent('%1', { bubbles: true }));"
                                " getComputedStyle(e).color"_s;
    QCOMPARE(runScript(banner.view(), colourAfter.arg(u"mouseover"_s)).toString(),
             u"rgb(192, 32, 0)"_s);
    QCOMPARE(runScript(banner.view(), colourAfter.arg(u"mouseout"_s)).toString(),
             u"rgb(0, 0, 0)"_s);

    // "exit" closes the main window.
    runScript(banner.view(), u"document.getElementById('exit').click()"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!frame.isVisible(), WebTimeout);
    QCOMPARE(clicked.last().first().toString(), u"exit"_s);
    QCOMPARE(password.size(), 1);
}

void TestSession::bannerPaneHeight_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("height");
    QTest::newRow("no setting") << -1 << 56;
    QTest::newRow("stored 80") << 80 << 80;
}

void TestSession::bannerPaneHeight()
{
    QFETCH(int, stored);
    QFETCH(int, height);
    if (stored >= 0)
        Profile::writeInt({}, QString::fromUtf16(strBannerHeight), stored);

    QMainWindow frame;
    frame.setCentralWidget(new QWidget);
    auto *pane = new CLogoBannerPane(&frame);
    QSignalSpy password(pane, &CLogoBannerPane::changePasswordRequested);
    QVERIFY(pane->Create(&frame));
    frame.resize(900, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    QVERIFY(pane->banner());
    QCOMPARE(pane->bannerHeight(), height);
    QTRY_COMPARE(pane->height(), height);
    QCOMPARE(pane->banner()->height(), height);
    QCOMPARE(pane->width(), frame.width());
    QCOMPARE(pane->banner()->width(), frame.width());
    QVERIFY(frame.centralWidget()->geometry().top() >= height);

    Q_EMIT pane->banner()->changePasswordRequested();
    QCOMPARE(password.size(), 1);
}

void TestSession::bannerPaneWithoutPage()
{
    QTemporaryDir folder;
    Profile::writeInt({}, QString::fromUtf16(strBannerHeight), 80);

    QMainWindow frame;
    frame.setCentralWidget(new QWidget);
    auto *pane = new CLogoBannerPane(&frame, folder.filePath(u"html/banner.htm"_s));
    QVERIFY(pane->Create(&frame));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    QCOMPARE(pane->banner(), nullptr);
    QCOMPARE(pane->bannerHeight(), 0);
    QCOMPARE(pane->height(), 0);
    pane->setBannerHeight(80);
    QCOMPARE(pane->bannerHeight(), 0);
    QVERIFY(pane->isVisible());
    pane->toggleViewAction()->trigger();
    QVERIFY(!pane->isVisible());
    pane->toggleViewAction()->trigger();
    QVERIFY(pane->isVisible());
}

void TestSession::paneSizing()
{
    QMainWindow frame;
    frame.setCentralWidget(new QWidget);
    auto *upper = new QDockWidget(u"upper"_s, &frame);
    auto *lower = new QDockWidget(u"lower"_s, &frame);
    upper->setWidget(new QWidget);
    lower->setWidget(new QWidget);
    frame.addDockWidget(Qt::LeftDockWidgetArea, upper, Qt::Vertical);
    frame.addDockWidget(Qt::LeftDockWidgetArea, lower, Qt::Vertical);
    frame.resize(1000, 800);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    SetPaneHeightByDivider(upper, 200);
    QTRY_COMPARE(upper->height(), 200);

    // More than the edge's panes less 4 pixels: nothing moves.
    const int edgeHeight = lower->geometry().bottom() - upper->geometry().top() + 1;
    SetPaneHeightByDivider(upper, edgeHeight - 3);
    QTest::qWait(50);
    QCOMPARE(upper->height(), 200);

    // The edge takes a new width as a whole; within it a divider can only give up room.
    SetDockedPaneSize(lower, 300);
    QTRY_COMPARE(lower->width(), 300);
    QCOMPARE(upper->width(), 300);
    SetPaneWidthByDivider(upper, 297);
    QTest::qWait(50);
    QCOMPARE(upper->width(), 300);
    SetPaneWidthByDivider(upper, 220);
    QTRY_COMPARE(upper->width(), 220);

    // A pane at the top has no vertical divider of its own.
    auto *top = new QDockWidget(u"top"_s, &frame);
    top->setWidget(new QWidget);
    frame.addDockWidget(Qt::TopDockWidgetArea, top);
    QTRY_VERIFY(top->isVisible());
    const int topWidth = top->width();
    SetPaneWidthByDivider(top, topWidth / 2);
    QTest::qWait(50);
    QCOMPARE(top->width(), topWidth);

    upper->setFloating(true);
    const int floatingHeight = upper->height();
    SetPaneHeightByDivider(upper, floatingHeight - 20);
    SetDockedPaneSize(upper, floatingHeight - 20);
    QTest::qWait(50);
    QCOMPARE(upper->height(), floatingHeight);
}

void TestSession::calculatorFromPath()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString marker = bin.filePath(u"started"_s);
    for (const QString &name : { u"xcalc"_s, u"galculator"_s }) {
        QFile script(bin.filePath(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$0\" > \"$VANTREL_TEST_MARKER\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    qputenv("VANTREL_TEST_MARKER", QFile::encodeName(marker));
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });

    // galculator comes before xcalc in the order of preference.
    QCOMPARE(FindCalculator(), bin.filePath(u"galculator"_s));
    MessageCatcher messages;
    QVERIFY(LaunchCalculator());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QCOMPARE(messages.texts, QStringList());
    QVERIFY(!LaunchProcess(bin.filePath(u"nothing-here"_s)));
}

void TestSession::missingTools()
{
    QTemporaryDir empty;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });

    MessageCatcher messages;
    QCOMPARE(FindCalculator(), QString());
    QVERIFY(!LaunchCalculator());
    QVERIFY(!QFile::exists(TirloPath()));
    LaunchTirlo();
    QCOMPARE(messages.texts.size(), 2);
    QCOMPARE(messages.texts.at(0), u"未找到计算器程序。"_s);
    QVERIFY(messages.texts.at(1).contains(QDir::toNativeSeparators(TirloPath())));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
