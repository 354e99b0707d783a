// Lays out the page as plain static files: the page's own sources, the
// WebAssembly build, Papa Parse, the icons, and a service worker that knows
// every file and a version that changes with any of them.
// Usage: node web/tools/site.mjs BUILD_DIR
import { cpSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { xpmToPng } from './icon.mjs';
import { stampWorker } from './stamp.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const build = process.argv[2];
const site = join(build, 'site');

rmSync(site, { recursive: true, force: true });
cpSync(join(root, 'web', 'page'), site, { recursive: true });
for (const file of ['varnel.mjs', 'varnel.wasm']) cpSync(join(build, file), join(site, file));
cpSync(join(root, 'node_modules', 'papaparse', 'papaparse.min.js'), join(site, 'papaparse.min.js'));
mkdirSync(join(site, 'icons'));
cpSync(join(root, 'ui', 'icons', 'varnel-rom-editor-32.png'), join(site, 'icons', 'icon-32.png'));
const drawing = readFileSync(join(root, 'ui', 'icons', 'varnel-rom-editor-32.xpm'), 'utf8');
for (const side of [192, 512]) writeFileSync(join(site, 'icons', `icon-${side}.png`), xpmToPng(drawing, side / 32));

const { files } = stampWorker(site, readFileSync(join(root, 'web', 'page', 'sw.js'), 'utf8'));
console.log(`Site: ${site} (${files.length + 1} files)`);
