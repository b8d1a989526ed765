#include "ui/dialogs/cprogressdlg.h"

#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The progress window of long work on the user-interface thread.
class TestProgressDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void percentage_data();
    void percentage();
    void cancelKeepsTheWindowAndOwnerComesBack();
    void noCancel();
    void quitWhilePumping();
};

void TestProgressDlg::percentage_data()
{
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");

    QTest::newRow("half-way") << 0 << 100 << 50 << u"50 %"_s;
    QTest::newRow("high end") << 0 << 100 << 100 << u"100 %"_s;
    QTest::newRow("past the end") << 0 << 100 << 150 << u"50 %"_s;
    QTest::newRow("offset range") << 200 << 400 << 250 << u"25 %"_s;
    QTest::newRow("empty range, reached") << 5 << 5 << 5 << u"100 %"_s;
    QTest::newRow("empty range, before") << 5 << 5 << 4 << u"0 %"_s;
}

void TestProgressDlg::percentage()
{
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(int, position);
    QFETCH(QString, text);
    CProgressDlg dialog;
    tagProgressInfo info;
    info.rangeLow = low;
    info.rangeHigh = high;
    QVERIFY(dialog.Create(info, nullptr));
    QCOMPARE(dialog.GetPercentText(), low == high ? u"100 %"_s : u"0 %"_s);
    dialog.SetPos(position);
    QCOMPARE(dialog.GetPercentText(), text);
}

void TestProgressDlg::cancelKeepsTheWindowAndOwnerComesBack()
{
    QWidget owner;
    owner.show();
    {
        CProgressDlg dialog;
        tagProgressInfo info;
        info.caption = u"工资计算"_s;
        info.status = u"正在计算…"_s;
        QVERIFY(dialog.Create(info, &owner));
        QVERIFY(!owner.isEnabled());
        QVERIFY(dialog.isEnabled());
        QCOMPARE(dialog.windowTitle(), u"工资计算"_s);
        for (int step = 0; step < 3; ++step) {
            dialog.StepIt();
            QVERIFY(dialog.PumpMessages());
        }
        QCOMPARE(dialog.GetPercentText(), u"30 %"_s);
        QTest::mouseClick(dialog.findChild<QPushButton *>(), Qt::LeftButton);
        QVERIFY(dialog.IsCancelled());
        QVERIFY(dialog.isVisible()); // Cancel never closes it
        QVERIFY(dialog.PumpMessages());
        dialog.DestroyWindow();
        QVERIFY(owner.isEnabled());
        QVERIFY(!dialog.PumpMessages());
    }
    QVERIFY(owner.isEnabled());
}

void TestProgressDlg::noCancel()
{
    CProgressDlg dialog;
    tagProgressInfo info;
    info.allowCancel = 0;
    info.disableOwner = 0;
    info.secondText = u"第二行"_s;
    QVERIFY(dialog.Create(info, nullptr));
    QVERIFY(!dialog.findChild<QPushButton *>()->isVisible());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    dialog.close();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.IsCancelled());
}

void TestProgressDlg::quitWhilePumping()
{
    CProgressDlg dialog;
    QVERIFY(dialog.Create(tagProgressInfo(), nullptr));
    QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
    QVERIFY(!dialog.PumpMessages());
    // The request is posted again for the main loop.
    struct QuitSpy : QObject
    {
        bool seen = false;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (watched == qApp && event->type() == QEvent::Quit)
                seen = true;
            return seen;
        }
    } spy;
    qApp->installEventFilter(&spy);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&spy);
    QVERIFY(spy.seen);
}

QTEST_MAIN(TestProgressDlg)
#include "tst_progressdlg.moc"
