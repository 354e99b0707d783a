// Measures undo and redo in the page, headless Chromium: 100 field edits,
// then 100 undos and 100 redos through the 撤销 and 重做 buttons, and undoing
// and redoing a patch that rewrote 1 MiB. A step is timed from the event to
// the image shown again (grids, marks, count, list). The history's memory is
// what a second C++ session in the same page counts for the same steps.
// Run through scripts/web.sh benchmark, after the page is built.
import { chromium } from '@playwright/test';
import { cpus, totalmem, loadavg } from 'node:os';
import { chromiumOptions } from '../../web/tools/browsers/chromium.mjs';
import { serveSite } from '../../web/tools/browsers/index.mjs';

const site = new URL('../../build-web/site/', import.meta.url).pathname;
const mebibyte = 1 << 20;

// Every byte of a 1 MiB image set to one value: IPS run records of 65535 bytes.
function rewriteAll(size, value) {
  const parts = [Buffer.from('PATCH')];
  for (let at = 0; at < size; at += 0xffff) {
    const length = Math.min(0xffff, size - at);
    parts.push(Buffer.from([at >> 16, (at >> 8) & 0xff, at & 0xff, 0, 0, length >> 8, length & 0xff, value]));
  }
  parts.push(Buffer.from('EOF'));
  return Buffer.concat(parts);
}

const image = Buffer.alloc(mebibyte);
for (let i = 0; i < image.length; ++i) image[i] = (i * 2_654_435_761) >>> 24;
const patch = rewriteAll(mebibyte, 0x11);

const server = await serveSite(site);
const browser = await chromium.launch(chromiumOptions);
try {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.getByLabel('打开文件').setInputFiles({ name: 'game.nes', mimeType: 'application/octet-stream', buffer: image });
  await page.getByRole('button', { name: '撤销', exact: true }).waitFor();
  await page.getByText('已打开 game.nes').waitFor();

  const figures = await page.evaluate(async () => {
    const summary = (times) => {
      const sorted = [...times].sort((a, b) => a - b);
      return { median: sorted[Math.floor(sorted.length / 2)], slowest: sorted.at(-1) };
    };
    const time = (action) => {
      const start = performance.now();
      action();
      return performance.now() - start;
    };
    const inputs = [...document.querySelectorAll('#grids input')];
    const edits = inputs.slice(0, 100).map((input, k) => time(() => {
      input.value = String((Number(input.value) + 1 + k) % 256);
      input.dispatchEvent(new Event('change', { bubbles: true }));
    }));
    const undos = Array.from({ length: 100 }, () => time(() => document.getElementById('undo').click()));
    const redos = Array.from({ length: 100 }, () => time(() => document.getElementById('redo').click()));
    return { edits: summary(edits), undos: summary(undos), redos: summary(redos) };
  });

  await page.getByLabel('应用补丁').setInputFiles({ name: 'all.ips', mimeType: 'application/octet-stream', buffer: patch });
  await page.getByText('已应用补丁 all.ips').waitFor();
  const patchSteps = await page.evaluate(() => {
    const time = (id) => {
      const start = performance.now();
      document.getElementById(id).click();
      return performance.now() - start;
    };
    return { undo: time('undo'), redo: time('redo') };
  });

  // The same steps in a session of its own, for what the history holds.
  const memory = await page.evaluate(async ([imageBytes, patchBytes]) => {
    const { default: createVarnel } = await import('./varnel.mjs');
    const code = await createVarnel();
    const session = new code.Session();
    session.open('game.nes', new Uint8Array(imageBytes));
    const kinds = [code.TableKind.Weapon, code.TableKind.Armour, code.TableKind.Magic];
    for (let k = 0; k < 100; ++k) {
      const edit = session.setField(kinds[k % 3], k % 50, 1 + (k % 8), String(k));
      if (!edit.ok) throw new Error(edit.message); // a refused edit would hold nothing and prove nothing
    }
    const edits = session.history().footprint;
    session.applyPatch('all.ips', new Uint8Array(patchBytes));
    return { edits, patch: session.history().footprint - edits };
  }, [[...image], [...patch]]);

  const ms = ({ median, slowest }) => `median ${median.toFixed(2)} ms, slowest ${slowest.toFixed(2)} ms`;
  console.log(`100 field edits, each until shown: ${ms(figures.edits)}`);
  console.log(`100 undos (撤销): ${ms(figures.undos)}`);
  console.log(`100 redos (重做): ${ms(figures.redos)}`);
  console.log(`Undo of a patch that rewrote 1 MiB: ${patchSteps.undo.toFixed(1)} ms; its redo: ${patchSteps.redo.toFixed(1)} ms`);
  console.log(`History's memory: 100 field edits ${(memory.edits / 1024).toFixed(1)} KiB; the 1 MiB patch ${(memory.patch / mebibyte).toFixed(2)} MiB`);
} finally {
  await browser.close();
  await server.stop();
}
console.log(`Machine: ${cpus().length} cores, ${cpus()[0].model}, ${Math.round(totalmem() / 2 ** 30)} GiB, load ${loadavg().map((l) => l.toFixed(2)).join(' ')}`);
