// Chromium driven through its own DevTools pipe, with nothing more enabled in
// a page than a measurement needs. Playwright has the page report its
// network, console, log and scripts' contexts as it loads, which made a cold
// visit at 4× look about 200 ms slower than it is.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromiumOptions } from './chromium.mjs';

export async function launchQuietChromium() {
  const profile = mkdtempSync(join(tmpdir(), 'varnel-quiet-chromium-'));
  // fd 3 carries commands in, fd 4 answers and events out, each ending in a NUL.
  const child = spawn(chromiumOptions.executablePath,
    [...chromiumOptions.args, `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const [, , , commands, answers] = child.stdio;
  answers.setEncoding('utf8');
  let lastId = 0;
  const pending = new Map();
  const watchers = new Set();
  let buffered = '';
  // A browser that stops fails what waits on it rather than leaving it waiting.
  child.once('exit', (code, signal) => {
    for (const { method, reject } of pending.values()) reject(new Error(`${method}: Chromium stopped (${code ?? signal})`));
    pending.clear();
  });
  answers.on('data', (chunk) => {
    const messages = (buffered + chunk).split('\0');
    buffered = messages.pop();
    for (const message of messages.map((text) => JSON.parse(text))) {
      const waiting = pending.get(message.id);
      if (waiting) {
        pending.delete(message.id);
        if (message.error) waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
        else waiting.resolve(message.result);
      } else for (const watcher of watchers) watcher(message);
    }
  });
  const send = (method, params = {}, sessionId = undefined) => new Promise((resolve, reject) => {
    pending.set(++lastId, { method, resolve, reject });
    commands.write(`${JSON.stringify({ id: lastId, method, params, sessionId })}\0`);
  });
  const eventOnce = (sessionId, method) => new Promise((resolve) => {
    const watcher = (message) => {
      if (message.sessionId === sessionId && message.method === method) { watchers.delete(watcher); resolve(message.params); }
    };
    watchers.add(watcher);
  });

  return {
    // A tab in a context of its own (nothing cached), its CPU slowed `rate`
    // times, on `device` ({ width, height, deviceScaleFactor, mobile }).
    async newPage(rate, device) {
      const { browserContextId } = await send('Target.createBrowserContext', { disposeOnDetach: true });
      const { targetId } = await send('Target.createTarget', { url: 'about:blank', browserContextId });
      const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
      await send('Emulation.setCPUThrottlingRate', { rate }, sessionId);
      await send('Emulation.setDeviceMetricsOverride', device, sessionId);
      if (device.mobile) await send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 }, sessionId);
      await send('Page.enable', {}, sessionId);
      const evaluate = async (expression) => {
        const { result, exceptionDetails } = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true }, sessionId);
        if (exceptionDetails) throw new Error(`In the page: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
        return result.value;
      };
      return {
        // Resolves once the page has loaded; nothing of ours runs in it before.
        async goto(url) {
          const loaded = eventOnce(sessionId, 'Page.loadEventFired');
          await send('Page.navigate', { url }, sessionId);
          await loaded;
        },
        evaluate,
        async setFiles(selector, path) {
          const { result } = await send('Runtime.evaluate', { expression: `document.querySelector(${JSON.stringify(selector)})` }, sessionId);
          await send('DOM.setFileInputFiles', { files: [path], objectId: result.objectId }, sessionId);
        },
        close: () => send('Target.disposeBrowserContext', { browserContextId }),
      };
    },
    async close() {
      const exited = new Promise((resolve) => child.once('exit', resolve));
      await send('Browser.close').catch(() => child.kill());
      await exited;
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
