// Lays out the page as plain static files: the page's own sources, the
// WebAssembly build, the icons, and a service worker that knows
// every file and a version that changes with any of them (stamp.mjs).
// Usage: node web/tools/site.mjs BUILD_DIR
import { cpSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { renderIcons } from './icons.mjs';
import { fillLicenceTexts } from './notices.mjs';
import { stampSite } from './stamp.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const build = process.argv[2];
const site = join(build, 'site');

rmSync(site, { recursive: true, force: true });
cpSync(join(root, 'web', 'page'), site, { recursive: true });
for (const file of ['varnel.mjs', 'varnel.wasm']) cpSync(join(build, file), join(site, file));
renderIcons(root, join(site, 'icons'));
fillLicenceTexts(root, join(site, 'licences.html'));

// Every module and the WebAssembly are asked for at once, not each after the
// module that imports it.
const modules = ['varnel.mjs', ...readdirSync(join(site, 'app')).map((name) => `app/${name}`)];
const preloads = [...modules.map((file) => `<link rel="modulepreload" href="${file}">`),
  '<link rel="preload" href="varnel.wasm" as="fetch" type="application/wasm" crossorigin>'];
const page = readFileSync(join(site, 'index.html'), 'utf8');
writeFileSync(join(site, 'index.html'), page.replace('<script type="module"', `${preloads.join('\n')}\n<script type="module"`));

const { files } = stampSite(site, readFileSync(join(root, 'web', 'page', 'sw.js'), 'utf8'));
console.log(`Site: ${site} (${files.length + 1} files)`);
