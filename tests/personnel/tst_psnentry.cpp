#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "personnel/dynform.h"
#include "personnel/psnentry.h"
#include "personnel/psnprocedures.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

const QString gone = u"该记录已被其他操作员删除,请刷新数据列表!"_s;

int scalarInt(const QString &sql, const QVariantList &values = {})
{
    return theDatabase.run(sql, values).scalar().toInt();
}

int logCount()
{
    return scalarInt(u"SELECT COUNT(*) FROM qz_Log"_s);
}

tagVANTRELITEMINFO itemNamed(const CItemInfoArray &items, const QString &name)
{
    for (const tagVANTRELITEMINFO &item : items) {
        if (item.Name.compare(name, Qt::CaseInsensitive) == 0)
            return item;
    }
    return {};
}

// The person form's items with contents for a new person: number, name, department 3 and
// category 1; the other fields empty.
struct PersonInput
{
    CItemInfoArray items;
    FieldContents contents;

    void set(const QString &name, const QVariant &content)
    {
        for (int i = 0; i < items.size(); ++i) {
            if (items.at(i).Name.compare(name, Qt::CaseInsensitive) == 0)
                contents[i] = content;
        }
    }
};

PersonInput newPerson(const QString &number, const QString &name)
{
    PersonInput input;
    input.items = *LoadFormItems(theDatabase, u"QZ_PSNBASE"_s);
    for (const tagVANTRELITEMINFO &item : std::as_const(input.items))
        input.contents << FieldDefault(item);
    input.set(u"Number"_s, number);
    input.set(u"Name"_s, name);
    input.set(u"DID"_s, 3);
    input.set(u"AID"_s, 1);
    return input;
}

PsnSaveRequest requestFor(const PersonInput &input, bool add, int pid = 0)
{
    PsnSaveRequest request;
    request.add = add;
    request.pid = pid;
    request.items = input.items;
    request.contents = input.contents;
    return request;
}

} // namespace

class TestPsnEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void formItems();
    void fieldRoundTrip_data();
    void fieldRoundTrip();
    void zeroDateReadsAsNone();
    void failedWriteLogsNothing();
    void newKeyIsTheRowsOwn();
    void numberRule_data();
    void numberRule();
    void automaticNumbers_data();
    void automaticNumbers();
    void checkOrder_data();
    void checkOrder();
    void editNumber_data();
    void editNumber();
    void photoWithPerson();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnEntry::initTestCase()
{
    registerPsnProcedures();
}

void TestPsnEntry::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    // A dictionary item of four characters next to the fixture's items.
    QVERIFY(theDatabase.Execute(u"ALTER TABLE qz_PsnBase ADD F15 VARCHAR(20)"_s));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iLength, IdRef, Ord)"
        " VALUES ('QZ_PSNBASE', 'F15', '学历', 3, 4, 'XL', 11)"_s));
    loginAs(u"admin"_s);
    theApp.RecentDays = 60;
}

void TestPsnEntry::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnEntry::formItems()
{
    // Lower-case table names find the items; items kept off forms stay off.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Items SET iFlag = 2 WHERE Name = 'Sex'"_s));
    const vantrel::Result<CItemInfoArray> items = LoadFormItems(theDatabase, u"qz_psnbase"_s);
    QVERIFY2(items, qPrintable(items.error()));
    QStringList names;
    for (const tagVANTRELITEMINFO &item : *items)
        names << item.Name;
    QCOMPARE(names.join(u','), u"Number,Name,Birthday,IDNumber,DID,AID,F12,F13,F14,F15"_s);
    const tagVANTRELITEMINFO did = itemNamed(*items, u"DID"_s);
    QCOMPARE(did.IdRef, u"QZ_DEPT.DID"_s);
    QCOMPARE(did.bNotNull, 1);
    QCOMPARE(did.iDataType, short(ItemLink));
    QCOMPARE(itemNamed(*items, u"F15"_s).iLength, 4);
}

