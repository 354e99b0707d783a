// What the page owes others and what a home screen asks of it: the "许可"
// page credits every library the page carries with its licence text, under
// the same policy and offline as the rest, and every icon the manifest names
// has the size it claims.
import { expect, test } from './driver/index.js';

test('the 许可 link leads to each library the page carries, with its licence text, and the manifest\'s icons have their sizes', async ({ page }) => {
  await page.open();
  await page.click('许可');
  await page.until(() => page.evaluate(() => location.pathname.endsWith('/licences.html') && document.readyState === 'complete')
    .catch(() => false), 'the 许可 page'); // false while the next page loads
  expect(await page.texts('h1')).toEqual(['许可']);
  expect(await page.texts('main h2')).toEqual(expect.arrayContaining(
    ['VarnelROM修改器', 'nlohmann-json', 'Boost', 'emscripten', 'musl', 'libc++、libc++abi、compiler-rt', 'dlmalloc']));
  // Each licence's text by its heading, as a screen reader names the region.
  const texts = await page.evaluate(() => Object.fromEntries([...document.querySelectorAll('section')]
    .map((section) => [section.querySelector('h2, h3').textContent, section.querySelector('pre')?.textContent ?? ''])));
  for (const [heading, text] of [['VarnelROM修改器', 'Copyright (c) 2026 VarnelROM修改器开发组'], ['MIT License', 'Permission is hereby granted'],
    ['Apache License 2.0 with LLVM Exceptions', 'TERMS AND CONDITIONS'], ['Boost Software License 1.0', 'Version 1.0']]) expect(texts[heading], heading).toContain(text);
  expect(Object.values(texts).join('')).not.toMatch(/@[A-Z]+@/);
  // The policy allows no inline script or style, and the page is kept for offline use.
  expect(await page.evaluate(() => [document.querySelectorAll('script, style, [style]').length, document.documentElement.scrollWidth <= innerWidth])).toEqual([0, true]);
  expect(await page.evaluate(() => fetch('sw.js').then((response) => response.text()))).toContain('"licences.html"');

  // Every icon the manifest names has the size it claims, a maskable one among them.
  const icons = await page.evaluate(async () => Promise.all((await fetch('manifest.webmanifest').then((response) => response.json())).icons.map(async (icon) => {
    const header = new DataView(await fetch(icon.src).then((response) => response.arrayBuffer()));
    return { ...icon, actual: `${header.getUint32(16)}x${header.getUint32(20)}` };
  })));
  for (const icon of icons) expect(icon.actual, icon.src).toBe(icon.sizes);
  expect(icons.filter((icon) => icon.purpose === 'maskable').map((icon) => icon.sizes)).toEqual(['512x512']);
  expect(icons.map((icon) => icon.sizes)).toEqual(expect.arrayContaining(['192x192', '512x512']));
});
