#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    Outcome o;
    if (!process.waitForFinished(60000))
        return o;
    o.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    o.out = QString::fromUtf8(process.readAllStandardOutput());
    o.err = QString::fromUtf8(process.readAllStandardError());
    return o;
}

QString sample(const QString &name)
{
    return QStringLiteral(REPORT_SAMPLES_DIR) + u'/' + name;
}

} // namespace

// ferrolyn-render as a user runs it: the sample layouts against the sample database.
class TestFerrolynRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void samples_data();
    void samples();
    void failuresAreClear_data();
    void failuresAreClear();
    void noRowsGivesOnePage();

private:
    QTemporaryDir m_dir;
    QString m_connection;
};

void TestFerrolynRender::initTestCase()
{
    const QString db = m_dir.filePath(u"样例.db"_s);
    const Outcome made = run(QStringLiteral(SAMPLEDB_TOOL), { db });
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    m_connection = vantrel::db::ConnectionString::forSqlite(db);
}

void TestFerrolynRender::samples_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("persons by department")
        << u"persons_by_department.rpx"_s
        << QStringList { u"人员名册（按部门）"_s, u"部门：技术部"_s, u"1999年12月4日"_s,
                         u"合计60人"_s, u"第2页共2页"_s };
    QTest::newRow("wage list") << u"wage_list.rpx"_s
                               << QStringList { u"2026年12月工资表"_s, u"3,679.75"_s, u"实发合计"_s,
                                                u"第2页共2页"_s };
}

void TestFerrolynRender::samples()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, texts);
    const QString pdf = m_dir.filePath(layout + u".pdf"_s);
    const Outcome rendered
        = run(QStringLiteral(RENDER_TOOL), { sample(layout), m_connection, u"-o"_s, pdf });
    QVERIFY2(rendered.exitCode == 0, qPrintable(rendered.err));
    QVERIFY2(rendered.out.contains(u": 2 pages"_s), qPrintable(rendered.out));
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("poppler-utils is not installed");
    const QString text = run(u"pdftotext"_s, { u"-layout"_s, pdf, u"-"_s }).out.remove(u' ');
    for (const QString &t : texts)
        QVERIFY2(text.contains(t), qPrintable(t + u" not in:\n"_s + text));
}

void TestFerrolynRender::failuresAreClear_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a layout") << QStringLiteral(SAMPLEDB_TOOL) << QString()
                                  << u"report layout"_s;
    QTest::newRow("missing layout")
        << u"/nonexistent/x.rpx"_s << QString() << u"cannot be opened"_s;
    QTest::newRow("writing SQL") << sample(u"wage_list.rpx"_s)
                                 << u"UPDATE qz_PsnBase SET Name = 'x'"_s
                                 << u"The report stopped"_s;
    QTest::newRow("bad SQL") << sample(u"wage_list.rpx"_s) << u"SELECT * FROM 无此表"_s
                             << u"The report stopped"_s;
}

void TestFerrolynRender::failuresAreClear()
{
    QFETCH(QString, layout);
    QFETCH(QString, sql);
    QFETCH(QString, message);
    const QString pdf = m_dir.filePath(u"failed.pdf"_s);
    QStringList args { layout, m_connection, u"-o"_s, pdf };
    if (!sql.isEmpty())
        args << u"--sql"_s << sql;
    const Outcome rendered = run(QStringLiteral(RENDER_TOOL), args);
    QCOMPARE(rendered.exitCode, 1);
    QVERIFY2(rendered.err.contains(message), qPrintable(rendered.err));
    QVERIFY(!QFile::exists(pdf));
    CADODatabase db;
    QVERIFY(db.Open(m_connection));
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM qz_PsnBase WHERE Name = 'x'"_s).scalar().toInt(), 0);
}

void TestFerrolynRender::noRowsGivesOnePage()
{
    const QString pdf = m_dir.filePath(u"empty.pdf"_s);
    const Outcome rendered = run(QStringLiteral(RENDER_TOOL),
                                 { sample(u"wage_list.rpx"_s), m_connection, u"--sql"_s,
                                   u"SELECT * FROM 工资表 WHERE 序号 < 0"_s, u"-o"_s, pdf });
    QCOMPARE(rendered.exitCode, 0);
    QVERIFY2(rendered.err.contains(u"记录集中没有数据！"_s), qPrintable(rendered.err));
    QVERIFY2(rendered.out.contains(u": 1 pages"_s), qPrintable(rendered.out));
}

QTEST_GUILESS_MAIN(TestFerrolynRender)
#include "tst_ferrolynrender.moc"
