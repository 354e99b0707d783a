// The browser tests drive the built page (build-web/site/) in Debian's chromium.
import { defineConfig } from '@playwright/test';

const port = Number(process.env.VARNEL_TEST_PORT ?? 8079);

export default defineConfig({
  testDir: '.',
  testMatch: '*.test.js',
  timeout: 30_000,
  workers: 2,
  reporter: 'list',
  outputDir: '../../build-web/test-results',
  use: {
    baseURL: `http://127.0.0.1:${port}/`,
    browserName: 'chromium',
    acceptDownloads: true,
    launchOptions: {
      executablePath: '/usr/bin/chromium',
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    },
  },
  webServer: {
    command: `node ../../web/tools/serve.mjs ../../build-web/site ${port}`,
    url: `http://127.0.0.1:${port}/`,
    reuseExistingServer: false,
  },
});
