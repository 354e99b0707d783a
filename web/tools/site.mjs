// Lays out the page as plain static files: the page's own sources, the
// WebAssembly build, the icons, and a service worker that knows
// every file and a version that changes with any of them (stamp.mjs).
// Usage: node web/tools/site.mjs BUILD_DIR
import { cpSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { build as bundle } from 'esbuild';
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

// The page's modules as one, in place of app/main.js: one request and one
// compile instead of one each, which on a slow phone's CPU is most of the
// wait before the page answers. varnel.mjs stays apart, imported when needed.
rmSync(join(site, 'app'), { recursive: true });
await bundle({
  entryPoints: [join(root, 'web', 'page', 'app', 'main.js')], outfile: join(site, 'app', 'main.js'),
  bundle: true, format: 'esm', target: 'es2022', external: ['../varnel.mjs'], logLevel: 'warning',
});

// The WebAssembly is asked for with the page, not after the two modules
// before it. varnel.mjs is not: preloading a module compiles it too, and
// that delays the page's first paint more than it saves.
const preload = '<link rel="preload" href="varnel.wasm" as="fetch" type="application/wasm" crossorigin>';
const page = readFileSync(join(site, 'index.html'), 'utf8');
writeFileSync(join(site, 'index.html'), page.replace('<script type="module"', `${preload}\n<script type="module"`));

const { files } = stampSite(site, readFileSync(join(root, 'web', 'page', 'sw.js'), 'utf8'));
console.log(`Site: ${site} (${files.length + 1} files)`);
