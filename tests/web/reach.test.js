// Who can use the page and where: offline after a first visit, installed as
// an app, on a phone, by keyboard and screen reader, with nothing sent away.
import AxeBuilder from '@axe-core/playwright';
import { chromium, expect, test } from '@playwright/test';
import { choose, handedOver, openImage, openPage, setField, syntheticImage } from './page.js';

test('after the first visit the page works offline, and it can be installed as an app', async ({}, testInfo) => {
  // Installing needs a profile of its own, as a person's browser has.
  const { launchOptions, baseURL } = testInfo.project.use;
  const context = await chromium.launchPersistentContext(testInfo.outputPath('profile'), { ...launchOptions, baseURL, acceptDownloads: true });
  const page = context.pages()[0];
  await openPage(page);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await context.newCDPSession(page);
  expect((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors).toEqual([]);

  await context.setOffline(true);
  await page.reload();
  await openImage(page);
  await setField(page, '武器 #0 字段 1', '5');
  expect((await handedOver(page, '制作 BPS 补丁')).name).toBe('game.bps');
  await context.close();
});

test('after its own files the page requests nothing, and its policy allows no other origin', async ({ page }) => {
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  await openPage(page);
  const policy = await page.locator('meta[http-equiv="Content-Security-Policy"]').getAttribute('content');
  expect(policy).toMatch(/default-src 'self'/);
  expect(policy).not.toMatch(/https?:|\*/);
  const loaded = requests.length;
  await openImage(page);
  await setField(page, '武器 #0 字段 1', '5');
  for (const button of ['保存修改', '制作 IPS 补丁', '导出 JSON']) await handedOver(page, button);
  await choose(page, '比较镜像', 'other.nes', syntheticImage(2));
  expect(requests.slice(loaded).filter((url) => !url.startsWith('blob:'))).toEqual([]);
  expect(requests.every((url) => url.startsWith('http://127.0.0.1:') || url.startsWith('blob:'))).toBe(true);
});

test('by keyboard alone an image opens and saves, and axe finds nothing serious', async ({ page }) => {
  test.setTimeout(90_000); // axe looks at some 1,700 inputs
  await openPage(page);
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Tab');
  await expect(page.getByLabel('打开文件')).toBeFocused();
  await page.keyboard.press('Space');
  await (await chooser).setFiles({ name: 'game.nes', mimeType: 'application/octet-stream', buffer: syntheticImage() });
  await expect(page.getByRole('status')).toContainText('已打开 game.nes');
  await page.keyboard.press('Tab');
  await expect(page.getByRole('button', { name: '保存修改' })).toBeFocused();
  const [download] = await Promise.all([page.waitForEvent('download'), page.keyboard.press('Enter')]);
  expect(download.suggestedFilename()).toBe('game.nes');

  await setField(page, '防具 #1 字段 1', '999');
  const { violations } = await new AxeBuilder({ page }).options({ resultTypes: ['violations'] }).analyze();
  expect(violations.filter((v) => ['serious', 'critical'].includes(v.impact)).map((v) => v.id)).toEqual([]);
});
