// Opening an image, editing its three grids and saving it, as a person would.
import { expect, test } from './driver/index.js';
import { offsetOf, syntheticImage, tablesEnd } from './page.js';

test('an image too short for the tables is refused and nothing is shown as open', async ({ page }) => {
  await page.open();
  await page.choose('打开文件', 'short.nes', syntheticImage(1, tablesEnd - 1));
  await expect.poll(() => page.alert()).toContain('打开文件 short.nes 失败：文件太短');
  expect(await page.count('武器', 'table')).toBe(0);
  expect(await page.isDisabled('保存修改')).toBe(true);
});

test('the grids show every record by name, and a save hands over exactly the edits', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  for (const [title, rows] of [['武器', 88], ['防具', 64], ['魔法', 56]]) {
    expect((await page.table(title)).rows).toHaveLength(rows);
  }
  const weapons = await page.table('武器');
  expect(weapons.headings.slice(0, 4)).toEqual(['序号', '名称', '攻击附带魔法属性', '攻击命中率%']);
  expect(weapons.rows[3]).toContain('Dragon飞龙爪');
  expect(await page.value('武器 #3 字段 1')).toBe(String(original[offsetOf('weapon', 3, 1)]));

  const expected = Buffer.from(original);
  for (const [label, text, table, index, field, value] of [
    ['武器 #3 字段 1', '7.5', 'weapon', 3, 1, 8],
    ['防具 #0 字段 8', '&HF', 'armour', 0, 8, 15],
    ['魔法 #55 字段 2', ' １２ ', 'magic', 55, 2, 12],
  ]) {
    await page.setField(label, text);
    await expect.poll(() => page.value(label)).toBe(String(value));
    expect(await page.classes(label)).toContain('changed');
    expected[offsetOf(table, index, field)] = value;
  }
  await page.setField('魔法 #55 字段 3', '300');
  const kept = String(original[offsetOf('magic', 55, 3)]);
  await expect.poll(() => page.alert()).toBe(`魔法 #55 “Chocobo 陆行鸟” 字段 3“魔法威力”：数值“300”超出 0 到 255 的范围。该字段仍为 ${kept}。`);
  expect(await page.value('魔法 #55 字段 3')).toBe(kept);
  await expect.poll(() => page.shows('已修改 3 个字段')).toBe(true);

  const saved = await page.handedOver('保存修改');
  expect(saved.name).toBe('game.nes');
  expect(saved.bytes.equals(expected)).toBe(true);
});

test('arrow keys, Enter and Tab move between cells, and the filter narrows every grid by name', async ({ page }) => {
  await page.openImage(syntheticImage());
  await page.focus('武器 #3 字段 1');
  for (const [key, label] of [['ArrowDown', '武器 #4 字段 1'], ['ArrowRight', '武器 #4 字段 2'], ['Tab', '武器 #4 字段 3'],
    ['Enter', '武器 #5 字段 3'], ['ArrowUp', '武器 #4 字段 3'], ['ArrowLeft', '武器 #4 字段 2']]) {
    await page.press(key);
    await expect.poll(() => page.focused()).toBe(label);
  }
  await page.type('77');
  await page.press('Escape');
  expect(await page.value('武器 #4 字段 2')).not.toBe('77');
  // Sideways, a record ends at its last field.
  await page.focus('武器 #4 字段 8');
  await page.press('ArrowRight');
  expect(await page.focused()).toBe('武器 #4 字段 8');
  // Enter in the last row stays there, and takes the value as typed.
  await page.focus('武器 #87 字段 2');
  await page.type('7.5');
  await page.press('Enter');
  await expect.poll(() => page.value('武器 #87 字段 2')).toBe('8');
  expect(await page.focused()).toBe('武器 #87 字段 2');

  await page.click('按名称筛选');
  await page.type('mithril');
  await expect.poll(async () => (await page.table('武器')).rows.length).toBe(3);
  expect((await page.table('防具')).rows).toHaveLength(5);
  expect((await page.table('魔法')).rows).toHaveLength(0);
  await page.focus('武器 #9 字段 1');
  await page.press('ArrowDown');
  await expect.poll(() => page.focused()).toBe('武器 #32 字段 1');
});

test('a field clicked with the mouse takes what is typed instead of what it showed', async ({ page }) => {
  await page.openImage(syntheticImage());
  await page.click('武器 #3 字段 1');
  await page.type('7.5');
  await page.press('Tab');
  await expect.poll(() => page.value('武器 #3 字段 1')).toBe('8');
  expect(await page.focused()).toBe('武器 #3 字段 2');
});

test('the field that has focus stays in view inside its grid, by arrow keys and by Tab', async ({ page }) => {
  await page.openImage(syntheticImage());
  await page.focus('武器 #0 字段 1');
  for (let step = 0; step < 25; ++step) await page.press('ArrowDown');
  await expect.poll(() => page.focused()).toBe('武器 #25 字段 1');
  await expect.poll(() => page.inView('武器 #25 字段 1')).toBe(true);
  for (let step = 0; step < 7; ++step) await page.press('Tab');
  await expect.poll(() => page.focused()).toBe('武器 #25 字段 8');
  await expect.poll(() => page.inView('武器 #25 字段 8')).toBe(true);
});

test('another image replaces unsaved changes only after a confirmation, by input or by drop', async ({ page }) => {
  await page.openImage(syntheticImage());
  await page.setField('武器 #0 字段 1', '1');
  await page.answerConfirms(false, true);
  await page.choose('打开文件', 'second.nes', syntheticImage(2));
  await expect.poll(() => page.questions()).toHaveLength(1);
  expect(await page.shows('镜像：game.nes')).toBe(true);

  await page.drop('second.nes', syntheticImage(2));
  await expect.poll(() => page.shows('镜像：second.nes')).toBe(true);
  expect(await page.shows('已修改 0 个字段')).toBe(true);
  expect(await page.questions()).toEqual(Array(2).fill('game.nes 有未保存的修改。仍要打开 second.nes 吗？'));
});

test.describe('on a phone', () => {
  test.use({ device: 'phone' });

  test('a tapped field takes what is typed instead of what it showed', async ({ page }) => {
    await page.openImage(syntheticImage());
    await page.tap('防具 #2 字段 3');
    await expect.poll(() => page.focused()).toBe('防具 #2 字段 3');
    await page.type('7.5');
    await page.press('Tab');
    await expect.poll(() => page.value('防具 #2 字段 3')).toBe('8');
  });
});
