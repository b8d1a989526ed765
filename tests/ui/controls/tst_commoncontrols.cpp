#include "ui/controls/cmylistctrl.h"
#include "ui/controls/cmymfctabctrl.h"
#include "ui/controls/cmytoolbarlabel.h"
#include "ui/controls/cmytreectrl.h"

#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

using namespace Qt::StringLiterals;

class TestCommonControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void droppedFilesOneNotificationEach();
    void treeDropNamesDraggedAndTarget();
    void tabActivation();
    void disabledLabelKeepsItsColour();
};

void TestCommonControls::droppedFilesOneNotificationEach()
{
    CMyListCtrl list;
    list.resize(200, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy added(&list, &CMyListCtrl::dropFileAdd);
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(u"/tmp/a.doc"_s), QUrl::fromLocalFile(u"/tmp/b c.pdf"_s),
                   QUrl(u"https://example.org/x"_s), QUrl::fromLocalFile(u"/tmp/薪资.xlsx"_s) });
    const QPointF at = list.viewport()->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(added.count(), 3);
    QCOMPARE(added.at(0).at(0).toString(), u"/tmp/a.doc"_s);
    QCOMPARE(added.at(1).at(0).toString(), u"/tmp/b c.pdf"_s);
    QCOMPARE(added.at(2).at(0).toString(), u"/tmp/薪资.xlsx"_s);
    QCOMPARE(list.topLevelItemCount(), 0);
}

void TestCommonControls::treeDropNamesDraggedAndTarget()
{
    CMyTreeCtrl tree;
    auto *a = new QTreeWidgetItem(&tree, { u"A"_s });
    auto *b = new QTreeWidgetItem(&tree, { u"B"_s });
    new QTreeWidgetItem(b, { u"B1"_s });
    tree.resize(200, 300);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy drops(&tree, &CMyTreeCtrl::treeDrop);

    tree.BeginDrag(a);
    QMimeData data;
    const QPoint overB = tree.visualItemRect(b).center();
    QDragEnterEvent enter(overB, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(overB, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &move);
    QCOMPARE(tree.dropTarget(), b);
    // Released over empty space: the last item passed over is the target.
    QDropEvent drop(QPointF(100, 290), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    QCOMPARE(drops.count(), 1);
    QCOMPARE(drops.first().at(0).value<QTreeWidgetItem *>(), a);
    QCOMPARE(drops.first().at(1).value<QTreeWidgetItem *>(), b);
    QVERIFY(b->isExpanded());
    QVERIFY(!tree.IsDragging());
    QCOMPARE(tree.topLevelItemCount(), 2); // the tree moved nothing itself
}

void TestCommonControls::tabActivation()
{
    CMyMFCTabCtrl tabs;
    tabs.addTab(new QWidget, u"基本"_s);
    tabs.addTab(new QWidget, u"薪资"_s);
    QSignalSpy activated(&tabs, &CMyMFCTabCtrl::tabActivated);
    tabs.setCurrentIndex(1);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.first().first().toInt(), 1);
}

void TestCommonControls::disabledLabelKeepsItsColour()
{
    QToolBar bar;
    auto *label = new CMyToolbarLabel(u"检索："_s, &bar);
    bar.addAction(label);
    label->setEnabled(false);
    auto *widget = qobject_cast<QLabel *>(bar.widgetForAction(label));
    QVERIFY(widget);
    QCOMPARE(widget->text(), u"检索："_s);
    QVERIFY(!widget->isEnabled());
    QCOMPARE(widget->palette().color(QPalette::Disabled, QPalette::WindowText),
             widget->palette().color(QPalette::Active, QPalette::WindowText));
}

QTEST_MAIN(TestCommonControls)
#include "tst_commoncontrols.moc"
