// The browser tests' driver: one suite of user flows, run in Chromium,
// Firefox ESR and WebKit. A test reads as a person's actions and waits for
// what the page says, never for a time.
//
//   import { test, expect } from './driver/index.js';
//   test('…', async ({ page, engine }) => { … });    // engine: 'chromium' | 'firefox' | 'webkit'
//   test.use({ device: 'phone' });  // 360 × 640 with touch; skipped in an engine that cannot (WebKit here)
//
// Controls are named by their accessible name (aria-label, <label>, a button's
// text); `role` picks among elements of the same name ('button', 'table', 'region').
//   await page.open();                       // navigate, wait until the page is ready (or open(url, 'usable'))
//   await page.reload();                     // likewise
//   await page.openImage(bytes, 'game.nes'); // choose in 打开文件, wait for “已打开 game.nes” and every field shown
//   await page.untilOpened('game.nes');      // that wait alone, after an image chosen or dropped otherwise
//   await page.choose('应用补丁', 'p.bps', bytes);  // a file in a file input
//   await page.drop('second.nes', bytes);    // a file dropped on the page
//   await page.click('保存修改'); page.tap(name); page.focus(name);
//   await page.type('7.5'); await page.press('Tab');  // keys: 'Enter', 'ArrowDown', 'Shift+Tab', 'Escape'…
//   await page.setField('武器 #3 字段 1', '7.5');   // focus, select its text, type, Tab
//   const { name, bytes } = await page.handedOver('保存修改');     // or handedOver(() => page.press('Enter'))
//   await page.answerConfirms(false, true);  // the next confirm dialogs; page.questions() lists those asked
//   page.pickersOpened()                     // file inputs whose picker the page opened (kept closed)
// Reading (each a promise; wait with expect.poll):
//   page.value(name) page.classes(name) page.isDisabled(name, role) page.focused() (the focused control's name)
//   page.inView(name) (inside the window and every box that scrolls it)  page.alert() page.status() (text,
//   one line per paragraph or item)  page.messageParts('status') ({paragraphs, items})  page.table(name)
//   ({headings, rows} of the rows shown)  page.count(name, role)  page.texts(css)  page.shows(text) (visible)
//   page.resources() (every URL the document fetched)  page.evaluate(fn, ...args)  page.until(check, what)
//   page.selector(name, role) (a CSS selector for it, to hand to evaluate)
//   page.setViewport(width, height)
//   await expect.poll(() => page.value('武器 #3 字段 1')).toBe('8');
// Engine-only extras sit on page.engine (e.g. Chromium's installabilityErrors()).
export { test, expect } from './fixtures.js';
