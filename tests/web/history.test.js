// Undo, redo and the list of changes, as a person uses them: the buttons, the
// keys and the list's own buttons, judged by the bytes 保存修改 hands over.
import { expect, test } from './driver/index.js';
import { offsetOf, syntheticImage, typicalSize } from './page.js';

// An IPS patch of runs: [offset, length, value] each, cut into runs of 65535 bytes.
function ipsRuns(runs) {
  const parts = [Buffer.from('PATCH')];
  for (const [offset, length, value] of runs) {
    for (let done = 0; done < length; done += 0xffff) {
      const size = Math.min(0xffff, length - done);
      const at = offset + done;
      parts.push(Buffer.from([at >> 16, (at >> 8) & 0xff, at & 0xff, 0, 0, size >> 8, size & 0xff, value]));
    }
  }
  parts.push(Buffer.from('EOF'));
  return Buffer.concat(parts);
}

const saved = async (page) => (await page.handedOver('保存修改')).bytes;
const disabled = (page, name) => page.isDisabled(name, 'button');

test('undo and redo take edits, imports and patches back and forward byte-exactly, by buttons and keys', async ({ page, engine }) => {
  test.fixme(engine === 'webkit', 'in WebKit the save after an undo is never handed over: not yet understood');
  const original = syntheticImage();
  await page.openImage(original);
  expect(await disabled(page, '撤销')).toBe(true);
  expect(await disabled(page, '重做')).toBe(true);

  const images = [original];
  const edited = Buffer.from(original);
  edited[offsetOf('weapon', 3, 1)] = 8;
  await page.setField('武器 #3 字段 1', '7.5');
  await expect.poll(() => page.value('武器 #3 字段 1')).toBe('8');
  images.push(edited);

  const imported = Buffer.from(edited);
  for (let field = 1; field <= 8; ++field) imported[offsetOf('magic', 1, field)] = field;
  await page.choose('导入表格文件', 'spells.json', Buffer.from(JSON.stringify({
    format: 'varnel-rom-tables', version: 1, records: [{ table: 'magic', index: 1, fields: [1, 2, 3, 4, 5, 6, 7, 8] }],
  })));
  await expect.poll(() => page.status()).toContain('已修改 1 条记录中的 8 个字段');
  images.push(imported);

  // Bytes outside the tables, and four more at the end.
  const patched = Buffer.concat([imported, Buffer.alloc(4, 0x5a)]);
  patched.fill(0x11, 0, 16);
  await page.choose('应用补丁', 'longer.ips', ipsRuns([[0, 16, 0x11], [typicalSize, 4, 0x5a]]));
  await expect.poll(() => page.status()).toContain(`镜像现在有 ${typicalSize + 4} 字节`);
  images.push(patched);
  expect((await saved(page)).equals(patched)).toBe(true);

  for (let k = images.length - 2; k >= 0; --k) {
    await page.click('撤销', 'button');
    expect((await saved(page)).equals(images[k])).toBe(true);
  }
  expect(await disabled(page, '撤销')).toBe(true);
  await expect.poll(() => page.shows('已修改 0 个字段')).toBe(true);

  // Focus on a committed field: the keys are the page's.
  await page.focus('武器 #0 字段 1');
  for (const [key, k] of [['Control+y', 1], ['Control+Shift+z', 2], ['Meta+y', 3], ['Control+z', 2]]) {
    await page.press(key);
    expect((await saved(page)).equals(images[k]), `after ${key}`).toBe(true);
  }
  expect(await page.value('武器 #3 字段 1')).toBe('8');
  expect(await disabled(page, '重做')).toBe(false);

  // A new change drops the step that could be redone.
  await page.setField('防具 #0 字段 1', String(original[offsetOf('armour', 0, 1)] ^ 1));
  await expect.poll(() => disabled(page, '重做')).toBe(true);
  for (let k = 0; k < 3; ++k) await page.click('撤销', 'button');
  expect(await disabled(page, '撤销')).toBe(true);
  expect((await saved(page)).equals(original)).toBe(true);
  // Back at the image saved (here: as opened) nothing is unsaved: another image opens without a question.
  await page.setField('武器 #0 字段 1', String(original[offsetOf('weapon', 0, 1)] ^ 1));
  await page.click('撤销', 'button');
  await page.openImage(syntheticImage(2), 'second.nes');
  expect(await disabled(page, '撤销')).toBe(true);
  // Nor after a save.
  await page.setField('武器 #0 字段 1', '0');
  await saved(page);
  await page.openImage(original, 'third.nes');
  expect(await page.questions()).toEqual([]);
});

