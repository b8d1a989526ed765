#include "ui/htmledit/chtmleditor.h"

#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/filedialogs.h"
#include "ui/htmledit/chrproperties.h"
#include "ui/htmledit/chtmleditorbridge.h"
#include "ui/htmledit/chtmleditorpage.h"
#include "ui/htmledit/chtmlurlblocker.h"
#include "ui/htmledit/ctableproperties.h"
#include "ui/htmledit/htmlcolors.h"

#include <QColorDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLayout>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStackedLayout>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <optional>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcHtmlEditor, "vantrel.htmleditor")

static void initHtmlEditResources()
{
    Q_INIT_RESOURCE(htmledit);
}

namespace {

const QString kInitialDocument = u"<HTML><HEAD></HEAD><BODY><DIV></DIV></BODY></HTML>"_s;
const QString kScriptName = u"vantrel-htmleditor"_s;
const QString kFileFilter = u"HTML 文件 (*.htm *.html);;All Files (*)"_s;
// setHtml() passes the document as a data URL, which the browser takes up to 2 MB; base64
// makes four bytes of three, so larger documents go through a temporary file.
constexpr qsizetype kLargestInlineDocument = 1400 * 1024;

QString readPageScripts()
{
    QString source;
    const QStringList files = { u":/qtwebchannel/qwebchannel.js"_s, u":/htmledit/htmldom.js"_s,
                                u":/htmledit/htmltable.js"_s, u":/htmledit/htmleditor.js"_s };
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qCWarning(lcHtmlEditor, "The editor's page script %s is missing", qUtf8Printable(path));
        source += QString::fromUtf8(file.readAll()) + u'\n';
    }
    return source;
}

// The browser writes a document on few lines; each line break element starts a new line.
QString breakBeforeLineBreaks(QString html)
{
    static const QRegularExpression lineBreak(u"(?<!\\n)(<br(?=[\\s/>]))"_s,
                                              QRegularExpression::CaseInsensitiveOption);
    return html.replace(lineBreak, u"\n\\1"_s);
}

} // namespace

CHtmlEditor::CHtmlEditor(QWidget *parent)
    : QWidget(parent)
    , m_profile(new QWebEngineProfile(this))
    , m_bridge(new CHtmlEditorBridge(this))
    , m_channel(new QWebChannel(this))
    , m_view(new QWebEngineView(this))
    , m_source(new QPlainTextEdit(this))
    , m_stack(new QStackedLayout(this))
{
    initHtmlEditResources();
    m_scriptSource = readPageScripts();
    setUpProfile();
    m_page = new CHtmlEditorPage(m_profile, this);
    m_channel->registerObject(u"bridge"_s, m_bridge);
    m_page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);
    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    setUpSourceEdit();
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_view);
    m_stack->addWidget(m_source);
    setFocusProxy(m_view);

    connect(m_bridge, &CHtmlEditorBridge::ready, this, &CHtmlEditor::onPageReady);
    connect(m_bridge, &CHtmlEditorBridge::edited, this, &CHtmlEditor::onEdited);
    connect(m_bridge, &CHtmlEditorBridge::selectionChanged, this, &CHtmlEditor::onSelection);
    connect(m_bridge, &CHtmlEditorBridge::pasted, this, [this](int generation) {
        if (generation == m_generation)
            Q_EMIT documentSettled();
    });
    connect(m_page, &CHtmlEditorPage::navigationRefused, this, &CHtmlEditor::navigationRefused);
    LoadHtml(kInitialDocument);
}

CHtmlEditor::~CHtmlEditor()
{
    m_closing = true;
    if (m_keyTarget)
        m_keyTarget->removeEventFilter(this);
    // The view before its page, the page before its profile.
    delete m_view;
    delete m_page;
}

void CHtmlEditor::setUpProfile()
{
    // A profile without a storage name is off the record: nothing is written to disk, and no
    // other page of the program shares its settings, cache or interceptor.
    m_profile->setUrlRequestInterceptor(new CHtmlUrlBlocker(m_profile));
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setSpellCheckEnabled(false);
}

void CHtmlEditor::setUpSourceEdit()
{
    m_source->setObjectName(u"sourceEdit"_s);
    QFont font(u"Courier New"_s);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(14);
    m_source->setFont(font);
    m_source->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_source->setTabStopDistance(20);
}

