// Fills the licence texts into the page of notices from their one home: the
// project's LICENSE (its MIT text serves the other MIT-licensed libraries
// too) and Debian's copy of the Apache License 2.0.
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const escaped = (text) => text.trim().replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

export function fillLicenceTexts(root, page) {
  const licence = readFileSync(join(root, 'LICENSE'), 'utf8');
  const texts = {
    '@LICENSE@': licence,
    '@MIT@': licence.slice(licence.indexOf('Permission is hereby granted')),
    '@APACHE@': readFileSync('/usr/share/common-licenses/Apache-2.0', 'utf8'),
  };
  let html = readFileSync(page, 'utf8');
  for (const [placeholder, text] of Object.entries(texts)) {
    if (!html.includes(placeholder)) throw new Error(`${page} has no place for ${placeholder}`);
    html = html.replace(placeholder, () => escaped(text));
  }
  writeFileSync(page, html);
}
