#include "core/app/currentuser.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "personnel/relatarc.h"
#include "psnfixture.h"
#include "relatfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

QString column(const QString &sql, const QVariantList &values = {})
{
    const vantrel::db::QueryResult result = theDatabase.run(sql, values);
    QStringList texts;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        texts << result.rows.value(row, 0).toString();
    return result.ok ? texts.join(u',') : u"failed: "_s + result.error.description;
}

tagVANTRELITEMINFO textItem(const QString &name, const QString &alias)
{
    tagVANTRELITEMINFO item;
    item.TblName = u"QZ_REL1"_s;
    item.Name = name;
    item.Alias = alias;
    item.iDataType = ItemText;
    item.iLength = 50;
    return item;
}

} // namespace

// The related archives and wage history without windows, on both backends.
class TestRelatArc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void columnsAndRows();
    void addPutsTheRowLast();
    void editAndDeleteOnlyTheOwnRow();
    void renumber_data();
    void renumber();
    void wageSetsOffered_data();
    void wageSetsOffered();
    void wageHistoryNewestFirst();

private:
    TestDatabase *m_fixture = nullptr;
    int m_wageSets[2] = { 0, 0 };
};

void TestRelatArc::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    QString error;
    QVERIFY2(fillRelatFixture(theDatabase, &error, m_wageSets), qPrintable(error));
    registerRelatProcedures();
}

void TestRelatArc::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestRelatArc::columnsAndRows()
{
    const vantrel::Result<RelatColumns> columns = BuildRelatColumnList(theDatabase, u"qz_rel1"_s);
    QVERIFY2(columns, qPrintable(columns.error()));
    QCOMPARE(columns->widths, QVector<int>({ 20, 90, 100, 0, 0 }));
    const vantrel::db::QueryResult rows
        = theDatabase.run(BuildRelatSelectSql(u"qz_Rel1"_s, *columns), { 1 });
    QVERIFY2(rows.ok, qPrintable(rows.error.description));
    QCOMPARE(int(rows.rows.fields.size()), 5);
    QCOMPARE(rows.rows.fields.at(3).name, u"说明\"注\""_s);
    QCOMPARE(rows.rows.value(0, 1).toString(), u"北大"_s);
    QCOMPARE(rows.rows.value(1, 1).toString(), u"清华"_s);
    QCOMPARE(*CheckedRelatTable(theDatabase, u"QZ_REL2"_s), u"qz_Rel2"_s);
    QCOMPARE(*CheckedRelatTable(theDatabase, u"qz_PsnBase"_s), QString());
}

void TestRelatArc::addPutsTheRowLast()
{
    // Another operator adds a row of his own meanwhile, on his own connection.
    CADODatabase other;
    QVERIFY2(other.Open(m_fixture->connectionString()), qPrintable(other.GetLastErrorString()));
    QVERIFY(other.Execute(u"INSERT INTO qz_Rel1 (PID, Ord, F1) VALUES (2, 0, '复旦')"_s));

    const CItemInfoArray items { textItem(u"F1"_s, u"学校"_s), textItem(u"F3"_s, u"说明"_s) };
    const FormSaveResult saved = SaveRelatRecord(theDatabase, u"QZ_REL1"_s, 1, 0, items,
                                                 { u"O'Hara \"学院\""_s, QString() });
    QVERIFY2(saved.ok(), qPrintable(saved.messages.join(u'\n')));
    QCOMPARE(column(u"SELECT Ord FROM qz_Rel1 WHERE ID = ?"_s, { saved.key }),
             QString::number(saved.key));
    QCOMPARE(column(u"SELECT Ord FROM qz_Rel1 WHERE PID = 2"_s), u"0"_s);
    QCOMPARE(column(u"SELECT F1 FROM qz_Rel1 WHERE PID = 1 ORDER BY Ord"_s),
             u"北大,清华,O'Hara \"学院\""_s);

    // A value that does not fit stops the save before anything is written.
    const FormSaveResult tooLong
        = SaveRelatRecord(theDatabase, u"qz_Rel1"_s, 1, 0, items, { QString(51, u'x'), QString() });
    QVERIFY(!tooLong.ok());
    QCOMPARE(column(u"SELECT COUNT(*) FROM qz_Rel1"_s), u"4"_s);
    // Only related tables take rows.
    const FormSaveResult foreign
        = SaveRelatRecord(theDatabase, u"qz_PsnSort"_s, 1, 0, items, { u"x"_s, QString() });
    QCOMPARE(foreign.messages, QStringList { u"保存出错!"_s });
}

