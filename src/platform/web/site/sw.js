// Keeps the page working offline: every file of the site is kept at the first visit; later
// visits take the network's copy when there is one and the kept copy when there is none.
const CACHE = 'ostrova-settings-@PROJECT_VERSION@';
const FILES = ['./', 'index.html', 'ostrova.css', 'ostrova-settings.js', 'ostrova-settings.wasm',
  'manifest.webmanifest', 'icons/ostrova-settings-32.png', 'icons/ostrova-settings-128.png',
  'icons/ostrova-settings-256.png', 'fonts/LiberationSerif-Regular.woff2',
  'fonts/LiberationSans-Regular.woff2', 'fonts/LiberationSans-BoldItalic.woff2'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(CACHE).then((cache) => cache.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request, {ignoreSearch: true})));
});
