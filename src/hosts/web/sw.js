// Keeps every file of the page, so that it opens and plays without the network. files.json,
// written by the build, names the page's version and its files. Each version is kept in a cache
// of its own, complete once it holds files.json itself. Once a page has loaded (it says so),
// the worker asks for files.json, and a new version is fetched whole into a new cache, which then
// replaces the old: never while a page loads, so a page's files all come from one version.
// The record files live in IndexedDB, untouched here.
const LIST = 'files.json';
// Several copies of the page may share a site under different folders: each keeps to its own.
const PREFIX = `tolvaro ${self.registration.scope} `;

// The newest complete cache, or null.
async function keptCache() {
  const names = (await caches.keys()).filter((name) => name.startsWith(PREFIX));
  for (const name of names.reverse()) {
    const cache = await caches.open(name);
    if (await cache.match(LIST)) return cache;
  }
  return null;
}

// Fetches the server's version into a cache of its own when it is not kept yet; then only the
// complete cache of that version stays. Without the network, what is kept stays.
async function refresh() {
  const response = await fetch(LIST, { cache: 'no-store' });
  if (!response.ok) return;
  const list = await response.clone().json();
  const name = PREFIX + list.version;
  const cache = await caches.open(name);
  if (!(await cache.match(LIST))) {
    // Checked with the server, so that no stale copy of a file joins the new version.
    await cache.addAll(list.files.map((file) => new Request(file, { cache: 'no-cache' })));
    await cache.put(LIST, response);
  }
  const others = (await caches.keys()).filter((k) => k.startsWith(PREFIX) && k !== name);
  await Promise.all(others.map((k) => caches.delete(k)));
}

self.addEventListener('install', (event) => {
  event.waitUntil(refresh().then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('message', (event) => {
  if (event.data === 'loaded') event.waitUntil(refresh().catch(() => {}));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  event.respondWith(keptCache()
    .then((cache) => cache && cache.match(request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(request)));
});
