// Opening an image, editing its three grids and saving it, as a person would.
import { expect, test } from '@playwright/test';
import { choose, handedOver, offsetOf, openImage, openPage, setField, syntheticImage, tablesEnd } from './page.js';

test('an image too short for the tables is refused and nothing is shown as open', async ({ page }) => {
  await openPage(page);
  await choose(page, '打开文件', 'short.nes', syntheticImage(1, tablesEnd - 1));
  await expect(page.getByRole('alert')).toContainText('打开文件 short.nes 失败：文件太短');
  await expect(page.getByRole('table')).toHaveCount(0);
  await expect(page.getByRole('button', { name: '保存修改' })).toBeDisabled();
});

test('the grids show every record by name, and a save hands over exactly the edits', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  for (const [title, rows] of [['武器', 88], ['防具', 64], ['魔法', 56]]) {
    await expect(page.getByRole('table', { name: title }).getByRole('row')).toHaveCount(rows + 1); // and the heading row
  }
  const weapons = page.getByRole('table', { name: '武器' });
  await expect(weapons.getByRole('columnheader')).toContainText(['序号', '名称', '攻击附带魔法属性', '攻击命中率%']);
  await expect(weapons.getByRole('row').nth(4)).toContainText('Dragon飞龙爪');
  await expect(page.getByLabel('武器 #3 字段 1', { exact: true })).toHaveValue(String(original[offsetOf('weapon', 3, 1)]));

  const expected = Buffer.from(original);
  for (const [label, text, table, index, field, value] of [
    ['武器 #3 字段 1', '7.5', 'weapon', 3, 1, 8],
    ['防具 #0 字段 8', '&HF', 'armour', 0, 8, 15],
    ['魔法 #55 字段 2', ' １２ ', 'magic', 55, 2, 12],
  ]) {
    await setField(page, label, text);
    await expect(page.getByLabel(label, { exact: true })).toHaveValue(String(value));
    await expect(page.getByLabel(label, { exact: true })).toHaveClass(/changed/);
    expected[offsetOf(table, index, field)] = value;
  }
  await setField(page, '魔法 #55 字段 3', '300');
  const kept = String(original[offsetOf('magic', 55, 3)]);
  await expect(page.getByRole('alert')).toHaveText(`魔法 #55 “Chocobo 陆行鸟” 字段 3“魔法威力”：数值“300”超出 0 到 255 的范围。该字段仍为 ${kept}。`);
  await expect(page.getByLabel('魔法 #55 字段 3', { exact: true })).toHaveValue(kept);
  await expect(page.getByText('已修改 3 个字段')).toBeVisible();

  const saved = await handedOver(page, '保存修改');
  expect(saved.name).toBe('game.nes');
  expect(saved.bytes.equals(expected)).toBe(true);
});

test('arrow keys, Enter and Tab move between cells, and the filter narrows every grid by name', async ({ page }) => {
  await openImage(page);
  await page.getByLabel('武器 #3 字段 1', { exact: true }).focus();
  for (const [key, label] of [['ArrowDown', '武器 #4 字段 1'], ['ArrowRight', '武器 #4 字段 2'], ['Tab', '武器 #4 字段 3'],
    ['Enter', '武器 #5 字段 3'], ['ArrowUp', '武器 #4 字段 3'], ['ArrowLeft', '武器 #4 字段 2']]) {
    await page.keyboard.press(key);
    await expect(page.getByLabel(label, { exact: true })).toBeFocused();
  }
  await page.keyboard.type('77');
  await page.keyboard.press('Escape');
  await expect(page.getByLabel('武器 #4 字段 2', { exact: true })).not.toHaveValue('77');
  // Enter in the last row stays there, and takes the value as typed.
  await page.getByLabel('武器 #87 字段 2', { exact: true }).focus();
  await page.keyboard.type('7.5');
  await page.keyboard.press('Enter');
  await expect(page.getByLabel('武器 #87 字段 2', { exact: true })).toHaveValue('8');

  await page.getByLabel('按名称筛选').fill('mithril');
  await expect(page.getByRole('table', { name: '武器' }).getByRole('row')).toHaveCount(4);
  await expect(page.getByRole('table', { name: '防具' }).getByRole('row')).toHaveCount(6);
  await expect(page.getByRole('table', { name: '魔法' }).getByRole('row')).toHaveCount(1);
  await page.getByLabel('武器 #9 字段 1', { exact: true }).focus();
  await page.keyboard.press('ArrowDown');
  await expect(page.getByLabel('武器 #32 字段 1', { exact: true })).toBeFocused();
});

test('another image replaces unsaved changes only after a confirmation, by input or by drop', async ({ page }) => {
  await openImage(page);
  await setField(page, '武器 #0 字段 1', '1');
  const questions = [];
  page.on('dialog', (dialog) => {
    questions.push(dialog.message());
    return questions.length === 1 ? dialog.dismiss() : dialog.accept();
  });
  await choose(page, '打开文件', 'second.nes', syntheticImage(2));
  await expect(page.getByText('镜像：game.nes')).toBeVisible();

  const dropped = await page.evaluateHandle((base64) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], 'second.nes'));
    return transfer;
  }, syntheticImage(2).toString('base64'));
  await page.dispatchEvent('body', 'drop', { dataTransfer: dropped });
  await expect(page.getByText('镜像：second.nes')).toBeVisible();
  await expect(page.getByText('已修改 0 个字段')).toBeVisible();
  expect(questions).toEqual(Array(2).fill('game.nes 有未保存的修改。仍要打开 second.nes 吗？'));
});
