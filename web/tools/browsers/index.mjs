// The three engines people use, all from Debian, for the browser tests, the
// benchmarks and the screenshots. Each launcher gives a browser whose pages do
// the few things that must come from outside a page:
//   goto(url), reload(), run(body, args) — a function body run in the page,
//   click(selector), tap(selector), setFiles(selector, path), type(text),
//   press(key), setViewport(width, height), close(); and `touch`, whether
//   tap() works there. `phone` says whether the engine can show a 360 px page.
import { spawn } from 'node:child_process';

export const engines = ['chromium', 'firefox', 'webkit'];

export async function launch(engine) {
  if (engine === 'chromium') return (await import('./chromium.mjs')).launchChromium();
  if (engine === 'firefox') return (await import('./firefox.mjs')).launchFirefox();
  if (engine === 'webkit') return (await import('./webkit.mjs')).launchWebKit();
  throw new Error(`No engine “${engine}”; the engines are ${engines.join(', ')}`);
}

// Serves a built site on 127.0.0.1, on a free port, with `env` for the server
// (its settings are in serve.mjs); resolves with its address once it listens.
export async function serveSite(site, env = {}) {
  const server = spawn('node', [new URL('../serve.mjs', import.meta.url).pathname, site, '0'],
    { env: { ...process.env, ...env }, stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => { const found = String(data).match(/http:\/\/\S+\//); if (found) resolve(found[0]); });
    server.once('exit', (code) => reject(new Error(`The page's server stopped (${code}) before serving`)));
  });
  return { url, stop: () => new Promise((resolve) => { server.once('exit', resolve); server.kill(); }) };
}
