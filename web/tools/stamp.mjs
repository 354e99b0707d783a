// Stamps a laid-out site with its version, which changes with any file: every
// reference between the page's own files carries it (file.js?v=…), so that no
// cache of the browser's (its HTTP cache, an engine's memory cache) can pair
// files of two versions; and the service worker gets it with the list of
// files it keeps. Stamping a site again gives it its new version.
import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { join, relative } from 'node:path';

const stamp = /\?v=[0-9a-f]{16}/g;
const references = {
  html: /((?:href|src)=")([^"#:?]+\.(?:css|m?js|wasm|webmanifest|png))(?=")/g,
  js: /(\b(?:from|import)\s*\(?['"])(\.{1,2}\/[^'"?]+)(?=['"])/g,
};
const kindOf = (file) => (file.endsWith('.html') ? 'html' : /\.m?js$/.test(file) ? 'js' : null);

// `template` is the page's sw.js as written, with @SITE_VERSION@ and @SITE_FILES@.
export function stampSite(site, template) {
  const listed = (folder) => readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
    (entry.isDirectory() ? listed(join(folder, entry.name)) : [join(folder, entry.name)]));
  const files = listed(site).map((file) => relative(site, file)).filter((file) => file !== 'sw.js').sort();
  const texts = new Map(files.filter(kindOf).map((file) => [file, readFileSync(join(site, file), 'utf8').replace(stamp, '')]));
  const hash = createHash('sha256');
  for (const file of files) hash.update(file).update(texts.get(file) ?? readFileSync(join(site, file)));
  const version = hash.digest('hex').slice(0, 16);
  for (const [file, text] of texts) writeFileSync(join(site, file), text.replace(references[kindOf(file)], `$1$2?v=${version}`));
  writeFileSync(join(site, 'sw.js'), template
    .replace('@SITE_VERSION@', version)
    .replace('@SITE_FILES@', ['./', ...files].map((file) => JSON.stringify(file)).join(', ')));
  return { version, files };
}
