// Lays out the page as plain static files: the page's own sources, the
// WebAssembly build, the icons, and a service worker that knows
// every file and a version that changes with any of them.
// Usage: node web/tools/site.mjs BUILD_DIR
import { createHash } from 'node:crypto';
import { cpSync, mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';
import { xpmToPng } from './icon.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const build = process.argv[2];
const site = join(build, 'site');

rmSync(site, { recursive: true, force: true });
cpSync(join(root, 'web', 'page'), site, { recursive: true });
for (const file of ['varnel.mjs', 'varnel.wasm']) cpSync(join(build, file), join(site, file));
mkdirSync(join(site, 'icons'));
cpSync(join(root, 'ui', 'icons', 'varnel-rom-editor-32.png'), join(site, 'icons', 'icon-32.png'));
const drawing = readFileSync(join(root, 'ui', 'icons', 'varnel-rom-editor-32.xpm'), 'utf8');
for (const side of [192, 512]) writeFileSync(join(site, 'icons', `icon-${side}.png`), xpmToPng(drawing, side / 32));

const listed = (folder) => readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
  (entry.isDirectory() ? listed(join(folder, entry.name)) : [join(folder, entry.name)]));
const files = listed(site).filter((file) => !file.endsWith('sw.js')).map((file) => relative(site, file)).sort();
const hash = createHash('sha256');
for (const file of files) hash.update(file).update(readFileSync(join(site, file)));
const worker = readFileSync(join(site, 'sw.js'), 'utf8')
  .replace('@SITE_VERSION@', hash.digest('hex').slice(0, 16))
  .replace('@SITE_FILES@', ['./', ...files].map((file) => JSON.stringify(file)).join(', '));
writeFileSync(join(site, 'sw.js'), worker);
console.log(`Site: ${site} (${files.length + 1} files)`);
