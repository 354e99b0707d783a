// What the page hands over and takes in is what varnel-rom-tables makes and
// reads of the same images: patches, table files, comparisons and facts.
import { expect, test } from './driver/index.js';
import { offsetOf, syntheticImage, tables } from './page.js';

test('patches lead from the image as opened to the image now, and apply back both ways', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  await page.setField('防具 #7 字段 5', '200');
  const saved = await page.handedOver('保存修改');
  for (const format of ['ips', 'bps']) {
    const patch = await page.handedOver(`制作 ${format.toUpperCase()} 补丁`);
    expect(patch.name).toBe(`game.${format}`);
    const made = tables({ 'game.nes': original, [patch.name]: patch.bytes }, 'apply', patch.name, 'game.nes', '-o', 'out.nes');
    expect(made.file('out.nes').equals(saved.bytes)).toBe(true);
  }

  // A patch made by the command line, applied in the page to the image as opened.
  await page.openImage(original, 'fresh.nes');
  const bps = tables({ 'a.nes': original, 'b.nes': saved.bytes }, 'patch', 'a.nes', 'b.nes', '-o', 'p.bps');
  await page.choose('应用补丁', 'p.bps', bps.file('p.bps'));
  await expect.poll(() => page.status()).toBe('已应用补丁 p.bps，镜像现在有 786448 字节。');
  expect(await page.classes('防具 #7 字段 5')).toContain('changed');
  expect((await page.handedOver('保存修改')).bytes.equals(saved.bytes)).toBe(true);
});

test('a BPS patch made for another file is refused naming both CRC-32s, and the image stays', async ({ page }) => {
  const crc = (bytes) => JSON.parse(tables({ 'x.nes': bytes }, 'info', 'x.nes', '--format', 'json').out).file.crc32;
  const made = tables({ 'a.nes': syntheticImage(5), 'b.nes': syntheticImage(6) }, 'patch', 'a.nes', 'b.nes', '-o', 'p.bps');
  const now = syntheticImage();
  now[offsetOf('magic', 0, 1)] = 1;
  await page.openImage(syntheticImage());
  await page.setField('魔法 #0 字段 1', '1');
  await page.choose('应用补丁', 'p.bps', made.file('p.bps'));
  await expect.poll(() => page.alert()).toBe(`应用补丁 p.bps 失败：补丁要求的源文件 CRC-32 为 ${crc(syntheticImage(5))}，而该文件为 ${crc(now)}。`);
  await page.choose('应用补丁', 'notes.txt', Buffer.from('not a patch'));
  await expect.poll(() => page.alert()).toBe('应用补丁 notes.txt 失败：这不是 IPS 或 BPS 补丁（文件开头既不是“PATCH”也不是“BPS1”）。');
  expect(await page.shows('已修改 1 个字段')).toBe(true);
  expect((await page.handedOver('保存修改')).bytes.equals(now)).toBe(true);
});

test('comparing lists the differing fields as diff does, and the facts are those of info', async ({ page }) => {
  const original = syntheticImage();
  const other = Buffer.concat([syntheticImage(), Buffer.from([1, 2])]);
  other[offsetOf('weapon', 1, 2)] ^= 0xff;
  other[16] ^= 1;
  await page.openImage(original);
  await page.choose('比较镜像', 'other.nes', other);
  const diff = tables({ 'a.nes': original, 'b.nes': other }, 'diff', 'a.nes', 'b.nes').out.trim().split('\n');
  await expect.poll(() => page.messageParts('status')).toEqual({ paragraphs: [diff.slice(-2).join('\n')], items: diff.slice(0, -2) });

  const header = Buffer.from([0x4e, 0x45, 0x53, 0x1a, 32, 0, 0x16, 0, 0, 0, 0, 0, 0, 0, 0, 0]);
  await page.openImage(Buffer.concat([header, original.subarray(16)]), 'headed.nes');
  const info = tables({ 'headed.nes': Buffer.concat([header, original.subarray(16)]) }, 'info', 'headed.nes').out;
  const facts = info.trim().split('\n').slice(1).map((line) => line.trim().split('：'));
  await expect.poll(() => page.texts('#info dt')).toEqual(facts.map(([term]) => term));
  expect(await page.texts('#info dd')).toEqual(facts.map(([, value]) => value));
});