test('text typed in a field and not yet committed keeps the browser\'s own undo', async ({ page, engine }) => {
  test.fixme(engine === 'webkit', 'WebKitWebDriver\'s Control+Z does not reach the field\'s own undo: not yet understood');
  const original = syntheticImage();
  await page.openImage(original);
  await page.setField('武器 #0 字段 1', '5');
  await page.focus('武器 #1 字段 1');
  await page.type('77');
  await page.press('Control+z');
  await expect.poll(() => page.value('武器 #1 字段 1')).toBe(String(original[offsetOf('weapon', 1, 1)]));
  expect(await page.value('武器 #0 字段 1')).toBe('5');
  // The filter's text is the browser's too.
  await page.focus('按名称筛选');
  await page.type('mithril');
  await page.press('Control+z');
  expect(await page.value('武器 #0 字段 1')).toBe('5');
  await page.focus('武器 #1 字段 1');
  await page.press('Control+z');
  await expect.poll(() => page.value('武器 #0 字段 1')).toBe(String(original[offsetOf('weapon', 0, 1)]));
});

test('the list of changes names every changed field in table order, goes to it and sets it back', async ({ page, engine }) => {
  test.fixme(engine === 'webkit', 'WebKitWebDriver refuses the click on a list entry (move target out of bounds)');
  const original = syntheticImage();
  await page.openImage(original);
  const was = (table, index, field) => original[offsetOf(table, index, field)];
  await page.setField('魔法 #55 字段 3', '12');
  await page.setField('武器 #9 字段 1', '200');
  await page.choose('应用补丁', 'head.ips', ipsRuns([[0, 3, 0x11], [typicalSize, 2, 0x22]]));
  await expect.poll(() => page.status()).toContain('已应用补丁 head.ips');

  expect(await page.count('修改列表', 'region')).toBe(1);
  await page.engine.click('#changes-title'); // the list folds open
  const entries = () => page.texts('#change-list li');
  const outside = [0, 1, 2].filter((at) => original[at] !== 0x11).length + 2;
  const listed = await entries();
  expect(listed).toHaveLength(3);
  expect(listed[0]).toMatch(new RegExp(`^武器 #9 Mithril.* 攻击附带魔法属性：${was('weapon', 9, 1)} → 200还原$`));
  expect(listed.slice(1)).toEqual([
    `魔法 #55 Chocobo 陆行鸟 魔法威力：${was('magic', 55, 3)} → 12还原`,
    `表格以外有 ${outside} 个字节与打开时不同，文件长度 ${typicalSize} → ${typicalSize + 2} 字节。还原`,
  ]);
  const place = (entry) => entry.slice(0, entry.indexOf('：'));

  // Choosing an entry shows the row the filter hid, and moves there.
  await page.focus('按名称筛选');
  await page.type('chocobo');
  await page.click(`${place(listed[0])}，打开时 ${was('weapon', 9, 1)}，现在 200`, 'button');
  await expect.poll(() => page.focused()).toBe('武器 #9 字段 1');
  expect(await page.value('按名称筛选')).toBe('');

  const expected = Buffer.concat([original, Buffer.from([0x22, 0x22])]);
  expected.fill(0x11, 0, 3);
  expected[offsetOf('weapon', 9, 1)] = 200;
  await page.click(`还原 ${place(listed[1])}`, 'button');
  await expect.poll(async () => (await entries()).length).toBe(2);
  expect((await saved(page)).equals(expected)).toBe(true);
  await page.click('还原表格以外的字节', 'button');
  await expect.poll(async () => (await entries()).length).toBe(1);
  const fieldOnly = Buffer.from(original);
  fieldOnly[offsetOf('weapon', 9, 1)] = 200;
  expect((await saved(page)).equals(fieldOnly)).toBe(true);

  await page.click('撤销', 'button');
  await expect.poll(async () => (await entries()).length).toBe(2);
  expect((await saved(page)).equals(expected)).toBe(true);
  await page.click('全部还原', 'button');
  await expect.poll(async () => (await entries()).length).toBe(0);
  expect(await disabled(page, '全部还原')).toBe(true);
  expect((await saved(page)).equals(original)).toBe(true);
  await page.click('撤销', 'button');
  expect((await saved(page)).equals(expected)).toBe(true);
});

test('past the history\'s limit the oldest steps go, and the page says so', async ({ page }) => {
  test.setTimeout(90_000); // three images' worth of 12 MiB each
  const size = 12 << 20;
  await page.openImage(syntheticImage(1, size), 'large.nes');
  for (const value of [0x11, 0x22, 0x33]) {
    await page.choose('应用补丁', `fill-${value}.ips`, ipsRuns([[0, size, value]]));
    await expect.poll(() => page.status()).toContain(`fill-${value}.ips`);
  }
  await expect.poll(() => page.shows('最早的几步已不能再撤销')).toBe(true);
  await page.click('撤销', 'button');
  expect(await disabled(page, '撤销')).toBe(true);
  expect((await saved(page)).equals(Buffer.alloc(size, 0x22))).toBe(true);
});
