#include "core/app/currentuser.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"
#include "ui/controls/ceditbrowsectrlpsn.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using Picker = CEditBrowseDropCtrl;

namespace {

// A dialog holding one picker followed by a plain edit; it records the picker's notifications.
struct Dialog
{
    explicit Dialog(Picker *control) : picker(control)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(picker);
        layout->addWidget(next);
        QObject::connect(picker, &Picker::comboNotify, [this](int code) { codes << code; });
        window.resize(300, 120);
        window.show();
        QApplication::setActiveWindow(&window);
        picker->setFocus();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window) && picker->hasFocus(); }

    QList<int> codes; // outlives the window, which the picker may notify while it goes
    QWidget window;
    Picker *picker;
    QLineEdit *next = new QLineEdit;
};

QTreeWidgetItem *current(CEditBrowseTreeCtrl *picker)
{
    return picker->GetDropTree()->currentItem();
}

} // namespace

class TestPickers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void placement_data();
    void placement();
    void departmentByKeyboard();
    void categoryReopensOnPickAndEscapeKeepsIt();
    void dictionaryLevelsLoadOnceOnExpand();
    void personByTypingPartOfName();
    void personProcedureFilters();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPickers::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestPickers::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    const QStringList seed = {
        u"INSERT INTO qz_Dept (ParentID, Name, Ord) VALUES (0, '人事部', 1), (0, '财务部', 2)"_s,
        u"INSERT INTO qz_Dept (ParentID, Name, Ord) VALUES (2, '会计科', 1)"_s,
        u"INSERT INTO qz_PsnSort (Name, Ord) VALUES ('正式工', 1), ('临时工', 2)"_s,
        u"INSERT INTO qz_DictItem (DictId, DictValue, ParentValue, Title, Active) VALUES"
        " ('EDU', '1', '', '高等教育', 1), ('EDU', '2', '', '中等教育', 1),"
        " ('EDU', '11', '1', '研究生', 1), ('EDU', '111', '11', '博士', 1),"
        " ('EDU', '12', '1', '本科', 0)"_s,
        u"INSERT INTO qz_PsnBase (DID, AID, Number, Name, IDNumber, Ord) VALUES"
        " (1, 1, '001', 'Chen Wei', '110101198001010011', 1),"
        " (3, 2, '002', 'Li Na', '110101198502020022', 2),"
        " (2, 1, '003', 'Wang Xiaoming', '11010119900303003X', 3)"_s,
        u"INSERT INTO qz_WagePsn (SID, PID) VALUES (5, 1), (5, 3)"_s,
    };
    for (const QString &sql : seed)
        QVERIFY2(theDatabase.Execute(sql), qPrintable(sql));
    theCurrentUser = CCurrentUser(u"admin"_s, {}, 1);
    theCurrentUser.ParsePurview({});
}

void TestPickers::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestPickers::placement_data()
{
    QTest::addColumn<QRect>("edit");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("expected");
    const QSize list(200, 300);
    QTest::newRow("below, right-aligned")
        << QRect(400, 100, 150, 20) << list << QRect(350, 120, 200, 300);
    QTest::newRow("left edge keeps a margin")
        << QRect(20, 100, 100, 20) << list << QRect(10, 120, 200, 300);
    QTest::newRow("half free below: ends at the bottom")
        << QRect(400, 580, 150, 20) << list << QRect(350, 600, 200, 168);
    QTest::newRow("less than half free: opens above")
        << QRect(400, 650, 150, 20) << list << QRect(350, 350, 200, 300);
}

void TestPickers::placement()
{
    QFETCH(QRect, edit);
    QFETCH(QSize, size);
    QFETCH(QRect, expected);
    QCOMPARE(Picker::DropDownRect(edit, size, QRect(0, 0, 1024, 768)), expected);
}