void TestPsnEntry::fieldRoundTrip_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QVariant>("typed");
    QTest::addColumn<QVariant>("reread"); // what the field shows after the save
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    QTest::newRow("number") << u"F12"_s << QVariant(u"1234.5"_s) << QVariant(u"1234.5"_s) << none;
    QTest::newRow("number with blanks")
        << u"F12"_s << QVariant(u" -7 "_s) << QVariant(u"-7"_s) << none;
    QTest::newRow("empty number is 0")
        << u"F12"_s << QVariant(QString()) << QVariant(u"0"_s) << none;
    QTest::newRow("12a") << u"F12"_s << QVariant(u"12a"_s) << QVariant(u"10"_s)
                         << QStringList { u"'数额'为数值类型!"_s, u"保存出错!"_s };
    QTest::newRow("quotes") << u"F13"_s << QVariant(u"O'Brien \"Jr\" ;--"_s)
                            << QVariant(u"O'Brien \"Jr\" ;--"_s) << none;
    QTest::newRow("text at its length")
        << u"F13"_s << QVariant(QString(100, u'字')) << QVariant(QString(100, u'字')) << none;
    QTest::newRow("text over its length")
        << u"F13"_s << QVariant(QString(101, u'x')) << QVariant(QString())
        << QStringList { u"'备注'的长度不能超过100个字符!"_s };
    QTest::newRow("date") << u"F14"_s << QVariant(QDate(2020, 2, 29))
                          << QVariant(QDate(2020, 2, 29)) << none;
    QTest::newRow("date typed in ISO")
        << u"F14"_s << QVariant(u"2021-07-01"_s) << QVariant(QDate(2021, 7, 1)) << none;
    QTest::newRow("no date") << u"F14"_s << QVariant(QDate()) << QVariant(QDate()) << none;
    QTest::newRow("dictionary") << u"F15"_s << QVariant(u"本科"_s) << QVariant(u"本科"_s) << none;
    QTest::newRow("dictionary over its length")
        << u"F15"_s << QVariant(u"硕士研究生"_s) << QVariant(QString())
        << QStringList { u"'学历'的长度不能超过4个字符!"_s };
    QTest::newRow("department link") << u"DID"_s << QVariant(5) << QVariant(5) << none;
    QTest::newRow("category link") << u"AID"_s << QVariant(2) << QVariant(2) << none;
}

void TestPsnEntry::fieldRoundTrip()
{
    QFETCH(QString, item);
    QFETCH(QVariant, typed);
    QFETCH(QVariant, reread);
    QFETCH(QStringList, messages);

    const CItemInfoArray items { itemNamed(*LoadFormItems(theDatabase, u"QZ_PSNBASE"_s), item) };
    QCOMPARE(items.first().Name, item);
    const FormSaveResult saved
        = SaveFormRecord(theDatabase, u"qz_PsnBase"_s, u"PID"_s, 1, items, { typed });
    QCOMPARE(saved.messages, messages);
    const vantrel::Result<std::optional<FieldContents>> loaded
        = LoadFormRecord(theDatabase, u"qz_PsnBase"_s, u"PID"_s, 1, items);
    QVERIFY2(loaded, qPrintable(loaded.error()));
    QVERIFY(loaded->has_value());
    QCOMPARE(loaded->value().first(), reread);
    if (typed.typeId() == QMetaType::QDate && !typed.toDate().isValid())
        QCOMPARE(scalarInt(u"SELECT COUNT(*) FROM qz_PsnBase WHERE PID = 1 AND F14 IS NULL"_s), 1);
}

void TestPsnEntry::zeroDateReadsAsNone()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14 = ? WHERE PID = 2"_s,
                                { QDateTime(QDate(1899, 12, 30), QTime(0, 0)) }));
    const CItemInfoArray items { itemNamed(*LoadFormItems(theDatabase, u"QZ_PSNBASE"_s),
                                           u"F14"_s) };
    const auto loaded = LoadFormRecord(theDatabase, u"qz_PsnBase"_s, u"PID"_s, 2, items);
    QVERIFY(loaded && loaded->has_value());
    QCOMPARE(loaded->value().first(), QVariant(QDate()));
    // No such row: an empty answer, not a failure.
    const auto missing = LoadFormRecord(theDatabase, u"qz_PsnBase"_s, u"PID"_s, 999, items);
    QVERIFY(missing && !missing->has_value());
}

