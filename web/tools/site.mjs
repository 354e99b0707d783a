// Lays out the page as plain static files: the page's own sources, the
// WebAssembly build, Papa Parse, the icons, and a service worker that knows
// every file and a version that changes with any of them.
// Usage: node web/tools/site.mjs BUILD_DIR
import { createHash } from 'node:crypto';
import { cpSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';
import { renderIcons } from './icons.mjs';
import { fillLicenceTexts } from './notices.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const build = process.argv[2];
const site = join(build, 'site');

rmSync(site, { recursive: true, force: true });
cpSync(join(root, 'web', 'page'), site, { recursive: true });
for (const file of ['varnel.mjs', 'varnel.wasm']) cpSync(join(build, file), join(site, file));
cpSync(join(root, 'node_modules', 'papaparse', 'papaparse.min.js'), join(site, 'papaparse.min.js'));
renderIcons(root, join(site, 'icons'));
fillLicenceTexts(root, join(site, 'licences.html'));

// Every module and the WebAssembly are asked for at once, not each after the
// module that imports it.
const modules = ['varnel.mjs', ...readdirSync(join(site, 'app')).map((name) => `app/${name}`)];
const preloads = [...modules.map((file) => `<link rel="modulepreload" href="${file}">`),
  '<link rel="preload" href="varnel.wasm" as="fetch" type="application/wasm" crossorigin>'];
const page = readFileSync(join(site, 'index.html'), 'utf8');
writeFileSync(join(site, 'index.html'), page.replace('<script type="module"', `${preloads.join('\n')}\n<script type="module"`));

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
