// Updates that never mix versions: a page runs one version whole, says when
// a new one is ready, takes it when the person agrees, and still works offline.
import { expect, test } from '@playwright/test';
import { spawn } from 'node:child_process';
import { appendFileSync, cpSync, readFileSync, readdirSync, rmSync, symlinkSync } from 'node:fs';
import { join, relative } from 'node:path';
import { stampWorker } from '../../web/tools/stamp.mjs';
import { handedOver, openImage, openPage, setField } from './page.js';

const built = new URL('../../build-web/site', import.meta.url).pathname;
const workerTemplate = readFileSync(new URL('../../web/page/sw.js', import.meta.url), 'utf8');

const filesOf = (folder) => readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
  (entry.isDirectory() ? filesOf(join(folder, entry.name)) : [join(folder, entry.name)]));

// Version B: the built site with a mark in its page, its style sheet and every
// script, each of which shows in the running page; its worker stamped anew.
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
  const page = join(folder, 'index.html');
  appendFileSync(page, '<meta name="varnel-mark" content="B">\n');
  stampWorker(folder, workerTemplate);
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
    { env: { ...process.env, CACHE_CONTROL: 'max-age=31536000' } });
  const port = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => { const found = String(data).match(/:(\d+)\//); if (found) resolve(found[1]); });
    server.on('exit', reject);
  });
  return { server, baseURL: `http://127.0.0.1:${port}/` };
}

test('a new version waits until the person takes it, and no page mixes two versions', async ({ browser }, testInfo) => {
  const root = testInfo.outputPath('versions');
  cpSync(built, join(root, 'a'), { recursive: true });
  const scriptsOfB = markedCopy(join(root, 'b'));
  const current = join(root, 'current');
  symlinkSync(join(root, 'a'), current);
  const { server, baseURL } = await serve(current);
  const context = await browser.newContext({ baseURL, acceptDownloads: true });
  try {
    const page = await context.newPage();
    await openPage(page);
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      await (await caches.open('another page')).put('/other', new Response('kept'));
    });
    await page.reload();
    await expect(page.getByLabel('打开文件')).toBeEnabled();
    expect(await versions(page)).toEqual({ page: 'A', style: 'A', scripts: [] });

    // B is served now: the page still runs A whole, and says B is ready.
    rmSync(current);
    symlinkSync(join(root, 'b'), current);
    await page.reload();
    const take = page.getByRole('button', { name: '更新到新版本' });
    await expect(take).toBeVisible();
    expect(await versions(page)).toEqual({ page: 'A', style: 'A', scripts: [] });
    await openImage(page);
    await setField(page, '武器 #0 字段 1', '5');
    expect((await handedOver(page, '保存修改')).name).toBe('game.nes');

    await take.click();
    await expect(page.locator('meta[name="varnel-mark"]')).toHaveAttribute('content', 'B');
    await expect(page.getByLabel('打开文件')).toBeEnabled();
    expect(await versions(page)).toEqual({ page: 'B', style: 'B', scripts: scriptsOfB });
    await expect(take).toHaveCount(0);
    const caches = await page.evaluate(() => caches.keys());
    expect(caches.filter((name) => name.startsWith('varnel '))).toHaveLength(1);
    expect(caches).toContain('another page');

    await context.setOffline(true);
    await page.reload();
    await openImage(page);
    expect(await versions(page)).toEqual({ page: 'B', style: 'B', scripts: scriptsOfB });
    expect((await handedOver(page, '制作 BPS 补丁')).name).toBe('game.bps');
  } finally {
    await context.close();
    server.kill();
  }
});
