#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmybcgpgridview.h"
#include "ui/controls/cmychartview.h"
#include "ui/controls/cmyfilelistview.h"
#include "ui/controls/cmyhtmlview.h"
#include "ui/controls/cmytreeview.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QtCharts/QLineSeries>

using namespace Qt::StringLiterals;

namespace {

class AnsweringOwner : public IGridOwner
{
public:
    int OnGridBeginEdit(const GridItemInfo &) override { return 7; }
    int OnGridItemChanged(const GridItemInfo &) override { return 8; }
    int OnGridAfterEdit(const GridItemInfo &) override { return 0; }
};

} // namespace

// The views pass what happens in them to their owner and decide nothing themselves.
class TestRelayingViews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridViewAnswersForItsOwner();
    void treeView();
    void chartPointClickIsPostedWithACopy();
    void fileList();
    void htmlIsWrittenAsAscii();
};

void TestRelayingViews::gridViewAnswersForItsOwner()
{
    CMyBCGPGridView view;
    IGridOwner *relay = view.GetGridCtrl()->GetOwner();
    QVERIFY(relay);
    const GridItemInfo info;
    QCOMPARE(relay->OnGridBeginEdit(info), 0);
    QCOMPARE(relay->OnGridItemChanged(info), 0);
    QCOMPARE(relay->OnGridAfterEdit(info), 1);

    AnsweringOwner owner;
    view.SetOwner(&owner);
    QCOMPARE(relay->OnGridBeginEdit(info), 7);
    QCOMPARE(relay->OnGridItemChanged(info), 8);
    QCOMPARE(relay->OnGridAfterEdit(info), 0);

    QSignalSpy rightButton(&view, &CMyBCGPGridView::gridRButtonUp);
    QTest::mouseClick(view.GetGridCtrl()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(rightButton.size(), 1);
}

void TestRelayingViews::treeView()
{
    CMyTreeView tree;
    tree.resize(200, 200);
    auto *top = new QTreeWidgetItem(&tree, { u"总部"_s });
    top->setData(0, Qt::UserRole, 1);
    auto *child = new QTreeWidgetItem(top, { u"财务部"_s });
    child->setData(0, Qt::UserRole, 12);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));

    QList<TreeItemNotify> selections, expansions;
    QList<QTreeWidgetItem *> rightClicks;
    connect(&tree, &CMyTreeView::treeSelChanged, this,
            [&](const TreeItemNotify &n) { selections << n; });
    connect(&tree, &CMyTreeView::treeItemExpanding, this,
            [&](const TreeItemNotify &n) { expansions << n; });
    connect(&tree, &CMyTreeView::itemRClick, this, [&](QTreeWidgetItem *i) { rightClicks << i; });

    tree.expandItem(top);
    tree.collapseItem(top); // closing tells nothing
    tree.expandItem(top);
    QCOMPARE(expansions.size(), 2);
    QCOMPARE(expansions.first().itemData, 1);

    tree.setCurrentItem(top);
    selections.clear();
    // A right click selects the item first, then tells the owner.
    const QPoint onChild = tree.visualItemRect(child).center();
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, onChild);
    QCOMPARE(tree.currentItem(), child);
    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections.first().itemData, 12);
    QCOMPARE(selections.first().previous, top);
    QCOMPARE(rightClicks, QList<QTreeWidgetItem *>({ child }));
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, QPoint(150, 180));
    QCOMPARE(rightClicks.size(), 1);
}

void TestRelayingViews::chartPointClickIsPostedWithACopy()
{
    CMyChartView view;
    auto *series = new QLineSeries;
    series->setName(u"人数"_s);
    series->append({ QPointF(1, 10), QPointF(2, 30), QPointF(3, 20) });
    view.AddSeries(series);
    view.chart()->createDefaultAxes();
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QSignalSpy clicks(&view, &CMyChartView::chartPointClick);
    Q_EMIT series->released(QPointF(2.0, 30.2));
    QCOMPARE(clicks.size(), 0);                // posted: the owner hears of it afterwards
    Q_EMIT series->released(QPointF(1.5, 20)); // between the points: no hit
    QTRY_COMPARE(clicks.size(), 1);
    const auto hit = clicks.first().first().value<ChartPointHit>();
    QCOMPARE(hit.seriesIndex, 0);
    QCOMPARE(hit.seriesName, u"人数"_s);
    QCOMPARE(hit.pointIndex, 1);
    QCOMPARE(hit.value, QPointF(2, 30));
}

void TestRelayingViews::fileList()
{
    CMyFileListView list;
    QCOMPARE(list.headerItem()->text(0), u"名称"_s);
    QCOMPARE(list.headerItem()->text(1), u"路径"_s);
    list.AddFiles({ u"/tmp/a.txt"_s, u"/tmp/b.pdf"_s, u"/home/c.xlsx"_s });
    QStringList paths;
    list.GetFilePaths(paths);
    QCOMPARE(paths, QStringList({ u"/home/c.xlsx"_s, u"/tmp/b.pdf"_s, u"/tmp/a.txt"_s }));
    QCOMPARE(list.topLevelItem(0)->text(0), u"c.xlsx"_s);
    list.topLevelItem(1)->setSelected(true);
    list.RemoveSelectedAttachments();
    paths.clear();
    list.GetFilePaths(paths);
    QCOMPARE(paths, QStringList({ u"/home/c.xlsx"_s, u"/tmp/a.txt"_s }));
}

void TestRelayingViews::htmlIsWrittenAsAscii()
{
    QCOMPARE(CMyHtmlView::ToAsciiHtml(u"<b>工资 ok</b>"_s), "<b>&#x5DE5;&#x8D44; ok</b>");
    QCOMPARE(CMyHtmlView::ToAsciiHtml(u"a\u00e9\U0001F600"_s), "a&#x00E9;&#x1F600;");

    CMyHtmlView view;
    QVERIFY(view.ShowHtml(u"<p>姓名</p>"_s));
    QFile file(view.GetTempFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "<p>&#x59D3;&#x540D;</p>");
    file.close();
    QVERIFY(view.ShowHtml(QString()));
    QCOMPARE(QFileInfo(view.GetTempFilePath()).size(), 0);
    QString gonePath;
    {
        CMyHtmlView gone;
        QVERIFY(gone.ShowHtml(u"x"_s));
        gonePath = gone.GetTempFilePath();
        QVERIFY(gonePath != view.GetTempFilePath());
    }
    QVERIFY(!QFile::exists(gonePath));
    QVERIFY(QFile::exists(view.GetTempFilePath()));
}

QTEST_MAIN(TestRelayingViews)
#include "tst_relayingviews.moc"