void TestPsnEntry::failedWriteLogsNothing()
{
    // An item whose column the table lacks: the database refuses the write.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, Ord)"
                                " VALUES ('QZ_PSNBASE', 'F99', '缺列', 1, 12)"_s));
    PersonInput input = newPerson(u"N100"_s, u"新人"_s);
    input.set(u"F99"_s, u"x"_s);
    const int persons = scalarInt(u"SELECT COUNT(*) FROM qz_PsnBase"_s);
    const int logs = logCount();
    const PsnSaveResult saved = SavePerson(theDatabase, requestFor(input, true));
    QVERIFY(!saved.ok());
    QCOMPARE(saved.form.messages.size(), 1);
    QVERIFY2(saved.form.messages.first().startsWith(u"保存出错!\n"_s),
             qPrintable(saved.form.messages.first()));
    QVERIFY(saved.form.messages.first().size() > u"保存出错!\n"_s.size());
    QCOMPARE(scalarInt(u"SELECT COUNT(*) FROM qz_PsnBase"_s), persons);
    QCOMPARE(logCount(), logs);
    QCOMPARE(theDatabase.transactionDepth(), 0);
}

void TestPsnEntry::newKeyIsTheRowsOwn()
{
    // Another insert lands right after ours, as another operator's would: the key handed back
    // must still be our row's, not the table's newest.
    if (theDatabase.backend() == vantrel::db::Backend::Postgres) {
        QVERIFY(theDatabase.Execute(
            u"CREATE FUNCTION other_insert() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
            " IF NEW.Name <> 'other' THEN INSERT INTO qz_PsnBase (Name) VALUES ('other');"
            " END IF; RETURN NULL; END $$"_s));
        QVERIFY(theDatabase.Execute(u"CREATE TRIGGER other_after AFTER INSERT ON qz_PsnBase"
                                    " FOR EACH ROW EXECUTE FUNCTION other_insert()"_s));
    } else {
        QVERIFY(theDatabase.Execute(
            u"CREATE TRIGGER other_after AFTER INSERT ON qz_PsnBase WHEN NEW.Name <> 'other'"
            " BEGIN INSERT INTO qz_PsnBase (Name) VALUES ('other'); END"_s));
    }
    const PsnSaveResult saved
        = SavePerson(theDatabase, requestFor(newPerson(u"K1"_s, u"本人"_s), true));
    QVERIFY2(saved.ok(), qPrintable(saved.form.messages.join(u'\n')));
    QCOMPARE(theDatabase.run(u"SELECT Name FROM qz_PsnBase WHERE PID = ?"_s, { saved.person.pid })
                 .scalar()
                 .toString(),
             u"本人"_s);
    QVERIFY(scalarInt(u"SELECT MAX(PID) FROM qz_PsnBase"_s) > saved.person.pid);
}

void TestPsnEntry::numberRule_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("sequence");
    QTest::addColumn<QString>("deptPrefix");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("number");

    QTest::newRow("mode 1, length 6") << u"1|6|A"_s << 42 << QString() << 1 << u"A000042"_s;
    QTest::newRow("length 1 does not cut") << u"1|1|A"_s << 42 << QString() << 1 << u"A42"_s;
    QTest::newRow("mode 0") << u"0|4|A"_s << 7 << u"D"_s << 0 << u"0007"_s;
    QTest::newRow("mode 2 with a prefix") << u"2|3|A"_s << 7 << u"HR"_s << 2 << u"HR007"_s;
    QTest::newRow("mode 2, empty PNRule") << u"2|6|A"_s << 42 << QString() << 2 << u"000042"_s;
    QTest::newRow("two pieces keep the defaults") << u"1|6"_s << 42 << QString() << 3 << QString();
    QTest::newRow("mode outside 0-3 is 0") << u"7|3|A"_s << 42 << QString() << 0 << u"042"_s;
}