bool CHtmlEditor::CreateEditor(QWidget *placeholder)
{
    QWidget *parent = placeholder ? placeholder->parentWidget() : nullptr;
    if (!parent)
        return false;
    std::unique_ptr<QLayoutItem> replaced(
        parent->layout() ? parent->layout()->replaceWidget(placeholder, this) : nullptr);
    if (!replaced) {
        setParent(parent);
        setGeometry(placeholder->geometry());
    }
    placeholder->hide();
    show();
    return true;
}

void CHtmlEditor::installPageScript()
{
    QWebEngineScriptCollection &scripts = m_page->scripts();
    for (const QWebEngineScript &old : scripts.find(kScriptName))
        scripts.remove(old);
    QWebEngineScript script;
    script.setName(kScriptName);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(u"const vantrelGeneration = %1;\n"_s.arg(m_generation) + m_scriptSource);
    scripts.insert(script);
}

void CHtmlEditor::LoadHtml(const QString &html, const QUrl &baseUrl)
{
    m_originalText = html;
    m_domEdited = false;
    m_modified = false;
    m_pageReady = false;
    m_selection.clear();
    m_baseUrl = baseUrl.isEmpty() ? QUrl(u"file:///"_s) : baseUrl;
    ++m_generation;
    installPageScript();
    m_page->expectLoad();
    const QByteArray utf8 = html.toUtf8();
    if (utf8.size() <= kLargestInlineDocument) {
        m_largeDocument.reset();
        m_page->setHtml(html, m_baseUrl);
        return;
    }
    // The byte-order mark outranks any meta charset of the document.
    m_largeDocument
        = std::make_unique<QTemporaryFile>(QDir::tempPath() + u"/vantrel-htmledit-XXXXXX.htm"_s);
    if (!m_largeDocument->open() || m_largeDocument->write("\xEF\xBB\xBF" + utf8) < 0
        || !m_largeDocument->flush()) {
        qCWarning(lcHtmlEditor, "No temporary file for a large document: %s",
                  qUtf8Printable(m_largeDocument->errorString()));
    }
    m_page->load(QUrl::fromLocalFile(m_largeDocument->fileName()));
}

bool CHtmlEditor::LoadHtmlFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::System);
    const QString text = decoder(bytes);
    LoadHtml(text, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}

void CHtmlEditor::OpenHtmlFile()
{
    const QString path = vantrel::ui::GetOpenFileName(this, QString(), QString(), kFileFilter);
    QString error;
    if (!path.isEmpty() && !LoadHtmlFile(path, &error))
        ShowMessage(this, error, LoadResString(117), QMessageBox::Critical);
}

void CHtmlEditor::RunEditCommand()
{
    const QString path = vantrel::ui::GetSaveFileName(this, QString(), QString(), kFileFilter);
    if (!path.isEmpty())
        SaveHtmlFile(path);
}

void CHtmlEditor::SaveHtmlFile(const QString &path, const Done &done)
{
    requestDocumentHtml([this, path, done](const QString &html) {
        QSaveFile file(path);
        const bool ok = file.open(QIODevice::WriteOnly) && file.write("\xEF\xBB\xBF") == 3
            && file.write(html.toUtf8()) >= 0 && file.commit();
        if (!ok)
            ShowMessage(this, file.errorString(), LoadResString(117), QMessageBox::Critical);
        if (done)
            done(ok);
    });
}

void CHtmlEditor::evaluate(const QString &script, const ScriptResult &result)
{
    if (!m_pageReady) {
        m_pending.append({ script, result });
        return;
    }
    QPointer<CHtmlEditor> self(this);
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                          [self, result](const QVariant &value) {
                              if (self && !self->m_closing && result)
                                  result(value);
                          });
}

void CHtmlEditor::onPageReady(int generation)
{
    if (generation != m_generation)
        return;
    m_pageReady = true;
    if (!m_designMode)
        m_pending.prepend({ jsCall(u"vantrel.setDesignMode"_s, { false }), {} });
    const QList<PendingScript> pending = std::exchange(m_pending, {});
    for (const PendingScript &script : pending)
        evaluate(script.script, script.result);
    watchKeys();
    if (!m_readyNotified) {
        m_readyNotified = true;
        Q_EMIT editorReady();
    }
    Q_EMIT documentSettled();
}

void CHtmlEditor::onEdited(int generation)
{
    if (generation != m_generation || m_domEdited)
        return;
    m_domEdited = true;
    m_modified = true;
    Q_EMIT contentsChanged();
}

