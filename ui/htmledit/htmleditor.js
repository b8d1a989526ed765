// The editor page: design mode, edit tracking, selection reports and the commands the program
// calls. Runs in a script world of its own, so the document's own scripts (switched off anyway)
// never see it. vantrelGeneration, set by the program before each load, tags every report so
// that late reports of a replaced document are ignored. Timers do not run in a page whose own
// scripts are off, so everything here answers events directly.
'use strict';

const vantrel = {
    bridge: null,
    edited: false,
    paragraphsConverted: false,
    target: null, // the element a property dialog is editing
    lastState: '',
    inlineTags: '<A><B><U><I><EM><STRONG><NOBR>',

    start() {
        document.designMode = 'on';
        document.execCommand('defaultParagraphSeparator', false, 'div');
        this.observer = new MutationObserver(() => this.markEdited());
        this.observer.observe(document, {
            subtree: true, childList: true, attributes: true, characterData: true });
        document.addEventListener('selectionchange', () => this.reportState());
        document.addEventListener('input', (event) => this.input(event));
        document.addEventListener('keyup', (event) => this.keyUp(event));
        document.addEventListener('mousedown', (event) => this.selectControl(event));
        new QWebChannel(qt.webChannelTransport, (channel) => {
            this.bridge = channel.objects.bridge;
            if (this.edited)
                this.report('reportEdited');
            this.report('reportReady');
            this.reportState();
        });
    },

    report(name, ...values) {
        if (this.bridge)
            this.bridge[name](vantrelGeneration, ...values);
    },

    markEdited() {
        if (this.edited)
            return;
        this.edited = true;
        this.report('reportEdited');
    },

    isDesign() { return document.designMode === 'on'; },

    // One command from the program: its result, the messages it raised and any script error.
    run(command) {
        cMisc.messages = [];
        let result = null;
        let error = '';
        try {
            result = command();
        } catch (exception) {
            error = String(exception && exception.stack || exception);
        }
        this.reportState();
        return { result, messages: cMisc.messages, error };
    },

    // The element at the selection: a single selected element (a picture, a rule), else the
    // element that holds the whole selection.
    selectedElement() {
        const selection = getSelection();
        if (!selection.rangeCount)
            return new cHtmlElement(null);
        const range = selection.getRangeAt(0);
        const start = range.startContainer;
        if (start === range.endContainer && start.nodeType === Node.ELEMENT_NODE
            && range.endOffset === range.startOffset + 1) {
            const node = start.childNodes[range.startOffset];
            if (node && node.nodeType === Node.ELEMENT_NODE)
                return new cHtmlElement(node);
        }
        let node = range.commonAncestorContainer;
        if (node.nodeType !== Node.ELEMENT_NODE)
            node = node.parentElement;
        return new cHtmlElement(node);
    },

    currentCell() {
        const element = this.selectedElement();
        if (['TR', 'TBODY', 'THEAD', 'TFOOT', 'TABLE'].includes(element.GetTagName())) {
            cMisc.ShowMessage('A selection spanning over multiple cells is not allowed.');
            return new cHtmlTableCell(null);
        }
        let node = element.element;
        while (node && !(node instanceof HTMLTableCellElement))
            node = node.parentElement;
        if (!node)
            cMisc.ShowMessage('Please set the cursor into a table cell!');
        return new cHtmlTableCell(node);
    },

    withCell(action) {
        const cell = this.currentCell();
        const table = cell.GetParentTable();
        if (!cell.IsValid() || !table.IsValid())
            return false;
        return action(cell, table);
    },

    // A caret at the end of the body when the document has no selection yet.
    ensureSelection() {
        const selection = getSelection();
        if (selection.rangeCount && document.body && document.body.contains(selection.anchorNode))
            return;
        const range = document.createRange();
        range.selectNodeContents(document.body || document.documentElement);
        range.collapse(false);
        selection.removeAllRanges();
        selection.addRange(range);
    },

    placeCaret(element) {
        if (!element || !element.isConnected)
            return;
        const range = document.createRange();
        range.selectNodeContents(element);
        range.collapse(true);
        getSelection().removeAllRanges();
        getSelection().addRange(range);
    },

    insertHtml(html) {
        this.ensureSelection();
        return document.execCommand('insertHTML', false, html);
    },

    insertTable(rows) {
        const row = '<TR><TD><DIV>&nbsp;</DIV></TD><TD><DIV>&nbsp;</DIV></TD></TR>';
        return this.insertHtml('<TABLE border=1 cellpadding=3>' + row.repeat(rows) + '</TABLE>');
    },

    insertRow(after) {
        return this.withCell((cell, table) =>
            table.InsertRow(cell.GetRowIndex() + (after ? 1 : 0)).IsValid());
    },

    insertColumn(after) {
        return this.withCell((cell, table) =>
            table.InsertColumn(cell.GetColumnIndex() + (after ? cell.cell.colSpan : 0)));
    },

    deleteRow() { return this.withCell((cell, table) => table.DeleteRow(cell.GetRowIndex())); },

    deleteColumn() {
        return this.withCell((cell, table) => table.DeleteColumn(cell.GetColumnIndex()));
    },

    mergeCells() {
        return this.withCell((cell) => {
            const merged = cell.MergeWithNext();
            if (merged)
                this.placeCaret(cell.cell.firstElementChild || cell.cell);
            return merged;
        });
    },

    splitCell() {
        return this.withCell((cell) => {
            cell.Split();
            return true;
        });
    },

    setCellBgColor(color) {
        return this.withCell((cell) => {
            cell.SetBgColor(color);
            return true;
        });
    },

    exec(command, value) {
        this.ensureSelection();
        if (/^(foreColor|backColor|hiliteColor)$/.test(command))
            value = cMisc.ColorAttributeText(value);
        return document.execCommand(command, false, value);
    },

    // The browser's largest font size, then every FONT it has just sized gets the size in
    // pixels instead; FONT elements that had size 7 before are left alone.
    fontSizePx(pixels) {
        const before = new Set(Array.from(document.querySelectorAll('font[size="7"]')));
        this.ensureSelection();
        document.execCommand('fontSize', false, '7');
        const top = this.selectedElement().FindParentNotIn(this.inlineTags);
        if (!top.IsValid())
            return false;
        const fonts = [top.element, ...top.element.getElementsByTagName('FONT')];
        for (const font of fonts) {
            if (font.tagName === 'FONT' && font.getAttribute('size') === '7' && !before.has(font)) {
                font.removeAttribute('size');
                font.style.fontSize = pixels + 'px';
            }
        }
        return true;
    },

    tableProperties() {
        const table = this.selectedElement().GetParentTable();
        if (!table.IsValid()) {
            cMisc.ShowMessage('Please set the cursor into a table!');
            return null;
        }
        this.target = table;
        const style = table.GetStyle();
        return {
            rules: table.GetRules(), bgColor: table.GetBgColor(),
            borderColor: table.GetBorderColor(), border: table.GetBorder(),
            cellSpacing: table.GetCellSpacing(), cellPadding: table.GetCellPadding(),
            width: style.GetValueText(8).replaceAll('px', ''),
            height: style.GetValueText(9).replaceAll('px', '') };
    },

    setTableProperties(values) {
        const table = this.takeTarget(cHtmlTable);
        if (!table)
            return false;
        table.SetRules(values.rules);
        table.SetBgColor(values.bgColor);
        table.SetBorderColor(values.borderColor);
        table.SetBorder(values.border);
        table.SetCellSpacing(values.cellSpacing);
        table.SetCellPadding(values.cellPadding);
        table.table.style.width = this.cssLength(values.width);
        table.table.style.height = this.cssLength(values.height);
        if (table.table.getAttribute('style') === '')
            table.table.removeAttribute('style');
        return true;
    },

    cssLength(text) { return text === '' || text.includes('%') ? text : text + 'px'; },

    ruleProperties() {
        const rule = new cHtmlHR(this.selectedElement().element);
        if (!rule.IsValid()) {
            cMisc.ShowMessage('Please select a <HR> element. (horizontal line)');
            return null;
        }
        this.target = rule;
        return { width: rule.GetValue(2), height: rule.GetValue(1), color: rule.GetValue(0),
                 shade: !rule.hr.noShade };
    },

    setRuleProperties(values) {
        const rule = this.takeTarget(cHtmlHR);
        if (!rule)
            return false;
        rule.SetValue(2, values.width);
        rule.SetValue(1, values.height);
        rule.SetValue(0, values.color);
        rule.hr.noShade = !values.shade;
        return true;
    },

    takeTarget(kind) {
        const target = this.target;
        this.target = null;
        return target instanceof kind && target.IsValid() && target.element.isConnected ? target
                                                                                      : null;
    },

    doctype() {
        return document.doctype ? new XMLSerializer().serializeToString(document.doctype) + '\n'
                                : '';
    },

    documentHtml() {
        if (this.observer.takeRecords().length)
            this.markEdited();
        return { edited: this.edited, html: this.doctype() + document.documentElement.outerHTML };
    },

    bodyHtml() {
        if (!document.body) {
            const body = document.createElement('BODY');
            body.innerHTML = '<DIV></DIV>';
            document.documentElement.appendChild(body);
        }
        return document.body.innerHTML;
    },

    setBodyHtml(html) {
        this.bodyHtml();
        document.body.innerHTML = html;
        return true;
    },

    setDesignMode(on) { return new cHtmlDocument(document).SetDesignMode(on); },

    state() {
        const element = this.selectedElement();
        const face = String(document.queryCommandValue('fontName') || '');
        const size = parseInt(document.queryCommandValue('fontSize'), 10);
        return { tagName: element.GetTagName(),
                 fontName: face.split(',')[0].trim().replace(/^["']|["']$/g, ''),
                 fontSize: isNaN(size) ? 0 : size };
    },

    // Reports the selection when what the program shows of it has changed.
    reportState() {
        if (!this.bridge)
            return;
        const state = this.state();
        const text = JSON.stringify(state);
        if (text === this.lastState)
            return;
        this.lastState = text;
        this.report('reportSelection', state);
    },

    input(event) {
        this.reportState();
        if (event.inputType === 'insertFromPaste')
            this.report('reportPasted');
    },

    // After Enter every paragraph becomes a DIV block, so that the markup holds no P; the
    // next other key removes FONT elements that typing has left empty.
    keyUp(event) {
        if (!this.isDesign())
            return;
        if (event.key === 'Enter') {
            this.convertParagraphs();
            this.paragraphsConverted = true;
        } else if (this.paragraphsConverted) {
            this.paragraphsConverted = false;
            for (const font of Array.from(document.getElementsByTagName('FONT'))) {
                if (new cHtmlElement(font).IsEmpty())
                    font.remove();
            }
        }
    },

    convertParagraphs() {
        const paragraphs = Array.from(document.getElementsByTagName('P'));
        if (!paragraphs.length)
            return;
        const selection = getSelection();
        const saved = selection.rangeCount ? [selection.anchorNode, selection.anchorOffset,
                                              selection.focusNode, selection.focusOffset]
                                           : null;
        const replaced = new Map();
        for (const paragraph of paragraphs.reverse()) {
            const block = document.createElement('DIV');
            for (const attribute of paragraph.attributes)
                block.setAttribute(attribute.name, attribute.value);
            if (paragraph.innerHTML === '')
                block.innerHTML = '&nbsp;';
            while (paragraph.firstChild)
                block.appendChild(paragraph.firstChild);
            paragraph.replaceWith(block);
            replaced.set(paragraph, block);
        }
        if (saved) {
            const node = (n) => replaced.get(n) || n;
            try {
                selection.setBaseAndExtent(node(saved[0]), saved[1], node(saved[2]), saved[3]);
            } catch (error) {
                // The caret's node left the document; the browser's own caret stays.
            }
        }
    },

    // Pictures and rules are selected as a whole by a click, so that their properties can be
    // edited and a paste replaces them.
    selectControl(event) {
        const target = event.target;
        if (!this.isDesign() || !(target instanceof HTMLImageElement || target instanceof HTMLHRElement))
            return;
        event.preventDefault();
        const range = document.createRange();
        range.selectNode(target);
        getSelection().removeAllRanges();
        getSelection().addRange(range);
    },
};

vantrel.start();
