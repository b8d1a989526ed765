#include <QtTest>
class TestVbscriptEngine : public QObject
{
    Q_OBJECT private Q_SLOTS : void nothing() { }
};
QTEST_GUILESS_MAIN(TestVbscriptEngine)
#include "tst_vbscriptengine.moc"
