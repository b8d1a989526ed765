#include "core/app/currentuser.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/schema.h"
#include "personnel/psnprocedures.h"
#include "personnel/psnstat.h"
#include "statfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

Q_DECLARE_METATYPE(StatRange)

namespace {

// "TID:caption" of a group in its order.
QString groupText(int flag)
{
    const auto group = LoadStatGroup(theDatabase, flag);
    if (!group)
        return group.error();
    QStringList entries;
    for (const StatDefinition &definition : *group)
        entries << u"%1:%2"_s.arg(definition.tid).arg(definition.caption);
    return entries.join(u',');
}

// "title[lower,upper]" of the stored ranges in their order.
QString rangesText(int tid)
{
    const auto ranges = LoadStatRanges(theDatabase, tid);
    if (!ranges)
        return ranges.error();
    QStringList entries;
    for (const StatRange &range : *ranges)
        entries << u"%1[%2,%3]"_s.arg(range.title, range.lower, range.upper);
    return entries.join(u',');
}

int countOf(const QString &sql)
{
    return theDatabase.run(sql).scalar().toInt();
}

int save1D(const QString &caption, const QString &table, const QString &field, int dataType,
           const QVector<StatRange> &ranges = {})
{
    const auto saved
        = SaveStat1D(theDatabase, { 0, caption, 1, false, table, field, 0 }, dataType, ranges);
    return saved ? *saved : -1;
}

// Makes every insert of a range titled "boom" fail, as a constraint of the server would.
bool forbidBoomRanges()
{
    if (theDatabase.backend() == vantrel::db::Backend::Postgres)
        return theDatabase.Execute(u"ALTER TABLE qz_StatItmFilter ADD CONSTRAINT ck_boom"
                                   " CHECK (fTitle <> 'boom')"_s);
    return theDatabase.Execute(
        u"CREATE TRIGGER tr_boom BEFORE INSERT ON qz_StatItmFilter"
        " WHEN NEW.fTitle = 'boom' BEGIN SELECT RAISE(ABORT, 'boom'); END"_s);
}

} // namespace

class TestPsnStatStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void offeredTables();
    void upgradeOffersArchives();
    void rangeProcedure();
    void parseDate_data();
    void parseDate();
    void itemLookupIgnoresCase();
    void saveNew1D();
    void edit1D();
    void refused1D_data();
    void refused1D();
    void saveFailingHalfway();
    void save2D();
    void refused2D_data();
    void refused2D();
    void deleteRefusedWhileCrossed();
    void deleteRange();
    void moveWithinGroup();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnStatStore::initTestCase()
{
    registerPsnProcedures();
}

void TestPsnStatStore::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QString error;
    QVERIFY2(fillStatFixture(theDatabase, &error), qPrintable(error));
}

void TestPsnStatStore::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnStatStore::offeredTables()
{
    const vantrel::db::QueryResult offered = theDatabase.run(
        u"SELECT TblName FROM qz_Table WHERE bStat=1 AND nType<>6 ORDER BY Ord"_s);
    QVERIFY2(offered.ok, qPrintable(offered.error.description));
    QCOMPARE(offered.rows.rowCount(), 2);
    QCOMPARE(offered.rows.value(0, 0).toString(), u"QZ_PSNBASE"_s);
    QCOMPARE(offered.rows.value(1, 0).toString(), u"qz_Rel1"_s);
}

// A database from before the statistics: its archives are offered, its wage sets are not.
void TestPsnStatStore::upgradeOffersArchives()
{
    for (const QString &sql :
         { u"DROP TABLE qz_StatItmFilter"_s, u"DROP TABLE qz_Stat"_s,
           u"DELETE FROM qz_SchemaVersion WHERE version = 11"_s, u"UPDATE qz_Table SET bStat = 0"_s,
           u"INSERT INTO qz_Table (TblName, Title, nType, Ord) VALUES ('W20', '工资', 6, 5)"_s })
        QVERIFY2(theDatabase.Execute(sql), qPrintable(theDatabase.GetLastErrorString()));
    QVERIFY(vantrel::db::upgradeSchema(theDatabase));
    const vantrel::db::QueryResult offered
        = theDatabase.run(u"SELECT TblName, bStat FROM qz_Table ORDER BY Ord, ID"_s);
    QStringList flags;
    for (int row = 0; row < offered.rows.rowCount(); ++row)
        flags << offered.rows.value(row, 0).toString() + u'='
                + offered.rows.value(row, 1).toString();
    QCOMPARE(flags.join(u','), u"QZ_PSNBASE=1,qz_PsnSort=0,qz_Dept=0,qz_Rel1=1,W20=0"_s);
    QVERIFY(save1D(u"性别"_s, u"QZ_PSNBASE"_s, u"Sex"_s, 1) > 0);
}

