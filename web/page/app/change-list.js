// The 修改列表: every field that differs from the image as opened, in table
// order, with its byte as opened and now, and one line for the bytes outside
// the tables. Choosing an entry goes to its field, showing its row again if
// the filter hid it; each 还原 and 全部还原 is one step of the history.
import { showAlert } from './messages.js';

function button(text, label, action) {
  const made = Object.assign(document.createElement('button'), { type: 'button', textContent: text });
  if (label) made.setAttribute('aria-label', label);
  made.addEventListener('click', action);
  return made;
}

export class ChangeList {
  // `afterRevert()` shows the image after a 还原.
  constructor(session, grids, { list, revertAll, filter, afterRevert }) {
    Object.assign(this, { session, grids, list, filter, afterRevert });
    this.revertAllButton = revertAll;
    revertAll.addEventListener('click', () => this.revert(() => session.revertAll()));
  }

  show() {
    const listed = this.session.changeList();
    if (!listed.ok) return showAlert(listed.message);
    const entries = listed.fields.map(({ position, opened, now }) => {
      const { table, index, field } = this.grids.cells[position];
      const place = `${table.title} #${index} ${table.names[index]} ${table.captions[field - 1]}`;
      const item = document.createElement('li');
      item.append(
        button(`${place}：${opened} → ${now}`, `${place}，打开时 ${opened}，现在 ${now}`, () => this.reveal(position)),
        button('还原', `还原 ${place}`, () => this.revert(() => this.session.revertField(table.kind, index, field), item)),
      );
      return item;
    });
    if (listed.outside) {
      const item = Object.assign(document.createElement('li'), { className: 'outside' });
      item.append(Object.assign(document.createElement('span'), { textContent: listed.outside }),
        button('还原', '还原表格以外的字节', () => this.revert(() => this.session.revertOutsideTables(), item)));
      entries.push(item);
    }
    this.list.replaceChildren(...entries);
    this.revertAllButton.disabled = entries.length === 0;
  }

  // Focus on the field, clearing a filter that hides its row.
  reveal(position) {
    const { input, row } = this.grids.cells[position];
    if (this.grids.rows[row].row.hidden) {
      this.filter.value = '';
      this.grids.filter('');
    }
    input.focus();
  }

  // The focus stays in the list: on the entry that took the place of the
  // one set back, or on the list's title once it is empty.
  revert(call, item) {
    const at = Math.max(0, [...this.list.children].indexOf(item));
    const result = call();
    if (!result.ok) return showAlert(result.message);
    const shown = this.afterRevert();
    const next = this.list.children[Math.min(at, this.list.children.length - 1)];
    (next?.querySelector('button') ?? this.list.closest('details').querySelector('summary')).focus();
    return shown;
  }
}
