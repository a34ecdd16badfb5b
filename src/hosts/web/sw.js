// Keeps every file of the page, so that it opens and plays without the network. The build puts
// in the page's version and its files; a new version gets a cache of its own at the next visit
// with the network, and the old one goes. The record files live in IndexedDB, untouched here.
const VERSION = '@PAGE_VERSION@';
const FILES = ['@PAGE_FILES@'];
// Several copies of the page may share a site under different folders: each keeps to its own.
const PREFIX = `tolvaro ${self.registration.scope} `;
const CACHE = PREFIX + VERSION;

self.addEventListener('install', (event) => {
  // Straight from the server, so that no stale copy of a file joins the new version.
  const requests = FILES.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(requests))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith(PREFIX) && k !== CACHE)
      .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
