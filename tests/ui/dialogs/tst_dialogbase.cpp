#include "core/util/profile.h"
#include "ui/controls/ctransparentpic.h"
#include "ui/controls/looktheme.h"
#include "ui/controls/screenplacement.h"
#include "ui/dialogs/caboutdlg.h"
#include "ui/dialogs/cdialogexx.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDialogBase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(u"MorvelSoftTest"_s);
    }
    void placementIsRemembered();
    void formZeroRemembersNothing();
    void maximisedKeepsLastNormalPlace();
    void lostScreenComesBack();
    void versionSplit_data();
    void versionSplit();
    void transparentPicture();
    void looks();
};

void TestDialogBase::placementIsRemembered()
{
    {
        CDialogExx dialog(7, 1);
        dialog.show();
        dialog.setGeometry(40, 50, 320, 200);
        dialog.reject();
    }
    QVERIFY(Profile::contains(u"Dlgs/Form-7-1"_s, u"Width"_s));
    CDialogExx again(7, 1);
    again.show();
    QCOMPARE(again.frameGeometry().size(),
             QSize(Profile::getInt(u"Dlgs/Form-7-1"_s, u"Width"_s, 0),
                   Profile::getInt(u"Dlgs/Form-7-1"_s, u"Height"_s, 0)));
    again.accept();
}

void TestDialogBase::formZeroRemembersNothing()
{
    {
        CDialogExx dialog(0, 0);
        dialog.show();
        dialog.reject();
    }
    QVERIFY(!Profile::contains(u"Dlgs/Form-0-0"_s, u"Maximize"_s));
}

void TestDialogBase::maximisedKeepsLastNormalPlace()
{
    Profile::writeInt(u"Dlgs/Form-8-0"_s, u"Width"_s, 333);
    {
        CDialogExx dialog(8, 0);
        dialog.show();
        dialog.showMaximized();
        QTRY_VERIFY(dialog.isMaximized());
        dialog.reject();
    }
    QCOMPARE(Profile::getInt(u"Dlgs/Form-8-0"_s, u"Maximize"_s, 0), 1);
    QCOMPARE(Profile::getInt(u"Dlgs/Form-8-0"_s, u"Width"_s, 0), 333);
}

void TestDialogBase::lostScreenComesBack()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed
        = keepOnScreen(QRect(screen.right() + 5000, screen.bottom() + 5000, 300, 200));
    QVERIFY(screen.contains(placed));
    QCOMPARE(placed.size(), QSize(300, 200));
    const QRect huge = keepOnScreen(QRect(0, 0, screen.width() * 3, screen.height() * 3));
    QVERIFY(screen.contains(huge));
}

void TestDialogBase::versionSplit_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("four parts") << u"1.2.3.4"_s << u"1.2.3"_s << u"4"_s;
    QTest::newRow("no dot") << u"12"_s << QString() << u"12"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestDialogBase::versionSplit()
{
    QFETCH(QString, version);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const auto [a, b] = CAboutDlg::splitVersion(version);
    QCOMPARE(a, first);
    QCOMPARE(b, last);
}

void TestDialogBase::transparentPicture()
{
    CTransparentPic pic;
    pic.SetBitmap(548);
    QVERIFY(!CTransparentPic::loadTransparent(548).isNull());
    QCOMPARE(pic.size(), CTransparentPic::loadTransparent(548).size());
    const QSize size = pic.size();
    pic.SetBitmap(99999); // no such bitmap: the size stays, "ERROR!" is drawn
    QCOMPARE(pic.size(), size);
    QVERIFY(CTransparentPic::loadTransparent(99999).isNull());
    QVERIFY(!pic.grab().isNull());
}

void TestDialogBase::looks()
{
    LookTheme::apply(216); // Office 2007, black
    QCOMPARE(LookTheme::current(), 216);
    const QColor black = QApplication::palette().color(QPalette::Window);
    LookTheme::apply(210);
    QCOMPARE(LookTheme::current(), 210);
    QVERIFY(QApplication::palette().color(QPalette::Window) != black);
    // Disabled commands look disabled in every look.
    for (int id = 210; id <= 218; ++id) {
        LookTheme::apply(id);
        const QPalette p = QApplication::palette();
        QVERIFY2(p.color(QPalette::Disabled, QPalette::ButtonText)
                     != p.color(QPalette::Active, QPalette::ButtonText),
                 qPrintable(QString::number(id)));
    }
    LookTheme::apply(216);
    // An unknown id gives the Office 2007 look in the colour it had last.
    LookTheme::apply(219);
    QCOMPARE(LookTheme::current(), 216);
    QCOMPARE(QApplication::palette().color(QPalette::Window), black);
}

QTEST_MAIN(TestDialogBase)
#include "tst_dialogbase.moc"
