#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/psnentry.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgdynctlformbase.h"
#include "personnel/ui/cdlgdynctlformforpsnbase.h"
#include "personnel/ui/cdlgvidcap.h"
#include "personnel/ui/cphotoctrl.h"
#include "personnel/ui/cphotopane.h"
#include "personnel/ui/cviewpsn.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditlblctl.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/dialogs/cdlgscrollable.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAction>
#include <QBuffer>
#include <QFileDialog>
#include <QImageWriter>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

vantrel::Result<QByteArray> readPhoto(int pid)
{
    return vantrel::personnel::ReadPsnPhoto(theDatabase, pid);
}

QString personValue(int pid, const QString &column)
{
    return theDatabase.run(u"SELECT %1 FROM qz_PsnBase WHERE PID = ?"_s.arg(column), { pid })
        .scalar()
        .toString();
}

CEditlblCtl *field(const CDlgDynCtlFormBase &form, const QString &name)
{
    for (const tagITEMCTRLINFO &item : form.items()) {
        if (item.info.Name.compare(name, Qt::CaseInsensitive) == 0)
            return item.pCtrl;
    }
    return nullptr;
}

QLineEdit *lineEdit(const CDlgDynCtlFormBase &form, const QString &name)
{
    CEditlblCtl *ctrl = field(form, name);
    return ctrl ? qobject_cast<QLineEdit *>(ctrl->GetMainCtrl()) : nullptr;
}

// Types into a field as a user does: the old text selected and replaced.
void typeInto(const CDlgDynCtlFormBase &form, const QString &name, const QString &text)
{
    QLineEdit *edit = lineEdit(form, name);
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->insert(text); // QTest types Latin-1 only
}

