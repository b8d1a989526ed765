// Runs every .vbs script under scripts/ and checks what it prints against the expectations
// written in its comments (see scripts/README.md).
#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/engine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace vantrel::vbscript;

namespace {

struct Expectation
{
    int line = 0;
    QString text;        // the printed values
    int errorNumber = 0; // an expected error instead
    int errorColumn = 0;
};

QString repr(const Variant &value);

QString arrayRepr(const ArrayData &data)
{
    QStringList items;
    for (const Variant &item : data.items())
        items << repr(item);
    if (data.dimensionCount() > 1) {
        QStringList bounds;
        for (int d = 0; d < data.dimensionCount(); ++d)
            bounds << QString::number(data.upperBound(d));
        return u"Array("_s + bounds.join(u',') + u": "_s + items.join(u", "_s) + u')';
    }
    return u"Array("_s + items.join(u", "_s) + u')';
}

// Each value with its subtype, in the notation of scripts/README.md.
QString repr(const Variant &value)
{
    switch (value.type()) {
    case VarType::Empty:
        return u"Empty"_s;
    case VarType::Null:
        return u"Null"_s;
    case VarType::Integer:
        return Coerce::numberText(value) + u'%';
    case VarType::Long:
        return Coerce::numberText(value) + u'&';
    case VarType::Single:
        return Coerce::numberText(value) + u'!';
    case VarType::Double:
        return Coerce::numberText(value) + u'#';
    case VarType::Currency:
        return Coerce::numberText(value) + u'@';
    case VarType::Boolean:
        return Coerce::numberText(value);
    case VarType::Byte:
        return u"CByte("_s + Coerce::numberText(value) + u')';
    case VarType::Date:
        return u'#' + Coerce::numberText(value) + u'#';
    case VarType::String:
        return u'"' + QString(value.stringValue()).replace(u'"', u"\"\""_s) + u'"';
    case VarType::Array:
        return arrayRepr(*value.arrayData());
    default:
        return value.typeName();
    }
}

// The comment of a line: from the first ' outside a string literal.
QString commentOf(const QString &line)
{
    bool inString = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"')
            inString = !inString;
        else if (line[i] == u'\'' && !inString)
            return line.mid(i + 1);
    }
    return QString();
}

std::vector<Expectation> readExpectations(const QString &source)
{
    static const QRegularExpression arrow(u"^\\s*=>\\s?(.*)$"_s);
    static const QRegularExpression error(u"^error (\\d+)(?: col (\\d+))?\\s*$"_s);
    std::vector<Expectation> expectations;
    const QStringList lines = source.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto match = arrow.match(commentOf(QString(lines[i]).remove(u'\r')));
        if (!match.hasMatch())
            continue;
        Expectation expectation;
        expectation.line = int(i) + 1;
        expectation.text = match.captured(1).trimmed();
        if (const auto e = error.match(expectation.text); e.hasMatch()) {
            expectation.errorNumber = e.captured(1).toInt();
            expectation.errorColumn = e.captured(2).toInt();
        }
        expectations.push_back(expectation);
    }
    return expectations;
}

class ScriptRun
{
public:
    ScriptRun(const QString &name, const QString &source) : m_name(name)
    {
        m_engine.registerFunction(u"Print"_s, [this](HostCall &call) {
            QStringList values;
            for (const Variant &value : call.arguments())
                values << repr(value);
            m_printed << values.join(u", "_s);
            return Variant();
        });
        m_engine.registerFunction(u"IIf"_s, [](HostCall &call) {
            if (call.count() != 3) {
                call.raise(450);
                return Variant();
            }
            const auto condition = call.argument(0).toBool();
            if (!condition) {
                call.raise(13);
                return Variant();
            }
            return *condition ? call.argument(1) : call.argument(2);
        });
        m_status = m_engine.loadScript(source);
        check(readExpectations(source));
    }

    const QStringList &failures() const { return m_failures; }

private:
    void fail(int line, const QString &text)
    {
        m_failures << m_name + u':' + QString::number(line) + u": "_s + text;
    }

    void checkError(const Expectation &expected)
    {
        const ScriptError &error = m_engine.lastError();
        if (m_status.ok()) {
            fail(expected.line,
                 u"expected error "_s + QString::number(expected.errorNumber)
                     + u", but the script ran to its end"_s);
        } else if (error.number() != expected.errorNumber || error.line() != expected.line
                   || (expected.errorColumn && error.column() != expected.errorColumn)) {
            fail(expected.line,
                 u"expected error "_s + QString::number(expected.errorNumber) + u", got "_s
                     + error.message());
        }
    }

    void check(const std::vector<Expectation> &expectations)
    {
        qsizetype printed = 0;
        bool errorExpected = false;
        for (const Expectation &expected : expectations) {
            if (expected.errorNumber) {
                checkError(expected);
                errorExpected = true;
                break;
            }
            if (printed >= m_printed.size()) {
                fail(
                    expected.line,
                    u"expected "_s + expected.text + u", nothing printed"_s
                        + (m_status.ok() ? QString() : QString(u" ("_s + m_status.error() + u')')));
                return;
            }
            if (m_printed[printed] != expected.text)
                fail(expected.line,
                     u"expected "_s + expected.text + u", got "_s + m_printed[printed]);
            ++printed;
        }
        if (!errorExpected && !m_status.ok())
            fail(m_engine.lastError().line(), u"unexpected error: "_s + m_status.error());
        for (; printed < m_printed.size(); ++printed)
            fail(0, u"printed more than expected: "_s + m_printed[printed]);
    }

    QString m_name;
    Engine m_engine;
    vantrel::Status m_status;
    QStringList m_printed;
    QStringList m_failures;
};

} // namespace

class TestVbscriptScripts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scripts_data();
    void scripts();
};

void TestVbscriptScripts::scripts_data()
{
    QTest::addColumn<QString>("path");
    const QDir root(QStringLiteral(VBS_SCRIPT_DIR));
    QStringList files;
    QDirIterator it(root.path(), { u"*.vbs"_s }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << root.relativeFilePath(it.next());
    files.sort();
    QVERIFY(!files.isEmpty());
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << file;
}

void TestVbscriptScripts::scripts()
{
    QFETCH(QString, path);
    QFile file(QDir(QStringLiteral(VBS_SCRIPT_DIR)).filePath(path));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const ScriptRun run(path, QString::fromUtf8(file.readAll()));
    if (!run.failures().isEmpty())
        QFAIL(qPrintable(run.failures().join(u'\n')));
}

QTEST_GUILESS_MAIN(TestVbscriptScripts)
#include "tst_vbscriptscripts.moc"
