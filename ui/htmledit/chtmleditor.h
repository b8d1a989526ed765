#pragma once

#include <QPointer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWidget>

#include <functional>
#include <memory>

class CHtmlEditorBridge;
class CHtmlEditorPage;
class QAction;
class QKeyEvent;
class QPlainTextEdit;
class QStackedLayout;
class QTemporaryFile;
class QWebChannel;
class QWebEngineProfile;
class QWebEngineView;

// The WYSIWYG editor of mail templates: a page in design mode, and a plain-text source view.
//
// The page lives on a private, off-the-record browser profile of its own: no setting of any
// other browser, no link followed, nothing loaded from the network, none of the document's own
// scripts run. Element and table work happens inside the page, through the DOM wrappers of
// htmldom.js and htmltable.js (cHtmlElement, cHtmlTable, cHtmlTableRow, cHtmlTableCell,
// cHtmlHR, cHtmlImg, cHtmlDocument), so every call below is asynchronous: calls run in the
// order they are made, after the current document has loaded, and report through their
// optional callback and the signals. Table commands act on the cell at the selection; when
// there is none they show the reason ("Please set the cursor into a table cell!" …) in a
// message box captioned "Error" and report false.
//
// Stored markup is kept: until the document is edited, the document's HTML is exactly the
// text that was loaded; after an edit it is the browser's serialisation (doctype, then the
// HTML element).
class CHtmlEditor : public QWidget
{
    Q_OBJECT

public:
    enum class Mode { Browse, Design, Source };
    using Done = std::function<void(bool ok)>;
    using TextResult = std::function<void(const QString &text)>;
    using ScriptResult = std::function<void(const QVariant &value)>;

    explicit CHtmlEditor(QWidget *parent = nullptr);
    ~CHtmlEditor() override;

    // Takes the placeholder's place (in its layout, or its geometry) and hides it; false
    // without a placeholder inside a parent widget.
    bool CreateEditor(QWidget *placeholder);

    // Replaces the document by the text; relative addresses resolve against baseUrl.
    void LoadHtml(const QString &html, const QUrl &baseUrl = QUrl());
    // Reads a file (its byte-order mark or meta charset decides the encoding) and loads it;
    // false, with the reason in *error, when it cannot be read.
    bool LoadHtmlFile(const QString &path, QString *error = nullptr);
    // "HTML 文件" file dialogs: open a file into the editor, save the document to a file.
    void OpenHtmlFile();
    void RunEditCommand();
    // Writes the document as UTF-8 with a byte-order mark; a failure is shown and reported.
    void SaveHtmlFile(const QString &path, const Done &done = {});

    // The document's HTML when it arrives. In the source view the source text counts: the
    // whole text, or (body only) the document with that text as its body.
    void requestDocumentHtml(const TextResult &result);
    // The same, waited for in a local event loop (user input held back) for at most timeoutMs:
    // for callers that need the text at once, such as a dialog's OK. On timeout: the loaded
    // text when no edit is known, else a null string.
    QString GetDocumentHtml(int timeoutMs = 10000);
    // The document differs from the text last given to LoadHtml.
    bool isModified() const { return m_modified; }

    // Switches between the design view and the source view; in the design view, design sets
    // design mode (false: browse mode).
    void ToggleSourceView(bool source, bool design = true);
    // The source view shows and replaces only the body's inner HTML.
    void setBodyOnly(bool bodyOnly) { m_bodyOnly = bodyOnly; }
    bool bodyOnly() const { return m_bodyOnly; }
    Mode GetMode() const;
    // The current document has loaded and takes commands at once.
    bool IsReady() const { return m_pageReady; }

    // A browser editing command on the selection: "bold", "italic", "underline",
    // "justifyLeft", "justifyCenter", "justifyRight", "removeFormat", "createLink" (address),
    // "insertImage" (address), "insertHorizontalRule", "fontName" (face), "fontSize" ("1" to
    // "7"), "foreColor" and "backColor" ("rrggbb" or "#rrggbb"), "undo", "redo" …
    void ExecCommand(const QString &command, const QString &value = QString(),
                     const Done &done = {});
    // Sets the selection's font size in pixels.
    void SetFontSizePx(int pixels, const Done &done = {});
    // The page's own cut, copy and paste (and other) actions, enabled as the page allows.
    QAction *editAction(QWebEnginePage::WebAction action) const;
    // Inserts markup at the selection, in place of a selected picture or rule.
    void InsertHtml(const QString &html, const Done &done = {});
    // A bordered table of rows × 2 cells, each holding <DIV>&nbsp;</DIV>.
    void InsertTable(int rows = 2, const Done &done = {});

