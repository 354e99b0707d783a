// What the browser tests share: synthetic images, the page opened and used
// as a person would, files handed over, and varnel-rom-tables on the same files.
import { expect } from '@playwright/test';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

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

export async function openPage(page) {
  await page.goto('./');
  await expect(page.getByLabel('打开文件')).toBeEnabled();
}

export async function choose(page, label, name, buffer) {
  await page.getByLabel(label, { exact: true }).setInputFiles({ name, mimeType: 'application/octet-stream', buffer });
}

// Opens an image in the page, loading the page first if it is not there yet.
export async function openImage(page, bytes = syntheticImage(), name = 'game.nes') {
  if (page.url() === 'about:blank') await openPage(page);
  await choose(page, '打开文件', name, bytes);
  await expect(page.getByRole('status')).toContainText(`已打开 ${name}`);
}

// The name and bytes of the file that clicking the button hands over.
export async function handedOver(page, button) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: button }).click()]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

export async function setField(page, label, text) {
  const input = page.getByLabel(label, { exact: true });
  await input.fill(text);
  await input.press('Tab');
}

// Runs varnel-rom-tables on files in a fresh folder: its output, status and folder.
export function tables(files, ...args) {
  const folder = mkdtempSync(join(tmpdir(), 'varnel-web-'));
  for (const [name, bytes] of Object.entries(files)) writeFileSync(join(folder, name), bytes);
  const program = new URL('../../build/cli/varnel-rom-tables', import.meta.url).pathname;
  const run = spawnSync(program, args, { cwd: folder, encoding: 'utf8' });
  return { folder, out: run.stdout, err: run.stderr, status: run.status, file: (name) => readFileSync(join(folder, name)) };
}
