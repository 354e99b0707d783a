// Updates that never mix versions: a page runs one version whole, says when
// a new one is ready, takes it when the person agrees, and still works offline.
import { spawn } from 'node:child_process';
import { appendFileSync, cpSync, readFileSync, readdirSync, rmSync, symlinkSync } from 'node:fs';
import { join, relative } from 'node:path';
import { stampSite } from '../../web/tools/stamp.mjs';
import { expect, test } from './driver/index.js';
import { syntheticImage } from './page.js';

const built = new URL('../../build-web/site', import.meta.url).pathname;
const workerTemplate = readFileSync(new URL('../../web/page/sw.js', import.meta.url), 'utf8');

const filesOf = (folder) => readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
  (entry.isDirectory() ? filesOf(join(folder, entry.name)) : [join(folder, entry.name)]));

// Version B: the built site with a mark in its page, its style sheet and every
// script, each of which shows in the running page; stamped anew as a new version.
function markedCopy(folder) {
  cpSync(built, folder, { recursive: true });
  const scripts = [];
  for (const file of filesOf(folder)) {
    const name = relative(folder, file);
    if (/\.m?js$/.test(name) && name !== 'sw.js') {
      appendFileSync(file, `\nglobalThis.varnelMarks = [...(globalThis.varnelMarks ?? []), ${JSON.stringify(name)}];\n`);
      scripts.push(name);
    }
  }
  appendFileSync(join(folder, 'style.css'), '\n:root { --varnel-mark: "B"; }\n');
  appendFileSync(join(folder, 'index.html'), '<meta name="varnel-mark" content="B">\n');
  stampSite(folder, workerTemplate);
  return scripts.sort();
}

// Which version each part of the running page came from.
const versions = (page) => page.evaluate(() => ({
  page: document.querySelector('meta[name="varnel-mark"]')?.content ?? 'A',
  style: getComputedStyle(document.documentElement).getPropertyValue('--varnel-mark').trim() === '"B"' ? 'B' : 'A',
  scripts: [...(globalThis.varnelMarks ?? [])].sort(),
}));

// A static server of its own on a free port, serving whatever `current` points
// at, with a year's max-age as some hosts give: no old file may come back from
// the browser's HTTP cache into a new version.
async function serve(current) {
  const server = spawn('node', [new URL('../../web/tools/serve.mjs', import.meta.url).pathname, current, '0'],
    { env: { ...process.env, CACHE_CONTROL: 'max-age=31536000' }, stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => { const found = String(data).match(/http:\/\/\S+\//); if (found) resolve(found[0]); });
    server.on('exit', (code) => reject(new Error(`serve.mjs stopped (${code}) before serving`)));
  });
  return { url, stop: () => new Promise((resolve) => { server.on('exit', resolve); server.kill(); }) };
}

test.describe('with a profile of its own', () => {
  test.use({ profile: true }); // service workers, as in a person's browser

  test('a new version waits until the person takes it, and no page mixes two versions', async ({ page }, testInfo) => {
    const root = testInfo.outputPath('versions');
    cpSync(built, join(root, 'a'), { recursive: true });
    const scriptsOfB = markedCopy(join(root, 'b'));
    const current = join(root, 'current');
    symlinkSync(join(root, 'a'), current);
    const site = await serve(current);
    const A = { page: 'A', style: 'A', scripts: [] };
    const B = { page: 'B', style: 'B', scripts: scriptsOfB };
    try {
      await page.open(site.url);
      await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        await (await caches.open('another page')).put('/other', new Response('kept'));
        return true;
      });
      await page.reload();
      expect(await versions(page)).toEqual(A);

      // B is served now: the page still runs A whole, and says B is ready.
      rmSync(current);
      symlinkSync(join(root, 'b'), current);
      await page.reload();
      await expect.poll(() => page.count('更新到新版本', 'button')).toBe(1);
      expect(await versions(page)).toEqual(A);
      await page.openImage(syntheticImage());
      await page.setField('武器 #0 字段 1', '5');
      expect((await page.handedOver('保存修改')).name).toBe('game.nes');

      await page.click('更新到新版本', 'button');
      await page.until(async () => {
        try {
          return (await page.evaluate(() => document.querySelector('meta[name="varnel-mark"]')?.content)) === 'B';
        } catch {
          return false; // between two documents
        }
      }, 'version B to be loaded');
      await page.until(() => page.call('usable'), 'the page to be usable');
      expect(await versions(page)).toEqual(B);
      expect(await page.count('更新到新版本', 'button')).toBe(0);
      const names = await page.evaluate(() => caches.keys());
      expect(names.filter((name) => name.startsWith('varnel '))).toHaveLength(1);
      expect(names).toContain('another page');
    } finally {
      await site.stop(); // offline from here on
    }
    await page.reload();
    expect(await versions(page)).toEqual(B);
    await page.openImage(syntheticImage());
    await page.setField('武器 #0 字段 1', '5');
    expect((await page.handedOver('制作 BPS 补丁')).name).toBe('game.bps');
  });
});
