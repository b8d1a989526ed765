#include "core/util/cxmldocument.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestXmlDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodingsLoadAlike_data();
    void encodingsLoadAlike();
    void wellFormed_data();
    void wellFormed();
    void walksForwardOnly();
    void nodeText_data();
    void nodeText();
    void shippedCatalogue();

private:
    QTemporaryDir m_dir;
};

namespace {

const QString catalogue = u"<?xml version=\"1.0\"?>\n<functions>\n"
                          "  <function type=\"system\"><name>SUM</name>"
                          "<description>合计 &amp; 汇总</description></function>\n"
                          "  <other/>\n"
                          "  <function type=\"vbscript\"><name>Len</name>"
                          "<description>长度</description></function>\n"
                          "</functions>\n"_s;

// The (type, name, description) of every function, walked as the formula editor walks it.
QStringList walk(CXmlDocument &doc)
{
    QStringList out;
    if (!doc.FindElement() || !doc.EnterElement())
        return out;
    while (doc.FindElement(u"function"_s)) {
        QString entry = doc.GetAttributeAt(doc.currentPosition(), u"type"_s);
        if (doc.FindChildElement(u"name"_s))
            entry += u'|' + doc.GetNodeTextAt(doc.childPosition());
        if (doc.FindChildElement(u"description"_s))
            entry += u'|' + doc.GetNodeTextAt(doc.childPosition());
        out << entry;
    }
    return out;
}

} // namespace

void TestXmlDocument::encodingsLoadAlike_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("event");
    const QByteArray utf8 = catalogue.toUtf8();
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + utf8 << u"<bom"_s;
    QTest::newRow("UTF-8 without mark") << utf8 << u"<utf8_detection"_s;
    QTest::newRow("UTF-16LE with mark") << QByteArray("\xFF\xFE")
            + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(catalogue))
                                        << u"<bom"_s;
    QTest::newRow("UTF-16BE with mark") << QByteArray("\xFE\xFF")
            + QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(catalogue))
                                        << u"<endian_swap"_s;
    QTest::newRow("UTF-16LE without mark")
        << QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(catalogue))
        << u"<converted_to"_s;
    QString declared = catalogue;
    declared.replace(u"version=\"1.0\""_s, u"version=\"1.0\" encoding=\"GB18030\""_s);
    QStringEncoder gb("GB18030");
    if (gb.isValid())
        QTest::newRow("declared GB18030") << QByteArray(gb.encode(declared)) << u"GB18030"_s;
}

void TestXmlDocument::encodingsLoadAlike()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, event);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".xml"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    CXmlDocument doc;
    QVERIFY2(doc.LoadFile(path), qPrintable(doc.resultText()));
    QVERIFY2(doc.resultText().contains(event), qPrintable(doc.resultText()));
    QCOMPARE(walk(doc), QStringList({ u"system|SUM|合计 & 汇总"_s, u"vbscript|Len|长度"_s }));
}

void TestXmlDocument::wellFormed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("report"); // empty: well formed
    QTest::newRow("one root") << u"<a><b/>text</a>"_s << QString();
    QTest::newRow("comment after root") << u"<a/><!-- x -->"_s << QString();
    QTest::newRow("two roots") << u"<a/><b/>"_s << u"root_has_sibling"_s;
    QTest::newRow("empty") << QString() << u"no_root_element"_s;
    QTest::newRow("only a comment") << u"<!-- x -->"_s << u"no_root_element"_s;
    QTest::newRow("left open") << u"<a><b></b>"_s << u"unended_start_tag"_s;
    QTest::newRow("end tag of an outer element") << u"<a><b></a>"_s << u"unended_start_tag"_s;
    QTest::newRow("lone end tag") << u"<a></c></a>"_s << u"lone_end_tag"_s;
    QTest::newRow("broken comment") << u"<a><!-- x </a>"_s << u"comment_tag_syntax"_s;
    QTest::newRow("broken CDATA") << u"<a><![CDATA[ x </a>"_s << u"cdata_section_syntax"_s;
    QTest::newRow("unterminated tag") << u"<a><b </a>"_s << u"unterminated_tag_syntax"_s;
    QTest::newRow("first tag") << u"<1a/>"_s << u"first_tag_syntax"_s;
}

