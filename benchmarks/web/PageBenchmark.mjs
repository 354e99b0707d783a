// Measures the web edition: the bytes of every file on first load,
// compressed; navigation to a usable page (an image can be chosen) and to a
// ready one (the C++ code has loaded), beside the floor (the page's head and
// heading alone, and below it an empty page, first painted); opening a
// typical image, chosen once the page has prepared for one (built its grids,
// rehearsed an opening), until its grids are painted; making each patch.
// Medians of RUNS runs, each a cold first visit, at each CPU slowdown in
// RATES (4 and 6 the usual stand-ins for a mid-range and a low-end phone,
// relative to the machine: docs/performance.md; Chromium's own throttling
// of the page's CPU), in a 1280 × 720 window and, slowed, on a 360 × 640
// phone screen as well: these visits through a quiet Chromium, whose pages
// nothing watches, and the patches through Playwright. Then the same cold
// visits in Firefox and WebKit at full speed (they have no throttling), and
// once: importing table files of 4 and 16 MiB made only of malformed lines,
// from handing the file over to the refusal shown.
// Run through scripts/web.sh benchmark, after the page is built.
import { chromium } from '@playwright/test';
import { cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { cpus, totalmem, loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { chromiumOptions } from '../../web/tools/browsers/chromium.mjs';
import { launch, serveSite } from '../../web/tools/browsers/index.mjs';
import { launchQuietChromium } from '../../web/tools/browsers/quiet-chromium.mjs';

const site = process.env.SITE ?? new URL('../../build-web/site/', import.meta.url).pathname;
const runs = Number(process.env.RUNS ?? 11);
const rates = (process.env.RATES ?? '1,4').split(',').map(Number);
const others = (process.env.ENGINES ?? 'firefox,webkit').split(',').filter(Boolean);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const files = (folder) => readdirSync(folder).flatMap((name) =>
  (statSync(join(folder, name)).isDirectory() ? files(join(folder, name)) : [join(folder, name)]));
let raw = 0;
let compressed = 0;
for (const file of files(site)) {
  const bytes = readFileSync(file);
  raw += bytes.length;
  compressed += gzipSync(bytes, { level: 9 }).length;
}
const wasm = gzipSync(readFileSync(join(site, 'varnel.wasm')), { level: 9 }).length;
console.log(`All files on first load: ${(raw / 1024).toFixed(1)} KiB, ${(compressed / 1024).toFixed(1)} KiB gzip -9 ` +
  `(of which varnel.wasm ${(wasm / 1024).toFixed(1)} KiB)`);

const server = await serveSite(site);
const browser = await chromium.launch(chromiumOptions);
const versions = [`Chromium ${browser.version()}`];
const image = Buffer.alloc(786_448, 0);
for (let i = 0; i < image.length; ++i) image[i] = (i * 2_654_435_761) >>> 24;

// An expression whose promise resolves to the page's own performance entry
// `name` (its `field`) once there. Watched for, not polled: polling would
// take the page's time from what it measures.
const watchFor = (name, field, entryTypes = ['mark', 'measure']) => `new Promise((resolve) => {
  const [now] = performance.getEntriesByName(${JSON.stringify(name)});
  if (now) resolve(now.${field});
  else new PerformanceObserver((list, observer) => {
    const [found] = list.getEntriesByName(${JSON.stringify(name)});
    if (found) { observer.disconnect(); resolve(found.${field}); }
  }).observe({ entryTypes: ${JSON.stringify(entryTypes)} });
});`;

// The floor: the page's head, style sheet and heading alone, without a
// script, until its first paint; what any page like it costs here.
const floorSite = mkdtempSync(join(tmpdir(), 'varnel-floor-'));
cpSync(join(site, 'style.css'), join(floorSite, 'style.css'));
writeFileSync(join(floorSite, 'index.html'), readFileSync(join(site, 'index.html'), 'utf8')
  .replace(/<script[^>]*><\/script>\n|<link rel="preload"[^>]*>\n|<link rel="manifest"[^>]*>\n/g, '')
  .replace(/<\/header>[^]*/, '</header>\n</body>\n</html>\n'));
// Below it, what any page at all costs: one word, no style sheet, no script.
writeFileSync(join(floorSite, 'empty.html'), '<!doctype html>\n<meta charset="utf-8">\n<title>Empty</title>\n<p>Empty</p>\n');
const floor = await serveSite(floorSite);

// The cold visits' own browser: a Chromium with no instrumentation in its pages.
const quiet = await launchQuietChromium();
const imageFolder = mkdtempSync(join(tmpdir(), 'varnel-image-'));
const imageFile = join(imageFolder, 'game.nes');
writeFileSync(imageFile, image);
const browserWindow = { width: 1280, height: 720, deviceScaleFactor: 1, mobile: false };
// A phone's screen, touch and pixel density, for the visits with a slowed CPU.
const phone = { width: 360, height: 640, deviceScaleFactor: 2, mobile: true };

// The first paint of a cold visit to `url`.
async function firstPaint(url, rate, device) {
  const page = await quiet.newPage(rate, device);
  await page.goto(url);
  const paint = await page.evaluate(watchFor('first-contentful-paint', 'startTime', ['paint']));
  await page.close();
  return paint;
}

// One cold visit at `rate` on `device`, after one to the empty page and one to
// the floor: its figures in ms. The page's marks are read once it has loaded.
async function visit(rate, device) {
  const empty = await firstPaint(`${floor.url}empty.html`, rate, device);
  const floorPaint = await firstPaint(floor.url, rate, device);
  const page = await quiet.newPage(rate, device);
  await page.goto(server.url);
  await page.evaluate(watchFor('varnel-prepared', 'startTime'));
  const figures = {
    empty, floor: floorPaint,
    usable: await page.evaluate(watchFor('varnel-usable', 'startTime')),
    ready: await page.evaluate(watchFor('varnel-ready', 'startTime')),
  };
  await page.setFiles('#open-file', imageFile);
  figures.open = await page.evaluate(watchFor('varnel-open', 'duration'));
  await page.close();
  return figures;
}

// Making each patch after one field's change, in a visit of its own at full speed.
async function patches(run) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(server.url);
  await page.locator('#open-file').setInputFiles(imageFile);
  await page.getByLabel('武器 #3 字段 1').fill(String(run % 200));
  await page.keyboard.press('Enter');
  const figures = {};
  for (const format of ['ips', 'bps']) {
    await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: `制作 ${format.toUpperCase()} 补丁` }).click()]);
    figures[format] = await page.evaluate((name) => performance.getEntriesByName(name).at(-1).duration, `varnel-patch-${format}`);
  }
  await context.close();
  return figures;
}

