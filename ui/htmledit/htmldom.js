// DOM wrappers of the HTML editor: small value classes over the page's nodes. A failed lookup
// gives an empty wrapper, a failed change gives false; nothing throws to the caller. Tag names
// come in upper case, as the browser gives them for HTML documents.
'use strict';

class cMisc {
    // Messages of one editor command; the program shows them when the command returns.
    static ShowMessage(text) { cMisc.messages.push(text); }

    static VariantToString(value) {
        if (typeof value === 'boolean')
            return value ? 'true' : 'false';
        if (typeof value === 'number')
            return Number.isInteger(value) ? String(value) : '';
        return typeof value === 'string' ? value : '';
    }

    // "<DIV class=x>a</DIV>" with the tag "div" gives "a"; markup that does not open and close
    // with the tag comes back unchanged.
    static StripOuterTag(markup, tag) {
        const name = tag.replace(/^[ \t\r\n]+|[ \t\r\n]+$/g, '').toUpperCase();
        const open = '<' + name;
        const close = '</' + name + '>';
        if (markup.length < open.length + close.length
            || markup.slice(0, open.length).toUpperCase() !== open
            || markup.slice(-close.length).toUpperCase() !== close)
            return markup;
        const end = markup.indexOf('>', open.length);
        if (end < 0 || end + 1 > markup.length - close.length)
            return '';
        return markup.slice(end + 1, markup.length - close.length);
    }

    static CutAffix(text, affix, fromEnd) {
        if (!text || !affix || text.length < affix.length)
            return text;
        const n = affix.length;
        const piece = fromEnd ? text.slice(-n) : text.slice(0, n);
        if (piece.toLowerCase() !== affix.toLowerCase())
            return text;
        return fromEnd ? text.slice(0, -n) : text.slice(n);
    }

    // A colour as "#rrggbb" when the browser understands it ("red", "f00", "#FF0000"), so that
    // the property dialogs always see seven characters; anything else comes back as it is.
    static NormalizeColor(text) {
        const value = (text || '').trim();
        if (value === '')
            return '';
        const hex = /^#?([0-9a-f]{6})$/i.exec(value);
        if (hex)
            return '#' + hex[1].toLowerCase();
        if (!cMisc.colorContext)
            cMisc.colorContext = document.createElement('canvas').getContext('2d');
        const context = cMisc.colorContext;
        context.fillStyle = '#010203';
        context.fillStyle = value;
        const parsed = context.fillStyle;
        return parsed === '#010203' && value.toLowerCase() !== '#010203' ? value : parsed;
    }

    // Six hex digits as the dialogs write them get their "#", as the attribute should carry it.
    static ColorAttributeText(text) {
        return /^[0-9a-f]{6}$/i.test(text) ? '#' + text : text;
    }
}
cMisc.messages = [];

class cHtmlDomNode extends cMisc {
    constructor(node) {
        super();
        this.node = node || null;
    }

    IsValid() { return !!this.node; }

    Remove() {
        if (!this.node || !this.node.parentNode)
            return false;
        this.node.parentNode.removeChild(this.node);
        return true;
    }

    GetNextSibling() { return this.siblingElement('nextSibling'); }
    GetPreviousSibling() { return this.siblingElement('previousSibling'); }

    siblingElement(direction) {
        let node = this.node ? this.node[direction] : null;
        while (node && node.nodeType !== Node.ELEMENT_NODE)
            node = node[direction];
        return new cHtmlElement(node);
    }

    AppendChild(child) {
        try {
            return new cHtmlElement(this.node.appendChild(child.node));
        } catch (error) {
            return new cHtmlElement(null);
        }
    }
}

class cHtmlElement extends cHtmlDomNode {
    constructor(element) {
        const valid = element instanceof Element ? element : null;
        super(valid);
        this.element = valid;
    }

    IsValid() { return !!this.element; }
    GetElement() { return this.element; }
    GetTagName() { return this.element ? this.element.tagName : ''; }
    GetStyle() { return new cHtmlStyle(this.element ? this.element.style : null); }

    GetAttribute(name) {
        const value = this.element ? this.element.getAttribute(name) : null;
        return value === null ? '' : value;
    }

    RemoveAttribute(name) {
        if (!this.element || !this.element.hasAttribute(name))
            return false;
        this.element.removeAttribute(name);
        return true;
    }

    // Writes an attribute as text; the empty text removes it rather than leaving name="".
    setAttributeText(name, text) {
        if (!this.element)
            return false;
        if (text === '' || text === null || text === undefined)
            this.element.removeAttribute(name);
        else
            this.element.setAttribute(name, String(text));
        return true;
    }

