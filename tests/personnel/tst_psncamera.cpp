#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/psnentry.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgdynctlformforpsnbase.h"
#include "personnel/ui/cdlgvidcap.h"
#include "personnel/ui/cphotoctrl.h"
#include "personnel/ui/cphotopane.h"
#include "personnel/ui/cpicturecap.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList logLines()
{
    QStringList lines;
    const vantrel::db::QueryResult rows
        = theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id"_s);
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        lines << rows.rows.value(row, 0).toString();
    return lines;
}

// The size of the stored photo as a JPEG; empty when there is none or it is no JPEG.
QSize storedJpegSize(int pid)
{
    const vantrel::Result<QByteArray> stored = vantrel::personnel::ReadPsnPhoto(theDatabase, pid);
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

// Photos from the made-up camera through the photo pane and the person form, on both backends.
class TestPsnCamera : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void photoPaneStoresEachPhoto();
    void entryFormStoresWithThePerson();

private:
    CChildFramePsn *openFrame();

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
};

void TestPsnCamera::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
    qputenv("VANTREL_FAKE_CAMERA", "1");
}

void TestPsnCamera::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QString error;
    QVERIFY2(fillPersonFixture(theDatabase, &error), qPrintable(error));
    theApp.m_strConnection = m_fixture->connectionString();
    theApp.RecentDays = 60;
    loginAs(u"admin"_s);
}

void TestPsnCamera::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CChildFramePsn *TestPsnCamera::openFrame()
{
    if (!m_pMain) {
        m_pMain = new CMainFrame;
        m_pMain->show();
    }
    m_pMain->commands().action(2100)->trigger();
    QMdiSubWindow *window = OpenedPersonnelFrame();
    return window ? qobject_cast<CChildFramePsn *>(window->widget()) : nullptr;
}

void TestPsnCamera::photoPaneStoresEachPhoto()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    CPhotoPane *pane = frame->GetPhotoPane();
    QCOMPARE(pane->GetPerson().PID, 1);
    QVERIFY(pane->action(CPhotoPane::IdCamera)->isEnabled());
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

void TestPsnCamera::entryFormStoresWithThePerson()
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

QTEST_MAIN(TestPsnCamera)
#include "tst_psncamera.moc"