QByteArray jpegBytes()
{
    QImage image(24, 32, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return buffer.data();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

// Picks the file in the next file dialog.
void chooseFile(const QString &path)
{
    answerNextModal<QFileDialog>([path](QFileDialog *dialog) {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

// The size of the stored photo as a JPEG; empty when there is none or it is no JPEG.
QSize storedJpegSize(int pid)
{
    const vantrel::Result<QByteArray> stored = readPhoto(pid);
    if (!stored || !stored->startsWith("\xff\xd8"))
        return {};
    return QImage::fromData(*stored, "JPEG").size();
}

// In the next camera dialog: once it captures, takes a photo for each size, typed into the
// spins, then closes it. Closes it also when it never captures.
void takePhotos(const QList<QSize> &sizes)
{
    answerNextModal<CDlgVidCap>([sizes](CDlgVidCap *dialog) {
        if (QTest::qWaitFor([dialog] { return dialog->photoButton()->isEnabled(); })) {
            for (const QSize &size : sizes) {
                dialog->widthSpin()->setValue(size.width());
                dialog->heightSpin()->setValue(size.height());
                QTest::mouseClick(dialog->photoButton(), Qt::LeftButton);
            }
        }
        dialog->reject();
    });
}

} // namespace

// The generated forms driven through their widgets, on the personnel fixture.
class TestPsnEntryForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void fiveItemsInThreeRows();
    void addTwoPersons();
    void modifyAndPageDown();
    void modifyWithoutRow();
    void photoPane();
    void photoPaneButtons();
    void photoSaveAsNamesTypedPerson_data();
    void photoSaveAsNamesTypedPerson();
    void cameraPhotosInPane();
    void cameraPhotoInForm();
    void idCard_data();
    void idCard();

private:
    CChildFramePsn *openFrame();

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
};

void TestPsnEntryForm::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
    // 拍照 gets the made-up camera.
    qputenv("VANTREL_FAKE_CAMERA", "1");
}

void TestPsnEntryForm::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    theApp.RecentDays = 60;
    loginAs(u"admin"_s);
}

void TestPsnEntryForm::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CChildFramePsn *TestPsnEntryForm::openFrame()
{
    if (!m_pMain) {
        m_pMain = new CMainFrame;
        m_pMain->show();
    }
    m_pMain->commands().action(2100)->trigger();
    QMdiSubWindow *window = OpenedPersonnelFrame();
    return window ? qobject_cast<CChildFramePsn *>(window->widget()) : nullptr;
}

void TestPsnEntryForm::fiveItemsInThreeRows()
{
    QVERIFY(theDatabase.Execute(theDatabase.dialect().ddl(
        u"CREATE TABLE tst_five (ID %IDENTITY%, A VARCHAR(20), B VARCHAR(20), C VARCHAR(20),"
        " D VARCHAR(20), E DOUBLE PRECISION)"_s)));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iLength, DefValue, Ord) VALUES"
        " ('TST_FIVE', 'A', '甲', 1, 20, 'a', 1), ('TST_FIVE', 'B', '乙', 1, 20, NULL, 2),"
        " ('TST_FIVE', 'C', '丙', 1, 20, NULL, 3), ('TST_FIVE', 'D', '丁', 1, 20, NULL, 4),"
        " ('TST_FIVE', 'E', '戊', 0, 0, '5', 5)"_s));
    CDlgDynCtlFormBase form;
    form.m_nAddFlag = 1;
    form.m_strTableName = u"tst_five"_s;
    form.resize(600, 400);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.items().size(), 5);
    QCOMPARE(form.host()->GetContentRect().height(), 4 * 30);
    QList<QPoint> places;
    for (const tagITEMCTRLINFO &item : form.items())
        places << item.pCtrl->pos();
    const int right = form.items().at(1).pCtrl->x();
    QCOMPARE(places,
             QList<QPoint>({ { 20, 20 }, { right, 20 }, { 20, 50 }, { right, 50 }, { 20, 80 } }));
    QVERIFY(right > 20 + form.items().at(0).pCtrl->width());
    QCOMPARE(lineEdit(form, u"A"_s)->text(), u"a"_s);
    QCOMPARE(lineEdit(form, u"E"_s)->text(), u"5"_s);
    for (QPushButton *button : { form.navButton(0), form.navButton(3) })
        QVERIFY(!button->isEnabled());

    // Enter walks the fields and leaves the last one for the buttons.
    lineEdit(form, u"D"_s)->setFocus();
    QTest::keyClick(lineEdit(form, u"D"_s), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), lineEdit(form, u"E"_s));
    QTest::keyClick(lineEdit(form, u"E"_s), Qt::Key_Return);
    QVERIFY(QApplication::focusWidget());
    bool inFields = false;
    for (const tagITEMCTRLINFO &item : form.items())
        inFields = inFields || item.pCtrl->isAncestorOf(QApplication::focusWidget());
    QVERIFY(!inFields);
    QVERIFY(form.isVisible());

    typeInto(form, u"B"_s, u"O'Brien"_s);
    QVERIFY(form.m_bModified);
    QVERIFY(form.SaveRecord());
    QVERIFY(form.m_nKeyValue > 0);
    QVERIFY(!form.m_bModified);
    const vantrel::db::QueryResult row
        = theDatabase.run(u"SELECT A, B, E FROM tst_five WHERE ID = ?"_s, { form.m_nKeyValue });
    QCOMPARE(row.rows.value(0, 0).toString(), u"a"_s);
    QCOMPARE(row.rows.value(0, 1).toString(), u"O'Brien"_s);
    QCOMPARE(row.rows.value(0, 2).toDouble(), 5.0);
}

