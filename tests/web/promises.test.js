// What the page promises a person beyond the results it shares with the
// command line: what a cell keeps, what Escape and the filter do, which
// actions leave unsaved work, and that choosing a file again is a new choice.
import { expect, test } from '@playwright/test';
import { choose, handedOver, offsetOf, openImage, setField, syntheticImage, tables } from './page.js';

const cell = (page, label) => page.getByLabel(label, { exact: true });

test('a cell keeps its committed value: Escape and a refused value go back to it, not to the opened one', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  await setField(page, '武器 #0 字段 1', '200');
  await cell(page, '武器 #0 字段 1').focus();
  await page.keyboard.type('77');
  await page.keyboard.press('Escape');
  await expect(cell(page, '武器 #0 字段 1')).toHaveValue('200');
  await expect(cell(page, '武器 #0 字段 1')).toBeFocused();
  await setField(page, '武器 #0 字段 1', '256');
  await expect(page.getByRole('alert')).toContainText('该字段仍为 200。');
  await expect(cell(page, '武器 #0 字段 1')).toHaveValue('200');
  // At most three characters go in.
  await cell(page, '武器 #0 字段 2').focus();
  await page.keyboard.type('1234');
  await expect(cell(page, '武器 #0 字段 2')).toHaveValue('123');
  await page.keyboard.press('Escape');
  await page.keyboard.press('Tab');
  const expected = Buffer.from(original);
  expected[offsetOf('weapon', 0, 1)] = 200;
  await expect(page.getByText('已修改 1 个字段')).toBeVisible();
  expect((await handedOver(page, '保存修改')).bytes.equals(expected)).toBe(true);
});

test('arrows stay inside a record and a half-typed value, and the filter narrows by any part of a name', async ({ page }) => {
  await openImage(page);
  for (const [from, key, to] of [['武器 #5 字段 8', 'ArrowRight', '武器 #5 字段 8'], ['武器 #5 字段 1', 'ArrowLeft', '武器 #5 字段 1'],
    ['武器 #0 字段 3', 'ArrowUp', '武器 #0 字段 3'], ['魔法 #55 字段 3', 'ArrowDown', '魔法 #55 字段 3'],
    ['武器 #87 字段 4', 'ArrowDown', '武器 #87 字段 4']]) {
    await cell(page, from).focus();
    await page.keyboard.press(key);
    await expect(cell(page, to)).toBeFocused();
  }
  await cell(page, '防具 #2 字段 4').focus();
  await page.keyboard.type('12');
  await page.keyboard.press('ArrowLeft');
  await expect(cell(page, '防具 #2 字段 4')).toBeFocused();
  await page.keyboard.press('Escape');

  const rows = (title) => page.getByRole('table', { name: title }).getByRole('row');
  const filter = page.getByLabel('按名称筛选');
  for (const text of ['  MITHRIL ', 'ithri']) {
    await filter.fill(text);
    await expect(rows('武器')).toHaveCount(4);
    await expect(rows('防具')).toHaveCount(6);
    await expect(rows('魔法')).toHaveCount(1);
  }
  await setField(page, '武器 #32 字段 2', '3');
  await filter.fill('陆行鸟');
  await expect(rows('魔法')).toHaveCount(2);
  await expect(rows('武器')).toHaveCount(1);
  await filter.fill('');
  for (const [title, count] of [['武器', 89], ['防具', 65], ['魔法', 57]]) await expect(rows(title)).toHaveCount(count);
  await expect(cell(page, '武器 #32 字段 2')).toHaveValue('3');
});

