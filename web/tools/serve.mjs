// Serves a folder of static files on 127.0.0.1, as any static host would.
// Usage: node web/tools/serve.mjs FOLDER [PORT] (0: any free port)
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const folder = resolve(process.argv[2]);
const port = Number(process.argv[3] ?? process.env.PORT ?? 8080);
// A host's caching; CACHE_CONTROL=max-age=… stands for a host that caches long.
const cacheControl = process.env.CACHE_CONTROL ?? 'no-cache';
// WAIT_FOR_MISSING=1 stands for a slow network: a file not there yet is
// answered once it appears (for up to a minute), not refused.
const waitForMissing = process.env.WAIT_FOR_MISSING === '1';
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json; charset=utf-8',
};

async function arrival(file) {
  for (const end = Date.now() + 60_000; Date.now() < end;) {
    await new Promise((resolve) => setTimeout(resolve, 20));
    try { return await readFile(file); } catch { /* not there yet */ }
  }
  throw new Error(`${file} did not appear`);
}

createServer(async (request, response) => {
  const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  const file = normalize(join(folder, path.endsWith('/') ? `${path}index.html` : path));
  try {
    if (!file.startsWith(folder + sep)) throw new Error('outside the folder');
    const body = await readFile(file).catch((error) => (waitForMissing ? arrival(file) : Promise.reject(error)));
    response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream', 'Cache-Control': cacheControl });
    response.end(body);
  } catch {
    response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('not found');
  }
}).listen(port, '127.0.0.1', function listening() {
  // Port 0 picks a free port; this line says which.
  console.log(`Serving ${folder} on http://127.0.0.1:${this.address().port}/`);
});