void TestPsnEntryForm::addTwoPersons()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = '1|6|A' WHERE nType = 0"_s));
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CViewPsn *view = frame->GetView();
    const int listedBefore = view->GetGridCtrl()->GetRowCount();

    CDlgDynCtlFormForPsnbase form(view);
    form.m_strCaption = u"人员添加"_s;
    form.m_nAddFlag = 1;
    form.m_pOwnerView = view;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), u"人员添加"_s);
    QVERIFY(form.width() >= 700 && form.height() >= 500);
    QCOMPARE(lineEdit(form, u"Number"_s)->text(), u"<自动编号>"_s);
    QVERIFY(lineEdit(form, u"Number"_s)->isReadOnly());

    {
        // A required name, then a number that is no number, stop the save.
        MessageCatcher messages;
        QTest::mouseClick(form.saveButton(), Qt::LeftButton);
        SetFieldContent(field(form, u"DID"_s), 1);
        SetFieldContent(field(form, u"AID"_s), 1);
        typeInto(form, u"Name"_s, u"王一"_s);
        typeInto(form, u"F12"_s, u"12a"_s);
        QTest::mouseClick(form.saveButton(), Qt::LeftButton);
        QTRY_COMPARE(messages.texts,
                     QStringList({ u"'姓名'为必填项!"_s, u"'数额'为数值类型!"_s, u"保存出错!"_s }));
    }
    QCOMPARE(logLines(), QStringList { u"人员档案[查看]"_s });

    typeInto(form, u"F12"_s, u"3.5"_s);
    QVERIFY(form.photoCtrl()->SetPhotoFromBytes(jpegBytes()));
    QVERIFY(form.m_bModified);
    QTest::mouseClick(form.saveButton(), Qt::LeftButton);
    const int first = form.lastSavedPid();
    QCOMPARE(*readPhoto(first), jpegBytes());
    QVERIFY(!form.photoCtrl()->IsChanged());
    QVERIFY(first > 0);
    QVERIFY(form.isVisible());
    QCOMPARE(lineEdit(form, u"Number"_s)->text(), u"<自动编号>"_s);
    QCOMPARE(form.m_nKeyValue, 0);
    typeInto(form, u"Name"_s, u"王二"_s);
    QTest::mouseClick(form.saveButton(), Qt::LeftButton);
    const int second = form.lastSavedPid();
    QVERIFY(second > first);
    QCOMPARE(*readPhoto(second), QByteArray()); // the kept photo was stored with the first

    const QString number1 = u"A"_s + QString::number(first).rightJustified(6, u'0');
    const QString number2 = u"A"_s + QString::number(second).rightJustified(6, u'0');
    QCOMPARE(personValue(first, u"Number"_s), number1);
    QCOMPARE(personValue(second, u"Name"_s), u"王二"_s);
    QCOMPARE(personValue(first, u"F12"_s).toDouble(), 3.5);
    // Dates without a default stay empty.
    QVERIFY(theDatabase.run(u"SELECT Birthday FROM qz_PsnBase WHERE PID = ?"_s, { first })
                .scalar()
                .isNull());
    QCOMPARE(logLines().mid(1),
             QStringList({ u"人员档案[新增：(%1)王一]"_s.arg(number1),
                           u"人员档案[新增：(%1)王二]"_s.arg(number2) }));
    QCOMPARE(view->GetGridCtrl()->GetRowCount(), listedBefore + 2);

    // Closing after saves counts as accepted, so the list selects the last one.
    form.reject();
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestPsnEntryForm::modifyAndPageDown()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    grid->SetCurSel(0, 3);
    const int pid0 = grid->GetFieldValue(0, 0).toInt();
    const int pid1 = grid->GetFieldValue(1, 0).toInt();

    CDlgDynCtlFormForPsnbase form(view);
    form.m_strCaption = u"人员信息更改"_s;
    form.m_pOwnerView = view;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    form.m_nKeyValue = pid0;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(lineEdit(form, u"Number"_s)->text(), personValue(pid0, u"Number"_s));
    QVERIFY(!lineEdit(form, u"Number"_s)->isReadOnly());
    QVERIFY(form.navButton(2)->isEnabled());
    QVERIFY(!form.m_bModified);

    typeInto(form, u"F13"_s, u"改过"_s);
    {
        MessageCatcher yes(QMessageBox::Yes);
        QTest::keyClick(lineEdit(form, u"F13"_s), Qt::Key_PageDown);
        QTRY_COMPARE(yes.texts, QStringList { u"内容已改变,保存数据吗?"_s });
    }
    QCOMPARE(personValue(pid0, u"F13"_s), u"改过"_s);
    QCOMPARE(form.m_nKeyValue, pid1);
    QCOMPARE(grid->GetCurSel(), 1);
    QCOMPARE(lineEdit(form, u"Name"_s)->text(), personValue(pid1, u"Name"_s));
    QVERIFY(logLines().contains(u"人员档案[修改：(%1)%2]"_s.arg(personValue(pid0, u"Number"_s),
                                                                personValue(pid0, u"Name"_s))));

    // A changed form asks before it closes; No keeps it open.
    typeInto(form, u"F13"_s, u"再改"_s);
    {
        MessageCatcher no(QMessageBox::No);
        form.reject();
        QTRY_COMPARE(no.texts, QStringList { u"确定退出吗?"_s });
    }
    QVERIFY(form.isVisible());
    QCOMPARE(personValue(pid1, u"F13"_s), QString());
}