void TestPsnStatStore::rangeProcedure()
{
    const auto run = [](int id, const QString &title) {
        CADOCommand command(&theDatabase, u"qz_AddStatItmFilter"_s);
        command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, id);
        command.AddParameterInt(u"TID"_s, adInteger, adParamInput, 4, 7);
        command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 200, title);
        command.AddParameterText(u"LowerVal"_s, adVarChar, adParamInput, 50, u"1"_s);
        command.AddParameterText(u"UperVal"_s, adVarChar, adParamInput, 50, u"2"_s);
        command.AddParameterInt(u"Ord"_s, adInteger, adParamInput, 4, 3);
        return command.Execute();
    };
    QVERIFY(run(0, u"一"_s));
    QVERIFY(run(0, u"二"_s));
    const int first = countOf(u"SELECT MIN(id) FROM qz_StatItmFilter"_s);
    QVERIFY(run(first, u"改"_s));
    QCOMPARE(rangesText(7), u"改[1,2],二[1,2]"_s);
    QVERIFY(!run(first + 100, u"无"_s));
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_StatItmFilter"_s), 2);
}

void TestPsnStatStore::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("stored form") << u"2024-05-10"_s << QDate(2024, 5, 10);
    QTest::newRow("slashes, no zeros") << u"2024/5/10"_s << QDate(2024, 5, 10);
    QTest::newRow("with a time") << u"2024-05-10 00:00:00"_s << QDate(2024, 5, 10);
    QTest::newRow("slashes with a time") << u" 2024/5/1 8:30:00 "_s << QDate(2024, 5, 1);
    QTest::newRow("ISO with T") << u"2024-05-10T08:00:00"_s << QDate(2024, 5, 10);
    QTest::newRow("no such day") << u"2024-02-30"_s << QDate();
    QTest::newRow("a number") << u"100"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TestPsnStatStore::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(ParseStatDate(text), date);
}

void TestPsnStatStore::itemLookupIgnoresCase()
{
    const auto item = LoadStatItem(theDatabase, u"qz_psnbase"_s, u"f13"_s);
    QVERIFY2(item, qPrintable(item.error()));
    QVERIFY(item->has_value());
    QCOMPARE((*item)->alias, u"职称"_s);
    QCOMPARE((*item)->dataType, 3);
    QCOMPARE((*item)->name, u"F13"_s);
    const auto link = LoadStatItem(theDatabase, u"QZ_PSNBASE"_s, u"did"_s);
    QVERIFY(link && link->has_value());
    QCOMPARE((*link)->idRef, u"QZ_DEPT.DID"_s);
    const auto none = LoadStatItem(theDatabase, u"QZ_PSNBASE"_s, u"F99"_s);
    QVERIFY(none && !none->has_value());
}

void TestPsnStatStore::saveNew1D()
{
    const int first = save1D(u"职称"_s, u"QZ_PSNBASE"_s, u"F13"_s, 3);
    QVERIFY(first > 0);
    QCOMPARE(rangesText(first), QString());
    // Date bounds are stored in one form whatever form they came in.
    const int tid = save1D(u" 入职 "_s, u"QZ_PSNBASE"_s, u"F14"_s, 2,
                           { { 0, u"早"_s, u"2020/1/1"_s, u"2020-12-31 00:00:00"_s },
                             { 0, u"晚"_s, u"2021-6-5"_s, u"2022.12.9"_s } });
    QVERIFY(tid > first);
    const auto definition = LoadStatDefinition(theDatabase, tid);
    QVERIFY(definition && definition->has_value());
    QCOMPARE((*definition)->caption, u"入职"_s);
    QCOMPARE((*definition)->ord, tid);
    QCOMPARE((*definition)->flag, 1);
    QCOMPARE((*definition)->table, u"QZ_PSNBASE"_s);
    QCOMPARE((*definition)->field, u"F14"_s);
    QCOMPARE(rangesText(tid), u"早[2020-01-01,2020-12-31],晚[2021-06-05,2022-12-09]"_s);
    QCOMPARE(countOf(u"SELECT MAX(Ord) FROM qz_StatItmFilter"_s), 1);
    QCOMPARE(groupText(1), u"%1:职称,%2:入职"_s.arg(first).arg(tid));
    const auto gone = LoadStatDefinition(theDatabase, tid + 100);
    QVERIFY(gone && !gone->has_value());
}

