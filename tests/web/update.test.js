// Updates that never mix versions: a page runs one version whole, says when
// a new one is ready, and takes it when the person agrees.
import { appendFileSync, cpSync, readFileSync, readdirSync, rmSync, symlinkSync } from 'node:fs';
import { join } from 'node:path';
import { serveSite } from '../../web/tools/browsers/index.mjs';
import { stampSite } from '../../web/tools/stamp.mjs';
import { expect, test } from './driver/index.js';
import { builtSite } from './page.js';

const workerTemplate = readFileSync(new URL('../../web/page/sw.js', import.meta.url), 'utf8');

// Version B: the built site with a mark in its page, its style sheet and every
// script, each of which shows in the running page; stamped anew as a new version.
function markedCopy(folder) {
  cpSync(builtSite, folder, { recursive: true });
  const scripts = readdirSync(folder, { recursive: true }).filter((name) => /\.m?js$/.test(name) && name !== 'sw.js').sort();
  for (const name of scripts) appendFileSync(join(folder, name), `\nglobalThis.varnelMarks = [...(globalThis.varnelMarks ?? []), ${JSON.stringify(name)}];\n`);
  appendFileSync(join(folder, 'style.css'), '\n:root { --varnel-mark: "B"; }\n');
  appendFileSync(join(folder, 'index.html'), '<meta name="varnel-mark" content="B">\n');
  stampSite(folder, workerTemplate);
  return scripts;
}

// Which version each part of the running page came from.
const versions = (page) => page.evaluate(() => ({
  page: document.querySelector('meta[name="varnel-mark"]')?.content ?? 'A',
  style: getComputedStyle(document.documentElement).getPropertyValue('--varnel-mark').trim() === '"B"' ? 'B' : 'A',
  scripts: [...(globalThis.varnelMarks ?? [])].sort(),
}));

test.describe('with a profile of its own', () => {
  test.use({ profile: true }); // service workers, as in a person's browser

  test('a new version waits until the person takes it, and no page mixes two versions', async ({ page }, testInfo) => {
    const root = testInfo.outputPath('versions');
    cpSync(builtSite, join(root, 'a'), { recursive: true });
    const scriptsOfB = markedCopy(join(root, 'b'));
    const current = join(root, 'current');
    symlinkSync(join(root, 'a'), current);
    // A year's max-age, as some hosts give: no old file may come back from the browser's HTTP cache into a new version.
    const site = await serveSite(current, { CACHE_CONTROL: 'max-age=31536000' });
    try {
      await page.open(site.url);
      await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        await (await caches.open('another page')).put('/other', new Response('kept'));
        return true;
      });
      await page.reload();
      expect(await versions(page)).toEqual({ page: 'A', style: 'A', scripts: [] });

      // B is served now: the page still runs A whole, and says B is ready.
      rmSync(current);
      symlinkSync(join(root, 'b'), current);
      await page.reload();
      await expect.poll(() => page.count('更新到新版本', 'button')).toBe(1);
      expect(await versions(page)).toEqual({ page: 'A', style: 'A', scripts: [] });

      await page.click('更新到新版本', 'button');
      await page.until(() => page.evaluate(() => document.querySelector('meta[name="varnel-mark"]')?.content === 'B')
        .catch(() => false), 'version B to be loaded'); // false between two documents
      await page.until(() => page.call('ready'), 'the page to be ready');
      expect(await versions(page)).toEqual({ page: 'B', style: 'B', scripts: scriptsOfB });
      expect(await page.count('更新到新版本', 'button')).toBe(0);
      const names = await page.evaluate(() => caches.keys());
      expect([names.filter((name) => name.startsWith('varnel ')).length, names.includes('another page')]).toEqual([1, true]);
    } finally {
      await site.stop();
    }
  });
});