void TestPsnEntryForm::modifyWithoutRow()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    grid->SetCurSel(0, 3);
    const int pid0 = grid->GetFieldValue(0, 0).toInt();
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID = ?"_s, { pid0 }));
    MessageCatcher messages;
    view->action(CViewPsn::IdModify)->trigger();
    QTRY_COMPARE(messages.texts, QStringList { u"该记录已被其他操作员删除,请刷新数据列表!"_s });
}

void TestPsnEntryForm::photoPane()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CPhotoPane *pane = frame->GetPhotoPane();
    QTRY_COMPARE(pane->GetPerson().PID, 1);
    CPhotoCtrl *photo = pane->photoCtrl();
    QVERIFY(photo->showsPlaceholder());
    QCOMPARE(photo->picture().GetSize(), QSize(120, 150));

    // A JPEG is stored at once.
    QTemporaryDir dir;
    const QByteArray jpeg = jpegBytes();
    chooseFile(writeFile(dir, u"face.jpg"_s, jpeg));
    pane->action(CPhotoPane::IdOpen)->trigger();
    QCOMPARE(*readPhoto(1), jpeg);
    QVERIFY(!photo->showsPlaceholder());
    QCOMPARE(theDatabase.transactionDepth(), 0);
    QCOMPARE(logLines().last(), u"人员档案[\"张一(A001)\"->照片更新]"_s);

    // A file that does not decode keeps the stored photo, shown and unchanged.
    {
        MessageCatcher messages;
        chooseFile(writeFile(dir, u"junk.jpg"_s, "no picture here"));
        pane->action(CPhotoPane::IdOpen)->trigger();
        QTRY_COMPARE(messages.texts,
                     QStringList { u"设置照片时出错。\r\n请选择正确的图片格式和大小。"_s });
    }
    QCOMPARE(*readPhoto(1), jpeg);
    QCOMPARE(photo->picture().bytes(), jpeg);
    QCOMPARE(theDatabase.transactionDepth(), 0);
    QVERIFY(!photo->IsChanged());

    // Save as writes the same bytes, the extension added.
    QVERIFY(photo->SavePhotoTo(dir.filePath(u"copy"_s)));
    QFile copy(dir.filePath(u"copy.jpg"_s));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), jpeg);
    QCOMPARE(theDatabase.transactionDepth(), 0);

    // Clearing asks, deletes the row and shows the placeholder.
    {
        MessageCatcher yes(QMessageBox::Yes);
        pane->action(CPhotoPane::IdClear)->trigger();
        QTRY_COMPARE(yes.texts, QStringList { u"确定要清除图片吗?"_s });
    }
    QCOMPARE(*readPhoto(1), QByteArray());
    QVERIFY(photo->showsPlaceholder());
    QCOMPARE(logLines().last(), u"人员档案[\"张一(A001)\"->照片清除]"_s);
}

