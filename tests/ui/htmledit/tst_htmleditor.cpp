#include "ui/htmledit/ccolorpickbutton.h"
#include "ui/htmledit/cformatbar.h"
#include "ui/htmledit/chrproperties.h"
#include "ui/htmledit/chtmleditor.h"
#include "ui/htmledit/ctableproperties.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeout = 60000; // generous: the web engine shares a loaded machine with other tests

const QString kPaySlip = uR"(<html><head><meta charset="utf-8"><title>工资条</title></head>
<body style="font-family:'WenQuanYi Micro Hei','Noto Sans CJK SC',sans-serif">
<div style="font-size:18px;font-weight:bold">[年月] 工资条</div>
<div>尊敬的 [姓名]（[部门]）：以下是您本月的工资明细。</div>
<table border=1 cellpadding=4 cellspacing=0 bordercolor=#999999 style="width:100%">
<tr bgcolor=#dde8f5><td><b>项目</b></td><td><b>金额（元）</b></td><td><b>项目</b></td><td><b>金额（元）</b></td></tr>
<tr><td>基本工资</td><td align=right>{$[基本工资]$}</td><td>养老保险</td><td align=right>{$[养老保险]$}</td></tr>
<tr><td>岗位津贴</td><td align=right>{$[岗位津贴]$}</td><td>医疗保险</td><td align=right>{$[医疗保险]$}</td></tr>
<tr><td>绩效奖金</td><td align=right>{$[绩效奖金]$}</td><td>个人所得税</td><td align=right>{$[个人所得税]$}</td></tr>
<tr><td><b>应发合计</b></td><td align=right>{$[应发合计]$}</td><td><b>实发工资</b></td><td align=right><b>{$[实发工资]$}</b></td></tr>
</table>
<hr color=#3366cc size=1>
<div style="color:#666666;font-size:12px">本邮件由系统自动发送，请勿回复。</div>
</body></html>
)"_s;

// A new cell as the table commands make it.
const QString kCell = u"<td><div>&nbsp;</div></td>"_s;

QString row(const QString &cells)
{
    return u"<tr>"_s + cells + u"</tr>"_s;
}

QString table(const QString &attributes, const QString &rows)
{
    return u"<table"_s + attributes + u"><tbody>"_s + rows + u"</tbody></table>"_s;
}

// Waits in a running event loop. QTest::qWaitFor and the QTRY macros sleep between their
// rounds, which starves the browser's message loop on this thread: a load then takes a second
// instead of a few milliseconds.
bool waitFor(const std::function<bool()> &done, int timeout = kTimeout)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    if (!done())
        loop.exec();
    return done();
}

void pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool load(CHtmlEditor &editor, const QString &html)
{
    editor.LoadHtml(html);
    return waitFor([&] { return editor.IsReady(); });
}

QVariant evaluate(CHtmlEditor &editor, const QString &script)
{
    auto result = std::make_shared<std::optional<QVariant>>();
    editor.evaluate(script, [result](const QVariant &value) { *result = value; });
    if (!waitFor([&] { return result->has_value(); }))
        qWarning("No answer from the editor within %d ms", kTimeout);
    return result->value_or(QVariant());
}

// Runs one editor command and waits for its outcome (nullopt when none came).
std::optional<bool> run(const std::function<void(const CHtmlEditor::Done &)> &command)
{
    auto result = std::make_shared<std::optional<bool>>();
    command([result](bool ok) { *result = ok; });
    if (!waitFor([&] { return result->has_value(); }))
        qWarning("No answer from the editor within %d ms", kTimeout);
    return *result;
}

void placeCaretIn(CHtmlEditor &editor, const QString &selector)
{
    evaluate(editor, u"vantrel.placeCaret(document.querySelector('%1'))"_s.arg(selector));
}

QString tableHtml(CHtmlEditor &editor)
{
    return evaluate(editor, u"(document.querySelector('table') || {outerHTML: ''}).outerHTML"_s)
        .toString();
}

// Answers the next modal dialog of type T once it is up.
template<typename T> void whenModal(const std::function<void(T *)> &answer)
{
    auto *timer = new QTimer(qApp);
    QTimer::singleShot(kTimeout, timer, &QObject::deleteLater);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start(20);
}

} // namespace

class TestHtmlEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { m_editor.reset(); }
    void roundTrip_data();
    void roundTrip();
    void largeDocument();
    void files();
    void wrappers_data();
    void wrappers();
    void tableOperations_data();
    void tableOperations();
    void tableEditingSteps();
    void commandOutsideTableTellsWhy();
    void tablePropertiesDialog();
    void rulePropertiesDialog();
    void dialogsGiveColourTexts();
    void sourceViewBodyOnly();
    void sourceViewWholeDocument();
    void enterGivesDivBlocksAndShortcuts();
    void fontSizeInPixels();
    void boldAndSelectionReport();
    void pasteSettles();
    void takesPlaceholderPlace();
    void formatBarFollowsSelection();
    void nothingRemoteNothingFollowed();
    void paySlipScreenshot();