void TestXmlDocument::wellFormed()
{
    QFETCH(QString, text);
    QFETCH(QString, report);
    CXmlDocument doc;
    QCOMPARE(doc.SetText(text), report.isEmpty());
    if (!report.isEmpty())
        QVERIFY2(doc.resultText().startsWith(u'<' + report), qPrintable(doc.resultText()));
}

void TestXmlDocument::walksForwardOnly()
{
    CXmlDocument doc;
    QVERIFY(doc.SetText(u"<r><f><description>d</description><name>n</name></f><g/></r>"_s));
    // Without a current element the root is found first.
    QVERIFY(doc.FindChildElement(u"f"_s));
    QCOMPARE(doc.tagName(doc.currentPosition()), u"r"_s);
    QVERIFY(doc.EnterElement());
    QCOMPARE(doc.currentPosition(), doc.parentPosition() + 1);
    QCOMPARE(doc.tagName(doc.currentPosition()), u"f"_s);
    QVERIFY(doc.FindChildElement(u"name"_s));
    QVERIFY(!doc.FindChildElement(u"description"_s)); // it came before "name"
    QVERIFY(!doc.FindChildElement(u"name"_s));
    QVERIFY(doc.FindElement());
    QCOMPARE(doc.tagName(doc.currentPosition()), u"g"_s);
    QVERIFY(!doc.FindElement());
    QCOMPARE(doc.tagName(doc.currentPosition()), u"g"_s);
    QVERIFY(doc.EnterElement()); // no child: nothing current inside it
    QCOMPARE(doc.currentPosition(), 0);
    QVERIFY(!doc.EnterElement());
    QVERIFY(!doc.FindElement());
    CXmlDocument empty;
    QVERIFY(!empty.FindElement());
    QVERIFY(!empty.FindChildElement());
    QCOMPARE(empty.GetNodeTextAt(0), QString());
}

void TestXmlDocument::nodeText_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("text");
    QTest::newRow("entities") << u"<e>a &amp; b &lt;c&gt; &#x4E2D;</e>"_s << u"a & b <c> 中"_s;
    QTest::newRow("child elements") << u"<e>a<b>x</b></e>"_s << QString();
    QTest::newRow("no content") << u"<e/>"_s << QString();
    QTest::newRow("CDATA only counts") << u"<e>a<![CDATA[<x>&]]>b<!-- c --></e>"_s << u"<x>&"_s;
    QTest::newRow("comment alone") << u"<e><!-- c --></e>"_s << QString();
}

void TestXmlDocument::nodeText()
{
    QFETCH(QString, element);
    QFETCH(QString, text);
    CXmlDocument doc;
    QVERIFY(doc.SetText(u"<r a=\"x &amp; y\">"_s + element + u"</r>"_s));
    QVERIFY(doc.FindChildElement(u"e"_s));
    QCOMPARE(doc.GetNodeTextAt(doc.childPosition()), text);
    QCOMPARE(doc.GetAttributeAt(doc.currentPosition(), u"a"_s), u"x & y"_s);
    QCOMPARE(doc.GetAttributeAt(doc.currentPosition(), u"b"_s), QString());
    QCOMPARE(doc.GetAttributeAt(99, u"a"_s), QString());
}

void TestXmlDocument::shippedCatalogue()
{
    CXmlDocument doc;
    QVERIFY(!doc.LoadFile(m_dir.filePath(u"missing.xml"_s)));
    QVERIFY(doc.resultText().startsWith(u"<file_error"_s));
    QVERIFY2(doc.LoadFile(QStringLiteral(VANTREL_FUNCDESCR)), qPrintable(doc.resultText()));
    const QStringList functions = walk(doc);
    QVERIFY(functions.size() > 40);
    QVERIFY(functions.contains(
        u"system|DX|DX(金额)：金额的中文大写。例：DX(1234.56) 得 壹仟贰佰叁拾肆元伍角陆分"_s));
}

QTEST_GUILESS_MAIN(TestXmlDocument)
#include "tst_cxmldocument.moc"
