// No failure vanishes: whatever the browser refuses to do for the page (read
// a file, hash one, hand one over) and whatever a drop holds ends in a
// message that names the action and the file, and the image held stays.
import { expect, test } from './driver/index.js';
import { crc32Of, edited, handMade, saved, syntheticImage } from './page.js';

test('a file the browser cannot read, a drop of a folder, of nothing or of several files, a choice of several and a hand-over that throws are refused by name, and the work stays unsaved', async ({ page }) => {
  await page.openImage(syntheticImage());
  await page.setField('武器 #2 字段 3', '9');
  await page.evaluate(() => {
    File.prototype.arrayBuffer = () => Promise.reject(new DOMException('gone', 'NotFoundError'));
    window.createObjectURL = URL.createObjectURL;
    URL.createObjectURL = () => { throw new Error('blocked'); };
    return true;
  });
  await page.answerConfirms(true);
  for (const input of ['应用补丁', '导入表格文件', '比较镜像', '打开文件']) {
    await page.choose(input, `${input}.bin`, Buffer.from('12345'));
    await expect.poll(() => page.alert())
      .toBe(`${input} ${input}.bin 失败：浏览器读不出这个文件（gone）。它可能在选择之后被移动、删除或改动了，请重新选择。`);
  }
  for (const [label, files, folder, alert] of [[null, [], 'saves', '打开文件 saves 失败：saves 是文件夹。请拖入文件夹里的文件本身。'],
    [null, [], null, '打开文件 失败：拖入的内容里没有文件。请拖入一个文件。'],
    [null, [['a.nes', 16], ['b.nes', 16]], null, '打开文件 失败：一次只能处理一个文件，这次拖入了 2 个（a.nes、b.nes）。'],
    ['比较镜像', [['c.nes', 4], ['d.nes', 4]], null, '比较镜像 失败：一次只能处理一个文件，这次选择了 2 个（c.nes、d.nes）。']]) {
    await handMade(page, label, files, folder);
    await expect.poll(() => page.alert()).toBe(alert);
  }
  await page.click('保存修改', 'button');
  await expect.poll(() => page.alert()).toBe('保存修改 game.nes 失败：页面出了意外错误（blocked）。请重新载入页面再试。');
  await page.choose('打开文件', 'second.nes', syntheticImage(2)); // asked, and cancelled
  await expect.poll(() => page.questions()).toEqual(['打开文件.bin', 'second.nes'].map((name) => `game.nes 有未保存的修改。仍要打开 ${name} 吗？`));
  expect(await page.shows('镜像：game.nes')).toBe(true);
  await page.evaluate(() => { delete File.prototype.arrayBuffer; URL.createObjectURL = window.createObjectURL; return true; });
  expect((await saved(page)).equals(edited(syntheticImage(), ['weapon', 2, 3, 9]))).toBe(true);
  await expect.poll(() => page.status()).toBe('保存修改：已把 game.nes（786448 字节）交给浏览器下载。');
});

test('the facts go when refused or when the browser will not hash, and the page says why; an older edit\'s facts that land late never replace a newer edit\'s', async ({ page }) => {
  await page.openImage(syntheticImage());
  await expect.poll(async () => (await page.texts('#info dt')).length).toBeGreaterThan(0);
  await page.evaluate(async () => {
    const { session } = await import(document.querySelector('script[type="module"]').src); // the page's own instance
    session.info = () => delete session.info && { ok: false, message: '检查镜像 second.nes 失败：读不到。' }; // once, then its own
    return true;
  });
  await page.choose('打开文件', 'second.nes', syntheticImage(2));
  await expect.poll(() => page.alert()).toBe('检查镜像 second.nes 失败：读不到。');
  expect([await page.texts('#info dt'), await page.shows('镜像：second.nes')]).toEqual([[], true]);
  await page.evaluate(() => { crypto.subtle.digest = () => Promise.reject(new Error('no SHA-1 here')); return true; });
  await page.choose('打开文件', 'third.nes', syntheticImage(3));
  await expect.poll(() => page.alert()).toBe('检查镜像 third.nes 失败：浏览器没有算出 SHA-1（no SHA-1 here）。');
  expect([await page.texts('#info dt'), await page.shows('镜像：third.nes')]).toEqual([[], true]);
  await page.evaluate(() => delete crypto.subtle.digest); // the browser's own again

  // Each hash is counted when asked for (not when worked out: engines differ in when) and handed back only when the test says.
  await page.evaluate(() => {
    const digest = crypto.subtle.digest.bind(crypto.subtle);
    window.heldDigests = [];
    crypto.subtle.digest = (...args) => {
      const done = digest(...args);
      return new Promise((resolve) => window.heldDigests.push(() => resolve(done)));
    };
    return true;
  });
  const held = () => page.evaluate(() => window.heldDigests.length);
  const release = (from, to) => page.evaluate((from, to) => {
    window.heldDigests.slice(from, to).forEach((resolve) => resolve());
    return new Promise((done) => setTimeout(() => done(true))); // once every continuation has run
  }, from, to);
  const facts = async () => (await page.texts('#info dd')).join('\n');
  const first = edited(syntheticImage(3), ['magic', 3, 4, 1]);
  const second = edited(first, ['magic', 3, 5, 2]);

  await page.setField('魔法 #3 字段 4', '1');
  await expect.poll(held).toBeGreaterThan(0);
  const older = await held();
  await page.setField('魔法 #3 字段 5', '2');
  await expect.poll(held).toBe(2 * older);
  await release(older, 2 * older);
  await expect.poll(facts).toContain(`CRC-32 ${crc32Of(second)}`);
  await release(0, older);
  expect(await facts()).toContain(`CRC-32 ${crc32Of(second)}`);
  expect(await facts()).not.toContain(`CRC-32 ${crc32Of(first)}`);
});