void TestPsnStatStore::edit1D()
{
    const int tid = save1D(u"数额"_s, u"QZ_PSNBASE"_s, u"F12"_s, 0,
                           { { 0, u"低"_s, u"0"_s, u"50"_s }, { 0, u"高"_s, u"51"_s, u"300"_s } });
    QVERIFY(tid > 0);
    auto ranges = LoadStatRanges(theDatabase, tid);
    QVERIFY(ranges && ranges->size() == 2);
    // Moved up, rewritten, and a new one: the order given is the order stored.
    QVector<StatRange> edited { ranges->at(1), { 0, u"新"_s, u"-5"_s, u"+7.5"_s }, ranges->at(0) };
    edited[0].upper = u"299"_s;
    const auto saved = SaveStat1D(
        theDatabase, { tid, u"数额二"_s, 1, false, u"qz_Rel1"_s, u"R2"_s, 0 }, 0, edited);
    QVERIFY2(saved, qPrintable(saved.error()));
    QCOMPARE(*saved, tid);
    QCOMPARE(rangesText(tid), u"高[51,299],新[-5,+7.5],低[0,50]"_s);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_StatItmFilter"_s), 3);
    const auto definition = LoadStatDefinition(theDatabase, tid);
    QCOMPARE((*definition)->caption, u"数额二"_s);
    QCOMPARE((*definition)->table, u"QZ_PSNBASE"_s); // table and field stay
    QCOMPARE((*definition)->field, u"F12"_s);

    // Deleted by someone else while it was being edited: saved anew with its ranges.
    QVERIFY(DeleteStat(theDatabase, tid));
    const auto again = SaveStat1D(
        theDatabase, { tid, u"数额三"_s, 1, false, u"QZ_PSNBASE"_s, u"F12"_s, 0 }, 0, edited);
    QVERIFY2(again, qPrintable(again.error()));
    QVERIFY(*again != tid);
    QCOMPARE(rangesText(*again), u"高[51,299],新[-5,+7.5],低[0,50]"_s);
}

void TestPsnStatStore::refused1D_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("dataType");
    QTest::addColumn<QVector<StatRange>>("ranges");
    QTest::addColumn<QString>("message");
    const QVector<StatRange> good { { 0, u"段"_s, u"1"_s, u"2"_s } };
    QTest::newRow("blank caption") << u"  "_s << 0 << good << u"标题不能为空!"_s;
    QTest::newRow("number without ranges")
        << u"额"_s << 0 << QVector<StatRange>() << u"区段设置有错误!"_s;
    QTest::newRow("range without a title")
        << u"额"_s << 0 << QVector<StatRange> { { 0, u" "_s, u"1"_s, u"2"_s } }
        << u"区段设置有错误!"_s;
    QTest::newRow("empty bound") << u"额"_s << 0
                                 << QVector<StatRange> { { 0, u"段"_s, QString(), u"2"_s } }
                                 << u"区段设置有错误!"_s;
    QTest::newRow("bound no number")
        << u"额"_s << 0 << QVector<StatRange> { { 0, u"段"_s, u"1"_s, u"1e3"_s } }
        << u"区段设置有错误!"_s;
    QTest::newRow("bound no date") << u"日"_s << 2 << good << u"区段设置有错误!"_s;
}

void TestPsnStatStore::refused1D()
{
    QFETCH(QString, caption);
    QFETCH(int, dataType);
    QFETCH(QVector<StatRange>, ranges);
    QFETCH(QString, message);
    const auto saved = SaveStat1D(
        theDatabase, { 0, caption, 1, false, u"QZ_PSNBASE"_s, u"F12"_s, 0 }, dataType, ranges);
    QVERIFY(!saved);
    QCOMPARE(saved.error(), message);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_Stat"_s), 0);
}

