// Draws the README's pictures of the web page, at a desktop's width and a
// phone's, with a synthetic image open and a few fields changed.
// Run through scripts/web.sh screenshots, after the page is built.
import { chromium } from '@playwright/test';
import { chromiumOptions } from '../web/tools/browsers/chromium.mjs';
import { serveSite } from '../web/tools/browsers/index.mjs';

const server = await serveSite(new URL('../build-web/site/', import.meta.url).pathname);
const browser = await chromium.launch(chromiumOptions);
const image = Buffer.alloc(786_448);
for (let i = 0; i < image.length; ++i) image[i] = (i * 2_654_435_761) >>> 24;
try {
  for (const [file, width, height] of [['docs/web.png', 1280, 800], ['docs/web-phone.png', 360, 640]]) {
    const page = await browser.newPage({ viewport: { width, height } });
    await page.goto(server.url);
    await page.waitForFunction(() => performance.getEntriesByName('varnel-usable').length > 0);
    await page.getByLabel('打开文件').setInputFiles({ name: 'game.nes', mimeType: 'application/octet-stream', buffer: image });
    await page.getByRole('status').getByText('已打开 game.nes').waitFor();
    for (const [label, value] of [['武器 #3 字段 3', '60'], ['武器 #4 字段 1', '7.5']]) {
      await page.getByLabel(label).fill(value);
      await page.keyboard.press('Enter');
    }
    await page.getByLabel('武器 #5 字段 3').fill('300');
    await page.keyboard.press('Enter');
    await page.evaluate(() => {
      document.activeElement.blur();
      for (const box of document.querySelectorAll('.grid')) box.scrollTo(0, 0);
      window.scrollTo(0, 0);
    });
    // Painted: the frame after the scrolling.
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    await page.screenshot({ path: new URL(`../${file}`, import.meta.url).pathname });
    console.log(`Wrote ${file}`);
    await page.close();
  }
} finally {
  await browser.close();
  await server.stop();
}