void CHtmlEditor::onSelection(int generation, const QVariantMap &state)
{
    if (generation != m_generation)
        return;
    m_selection = state;
    Q_EMIT updateUi();
}

QString CHtmlEditor::selectedTagName() const
{
    return m_selection.value(u"tagName"_s).toString();
}

QString CHtmlEditor::selectionFontName() const
{
    return m_selection.value(u"fontName"_s).toString();
}

int CHtmlEditor::selectionFontSize() const
{
    return m_selection.value(u"fontSize"_s).toInt();
}

QString CHtmlEditor::jsCall(const QString &function, const QVariantList &arguments)
{
    const QByteArray json
        = QJsonDocument(QJsonArray::fromVariantList(arguments)).toJson(QJsonDocument::Compact);
    return function + u'(' + QString::fromUtf8(json.mid(1, json.size() - 2)) + u')';
}

// Runs one command of the page object; the messages it raised are shown before the handler
// gets its result.
void CHtmlEditor::command(const QString &call, const ScriptResult &handler)
{
    evaluate(u"vantrel.run(() => "_s + call + u')', [this, handler](const QVariant &value) {
        const QVariantMap answer = value.toMap();
        const QString error = answer.value(u"error"_s).toString();
        if (!value.isValid() || !error.isEmpty())
            qCWarning(lcHtmlEditor, "An editor command failed in the page: %s",
                      qUtf8Printable(error));
        showMessages(answer.value(u"messages"_s).toList());
        if (handler)
            handler(answer.value(u"result"_s));
    });
}

void CHtmlEditor::boolCommand(const QString &call, const Done &done)
{
    command(call, [done](const QVariant &result) {
        if (done)
            done(result.toBool());
    });
}

void CHtmlEditor::showMessages(const QVariantList &messages)
{
    for (const QVariant &message : messages)
        ShowMessage(this, message.toString(), u"Error"_s, QMessageBox::Critical);
}

void CHtmlEditor::ExecCommand(const QString &command, const QString &value, const Done &done)
{
    boolCommand(jsCall(u"vantrel.exec"_s, { command, value }), done);
}

void CHtmlEditor::SetFontSizePx(int pixels, const Done &done)
{
    boolCommand(jsCall(u"vantrel.fontSizePx"_s, { pixels }), done);
}

QAction *CHtmlEditor::editAction(QWebEnginePage::WebAction action) const
{
    return m_page->action(action);
}

void CHtmlEditor::InsertHtml(const QString &html, const Done &done)
{
    boolCommand(jsCall(u"vantrel.insertHtml"_s, { html }), done);
}

void CHtmlEditor::InsertTable(int rows, const Done &done)
{
    boolCommand(jsCall(u"vantrel.insertTable"_s, { rows }), done);
}

void CHtmlEditor::InsertRow(bool after, const Done &done)
{
    boolCommand(jsCall(u"vantrel.insertRow"_s, { after }), done);
}

void CHtmlEditor::InsertColumn(bool after, const Done &done)
{
    boolCommand(jsCall(u"vantrel.insertColumn"_s, { after }), done);
}

void CHtmlEditor::DeleteRow(const Done &done)
{
    boolCommand(u"vantrel.deleteRow()"_s, done);
}

void CHtmlEditor::DeleteColumn(const Done &done)
{
    boolCommand(u"vantrel.deleteColumn()"_s, done);
}

void CHtmlEditor::MergeCells(const Done &done)
{
    boolCommand(u"vantrel.mergeCells()"_s, done);
}

void CHtmlEditor::SplitCell(const Done &done)
{
    boolCommand(u"vantrel.splitCell()"_s, done);
}

void CHtmlEditor::SetCellBgColor(const QString &color, const Done &done)
{
    boolCommand(jsCall(u"vantrel.setCellBgColor"_s, { color }), done);
}

void CHtmlEditor::EditTableProperties(const Done &done)
{
    command(u"vantrel.tableProperties()"_s,
            [this, done](const QVariant &read) { finishTableProperties(read.toMap(), done); });
}

