// The page as a person uses it, the same in every engine: see index.js for
// the list of what it does. The engine's own page (web/tools/browsers/)
// supplies only the few things that must come from outside the page.
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { installDriver } from './inPage.js';

const install = `(${installDriver})();`;

export class Page {
  constructor(engine, engineName, baseURL) {
    this.engine = engine;
    this.engineName = engineName;
    this.baseURL = baseURL;
    this.opened = false;
    this.folders = []; // of the files chosen, removed on closing
  }

  // Runs a method of the in-page driver, installing it first in a new document.
  call(method, ...args) {
    return this.engine.run(`${install} return window.varnelDriver[${JSON.stringify(method)}](...arguments);`, args);
  }

  // Runs `fn(...args)` in the page and returns its (awaited, JSON) result.
  evaluate(fn, ...args) {
    return this.engine.run(`return (${fn}).apply(null, arguments);`, args);
  }

  // Polls `check` until it returns something truthy, and returns that.
  async until(check, what, timeout = 30_000) {
    const end = Date.now() + timeout;
    for (;;) {
      const result = await check();
      if (result) return result;
      if (Date.now() > end) throw new Error(`Waited ${timeout} ms in ${this.engineName} for ${what}`);
      await new Promise((resolve) => setTimeout(resolve, 25));
    }
  }

  // Navigation, each ending when the page says it is ready (its code has
  // loaded), or only usable (an image can be chosen) if asked.
  async open(url = this.baseURL, until = 'ready') {
    await this.engine.goto(url);
    this.opened = true;
    await this.until(() => this.call(until), `the page to be ${until}`);
  }

  async reload() {
    await this.engine.reload();
    await this.until(() => this.call('ready'), 'the page to be ready after reloading');
  }

  // A CSS selector for the element with this accessible name, for evaluate().
  selector(name, role) { return this.call('tag', name, role); }

  // Actions, on the control with this accessible name.
  async click(name, role) {
    const selector = await this.call('tag', name, role);
    await this.until(() => this.call('reveal', selector), `${name} to be scrolled into view`);
    await this.engine.click(selector);
  }

  async tap(name) {
    if (!this.engine.touch) throw new Error(`${this.engineName} has no touch screen here`);
    const selector = await this.call('tag', name);
    await this.until(() => this.call('reveal', selector), `${name} to be scrolled into view`);
    await this.engine.tap(selector);
  }

  focus(name) { return this.call('focus', name); }
  type(text) { return this.engine.type(text); }
  press(key) { return this.engine.press(key); } // 'Enter', 'ArrowDown', 'Shift+Tab', 'Control+a'…

  // Types into a field instead of what it shows, then leaves it with Tab.
  async setField(name, text) {
    await this.focus(name);
    await this.evaluate((selector) => document.querySelector(selector).select(), await this.call('tag', name));
    await this.type(text);
    await this.press('Tab');
  }

  // Chooses a file in the file input with this accessible name.
  async choose(name, fileName, bytes) {
    const folder = mkdtempSync(join(tmpdir(), 'varnel-driver-'));
    this.folders.push(folder);
    writeFileSync(join(folder, fileName), bytes);
    await this.engine.setFiles(await this.call('tag', name), join(folder, fileName));
  }

  // Opens an image (loading the page first if need be) and waits for the page to say so.
  async openImage(bytes, fileName = 'game.nes') {
    if (!this.opened) await this.open();
    await this.choose('打开文件', fileName, bytes);
    await this.untilOpened(fileName);
  }

  // Waits for “已打开 fileName”, then until no part of the page is busy (every field shows its byte).
  async untilOpened(fileName) {
    await this.until(async () => (await this.status()).includes(`已打开 ${fileName}`), `“已打开 ${fileName}”`);
    await this.until(async () => !(await this.call('busy')), `the grids to show all of ${fileName}`);
  }

  drop(fileName, bytes) { return this.call('drop', fileName, Buffer.from(bytes).toString('base64')); }

  // The file the page hands over when the button is clicked (or `action` is done): {name, bytes}.
  async handedOver(buttonOrAction) {
    const before = await this.call('handedOverCount');
    await (typeof buttonOrAction === 'function' ? buttonOrAction() : this.click(buttonOrAction, 'button'));
    await this.until(async () => (await this.call('handedOverCount')) > before, `a file handed over by ${buttonOrAction}`);
    const { name, base64 } = await this.call('handedOver', before);
    return { name, bytes: base64 === null ? null : Buffer.from(base64, 'base64') };
  }

  // Confirm dialogs: the answers to give, in order (no answer left: cancel), and the questions asked.
  answerConfirms(...answers) { return this.call('answerConfirms', answers); }
  questions() { return this.call('questions'); }
  // The file inputs whose picker the page opened (the driver keeps pickers closed).
  pickersOpened() { return this.call('pickers'); }

  // What the page shows.
  value(name) { return this.call('value', name); }
  classes(name) { return this.call('classes', name); }
  isDisabled(name, role) { return this.call('disabled', name, role); }
  focused() { return this.call('focused'); }
  inView(name) { return this.call('inView', name); }
  alert() { return this.call('message', 'alert'); }
  status() { return this.call('message', 'status'); }
  messageParts(role) { return this.call('parts', role); }
  table(name) { return this.call('table', name); }
  count(name, role) { return this.call('count', name, role); }
  texts(selector) { return this.call('texts', selector); }
  shows(text) { return this.call('shows', text); }
  resources() { return this.call('resources'); }

  setViewport(width, height) { return this.engine.setViewport(width, height); }
  async close() {
    await this.engine.close();
    for (const folder of this.folders) rmSync(folder, { recursive: true, force: true });
  }
}