test('edits, imports and applied patches are unsaved work until a save; the other hand-overs are not', async ({ page }) => {
  test.setTimeout(120_000); // ten sequences, each opening two images
  const original = syntheticImage();
  const patched = Buffer.from(original);
  patched[offsetOf('armour', 1, 1)] ^= 1;
  const ips = tables({ 'a.nes': original, 'b.nes': patched }, 'patch', 'a.nes', 'b.nes', '-o', 'p.ips').file('p.ips');
  const csv = tables({ 'game.nes': original }, 'export', 'game.nes', '-o', 'same.csv').file('same.csv');
  const changing = Buffer.from(csv.toString('utf8').replace(/^(weapon,0,[^\r\n]*),\d+(\r?)$/m, '$1,1$2'));
  const questions = [];
  page.on('dialog', (dialog) => { questions.push(dialog.message()); return dialog.accept(); });

  const click = (button) => handedOver(page, button);
  const steps = {
    edit: () => setField(page, '武器 #0 字段 1', String(original[offsetOf('weapon', 0, 1)] ^ 1)),
    save: () => click('保存修改'),
    others: async () => {
      for (const button of ['制作 IPS 补丁', '制作 BPS 补丁', '导出 CSV', '导出 JSON']) await click(button);
      await choose(page, '比较镜像', 'b.nes', patched);
      await expect(page.getByRole('status')).toContainText('表格以外有');
    },
    apply: async () => {
      await choose(page, '应用补丁', 'p.ips', ips);
      await expect(page.getByRole('status')).toContainText('已应用补丁 p.ips');
    },
    applyRefused: async () => {
      await choose(page, '应用补丁', 'notes.txt', Buffer.from('no patch'));
      await expect(page.getByRole('alert')).toContainText('应用补丁 notes.txt 失败');
    },
    import: async () => {
      await choose(page, '导入表格文件', 'changing.csv', changing);
      await expect(page.locator('#change-count')).not.toHaveText('已修改 0 个字段');
    },
    importSame: async () => {
      await choose(page, '导入表格文件', 'same.csv', csv);
      await expect(page.getByRole('status')).toContainText('表格文件与镜像一致');
    },
  };
  for (const [sequence, asks] of [
    [[], false], [['edit'], true], [['edit', 'save'], false], [['edit', 'others'], true], [['others'], false],
    [['apply'], true], [['applyRefused'], false], [['import'], true], [['importSame'], false], [['import', 'save'], false],
  ]) {
    await openImage(page, original);
    for (const step of sequence) await steps[step]();
    questions.length = 0;
    await choose(page, '打开文件', 'other.nes', syntheticImage(4));
    await expect(page.getByRole('status')).toContainText('已打开 other.nes');
    expect(questions, sequence.join(' then ')).toEqual(asks ? ['game.nes 有未保存的修改。仍要打开 other.nes 吗？'] : []);
  }
});

test('choosing the same file again is a new choice', async ({ page }) => {
  await openImage(page);
  const other = syntheticImage(6);
  for (let time = 0; time < 2; ++time) {
    await setField(page, '魔法 #0 字段 1', '999');
    await expect(page.locator('#status')).toBeEmpty();
    await choose(page, '比较镜像', 'other.nes', other);
    await expect(page.getByRole('status')).toContainText('表格以外有');
    await expect(page.getByLabel('比较镜像')).toHaveValue('');
  }
});

test('images and patches over 64 MiB are refused before they are read', async ({ page }) => {
  await openImage(page);
  for (const label of ['打开文件', '应用补丁', '比较镜像']) {
    await page.getByLabel(label).evaluate((input) => {
      const transfer = new DataTransfer();
      const big = new File([new Uint8Array(64 * 2 ** 20 + 1)], 'big.bin');
      transfer.items.add(big);
      input.files = transfer.files;
      input.dispatchEvent(new Event('change', { bubbles: true }));
    });
    await expect(page.getByRole('alert')).toHaveText('文件 big.bin 太大（67108865 字节），最多只处理 67108864 字节。');
    await setField(page, '魔法 #0 字段 1', '999');
  }
});

test('a cut-off table file is told apart from an unreadable one, as import tells them', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  const exported = (name) => tables({ 'game.nes': original }, 'export', 'game.nes', '-o', name).file(name);
  const csv = exported('all.csv');
  const said = [];
  for (const [name, bytes] of [
    ['cut.json', exported('all.json').subarray(0, 3000)],
    ['cut.csv', csv.subarray(0, csv.indexOf('"', 200) + 2)],
    ['unreadable.csv', Buffer.from([...Buffer.from('table,index\r\nweapon,1\r\n'), 0x81, 0x20])],
  ]) {
    const [first, ...rest] = tables({ 'game.nes': original, [name]: bytes }, 'import', 'game.nes', name).err.trim().split('\n')
      .map((line) => line.trim().replace(/^varnel-rom-tables: /, ''));
    await choose(page, '导入表格文件', name, bytes);
    const alert = page.getByRole('alert');
    if (rest.length > 0) {
      await expect(alert.locator('p')).toHaveText(first);
      await expect(alert.locator('li')).toHaveText(rest);
    } else {
      // The reason alone: the command line adds how to choose another encoding.
      await expect(alert).toContainText(`${name} 失败：${first.split('：')[1].replace(/。可以用.*$/, '。')}`);
    }
    said.push((await alert.innerText()).replaceAll(name, ''));
  }
  expect(new Set(said).size).toBe(3);
  await expect(page.getByText('已修改 0 个字段')).toBeVisible();
});
