// Undo, redo and the list of changes, as a person uses them: the buttons, the
// keys and the list's own buttons, judged by the bytes 保存修改 hands over.
import { expect, test } from '@playwright/test';
import { choose, handedOver, offsetOf, openImage, setField, syntheticImage, typicalSize } from './page.js';

// An IPS patch of runs: [offset, length, value] each, up to 65535 bytes a run.
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

async function saved(page) {
  return (await handedOver(page, '保存修改')).bytes;
}

const button = (page, name) => page.getByRole('button', { name, exact: true });

test('undo and redo take edits, imports and patches back and forward byte-exactly, by buttons and keys', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  await expect(button(page, '撤销')).toBeDisabled();
  await expect(button(page, '重做')).toBeDisabled();

  const images = [original];
  const edited = Buffer.from(original);
  edited[offsetOf('weapon', 3, 1)] = 8;
  await setField(page, '武器 #3 字段 1', '7.5');
  images.push(edited);

  const imported = Buffer.from(edited);
  for (let field = 1; field <= 8; ++field) imported[offsetOf('magic', 1, field)] = field;
  await choose(page, '导入表格文件', 'spells.json', Buffer.from(JSON.stringify({
    format: 'varnel-rom-tables', version: 1, records: [{ table: 'magic', index: 1, fields: [1, 2, 3, 4, 5, 6, 7, 8] }],
  })));
  await expect(page.getByRole('status')).toContainText('已修改 1 条记录中的 8 个字段');
  images.push(imported);

  // Bytes outside the tables, and four more at the end.
  const patched = Buffer.concat([imported, Buffer.alloc(4, 0x5a)]);
  patched.fill(0x11, 0, 16);
  await choose(page, '应用补丁', 'longer.ips', ipsRuns([[0, 16, 0x11], [typicalSize, 4, 0x5a]]));
  await expect(page.getByRole('status')).toContainText(`镜像现在有 ${typicalSize + 4} 字节`);
  images.push(patched);
  expect((await saved(page)).equals(patched)).toBe(true);

  for (let k = images.length - 2; k >= 0; --k) {
    await button(page, '撤销').click();
    expect((await saved(page)).equals(images[k])).toBe(true);
  }
  await expect(button(page, '撤销')).toBeDisabled();
  await expect(page.getByText('已修改 0 个字段')).toBeVisible();

  // Focus on a committed field: the keys are the page's.
  await page.getByLabel('武器 #0 字段 1', { exact: true }).focus();
  for (const [key, k] of [['Control+y', 1], ['Control+Shift+z', 2], ['Meta+y', 3], ['Control+z', 2]]) {
    await page.keyboard.press(key);
    expect((await saved(page)).equals(images[k])).toBe(true);
  }
  await expect(page.getByLabel('武器 #3 字段 1', { exact: true })).toHaveValue('8');
  await expect(button(page, '重做')).toBeEnabled();

  // A new change drops the step that could be redone.
  await setField(page, '防具 #0 字段 1', String(original[offsetOf('armour', 0, 1)] ^ 1));
  await expect(button(page, '重做')).toBeDisabled();
  for (let k = 0; k < 3; ++k) await button(page, '撤销').click();
  await expect(button(page, '撤销')).toBeDisabled();
  expect((await saved(page)).equals(original)).toBe(true);
  // Back at the image as opened nothing is unsaved: another image opens without a question.
  await setField(page, '武器 #0 字段 1', String(original[offsetOf('weapon', 0, 1)] ^ 1));
  await button(page, '撤销').click();
  const questions = [];
  page.on('dialog', (dialog) => questions.push(dialog.message()) && dialog.accept());
  await openImage(page, syntheticImage(2), 'second.nes');
  await expect(button(page, '撤销')).toBeDisabled();
  // Nor after a save.
  await setField(page, '武器 #0 字段 1', '0');
  await saved(page);
  await openImage(page, original, 'third.nes');
  expect(questions).toEqual([]);
});

