#include "core/app/currentuser.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "personnel/psnwizard.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

QString column(const QString &sql, const QVariantList &values = {})
{
    QStringList texts;
    const vantrel::db::QueryResult rows = theDatabase.run(sql, values);
    if (!rows.ok)
        return rows.error.description;
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        texts << rows.rows.text(row, 0);
    return texts.join(u',');
}

CPersonMap persons(std::initializer_list<int> pids)
{
    CPersonMap map;
    for (const int pid : pids) {
        const vantrel::db::QueryResult row = theDatabase.run(
            u"SELECT P.Number, P.Name, D.Name, S.Name FROM qz_PsnBase P"
            " LEFT JOIN qz_Dept D ON D.DID = P.DID LEFT JOIN qz_PsnSort S ON S.AID = P.AID"
            " WHERE P.PID = ?"_s,
            { pid });
        CPersonBase person;
        person.PID = pid;
        person.Number = row.rows.text(0, 0);
        person.Name = row.rows.text(0, 1);
        person.DeptName = row.rows.text(0, 2);
        person.SortName = row.rows.text(0, 3);
        map.insert(pid, person);
    }
    return map;
}

} // namespace

class TestPsnWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void selectPersons_data();
    void selectPersons();
    void selectCaptions();
    void transferThreePersons();
    void categoryChange();
    void refusedHistoryRowChangesNobody();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnWizard::initTestCase()
{
    registerPsnWizardProcedures();
}

void TestPsnWizard::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    loginAs(u"admin"_s);
}

void TestPsnWizard::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnWizard::selectPersons_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("department");
    QTest::addColumn<QString>("pids");

    QTest::newRow("everyone, in list order") << u"admin"_s << 0 << u"1,2,3,4,7,5,6"_s;
    QTest::newRow("a subtree") << u"admin"_s << 2 << u"2,4,7"_s;
    QTest::newRow("rights list") << u"dept35"_s << 0 << u"3,5,6"_s;
    QTest::newRow("rights list under a subtree") << u"dept35"_s << 1 << u"3,5,6"_s;
    QTest::newRow("a subtree not granted") << u"dept35"_s << 2 << QString();
    QTest::newRow("no departments granted") << u"nodept"_s << 0 << QString();
}

void TestPsnWizard::selectPersons()
{
    QFETCH(QString, user);
    QFETCH(int, department);
    QFETCH(QString, pids);
    loginAs(user);
    CADOCommand command(&theDatabase, u"qz_SelectPsnWizard"_s);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, department);
    command.AddParameterInt(u"AllDepts"_s, adInteger, adParamInput, 4,
                            theCurrentUser.allDepts() ? 1 : 0);
    command.AddParameterText(u"DeptIds"_s, adVarWChar, adParamInput, -1,
                             GetUserDeptList(theCurrentUser));
    QVERIFY2(command.Execute(), qPrintable(command.GetLastErrorString()));
    const vantrel::db::RowSet rows = command.TakeResultSet();
    QStringList listed;
    for (int row = 0; row < rows.rowCount(); ++row)
        listed << rows.text(row, 0);
    QCOMPARE(listed.join(u','), pids);
}

void TestPsnWizard::selectCaptions()
{
    QVERIFY(theDatabase.Execute(
        u"UPDATE qz_Items SET Alias = '工 号\"(1)' WHERE TblName = 'QZ_PSNBASE' AND Name = 'Number'"_s));
    CADOCommand command(&theDatabase, u"qz_SelectPsnWizard"_s);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, 4);
    command.AddParameterInt(u"AllDepts"_s, adInteger, adParamInput, 4, 1);
    command.AddParameterText(u"DeptIds"_s, adVarWChar, adParamInput, -1, QString());
    QVERIFY2(command.Execute(), qPrintable(command.GetLastErrorString()));
    const vantrel::db::RowSet rows = command.TakeResultSet();
    QStringList captions;
    for (const vantrel::db::FieldDef &field : rows.fields)
        captions << field.name;
    QCOMPARE(captions.mid(1, 5),
             (QStringList { u"工 号\"(1)"_s, u"姓名"_s, u"性别"_s, u"部门"_s, u"类别"_s }));
    QCOMPARE(rows.text(1, 2), u"O'Brien"_s);
    QCOMPARE(rows.text(1, 4), u"一组"_s);
    QCOMPARE(rows.text(1, 5), u"退休"_s);
    QCOMPARE(rows.text(1, 6), u"B007 O'Brien"_s);
}

void TestPsnWizard::transferThreePersons()
{
    const QDateTime day(QDate(2024, 3, 1), QTime(0, 0));
    const vantrel::Result<void> applied
        = ApplyPsnChange(theDatabase, TransferChange(), 5, { u"AfterDep"_s, u"MobDate"_s },
                         { u"二组"_s, day }, persons({ 1, 2, 7 }));
    QVERIFY2(applied, qPrintable(applied.error()));
    QCOMPARE(column(u"SELECT DID FROM qz_PsnBase ORDER BY PID"_s), u"5,5,3,4,5,5,5"_s);
    QCOMPARE(column(u"SELECT PID || ':' || BeforeDep || '>' || AfterDep FROM qz_PsnRedeploy"
                    " ORDER BY PID"_s),
             u"1:总公司>二组,2:一部>二组,7:一组>二组"_s);
    QCOMPARE(column(u"SELECT COUNT(*) FROM qz_PsnRedeploy WHERE MobDate = ?"_s, { day }), u"3"_s);
    QCOMPARE(PsnChangeLogText(TransferChange(), 3), u"人员档案[人员调动：3 人]"_s);
}

void TestPsnWizard::categoryChange()
{
    QVERIFY(ApplyPsnChange(theDatabase, CategoryChange(), 2, { u"NStatus"_s }, { u"退休"_s },
                           persons({ 6 })));
    QCOMPARE(column(u"SELECT AID FROM qz_PsnBase WHERE PID = 6"_s), u"2"_s);
    QCOMPARE(column(u"SELECT OStatus || '>' || NStatus FROM qz_PsnSortAlter"_s), u"在职>退休"_s);
    QCOMPARE(PsnChangeLogText(CategoryChange(), 1), u"人员档案[人员类别变更：1 人]"_s);
}

void TestPsnWizard::refusedHistoryRowChangesNobody()
{
    QVERIFY(theDatabase.Execute(
        u"ALTER TABLE qz_PsnRedeploy ADD F30 VARCHAR(10) NOT NULL DEFAULT ''"_s));
    const vantrel::Result<void> applied
        = ApplyPsnChange(theDatabase, TransferChange(), 5, { u"AfterDep"_s, u"F30"_s },
                         { u"二组"_s, QVariant() }, persons({ 1, 2, 7 }));
    QVERIFY(!applied);
    QVERIFY(!applied.error().isEmpty());
    QCOMPARE(column(u"SELECT DID FROM qz_PsnBase ORDER BY PID"_s), u"1,2,3,4,5,5,4"_s);
    QCOMPARE(column(u"SELECT COUNT(*) FROM qz_PsnRedeploy"_s), u"0"_s);
    // A column that is no column name never reaches the database.
    QVERIFY(!ApplyPsnChange(theDatabase, TransferChange(), 5, { u"AfterDep; DROP"_s }, { u"x"_s },
                            persons({ 1 })));
}

QTEST_GUILESS_MAIN(TestPsnWizard)
#include "tst_psnwizard.moc"
