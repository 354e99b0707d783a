// Undo, redo and the list of changes, as a person uses them: the buttons, the
// keys and the list's own buttons, judged by the bytes 保存修改 hands over.
// Each step's bytes are the C++ history's (EditHistoryTest); here, the wiring.
import { expect, test } from './driver/index.js';
import { edited, offsetOf, patchFor, saved, syntheticImage, typicalSize } from './page.js';

const disabled = (page, name) => page.isDisabled(name, 'button');

test('undo and redo take edits, imports and patches back and forward byte-exactly, by buttons and keys', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  expect([await disabled(page, '撤销'), await disabled(page, '重做')]).toEqual([true, true]);
  const images = [original, edited(original, ['weapon', 3, 1, 8])];
  images.push(edited(images[1], ...[1, 2, 3, 4, 5, 6, 7, 8].map((field) => ['magic', 1, field, field])));
  images.push(Buffer.concat([images[2], Buffer.alloc(4, 0x5a)]).fill(0x11, 0, 16)); // outside the tables, and longer
  await page.setField('武器 #3 字段 1', '7.5');
  await page.choose('导入表格文件', 'spells.json', Buffer.from(JSON.stringify({
    format: 'varnel-rom-tables', version: 1, records: [{ table: 'magic', index: 1, fields: [1, 2, 3, 4, 5, 6, 7, 8] }] })));
  await expect.poll(() => page.status()).toContain('已修改 1 条记录中的 8 个字段');
  await page.choose('应用补丁', 'longer.bps', patchFor(images[2], images[3]));
  await expect.poll(() => page.status()).toContain(`镜像现在有 ${typicalSize + 4} 字节`);
  await page.focus('武器 #0 字段 1'); // a committed field: the keys are the page's
  await page.evaluate(() => window.scrollTo(0, 32) ?? true); // the toolbar half under the sticky top: still one click each
  for (const [action, k] of [['Control+z', 2], ['Control+y', 3], ['Control+z', 2], ['Control+Shift+z', 3], ['撤销', 2], ['撤销', 1], ['撤销', 0], ['Meta+y', 1]]) {
    if (action === '撤销') await page.click(action, 'button');
    else await page.press(action);
    expect((await saved(page)).equals(images[k]), `after ${action}`).toBe(true);
    expect((await page.classes('武器 #3 字段 1')).includes('changed'), `marked after ${action}`).toBe(k > 0);
    if (k === 0) expect(await disabled(page, '撤销')).toBe(true);
  }
  expect([await page.value('武器 #3 字段 1'), await disabled(page, '重做')]).toEqual(['8', false]);
});

test('text typed in a field and not yet committed keeps the browser\'s own undo, and so does the filter\'s', async ({ page, engine }) => {
  const original = syntheticImage();
  await page.openImage(original);
  await page.setField('武器 #0 字段 1', '5');
  await page.focus('武器 #1 字段 1');
  await page.type('77');
  await page.press('Control+z');
  // WebKitWebDriver's keys never reach the engine's own text undo; that the page leaves the key alone holds everywhere.
  if (engine !== 'webkit') await expect.poll(() => page.value('武器 #1 字段 1')).toBe(String(original[offsetOf('weapon', 1, 1)]));
  expect(await page.value('武器 #0 字段 1')).toBe('5');
  await page.focus('按名称筛选');
  await page.type('mithril');
  await page.press('Control+z');
  expect(await page.value('武器 #0 字段 1')).toBe('5');
});

test('the list of changes names every changed field in table order, goes to it and sets it back', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  const was = (table, index, field) => original[offsetOf(table, index, field)];
  await page.setField('魔法 #55 字段 3', '12');
  await page.setField('武器 #9 字段 1', '200');
  const fields = edited(original, ['magic', 55, 3, 12], ['weapon', 9, 1, 200]);
  await page.choose('应用补丁', 'head.bps', patchFor(fields, Buffer.concat([fields, Buffer.from([0x22, 0x22])]).fill(0x11, 0, 3)));
  await expect.poll(() => page.status()).toContain('已应用补丁 head.bps');

  expect(await page.count('修改列表', 'region')).toBe(1);
  await page.evaluate(() => document.querySelector('#changes-title').scrollIntoView() ?? true); // below the grids
  await page.engine.click('#changes-title'); // the list folds open
  const entries = () => page.texts('#change-list li');
  const listed = await entries();
  expect(listed[0]).toMatch(new RegExp(`^武器 #9 Mithril.* 攻击附带魔法属性：${was('weapon', 9, 1)} → 200还原$`));
  expect(listed.slice(1)).toEqual([`魔法 #55 Chocobo 陆行鸟 魔法威力：${was('magic', 55, 3)} → 12还原`,
    `表格以外有 ${[0, 1, 2].filter((at) => original[at] !== 0x11).length + 2} 个字节与打开时不同，文件长度 ${typicalSize} → ${typicalSize + 2} 字节。还原`]);

  // Choosing an entry shows the row the filter hid, and moves there.
  await page.setField('按名称筛选', 'chocobo');
  await page.click(`${listed[0].split('：')[0]}，打开时 ${was('weapon', 9, 1)}，现在 200`, 'button');
  await expect.poll(() => page.focused()).toBe('武器 #9 字段 1');
  expect(await page.value('按名称筛选')).toBe('');

  const fieldAndOutside = Buffer.concat([edited(original, ['weapon', 9, 1, 200]), Buffer.from([0x22, 0x22])]).fill(0x11, 0, 3);
  for (const [button, left, bytes] of [[`还原 ${listed[1].split('：')[0]}`, 2, fieldAndOutside], ['还原表格以外的字节', 1, edited(original, ['weapon', 9, 1, 200])],
    ['撤销', 2, fieldAndOutside], ['全部还原', 0, original]]) {
    await page.click(button, 'button');
    await expect.poll(async () => (await entries()).length, `after ${button}`).toBe(left);
    expect((await saved(page)).equals(bytes), `after ${button}`).toBe(true);
    if (left === 0) expect(await disabled(page, '全部还原')).toBe(true);
  }
});

test('past the history\'s limit the oldest steps go, and the page says so', async ({ page }) => {
  const size = 12 << 20;
  await page.openImage(syntheticImage(1, size), 'large.nes');
  for (const value of [0x11, 0x22, 0x33]) {
    await page.choose('应用补丁', `fill-${value}.bps`, patchFor(value === 0x11 ? syntheticImage(1, size) : Buffer.alloc(size, value - 0x11), Buffer.alloc(size, value)));
    await expect.poll(() => page.status()).toContain(`fill-${value}.bps`);
  }
  await expect.poll(() => page.shows('最早的几步已不能再撤销')).toBe(true);
  await page.click('撤销', 'button');
  expect(await disabled(page, '撤销')).toBe(true);
  expect((await saved(page)).equals(Buffer.alloc(size, 0x22))).toBe(true);
});
