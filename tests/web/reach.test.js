// Who can use the page and where: offline after a first visit, installed as
// an app, by keyboard and screen reader, with nothing sent away (a phone: input.test.js).
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { expect, test } from './driver/index.js';
import { serveSite } from '../../web/tools/browsers/index.mjs';
import { builtSite, syntheticImage } from './page.js';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

test.describe('with a profile of its own', () => {
  // Installing needs a profile of its own, as a person's browser has.
  test.use({ profile: true });

  test('after the first visit the page works offline, and it can be installed as an app', async ({ page, engine }) => {
    const site = await serveSite(builtSite);
    try {
      await page.open(site.url);
      await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
      if (engine === 'chromium') expect(await page.engine.installabilityErrors()).toEqual([]);
    } finally {
      await site.stop(); // nothing answers at that address any more
    }
    await page.reload();
    await page.openImage(syntheticImage());
    expect((await page.handedOver('制作 BPS 补丁')).name).toBe('game.bps');
  });
});

test('by keyboard alone an image opens and saves, after its own files the page requests nothing, its policy allows no other origin, and axe finds nothing serious', async ({ page }) => {
  test.setTimeout(240_000); // axe looks at some 1,700 inputs, in WebKit for half a minute
  await page.open();
  await page.evaluate(() => navigator.serviceWorker.ready.then(() => true)); // the last of its own files
  const policy = await page.evaluate(() => document.querySelector('meta[http-equiv="Content-Security-Policy"]').content);
  expect(policy).toMatch(/default-src 'self'/);
  expect(policy).not.toMatch(/https?:|\*/);
  const loaded = (await page.resources()).length;
  await page.press('Tab');
  await expect.poll(() => page.focused()).toBe('打开文件');
  await page.press('Space');
  await expect.poll(() => page.pickersOpened()).toEqual(['打开文件']);
  await page.choose('打开文件', 'game.nes', syntheticImage());
  await expect.poll(() => page.status()).toContain('已打开 game.nes');
  await page.press('Tab');
  await expect.poll(() => page.focused()).toBe('保存修改');
  expect((await page.handedOver(() => page.press('Enter'))).name).toBe('game.nes');
  for (const button of ['制作 IPS 补丁', '导出 JSON']) await page.handedOver(button);
  await page.choose('比较镜像', 'other.nes', syntheticImage(2));
  await expect.poll(async () => (await page.messageParts('status')).items.length).toBeGreaterThan(0); // the differences
  const requests = await page.resources();
  expect(requests.slice(loaded).filter((url) => !url.startsWith('blob:'))).toEqual([]);
  expect(requests.every((url) => url.startsWith('http://127.0.0.1:') || url.startsWith('blob:'))).toBe(true);

  await page.setField('防具 #1 字段 1', '999');
  expect(await page.engine.run(`${axeSource}; return axe.run(document, { resultTypes: ['violations'] })
    .then((result) => result.violations.filter((v) => ['serious', 'critical'].includes(v.impact)).map((v) => v.id));`, [])).toEqual([]);
});