private:
    std::unique_ptr<CHtmlEditor> m_editor;
};

void TestHtmlEditor::initTestCase()
{
    m_editor = std::make_unique<CHtmlEditor>();
    m_editor->resize(800, 560);
    QSignalSpy ready(m_editor.get(), &CHtmlEditor::editorReady);
    QVERIFY(ready.wait(kTimeout));
    QCOMPARE(m_editor->GetMode(), CHtmlEditor::Mode::Design);
    QCOMPARE(m_editor->GetDocumentHtml(), u"<HTML><HEAD></HEAD><BODY><DIV></DIV></BODY></HTML>"_s);
}

void TestHtmlEditor::roundTrip_data()
{
    QTest::addColumn<QString>("html");
    QTest::newRow("upper-case markup")
        << u"<HTML><HEAD><TITLE>工资条</TITLE></HEAD><BODY><DIV>尊敬的[姓名]：</DIV></BODY></HTML>"_s;
    QTest::newRow("doctype, comments, CRLF, meta charset")
        << u"<!DOCTYPE html>\r\n<!-- 模板 3 -->\r\n<html lang=zh>\r\n<head><meta charset=\"gb2312\"></head>\r\n<body>\r\n<p>a</p>\r\n</body>\r\n</html>\r\n"_s;
    QTest::newRow("fragment, unquoted attributes, entities")
        << u"<table border=1 cellpadding=3 bgcolor=ff0000><tr><td nowrap>&nbsp;&amp;&lt;&#x4E2D;</td></tr></table>"_s;
    QTest::newRow("expression blocks")
        << u"<div>{$ IIf([实发工资]>0, \"有\", \"无\") $}</div><div>合计：{$[应发工资]-[扣款]$}</div>"_s;
    QTest::newRow("stray end tag") << u"</div>abc<b>def"_s;
    QTest::newRow("style, script and old fonts")
        << u"<html><head><style>td{color:red}</style><script>document.title='ran'</script></head><body><font size=7 face=\"宋体\">x</font></body></html>"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("pay slip") << kPaySlip;
}

// Loading and saving without an edit, also through the source view and back, gives the
// same text.
void TestHtmlEditor::roundTrip()
{
    QFETCH(QString, html);
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, html));
    QCOMPARE(editor.GetDocumentHtml(), html);
    QVERIFY(!editor.isModified());

    editor.ToggleSourceView(true);
    QCOMPARE(editor.GetMode(), CHtmlEditor::Mode::Source);
    auto *source = editor.findChild<QPlainTextEdit *>(u"sourceEdit"_s);
    QVERIFY(waitFor([&] { return source->toPlainText().isEmpty() == html.isEmpty(); }));
    editor.ToggleSourceView(false);
    QCOMPARE(editor.GetMode(), CHtmlEditor::Mode::Design);
    QCOMPARE(editor.GetDocumentHtml(), html);
    QVERIFY(!editor.isModified());
    QVERIFY(evaluate(editor, u"document.title"_s).toString() != u"ran"_s);
}

// A document beyond what a data URL carries goes in through a temporary file.
void TestHtmlEditor::largeDocument()
{
    QString html = u"<html><body>"_s;
    for (int line = 0; line < 100000; ++line)
        html += u"<div>第%1行</div>"_s.arg(line);
    html += u"</body></html>"_s;
    QVERIFY(html.toUtf8().size() > 2 * 1024 * 1024);
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, html));
    QCOMPARE(evaluate(editor, u"document.body.children.length"_s).toInt(), 100000);
    QCOMPARE(evaluate(editor, u"document.body.lastChild.textContent"_s).toString(), u"第99999行"_s);
    QCOMPARE(editor.GetDocumentHtml(), html);
}

// A file is read in the encoding it declares and saved as UTF-8 with a byte-order mark.
void TestHtmlEditor::files()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString html
        = u"<html><head><meta charset=\"gb2312\"></head><body>工资条</body></html>"_s;
    QFile legacy(folder.filePath(u"gb.htm"_s));
    QVERIFY(legacy.open(QIODevice::WriteOnly));
    QStringEncoder toGb("GB18030");
    QVERIFY(toGb.isValid());
    legacy.write(toGb(html));
    legacy.close();

    CHtmlEditor &editor = *m_editor;
    QString error;
    QVERIFY(!editor.LoadHtmlFile(folder.filePath(u"missing.htm"_s), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(editor.LoadHtmlFile(legacy.fileName()));
    QVERIFY(waitFor([&] { return editor.IsReady(); }));
    QCOMPARE(editor.GetDocumentHtml(), html);
    QCOMPARE(evaluate(editor, u"document.body.textContent"_s).toString(), u"工资条"_s);

    const QString saved = folder.filePath(u"saved.htm"_s);
    QCOMPARE(run([&](auto done) { editor.SaveHtmlFile(saved, done); }), true);
    QFile written(saved);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("\xEF\xBB\xBF") + html.toUtf8());
}

