// Firefox ESR (Debian's /usr/bin/firefox-esr) through puppeteer-core over
// WebDriver BiDi; puppeteer-core downloads no browser.
import puppeteer from 'puppeteer-core';

const modifiers = new Set(['Shift', 'Control', 'Alt', 'Meta']);

export async function launchFirefox() {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
  });
  return {
    phone: true, // a 360 × 640 page with touch
    version: () => browser.version(),
    async newPage({ phone }) {
      const context = await browser.createBrowserContext();
      // The first tab of a context may get no focus or blur events: a page of its own, in front.
      const page = await context.newPage();
      await page.bringToFront();
      if (phone) await page.setViewport({ width: 360, height: 640, hasTouch: true, isMobile: true });
      else await page.setViewport({ width: 1280, height: 720 });
      const press = async (key) => {
        const keys = key.split('+');
        for (const held of keys.slice(0, -1)) await page.keyboard.down(held);
        await page.keyboard.press(keys.at(-1));
        for (const held of keys.slice(0, -1).reverse()) if (modifiers.has(held)) await page.keyboard.up(held);
      };
      return {
        touch: Boolean(phone),
        goto: (url) => page.goto(url),
        reload: () => page.reload(),
        run: (body, args) => page.evaluate(`(async function () { ${body} }).apply(null, ${JSON.stringify(args)})`),
        click: async (selector) => (await page.$(selector)).click(),
        tap: async (selector) => (await page.$(selector)).tap(),
        setFiles: async (selector, path) => (await page.$(selector)).uploadFile(path),
        type: (text) => page.keyboard.type(text),
        press,
        setViewport: (width, height) => page.setViewport({ width, height }),
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}