void TestPsnEntry::numberRule()
{
    QFETCH(QString, option);
    QFETCH(int, sequence);
    QFETCH(QString, deptPrefix);
    QFETCH(int, mode);
    QFETCH(QString, number);

    const PsnNumberRule rule = ParseNumberRule(option);
    QCOMPARE(rule.mode, mode);
    if (mode == 3) {
        QCOMPARE(rule.length, 20);
        QCOMPARE(rule.prefix, QString());
        return;
    }
    QCOMPARE(NumberForSequence(rule, sequence, deptPrefix), number);
}

void TestPsnEntry::automaticNumbers_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("pnRule");
    QTest::addColumn<QString>("pattern"); // %1: the new PID padded to 6

    QTest::newRow("sequence") << u"0|6|A"_s << u"X"_s << u"%1"_s;
    QTest::newRow("fixed prefix") << u"1|6|A"_s << u"X"_s << u"A%1"_s;
    QTest::newRow("department's prefix") << u"2|6|A"_s << u"EB"_s << u"EB%1"_s;
    QTest::newRow("department without prefix") << u"2|6|A"_s << QString() << u"%1"_s;
}

void TestPsnEntry::automaticNumbers()
{
    QFETCH(QString, option);
    QFETCH(QString, pnRule);
    QFETCH(QString, pattern);

    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = ? WHERE nType = 0"_s, { option }));
    QVERIFY(theDatabase.Execute(
        u"UPDATE qz_Dept SET PNRule = ? WHERE DID = 3"_s,
        { pnRule.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(pnRule) }));
    const vantrel::Result<PsnNumberRule> rule = LoadNumberRule(theDatabase);
    QVERIFY2(rule, qPrintable(rule.error()));

    // Two saves from one form in add mode: two persons, each numbered from its own PID.
    QStringList expectedLog;
    QSet<int> pids;
    for (const QString &name : { u"甲"_s, u"乙"_s }) {
        PsnSaveRequest request = requestFor(newPerson(u"<自动编号>"_s, name), true);
        request.rule = *rule;
        const PsnSaveResult saved = SavePerson(theDatabase, request);
        QVERIFY2(saved.ok(), qPrintable(saved.form.messages.join(u'\n')));
        const QString number
            = pattern.arg(QString::number(saved.person.pid).rightJustified(6, u'0'));
        QCOMPARE(saved.person.number, number);
        QCOMPARE(
            theDatabase.run(u"SELECT Number FROM qz_PsnBase WHERE PID = ?"_s, { saved.person.pid })
                .scalar()
                .toString(),
            number);
        pids << saved.person.pid;
        expectedLog << u"人员档案[新增：(%1)%2]"_s.arg(number, name);
    }
    QCOMPARE(pids.size(), 2);
    QCOMPARE(logLines(), expectedLog);
}

void TestPsnEntry::checkOrder_data()
{
    QTest::addColumn<int>("aid");
    QTest::addColumn<int>("did");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("pid"); // 0 adds
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("informational");

    const QString category = u"选择的人员类别被删除！"_s;
    const QString department = u"选择的部门被删除！"_s;
    const QString taken = u"编号重复或长度异常!"_s;
    QTest::newRow("category first") << 99 << 99 << u"A002"_s << 999 << category << true;
    QTest::newRow("department before number") << 1 << 99 << u"A002"_s << 999 << department << true;
    QTest::newRow("number before row") << 1 << 3 << u"a002"_s << 999 << taken << false;
    QTest::newRow("empty number") << 1 << 3 << QString() << 0 << taken << false;
    QTest::newRow("number over 50") << 1 << 3 << QString(51, u'9') << 0 << taken << false;
    QTest::newRow("row gone") << 1 << 3 << u"Z1"_s << 999 << gone << false;
}