void TestHtmlEditor::wrappers_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cell wrapper of a DIV")
        << u"[new cHtmlTableCell(d).IsValid(), cHtmlElement.prototype.IsValid.call(new cHtmlTableCell(d))]"_s
        << u"[false,true]"_s;
    QTest::newRow("FindParent of a cell is the cell")
        << u"new cHtmlElement(c).FindParent('TD').element === c"_s << u"true"_s;
    QTest::newRow("parent table and row")
        << u"[new cHtmlElement(d2).GetParentTable().element === t, new cHtmlElement(d2).GetParentRow().IsValid()]"_s
        << u"[true,true]"_s;
    QTest::newRow("missing attribute")
        << u"new cHtmlElement(d).GetAttribute('title')"_s << u"\"\""_s;
    QTest::newRow("empty inner HTML")
        << u"[new cHtmlElement(e).IsEmpty(), new cHtmlElement(d).IsEmpty()]"_s << u"[true,false]"_s;
    QTest::newRow("table defaults")
        << u"[new cHtmlTable(t).GetCellPadding(), new cHtmlTable(t).GetCellSpacing(), new cHtmlTable(t).GetBorder(), new cHtmlTable(t).GetRules()]"_s
        << u"[\"1\",\"2\",\"0\",0]"_s;
    QTest::newRow("rule defaults and colour")
        << u"[new cHtmlHR(h).GetValue(2), new cHtmlHR(h).GetValue(1), new cHtmlHR(h).GetValue(0), new cHtmlHR(h).GetValue(3)]"_s
        << u"[\"100%\",\"2\",\"#FF0000\",\"\"]"_s;
    QTest::newRow("strip outer tag")
        << u"[cMisc.StripOuterTag('<DIV class=x>a</DIV>', ' div '), cMisc.StripOuterTag('<DIVA>a</DIV>', 'DIV'), cMisc.StripOuterTag('<P>a</P>', 'DIV')]"_s
        << u"[\"a\",\"a\",\"<P>a</P>\"]"_s;
    QTest::newRow("cut affix")
        << u"[cMisc.CutAffix('x&NBSP;', '&nbsp;', true), cMisc.CutAffix('&nbsp;y', '&nbsp;', false), cMisc.CutAffix('ab', 'abc', true)]"_s
        << u"[\"x\",\"y\",\"ab\"]"_s;
    QTest::newRow("siblings skip text")
        << u"new cHtmlElement(d).GetNextSibling().element.id"_s << u"\"e\""_s;
    QTest::newRow("style values")
        << u"[new cHtmlElement(d).GetStyle().GetValueText(1), new cHtmlElement(d).GetStyle().GetValueText(13)]"_s
        << u"[\"blue\",\"\"]"_s;
    QTest::newRow("image address")
        << u"new cHtmlImg(i).GetHref()"_s << u"\"file:///tmp/logo.png\""_s;
    QTest::newRow("document design mode")
        << u"new cHtmlDocument(document).IsDesignMode()"_s << u"true"_s;
}

// The wrappers keep their operations on the page's DOM.
void TestHtmlEditor::wrappers()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor,
                 u"<div id=d style='color:blue'>x</div> <div id=e>\r\n \t</div>"
                 "<table id=t><tr><td id=c><div id=d2>1</div></td></tr></table>"
                 "<hr id=h color=#ff0000><img id=i src='/tmp/logo.png'>"_s));
    const QString script = u"(() => { const [d, e, t, c, d2, h, i] = "
                           "['d', 'e', 't', 'c', 'd2', 'h', 'i'].map((id) => "
                           "document.getElementById(id)); return JSON.stringify(%1); })()"_s;
    QCOMPARE(evaluate(editor, script.arg(expression)).toString(), expected);
}

