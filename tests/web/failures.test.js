// No failure vanishes: whatever the browser refuses to do for the page (read
// a file, hash one, hand one over) and whatever a drop holds ends in a
// message that names the action and the file, and the image held stays.
import { expect, test } from './driver/index.js';
import { offsetOf, syntheticImage, tables } from './page.js';

// Drops on the page what the browser would hand over for files `names`, or
// for a folder as its entries report one.
function drop(page, { names = [], folder = null }) {
  return page.evaluate((names, folder) => {
    const files = folder ? [new File([], folder)] : names.map((name) => new File([new Uint8Array(16)], name));
    const items = folder ? [{ kind: 'file', webkitGetAsEntry: () => ({ isDirectory: true, name: folder }) }] : [];
    const event = new Event('drop', { bubbles: true, cancelable: true });
    Object.defineProperty(event, 'dataTransfer', { value: { files, items } });
    document.body.dispatchEvent(event);
    return true;
  }, names, folder);
}

test('a file the browser cannot read is named in the refusal of each input', async ({ page }) => {
  const now = syntheticImage();
  now[offsetOf('weapon', 2, 3)] = 9;
  await page.openImage(syntheticImage());
  await page.setField('武器 #2 字段 3', '9');
  await page.evaluate(() => {
    File.prototype.arrayBuffer = () => Promise.reject(new DOMException('gone', 'NotFoundError'));
    return true;
  });
  await page.answerConfirms(true);
  for (const input of ['应用补丁', '导入表格文件', '比较镜像', '打开文件']) {
    await page.choose(input, `${input}.bin`, Buffer.from('12345'));
    await expect.poll(() => page.alert())
      .toBe(`${input} ${input}.bin 失败：浏览器读不出这个文件（gone）。它可能在选择之后被移动、删除或改动了，请重新选择。`);
  }
  await page.evaluate(() => delete File.prototype.arrayBuffer);
  expect(await page.shows('镜像：game.nes')).toBe(true);
  expect((await page.handedOver('保存修改')).bytes.equals(now)).toBe(true);
});

test('a drop of a folder, of nothing or of several files is refused, and so is a choice of several', async ({ page }) => {
  await page.openImage(syntheticImage());
  await drop(page, { folder: 'saves' });
  await expect.poll(() => page.alert()).toBe('打开文件 saves 失败：saves 是文件夹。请拖入文件夹里的文件本身。');
  await drop(page, {});
  await expect.poll(() => page.alert()).toBe('打开文件 失败：拖入的内容里没有文件。请拖入一个文件。');
  await drop(page, { names: ['a.nes', 'b.nes'] });
  await expect.poll(() => page.alert()).toBe('打开文件 失败：一次只能处理一个文件，这次拖入了 2 个（a.nes、b.nes）。');
  await page.evaluate((selector) => {
    const input = document.querySelector(selector);
    const transfer = new DataTransfer();
    for (const name of ['c.nes', 'd.nes']) transfer.items.add(new File([new Uint8Array(4)], name));
    input.files = transfer.files;
    input.dispatchEvent(new Event('change', { bubbles: true }));
    return true;
  }, await page.selector('比较镜像'));
  await expect.poll(() => page.alert()).toBe('比较镜像 失败：一次只能处理一个文件，这次选择了 2 个（c.nes、d.nes）。');
  expect(await page.shows('镜像：game.nes')).toBe(true);
});

test('when the browser will not hash, the facts go and the page says why', async ({ page }) => {
  await page.open();
  await page.evaluate(() => {
    crypto.subtle.digest = () => Promise.reject(new Error('no SHA-1 here'));
    return true;
  });
  await page.choose('打开文件', 'game.nes', syntheticImage());
  await expect.poll(() => page.alert()).toBe('检查镜像 game.nes 失败：浏览器没有算出 SHA-1（no SHA-1 here）。');
  expect(await page.texts('#info dt')).toEqual([]);
  expect(await page.shows('镜像：game.nes')).toBe(true);
});