void TestRelatArc::editAndDeleteOnlyTheOwnRow()
{
    const int id = column(u"SELECT ID FROM qz_Rel1 WHERE F1 = '北大'"_s).toInt();
    const CItemInfoArray items { textItem(u"F1"_s, u"学校"_s) };
    QVERIFY(SaveRelatRecord(theDatabase, u"qz_Rel1"_s, 1, id, items, { u"北京大学"_s }).ok());
    QCOMPARE(column(u"SELECT F1 FROM qz_Rel1 WHERE ID = ?"_s, { id }), u"北京大学"_s);

    QCOMPARE(*DeleteRelatRow(theDatabase, u"qz_Rel1"_s, id, 2), false);
    QCOMPARE(*DeleteRelatRow(theDatabase, u"qz_Rel1"_s, id, 1), true);
    QCOMPARE(*DeleteRelatRow(theDatabase, u"qz_Rel1"_s, id, 1), false);
    QVERIFY(!DeleteRelatRow(theDatabase, u"qz_PsnBase"_s, 1, 1));
    QCOMPARE(column(u"SELECT COUNT(*) FROM qz_PsnBase"_s), u"7"_s);
}

void TestRelatArc::renumber_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("ok");
    QTest::newRow("related table") << u"qz_Rel1"_s << true;
    QTest::newRow("other case") << u"QZ_REL1"_s << true;
    QTest::newRow("person table") << u"qz_PsnBase"_s << false;
    QTest::newRow("wage set") << u"qz_WageData1"_s << false;
    QTest::newRow("no identifier") << u"qz_Rel1; DELETE FROM qz_Rel1"_s << false;
}

void TestRelatArc::renumber()
{
    QFETCH(QString, table);
    QFETCH(bool, ok);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Rel1 (PID, Ord, F1) VALUES (1, 0, '复旦'),"
                                " (2, 7, '南开')"_s));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Rel1 SET Ord = 9 WHERE F1 = '北大'"_s));
    CADOCommand command(&theDatabase, u"qz_RefreshPsnRelatOrder"_s);
    command.AddParameterText(u"TblName"_s, adVarWChar, adParamInput, 50, table);
    command.AddParameterInt(u"PID"_s, adInteger, adParamInput, 4, 1);
    QCOMPARE(command.Execute(), ok);
    if (ok) {
        QCOMPARE(column(u"SELECT F1 || ':' || Ord FROM qz_Rel1 WHERE PID = 1 ORDER BY Ord"_s),
                 u"复旦:1,清华:2,北大:3"_s);
    } else {
        QVERIFY(!command.GetLastErrorString().isEmpty());
        QCOMPARE(column(u"SELECT Ord FROM qz_Rel1 WHERE PID = 1 ORDER BY ID"_s), u"9,2,0"_s);
    }
    QCOMPARE(column(u"SELECT Ord FROM qz_Rel1 WHERE PID = 2"_s), u"7"_s);
}

void TestRelatArc::wageSetsOffered_data()
{
    QTest::addColumn<int>("super");
    QTest::addColumn<QString>("allowed"); // indexes into the fixture's wage sets
    QTest::addColumn<QString>("titles");
    QTest::newRow("super user") << 1 << QString() << u"工资,奖金"_s;
    QTest::newRow("the second only") << 0 << u"1"_s << u"奖金"_s;
    QTest::newRow("both") << 0 << u"0,1"_s << u"工资,奖金"_s;
    QTest::newRow("none") << 0 << QString() << QString();
}

void TestRelatArc::wageSetsOffered()
{
    QFETCH(int, super);
    QFETCH(QString, allowed);
    QFETCH(QString, titles);
    QStringList ids;
    for (const QString &index : allowed.split(u',', Qt::SkipEmptyParts))
        ids << QString::number(m_wageSets[index.toInt()]);
    CCurrentUser user;
    user.ISuper = super;
    user.ParsePurview(u"0|||%1"_s.arg(ids.join(u',')));
    const vantrel::Result<QVector<WageSetTab>> sets = LoadVisibleWageSets(theDatabase, user);
    QVERIFY2(sets, qPrintable(sets.error()));
    QStringList shown;
    for (const WageSetTab &set : *sets)
        shown << set.Title;
    QCOMPARE(shown.join(u','), titles);
}

void TestRelatArc::wageHistoryNewestFirst()
{
    const vantrel::Result<WageHistoryQuery> query
        = BuildWageHistoryQuery(theDatabase, m_wageSets[0], 1);
    QVERIFY2(query, qPrintable(query.error()));
    const vantrel::db::QueryResult rows = theDatabase.run(query->sql, query->values);
    QVERIFY2(rows.ok, qPrintable(rows.error.description + u"\n"_s + query->sql));
    QCOMPARE(rows.rows.fields.at(1).name, u"薪资期间"_s);
    QCOMPARE(rows.rows.fields.at(2).name, u"基本工资"_s);
    QCOMPARE(rows.rows.rowCount(), 3);
    QCOMPARE(rows.rows.value(0, 1).toInt(), 202403);
    QCOMPARE(rows.rows.value(1, 1).toInt(), 202402);
    QCOMPARE(rows.rows.value(2, 2).toDouble(), 1000.0);
    const vantrel::Result<WageHistoryQuery> empty
        = BuildWageHistoryQuery(theDatabase, m_wageSets[1], 1);
    QVERIFY(empty);
    QCOMPARE(theDatabase.run(empty->sql, empty->values).rows.rowCount(), 0);
    QVERIFY(!BuildWageHistoryQuery(theDatabase, 999, 1));
}

QTEST_GUILESS_MAIN(TestRelatArc)
#include "tst_relatarc.moc"
