#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"
#include "ui/controls/ceditbrowsectrlpsn.h"
#include "ui/controls/ceditlblctl.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QGridLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

tagVANTRELITEMINFO item(short type, const QString &alias, int notNull = 0,
                        const QString &idRef = {})
{
    tagVANTRELITEMINFO info;
    info.iDataType = type;
    info.Alias = alias;
    info.bNotNull = notNull;
    info.IdRef = idRef;
    return info;
}

// What a generated form does: one field per item of the table in two columns, Enter moving to
// the next field.
class Form : public QWidget
{
public:
    explicit Form(const CItemInfoArray &items)
    {
        auto *layout = new QGridLayout(this);
        for (int i = 0; i < items.size(); ++i) {
            auto *field = new CEditlblCtl(items[i], i, this);
            field->setFixedSize(300, 24);
            layout->addWidget(field, i / 2, i % 2);
            connect(field, &CEditlblCtl::nextItem, this, [this](int index) {
                if (index + 1 < fields.size())
                    fields[index + 1]->setFocus();
            });
            fields << field;
        }
    }
    QList<CEditlblCtl *> fields;
};

// The items a form of the table shows, as the form loader reads them.
CItemInfoArray formItems(const QString &table)
{
    CItemInfoArray items;
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT Alias, bNotNull, IdRef, iDataType FROM qz_Items WHERE TblName = ?"
                 " AND iDataType <> 5 AND iFlag <> 2 ORDER BY Ord"_s,
                 { table }))
        return items;
    for (; !rs.IsEof(); rs.MoveNext()) {
        QString alias, idRef;
        int notNull = 0, type = 0;
        rs.GetFieldValueText(0, alias);
        rs.GetFieldValueInt(1, notNull);
        rs.GetFieldValueText(2, idRef);
        rs.GetFieldValueInt(3, type);
        items << item(short(type), alias, notNull, idRef);
    }
    return items;
}

} // namespace

class TestEditlblCtl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void editorByType_data();
    void editorByType();
    void layout_data();
    void layout();
    void requiredDateStaysOptionalEmpties();
    void emptyDateCalendarOpensOnThisMonth();
    void enterMovesToTheNextField();
    void screenshotOfPersonForm();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestEditlblCtl::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestEditlblCtl::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    const QStringList seed = {
        u"INSERT INTO qz_Dept (ParentID, Name, Ord) VALUES (0, '人事部', 1), (0, '财务部', 2)"_s,
        u"INSERT INTO qz_PsnSort (Name, Ord) VALUES ('正式工', 1), ('临时工', 2)"_s,
        u"INSERT INTO qz_DictItem (DictId, DictValue, ParentValue, Title, Active) VALUES"
        " ('EDU', '1', '', '高等教育', 1), ('EDU', '2', '', '中等教育', 1)"_s,
        u"INSERT INTO qz_PsnBase (DID, AID, Number, Name, Ord) VALUES"
        " (1, 1, '001', 'Chen Wei', 1), (2, 2, '002', 'Li Na', 2)"_s,
        // One item of each kind the built-in person items lack.
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, IdRef, bNotNull, Ord) VALUES"
        " ('QZ_PSNBASE', 'F101', '工龄', 0, NULL, 0, 8),"
        " ('QZ_PSNBASE', 'F102', '学历', 3, 'edu', 1, 9),"
        " ('QZ_PSNBASE', 'F103', '入职日期', 2, NULL, 1, 10),"
        " ('QZ_PSNBASE', 'F104', '介绍人', 3, 'QZ_PSNBASE.NAME', 0, 11),"
        " ('QZ_PSNBASE', 'F105', '原部门', 3, 'QZ_DEPT.NAME', 0, 12),"
        " ('QZ_PSNBASE', 'F106', '照片', 5, NULL, 0, 13)"_s,
    };
    for (const QString &sql : seed)
        QVERIFY2(theDatabase.Execute(sql), qPrintable(sql));
    theCurrentUser = CCurrentUser(u"admin"_s, {}, 1);
    theCurrentUser.ParsePurview({});
}