void TestPsnEntry::checkOrder()
{
    QFETCH(int, aid);
    QFETCH(int, did);
    QFETCH(QString, number);
    QFETCH(int, pid);
    QFETCH(QString, message);
    QFETCH(bool, informational);

    PersonInput input = newPerson(number, u"检查"_s);
    input.set(u"AID"_s, aid);
    input.set(u"DID"_s, did);
    input.set(u"F12"_s, u"12a"_s); // the value conversion comes last
    PsnSaveRequest request = requestFor(input, pid == 0, pid);
    request.loadedNumber = u"Y1"_s;
    const int persons = scalarInt(u"SELECT COUNT(*) FROM qz_PsnBase"_s);
    const PsnSaveResult saved = SavePerson(theDatabase, request);
    QCOMPARE(saved.form.messages, QStringList { message });
    QCOMPARE(saved.form.informational, informational);
    QCOMPARE(scalarInt(u"SELECT COUNT(*) FROM qz_PsnBase"_s), persons);
    QCOMPARE(logCount(), 0);
}

void TestPsnEntry::editNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");

    QTest::newRow("unchanged, not checked") << u"A002"_s << QString();
    QTest::newRow("case of another's number") << u"a001"_s << u"编号重复或长度异常!"_s;
    QTest::newRow("a free one") << u"C900"_s << QString();
}

void TestPsnEntry::editNumber()
{
    QFETCH(QString, number);
    QFETCH(QString, message);

    const vantrel::Result<std::optional<FieldContents>> loaded = LoadFormRecord(
        theDatabase, u"qz_PsnBase"_s, u"PID"_s, 2, *LoadFormItems(theDatabase, u"QZ_PSNBASE"_s));
    QVERIFY(loaded && loaded->has_value());
    PersonInput input { *LoadFormItems(theDatabase, u"QZ_PSNBASE"_s), loaded->value() };
    input.set(u"Number"_s, number);
    input.set(u"F13"_s, u"改过"_s);
    PsnSaveRequest request = requestFor(input, false, 2);
    request.loadedNumber = u"A002"_s;
    const PsnSaveResult saved = SavePerson(theDatabase, request);
    QCOMPARE(saved.form.messages.join(u'\n'), message);
    if (message.isEmpty()) {
        QCOMPARE(saved.person.pid, 2);
        QCOMPARE(logLines(), QStringList { u"人员档案[修改：(%1)张二]"_s.arg(number) });
        QCOMPARE(theDatabase.run(u"SELECT Number, F13 FROM qz_PsnBase WHERE PID = 2"_s)
                     .rows.value(0, 1)
                     .toString(),
                 u"改过"_s);
    } else {
        QCOMPARE(logCount(), 0);
    }
}

void TestPsnEntry::photoWithPerson()
{
    const QByteArray jpeg("\xff\xd8\xff\xe0 not really a picture", 26);
    PsnSaveRequest request = requestFor(newPerson(u"P1"_s, u"有照"_s), true);
    request.photo = jpeg;
    const PsnSaveResult saved = SavePerson(theDatabase, request);
    QVERIFY2(saved.ok(), qPrintable(saved.form.messages.join(u'\n')));
    QCOMPARE(*ReadPsnPhoto(theDatabase, saved.person.pid), jpeg);

    // A refused save writes no photo either.
    PsnSaveRequest refused = requestFor(newPerson(u"P1"_s, u"重号"_s), true);
    refused.photo = QByteArray("other");
    QVERIFY(!SavePerson(theDatabase, refused).ok());
    QCOMPARE(scalarInt(u"SELECT COUNT(*) FROM qz_PsnAdj"_s), 1);

    // Editing with empty bytes clears the photo; with no photo given it stays.
    PsnSaveRequest keep = requestFor(newPerson(u"P1"_s, u"有照"_s), false, saved.person.pid);
    keep.loadedNumber = u"P1"_s;
    QVERIFY(SavePerson(theDatabase, keep).ok());
    QCOMPARE(*ReadPsnPhoto(theDatabase, saved.person.pid), jpeg);
    keep.photo = QByteArray();
    QVERIFY(SavePerson(theDatabase, keep).ok());
    QCOMPARE(*ReadPsnPhoto(theDatabase, saved.person.pid), QByteArray());
    QCOMPARE(scalarInt(u"SELECT COUNT(*) FROM qz_PsnAdj"_s), 0);
}

QTEST_GUILESS_MAIN(TestPsnEntry)
#include "tst_psnentry.moc"