void CHtmlEditor::finishTableProperties(const QVariantMap &read, const Done &done)
{
    if (read.isEmpty()) {
        if (done)
            done(false);
        return;
    }
    CTableProperties dialog(this);
    dialog.m_rules = read.value(u"rules"_s).toInt();
    dialog.m_bgColor = read.value(u"bgColor"_s).toString();
    dialog.m_borderColor = read.value(u"borderColor"_s).toString();
    dialog.m_border = read.value(u"border"_s).toString();
    dialog.m_cellSpacing = read.value(u"cellSpacing"_s).toString();
    dialog.m_cellPadding = read.value(u"cellPadding"_s).toString();
    dialog.m_width = read.value(u"width"_s).toString();
    dialog.m_height = read.value(u"height"_s).toString();
    if (dialog.exec() != QDialog::Accepted) {
        evaluate(u"vantrel.target = null"_s);
        if (done)
            done(false);
        return;
    }
    const QVariantMap written = { { u"rules"_s, dialog.m_rules },
                                  { u"bgColor"_s, dialog.m_bgColor },
                                  { u"borderColor"_s, dialog.m_borderColor },
                                  { u"border"_s, dialog.m_border },
                                  { u"cellSpacing"_s, dialog.m_cellSpacing },
                                  { u"cellPadding"_s, dialog.m_cellPadding },
                                  { u"width"_s, dialog.m_width },
                                  { u"height"_s, dialog.m_height } };
    boolCommand(jsCall(u"vantrel.setTableProperties"_s, { written }), done);
}

void CHtmlEditor::EditRuleProperties(const Done &done)
{
    command(u"vantrel.ruleProperties()"_s,
            [this, done](const QVariant &read) { finishRuleProperties(read.toMap(), done); });
}

void CHtmlEditor::finishRuleProperties(const QVariantMap &read, const Done &done)
{
    if (read.isEmpty()) {
        if (done)
            done(false);
        return;
    }
    CHrProperties dialog(this);
    dialog.m_width = read.value(u"width"_s).toString();
    dialog.m_height = read.value(u"height"_s).toString();
    dialog.m_color = read.value(u"color"_s).toString();
    dialog.m_shade = read.value(u"shade"_s).toBool();
    if (dialog.exec() != QDialog::Accepted) {
        evaluate(u"vantrel.target = null"_s);
        if (done)
            done(false);
        return;
    }
    const QVariantMap written = { { u"width"_s, dialog.m_width },
                                  { u"height"_s, dialog.m_height },
                                  { u"color"_s, dialog.m_color },
                                  { u"shade"_s, dialog.m_shade } };
    boolCommand(jsCall(u"vantrel.setRuleProperties"_s, { written }), done);
}

void CHtmlEditor::EditCellBgColor(const QRect &button, const Done &done)
{
    command(u"vantrel.withCell(() => true)"_s, [this, button, done](const QVariant &inCell) {
        const QString color = inCell.toBool() ? ChooseColor(this, button) : QString();
        if (!color.isEmpty())
            SetCellBgColor(color, done);
        else if (done)
            done(false);
    });
}

QString CHtmlEditor::ChooseColor(QWidget *parent, const QRect &button)
{
    QColorDialog dialog(Qt::black, parent);
    dialog.setWindowTitle(u"选择颜色"_s);
    if (button.isValid())
        dialog.move(button.bottomRight());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return HtmlColors::toHtmlText(dialog.selectedColor());
}

// The document as text: the loaded text while nothing was edited, else the serialisation.
void CHtmlEditor::documentText(const DocumentText &result)
{
    const QString original = m_originalText;
    evaluate(u"vantrel.documentHtml()"_s, [this, original, result](const QVariant &value) {
        const QVariantMap answer = value.toMap();
        if (!answer.contains(u"edited"_s)) {
            qCWarning(lcHtmlEditor, "The editor's page did not give its document");
            result(m_domEdited ? QString() : original, false);
        } else if (answer.value(u"edited"_s).toBool()) {
            result(answer.value(u"html"_s).toString(), true);
        } else {
            result(original, false);
        }
    });
}

void CHtmlEditor::requestDocumentHtml(const TextResult &result)
{
    if (m_sourceView && m_source->document()->isModified()) {
        if (!m_bodyOnly) {
            result(m_source->toPlainText());
            return;
        }
        evaluate(jsCall(u"vantrel.setBodyHtml"_s, { m_source->toPlainText() }));
    }
    documentText([result](const QString &text, bool) { result(text); });
}