void TestPsnEntryForm::photoPaneButtons()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CPhotoPane *pane = frame->GetPhotoPane();
    const auto enabled = [pane] {
        QString states;
        for (const int id : { CPhotoPane::IdOpen, CPhotoPane::IdSaveAs, CPhotoPane::IdCamera,
                              CPhotoPane::IdClear })
            states += pane->action(id)->isEnabled() ? u'1' : u'0';
        return states;
    };
    QCOMPARE(pane->toolBar()->commands().size(), 4);
    // A person without a photo: nothing to save as.
    QTRY_COMPARE(enabled(), u"1011"_s);
    const vantrel::Result<bool> written
        = vantrel::personnel::WritePsnPhoto(theDatabase, 1, jpegBytes());
    QVERIFY(written && *written);
    frame->GetView()->RefreshCurrentRow();
    QTRY_COMPARE(enabled(), u"1111"_s);
    {
        MessageCatcher yes(QMessageBox::Yes);
        pane->action(CPhotoPane::IdClear)->trigger();
        QTRY_COMPARE(yes.texts, QStringList { u"确定要清除图片吗?"_s });
    }
    QCOMPARE(enabled(), u"1011"_s);
    // An empty list leaves the pane without a person.
    frame->GetView()->SetFilters(0, -1);
    frame->GetView()->BuildWhereClause();
    frame->GetView()->FillGrid();
    QTRY_COMPARE(pane->GetPerson().PID, -1);
    QCOMPARE(enabled(), u"0000"_s);
}

void TestPsnEntryForm::photoSaveAsNamesTypedPerson_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("typedNumber"); // empty: the field is left as it is
    QTest::addColumn<QString>("logged");
    QTest::newRow("automatic number")
        << u"1|6|A"_s << QString() << u"人员档案[\"王五()\"->照片另存]"_s;
    QTest::newRow("typed number") << u"3|20|"_s << u"B77"_s
                                  << u"人员档案[\"王五(B77)\"->照片另存]"_s;
}

void TestPsnEntryForm::photoSaveAsNamesTypedPerson()
{
    QFETCH(QString, rule);
    QFETCH(QString, typedNumber);
    QFETCH(QString, logged);
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = ? WHERE nType = 0"_s, { rule }));
    CDlgDynCtlFormForPsnbase form;
    form.m_strCaption = u"人员添加"_s;
    form.m_nAddFlag = 1;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    typeInto(form, u"Name"_s, u"王五"_s);
    if (!typedNumber.isEmpty())
        typeInto(form, u"Number"_s, typedNumber);
    QVERIFY(form.photoCtrl()->SetPhotoFromBytes(jpegBytes()));
    QTemporaryDir dir;
    chooseFile(dir.filePath(u"face"_s));
    QTest::mouseClick(form.photoButton(1), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(dir.filePath(u"face.jpg"_s)));
    QCOMPARE(logLines().last(), logged);
    QCOMPARE(form.lastSavedPid(), 0); // nothing was saved to get there
}

void TestPsnEntryForm::cameraPhotosInPane()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CPhotoPane *pane = frame->GetPhotoPane();
    QTRY_COMPARE(pane->GetPerson().PID, 1);
    QTRY_VERIFY(pane->action(CPhotoPane::IdCamera)->isEnabled());
    const int logged = logLines().size();

    takePhotos({ QSize(90, 120), QSize(150, 200) });
    pane->action(CPhotoPane::IdCamera)->trigger();
    QCOMPARE(storedJpegSize(1), QSize(150, 200));
    QCOMPARE(logLines().mid(logged), QStringList(2, u"人员档案[\"张一(A001)\"->照片更新]"_s));
    QVERIFY(!pane->photoCtrl()->showsPlaceholder());
    QVERIFY(!pane->photoCtrl()->IsChanged());
    QCOMPARE(theDatabase.transactionDepth(), 0);
    // The pane now has a photo to save as.
    QVERIFY(pane->action(CPhotoPane::IdSaveAs)->isEnabled());

    // A person deleted meanwhile gets no camera.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID = 1"_s));
    MessageCatcher messages;
    pane->action(CPhotoPane::IdCamera)->trigger();
    QTRY_COMPARE(messages.texts, QStringList { u"选择的人员被删除！"_s });
    QVERIFY(!qobject_cast<CDlgVidCap *>(QApplication::activeModalWidget()));
}