void TestEditlblCtl::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestEditlblCtl::editorByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("idRef");
    QTest::addColumn<QString>("editorClass");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("dropWidth");
    QTest::newRow("number") << 0 << QString() << u"QLineEdit"_s << -1 << 0;
    QTest::newRow("text") << 1 << QString() << u"QLineEdit"_s << -1 << 0;
    QTest::newRow("date") << 2 << QString() << u"CDateTimeCtrl"_s << -1 << 0;
    QTest::newRow("categories") << 3 << u"QZ_PSNSORT.NAME"_s << u"CEditBrowseCtrlFromDB"_s << 1
                                << 100;
    QTest::newRow("departments in lower case")
        << 3 << u"qz_dept.name"_s << u"CEditBrowseCtrlFromDB"_s << 2 << 200;
    QTest::newRow("persons") << 3 << u"QZ_PSNBASE.NAME"_s << u"CEditBrowseCtrlPSN"_s << -1 << 320;
    QTest::newRow("dictionary") << 3 << u"EDU"_s << u"CEditBrowseCtrlFromDB"_s << 0 << 150;
    QTest::newRow("category link")
        << 4 << u"QZ_PSNSORT.AID"_s << u"CEditBrowseCtrlFromDB"_s << 1 << 100;
    QTest::newRow("department link")
        << 4 << u"QZ_DEPT.DID"_s << u"CEditBrowseCtrlFromDB"_s << 2 << 200;
    QTest::newRow("other link") << 4 << u"QZ_X.Y"_s << QString() << -1 << 0;
    QTest::newRow("off forms") << 5 << QString() << QString() << -1 << 0;
}

void TestEditlblCtl::editorByType()
{
    QFETCH(int, type);
    QFETCH(QString, idRef);
    QFETCH(QString, editorClass);
    QFETCH(int, kind);
    QFETCH(int, dropWidth);
    CEditlblCtl field(item(short(type), u"项"_s, 0, idRef), 0);
    QWidget *editor = field.GetEditCtrl();
    QCOMPARE(editor ? QString::fromLatin1(editor->metaObject()->className()) : QString(),
             editorClass);
    if (auto *picker = qobject_cast<CEditBrowseDropCtrl *>(editor))
        QCOMPARE(picker->GetMinDropWidth(), dropWidth);
    if (auto *fromDb = qobject_cast<CEditBrowseCtrlFromDB *>(editor)) {
        QCOMPARE(fromDb->GetKind(), kind);
        if (kind == 0)
            QCOMPARE(fromDb->GetDictId(), idRef.toUpper());
    }
}

void TestEditlblCtl::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("left");
    QTest::newRow("30") << 30 << 10;
    QTest::newRow("31") << 31 << 10;
    QTest::newRow("300") << 300 << 100;
}

void TestEditlblCtl::layout()
{
    QFETCH(int, width);
    QFETCH(int, left);
    CEditlblCtl field(item(ItemText, u"姓名"_s), 0);
    field.resize(width, 24);
    field.show();
    QCOMPARE(field.GetEditCtrl()->geometry(), QRect(left, 0, width - left, 24));
    QCOMPARE(field.editorRect().left(), left);
}

void TestEditlblCtl::requiredDateStaysOptionalEmpties()
{
    Form form({ item(ItemDate, u"入职日期"_s, 1), item(ItemDate, u"离职日期"_s, 0),
                item(ItemText, u"备注"_s) });
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    CDateTimeCtrl *required = form.fields[0]->GetDateCtrl();
    CDateTimeCtrl *optional = form.fields[1]->GetDateCtrl();
    QVERIFY(!required->ShowsNone());
    QVERIFY(optional->ShowsNone());
    QSignalSpy changes(form.fields[1], &CEditlblCtl::dataChanged);

    form.fields[0]->setFocus();
    QTRY_VERIFY(required->hasFocus());
    QTest::keyClick(required, Qt::Key_Delete);
    QTest::keyClick(required, Qt::Key_Backspace);
    QTest::keyClick(required, Qt::Key_Return);
    QTRY_VERIFY(optional->hasFocus());
    QVERIFY(!required->IsEmpty());

    QTest::keyClick(optional, Qt::Key_Delete);
    QTest::keyClick(optional, Qt::Key_Return);
    QTRY_VERIFY(form.fields[2]->GetEditCtrl()->hasFocus());
    QVERIFY(optional->IsEmpty());
    QCOMPARE(optional->GetDate(), QDate());
    QCOMPARE(changes.count(), 1);

    // Typing a date fills it again.
    form.fields[1]->setFocus();
    QTest::keyClicks(optional, u"2020"_s);
    QTest::keyClick(optional, Qt::Key_Return);
    QCOMPARE(optional->GetDate().year(), 2020);
}