void TestPsnStatStore::saveFailingHalfway()
{
    const int tid
        = save1D(u"数额"_s, u"QZ_PSNBASE"_s, u"F12"_s, 0, { { 0, u"低"_s, u"0"_s, u"50"_s } });
    QVERIFY(tid > 0);
    QVERIFY2(forbidBoomRanges(), qPrintable(theDatabase.GetLastErrorString()));
    const QVector<StatRange> failing { { 0, u"好"_s, u"1"_s, u"2"_s },
                                       { 0, u"boom"_s, u"3"_s, u"4"_s } };

    const auto added = SaveStat1D(
        theDatabase, { 0, u"新"_s, 1, false, u"QZ_PSNBASE"_s, u"F12"_s, 0 }, 0, failing);
    QVERIFY(!added);
    QVERIFY(added.error().contains(u"boom"_s));
    QCOMPARE(groupText(1), u"%1:数额"_s.arg(tid));

    auto kept = *LoadStatRanges(theDatabase, tid);
    kept[0].title = u"改"_s;
    const auto edited = SaveStat1D(
        theDatabase, { tid, u"改名"_s, 1, false, u"QZ_PSNBASE"_s, u"F12"_s, 0 }, 0, kept + failing);
    QVERIFY(!edited);
    QCOMPARE(groupText(1), u"%1:数额"_s.arg(tid));
    QCOMPARE(rangesText(tid), u"低[0,50]"_s);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_StatItmFilter"_s), 1);
    QCOMPARE(theDatabase.transactionDepth(), 0);
}

void TestPsnStatStore::save2D()
{
    const int title = save1D(u"职称"_s, u"qz_psnbase"_s, u"F13"_s, 3);
    const int unit = save1D(u"单位"_s, u"qz_Rel1"_s, u"R1"_s, 1);
    const int sex = save1D(u"性别"_s, u"QZ_PSNBASE"_s, u"Sex"_s, 1);
    const auto cross = SaveStat2D(theDatabase, 0, u" 交叉 "_s, unit, title);
    QVERIFY2(cross, qPrintable(cross.error()));
    auto definition = *LoadStatDefinition(theDatabase, *cross);
    QCOMPARE(definition->caption, u"交叉"_s);
    QCOMPARE(definition->flag, 2);
    QCOMPARE(definition->ord, *cross);
    QCOMPARE(definition->table, QString::number(unit));
    QCOMPARE(definition->field, QString::number(title));

    const auto edited = SaveStat2D(theDatabase, *cross, u"改"_s, sex, title);
    QVERIFY2(edited, qPrintable(edited.error()));
    QCOMPARE(*edited, *cross);
    definition = *LoadStatDefinition(theDatabase, *cross);
    QCOMPARE(definition->caption, u"改"_s);
    QCOMPARE(definition->table, QString::number(sex));
    QCOMPARE(definition->ord, *cross);
    QCOMPARE(groupText(2), u"%1:改"_s.arg(*cross));
}

void TestPsnStatStore::refused2D_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::addColumn<QString>("message");
    // Statistics 1 and 2 count related rows, 3 a person column; 4 is a cross.
    QTest::newRow("two related tables") << u"交"_s << 1 << 2 << u"不能创建这两横纵指标统计项!"_s;
    QTest::newRow("the same twice") << u"交"_s << 3 << 3 << u"不能创建这两横纵指标统计项!"_s;
    QTest::newRow("a cross crossed") << u"交"_s << 4 << 3 << u"不能创建这两横纵指标统计项!"_s;
    QTest::newRow("one gone") << u"交"_s << 3 << 99 << u"不能创建这两横纵指标统计项!"_s;
    QTest::newRow("no caption") << u""_s << 1 << 3 << u"标题不能为空!"_s;
}