test('a refused facts call clears the previous image\'s facts and says why', async ({ page }) => {
  await page.openImage(syntheticImage());
  await expect.poll(async () => (await page.texts('#info dt')).length).toBeGreaterThan(0);
  await page.evaluate(async () => {
    const { session } = await import(new URL('app/main.js', document.baseURI).href);
    session.info = () => ({ ok: false, message: '检查镜像 second.nes 失败：读不到。' });
    return true;
  });
  await page.choose('打开文件', 'second.nes', syntheticImage(2));
  await expect.poll(() => page.alert()).toBe('检查镜像 second.nes 失败：读不到。');
  expect(await page.texts('#info dt')).toEqual([]);
});

test('the facts of an older edit that land late never replace a newer edit\'s', async ({ page }) => {
  const crc = (bytes) => JSON.parse(tables({ 'x.nes': bytes }, 'info', 'x.nes', '--format', 'json').out).file.crc32;
  await page.openImage(syntheticImage());
  const facts = async () => (await page.texts('#info dd')).join('\n');
  await expect.poll(facts).toContain('CRC-32'); // the opening's own hashes are done
  // Each hash is counted when asked for, worked out at once, but handed back only when the test says.
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
  const release = (from, to) => page.evaluate(async (from, to) => {
    window.heldDigests.slice(from, to).forEach((resolve) => resolve());
    await new Promise((done) => setTimeout(done)); // every continuation has run
    return true;
  }, from, to);
  const first = syntheticImage();
  first[offsetOf('magic', 3, 4)] = 1;
  const second = Buffer.from(first);
  second[offsetOf('magic', 3, 5)] = 2;

  await page.setField('魔法 #3 字段 4', '1');
  await expect.poll(held).toBeGreaterThan(0);
  const older = await held();
  await page.setField('魔法 #3 字段 5', '2');
  await expect.poll(held).toBe(2 * older);
  await release(older, 2 * older);
  await expect.poll(facts).toContain(`CRC-32 ${crc(second)}`);
  await release(0, older);
  expect(await facts()).toContain(`CRC-32 ${crc(second)}`);
  expect(await facts()).not.toContain(`CRC-32 ${crc(first)}`);
});

test('a save says the file was handed to the browser, and a failed hand-over keeps the work unsaved', async ({ page }) => {
  await page.openImage(syntheticImage());
  await page.setField('防具 #4 字段 2', '17');
  await page.evaluate(() => {
    window.createObjectURL = URL.createObjectURL;
    URL.createObjectURL = () => { throw new Error('blocked'); };
    return true;
  });
  await page.click('保存修改', 'button');
  await expect.poll(() => page.alert()).toBe('保存修改 game.nes 失败：页面出了意外错误（blocked）。请重新载入页面再试。');
  await page.choose('打开文件', 'second.nes', syntheticImage(2));
  await expect.poll(() => page.questions()).toEqual(['game.nes 有未保存的修改。仍要打开 second.nes 吗？']);

  await page.evaluate(() => { URL.createObjectURL = window.createObjectURL; return true; });
  await page.handedOver('保存修改');
  await expect.poll(() => page.status()).toBe('保存修改：已把 game.nes（786448 字节）交给浏览器下载。');
});

test('once an image is open every file input takes a file, and a refusal starts with its words', async ({ page }) => {
  const inputs = ['应用补丁', '导入表格文件', '比较镜像'];
  await page.open();
  for (const label of inputs) expect(await page.isDisabled(label), label).toBe(true);
  await page.openImage(syntheticImage());
  for (const label of inputs) expect(await page.isDisabled(label), label).toBe(false);
  for (const [label, name] of [['比较镜像', 'tiny.nes'], ['应用补丁', 'tiny.ips'], ['打开文件', 'tiny.nes']]) {
    await page.choose(label, name, Buffer.alloc(5));
    await expect.poll(() => page.alert()).toContain(`${label} ${name} 失败：`);
  }
});
