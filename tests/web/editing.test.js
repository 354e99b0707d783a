// Opening an image, editing its three grids, moving between cells and
// saving, as a person would.
import { expect, test } from './driver/index.js';
import { edited, offsetOf, patchFor, saved, syntheticImage } from './page.js';

test('the grids show every record by name and hand over exactly the edits; arrows, Enter and Tab move inside a record, focus stays in view, and the filter narrows every grid', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  for (const [title, rows] of [['武器', 88], ['防具', 64], ['魔法', 56]]) expect((await page.table(title)).rows).toHaveLength(rows);
  const { headings, rows } = await page.table('武器');
  expect([headings.slice(0, 4), rows[3][1]]).toEqual([['序号', '名称', '攻击附带魔法属性', '攻击命中率%'], 'Dragon飞龙爪']);

  const changes = [['weapon', 3, 1, 8, '武器', '7.5'], ['armour', 0, 8, 15, '防具', '&HF'], ['magic', 55, 2, 12, '魔法', ' １２ ']];
  for (const [, index, field, value, title, text] of changes) {
    const label = `${title} #${index} 字段 ${field}`;
    await page.setField(label, text);
    await expect.poll(() => page.value(label)).toBe(String(value));
    expect(await page.classes(label)).toContain('changed');
  }
  // At most three characters go in, and a refused value leaves the committed one, not the opened one.
  await page.setField('武器 #3 字段 1', '2567');
  await expect.poll(() => page.alert()).toBe('武器 #3 “Dragon飞龙爪” 字段 1“攻击附带魔法属性”：数值“256”超出 0 到 255 的范围。该字段仍为 8。');
  expect(await page.value('武器 #3 字段 1')).toBe('8');
  await expect.poll(() => page.shows('已修改 3 个字段')).toBe(true);
  expect((await saved(page)).equals(edited(original, ...changes))).toBe(true);

  // Arrows, Enter and Tab move between cells; a record's ends, the first and last rows, and a half-typed value stay put.
  for (const [from, key, to, typed] of [['武器 #3 字段 1', 'ArrowDown', '武器 #4 字段 1'], ['武器 #4 字段 1', 'ArrowRight', '武器 #4 字段 2'],
    ['武器 #4 字段 2', 'Tab', '武器 #4 字段 3'], ['武器 #4 字段 3', 'Enter', '武器 #5 字段 3'], ['武器 #5 字段 3', 'ArrowUp', '武器 #4 字段 3'],
    ['武器 #4 字段 3', 'ArrowLeft', '武器 #4 字段 2'], ['武器 #5 字段 8', 'ArrowRight'], ['武器 #5 字段 1', 'ArrowLeft'], ['武器 #0 字段 3', 'ArrowUp'],
    ['魔法 #55 字段 3', 'ArrowDown'], ['武器 #87 字段 4', 'ArrowDown'], ['防具 #2 字段 4', 'ArrowLeft', undefined, '12']]) {
    await page.focus(from);
    if (typed) await page.type(typed);
    await page.press(key);
    await expect.poll(() => page.focused(), `${key} on ${from}`).toBe(to ?? from);
  }
  await page.press('Escape');
  await page.focus('武器 #0 字段 1');
  for (const [key, times, name] of [['ArrowDown', 25, '武器 #25 字段 1'], ['Tab', 7, '武器 #25 字段 8']]) {
    for (let step = 0; step < times; ++step) await page.press(key);
    await expect.poll(() => page.focused()).toBe(name);
    await expect.poll(() => page.inView(name)).toBe(true);
  }

  const counts = async () => { const rows = []; for (const title of ['武器', '防具', '魔法']) rows.push((await page.table(title)).rows.length); return rows; };
  await page.setField('按名称筛选', '  ITHRI '); // any part of a name, in any case
  await expect.poll(counts).toEqual([3, 5, 0]);
  await page.focus('武器 #9 字段 1');
  await page.press('ArrowDown');
  await expect.poll(() => page.focused()).toBe('武器 #32 字段 1');
  await page.setField('武器 #32 字段 2', '3');
  await page.setField('按名称筛选', '陆行鸟');
  await expect.poll(counts).toEqual([0, 0, 1]);
  await page.focus('按名称筛选');
  await page.press('Control+a');
  await page.press('Backspace');
  await expect.poll(counts).toEqual([88, 64, 56]);
  expect(await page.value('武器 #32 字段 2')).toBe('3');
});

