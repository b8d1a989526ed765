#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "modalanswers.h"
#include "personnel/psnfiles.h"
#include "personnel/ui/cadjunctpane.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmylistctrl.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

QStringList storedNames(int pid)
{
    QStringList names;
    const vantrel::Result<QVector<PsnFileRow>> files = LoadPsnFiles(theDatabase, pid);
    for (const PsnFileRow &file : *files)
        names << file.Name;
    return names;
}

QStringList listedNames(const CAdjunctPane &pane)
{
    QStringList names;
    for (int i = 0; i < pane.listCtrl()->topLevelItemCount(); ++i)
        names << pane.listCtrl()->topLevelItem(i)->text(0);
    return names;
}

QString writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return {};
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Picks these files of one folder in the next open-file dialog.
void chooseFiles(const QString &folder, const QStringList &names)
{
    answerNextModal<QFileDialog>([folder, names](QFileDialog *dialog) {
        dialog->setDirectory(folder);
        QStringList quoted;
        for (const QString &name : names)
            quoted << u'"' + name + u'"';
        dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(quoted.join(u' '));
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void chooseSaveFile(const QString &path)
{
    answerNextModal<QFileDialog>([path](QFileDialog *dialog) {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace

// The attachments pane driven through its list and commands, on the personnel fixture.
class TestAdjunctPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void addByDialogListsNewestFirst();
    void saveAsAsksBeforeReplacing();
    void dragOut_data();
    void dragOut();
    void renameInPlace_data();
    void renameInPlace();
    void deleteReportsTheFileThatWasGone();
    void dropForPersonDeletedMeanwhile();
    void dropAddsAllOfOneDropAtOnce();
    void viewStyleKept();
    void withoutRightNothingChanges();

private:
    int addFile(int pid, const QString &name, const QByteArray &content);

    TestDatabase *m_fixture = nullptr;
    QTemporaryDir *m_dir = nullptr;
};

void TestAdjunctPane::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestAdjunctPane::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    theApp.RecentDays = 60;
    loginAs(u"admin"_s);
    m_dir = new QTemporaryDir;
}

void TestAdjunctPane::cleanup()
{
    delete m_dir;
    m_dir = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

int TestAdjunctPane::addFile(int pid, const QString &name, const QByteArray &content)
{
    return AddPsnFile(theDatabase, pid, writeFile(m_dir->filePath(name), content)).ID;
}

void TestAdjunctPane::addByDialogListsNewestFirst()
{
    CAdjunctPane pane;
    pane.show();
    pane.SetCurrentPerson(fixturePerson(7));
    QVERIFY(listedNames(pane).isEmpty());
    QVERIFY(pane.action(CAdjunctPane::IdAdd)->isEnabled());
    QVERIFY(!pane.action(CAdjunctPane::IdDelete)->isEnabled());

    writeFile(m_dir->filePath(u"简历.txt"_s), QByteArray(1229, 'x'));
    writeFile(m_dir->filePath(u"O'Brien 合同.pdf"_s), QByteArray(123, 'p'));
    writeFile(m_dir->filePath(u"empty.txt"_s), {});
    QFile big(m_dir->filePath(u"big.bin"_s));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(MaxAttachmentBytes + 1));
    big.close();

    chooseFiles(m_dir->path(),
                { u"简历.txt"_s, u"O'Brien 合同.pdf"_s, u"empty.txt"_s, u"big.bin"_s });
    MessageCatcher messages;
    pane.OnFileAdd();
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(messages.texts.first().contains(u"big.bin"_s));

    QCOMPARE(listedNames(pane), QStringList({ u"O'Brien 合同.pdf"_s, u"简历.txt"_s }));
    QCOMPARE(storedNames(7), listedNames(pane));
    QCOMPARE(pane.listCtrl()->topLevelItem(0)->text(1), u"123 字节"_s);
    QCOMPARE(pane.listCtrl()->topLevelItem(1)->text(1), u"1.20 KB"_s);
    QCOMPARE(pane.listCtrl()->topLevelItem(1)->text(2),
             QDateTime::currentDateTime().toString(u"yyyy-MM-dd"_s)
                 + pane.listCtrl()->topLevelItem(1)->text(2).mid(10));
    QCOMPARE(logLines(),
             QStringList({ u"人员档案[\"O'Brien(B007)\"->附件添加'简历.txt']"_s,
                           u"人员档案[\"O'Brien(B007)\"->附件添加'O'Brien 合同.pdf']"_s }));
}

void TestAdjunctPane::saveAsAsksBeforeReplacing()
{
    const QByteArray content("\x00\x01\xff stored", 10);
    addFile(1, u"scan.bin"_s, content);
    CAdjunctPane pane;
    pane.SetCurrentPerson(fixturePerson(1));
    pane.listCtrl()->topLevelItem(0)->setSelected(true);
    const QString target = writeFile(m_dir->filePath(u"target.bin"_s), "old");

    chooseSaveFile(target);
    {
        MessageCatcher no(QMessageBox::No);
        pane.OnFileSaveAs();
        QCOMPARE(no.texts, QStringList { u"%1 已经存在。\r\n要替换它吗？"_s.arg(target) });
    }
    QCOMPARE(readFile(target), QByteArray("old"));
    QVERIFY(logLines().isEmpty());

    chooseSaveFile(target);
    {
        MessageCatcher yes(QMessageBox::Yes);
        pane.OnFileSaveAs();
    }
    QCOMPARE(readFile(target), content);
    QCOMPARE(logLines(), QStringList { u"人员档案[\"张一(A001)\"->附件另存'target.bin']"_s });
}

void TestAdjunctPane::dragOut_data()
{
    QTest::addColumn<bool>("taken");
    QTest::addColumn<bool>("takenLater"); // by another program, after the drag has ended
    QTest::newRow("taken by the target") << true << false;
    QTest::newRow("taken after the drag") << true << true;
    QTest::newRow("refused") << false << false;
}

void TestAdjunctPane::dragOut()
{
    QFETCH(bool, taken);
    QFETCH(bool, takenLater);
    addFile(1, u"a.txt"_s, "first");
    addFile(1, u"b 'c'.txt"_s, "second");
    auto pane = std::make_unique<CAdjunctPane>();
    pane->SetCurrentPerson(fixturePerson(1));
    pane->listCtrl()->selectAll();
    const QString target = m_dir->filePath(u"target"_s);
    QVERIFY(QDir().mkpath(target));
    QStringList offered;
    const auto moveOffered = [&] {
        for (const QString &path : std::as_const(offered))
            QFile::rename(path, QDir(target).filePath(QFileInfo(path).fileName()));
    };
    pane->SetDragRunner([&](QMimeData *data) {
        for (const QUrl &url : data->urls())
            offered << url.toLocalFile();
        if (taken && !takenLater)
            moveOffered();
        delete data;
        return taken ? Qt::MoveAction : Qt::IgnoreAction;
    });
    Q_EMIT pane->listCtrl()->listBeginDrag(pane->listCtrl()->topLevelItem(0));
    QCOMPARE(offered.size(), 2);
    if (takenLater) {
        QVERIFY(QFileInfo::exists(offered.first()));
        moveOffered();
        pane.reset(); // the emptied folder goes with the pane
    }

    for (const QString &path : std::as_const(offered))
        QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
    QVERIFY(!QFileInfo::exists(QFileInfo(offered.first()).path()));
    if (taken) {
        QCOMPARE(readFile(QDir(target).filePath(u"b 'c'.txt"_s)), QByteArray("second"));
        QCOMPARE(readFile(QDir(target).filePath(u"a.txt"_s)), QByteArray("first"));
    }
    QCOMPARE(logLines().size(), 2);
    QCOMPARE(storedNames(1).size(), 2);
}

void TestAdjunctPane::renameInPlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("with a quote") << u"O'Brien 的 cv.doc"_s << u"O'Brien 的 cv.doc"_s;
    QTest::newRow("empty keeps the name") << u""_s << u"cv.txt"_s;
    QTest::newRow("blanks keep the name") << u"   "_s << u"cv.txt"_s;
}

void TestAdjunctPane::renameInPlace()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    addFile(1, u"cv.txt"_s, "cv");
    CAdjunctPane pane;
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.SetCurrentPerson(fixturePerson(1));
    QTreeWidgetItem *item = pane.listCtrl()->topLevelItem(0);
    item->setSelected(true);
    // A double-click starts the edit as 更名 does.
    Q_EMIT pane.listCtrl()->listDblClk(item, 0);
    QPointer<QLineEdit> editor = pane.listCtrl()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(typed);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate ends the edit once the key has been handled.
    QTRY_VERIFY(editor.isNull());

    QCOMPARE(storedNames(1), QStringList { stored });
    QCOMPARE(pane.listCtrl()->topLevelItem(0)->text(0), stored);
    if (stored == typed)
        QCOMPARE(logLines(),
                 QStringList { u"人员档案[\"张一(A001)\"->附件更名'cv.txt'->'%1']"_s.arg(typed) });
    else
        QVERIFY(logLines().isEmpty());
}

void TestAdjunctPane::deleteReportsTheFileThatWasGone()
{
    addFile(1, u"keep.txt"_s, "k");
    const int gone = addFile(1, u"gone.txt"_s, "g");
    addFile(1, u"also.txt"_s, "a");
    CAdjunctPane pane;
    pane.SetCurrentPerson(fixturePerson(1));
    pane.listCtrl()->topLevelItem(0)->setSelected(true); // also.txt
    pane.listCtrl()->topLevelItem(1)->setSelected(true); // gone.txt
    // Another operator deletes one of them meanwhile.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnFiles WHERE ID = ?"_s, { gone }));

    {
        MessageCatcher no(QMessageBox::No);
        pane.OnFileDelete();
        QCOMPARE(no.texts, QStringList { u"确定要清除选择的 2 个附件吗？"_s });
    }
    QCOMPARE(storedNames(1).size(), 2);
    MessageCatcher yes(QMessageBox::Yes);
    pane.OnFileDelete();
    QCOMPARE(yes.texts.size(), 2);
    QVERIFY(yes.texts.at(1).contains(u"gone.txt"_s));
    QCOMPARE(storedNames(1), QStringList { u"keep.txt"_s });
    QCOMPARE(listedNames(pane), QStringList { u"keep.txt"_s });
    QCOMPARE(logLines(), QStringList { u"人员档案[\"张一(A001)\"->附件删除'also.txt']"_s });
}

void TestAdjunctPane::dropForPersonDeletedMeanwhile()
{
    CAdjunctPane pane;
    pane.SetCurrentPerson(fixturePerson(2));
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID = 2"_s));
    const QString path = writeFile(m_dir->filePath(u"late.txt"_s), "late");
    MessageCatcher messages;
    pane.AddDroppedFiles({ path });
    QCOMPARE(messages.texts, QStringList { u"选择的人员被删除！"_s });
    QVERIFY(storedNames(2).isEmpty());
    QVERIFY(logLines().isEmpty());
}

void TestAdjunctPane::dropAddsAllOfOneDropAtOnce()
{
    CAdjunctPane pane;
    pane.resize(300, 300);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.SetCurrentPerson(fixturePerson(3));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(writeFile(m_dir->filePath(u"1.txt"_s), "1")),
                   QUrl::fromLocalFile(writeFile(m_dir->filePath(u"2.txt"_s), "2")) });
    QWidget *viewport = pane.listCtrl()->viewport();
    const QPointF at = viewport->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QTRY_COMPARE(listedNames(pane), QStringList({ u"2.txt"_s, u"1.txt"_s }));
    QCOMPARE(logLines().size(), 2);
}

