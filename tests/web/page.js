// What the browser tests share: synthetic images, the page opened and used
// as a person would, files handed over, and varnel-rom-tables on the same files.
import { spawn, spawnSync } from 'node:child_process';
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

// A server of the test's own for the built page, which the test may stop: {url, stop()}.
export async function serveSite() {
  const server = spawn('node', [new URL('../../web/tools/serve.mjs', import.meta.url).pathname,
    new URL('../../build-web/site', import.meta.url).pathname, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => { const found = String(data).match(/http:\/\/\S+\//); if (found) resolve(found[0]); });
    server.on('exit', (code) => reject(new Error(`serve.mjs stopped (${code}) before serving`)));
  });
  return { url, stop: () => new Promise((resolve) => { server.on('exit', resolve); server.kill(); }) };
}

// Runs varnel-rom-tables on files in a fresh folder: its output, status and folder.
export function tables(files, ...args) {
  const folder = mkdtempSync(join(tmpdir(), 'varnel-web-'));
  for (const [name, bytes] of Object.entries(files)) writeFileSync(join(folder, name), bytes);
  const program = new URL('../../build/cli/varnel-rom-tables', import.meta.url).pathname;
  const run = spawnSync(program, args, { cwd: folder, encoding: 'utf8' });
  return { folder, out: run.stdout, err: run.stderr, status: run.status, file: (name) => readFileSync(join(folder, name)) };
}
