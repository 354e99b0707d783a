// The runner's view of the engines: a browser per worker, a fresh page per test.
import { test as base, expect } from '@playwright/test';
import { Page } from './Page.js';
import { launch } from '../../../web/tools/browsers/index.mjs';

export const test = base.extend({
  engine: ['chromium', { option: true, scope: 'worker' }],
  device: ['desktop', { option: true }],
  profile: [false, { option: true }], // a browser profile of the test's own, as installing needs
  browserOfEngine: [async ({ engine }, use) => {
    const browser = await launch(engine);
    await use(browser);
    await browser.close();
  }, { scope: 'worker', timeout: 120_000 }], // starting and stopping a browser is slow on a busy machine
  page: [async ({ browserOfEngine, engine, device, profile, baseURL }, use, testInfo) => {
    testInfo.skip(device === 'phone' && !browserOfEngine.phone, `${engine} here cannot show a page 360 px wide`);
    const page = new Page(await browserOfEngine.newPage({ phone: device === 'phone', profile: profile && testInfo.outputPath('profile') }), engine, baseURL);
    await use(page);
    await page.close();
  }, { timeout: 120_000 }], // its own: WebKit's start is retried once when its driver hangs
});

export { expect };