void TestPsnStatStore::refused2D()
{
    QFETCH(QString, caption);
    QFETCH(int, horz);
    QFETCH(int, vert);
    QFETCH(QString, message);
    QCOMPARE(save1D(u"单位"_s, u"qz_Rel1"_s, u"R1"_s, 1), 1);
    QCOMPARE(save1D(u"年数"_s, u"QZ_REL1"_s, u"R2"_s, 0, { { 0, u"段"_s, u"1"_s, u"2"_s } }), 2);
    QCOMPARE(save1D(u"性别"_s, u"QZ_PSNBASE"_s, u"Sex"_s, 1), 3);
    QVERIFY(SaveStat2D(theDatabase, 0, u"交"_s, 1, 3));
    const auto saved = SaveStat2D(theDatabase, 0, caption, horz, vert);
    QVERIFY(!saved);
    QCOMPARE(saved.error(), message);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_Stat"_s), 4);
}

void TestPsnStatStore::deleteRefusedWhileCrossed()
{
    const int number
        = save1D(u"数额"_s, u"QZ_PSNBASE"_s, u"F12"_s, 0,
                 { { 0, u"低"_s, u"0"_s, u"50"_s }, { 0, u"高"_s, u"51"_s, u"99"_s } });
    const int sex = save1D(u"性别"_s, u"QZ_PSNBASE"_s, u"Sex"_s, 1);
    const int other = save1D(u"职称"_s, u"QZ_PSNBASE"_s, u"F13"_s, 3);
    const int cross = *SaveStat2D(theDatabase, 0, u"数额×性别"_s, sex, number);
    for (const auto &[tid, caption] :
         { std::pair { number, u"数额"_s }, std::pair { sex, u"性别"_s } }) {
        const vantrel::Status refused = DeleteStat(theDatabase, tid);
        QVERIFY(!refused);
        QCOMPARE(refused.error(),
                 u"统计项'%1'已被二维统计项'数额×性别'引用,不能删除!"_s.arg(caption));
    }
    QCOMPARE(rangesText(number), u"低[0,50],高[51,99]"_s);
    QVERIFY(DeleteStat(theDatabase, other));
    QVERIFY(DeleteStat(theDatabase, cross));
    QVERIFY(DeleteStat(theDatabase, number));
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_StatItmFilter"_s), 0);
    QCOMPARE(groupText(1), u"%1:性别"_s.arg(sex));
    QCOMPARE(groupText(2), QString());
}

void TestPsnStatStore::deleteRange()
{
    const int tid = save1D(u"数额"_s, u"QZ_PSNBASE"_s, u"F12"_s, 0,
                           { { 0, u"低"_s, u"0"_s, u"50"_s }, { 0, u"高"_s, u"51"_s, u"99"_s } });
    const auto ranges = LoadStatRanges(theDatabase, tid);
    QVERIFY(DeleteStatRange(theDatabase, ranges->at(0).id));
    QVERIFY(DeleteStatRange(theDatabase, 0));
    QCOMPARE(rangesText(tid), u"高[51,99]"_s);
}

void TestPsnStatStore::moveWithinGroup()
{
    const int a = save1D(u"甲"_s, u"QZ_PSNBASE"_s, u"Sex"_s, 1);
    const int b = save1D(u"乙"_s, u"QZ_PSNBASE"_s, u"F13"_s, 3);
    const int cross = *SaveStat2D(theDatabase, 0, u"交"_s, a, b);
    const int c = save1D(u"丙"_s, u"QZ_PSNBASE"_s, u"Name"_s, 1);
    // The last onto the first: it takes the first place, the others follow in their order.
    QVERIFY(MoveStat(c, a, 1));
    QCOMPARE(groupText(1), u"%1:丙,%2:甲,%3:乙"_s.arg(c).arg(a).arg(b));
    QVERIFY(MoveStat(c, b, 1));
    QCOMPARE(groupText(1), u"%1:甲,%2:乙,%3:丙"_s.arg(a).arg(b).arg(c));
    QVERIFY(MoveStat(a, a, 1));
    // Across groups, or with the wrong group named, nothing moves.
    QVERIFY(!MoveStat(cross, a, 1));
    QVERIFY(!MoveStat(a, cross, 2));
    QVERIFY(!MoveStat(a, b, 2));
    QVERIFY(!MoveStat(a, -1, 1)); // onto a group node
    QCOMPARE(groupText(1), u"%1:甲,%2:乙,%3:丙"_s.arg(a).arg(b).arg(c));
    QCOMPARE(groupText(2), u"%1:交"_s.arg(cross));
}

QTEST_GUILESS_MAIN(TestPsnStatStore)
#include "tst_psnstatstore.moc"