    // At the row or grid column of the current cell, or after it.
    void InsertRow(bool after, const Done &done = {});
    void InsertColumn(bool after, const Done &done = {});
    // Without rows, or a row without cells, the table leaves the document.
    void DeleteRow(const Done &done = {});
    void DeleteColumn(const Done &done = {});
    // The current cell with its right-hand neighbour; false when it has none.
    void MergeCells(const Done &done = {});
    void SplitCell(const Done &done = {});
    void SetCellBgColor(const QString &color, const Done &done = {});

    // The property dialogs: read the element at the selection, show the dialog, write back on
    // OK. Without a table, a rule or a cell they show why; done(false) on cancel.
    void EditTableProperties(const Done &done = {});
    void EditRuleProperties(const Done &done = {});
    void EditCellBgColor(const QRect &button = QRect(), const Done &done = {});
    // "选择颜色": the colour dialog, starting black, placed at the bottom-right corner of the
    // button (screen coordinates); six lower-case hex digits, or empty when cancelled.
    static QString ChooseColor(QWidget *parent, const QRect &button = QRect());

    // The selection as the page last reported it (see updateUi()).
    QString selectedTagName() const;
    QString selectionFontName() const;
    int selectionFontSize() const;

    // Runs a script in the editor's script world, where the DOM wrappers and the editor's
    // page object `vantrel` live; the result arrives as a variant.
    void evaluate(const QString &script, const ScriptResult &result = {});

Q_SIGNALS:
    // Once, when the editor's first document has loaded.
    void editorReady();
    // After every load, and after a paste has settled.
    void documentSettled();
    // The selection or the editing state changed, or the view was switched.
    void updateUi();
    // The page lost the keyboard focus.
    void focusLost();
    // The first edit of a loaded document.
    void contentsChanged();
    // The page wanted to go somewhere (a link, a refresh, a dropped file) and was stopped.
    void navigationRefused(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct PendingScript
    {
        QString script;
        ScriptResult result;
    };
    using DocumentText = std::function<void(const QString &text, bool serialised)>;

    void setUpProfile();
    void setUpSourceEdit();
    void installPageScript();
    void onPageReady(int generation);
    void onEdited(int generation);
    void onSelection(int generation, const QVariantMap &state);
    void watchKeys();
    bool isShortcut(const QKeyEvent *key) const;
    void runShortcut(int key);
    void command(const QString &call, const ScriptResult &handler);
    void boolCommand(const QString &call, const Done &done);
    void showMessages(const QVariantList &messages);
    void documentText(const DocumentText &result);
    void showSource();
    void showDesign(bool design);
    void setDesignMode(bool on);
    void finishTableProperties(const QVariantMap &read, const Done &done);
    void finishRuleProperties(const QVariantMap &read, const Done &done);
    static QString jsCall(const QString &function, const QVariantList &arguments);

    QWebEngineProfile *m_profile;
    CHtmlEditorBridge *m_bridge;
    QWebChannel *m_channel;
    CHtmlEditorPage *m_page = nullptr;
    QWebEngineView *m_view;
    QPlainTextEdit *m_source;
    QStackedLayout *m_stack;
    QPointer<QWidget> m_keyTarget;
    std::unique_ptr<QTemporaryFile> m_largeDocument;
    QList<PendingScript> m_pending;
    QString m_scriptSource;
    QString m_originalText;
    QUrl m_baseUrl;
    QVariantMap m_selection;
    int m_generation = 0;
    bool m_pageReady = false;
    bool m_readyNotified = false;
    bool m_domEdited = false;
    bool m_modified = false;
    bool m_sourceView = false;
    bool m_designMode = true;
    bool m_bodyOnly = false;
    bool m_closing = false;
};