test('table files go out as export writes them, and come in through the checks of import', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  const exported = tables({ 'game.nes': original }, 'export', 'game.nes', '-o', 'game.csv', '--bom');
  expect((await page.handedOver('导出 CSV')).bytes.equals(exported.file('game.csv'))).toBe(true);
  const json = await page.handedOver('导出 JSON');
  expect(json.name).toBe('game.json');
  expect(json.bytes.equals(tables({ 'game.nes': original }, 'export', 'game.nes', '-o', 'game.json').file('game.json'))).toBe(true);

  // Every bad row listed, as import lists them, and nothing changed.
  const lines = exported.file('game.csv').toString('utf8').split('\r\n');
  lines[2] = lines[2].replace(/,\d+$/, ',300');
  lines[4] = lines[4].replace('weapon', 'sword');
  lines[6] = lines[6].replace('"', '"x"y');
  const bad = Buffer.from(lines.join('\r\n'));
  const refused = tables({ 'game.nes': original, 'bad.csv': bad }, 'import', 'game.nes', 'bad.csv');
  await page.choose('导入表格文件', 'bad.csv', bad);
  await expect.poll(() => page.messageParts('alert')).toEqual({
    paragraphs: ['表格文件 bad.csv 有 3 处错误，镜像没有任何改动：'], items: refused.err.trim().split('\n').slice(1).map((line) => line.trim()) });
  expect(await page.shows('已修改 0 个字段')).toBe(true);

  // Tab-separated UTF-16 with a byte-order mark, as spreadsheets save "Unicode text".
  const tsv = (await page.handedOver('导出 CSV')).bytes.toString('utf8').slice(1).replaceAll(',', '\t').replace('magic\t55\t"Chocobo 陆行鸟"\t', 'magic\t55\t"Chocobo 陆行鸟"\t7\t');
  const unicode = Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(tsv.replace(/\t\d+\r\n$/, '\r\n'), 'utf16le')]);
  const imported = tables({ 'game.nes': original, 'edited.txt': unicode }, 'import', 'game.nes', 'edited.txt');
  await page.choose('导入表格文件', 'edited.txt', unicode);
  await expect.poll(() => page.messageParts('status')).toEqual({
    paragraphs: [imported.out.trim().split('\n').at(-1)], items: imported.out.trim().split('\n').slice(0, -1) });
  await expect.poll(() => page.value('魔法 #55 字段 1')).toBe('7');
  expect((await page.handedOver('保存修改')).bytes.equals(imported.file('game.nes'))).toBe(true);

  // GB18030, as a spreadsheet on a Chinese Windows saves CSV; and a line no encoding can read.
  const gb = tables({ 'game.nes': original }, 'export', 'game.nes', '-o', 'gb.csv', '--encoding', 'gb18030').file('gb.csv');
  await page.choose('导入表格文件', 'gb.csv', gb);
  await expect.poll(async () => (await page.messageParts('status')).items).toEqual(imported.out.trim().split('\n').slice(0, -1).map((line) => line.replace(/：(\d+) → (\d+)$/, '：$2 → $1')));
  const unreadable = Buffer.from([...Buffer.from('table,index\r\nweapon,1\r\n'), 0x81, 0x20]);
  const why = tables({ 'game.nes': original, 'u.csv': unreadable }, 'import', 'game.nes', 'u.csv').err.match(/：(文件的.*。)可以用/)[1];
  await page.choose('导入表格文件', 'u.csv', unreadable);
  await expect.poll(() => page.alert()).toBe(`导入表格文件 u.csv 失败：${why}`);
});

test('any file in any input ends in a result or a refusal, and the image held stays', async ({ page }) => {
  const now = syntheticImage();
  now[offsetOf('weapon', 0, 1)] = 1;
  await page.openImage(syntheticImage());
  await page.setField('武器 #0 字段 1', '1');
  await page.answerConfirms(...Array(8).fill(true));
  let n = 0;
  for (const input of ['应用补丁', '导入表格文件', '比较镜像', '打开文件']) {
    for (const bytes of [Buffer.alloc(0), syntheticImage(9, 5000)]) {
      const name = `x${++n}.bin`;
      await page.choose(input, name, bytes);
      await expect.poll(async () => `${await page.alert()}${await page.status()}`).toContain(name);
    }
  }
  await page.choose('导入表格文件', 'big.csv', Buffer.alloc(16 * 2 ** 20 + 1, 0x20));
  await expect.poll(() => page.alert()).toBe('文件 big.csv 太大（16777217 字节），最多只处理 16777216 字节。');
  expect(await page.shows('镜像：game.nes')).toBe(true);
  expect((await page.handedOver('保存修改')).bytes.equals(now)).toBe(true);
});
