// What the page owes others and what a home screen asks of it: the "许可"
// page credits every library the page carries with its licence text, under
// the same policy and offline as the rest, and every icon the manifest names
// has the size it claims.
import { expect, test } from '@playwright/test';
import { openPage } from './page.js';

test('the 许可 link leads to each library the page carries, with its licence text', async ({ page }) => {
  const refused = [];
  page.on('console', (message) => { if (/Content Security Policy/.test(message.text())) refused.push(message.text()); });
  await openPage(page);
  await page.getByRole('link', { name: '许可', exact: true }).click();
  await expect(page.getByRole('heading', { level: 1, name: '许可' })).toBeVisible();
  for (const library of ['VarnelROM修改器', 'nlohmann-json', 'Boost', 'emscripten', 'musl', 'libc++、libc++abi、compiler-rt', 'dlmalloc']) {
    await expect(page.getByRole('heading', { level: 2, name: library, exact: true })).toBeVisible();
  }
  const texts = page.locator('pre');
  await expect(texts.first()).toContainText('Copyright (c) 2026 VarnelROM修改器开发组');
  await expect(page.getByRole('region', { name: 'MIT License' })).toContainText('Permission is hereby granted');
  await expect(page.getByRole('region', { name: 'Apache License 2.0 with LLVM Exceptions' })).toContainText('TERMS AND CONDITIONS');
  await expect(page.getByRole('region', { name: 'Boost Software License 1.0' })).toContainText('Version 1.0');
  expect(await texts.evaluateAll((all) => all.every((text) => !text.textContent.includes('@')))).toBe(true);
  expect(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth)).toBe(true);
  expect((await page.request.get('sw.js').then((response) => response.text()))).toContain('"licences.html"');
  expect(refused).toEqual([]);
});

test('every icon the manifest names has the size it claims, a maskable one among them', async ({ page }) => {
  await openPage(page);
  const manifest = await page.request.get('manifest.webmanifest').then((response) => response.json());
  expect(manifest.icons.filter((icon) => icon.purpose === 'maskable').map((icon) => icon.sizes)).toEqual(['512x512']);
  for (const icon of manifest.icons) {
    const png = await page.request.get(icon.src).then((response) => response.body());
    expect(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.src).toBe(icon.sizes);
  }
  expect(manifest.icons.map((icon) => icon.sizes)).toEqual(expect.arrayContaining(['192x192', '512x512']));
});
