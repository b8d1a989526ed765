#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "testdatabase.h"
#include "ui/app/appwindow.h"
#include "ui/app/rightcheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Presses a button of the next message box and remembers its text.
struct MessageBoxAnswer
{
    QString text;
    void press(QMessageBox::StandardButton button)
    {
        QTimer::singleShot(0, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            box->button(button)->click();
        });
    }
};

} // namespace

// The window half of the application object: the questions it asks for theApp's services.
class TestAppWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void rightRefusalIsShown();
    void connectionLostQuestion_data();
    void connectionLostQuestion();
    void standardButtonsInChinese_data();
    void standardButtonsInChinese();
    void webEngineForRoot();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestAppWindow::initTestCase()
{
    AppWindow::installPresenters();
}

void TestAppWindow::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theApp.m_strConnection = m_fixture->connectionString();
    theCurrentUser.reset();
}

void TestAppWindow::cleanup()
{
    theApp.m_pMainWnd = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestAppWindow::rightRefusalIsShown()
{
    theCurrentUser.UserID = 1;
    theCurrentUser.ISuper = 0;
    theCurrentUser.ParsePurview(u"8000000000000000|||"_s); // right 0 only
    MessageBoxAnswer answer;
    QVERIFY(CheckRightWithMessage(0, theApp, false));
    answer.press(QMessageBox::Ok);
    QVERIFY(!CheckRightWithMessage(16, theApp, false));
    QCOMPARE(answer.text, u"抱歉!您没有该项功能操作权限，请与管理员联系!"_s);
}

void TestAppWindow::connectionLostQuestion_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("answers");
    QTest::newRow("retry reopens") << int(QMessageBox::Retry) << true;
    QTest::newRow("cancel closes the main window") << int(QMessageBox::Cancel) << false;
}

void TestAppWindow::connectionLostQuestion()
{
    QFETCH(int, button);
    QFETCH(bool, answers);
    QMainWindow frame;
    frame.show();
    theApp.m_pMainWnd = &frame;
    theDatabase.Close();

    MessageBoxAnswer answer;
    answer.press(QMessageBox::StandardButton(button));
    QCOMPARE(theApp.CheckConnection(), answers);
    QCOMPARE(
        answer.text,
        u"数据库连接异常!\n\n可能网络掉线或者数据库服务停止,请与管理员联系!\n\n单击'取消'按钮退出程序."_s);
    QCOMPARE(theDatabase.IsOpen(), answers);
    QCOMPARE(frame.isVisible(), answers);
}

void TestAppWindow::standardButtonsInChinese_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("OK") << int(QMessageBox::Ok) << u"确定"_s;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << u"取消"_s;
    QTest::newRow("Yes") << int(QMessageBox::Yes) << u"是"_s;
    QTest::newRow("No") << int(QMessageBox::No) << u"否"_s;
    QTest::newRow("Retry") << int(QMessageBox::Retry) << u"重试"_s;
}

void TestAppWindow::standardButtonsInChinese()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    // The step start-up takes before any window.
    QVERIFY(AppWindow::installQtTranslations());
    QMessageBox box(QMessageBox::Question, u"提示"_s, u"?"_s, QMessageBox::StandardButton(button));
    box.show();
    // The mnemonic is Qt's own addition: "是(&Y)".
    static const QRegularExpression mnemonic(u"\\(&.\\)|&"_s);
    QCOMPARE(box.button(QMessageBox::StandardButton(button))->text().remove(mnemonic), text);
}

void TestAppWindow::webEngineForRoot()
{
    const QByteArray before = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    QCOMPARE(AppWindow::prepareWebEngine(1000), QString());
    QVERIFY(!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"));
    QCOMPARE(AppWindow::prepareWebEngine(0),
             u"Running as root: the web view starts without its sandbox."_s);
    QCOMPARE(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("1"));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", before);
}

QTEST_MAIN(TestAppWindow)
#include "tst_appwindow.moc"