void TestHtmlEditor::tableOperations_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QVariant>("result");
    QTest::addColumn<QStringList>("messages");
    const QString ab = u"<tr><td><div>a</div></td><td><div>b</div></td></tr>"_s;
    const QString cd = u"<tr><td><div>c</div></td><td><div>d</div></td></tr>"_s;
    const QString square = table(u" id=\"t\""_s, ab + cd);
    const QString id = u" id=\"t\""_s;
    QTest::newRow("merge first row")
        << square << u"cell(0, 0).MergeWithNext()"_s
        << table(id, u"<tr><td colspan=\"2\"><div>a&nbsp;b</div></td></tr>"_s + cd)
        << QVariant(true) << QStringList();
    QTest::newRow("merge both rows collapses the column")
        << square << u"cell(0, 0).MergeWithNext() && cell(1, 0).MergeWithNext()"_s
        << table(id,
                 u"<tr><td colspan=\"1\"><div>a&nbsp;b</div></td></tr>"
                 "<tr><td colspan=\"1\"><div>c&nbsp;d</div></td></tr>"_s)
        << QVariant(true) << QStringList();
    QTest::newRow("merge last cell refused")
        << square << u"cell(0, 1).MergeWithNext()"_s << square << QVariant(false) << QStringList();
    QTest::newRow("merge cuts the doubled space")
        << table(id, u"<tr><td><div>x&nbsp;</div></td><td><div>&nbsp;y</div></td></tr>"_s)
        << u"cell(0, 0).MergeWithNext()"_s
        << table(id, u"<tr><td colspan=\"1\"><div>x&nbsp;y</div></td></tr>"_s) << QVariant(true)
        << QStringList();
    QTest::newRow("split a single cell widens the column")
        << square << u"cell(0, 0).Split() || true"_s
        << table(id,
                 u"<tr><td><div>a</div></td>"_s + kCell
                     + u"<td><div>b</div></td></tr>"
                       "<tr><td colspan=\"2\"><div>c</div></td><td><div>d</div></td></tr>"_s)
        << QVariant(true) << QStringList();
    QTest::newRow("split shares a span")
        << table(id, u"<tr><td colspan=\"5\">w</td></tr>"_s) << u"cell(0, 0).Split() || true"_s
        << table(id, u"<tr><td colspan=\"2\">w</td><td colspan=\"3\"><div>&nbsp;</div></td></tr>"_s)
        << QVariant(true) << QStringList();
    QTest::newRow("insert column inside a span widens it")
        << table(id, u"<tr><td colspan=\"2\">w</td></tr><tr><td>x</td><td>y</td></tr>"_s)
        << u"t.InsertColumn(1)"_s
        << table(id,
                 u"<tr><td colspan=\"3\">w</td></tr><tr><td>x</td>"_s + kCell
                     + u"<td>y</td></tr>"_s)
        << QVariant(true) << QStringList();
    QTest::newRow("insert column beyond the last appends")
        << square << u"t.InsertColumn(2)"_s
        << table(id, ab.chopped(5) + kCell + u"</tr>"_s + cd.chopped(5) + kCell + u"</tr>"_s)
        << QVariant(true) << QStringList();
    QTest::newRow("insert row as wide as the first")
        << table(id, u"<tr><td>1</td><td colspan=\"2\">2</td></tr>"_s)
        << u"t.InsertRow(1).IsValid()"_s
        << table(id, u"<tr><td>1</td><td colspan=\"2\">2</td></tr>"_s + row(kCell.repeated(3)))
        << QVariant(true) << QStringList();
    QTest::newRow("delete the only column removes the table")
        << table(id, u"<tr><td>1</td></tr><tr><td>2</td></tr>"_s) << u"t.DeleteColumn(0)"_s
        << QString() << QVariant(true) << QStringList();
    QTest::newRow("delete a column of a wide cell narrows it")
        << table(id, u"<tr><td colspan=\"3\">1</td></tr>"_s) << u"t.DeleteColumn(1)"_s
        << table(id, u"<tr><td colspan=\"2\">1</td></tr>"_s) << QVariant(true) << QStringList();
    QTest::newRow("delete the last row removes the table")
        << table(id, ab) << u"t.DeleteRow(0)"_s << QString() << QVariant(true) << QStringList();
    QTest::newRow("delete a row collapses covered columns")
        << table(id, u"<tr><td colspan=\"2\">1</td></tr><tr><td>2</td><td>3</td></tr>"_s)
        << u"t.DeleteRow(1)"_s << table(id, u"<tr><td colspan=\"1\">1</td></tr>"_s)
        << QVariant(true) << QStringList();
    const QString spanning = table(id,
                                   u"<tr><td rowspan=\"2\">1</td><td>2</td><td>3</td></tr>"
                                   "<tr><td>4</td><td>5</td></tr>"_s);
    QTest::newRow("row spans are reported after a merge")
        << spanning << u"cell(0, 1).MergeWithNext()"_s
        << table(id,
                 u"<tr><td rowspan=\"2\">1</td><td colspan=\"2\"><div>2&nbsp;3</div></td>"
                 "</tr><tr><td>4</td><td>5</td></tr>"_s)
        << QVariant(true)
        << QStringList { u"Cells which span over multiple rows are NOT supported !"_s };
    QTest::newRow("uneven rows are reported after a row deletion")
        << table(id,
                 u"<tr><td>1</td><td>2</td></tr><tr><td>3</td></tr><tr><td>4</td><td>5</td></tr>"_s)
        << u"t.DeleteRow(2)"_s << table(id, u"<tr><td>1</td><td>2</td></tr><tr><td>3</td></tr>"_s)
        << QVariant(true) << QStringList { u"All rows must contain the same amount of columns!"_s };
}

