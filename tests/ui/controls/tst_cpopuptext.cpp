#include "ui/controls/cpopuptext.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

// The shared one-line tip: delayed showing, fitting its text, hiding when the mouse leaves.
class TestPopupText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneSharedTipGoesWithItsOwner();
    void fitsItsText();
    void cancelledWithinTheDelayNeverShows();
    void staysWhileTheMouseIsOverItOrItsOwner();
    void hidesWhenTheMouseLeavesOrOnAClick();
};

void TestPopupText::oneSharedTipGoesWithItsOwner()
{
    QPointer<CPopupText> tip;
    {
        QWidget owner;
        tip = CPopupText::Create(&owner, QPoint(10, 10));
        QCOMPARE(CPopupText::Shared(), tip.data());
        QWidget other;
        QCOMPARE(CPopupText::Create(&other, QPoint(50, 50)), tip.data());
        QCOMPARE(tip->owner(), &other);
        QCOMPARE(tip->pos(), QPoint(10, 10));
        QVERIFY(tip->windowFlags() & Qt::ToolTip);
        QVERIFY(tip->testAttribute(Qt::WA_ShowWithoutActivating));
    }
    QVERIFY(tip.isNull());
    QCOMPARE(CPopupText::Shared(), nullptr);
}

void TestPopupText::fitsItsText()
{
    QWidget owner;
    CPopupText *tip = CPopupText::Create(&owner, QPoint(100, 40));
    const QString text = u"一个很长很长的部门名称 A long department name"_s;
    tip->SetText(text);
    const QFontMetrics metrics(tip->font());
    QCOMPARE(tip->width(), metrics.horizontalAdvance(text) + 8);
    QCOMPARE(tip->height(), metrics.height() + 8);
    QCOMPARE(tip->x(), 100);

    // Right-justified, it grows to the left and keeps its right edge.
    const int right = tip->geometry().right();
    tip->SetRightJustified(true);
    tip->SetText(text + text);
    QCOMPARE(tip->geometry().right(), right);
    QCOMPARE(tip->width(), metrics.horizontalAdvance(text + text) + 8);
}

void TestPopupText::cancelledWithinTheDelayNeverShows()
{
    QWidget owner;
    CPopupText *tip = CPopupText::Create(&owner, QPoint(0, 0));
    tip->SetText(u"提示"_s);
    tip->ShowDelayed();
    QVERIFY(tip->isShowPending());
    QTest::qWait(CPopupText::DelayMs / 4);
    tip->Cancel();
    QTest::qWait(CPopupText::DelayMs * 2);
    QVERIFY(!tip->isVisible());
}

void TestPopupText::staysWhileTheMouseIsOverItOrItsOwner()
{
    QWidget owner;
    owner.setGeometry(100, 100, 200, 100);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    CPopupText *tip = CPopupText::Create(&owner, QPoint(150, 150));
    tip->SetText(u"提示"_s);
    QCursor::setPos(owner.mapToGlobal(QPoint(5, 5)));
    tip->ShowDelayed();
    QTRY_VERIFY(tip->isVisible());
    QCursor::setPos(tip->geometry().center());
    QTest::qWait(CPopupText::DelayMs * 2);
    QVERIFY(tip->isVisible());
    QVERIFY(!tip->wasLeft());
}

void TestPopupText::hidesWhenTheMouseLeavesOrOnAClick()
{
    QWidget owner;
    owner.setGeometry(100, 100, 200, 100);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    CPopupText *tip = CPopupText::Create(&owner, QPoint(150, 150));
    tip->SetText(u"提示"_s);
    QCursor::setPos(owner.mapToGlobal(QPoint(5, 5)));
    tip->ShowDelayed();
    QTRY_VERIFY(tip->isVisible());
    QCursor::setPos(QPoint(700, 500));
    QTRY_VERIFY_WITH_TIMEOUT(!tip->isVisible(), CPopupText::DelayMs * 3);
    QVERIFY(tip->wasLeft());

    QCursor::setPos(owner.mapToGlobal(QPoint(5, 5)));
    tip->ShowDelayed();
    QVERIFY(!tip->wasLeft());
    QTRY_VERIFY(tip->isVisible());
    QTest::mouseClick(tip, Qt::LeftButton);
    QVERIFY(!tip->isVisible());
}

QTEST_MAIN(TestPopupText)
#include "tst_cpopuptext.moc"
