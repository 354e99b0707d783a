// What the page hands over and takes in is what varnel-rom-tables makes and
// reads of the same images: patches, table files, comparisons and facts.
import { cpSync, renameSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { serveSite } from '../../web/tools/browsers/index.mjs';
import { expect, test } from './driver/index.js';
import { builtSite, edited, offsetOf, patchFor, saved, syntheticImage, tables, tablesEnd } from './page.js';

test('patches lead from the image as opened to the image now and apply both ways; comparisons, facts and table files are what the command line makes', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  await page.setField('防具 #7 字段 5', '200');
  const now = await saved(page);
  for (const format of ['ips', 'bps']) {
    const patch = await page.handedOver(`制作 ${format.toUpperCase()} 补丁`);
    expect(patch.name).toBe(`game.${format}`);
    expect(tables({ 'game.nes': original, [patch.name]: patch.bytes }, 'apply', patch.name, 'game.nes', '-o', 'out.nes').file('out.nes').equals(now)).toBe(true);
  }
  // A patch made by the command line, applied in the page to the image as opened.
  await page.openImage(original, 'fresh.nes');
  await page.choose('应用补丁', 'p.bps', patchFor(original, now));
  await expect.poll(() => page.status()).toBe('已应用补丁 p.bps，镜像现在有 786448 字节。');
  expect(await page.classes('防具 #7 字段 5')).toContain('changed');
  expect((await saved(page)).equals(now)).toBe(true);

  // Comparing lists the differing fields as diff does, the facts are those of info, and table files go out as export writes them.
  const other = Buffer.concat([syntheticImage(), Buffer.from([1, 2])]);
  other[offsetOf('weapon', 1, 2)] ^= 0xff;
  other[16] ^= 1;
  await page.openImage(original);
  for (const [button, name, ...options] of [['导出 CSV', 'game.csv', '--bom'], ['导出 JSON', 'game.json']]) {
    const file = await page.handedOver(button);
    expect(file.name).toBe(name);
    expect(file.bytes.equals(tables({ 'game.nes': original }, 'export', 'game.nes', '-o', name, ...options).file(name))).toBe(true);
  }
  await page.choose('比较镜像', 'other.nes', other);
  const diff = tables({ 'a.nes': original, 'b.nes': other }, 'diff', 'a.nes', 'b.nes').out.trim().split('\n');
  await expect.poll(() => page.messageParts('status')).toEqual({ paragraphs: [diff.slice(-2).join('\n')], items: diff.slice(0, -2) });

  const headed = Buffer.concat([Buffer.from([0x4e, 0x45, 0x53, 0x1a, 32, 0, 0x16, 0, 0, 0, 0, 0, 0, 0, 0, 0]), original.subarray(16)]);
  await page.openImage(headed, 'headed.nes');
  const facts = tables({ 'headed.nes': headed }, 'info', 'headed.nes').out.trim().split('\n').slice(1).map((line) => line.trim().split('：'));
  await expect.poll(() => page.texts('#info dt')).toEqual(facts.map(([term]) => term));
  expect(await page.texts('#info dd')).toEqual(facts.map(([, value]) => value));
});

test('an image too short is refused, and the grids stay out of sight and reach until one opens; once one is open every input takes any file, ending in a result or a refusal that starts with its words, and the image held stays', async ({ page }) => {
  const inputs = ['应用补丁', '导入表格文件', '比较镜像', '打开文件'];
  const disabled = async () => { const all = []; for (const label of [...inputs, '保存修改']) all.push(await page.isDisabled(label)); return all; };
  await page.open();
  await page.choose('打开文件', 'short.nes', syntheticImage(1, tablesEnd - 1));
  await expect.poll(() => page.alert()).toContain('打开文件 short.nes 失败：文件太短');
  // The grids are built while the page waits, yet neither seen, reached nor scrolled to.
  await page.until(() => page.call('prepared'), 'the page to prepare for an image');
  await page.focus('武器 #0 字段 1');
  expect([await page.count('武器', 'table'), await page.focused(),
    await page.evaluate(() => document.documentElement.scrollHeight < 2 * innerHeight)]).toEqual([0, null, true]);
  expect(await disabled()).toEqual([true, true, true, false, true]);
  await page.openImage(syntheticImage());
  expect(await disabled()).toEqual([false, false, false, false, false]);
  await page.setField('武器 #0 字段 1', '1');
  await page.answerConfirms(...Array(8).fill(true));
  let n = 0;
  for (const input of inputs) {
    for (const bytes of [Buffer.alloc(0), syntheticImage(9, 5000)]) {
      const name = `x${++n}.bin`;
      await page.choose(input, name, bytes);
      await expect.poll(async () => `${await page.alert()}${await page.status()}`).toContain(name);
      // One message at a time: a refusal clears the result before it, and a result the refusal.
      expect([await page.alert(), await page.status()].filter((text) => text !== '')).toHaveLength(1);
      const alert = await page.alert();
      if (alert && input !== '导入表格文件') expect(alert.startsWith(`${input} ${name} 失败：`), alert).toBe(true);
    }
  }
  expect(await page.shows('镜像：game.nes')).toBe(true);
  expect((await saved(page)).equals(edited(syntheticImage(), ['weapon', 0, 1, 1]))).toBe(true);
});

test('an image can be chosen before the code has loaded: it opens once the code is there, or is refused with the reason the code cannot run', async ({ page }, testInfo) => {
  const image = syntheticImage(3);
  for (const arriving of ['the code', 'bytes that are no code']) {
    // Each on a site of its own, whose varnel.wasm arrives when the test puts it there.
    const folder = testInfo.outputPath(arriving);
    cpSync(builtSite, folder, { recursive: true });
    const wasm = join(folder, 'varnel.wasm');
    renameSync(wasm, `${wasm}.held`);
    const site = await serveSite(folder, { WAIT_FOR_MISSING: '1' });
    try {
      await page.open(site.url, 'usable');
      await page.choose('打开文件', 'early.nes', image);
      expect(await page.shows('正在载入…')).toBe(true);
      expect(await page.count('武器', 'table')).toBe(0);
      if (arriving === 'the code') {
        renameSync(`${wasm}.held`, wasm);
        await page.untilOpened('early.nes');
        expect(await page.value('魔法 #2 字段 8')).toBe(String(image[offsetOf('magic', 2, 8)]));
      } else {
        writeFileSync(wasm, 'not WebAssembly');
        await page.until(async () => (await page.alert()).startsWith('这个浏览器无法运行本页面'), 'the reason the code cannot run');
        expect(await page.shows('正在载入…')).toBe(false);
        expect(await page.isDisabled('打开文件')).toBe(true);
      }
    } finally {
      await site.stop();
    }
  }
});