// The table operations, called on the wrappers directly, as the editor's commands call them.
void TestHtmlEditor::tableOperations()
{
    QFETCH(QString, before);
    QFETCH(QString, operation);
    QFETCH(QString, after);
    QFETCH(QVariant, result);
    QFETCH(QStringList, messages);
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<body>"_s + before + u"</body>"_s));
    const QString script = u"vantrel.run(() => { const t = new cHtmlTable("
                           "document.getElementById('t')); const cell = (r, c) => "
                           "new cHtmlTableCell(t.table.rows[r].cells[c]); return %1; })"_s;
    const QVariantMap answer = evaluate(editor, script.arg(operation)).toMap();
    QCOMPARE(answer.value(u"error"_s).toString(), QString());
    QCOMPARE(answer.value(u"result"_s), result);
    QCOMPARE(answer.value(u"messages"_s).toStringList(), messages);
    QCOMPARE(tableHtml(editor), after);
    if (after != before)
        QVERIFY(waitFor([&] { return editor.isModified(); }));
}

// Insert a 2 x 2 table, add a row and a column, merge two cells and split them again, then
// delete the rows from the last: the table goes with its last row.
void TestHtmlEditor::tableEditingSteps()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<html><head></head><body><div id=\"start\">x</div></body></html>"_s));
    placeCaretIn(editor, u"#start"_s);
    QCOMPARE(run([&](auto done) { editor.InsertTable(2, done); }), true);
    QCOMPARE(tableHtml(editor),
             table(u" border=\"1\" cellpadding=\"3\""_s, row(kCell + kCell).repeated(2)));
    QVERIFY(waitFor([&] { return editor.isModified(); }));

    const QString attributes = u" border=\"1\" cellpadding=\"3\""_s;
    placeCaretIn(editor, u"td"_s);
    QCOMPARE(run([&](auto done) { editor.InsertRow(true, done); }), true);
    QCOMPARE(tableHtml(editor), table(attributes, row(kCell + kCell).repeated(3)));
    QCOMPARE(run([&](auto done) { editor.InsertColumn(true, done); }), true);
    QCOMPARE(tableHtml(editor), table(attributes, row(kCell.repeated(3)).repeated(3)));

    QCOMPARE(run([&](auto done) { editor.MergeCells(done); }), true);
    const QString merged = u"<td colspan=\"2\"><div>&nbsp;</div></td>"_s;
    QCOMPARE(tableHtml(editor),
             table(attributes, row(merged + kCell) + row(kCell.repeated(3)).repeated(2)));
    QCOMPARE(run([&](auto done) { editor.SplitCell(done); }), true);
    const QString split = u"<td colspan=\"1\"><div>&nbsp;</div></td>"
                          "<td colspan=\"1\"><div>&nbsp;</div></td>"_s;
    QCOMPARE(tableHtml(editor),
             table(attributes, row(split + kCell) + row(kCell.repeated(3)).repeated(2)));

    placeCaretIn(editor, u"tr:last-child td"_s);
    QCOMPARE(run([&](auto done) { editor.DeleteRow(done); }), true);
    QCOMPARE(tableHtml(editor), table(attributes, row(split + kCell) + row(kCell.repeated(3))));
    for (int rowsLeft = 2; rowsLeft > 0; --rowsLeft) {
        placeCaretIn(editor, u"tr:last-child td"_s);
        QCOMPARE(run([&](auto done) { editor.DeleteRow(done); }), true);
    }
    QCOMPARE(tableHtml(editor), QString());
    QCOMPARE(evaluate(editor, u"document.body.innerHTML"_s).toString(),
             u"<div id=\"start\">x</div>"_s);
}

void TestHtmlEditor::commandOutsideTableTellsWhy()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<div id=\"d\">x</div><table><tr><td>1</td></tr></table>"_s));
    placeCaretIn(editor, u"#d"_s);
    QString shown;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        shown = box->windowTitle() + u'|' + box->text();
        box->accept();
    });
    QCOMPARE(run([&](auto done) { editor.InsertRow(false, done); }), false);
    QCOMPARE(shown, u"Error|Please set the cursor into a table cell!"_s);
    whenModal<QMessageBox>([&](QMessageBox *box) {
        shown = box->text();
        box->accept();
    });
    QCOMPARE(run([&](auto done) { editor.EditTableProperties(done); }), false);
    QCOMPARE(shown, u"Please set the cursor into a table!"_s);
    QVERIFY(!editor.isModified());
}

