// Table wrappers: attribute accessors and the structural edits (rows, columns, merge, split).
// The edits keep a table a regular grid: every row as wide as the first, each cell covering
// colSpan grid columns. Cells spanning several rows are outside that model; the span grid
// refuses them. A table that loses its last row or a row its last cell leaves the document.
'use strict';

const kNewCellHtml = '<DIV>&nbsp;</DIV>';

class cHtmlTable extends cHtmlElement {
    constructor(element) {
        super(element);
        this.table = element instanceof HTMLTableElement ? element : null;
    }

    IsValid() { return !!this.table; }

    SetBgColor(color) { this.setAttributeText('bgcolor', cMisc.ColorAttributeText(color)); }
    GetBgColor() { return cMisc.NormalizeColor(this.GetAttribute('bgcolor')); }
    SetCellSpacing(text) { return this.setAttributeText('cellspacing', text); }
    GetCellSpacing() { return this.GetAttribute('cellspacing') || '2'; }
    SetCellPadding(text) { return this.setAttributeText('cellpadding', text); }
    GetCellPadding() { return this.GetAttribute('cellpadding') || '1'; }
    SetBorder(text) { return this.setAttributeText('border', text); }
    GetBorder() { return this.GetAttribute('border') || '0'; }

    SetBorderColor(color) {
        return this.setAttributeText('bordercolor', cMisc.ColorAttributeText(color));
    }

    GetBorderColor() { return cMisc.NormalizeColor(this.GetAttribute('bordercolor')); }

    // Codes 0 "all", 1 "rows", 2 "cols", 3 "none".
    SetRules(code) {
        const keywords = ['all', 'rows', 'cols', 'none'];
        if (!this.table || !keywords[code])
            return false;
        this.table.setAttribute('rules', keywords[code]);
        return true;
    }

    GetRules() {
        const value = this.GetAttribute('rules').toLowerCase();
        return { cols: 2, rows: 1, none: 3 }[value] || 0;
    }

    GetRow(index) { return new cHtmlTableRow(this.table ? this.table.rows[index] : null); }
    GetRowCount() { return this.table ? this.table.rows.length : 0; }
    GetColumnCount() { return this.GetRow(0).width(); }
    GetCellAt(rowIndex, column) { return this.GetRow(rowIndex).GetCellAtColumn(column); }

    InsertRow(index) {
        const columns = this.GetColumnCount();
        let row = null;
        try {
            row = this.table.insertRow(index);
        } catch (error) {
            return new cHtmlTableRow(null);
        }
        const wrapper = new cHtmlTableRow(row);
        for (let i = 0; i < columns; ++i)
            wrapper.InsertCell(0);
        return wrapper;
    }

    InsertColumn(column) {
        let ok = true;
        for (let r = 0; this.GetRow(r).IsValid(); ++r) {
            if (!this.GetRow(r).InsertCellAtColumn(column).IsValid())
                ok = false;
        }
        return ok;
    }

    DeleteColumn(column) {
        let ok = true;
        for (let r = 0; this.GetRow(r).IsValid(); ++r) {
            if (!this.GetRow(r).DeleteCellAtColumn(column))
                ok = false;
        }
        return ok;
    }

    DeleteRow(index) {
        let ok = true;
        try {
            this.table.deleteRow(index);
        } catch (error) {
            ok = false;
        }
        if (this.GetRowCount() === 0)
            this.Remove();
        else
            this.RemoveCoveredColumns();
        return ok;
    }

    // { rows, columns, grid } where grid[r][c] is the colSpan of the cell of row r that starts
    // at column c, 0 where none starts; null (with a message) for an irregular table.
    GetSpanGrid() {
        const rows = this.GetRowCount();
        const columns = this.GetColumnCount();
        if (rows === 0 || columns === 0)
            return null;
        const grid = [];
        for (let r = 0; r < rows; ++r) {
            const line = new Array(columns).fill(0);
            let c = 0;
            for (const cell of this.table.rows[r].cells) {
                if (cell.rowSpan > 1) {
                    cMisc.ShowMessage('Cells which span over multiple rows are NOT supported !');
                    return null;
                }
                if (c + cell.colSpan > columns) {
                    c = -1;
                    break;
                }
                line[c] = cell.colSpan;
                c += cell.colSpan;
            }
            if (c !== columns) {
                cMisc.ShowMessage('All rows must contain the same amount of columns!');
                return null;
            }
            grid.push(line);
        }
        return { rows, columns, grid };
    }

    // Columns in which no cell starts (left behind by a merge or a deleted row) are collapsed;
    // from the right, so that the grid's lower column numbers stay valid.
    RemoveCoveredColumns() {
        const spans = this.GetSpanGrid();
        if (!spans)
            return;
        for (let c = spans.columns - 1; c >= 0; --c) {
            if (spans.grid.every((line) => line[c] === 0))
                this.DeleteColumn(c);
        }
    }
}

