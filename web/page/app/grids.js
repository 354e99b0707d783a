// The three tables as grids: one row per record in index order, eight field
// inputs per row, built once from the C++ code's titles, captions and names.
// Cells are numbered in the C++ code's order of fields(): record after record,
// table after table, as many fields each as the C++ code says.
import { reveal } from './reveal.js';
import { typeOver } from './typing.js';

function element(name, properties = {}, children = []) {
  const made = Object.assign(document.createElement(name), properties);
  made.append(...children);
  return made;
}

export class Grids {
  // `commit(cell, text)` writes a field and returns the byte it holds now.
  constructor(container, tables, commit) {
    this.cells = [];    // {input, table, index, field}
    this.rows = [];     // {row, name, table}
    this.boxes = [];    // {box, first, end}: a grid's box and its rows' numbers
    this.values = null; // the bytes the cells show
    this.marked = new Set(); // the positions of the cells marked as changed
    this.commit = commit;
    this.container = container;
    this.unbuilt = [...tables];
    container.addEventListener('change', (event) => this.edited(event.target));
    // Whatever a person does, in the grids or on their way there (Tab skips a
    // skipped row), meets every field showing its byte.
    for (const type of ['focusin', 'keydown', 'pointerdown', 'beforeinput']) document.addEventListener(type, () => this.finishShowing(), true);
    this.replacing = typeOver(container);
    // Again in the next frame: an engine may scroll by its own rules after focusing.
    container.addEventListener('focusin', ({ target }) => {
      if (!target.dataset.cell) return;
      reveal(target);
      requestAnimationFrame(() => { if (document.activeElement === target) reveal(target); });
    });
    container.addEventListener('keydown', (event) => this.key(event));
  }

  // Builds the grids a table at a time between other work, so that the page
  // answers from its first moment; whatever is left is built when needed.
  async buildInBackground() {
    while (this.buildNext()) await new Promise((resolve) => setTimeout(resolve));
  }

  buildAll() {
    while (this.buildNext());
  }

  // Builds the next table not yet built; false when none is left.
  buildNext() {
    if (!this.unbuilt.length) return false;
    this.container.append(this.build(this.unbuilt.shift()));
    return true;
  }

  // A table of ARIA rows laid out as CSS grids rather than an HTML table:
  // a row that is out of view is then neither laid out nor painted, which
  // makes opening an image several times faster.
  build(table) {
    const titleId = `table-${table.key}`;
    const cell = (role, properties = {}, children = []) => {
      const made = element('div', properties, children);
      made.setAttribute('role', role);
      return made;
    };
    const head = cell('row', { className: 'row head' }, [
      cell('columnheader', { textContent: '序号' }),
      cell('columnheader', { textContent: '名称' }),
      ...table.captions.map((caption) => cell('columnheader', { textContent: caption })),
    ]);
    const body = cell('rowgroup');
    const first = this.rows.length;
    // Every record's row is a copy of one: cloning is several times cheaper
    // than making each element, and the page is usable only after all rows.
    const field = () => element('input', { type: 'text', maxLength: 3, autocomplete: 'off', spellcheck: false });
    const template = cell('row', { className: 'row' }, [cell('rowheader'), cell('cell'),
      ...Array.from({ length: table.fieldsPerRecord }, () => cell('cell', {}, [field()]))]);
    table.names.forEach((name, index) => {
      const row = template.cloneNode(true);
      const [number, named, ...fields] = row.children;
      number.textContent = String(index);
      named.textContent = name;
      fields.forEach(({ firstChild: input }, offset) => {
        input.setAttribute('aria-label', `${table.title} #${index} 字段 ${offset + 1}`);
        input.dataset.cell = String(this.cells.length);
        this.cells.push({ input, table, index, field: offset + 1, row: this.rows.length });
      });
      this.rows.push({ row, name: name.toLowerCase(), table });
      body.append(row);
    });
    const grid = cell('table', {}, [cell('rowgroup', { className: 'heading' }, [head]), body]);
    grid.setAttribute('aria-labelledby', titleId);
    const box = element('div', { className: 'grid', tabIndex: -1 }, [element('h2', { id: titleId, textContent: table.title }), grid]);
    box.setAttribute('role', 'region');
    box.setAttribute('aria-labelledby', titleId);
    this.boxes.push({ box, first, end: this.rows.length });
    return box;
  }

  // Shows every byte of the image now.
  show(values) {
    this.buildAll();
    this.values = values;
    this.fill(() => true);
    for (const { row } of this.rows) row.classList.remove('later');
    this.container.removeAttribute('aria-busy');
  }

