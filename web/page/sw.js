// Keeps the page's own files so that it opens and works with the network off.
// It fetches nothing but those files, and only from the page's own origin.
// A new version installs beside the old one and waits: the page asks the
// person before it takes over, so a page never pairs files of two versions.
const version = '@SITE_VERSION@';
const files = [@SITE_FILES@];
// Other pages may share the origin: this page's caches alone carry its scope.
const cachePrefix = `varnel ${self.registration.scope} `;
const cacheName = `${cachePrefix}${version}`;

self.addEventListener('install', (event) => {
  // Past the HTTP cache, so that a long max-age cannot put old files into a new version.
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith(cachePrefix) && name !== cacheName)
    .map((name) => caches.delete(name)))));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take-update') self.skipWaiting();
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  const path = url.pathname.endsWith('/') ? `${url.pathname}index.html` : url.pathname;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(new URL(path, url.origin).href, { ignoreSearch: true }))
    .then((cached) => cached ?? fetch(event.request)));
});