test('text typed in a field and not yet committed keeps the browser\'s own undo', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  await setField(page, '武器 #0 字段 1', '5');
  const other = page.getByLabel('武器 #1 字段 1', { exact: true });
  await other.focus();
  await page.keyboard.type('77');
  await page.keyboard.press('Control+z');
  await expect(other).toHaveValue(String(original[offsetOf('weapon', 1, 1)]));
  await expect(page.getByLabel('武器 #0 字段 1', { exact: true })).toHaveValue('5');
  // The filter's text is the browser's too.
  await page.getByLabel('按名称筛选').fill('mithril');
  await page.getByLabel('按名称筛选').press('Control+z');
  await page.getByLabel('按名称筛选').fill('');
  await expect(page.getByLabel('武器 #0 字段 1', { exact: true })).toHaveValue('5');
  await other.focus();
  await page.keyboard.press('Control+z');
  await expect(page.getByLabel('武器 #0 字段 1', { exact: true })).toHaveValue(String(original[offsetOf('weapon', 0, 1)]));
});

test('the list of changes names every changed field in table order, goes to it and sets it back', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  const was = (table, index, field) => original[offsetOf(table, index, field)];
  await setField(page, '魔法 #55 字段 3', '12');
  await setField(page, '武器 #9 字段 1', '200');
  await choose(page, '应用补丁', 'head.ips', ipsRuns([[0, 3, 0x11], [typicalSize, 2, 0x22]]));
  await expect(page.getByRole('status')).toContainText('已应用补丁 head.ips');

  const region = page.getByRole('region', { name: '修改列表' });
  await region.getByText('修改列表').click();
  const entries = region.getByRole('list', { name: '修改列表' }).getByRole('listitem');
  const outside = [0, 1, 2].filter((at) => original[at] !== 0x11).length + 2;
  await expect(entries).toHaveText([
    new RegExp(`^武器 #9 Mithril.* 攻击附带魔法属性：${was('weapon', 9, 1)} → 200还原$`),
    `魔法 #55 Chocobo 陆行鸟 魔法威力：${was('magic', 55, 3)} → 12还原`,
    `表格以外有 ${outside} 个字节与打开时不同，文件长度 ${typicalSize} → ${typicalSize + 2} 字节。还原`,
  ]);

  // Choosing an entry shows the row the filter hid, and moves there.
  await page.getByLabel('按名称筛选').fill('chocobo');
  await entries.nth(0).getByRole('button').first().click();
  await expect(page.getByLabel('武器 #9 字段 1', { exact: true })).toBeFocused();
  await expect(page.getByLabel('按名称筛选')).toHaveValue('');

  const expected = Buffer.concat([original, Buffer.from([0x22, 0x22])]);
  expected.fill(0x11, 0, 3);
  expected[offsetOf('weapon', 9, 1)] = 200;
  await entries.nth(1).getByRole('button', { name: '还原' }).click();
  await expect(entries).toHaveCount(2);
  expect((await saved(page)).equals(expected)).toBe(true);
  await entries.nth(1).getByRole('button', { name: '还原' }).click();
  await expect(entries).toHaveCount(1);
  const fieldOnly = Buffer.from(original);
  fieldOnly[offsetOf('weapon', 9, 1)] = 200;
  expect((await saved(page)).equals(fieldOnly)).toBe(true);

  await button(page, '撤销').click();
  await expect(entries).toHaveCount(2);
  expect((await saved(page)).equals(expected)).toBe(true);
  await region.getByRole('button', { name: '全部还原' }).click();
  await expect(entries).toHaveCount(0);
  await expect(region.getByRole('button', { name: '全部还原' })).toBeDisabled();
  expect((await saved(page)).equals(original)).toBe(true);
  await button(page, '撤销').click();
  expect((await saved(page)).equals(expected)).toBe(true);
});

test('past the history\'s limit the oldest steps go, and the page says so', async ({ page }) => {
  const size = 12 << 20;
  await openImage(page, syntheticImage(1, size), 'large.nes');
  for (const value of [0x11, 0x22, 0x33]) {
    await choose(page, '应用补丁', `fill-${value}.ips`, ipsRuns([[0, size, value]]));
    await expect(page.getByRole('status')).toContainText(`fill-${value}.ips`);
  }
  await expect(page.getByText(/修改历史超过了 \d+ MiB，最早的几步已不能再撤销。/)).toBeVisible();
  await button(page, '撤销').click();
  await expect(button(page, '撤销')).toBeDisabled();
  expect((await saved(page)).equals(Buffer.alloc(size, 0x22))).toBe(true);
});