void TestEditlblCtl::emptyDateCalendarOpensOnThisMonth()
{
    CDateTimeCtrl editor(true);
    editor.SetDate(QDate());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    // The drop-down arrow at the right end.
    QTest::mouseClick(&editor, Qt::LeftButton, {}, QPoint(editor.width() - 4, editor.height() / 2));
    QCalendarWidget *calendar = editor.calendarWidget();
    QTRY_VERIFY(calendar->isVisible());
    const QDate today = QDate::currentDate();
    QCOMPARE(calendar->yearShown(), today.year());
    QCOMPARE(calendar->monthShown(), today.month());
    QVERIFY(editor.IsEmpty()); // opening it chooses nothing
}

void TestEditlblCtl::enterMovesToTheNextField()
{
    Form form({ item(ItemText, u"姓名"_s, 1), item(ItemNumber, u"工龄"_s),
                item(ItemDate, u"出生日期"_s), item(ItemDictionary, u"学历"_s, 0, u"EDU"_s),
                item(ItemLink, u"人员类别"_s, 1, u"QZ_PSNSORT.AID"_s), item(ItemText, u"备注"_s) });
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QSignalSpy changed(form.fields[0], &CEditlblCtl::dataChanged);
    QSignalSpy next(form.fields[0], &CEditlblCtl::nextItem);

    form.fields[0]->setFocus();
    QTest::keyClicks(form.fields[0]->GetEditCtrl(), u"Chen"_s);
    QCOMPARE(changed.count(), 4);
    QTest::keyClick(form.fields[0]->GetEditCtrl(), Qt::Key_Return);
    QCOMPARE(next.count(), 1);
    QCOMPARE(next.first().first().toInt(), 0);
    for (int i = 1; i < 5; ++i) {
        QTRY_VERIFY(form.fields[i]->GetEditCtrl()->hasFocus());
        QTest::keyClick(form.fields[i]->GetEditCtrl(), Qt::Key_Return);
    }
    QTRY_VERIFY(form.fields[5]->GetEditCtrl()->hasFocus());

    // In a field with an open list, Enter takes the entry and stays.
    auto *dict = static_cast<CEditBrowseCtrlFromDB *>(form.fields[3]->GetEditCtrl());
    form.fields[3]->setFocus();
    QTRY_VERIFY(dict->hasFocus());
    QTest::keyClick(dict, Qt::Key_F4);
    QTest::keyClick(dict, Qt::Key_Down);
    QTest::keyClick(dict, Qt::Key_Return);
    QCOMPARE(dict->text(), u"高等教育"_s);
    QVERIFY(dict->hasFocus());
    QTest::keyClick(dict, Qt::Key_Return);
    QTRY_VERIFY(form.fields[4]->GetEditCtrl()->hasFocus());
    // Focus by the program selects the whole text.
    form.fields[0]->setFocus();
    QCOMPARE(static_cast<QLineEdit *>(form.fields[0]->GetEditCtrl())->selectedText(), u"Chen"_s);
}

void TestEditlblCtl::screenshotOfPersonForm()
{
    const CItemInfoArray items = formItems(u"QZ_PSNBASE"_s);
    QCOMPARE(items.size(), 12); // seven built-in, five added; the off-forms item stays out
    Form form(items);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto text = [&](int i, const QString &value) {
        static_cast<QLineEdit *>(form.fields[i]->GetEditCtrl())->setText(value);
    };
    text(0, u"003"_s);
    text(1, u"Wang Xiaoming"_s);
    text(2, u"男"_s);
    form.fields[3]->GetDateCtrl()->SetDate(QDate(1990, 3, 3));
    text(5, u"人事部"_s);
    text(7, u"12"_s);
    form.fields[9]->GetDateCtrl()->SetDate(QDate(2015, 7, 1));
    const QString path = u"/tmp/vantrel_person_form.png"_s;
    QVERIFY(form.grab().save(path));
    qInfo("form saved to %s", qPrintable(path));
}

QTEST_MAIN(TestEditlblCtl)
#include "tst_editlblctl.moc"