void TestAdjunctPane::viewStyleKept()
{
    {
        CAdjunctPane pane;
        QCOMPARE(pane.viewStyle(), int(CAdjunctPane::IdViewIcons));
        QVERIFY(pane.listCtrl()->isHeaderHidden());
        pane.action(CAdjunctPane::IdViewDetails)->trigger();
        QVERIFY(!pane.listCtrl()->isHeaderHidden());
        QVERIFY(!pane.listCtrl()->isColumnHidden(3));
    }
    CAdjunctPane again;
    QCOMPARE(again.viewStyle(), int(CAdjunctPane::IdViewDetails));
    QVERIFY(again.action(CAdjunctPane::IdViewDetails)->isChecked());
    again.action(CAdjunctPane::IdViewList)->trigger();
    QVERIFY(again.listCtrl()->isColumnHidden(1));
}

void TestAdjunctPane::withoutRightNothingChanges()
{
    addFile(5, u"x.txt"_s, "x");
    loginAs(u"viewer"_s);
    CAdjunctPane pane;
    pane.SetCurrentPerson(fixturePerson(5));
    pane.listCtrl()->topLevelItem(0)->setSelected(true);
    MessageCatcher messages;
    pane.OnFileAdd();
    pane.OnFileDelete();
    pane.OnFileRename();
    pane.AddDroppedFiles({ writeFile(m_dir->filePath(u"y.txt"_s), "y") });
    QCOMPARE(messages.texts.size(), 4);
    QCOMPARE(storedNames(5), QStringList { u"x.txt"_s });
    QVERIFY(logLines().isEmpty());
}

QTEST_MAIN(TestAdjunctPane)
#include "tst_adjunctpane.moc"