// Cold visits in another engine, through the page's own performance marks.
async function visitsIn(engine) {
  const other = await launch(engine);
  const folder = mkdtempSync(join(tmpdir(), 'varnel-benchmark-'));
  writeFileSync(join(folder, 'game.nes'), image);
  const all = [];
  try {
    for (let run = 0; run < runs; ++run) {
      const page = await other.newPage({ phone: false });
      await page.goto(server.url);
      const entry = (name, field = 'startTime') => page.run(`return ${watchFor(name, field)}`, []);
      const usable = await entry('varnel-usable');
      const ready = await entry('varnel-ready');
      await entry('varnel-prepared');
      await page.setFiles('#open-file', join(folder, 'game.nes'));
      all.push({ usable, ready, open: await entry('varnel-open', 'duration') });
      await page.close();
    }
    versions.push(`${engine} ${await other.version()}`);
  } finally {
    await other.close();
    rmSync(folder, { recursive: true });
  }
  const of = (name) => median(all.map((figures) => figures[name]));
  console.log(`${engine}, CPU 1×: navigation to a usable page ${of('usable').toFixed(0)} ms, to a ready one ${of('ready').toFixed(0)} ms; ` +
    `open a 786,448-byte image and show the grids ${of('open').toFixed(1)} ms`);
}

try {
  for (const [rate, device, screen] of rates.flatMap((rate) => [[rate, browserWindow, 'a 1280 × 720 window'], ...(rate > 1 ? [[rate, phone, 'a 360 × 640 phone']] : [])])) {
    const all = [];
    for (let run = 0; run < runs; ++run) all.push({ ...await visit(rate, device), ...(rate === 1 ? await patches(run) : {}) });
    const of = (name) => median(all.map((figures) => figures[name]));
    console.log(`CPU ${rate}× slower, ${screen}: navigation to a usable page ${of('usable').toFixed(0)} ms, to a ready one ${of('ready').toFixed(0)} ms ` +
      `(first paint: the floor ${of('floor').toFixed(0)} ms, an empty page ${of('empty').toFixed(0)} ms); open a 786,448-byte image and show the grids ${of('open').toFixed(1)} ms`);
    if (rate === 1) console.log(`Make an IPS patch: ${of('ips').toFixed(1)} ms; a BPS patch: ${of('bps').toFixed(1)} ms`);
  }
  for (const engine of others) await visitsIn(engine);

  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(server.url);
  await page.getByLabel('打开文件').setInputFiles({ name: 'game.nes', mimeType: 'application/octet-stream', buffer: image });
  await page.waitForFunction(() => performance.getEntriesByName('varnel-open').length > 0);
  const header = 'table,index,name,field1,field2,field3,field4,field5,field6,field7,field8\n';
  const line = 'weapon,1,x"y,1,2,3,4,5,6,7,8\n';
  for (const mib of [4, 16]) {
    const buffer = Buffer.from(header + line.repeat(Math.floor(((mib << 20) - header.length) / line.length)));
    await page.evaluate(() => document.getElementById('alert').replaceChildren());
    const start = performance.now();
    await page.getByLabel('导入表格文件').setInputFiles({ name: 'bad.csv', mimeType: 'text/csv', buffer });
    await page.getByRole('alert').locator('p').waitFor();
    console.log(`Import a ${mib} MiB file of malformed lines until refused: ${((performance.now() - start) / 1000).toFixed(2)} s`);
  }
  await context.close();
} finally {
  await browser.close();
  await quiet.close();
  await server.stop();
  await floor.stop();
  rmSync(floorSite, { recursive: true });
  rmSync(imageFolder, { recursive: true });
}
console.log(`Machine: ${cpus().length} cores, ${cpus()[0].model}, ${Math.round(totalmem() / 2 ** 30)} GiB, ` +
  `load ${loadavg().map((l) => l.toFixed(2)).join(' ')}; ${versions.join(', ')}; ${runs} runs each`);
