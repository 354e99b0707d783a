// What the driver does inside the page, the same in every engine: finds
// controls by accessible name, reads what the page shows, and keeps what
// the page hands over, asks or opens (downloads, confirm dialogs, file
// pickers) instead of letting the browser show it. Installed once per
// document by the first call after a navigation; nothing here may refer to
// anything outside this function, since it is sent to the page as text.
export function installDriver() {
  if (window.varnelDriver) return;
  const normalize = (text) => text.replace(/\s+/g, ' ').trim();
  const implicit = {
    button: 'button, [role="button"]',
    textbox: 'input:not([type]), input[type="text"], input[type="search"], textarea, [role="textbox"]',
    table: 'table, [role="table"]',
    region: '[role="region"], section[aria-label], section[aria-labelledby]',
  };
  const nameOf = (element) => {
    if (element.hasAttribute('aria-label')) return normalize(element.getAttribute('aria-label'));
    if (element.hasAttribute('aria-labelledby')) {
      return normalize(element.getAttribute('aria-labelledby').split(/\s+/)
        .map((id) => document.getElementById(id)?.textContent ?? '').join(' '));
    }
    if (element.labels?.length) return normalize([...element.labels].map((label) => label.textContent).join(' '));
    if (element.matches('button, [role="button"], a')) return normalize(element.textContent);
    return '';
  };
  const all = (name, role) => {
    const selector = role ? (implicit[role] ?? `[role="${role}"]`) : 'input, button, select, textarea, a[href]';
    return [...document.querySelectorAll(selector)].filter((element) => nameOf(element) === name);
  };
  const one = (name, role) => {
    const found = all(name, role);
    const what = role ? `${role} “${name}”` : `“${name}”`;
    if (found.length !== 1) throw new Error(found.length === 0 ? `no ${what} on the page` : `${found.length} elements are ${what}`);
    return found[0];
  };
  const lines = (box) => {
    const parts = [...box.querySelectorAll('p, li')];
    return parts.length > 0 ? parts.map((part) => part.textContent).join('\n') : box.textContent;
  };
  const visible = (element) => element.getClientRects().length > 0 && getComputedStyle(element).visibility !== 'hidden';
  // Whether the element lies wholly inside the window and inside every box that scrolls it.
  const inView = (element) => {
    const box = element.getBoundingClientRect();
    const inside = (outer) => box.top >= outer.top - 1 && box.bottom <= outer.bottom + 1 && box.left >= outer.left - 1 && box.right <= outer.right + 1;
    if (!inside({ top: 0, left: 0, bottom: innerHeight, right: innerWidth })) return false;
    for (let outer = element.parentElement; outer; outer = outer.parentElement) {
      const style = getComputedStyle(outer);
      if (/(auto|scroll|hidden)/.test(style.overflowX + style.overflowY) && outer !== document.body && outer !== document.documentElement) {
        const rect = outer.getBoundingClientRect();
        if (!inside({ top: rect.top + outer.clientTop, left: rect.left + outer.clientLeft,
          bottom: rect.top + outer.clientTop + outer.clientHeight, right: rect.left + outer.clientLeft + outer.clientWidth })) return false;
      }
    }
    return true;
  };
  const handedOver = [];
  const blobs = new Map();
  const confirms = { answers: [], questions: [] };
  const pickers = [];
  let tagged = 0;

  const createObjectURL = URL.createObjectURL;
  URL.createObjectURL = (object) => {
    const url = createObjectURL.call(URL, object);
    blobs.set(url, object);
    return url;
  };
  document.addEventListener('click', (event) => {
    const target = event.target;
    if (target instanceof HTMLAnchorElement && target.hasAttribute('download')) {
      // The file stays in the page, whole, instead of going to a downloads folder.
      event.preventDefault();
      handedOver.push({ name: target.download, blob: blobs.get(target.href) });
    } else if (target instanceof HTMLInputElement && target.type === 'file') {
      // A native file picker would wait for a person; the driver chooses files itself.
      event.preventDefault();
      pickers.push(nameOf(target));
    }
  }, true);
  window.confirm = (question) => {
    confirms.questions.push(question);
    return confirms.answers.shift() ?? false;
  };

  window.varnelDriver = {
    usable: () => performance.getEntriesByName('varnel-usable').length > 0,
    ready: () => performance.getEntriesByName('varnel-ready').length > 0,
    prepared: () => performance.getEntriesByName('varnel-prepared').length > 0,
    busy: () => document.querySelector('[aria-busy="true"]') !== null,
    tag(name, role) {
      const element = one(name, role);
      if (!element.dataset.driver) element.dataset.driver = String(++tagged);
      return `[data-driver="${element.dataset.driver}"]`;
    },
    // Only those a screen reader is shown: none in a hidden part of the page.
    count: (name, role) => all(name, role).filter(visible).length,
    focus: (name) => one(name).focus(),
    value: (name) => one(name).value,
    classes: (name) => [...one(name).classList],
    disabled: (name, role) => one(name, role).disabled,
    focused: () => (document.activeElement && document.activeElement !== document.body ? nameOf(document.activeElement) : null),
    message: (role) => lines(document.querySelector(`[role="${role}"]`)),
    parts(role) {
      const box = document.querySelector(`[role="${role}"]`);
      return { paragraphs: [...box.querySelectorAll('p')].map((p) => p.textContent), items: [...box.querySelectorAll('li')].map((li) => li.textContent) };
    },
    table(name) {
      const table = one(name, 'table');
      const rows = [...table.querySelectorAll('[role="row"], tr')].filter((row) => !row.closest('[hidden]'));
      const cells = (row) => [...row.querySelectorAll('[role="columnheader"], [role="rowheader"], [role="cell"], th, td')].map((cell) => normalize(cell.textContent));
      return { headings: cells(rows[0]), rows: rows.slice(1).map(cells) };
    },
    texts: (selector) => [...document.querySelectorAll(selector)].map((element) => element.textContent),
    shows: (text) => [...document.body.querySelectorAll('*')].some((element) =>
      [...element.childNodes].some((node) => node.nodeType === Node.TEXT_NODE && normalize(node.textContent).includes(text)) && visible(element)),
    inView: (name) => inView(one(name)),
    // Scrolls every box around the element, innermost first, to bring it inside
    // them all; true once it is there and a click at its middle reaches it. Rows
    // out of view are painted only when shown, so the driver asks again until then.
    async reveal(selector) {
      const element = document.querySelector(selector);
      await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
      const box = element.getBoundingClientRect();
      const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
      if (inView(element) && (hit === element || element.contains(hit))) return true;
      for (let outer = element.parentElement; outer; outer = outer.parentElement) {
        if (outer.scrollHeight <= outer.clientHeight && outer.scrollWidth <= outer.clientWidth) continue;
        const box = element.getBoundingClientRect();
        const rect = outer === document.documentElement ? { top: 0, left: 0 } : outer.getBoundingClientRect();
        outer.scrollTop += box.top - rect.top - outer.clientHeight / 2 + box.height / 2;
        outer.scrollLeft += box.left - rect.left - outer.clientWidth / 2 + box.width / 2;
      }
      return false;
    },
    answerConfirms(answers) { confirms.answers.push(...answers); },
    questions: () => confirms.questions,
    pickers: () => pickers,
    handedOverCount: () => handedOver.length,
    async handedOver(index) {
      const { name, blob } = handedOver[index];
      const bytes = blob ? new Uint8Array(await blob.arrayBuffer()) : null;
      let binary = '';
      for (let i = 0; bytes && i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
      return { name, base64: bytes ? btoa(binary) : null };
    },
    drop(name, base64) {
      const transfer = new DataTransfer();
      transfer.items.add(new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], name));
      document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
    },
    resources: () => performance.getEntriesByType('resource').map((entry) => entry.name),
  };
}