void TestPickers::departmentByKeyboard()
{
    auto *dept = new CDropDownListDept;
    Dialog dialog(dept);
    QCOMPARE(dept->Initialize(), 1);
    QVERIFY(dialog.ready());
    QVERIFY(dept->isReadOnly());
    QCOMPARE(current(dept)->text(0), u"<全体部门>"_s);

    QTest::keyClick(dept, Qt::Key_F4);
    QVERIFY(dept->IsDropped());
    QVERIFY(dept->GetDropTree()->isVisible());
    QVERIFY(dept->GetDropTree()->width() >= 200);
    QTest::keyClick(dept, Qt::Key_Down);
    QTest::keyClick(dept, Qt::Key_Down);
    QTest::keyClick(dept, Qt::Key_Down);
    QTest::keyClick(dept, Qt::Key_Up, Qt::AltModifier);
    QVERIFY(!dept->IsDropped());
    QCOMPARE(dept->text(), u"会计科"_s);
    QCOMPARE(dept->GetSelectedDept(), 3);
    const QList<int> expected
        = { Picker::CBN_DROPDOWN, Picker::CBN_SELCHANGE, Picker::CBN_SELCHANGE,
            Picker::CBN_SELCHANGE, Picker::CBN_SELENDOK };
    QCOMPARE(dialog.codes, expected);
    // A read-only picker shows its choice in the selection colours while it keeps the focus.
    QVERIFY(dept->IsHighlighted());

    // Tab while dropped accepts and moves on.
    QTest::keyClick(dept, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(dept, Qt::Key_Up);
    QTest::keyClick(dept, Qt::Key_Tab);
    QCOMPARE(dept->text(), u"财务部"_s);
    QTRY_VERIFY(dialog.next->hasFocus());
    QVERIFY(!dept->IsHighlighted());
}

void TestPickers::categoryReopensOnPickAndEscapeKeepsIt()
{
    auto *sort = new CEditBrowseCtrlFromDB(nullptr, CEditBrowseCtrlFromDB::PsnSorts, {}, true);
    Dialog dialog(sort);
    QVERIFY(dialog.ready());
    QCOMPARE(sort->placeholderText(), u"<请选择...>"_s);
    QTest::keyClick(sort, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(sort->IsDropped());
    QCOMPARE(current(sort)->text(0), u"<请选择...>"_s);
    QTest::keyClick(sort, Qt::Key_Down);
    QTest::keyClick(sort, Qt::Key_Down);
    QTest::keyClick(sort, Qt::Key_Return);
    QCOMPARE(sort->text(), u"临时工"_s);
    QCOMPARE(sort->GetPickedValue(), 2);

    // Reopened on the pick; Escape leaves text and value as they were.
    dialog.codes.clear();
    QTest::keyClick(sort, Qt::Key_F4);
    QCOMPARE(current(sort)->text(0), u"临时工"_s);
    QTest::keyClick(sort, Qt::Key_Up);
    QTest::keyClick(sort, Qt::Key_Escape);
    QVERIFY(!sort->IsDropped());
    QVERIFY(!sort->GetDropTree()->isVisible());
    QCOMPARE(sort->text(), u"临时工"_s);
    QCOMPARE(sort->GetPickedValue(), 2);
    const QList<int> expected
        = { Picker::CBN_DROPDOWN, Picker::CBN_SELCHANGE, Picker::CBN_SELENDCANCEL };
    QCOMPARE(dialog.codes, expected);

    // Leaving the picker while dropped closes the list without a choice.
    dialog.codes.clear();
    QTest::keyClick(sort, Qt::Key_F4);
    dialog.next->setFocus();
    QVERIFY(!sort->IsDropped());
    const QList<int> closed
        = { Picker::CBN_DROPDOWN, Picker::CBN_KILLFOCUS, Picker::CBN_SELENDCANCEL };
    QCOMPARE(dialog.codes, closed);
}

void TestPickers::dictionaryLevelsLoadOnceOnExpand()
{
    auto *dict
        = new CEditBrowseCtrlFromDB(nullptr, CEditBrowseCtrlFromDB::Dictionary, u"EDU"_s, false);
    Dialog dialog(dict);
    QVERIFY(dialog.ready());
    QTest::keyClick(dict, Qt::Key_F4);
    QTreeWidgetItem *root = dict->GetDropTree()->topLevelItem(0);
    QCOMPARE(root->childCount(), 2);
    QTreeWidgetItem *higher = root->child(0);
    QCOMPARE(higher->text(0), u"高等教育"_s);
    QCOMPARE(higher->childCount(), 0); // not read before it opens

    QTest::keyClick(dict, Qt::Key_Down);
    QTest::keyClick(dict, Qt::Key_Right);
    QCOMPARE(higher->childCount(), 1); // the inactive 本科 stays out
    QVERIFY(higher->isExpanded());
    QTest::keyClick(dict, Qt::Key_Down);
    QTest::keyClick(dict, Qt::Key_Right);
    QTest::keyClick(dict, Qt::Key_Down);
    QCOMPARE(current(dict)->text(0), u"博士"_s);
    QTest::keyClick(dict, Qt::Key_Enter);
    QCOMPARE(dict->text(), u"博士"_s);
    QCOMPARE(dict->selectedText(), u"博士"_s);
    QTreeWidgetItem *doctor = current(dict);
    QCOMPARE(dict->GetPickedValue(), doctor->data(0, Qt::UserRole).toInt());

    // Closing and opening a level again reads nothing more.
    QTest::keyClick(dict, Qt::Key_F4);
    QCOMPARE(current(dict), doctor);
    QTest::keyClick(dict, Qt::Key_Left); // to 研究生
    QTest::keyClick(dict, Qt::Key_Left); // collapse it
    QVERIFY(!doctor->parent()->isExpanded());
    QTest::keyClick(dict, Qt::Key_Right);
    QVERIFY(doctor->parent()->isExpanded());
    QCOMPARE(doctor->parent()->childCount(), 1);
    QCOMPARE(higher->childCount(), 1);
    QTest::keyClick(dict, Qt::Key_Escape);
    QCOMPARE(dict->text(), u"博士"_s);
}

void TestPickers::personByTypingPartOfName()
{
    auto *psn = new CEditBrowseCtrlPSN(nullptr, 7, u"QZ_PSNBASE.NAME"_s, false);
    psn->SetMinDropWidth(320);
    Dialog dialog(psn);
    QVERIFY(dialog.ready());
    QTest::keyClick(psn, Qt::Key_F4);
    QVERIFY(psn->IsDropped());
    CBCGPADOGridCtrl *grid = psn->GetGrid();
    QCOMPARE(grid->GetRowCount(), 3);
    QVERIFY(grid->isColumnHidden(0));
    QVERIFY(grid->isColumnHidden(5));
    QVERIFY(grid->GetGridModel()->columnFormat(2).bold);
    QCOMPARE(grid->window()->width(), qMax(psn->width(), 320));
    QCOMPARE(grid->window()->height(), 400);

    QTest::keyClicks(psn, u"xiao"_s);
    QCOMPARE(grid->GetCurSel(), 2);
    QTest::keyClick(psn, Qt::Key_Return);
    QCOMPARE(psn->text(), u"Wang Xiaoming"_s);
    QCOMPARE(psn->GetPersonId(), 3);
    QCOMPARE(dialog.codes.last(), int(Picker::CBN_SELENDOK));

    // The number, the hidden identity-card number, then a part of a name; Escape restores.
    QTest::keyClick(psn, Qt::Key_F4);
    QTest::keyClicks(psn, u"002"_s);
    QCOMPARE(grid->GetCurSel(), 1);
    psn->selectAll();
    QTest::keyClicks(psn, u"110101198001010011"_s);
    QCOMPARE(grid->GetCurSel(), 0);
    QTest::keyClick(psn, Qt::Key_Down);
    QCOMPARE(grid->GetCurSel(), 1);
    QTest::keyClick(psn, Qt::Key_Escape);
    QCOMPARE(psn->text(), u"Wang Xiaoming"_s);
    QCOMPARE(psn->GetPersonId(), 3);
    QCOMPARE(dialog.codes.last(), int(Picker::CBN_SELENDCANCEL));
}

void TestPickers::personProcedureFilters()
{
    auto run = [](int sid, int all, const QString &depts) {
        CADOCommand command(&theDatabase, u"qz_SelectPsnForEditBrowseCtrl"_s);
        command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
        command.AddParameterInt(u"AllDepts"_s, adInteger, adParamInput, 4, all);
        command.AddParameterText(u"DeptIds"_s, adVarChar, adParamInput, 100, depts);
        QStringList names;
        if (!command.Execute())
            return QStringList { command.GetLastErrorString() };
        const vantrel::db::RowSet rows = command.TakeResultSet();
        for (int row = 0; row < rows.rowCount(); ++row)
            names << rows.text(row, 2);
        return names;
    };
    QCOMPARE(run(0, 1, {}), QStringList({ u"Chen Wei"_s, u"Li Na"_s, u"Wang Xiaoming"_s }));
    QCOMPARE(run(5, 1, {}), QStringList({ u"Chen Wei"_s, u"Wang Xiaoming"_s }));
    QCOMPARE(run(0, 0, u"1,3,"_s), QStringList({ u"Chen Wei"_s, u"Li Na"_s }));
    QCOMPARE(run(5, 0, u"3"_s), QStringList());
    // Text in the list is no SQL: it is dropped, and with it every row.
    QCOMPARE(run(0, 0, u"1) OR (1=1"_s), QStringList());
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
