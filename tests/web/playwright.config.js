// The browser tests drive the built page (build-web/site/) in each engine
// named in VARNEL_ENGINES (default: all three), one project per engine.
import { defineConfig } from '@playwright/test';
import { engines as known } from '../../web/tools/browsers/index.mjs';

const port = Number(process.env.VARNEL_TEST_PORT ?? 8079);
const engines = (process.env.VARNEL_ENGINES ?? known.join(',')).split(',').filter(Boolean);
for (const engine of engines) if (!known.includes(engine)) throw new Error(`VARNEL_ENGINES names “${engine}”; the engines are ${known.join(', ')}`);

export default defineConfig({
  testDir: '.',
  testMatch: '*.test.js',
  timeout: 90_000, // generous: WebKit on a busy machine is slow, and nothing here waits for a time
  expect: { timeout: 30_000 }, // how long expect.poll waits for what the page says
  workers: 2,
  reporter: 'list',
  outputDir: '../../build-web/test-results',
  use: { baseURL: `http://127.0.0.1:${port}/` },
  projects: engines.map((engine) => ({ name: engine, use: { engine } })),
  webServer: {
    command: `node ../../web/tools/serve.mjs ../../build-web/site ${port}`,
    url: `http://127.0.0.1:${port}/`,
    reuseExistingServer: false,
  },
});