class cHtmlTableRow extends cHtmlElement {
    constructor(element) {
        super(element);
        this.row = element instanceof HTMLTableRowElement ? element : null;
    }

    IsValid() { return !!this.row; }
    GetCell(index) { return new cHtmlTableCell(this.row ? this.row.cells[index] : null); }
    GetCellCount() { return this.row ? this.row.cells.length : 0; }
    cellList() { return this.row ? Array.from(this.row.cells) : []; }
    width() { return this.cellList().reduce((sum, cell) => sum + cell.colSpan, 0); }

    // The cell that starts at the column, else the last one that starts before it.
    GetCellAtColumn(column) {
        let found = null;
        let position = 0;
        for (const cell of this.cellList()) {
            if (position > column)
                break;
            found = cell;
            position += cell.colSpan;
        }
        return new cHtmlTableCell(found);
    }

    InsertCell(index) {
        try {
            const cell = this.row.insertCell(index);
            cell.innerHTML = kNewCellHtml;
            return new cHtmlTableCell(cell);
        } catch (error) {
            return new cHtmlTableCell(null);
        }
    }

    // A new cell before the cell starting at the column; a cell straddling the column is
    // widened instead (and returned); past the end the new cell is appended.
    InsertCellAtColumn(column) {
        const cells = this.cellList();
        let position = 0;
        for (let i = 0; i < cells.length; ++i) {
            const span = cells[i].colSpan;
            if (position === column)
                return this.InsertCell(i);
            if (position < column && column < position + span) {
                cells[i].colSpan = span + 1;
                return new cHtmlTableCell(cells[i]);
            }
            position += span;
        }
        return this.InsertCell(cells.length);
    }

    DeleteCellAtColumn(column) {
        let position = 0;
        for (const cell of this.cellList()) {
            const span = cell.colSpan;
            if (span === 1 && position === column) {
                const wrapper = new cHtmlTableCell(cell);
                const table = wrapper.GetParentTable();
                const removed = wrapper.Remove();
                if (this.GetCellCount() === 0)
                    table.Remove();
                return removed;
            }
            if (span > 1 && position <= column && column < position + span) {
                cell.colSpan = span - 1;
                return true;
            }
            position += span;
        }
        return false;
    }
}

class cHtmlTableCell extends cHtmlElement {
    constructor(element) {
        super(element);
        this.cell = element instanceof HTMLTableCellElement ? element : null;
    }

    IsValid() { return !!this.cell; }
    SetBgColor(color) { this.setAttributeText('bgcolor', cMisc.ColorAttributeText(color)); }

    GetColumnIndex() {
        let column = 0;
        let sibling = this.GetPreviousSibling();
        while (sibling.element instanceof HTMLTableCellElement) {
            column += sibling.element.colSpan;
            sibling = sibling.GetPreviousSibling();
        }
        return column;
    }

    GetRowIndex() {
        const row = this.GetParentRow();
        return row.IsValid() ? row.row.rowIndex : -1;
    }

    // Joins the right-hand neighbour into this cell: texts joined by one non-breaking space,
    // spans added, the neighbour removed and columns no cell starts in any more collapsed.
    MergeWithNext() {
        const next = new cHtmlTableCell(this.GetNextSibling().element);
        if (!this.cell || !next.IsValid())
            return false;
        const left = cMisc.CutAffix(cMisc.StripOuterTag(this.GetInnerHtml(), 'DIV'), '&nbsp;', true);
        const right = cMisc.CutAffix(cMisc.StripOuterTag(next.GetInnerHtml(), 'DIV'), '&nbsp;', false);
        this.SetInnerHtml('<DIV>' + left + '&nbsp;' + right + '</DIV>');
        this.cell.colSpan = this.cell.colSpan + next.cell.colSpan;
        next.Remove();
        this.GetParentTable().RemoveCoveredColumns();
        return true;
    }

    // A new empty cell right after this one. A single-column cell makes its row one column
    // wider, so the cells of that column in every other row grow by one; a wider cell shares
    // its span with the new cell instead.
    Split() {
        const rowIndex = this.GetRowIndex();
        const column = this.GetColumnIndex();
        const span = this.cell.colSpan;
        const created = this.GetParentRow().InsertCellAtColumn(column + span);
        if (span === 1) {
            const table = this.GetParentTable();
            for (let r = 0; r < table.GetRowCount(); ++r) {
                const cell = r === rowIndex ? null : table.GetCellAt(r, column).cell;
                if (cell)
                    cell.colSpan = cell.colSpan + 1;
            }
        } else {
            this.cell.colSpan = Math.floor(span / 2);
            if (created.IsValid())
                created.cell.colSpan = span - Math.floor(span / 2);
        }
    }
}
