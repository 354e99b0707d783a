// Writes the service worker of a laid-out site: its version, which changes
// with any file, and the list of files it keeps.
import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { join, relative } from 'node:path';

// `template` is the page's sw.js as written, with @SITE_VERSION@ and @SITE_FILES@.
export function stampWorker(site, template) {
  const listed = (folder) => readdirSync(folder, { withFileTypes: true }).flatMap((entry) =>
    (entry.isDirectory() ? listed(join(folder, entry.name)) : [join(folder, entry.name)]));
  const files = listed(site).map((file) => relative(site, file)).filter((file) => file !== 'sw.js').sort();
  const hash = createHash('sha256');
  for (const file of files) hash.update(file).update(readFileSync(join(site, file)));
  const version = hash.digest('hex').slice(0, 16);
  // Every address of a style sheet or script names the version: engines keep those in memory
  // by address, past the worker, and a long max-age would pair old ones with a new page.
  for (const file of files.filter((name) => /\.(html|m?js)$/.test(name))) {
    const text = readFileSync(join(site, file), 'utf8');
    writeFileSync(join(site, file), text.replace(/((?:href|src)="|from ')([\w./-]+\.(?:css|m?js))(?:\?v=[0-9a-f]*)?(["'])/g, `$1$2?v=${version}$3`));
  }
  writeFileSync(join(site, 'sw.js'), template
    .replace('@SITE_VERSION@', version)
    .replace('@SITE_FILES@', ['./', ...files].map((file) => JSON.stringify(file)).join(', ')));
  return { version, files };
}