void TestPsnEntryForm::cameraPhotoInForm()
{
    CDlgDynCtlFormForPsnbase form;
    form.m_strCaption = u"人员信息更改"_s;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    form.m_nKeyValue = 2;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.photoButton(2)->isEnabled());
    const QStringList before = logLines();

    takePhotos({ QSize(100, 110) });
    QTest::mouseClick(form.photoButton(2), Qt::LeftButton);
    QVERIFY(form.photoCtrl()->IsChanged());
    QVERIFY(form.m_bModified);
    QCOMPARE(storedJpegSize(2), QSize());
    QCOMPARE(logLines(), before);

    QTest::mouseClick(form.saveButton(), Qt::LeftButton);
    QCOMPARE(storedJpegSize(2), QSize(100, 110));
    QVERIFY(!form.photoCtrl()->IsChanged());
}

void TestPsnEntryForm::idCard_data()
{
    QTest::addColumn<int>("length"); // characters of the card text the reader leaves
    QTest::addColumn<QString>("message");
    QTest::newRow("read") << 79 << QString();
    QTest::newRow("short text") << 78 << u"读卡失败！"_s;
}

void TestPsnEntryForm::idCard()
{
    QFETCH(int, length);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString whole = u"李四"_s.leftJustified(15) + u"2"_s + u"01"_s + u"19900708"_s
        + u"上海市某路2号"_s.leftJustified(35) + u"310101199007080022"_s;
    const QString card = whole.left(length);
    QByteArray utf16;
    for (const QChar c : card)
        utf16.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    QImage image(10, 12, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer bmp;
    bmp.open(QIODevice::WriteOnly);
    image.save(&bmp, "BMP");
    qputenv("FAKE_TERMB_PORT", "1001");
    qputenv("FAKE_TERMB_AUTH", "1");
    qputenv("FAKE_TERMB_READ", "1");
    qputenv("FAKE_TERMB_DIR", QFile::encodeName(dir.filePath(u"reader"_s)));
    QVERIFY(QDir(dir.path()).mkdir(u"reader"_s));
    qputenv("FAKE_TERMB_WZ", QFile::encodeName(writeFile(dir, u"card.txt"_s, utf16)));
    qputenv("FAKE_TERMB_ZP", QFile::encodeName(writeFile(dir, u"face.bmp"_s, bmp.data())));
    Profile::writeString(u"IdCard"_s, u"Library"_s, QStringLiteral(FAKE_TERMB_PATH));
    Profile::writeString(u"IdCard"_s, u"Folder"_s, dir.filePath(u"reader"_s));

    CDlgDynCtlFormForPsnbase form;
    form.m_nAddFlag = 1;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    {
        MessageCatcher messages;
        QTest::mouseClick(form.idCardButton(), Qt::LeftButton);
        QTRY_COMPARE(messages.texts, message.isEmpty() ? QStringList() : QStringList { message });
    }
    QVERIFY(!QFile::exists(dir.filePath(u"reader/wz.txt"_s)));
    if (!message.isEmpty()) {
        QCOMPARE(lineEdit(form, u"Name"_s)->text(), QString());
        QVERIFY(!form.m_bModified);
        return;
    }
    // Nation and Address are not on this form and are passed over.
    QCOMPARE(lineEdit(form, u"Name"_s)->text(), u"李四"_s);
    QCOMPARE(lineEdit(form, u"Sex"_s)->text(), u"女"_s);
    QCOMPARE(lineEdit(form, u"IDNumber"_s)->text(), u"310101199007080022"_s);
    QCOMPARE(GetFieldContent(field(form, u"Birthday"_s)), QVariant(QDate(1990, 7, 8)));
    QCOMPARE(form.photoCtrl()->picture().bytes(), bmp.data());
    QVERIFY(!QFile::exists(dir.filePath(u"reader/zp.bmp"_s)));
    QVERIFY(form.m_bModified);
}

QTEST_MAIN(TestPsnEntryForm)
#include "tst_psnentryform.moc"