test('every field shows the image\'s byte after an opening, a patch that changes them all and an undo, typed in or not', async ({ page }) => {
  const tableOf = { 武器: 'weapon', 防具: 'armour', 魔法: 'magic' };
  // Each field's label and value against the byte of `image` it stands for: the fields that differ.
  const wrong = async (image) => (await page.evaluate(() => [...document.querySelectorAll('#grids input')]
    .map((input) => [input.getAttribute('aria-label'), input.value])))
    .filter(([label, value]) => {
      const [, title, index, field] = label.match(/^(\S+) #(\d+) 字段 (\d+)$/);
      return value !== String(image[offsetOf(tableOf[title], Number(index), Number(field))]);
    });
  const original = syntheticImage();
  await page.openImage(original);
  expect(await wrong(original)).toEqual([]);
  await page.evaluate(() => {
    window.selectionChanges = 0;
    document.addEventListener('selectionchange', () => { window.selectionChanges += 1; });
  });
  await page.setField('武器 #3 字段 1', '9');
  const typed = edited(original, ['weapon', 3, 1, 9]);
  const other = syntheticImage(2);
  await page.choose('应用补丁', 'all.bps', patchFor(typed, other));
  await expect.poll(() => page.status()).toContain('已应用补丁 all.bps');
  expect(await wrong(other)).toEqual([]);
  await page.click('撤销', 'button');
  await expect.poll(async () => (await wrong(typed)).length).toBe(0);
  // Only a field typed in has its value set: setting every one would queue an event per field.
  expect(await page.evaluate(() => window.selectionChanges)).toBeLessThan(100);
});

test('an opening fills the rows in view first, keeps the grids busy until every field shows its byte, and a field entered meanwhile shows its own at once', async ({ page }) => {
  const [first, second, third, fourth] = [1, 2, 3, 4].map((seed) => syntheticImage(seed));
  const far = ['magic', 40, 2, '魔法 #40 字段 2'];
  const byteOf = (image, [table, index, field]) => String(image[offsetOf(table, index, field)]);
  await page.open();
  await page.until(() => page.call('prepared'), 'the grids to be built');
  // Each time a part of the page becomes busy or stops: how many fields show a
  // value and a field far below the view; later, a person presses a key
  // (keyWhileBusy) wherever the focus is, as soon as the page is busy.
  await page.evaluate((farField) => {
    window.busyChanges = [];
    new MutationObserver((records) => {
      for (const { target } of records) {
        const busy = target.getAttribute('aria-busy');
        const change = { busy };
        if (busy && window.keyWhileBusy) {
          const from = document.activeElement;
          from.dispatchEvent(new KeyboardEvent('keydown', { key: window.keyWhileBusy, bubbles: true, cancelable: true }));
          change.focused = [from, document.activeElement].map((element) => element.getAttribute('aria-label'));
          change.entered = document.activeElement.value;
        }
        change.shown = [...target.querySelectorAll('input')].filter((input) => input.value !== '').length;
        change.far = document.querySelector(farField).value;
        window.busyChanges.push(change);
      }
    }).observe(document.body, { subtree: true, attributes: true, attributeFilter: ['aria-busy'] });
  }, await page.selector(far[3]));
  const changes = () => page.evaluate(() => window.busyChanges.splice(0));

  await page.openImage(first);
  const [filling, filled, ...more] = await changes();
  expect(more).toEqual([]);
  expect([filling.busy, filling.far, filled]).toEqual(['true', '', { busy: null, shown: 1664, far: byteOf(first, far) }]);
  expect(filling.shown).toBeGreaterThan(0);
  expect(filling.shown).toBeLessThan(1664);

  // The field that has focus keeps it through an opening, out of view too.
  await page.focus('防具 #30 字段 5');
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)))
    .then(() => window.scrollTo(0, 0)));
  expect(await page.inView('防具 #30 字段 5')).toBe(false);
  await page.drop('second.nes', second);
  await page.untilOpened('second.nes');
  await changes();
  expect([await page.focused(), await page.value('防具 #30 字段 5')]).toEqual(['防具 #30 字段 5', byteOf(second, ['armour', 30, 5])]);
  // Moved from it while the grids are busy, to a field out of view: that one shows the new image's byte.
  await page.evaluate(() => { window.keyWhileBusy = 'ArrowDown'; });
  await page.drop('third.nes', third);
  await page.untilOpened('third.nes');
  const [entering] = await changes();
  expect(entering).toEqual({ busy: 'true', focused: ['防具 #30 字段 5', '防具 #31 字段 5'], entered: byteOf(third, ['armour', 31, 5]), shown: 1664, far: byteOf(third, far) });
  await page.type('7');
  await page.press('Tab');
  await expect.poll(() => page.value('防具 #31 字段 5')).toBe('7');
  // A key pressed outside the grids (Tab towards them) finishes the opening too.
  await page.focus('按名称筛选');
  await page.evaluate(() => { window.keyWhileBusy = 'Tab'; });
  await page.answerConfirms(true); // the 7 is left unsaved
  await page.drop('fourth.nes', fourth);
  await page.untilOpened('fourth.nes');
  const [tabbing] = await changes();
  expect([tabbing.busy, tabbing.shown, tabbing.far]).toEqual(['true', 1664, byteOf(fourth, far)]);
});