QString CHtmlEditor::GetDocumentHtml(int timeoutMs)
{
    auto answer = std::make_shared<std::optional<QString>>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    requestDocumentHtml([answer, waiting](const QString &text) {
        *answer = text;
        if (waiting)
            waiting->quit();
    });
    if (!answer->has_value()) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (answer->has_value())
        return **answer;
    qCWarning(lcHtmlEditor, "The editor's document did not arrive within %d ms", timeoutMs);
    return m_domEdited ? QString() : m_originalText;
}

CHtmlEditor::Mode CHtmlEditor::GetMode() const
{
    if (m_sourceView)
        return Mode::Source;
    return m_designMode ? Mode::Design : Mode::Browse;
}

void CHtmlEditor::ToggleSourceView(bool source, bool design)
{
    if (source == m_sourceView) {
        if (!source && design != m_designMode)
            setDesignMode(design);
        return;
    }
    if (source)
        showSource();
    else
        showDesign(design);
}

void CHtmlEditor::setDesignMode(bool on)
{
    m_designMode = on;
    evaluate(jsCall(u"vantrel.setDesignMode"_s, { on }));
    Q_EMIT updateUi();
}

void CHtmlEditor::showSource()
{
    m_sourceView = true;
    m_source->clear();
    m_stack->setCurrentWidget(m_source);
    setFocusProxy(m_source);
    const auto fill = [this](const QString &text) {
        if (!m_sourceView)
            return;
        m_source->setPlainText(text);
        m_source->document()->setModified(false);
        Q_EMIT updateUi();
    };
    if (m_bodyOnly) {
        evaluate(u"vantrel.bodyHtml()"_s,
                 [fill](const QVariant &body) { fill(breakBeforeLineBreaks(body.toString())); });
    } else {
        documentText([fill](const QString &text, bool serialised) {
            fill(serialised ? breakBeforeLineBreaks(text) : text);
        });
    }
}

// Back to the page: source text that was changed replaces the body (body only) or the whole
// document; unchanged text leaves the document as it is.
void CHtmlEditor::showDesign(bool design)
{
    const bool changed = m_source->document()->isModified();
    const QString text = m_source->toPlainText();
    m_sourceView = false;
    m_stack->setCurrentWidget(m_view);
    setFocusProxy(m_view);
    if (changed && m_bodyOnly) {
        evaluate(jsCall(u"vantrel.setBodyHtml"_s, { text }));
    } else if (changed) {
        LoadHtml(text, m_baseUrl);
        m_modified = true;
    }
    m_source->clear();
    if (design != m_designMode)
        setDesignMode(design);
    else
        Q_EMIT updateUi();
}

void CHtmlEditor::watchKeys()
{
    QWidget *proxy = m_view->focusProxy();
    if (!proxy || proxy == m_keyTarget)
        return;
    if (m_keyTarget)
        m_keyTarget->removeEventFilter(this);
    m_keyTarget = proxy;
    proxy->installEventFilter(this);
}

bool CHtmlEditor::isShortcut(const QKeyEvent *key) const
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (m_sourceView || !m_designMode || modifiers != Qt::ControlModifier)
        return false;
    static const QList<int> keys
        = { Qt::Key_H, Qt::Key_N, Qt::Key_O, Qt::Key_R, Qt::Key_S, Qt::Key_T };
    return keys.contains(key->key());
}

void CHtmlEditor::runShortcut(int key)
{
    switch (key) {
    case Qt::Key_H:
        ExecCommand(u"insertHorizontalRule"_s);
        break;
    case Qt::Key_O:
        InsertColumn(true);
        break;
    case Qt::Key_R:
        InsertRow(true);
        break;
    case Qt::Key_S:
        RunEditCommand();
        break;
    case Qt::Key_T:
        InsertTable(2);
        break;
    default: // Ctrl+N only keeps the browser from acting on it.
        break;
    }
}

// The page's keys pass through here first: the editor's shortcuts are taken (also from the
// shortcut map of the window, which would otherwise see them first), all other keys go on.
bool CHtmlEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_keyTarget)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusOut:
        Q_EMIT focusLost();
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!isShortcut(key))
            break;
        key->accept();
        if (event->type() == QEvent::KeyPress) {
            // Queued: Ctrl+S opens a file dialog, which must not run inside key delivery.
            QMetaObject::invokeMethod(
                this, [this, code = key->key()] { runShortcut(code); }, Qt::QueuedConnection);
        }
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