void TestHtmlEditor::tablePropertiesDialog()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor,
                 u"<table id=t border=2 cellpadding=4 cellspacing=0 bgcolor=\"#00FF00\" "
                 "bordercolor=red rules=rows style=\"width:300px\"><tr><td>a</td></tr></table>"_s));
    placeCaretIn(editor, u"td"_s);
    QStringList read;
    whenModal<CTableProperties>([&](CTableProperties *dialog) {
        read = QStringList { dialog->m_border,      dialog->m_cellPadding,
                             dialog->m_cellSpacing, dialog->m_bgColor,
                             dialog->m_borderColor, dialog->m_width,
                             dialog->m_height,      QString::number(dialog->m_rules) };
        dialog->findChild<QLineEdit *>(u"border"_s)->setText(u"5"_s);
        dialog->findChild<QLineEdit *>(u"width"_s)->setText(u"80%"_s);
        dialog->findChild<QLineEdit *>(u"height"_s)->setText(u"40"_s);
        dialog->findChild<QComboBox *>(u"rules"_s)->setCurrentIndex(3);
        dialog->findChild<CColorPickButton *>(u"bgColor"_s)->setColor(QColor(0x12, 0x34, 0x56));
        dialog->findChild<QPushButton *>(u"okButton"_s)->click();
    });
    QCOMPARE(run([&](auto done) { editor.EditTableProperties(done); }), true);
    QCOMPARE(read,
             QStringList({ u"2"_s, u"4"_s, u"0"_s, u"#00ff00"_s, u"#ff0000"_s, u"300"_s, QString(),
                           u"1"_s }));
    const QString attributes = evaluate(editor,
                                        u"JSON.stringify(['border', 'cellpadding', "
                                        "'cellspacing', 'bgcolor', 'bordercolor', "
                                        "'rules', 'style'].map((name) => "
                                        "document.getElementById('t').getAttribute(name)))"_s)
                                   .toString();
    QCOMPARE(attributes,
             u"[\"5\",\"4\",\"0\",\"#123456\",\"#ff0000\",\"none\","
             "\"width: 80%; height: 40px;\"]"_s);
}

void TestHtmlEditor::rulePropertiesDialog()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<div>a</div><hr id=h width=50% size=3 color=#0000ff noshade>"_s));
    evaluate(editor,
             u"getSelection().removeAllRanges(); { const r = document.createRange(); "
             "r.selectNode(document.getElementById('h')); getSelection().addRange(r); }"_s);
    QStringList read;
    whenModal<CHrProperties>([&](CHrProperties *dialog) {
        read = QStringList { dialog->m_width, dialog->m_height, dialog->m_color,
                             dialog->m_shade ? u"shade"_s : u"flat"_s };
        QCOMPARE(dialog->findChild<QLineEdit *>(u"height"_s)->text(), u"3"_s);
        dialog->findChild<QLineEdit *>(u"width"_s)->setText(u"200"_s);
        dialog->findChild<CColorPickButton *>(u"color"_s)->setColor(QColor());
        dialog->findChild<QCheckBox *>(u"shade"_s)->setChecked(true);
        dialog->accept();
    });
    QCOMPARE(run([&](auto done) { editor.EditRuleProperties(done); }), true);
    QCOMPARE(read, QStringList({ u"50%"_s, u"3"_s, u"#0000FF"_s, u"flat"_s }));
    QCOMPARE(evaluate(editor, u"document.getElementById('h').outerHTML"_s).toString(),
             u"<hr id=\"h\" width=\"200\" size=\"3\">"_s);
}

void TestHtmlEditor::dialogsGiveColourTexts()
{
    CHrProperties rule;
    rule.m_color = u"#0000"_s;
    rule.show();
    rule.accept();
    QCOMPARE(rule.m_color, QString());
    rule.m_color = u"#FF0000"_s;
    rule.show();
    rule.accept();
    QCOMPARE(rule.m_color, u"ff0000"_s);

    CTableProperties properties;
    properties.show();
    properties.accept();
    QCOMPARE(properties.m_bgColor, u"ffffff"_s);
    QCOMPARE(properties.m_borderColor, u"000000"_s);
    properties.m_bgColor = u"#00FF00"_s;
    properties.m_rules = 2;
    properties.show();
    properties.accept();
    QCOMPARE(properties.m_bgColor, u"00ff00"_s);
    QCOMPARE(properties.m_rules, 2);
}

void TestHtmlEditor::sourceViewBodyOnly()
{
    CHtmlEditor &editor = *m_editor;
    const QString html
        = u"<html><head><title>t</title></head><body><div>a<br>b</div></body></html>"_s;
    QVERIFY(load(editor, html));
    editor.setBodyOnly(true);
    auto *source = editor.findChild<QPlainTextEdit *>(u"sourceEdit"_s);
    editor.ToggleSourceView(true);
    QVERIFY(waitFor([&] { return !source->toPlainText().isEmpty(); }));
    QCOMPARE(source->toPlainText(), u"<div>a\n<br>b</div>"_s);
    source->selectAll();
    source->insertPlainText(u"<div>新的正文</div>"_s);
    editor.ToggleSourceView(false);
    editor.setBodyOnly(false);
    QCOMPARE(editor.GetDocumentHtml(),
             u"<html><head><title>t</title></head><body><div>新的正文</div></body></html>"_s);
    QVERIFY(editor.isModified());
}

