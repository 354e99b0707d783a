// What the page promises a person beyond the results it shares with the
// command line: when it asks before replacing unsaved work, that choosing a
// file again is a new choice, and which files are too large to read.
import { expect, test } from './driver/index.js';
import { handMade, offsetOf, saved, syntheticImage } from './page.js';

test('an edit is unsaved work until a save or an undo back to it, and another image replaces it only when the person agrees; a file chosen again is a new choice; files too large are refused', async ({ page }) => {
  const original = syntheticImage();
  const steps = {
    edit: () => page.setField('武器 #0 字段 1', String(original[offsetOf('weapon', 0, 1)] ^ 1)),
    save: () => saved(page),
    undo: () => page.click('撤销', 'button'),
    others: async () => {
      for (const button of ['制作 IPS 补丁', '制作 BPS 补丁', '导出 CSV', '导出 JSON']) await page.handedOver(button);
      await page.choose('比较镜像', 'b.nes', syntheticImage(2));
      await expect.poll(() => page.status()).toContain('表格以外有');
    },
  };
  // Which changes are unsaved work is the C++ history's rule (EditHistoryTest); here, that the page asks it and tells it of saves.
  for (const [sequence, asks] of [[[], false], [['edit'], true], [['edit', 'save'], false], [['edit', 'others'], true], [['edit', 'undo'], false]]) {
    await page.openImage(original);
    for (const step of sequence) await steps[step]();
    const before = (await page.questions()).length;
    if (asks) await page.answerConfirms(true); // else a question would be cancelled, and other.nes never opens
    await page.openImage(syntheticImage(4), 'other.nes');
    expect((await page.questions()).slice(before), sequence.join(' then ')).toEqual(asks ? ['game.nes 有未保存的修改。仍要打开 other.nes 吗？'] : []);
  }
  // Declined, the image stays; agreed, a dropped image replaces it too.
  await page.openImage(original);
  await steps.edit();
  await page.answerConfirms(false, true);
  await page.choose('打开文件', 'second.nes', syntheticImage(2));
  await expect.poll(async () => (await page.questions()).at(-1)).toBe('game.nes 有未保存的修改。仍要打开 second.nes 吗？');
  expect(await page.shows('镜像：game.nes')).toBe(true);
  await page.drop('second.nes', syntheticImage(2));
  await expect.poll(() => page.shows('镜像：second.nes')).toBe(true);
  expect(await page.shows('已修改 0 个字段')).toBe(true);

  // Choosing the same file again is a new choice.
  for (let time = 0; time < 2; ++time) {
    await page.setField('魔法 #0 字段 1', '999');
    await expect.poll(() => page.status()).toBe('');
    await page.choose('比较镜像', 'other.nes', syntheticImage(6));
    await expect.poll(() => page.status()).toContain('表格以外有');
  }
  expect(await page.value('比较镜像')).toBe('');
  // Images and patches over 64 MiB and table files over 16 MiB are refused before they are read.
  for (const [label, limit] of [['打开文件', 64], ['应用补丁', 64], ['比较镜像', 64], ['导入表格文件', 16]]) {
    await handMade(page, label, [[`${label}.bin`, limit * 2 ** 20 + 1]]);
    await expect.poll(() => page.alert()).toBe(`文件 ${label}.bin 太大（${limit * 2 ** 20 + 1} 字节），最多只处理 ${limit * 2 ** 20} 字节。`);
  }
});
