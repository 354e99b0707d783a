// What the page promises a person beyond the results it shares with the
// command line: what a cell keeps, what Escape and the filter do, which
// actions leave unsaved work, and that choosing a file again is a new choice.
import { expect, test } from './driver/index.js';
import { offsetOf, syntheticImage, tables } from './page.js';

test('a cell keeps its committed value: Escape and a refused value go back to it, not to the opened one', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  await page.setField('武器 #0 字段 1', '200');
  await page.focus('武器 #0 字段 1');
  await page.type('77');
  await page.press('Escape');
  expect(await page.value('武器 #0 字段 1')).toBe('200');
  expect(await page.focused()).toBe('武器 #0 字段 1');
  await page.setField('武器 #0 字段 1', '256');
  await expect.poll(() => page.alert()).toContain('该字段仍为 200。');
  expect(await page.value('武器 #0 字段 1')).toBe('200');
  // At most three characters go in.
  await page.focus('武器 #0 字段 2');
  await page.type('1234');
  expect(await page.value('武器 #0 字段 2')).toBe('123');
  await page.press('Escape');
  await page.press('Tab');
  const expected = Buffer.from(original);
  expected[offsetOf('weapon', 0, 1)] = 200;
  expect(await page.shows('已修改 1 个字段')).toBe(true);
  expect((await page.handedOver('保存修改')).bytes.equals(expected)).toBe(true);
});

test('arrows stay inside a record and a half-typed value, and the filter narrows by any part of a name', async ({ page }) => {
  await page.openImage(syntheticImage());
  for (const [cell, key] of [['武器 #5 字段 8', 'ArrowRight'], ['武器 #5 字段 1', 'ArrowLeft'], ['武器 #0 字段 3', 'ArrowUp'],
    ['魔法 #55 字段 3', 'ArrowDown'], ['武器 #87 字段 4', 'ArrowDown']]) {
    await page.focus(cell);
    await page.press(key);
    expect(await page.focused(), `${key} on ${cell}`).toBe(cell);
  }
  await page.focus('防具 #2 字段 4');
  await page.type('12');
  await page.press('ArrowLeft');
  expect(await page.focused()).toBe('防具 #2 字段 4');
  await page.press('Escape');

  const rows = async (title) => (await page.table(title)).rows.length;
  const counts = async () => [await rows('武器'), await rows('防具'), await rows('魔法')];
  for (const text of ['  MITHRIL ', 'ithri']) {
    await page.setField('按名称筛选', text);
    await expect.poll(counts).toEqual([3, 5, 0]);
  }
  await page.setField('武器 #32 字段 2', '3');
  await page.setField('按名称筛选', '陆行鸟');
  await expect.poll(counts).toEqual([0, 0, 1]);
  await page.focus('按名称筛选');
  await page.press('Control+a');
  await page.press('Backspace');
  await expect.poll(counts).toEqual([88, 64, 56]);
  expect(await page.value('武器 #32 字段 2')).toBe('3');
});

test('edits, imports and applied patches are unsaved work until a save; the other hand-overs are not', async ({ page }) => {
  test.setTimeout(120_000); // ten sequences, each opening two images
  const original = syntheticImage();
  const patched = Buffer.from(original);
  patched[offsetOf('armour', 1, 1)] ^= 1;
  const ips = tables({ 'a.nes': original, 'b.nes': patched }, 'patch', 'a.nes', 'b.nes', '-o', 'p.ips').file('p.ips');
  const csv = tables({ 'game.nes': original }, 'export', 'game.nes', '-o', 'same.csv').file('same.csv');
  const changing = Buffer.from(csv.toString('utf8').replace(/^(weapon,0,[^\r\n]*),\d+(\r?)$/m, '$1,1$2'));
  const says = (text) => expect.poll(async () => `${await page.status()}\n${await page.alert()}`).toContain(text);

  const steps = {
    edit: () => page.setField('武器 #0 字段 1', String(original[offsetOf('weapon', 0, 1)] ^ 1)),
    save: () => page.handedOver('保存修改'),
    others: async () => {
      for (const button of ['制作 IPS 补丁', '制作 BPS 补丁', '导出 CSV', '导出 JSON']) await page.handedOver(button);
      await page.choose('比较镜像', 'b.nes', patched);
      await says('表格以外有');
    },
    apply: async () => {
      await page.choose('应用补丁', 'p.ips', ips);
      await says('已应用补丁 p.ips');
    },
    applyRefused: async () => {
      await page.choose('应用补丁', 'notes.txt', Buffer.from('no patch'));
      await says('应用补丁 notes.txt 失败');
    },
    import: async () => {
      await page.choose('导入表格文件', 'changing.csv', changing);
      await says('已修改 1 条记录中的 1 个字段');
    },
    importSame: async () => {
      await page.choose('导入表格文件', 'same.csv', csv);
      await says('表格文件与镜像一致');
    },
  };
  for (const [sequence, asks] of [
    [[], false], [['edit'], true], [['edit', 'save'], false], [['edit', 'others'], true], [['others'], false],
    [['apply'], true], [['applyRefused'], false], [['import'], true], [['importSame'], false], [['import', 'save'], false],
  ]) {
    await page.openImage(original);
    for (const step of sequence) await steps[step]();
    const before = (await page.questions()).length;
    if (asks) await page.answerConfirms(true); // else a question would be cancelled, and other.nes never opens
    await page.openImage(syntheticImage(4), 'other.nes');
    expect((await page.questions()).slice(before), sequence.join(' then '))
      .toEqual(asks ? ['game.nes 有未保存的修改。仍要打开 other.nes 吗？'] : []);
  }
});

test('choosing the same file again is a new choice', async ({ page }) => {
  await page.openImage(syntheticImage());
  const other = syntheticImage(6);
  for (let time = 0; time < 2; ++time) {
    await page.setField('魔法 #0 字段 1', '999');
    await expect.poll(() => page.status()).toBe('');
    await page.choose('比较镜像', 'other.nes', other);
    await expect.poll(() => page.status()).toContain('表格以外有');
    expect(await page.value('比较镜像')).toBe('');
  }
});

test('images and patches over 64 MiB are refused before they are read', async ({ page }) => {
  await page.openImage(syntheticImage());
  for (const label of ['打开文件', '应用补丁', '比较镜像']) {
    await page.evaluate((selector) => {
      const input = document.querySelector(selector);
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(64 * 2 ** 20 + 1)], 'big.bin'));
      input.files = transfer.files;
      input.dispatchEvent(new Event('change', { bubbles: true }));
      return true;
    }, await page.selector(label));
    await expect.poll(() => page.alert()).toBe('文件 big.bin 太大（67108865 字节），最多只处理 67108864 字节。');
    await page.setField('魔法 #0 字段 1', '999');
  }
});

test('a cut-off table file is told apart from an unreadable one, as import tells them', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
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
    await page.choose('导入表格文件', name, bytes);
    await expect.poll(() => page.alert()).toContain(name);
    if (rest.length > 0) {
      expect(await page.messageParts('alert')).toEqual({ paragraphs: [first], items: rest });
    } else {
      // The reason alone: the command line adds how to choose another encoding.
      expect(await page.alert()).toContain(`${name} 失败：${first.split('：')[1].replace(/。可以用.*$/, '。')}`);
    }
    said.push((await page.alert()).replaceAll(name, ''));
  }
  expect(new Set(said).size).toBe(3);
  expect(await page.shows('已修改 0 个字段')).toBe(true);
});
