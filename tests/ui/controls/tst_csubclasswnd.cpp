#include "ui/controls/combogridhook.h"
#include "ui/controls/combotreetip.h"
#include "ui/controls/cpopuptext.h"
#include "ui/controls/csubclasswnd.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

// Writes down the events it sees, then passes them on.
class Recorder : public CSubclassWnd
{
public:
    Recorder(QString name, QStringList &log) : m_name(std::move(name)), m_log(log) { }

protected:
    bool WindowProc(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            m_log << m_name;
        return CSubclassWnd::WindowProc(event);
    }

private:
    QString m_name;
    QStringList &m_log;
};

// A window that writes down what reaches it.
class Target : public QWidget
{
public:
    explicit Target(QStringList &log) : m_log(log) { }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            m_log << u"window"_s;
        return QWidget::event(event);
    }

private:
    QStringList &m_log;
};

// Counts the wheel events that get past the hooks.
class WheelCounter : public QObject
{
public:
    int wheels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        wheels += event->type() == QEvent::Wheel ? 1 : 0;
        return false;
    }
};

QStringList deliver(QWidget &window, QStringList &log)
{
    log.clear();
    QEvent user(QEvent::User);
    QApplication::sendEvent(&window, &user);
    return log;
}

} // namespace

// Hooks on windows the hooks do not own, and the two kinds the pickers use.
class TestSubclassWnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hooksChainNewestFirst();
    void destroyedWindowUnhooksAll();
    void pickerDialogWatch();
    void treeTipOnlyForCutText();
};

void TestSubclassWnd::hooksChainNewestFirst()
{
    QStringList log;
    Target window(log);
    Recorder older(u"older"_s, log);
    Recorder newer(u"newer"_s, log);
    QVERIFY(older.HookWindow(&window));
    QVERIFY(newer.HookWindow(&window));
    QCOMPARE(CSubclassWnd::newestHook(&window), &newer);
    QCOMPARE(deliver(window, log), (QStringList { u"newer"_s, u"older"_s, u"window"_s }));

    older.HookWindow(nullptr);
    QCOMPARE(deliver(window, log), (QStringList { u"newer"_s, u"window"_s }));
    QVERIFY(!older.hookedWindow());
    newer.HookWindow(nullptr);
    QCOMPARE(CSubclassWnd::newestHook(&window), nullptr);
    QCOMPARE(deliver(window, log), QStringList { u"window"_s });

    {
        Recorder passing(u"passing"_s, log);
        passing.HookWindow(&window);
        newer.HookWindow(&window);
    } // a hook that goes unhooks itself
    QCOMPARE(deliver(window, log), (QStringList { u"newer"_s, u"window"_s }));
}

void TestSubclassWnd::destroyedWindowUnhooksAll()
{
    QStringList log;
    Recorder first(u"first"_s, log);
    Recorder second(u"second"_s, log);
    {
        Target window(log);
        first.HookWindow(&window);
        second.HookWindow(&window);
    }
    QVERIFY(!first.hookedWindow());
    QVERIFY(!second.hookedWindow());
    Target next(log);
    first.HookWindow(&next);
    QCOMPARE(deliver(next, log), (QStringList { u"first"_s, u"window"_s }));
}

void TestSubclassWnd::pickerDialogWatch()
{
    QWidget dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *picker = new QLineEdit(&dialog);
    auto *other = new QPushButton(u"其他"_s, &dialog);
    layout->addWidget(picker);
    layout->addWidget(other);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QWidget list(nullptr, Qt::Tool);
    list.show();

    WheelCounter counter;
    dialog.installEventFilter(&counter); // the hook, installed later, sees events first
    int closed = 0;
    ComboGridHook hook(picker, [&] { ++closed; });
    hook.setDroppedList(&list);
    hook.HookWindow(&dialog);

    // The wheel over the dialog does nothing while the list is down.
    QWheelEvent wheel(QPointF(5, 5), dialog.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCOMPARE(CSubclassWnd::newestHook(&dialog), &hook);
    QApplication::sendEvent(&dialog, &wheel);
    QCOMPARE(counter.wheels, 0);
    QCOMPARE(closed, 0);

    QTest::mouseClick(picker, Qt::LeftButton);
    QTest::mouseClick(&list, Qt::LeftButton);
    QCOMPARE(closed, 0);
    QTest::mouseClick(other, Qt::LeftButton);
    QVERIFY(closed > 0);

    closed = 0;
    dialog.move(dialog.pos() + QPoint(30, 20));
    QTRY_VERIFY(closed > 0);
    closed = 0;
    QTest::keyClick(&dialog, Qt::Key_Alt, Qt::AltModifier);
    QVERIFY(closed > 0);

    closed = 0;
    hook.HookWindow(nullptr);
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(closed, 0);
    QApplication::sendEvent(&dialog, &wheel);
    QCOMPARE(counter.wheels, 1);
}

void TestSubclassWnd::treeTipOnlyForCutText()
{
    QStandardItemModel model;
    model.appendRow(new QStandardItem(u"短"_s));
    model.appendRow(new QStandardItem(u"一个非常非常非常非常长的部门名称，树窄得放不下它"_s));
    QTreeView tree;
    tree.setHeaderHidden(true);
    tree.setModel(&model);
    tree.setGeometry(100, 100, 120, 200);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    auto *tip = new ComboTreeTip;
    InstallTreeTip(&tree, tip);
    CPopupText *popup = CPopupText::Shared();
    QVERIFY(popup);
    QCOMPARE(popup->owner(), &tree);

    const QPoint shortItem = tree.visualRect(model.index(0, 0)).topLeft() + QPoint(10, 4);
    QCursor::setPos(tree.viewport()->mapToGlobal(shortItem));
    QTest::mouseMove(tree.viewport(), shortItem);
    QTest::qWait(CPopupText::DelayMs * 2);
    QVERIFY(!popup->isVisible());

    const QRect longRect = tree.visualRect(model.index(1, 0));
    const QPoint longItem = longRect.topLeft() + QPoint(10, 4);
    QCursor::setPos(tree.viewport()->mapToGlobal(longItem));
    QTest::mouseMove(tree.viewport(), longItem);
    QTRY_VERIFY(popup->isVisible());
    QCOMPARE(popup->text(), model.item(1)->text());
    QVERIFY(popup->width() > tree.viewport()->width());
    QCOMPARE(popup->y(), tree.viewport()->mapToGlobal(longRect.topLeft()).y() - 2);

    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, longItem);
    QVERIFY(!popup->isVisible());
}

QTEST_MAIN(TestSubclassWnd)
#include "tst_csubclasswnd.moc"
