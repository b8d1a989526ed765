#include "personnel/ui/cpanetoolbar.h"

#include <QAction>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A pane that enables the commands it is told to.
class Answering : public QWidget, public IPaneCmdUI
{
public:
    QSet<int> enabled;
    bool IsPaneCommandEnabled(int id) const override { return enabled.contains(id); }
};

QString states(const CPaneToolBar &bar)
{
    QString text;
    for (const QAction *a : bar.commands())
        text += a->isEnabled() ? u'1' : u'0';
    return text;
}

} // namespace

class TestPaneToolBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void whoEnables_data();
    void whoEnables();
    void updatesWhenShown();
};

void TestPaneToolBar::whoEnables_data()
{
    QTest::addColumn<bool>("withOwner");
    QTest::addColumn<bool>("parentAnswers");
    QTest::addColumn<QString>("expected");
    // The owner decides over the parents; without an owner the nearest answering parent does;
    // with no one to ask the buttons stay as they were (all enabled).
    QTest::newRow("owner") << true << true << u"010"_s;
    QTest::newRow("parent") << false << true << u"101"_s;
    QTest::newRow("nobody") << false << false << u"111"_s;
}

void TestPaneToolBar::whoEnables()
{
    QFETCH(bool, withOwner);
    QFETCH(bool, parentAnswers);
    QFETCH(QString, expected);
    Answering owner;
    owner.enabled = { 2 };
    Answering pane;
    pane.enabled = { 1, 3 };
    QWidget plain;
    QWidget *outer = parentAnswers ? static_cast<QWidget *>(&pane) : &plain;
    // The toolbar sits in a plain body widget inside the pane, as in the panes.
    auto *body = new QWidget(outer);
    auto *bar = new CPaneToolBar(body);
    for (const int id : { 1, 2, 3 })
        bar->AddCommand(id, u"c%1"_s.arg(id));
    bar->addSeparator();
    if (withOwner)
        bar->SetOwner(&owner);
    bar->UpdateCmdUI();
    QCOMPARE(states(*bar), expected);
    QCOMPARE(bar->command(2)->text(), u"c2"_s);
    QVERIFY(!bar->command(4));
}

void TestPaneToolBar::updatesWhenShown()
{
    Answering pane;
    auto *layout = new QVBoxLayout(&pane);
    auto *bar = new CPaneToolBar;
    layout->addWidget(bar);
    bar->AddCommand(7, u"seven"_s);
    pane.enabled = { 7 };
    bar->UpdateCmdUI();
    pane.enabled.clear();
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(states(*bar), u"0"_s);
}

QTEST_MAIN(TestPaneToolBar)
#include "tst_panetoolbar.moc"
