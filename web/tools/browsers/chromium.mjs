// Chromium (Debian's /usr/bin/chromium) through Playwright, which downloads no browser here.
import { chromium } from '@playwright/test';

export const chromiumOptions = {
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};

// One browser per worker; each page in a context of its own, or with
// `profile` a browser of its own on that profile folder, as installing needs.
export async function launchChromium() {
  let browser = null;
  return {
    phone: true, // a 360 × 640 page with touch
    version: async () => (browser ??= await chromium.launch(chromiumOptions)).version(),
    async newPage({ phone, profile }) {
      const settings = phone ? { viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true } : {};
      let context;
      if (profile) context = await chromium.launchPersistentContext(profile, { ...chromiumOptions, ...settings });
      else {
        browser ??= await chromium.launch(chromiumOptions);
        context = await browser.newContext(settings);
      }
      const page = context.pages()[0] ?? await context.newPage();
      return {
        touch: Boolean(phone),
        goto: (url) => page.goto(url),
        reload: () => page.reload(),
        run: (body, args) => page.evaluate(`(async function () { ${body} }).apply(null, ${JSON.stringify(args)})`),
        click: (selector) => page.locator(selector).click(),
        tap: (selector) => page.locator(selector).tap(),
        setFiles: (selector, path) => page.locator(selector).setInputFiles(path),
        type: (text) => page.keyboard.type(text),
        press: (key) => page.keyboard.press(key),
        setViewport: (width, height) => page.setViewportSize({ width, height }),
        async installabilityErrors() {
          const cdp = await context.newCDPSession(page);
          return (await cdp.send('Page.getInstallabilityErrors')).installabilityErrors;
        },
        close: () => context.close(),
      };
    },
    close: () => browser?.close(),
  };
}