    IsEmpty() { return this.GetInnerHtml().replace(/^[\r\n \t]+|[\r\n \t]+$/g, '') === ''; }
    GetInnerHtml() { return this.element ? this.element.innerHTML : ''; }
    GetOuterHtml() { return this.element ? this.element.outerHTML : ''; }

    SetInnerHtml(html) {
        try {
            this.element.innerHTML = html;
            return true;
        } catch (error) {
            return false;
        }
    }

    SetInnerDivHtml(text) { return this.SetInnerHtml('<DIV>' + text + '</DIV>'); }
    GetParent() { return new cHtmlElement(this.element ? this.element.parentElement : null); }

    // The caller's holder receives the collection; the result is its length.
    GetChildren(holder) {
        holder.collection = this.element ? this.element.children : null;
        return holder.collection ? holder.collection.length : 0;
    }

    GetChild(collection, index) { return new cHtmlElement(collection ? collection[index] : null); }

    FindParent(tag) {
        let element = this.element;
        while (element && element.tagName !== tag)
            element = element.parentElement;
        return new cHtmlElement(element);
    }

    // The nearest element, this one included, whose "<TAG>" is not in the list.
    FindParentNotIn(list) {
        let element = this.element;
        while (element && list.indexOf('<' + element.tagName + '>') >= 0)
            element = element.parentElement;
        return new cHtmlElement(element);
    }

    InsertAdjacentHtml(markup, begin, inside) {
        const where = inside ? (begin ? 'afterbegin' : 'beforeend')
                             : (begin ? 'beforebegin' : 'afterend');
        try {
            this.element.insertAdjacentHTML(where, markup);
            return true;
        } catch (error) {
            return false;
        }
    }

    AppendNewElement(tag) {
        if (!this.element)
            return new cHtmlElement(null);
        const created = this.element.ownerDocument.createElement(tag);
        return this.AppendChild(new cHtmlElement(created));
    }

    GetParentRow() { return new cHtmlTableRow(this.FindParent('TR').element); }
    GetParentTable() { return new cHtmlTable(this.FindParent('TABLE').element); }
}

class cHtmlStyle extends cMisc {
    constructor(style) {
        super();
        this.style = style || null;
    }

    GetValueText(index) {
        const names = ['backgroundColor', 'color', 'border', 'borderWidth', 'borderStyle',
                       'borderColor', 'fontSize', 'fontFamily', 'width', 'height',
                       'textDecoration', 'marginLeft', 'marginTop'];
        if (!this.style || index < 0 || index >= names.length)
            return '';
        return cMisc.VariantToString(this.style[names[index]]);
    }
}

class cHtmlHR extends cHtmlElement {
    constructor(element) {
        super(element);
        this.hr = element instanceof HTMLHRElement ? element : null;
    }

    IsValid() { return !!this.hr; }

    // which: 0 colour, 1 size (default "2"), 2 width (default "100%"); the text in upper case.
    GetValue(which) {
        const defaults = ['', '2', '100%'];
        const names = ['color', 'size', 'width'];
        if (!this.hr || !names[which])
            return '';
        let value = this.GetAttribute(names[which]);
        if (which === 0)
            value = cMisc.NormalizeColor(value);
        else if (value === '' || value === '0')
            value = defaults[which];
        return value.toUpperCase();
    }

    SetValue(which, text) {
        const names = ['color', 'size', 'width'];
        if (!this.hr || !names[which])
            return;
        this.setAttributeText(names[which], which === 0 ? cMisc.ColorAttributeText(text) : text);
    }
}

class cHtmlImg extends cHtmlElement {
    constructor(element) {
        super(element);
        this.img = element instanceof HTMLImageElement ? element : null;
    }

    IsValid() { return !!this.img; }
    GetHref() { return this.img ? this.img.src : ''; }

    SetSrc(address) {
        if (!this.img)
            return false;
        this.img.src = address;
        return true;
    }
}

class cHtmlDocument extends cHtmlDomNode {
    constructor(document) {
        super(null);
        this.Assign(document);
    }

    Assign(document) {
        this.document = document || null;
        this.node = this.document;
    }

    IsValid() { return !!this.document; }
    IsDesignMode() { return !!this.document && this.document.designMode.toLowerCase() === 'on'; }

    SetDesignMode(on) {
        if (!this.document)
            return false;
        this.document.designMode = on ? 'on' : 'off';
        return true;
    }
}
