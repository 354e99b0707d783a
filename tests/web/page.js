// What the browser tests share: synthetic images, the page opened and used
// as a person would, files handed over, and varnel-rom-tables on the same files.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// The page as built, for a test that serves it itself (serveSite in web/tools/browsers/).
export const builtSite = new URL('../../build-web/site', import.meta.url).pathname;
export const typicalSize = 786_448;
export const tablesEnd = 0x61a90;
export const fieldOffset = { weapon: 0x61410, armour: 0x616d0, magic: 0x618d0 };

// Seeded random bytes, so that a byte read from or written to a wrong place shows.
export function syntheticImage(seed = 1, size = typicalSize) {
  const bytes = Buffer.alloc(size);
  let state = seed >>> 0;
  for (let i = 0; i < size; ++i) {
    state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
    bytes[i] = state >>> 24;
  }
  return bytes;
}

export function offsetOf(table, index, field) {
  return fieldOffset[table] + 8 * index + field - 1;
}

// `bytes` with each [table, index, field, value] written.
export function edited(bytes, ...changes) {
  const copy = Buffer.from(bytes);
  for (const [table, index, field, value] of changes) copy[offsetOf(table, index, field)] = value;
  return copy;
}

export const saved = async (page) => (await page.handedOver('保存修改')).bytes;

// Hands the page files made in it ([name, size] each, zero bytes) as a browser does: chosen at once
// in the file input `label`, or dropped on the page (no label), or a dropped folder's entry.
export async function handMade(page, label, files, folder = null) {
  await page.evaluate((selector, files, folder) => {
    const transfer = new DataTransfer();
    for (const [name, size] of folder ? [[folder, 0]] : files) transfer.items.add(new File([new Uint8Array(size)], name));
    const target = selector ? document.querySelector(selector) : document.body;
    const event = new Event(selector ? 'change' : 'drop', { bubbles: true, cancelable: true });
    const items = folder ? [{ kind: 'file', webkitGetAsEntry: () => ({ isDirectory: true, name: folder }) }] : [];
    if (selector) target.files = transfer.files;
    else Object.defineProperty(event, 'dataTransfer', { value: { files: transfer.files, items } });
    return target.dispatchEvent(event);
  }, label && await page.selector(label), files, folder);
}

// Runs varnel-rom-tables on files in a fresh folder: its output, status and folder.
export function tables(files, ...args) {
  const folder = mkdtempSync(join(tmpdir(), 'varnel-web-'));
  for (const [name, bytes] of Object.entries(files)) writeFileSync(join(folder, name), bytes);
  const program = new URL('../../build/cli/varnel-rom-tables', import.meta.url).pathname;
  const run = spawnSync(program, args, { cwd: folder, encoding: 'utf8' });
  return { folder, out: run.stdout, err: run.stderr, status: run.status, file: (name) => readFileSync(join(folder, name)) };
}

// The patch varnel-rom-tables makes from `from` to `to`.
export const patchFor = (from, to, format = 'bps') => tables({ 'a.nes': from, 'b.nes': to }, 'patch', 'a.nes', 'b.nes', '-o', `p.${format}`).file(`p.${format}`);
export const crc32Of = (bytes) => JSON.parse(tables({ 'x.nes': bytes }, 'info', 'x.nes', '--format', 'json').out).file.crc32;