  // Shows the bytes in the rows in view now and in the others once those are
  // painted, so that an opening lays out and paints a few rows rather than
  // every row the browser would lay out near the view: until then the others
  // are skipped (`later`), but for the one that has focus. The grids are busy
  // (aria-busy) until every field shows its byte.
  showInViewFirst(values) {
    this.buildAll();
    this.values = values;
    const inView = this.rowsInView();
    this.fill(({ row }) => inView.has(row));
    this.rows.forEach(({ row }, number) => {
      if (!inView.has(number) && !row.contains(document.activeElement)) row.classList.add('later');
    });
    this.container.setAttribute('aria-busy', 'true');
    requestAnimationFrame(() => setTimeout(() => this.finishShowing()));
  }

  finishShowing() {
    if (this.container.hasAttribute('aria-busy')) this.show(this.values);
  }

  // Fills the wanted cells. A field nobody has typed in takes its byte as its
  // default value: setting `value` would queue a selectionchange event per
  // field, 1,664 tasks after every opening, patch and undo.
  fill(wanted) {
    this.cells.forEach((cell, position) => {
      const text = String(this.values[position]);
      const { input } = cell;
      if (!wanted(cell) || input.value === text) return;
      input.defaultValue = text;
      if (input.value !== text) input.value = text;
    });
  }

  // The numbers of the rows inside the window and their grid's box. A box
  // out of the window is not looked into: that would lay out its rows.
  rowsInView() {
    const inView = new Set();
    for (const { box, first, end } of this.boxes) {
      const { top, bottom } = box.getBoundingClientRect();
      const from = Math.max(top, 0);
      const to = Math.min(bottom, window.innerHeight);
      for (let number = first; number < end && from < to; ++number) {
        const row = this.rows[number].row.getBoundingClientRect();
        if (row.top >= to) break;
        if (row.bottom > from) inView.add(number);
      }
    }
    return inView;
  }

  // Marks exactly the cells at `positions`: those that differ from the image
  // as opened. Only cells marked before or now are looked at, not all 1,664.
  mark(positions) {
    const marked = new Set(positions);
    for (const position of new Set([...this.marked, ...marked])) {
      const { input } = this.cells[position];
      const changed = marked.has(position);
      if (input.classList.contains('changed') === changed) continue;
      input.classList.toggle('changed', changed);
      if (changed) input.setAttribute('aria-describedby', 'changed-note');
      else input.removeAttribute('aria-describedby');
    }
    this.marked = marked;
  }

  // Keeps the rows whose name contains `text`, in any letter case.
  filter(text) {
    const wanted = text.trim().toLowerCase();
    for (const { row, name } of this.rows) row.hidden = !name.includes(wanted);
  }

  edited(input) {
    const position = Number(input.dataset.cell);
    if (Number.isNaN(position) || input.value === String(this.values[position])) return;
    const value = this.commit(this.cells[position], input.value);
    this.values[position] = value;
    input.value = String(value);
  }

  // Arrow keys and Enter move as in a spreadsheet; Tab is the browser's own.
  key(event) {
    const input = event.target;
    const position = Number(input.dataset.cell);
    if (Number.isNaN(position) || event.altKey || event.ctrlKey || event.metaKey) return;
    const { field, table: { fieldsPerRecord } } = this.cells[position];
    const atStart = input.selectionStart === 0 && input.selectionEnd === 0;
    const atEnd = input.selectionStart === input.value.length;
    // A field just entered moves as a whole, wherever the engine left the caret.
    const allSelected = this.replacing(input) || (input.selectionStart === 0 && input.selectionEnd === input.value.length);
    let target = null;
    if (event.key === 'ArrowUp' || (event.key === 'Enter' && event.shiftKey)) target = this.vertical(position, -1);
    else if (event.key === 'ArrowDown' || event.key === 'Enter') target = this.vertical(position, 1);
    else if (event.key === 'ArrowLeft' && (atStart || allSelected)) target = field > 1 ? position - 1 : null;
    else if (event.key === 'ArrowRight' && (atEnd || allSelected)) target = field < fieldsPerRecord ? position + 1 : null;
    else if (event.key === 'Escape') input.value = String(this.values[position]);
    else return;
    event.preventDefault();
    if (event.key === 'Enter') this.edited(input);
    const next = this.cells[target];
    if (next && next.table === this.cells[position].table && !this.rows[next.row].row.hidden) next.input.focus();
  }

  // The same field in the nearest shown row above (-1) or below (1), or null.
  vertical(position, step) {
    const { fieldsPerRecord } = this.cells[position].table;
    let next = position + step * fieldsPerRecord;
    while (this.cells[next] && this.rows[this.cells[next].row].row.hidden) next += step * fieldsPerRecord;
    return this.cells[next] ? next : null;
  }
}
