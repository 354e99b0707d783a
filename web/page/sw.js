// Keeps the page's own files so that it opens and works with the network off.
// It fetches nothing but those files, and only from the page's own origin.
const version = '@SITE_VERSION@';
const files = [@SITE_FILES@];
const cacheName = `varnel-${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  const path = url.pathname.endsWith('/') ? `${url.pathname}index.html` : url.pathname;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(new URL(path, url.origin).href, { ignoreSearch: true }))
    .then((cached) => cached ?? fetch(event.request)));
});