// Text typed over the whole document becomes the document, exactly as typed.
void TestHtmlEditor::sourceViewWholeDocument()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<div>old</div>"_s));
    auto *source = editor.findChild<QPlainTextEdit *>(u"sourceEdit"_s);
    editor.ToggleSourceView(true);
    QVERIFY(waitFor([&] { return !source->toPlainText().isEmpty(); }));
    QCOMPARE(source->toPlainText(), u"<div>old</div>"_s);
    const QString typed = u"<HTML><BODY><DIV>new</DIV>\n<P>x</P></BODY></HTML>"_s;
    source->selectAll();
    source->insertPlainText(typed);
    QCOMPARE(editor.GetDocumentHtml(), typed);
    editor.ToggleSourceView(false);
    QVERIFY(waitFor([&] { return editor.IsReady(); }));
    QCOMPARE(editor.GetDocumentHtml(), typed);
    QVERIFY(editor.isModified());
    QCOMPARE(evaluate(editor, u"document.body.firstChild.textContent"_s).toString(), u"new"_s);
}

void TestHtmlEditor::enterGivesDivBlocksAndShortcuts()
{
    CHtmlEditor editor;
    editor.resize(600, 400);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(load(editor, u"<p id=\"p\" align=\"center\">ab</p>"_s));
    editor.setFocus();
    evaluate(editor,
             u"{ const r = document.createRange(); "
             u"r.setStart(document.getElementById('p').firstChild, 1); "
             "r.collapse(true); getSelection().removeAllRanges(); "
             "getSelection().addRange(r); }"_s);
    auto *keys = editor.findChild<QWebEngineView *>()->focusProxy();
    QVERIFY(keys);
    QTest::keyClick(keys, Qt::Key_Return);
    const QString divs
        = u"<div id=\"p\" align=\"center\">a</div><div id=\"p\" align=\"center\">b</div>"_s;
    const auto body = [&] { return evaluate(editor, u"document.body.innerHTML"_s).toString(); };
    QVERIFY(waitFor([&] { return body() == divs; }));

    QTest::keyClick(keys, Qt::Key_T, Qt::ControlModifier);
    const auto count = [&](const QString &tag) {
        return evaluate(editor, u"document.querySelectorAll('%1').length"_s.arg(tag)).toInt();
    };
    QVERIFY(waitFor([&] { return count(u"td"_s) == 4; }));
    QTest::keyClick(keys, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(waitFor([&] { return count(u"tr"_s) == 3; }));
    QTest::keyClick(keys, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(waitFor([&] { return count(u"td"_s) == 9; }));
    QTest::keyClick(keys, Qt::Key_H, Qt::ControlModifier);
    QVERIFY(waitFor([&] { return count(u"hr"_s) == 1; }));

    // In browse mode the same keys are the browser's: no table appears.
    editor.ToggleSourceView(false, false);
    QCOMPARE(editor.GetMode(), CHtmlEditor::Mode::Browse);
    QTest::keyClick(keys, Qt::Key_T, Qt::ControlModifier);
    pause(300);
    QCOMPARE(count(u"table"_s), 1);
    QCOMPARE(evaluate(editor, u"document.designMode"_s).toString(), u"off"_s);
}

void TestHtmlEditor::fontSizeInPixels()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<div id=\"d\">abc</div><div><font size=\"7\">big</font></div>"_s));
    evaluate(
        editor,
        u"{ const r = document.createRange(); const t = document.getElementById('d').firstChild; "
        "r.setStart(t, 1); r.setEnd(t, 2); getSelection().removeAllRanges(); "
        "getSelection().addRange(r); }"_s);
    QCOMPARE(run([&](auto done) { editor.SetFontSizePx(20, done); }), true);
    QCOMPARE(evaluate(editor, u"document.body.innerHTML"_s).toString(),
             u"<div id=\"d\">a<font style=\"font-size: 20px;\">b</font>c</div>"
             "<div><font size=\"7\">big</font></div>"_s);
}

void TestHtmlEditor::boldAndSelectionReport()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, u"<div id=\"d\">abc</div>"_s));
    QSignalSpy updates(&editor, &CHtmlEditor::updateUi);
    evaluate(editor,
             u"{ const r = document.createRange(); const t = document.getElementById('d')"
             ".firstChild; r.setStart(t, 0); r.setEnd(t, 1); "
             "getSelection().removeAllRanges(); getSelection().addRange(r); }"_s);
    QCOMPARE(run([&](auto done) { editor.ExecCommand(u"bold"_s, QString(), done); }), true);
    QCOMPARE(evaluate(editor, u"document.body.innerHTML"_s).toString(),
             u"<div id=\"d\"><b>a</b>bc</div>"_s);
    QVERIFY(waitFor([&] { return editor.selectedTagName() == u"B"_s; }));
    QVERIFY(updates.count() > 0);
    QCOMPARE(editor.selectionFontSize(), 3);
    QVERIFY(!editor.selectionFontName().isEmpty());
}

