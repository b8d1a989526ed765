#include "personnel/cpersonbase.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCPersonBase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resetMeansNoPerson();
    void mapKeepsCopies();
};

void TestCPersonBase::resetMeansNoPerson()
{
    CPersonBase person;
    QCOMPARE(person.PID, -1);
    person = { 3, 4, 5, u"A1"_s, u"张"_s, u"在职"_s, u"一部"_s };
    person.Reset();
    QCOMPARE(person, CPersonBase());
    QCOMPARE(person.DID, -1);
    QVERIFY(person.DeptName.isEmpty());
}

void TestCPersonBase::mapKeepsCopies()
{
    CPersonMap persons;
    CPersonBase person { 3, 4, 5, u"A1"_s, u"张"_s, {}, {} };
    persons.insert(person.PID, person);
    person.Name = u"李"_s;
    QCOMPARE(persons.value(3).Name, u"张"_s);
    persons.insert(person.PID, person); // the same PID replaces
    QCOMPARE(persons.size(), 1);
    QCOMPARE(persons.value(3).Name, u"李"_s);
}

QTEST_GUILESS_MAIN(TestCPersonBase)
#include "tst_cpersonbase.moc"
