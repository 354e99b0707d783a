// WebKit (Debian's WebKitGTK) through WebKitWebDriver driving MiniBrowser,
// over plain W3C WebDriver: this driver refuses BiDi, and MiniBrowser has no
// headless mode, so it runs on an Xvfb display of its own unless there is one.
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';

const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const elementKey = 'element-6066-11e4-a52e-4f735466cecf';
const keys = {
  Backspace: '\uE003', Tab: '\uE004', Enter: '\uE007', Shift: '\uE008', Control: '\uE009', Alt: '\uE00A',
  Escape: '\uE00C', Space: ' ', PageUp: '\uE00E', PageDown: '\uE00F', End: '\uE010', Home: '\uE011',
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', Delete: '\uE017', Meta: '\uE03D',
};

const freePort = () => new Promise((resolve) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// Starts a program and waits until its output matches `ready`.
function start(program, args, ready) {
  const child = spawn(program, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  let said = '';
  let complaints = '';
  return new Promise((resolve, reject) => {
    child.stdout.on('data', (data) => {
      said += data;
      const found = said.match(ready);
      if (found) resolve({ child, found });
    });
    child.stderr.on('data', (data) => { complaints += data; });
    child.on('error', (error) => reject(new Error(`${program} did not start: ${error.message}`)));
    child.on('exit', (code) => reject(new Error(`${program} stopped (${code}) before it was ready: ${complaints}`)));
  });
}

// How long a WebDriver command may take. Scripts are bounded by the session's
// script timeout below; nothing else should take more than seconds.
const commandLimit = 150_000;
const setupLimit = 45_000;

// WebKitWebDriver, listening on a free port; resolves once its status says ready.
async function startDriver(env) {
  const port = await freePort();
  const endpoint = `http://127.0.0.1:${port}`;
  const child = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`], { env, stdio: ['ignore', 'ignore', 'pipe'] });
  let complaints = '';
  child.stderr.on('data', (data) => { complaints = (complaints + data).slice(-2000); });
  let stopped = null;
  child.on('error', (error) => { stopped = error.message; });
  child.on('exit', (code) => { stopped = `stopped (${code})`; });
  for (;;) {
    if (stopped) throw new Error(`WebKitWebDriver did not start: ${stopped} ${complaints}`);
    const ready = await fetch(`${endpoint}/status`).then((response) => response.json()).then(({ value }) => value.ready, () => false);
    if (ready) break;
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  const send = async (method, path, body, limit = commandLimit) => {
    let response;
    try {
      response = await fetch(`${endpoint}${path}`, {
        method, headers: { 'Content-Type': 'application/json' }, body: body === undefined ? undefined : JSON.stringify(body),
        signal: AbortSignal.timeout(limit),
      });
    } catch (error) {
      throw new Error(`WebKitWebDriver ${method} ${path}: no answer (${error.name}) ${complaints}`, { cause: error });
    }
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebKitWebDriver ${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  return { send, stop: () => child.kill() };
}

export async function launchWebKit() {
  const env = { ...process.env };
  let display = null;
  if (!env.DISPLAY) {
    display = await start('Xvfb', ['-displayfd', '1', '-screen', '0', '1920x1080x24', '-nolisten', 'tcp'], /(\d+)\n/);
    env.DISPLAY = `:${display.found[1]}`;
  }
  let driver;
  try {
    driver = await startDriver(env);
  } catch (error) {
    display?.child.kill();
    throw error;
  }
  let version = null;
  const send = (...args) => driver.send(...args);
  // Elements go in and out of scripts as WebDriver references.
  const call = (session, body, args) => send('POST', `${session}/execute/sync`, { script: body, args });
  const element = async (session, selector) =>
    (await send('POST', `${session}/element`, { using: 'css selector', value: selector }))[elementKey];
  const keyActions = (session, sequence) => send('POST', `${session}/actions`, {
    actions: [{ type: 'key', id: 'keyboard', actions: sequence }],
  });
  // The window is sized so that the page gets the width and height asked for.
  const setViewport = async (session, width, height, limit) => {
    for (let attempt = 0; attempt < 3; ++attempt) {
      const [innerWidth, innerHeight] = await send('POST', `${session}/execute/sync`, { script: 'return [innerWidth, innerHeight];', args: [] }, limit);
      if (innerWidth === width && innerHeight === height) return;
      const rect = await send('GET', `${session}/window/rect`, undefined, limit);
      await send('POST', `${session}/window/rect`, { width: rect.width + width - innerWidth, height: rect.height + height - innerHeight }, limit);
    }
  };
  // A new MiniBrowser of the size asked for.
  const openSession = async (width, height) => {
    const capabilities = { alwaysMatch: { 'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] } } };
    const made = await send('POST', '/session', { capabilities }, setupLimit);
    const session = `/session/${made.sessionId}`;
    await send('POST', `${session}/timeouts`, { script: 120_000, pageLoad: 60_000 }, setupLimit);
    await setViewport(session, width, height, setupLimit);
    version = made.capabilities.browserVersion;
    return session;
  };
  // On a busy machine the driver has been seen, rarely, to never answer while
  // a session starts; a fresh driver then starts it again.
  const newSession = async (width, height) => {
    try {
      return await openSession(width, height);
    } catch (error) {
      if (error.cause?.name !== 'TimeoutError') throw error;
      driver.stop();
      driver = await startDriver(env);
      return openSession(width, height);
    }
  };
  return {
    phone: false, // MiniBrowser's window is never narrower than about 447 px
    async version() {
      if (!version) await send('DELETE', await newSession(1280, 720));
      return version;
    },
    async newPage({ phone }) {
      const session = await newSession(phone ? 360 : 1280, phone ? 640 : 720);
      return {
        touch: false,
        goto: (url) => send('POST', `${session}/url`, { url }),
        reload: () => send('POST', `${session}/refresh`, {}),
        run: (body, args) => call(session, body, args),
        // The mouse at the element's middle: the driver's own element click finds
        // no field inside the grids' nested content-visibility boxes.
        async click(selector) {
          const [x, y] = await call(session, `const box = document.querySelector(arguments[0]).getBoundingClientRect();
            return [Math.round(box.left + box.width / 2), Math.round(box.top + box.height / 2)];`, [selector]);
          await send('POST', `${session}/actions`, { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [
            { type: 'pointerMove', x, y, origin: 'viewport' }, { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }] }] });
        },
        tap: () => { throw new Error('WebKitWebDriver has no touch input'); },
        setFiles: async (selector, path) => send('POST', `${session}/element/${await element(session, selector)}/value`, { text: path }),
        type: (text) => keyActions(session, [...text].flatMap((value) => [{ type: 'keyDown', value }, { type: 'keyUp', value }])),
        press: (key) => {
          const held = key.split('+').map((name) => keys[name] ?? name);
          return keyActions(session, [...held.map((value) => ({ type: 'keyDown', value })), ...held.reverse().map((value) => ({ type: 'keyUp', value }))]);
        },
        setViewport: (width, height) => setViewport(session, width, height),
        close: () => send('DELETE', session),
      };
    },
    async close() {
      driver.stop();
      display?.child.kill();
    },
  };
}