void TestHtmlEditor::pasteSettles()
{
    CHtmlEditor &editor = *m_editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setFocus();
    QVERIFY(load(editor, u"<div id=\"d\">x</div>"_s));
    placeCaretIn(editor, u"#d"_s);
    pause(200);
    QGuiApplication::clipboard()->setText(u"粘贴"_s);
    QSignalSpy settled(&editor, &CHtmlEditor::documentSettled);
    QAction *paste = editor.editAction(QWebEnginePage::Paste);
    QVERIFY(paste);
    QVERIFY(paste->isEnabled());
    paste->trigger();
    QVERIFY(settled.wait(kTimeout));
    QCOMPARE(evaluate(editor, u"document.body.innerText"_s).toString(), u"粘贴x"_s);
}

void TestHtmlEditor::takesPlaceholderPlace()
{
    QWidget dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *placeholder = new QLabel(u"内容："_s);
    layout->addWidget(new QLabel(u"名称："_s));
    layout->addWidget(placeholder);
    dialog.show();
    CHtmlEditor editor;
    QVERIFY(!editor.CreateEditor(nullptr));
    QVERIFY(editor.CreateEditor(placeholder));
    QCOMPARE(layout->indexOf(&editor), 1);
    QCOMPARE(editor.parentWidget(), &dialog);
    QVERIFY(placeholder->isHidden());
}

void TestHtmlEditor::formatBarFollowsSelection()
{
    CFormatBar bar;
    QComboBox *names = bar.fontNameBox();
    QComboBox *sizes = bar.fontSizeBox();
    QCOMPARE(sizes->count(), 7);
    QCOMPARE(sizes->currentIndex(), -1);
    QVERIFY(names->count() > 0);
    const QString face = names->itemText(names->count() - 1);
    bar.showSelectionFont(face.toLower(), 4);
    QCOMPARE(names->currentText(), face);
    QCOMPARE(sizes->currentText(), u"4"_s);
    bar.showSelectionFont(u"没有这种字体"_s, 9);
    QCOMPARE(names->currentText(), face);
    QCOMPARE(sizes->currentText(), u"4"_s);
}

// Remote pictures, style sheets, frames and refreshes are never fetched; links and refreshes
// are not followed; the document's scripts do not run; no other browser profile is used.
void TestHtmlEditor::nothingRemoteNothingFollowed()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QString base = u"http://127.0.0.1:%1/"_s.arg(server.serverPort());
    const QString html = u"<html><head><meta http-equiv=\"refresh\" content=\"0; url=%1refresh\">"
                         "<link rel=\"stylesheet\" href=\"%1style.css\">"
                         "<script>document.title = 'ran'</script></head><body>"
                         "<img src=\"%1logo.png\"><iframe src=\"%1frame\"></iframe>"
                         "<a id=\"a\" href=\"%1link\">link</a></body></html>"_s.arg(base);
    CHtmlEditor editor;
    QSignalSpy refused(&editor, &CHtmlEditor::navigationRefused);
    QVERIFY(load(editor, html));
    editor.ToggleSourceView(false, false);
    evaluate(editor, u"document.getElementById('a').click()"_s);
    QVERIFY(waitFor([&] { return refused.count() >= 2; }));
    pause(500);
    QVERIFY(!server.hasPendingConnections());
    QCOMPARE(editor.GetDocumentHtml(), html);
    QVERIFY(evaluate(editor, u"document.title"_s).toString() != u"ran"_s);

    QWebEngineProfile *profile = editor.findChild<QWebEngineView *>()->page()->profile();
    QVERIFY(profile->isOffTheRecord());
    QVERIFY(profile != QWebEngineProfile::defaultProfile());
}

void TestHtmlEditor::paySlipScreenshot()
{
    CHtmlEditor &editor = *m_editor;
    QVERIFY(load(editor, kPaySlip));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    placeCaretIn(editor, u"td"_s);
    pause(300);
    const QImage shot = editor.grab().toImage();
    qsizetype inked = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            inked += qGray(shot.pixel(x, y)) < 160;
    }
    QVERIFY2(inked > 2000, "the pay slip did not render");
    const QString path = QDir::temp().filePath(u"vantrel-htmleditor-payslip.png"_s);
    QVERIFY(shot.save(path));
    qInfo("Screenshot: %s", qUtf8Printable(path));
}

QTEST_MAIN(TestHtmlEditor)
#include "tst_htmleditor.moc"
