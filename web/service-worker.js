// web/service-worker.js: keeps one build of the site (page, script, module,
// data) in a cache named after that build, so that a reload offline plays.
//
// Every file is served from the cache first, the page too: a start never
// waits on the network, and the page, script, module and data always come
// from the same build. The browser checks this file on every visit, and its
// bytes carry the build's hash, so a new build installs a new worker, which
// fetches that build whole in the background and takes over at the next load.
'use strict';
// A hash of the site's files, written by scripts/build-web.
const kBuild = '@BUILD@';
// Several copies of the site may share an origin (folders of a portal).
const kPrefix = `marvolet ${self.registration.scope} `;
const kCache = kPrefix + kBuild;
// Kept as the worker installs; each detail level's data is added, with the
// icons, once a running page says that its screen uses that level.
const kStart = ['index.html', 'marvolet.js', 'marvolet.wasm', 'data-common.js', 'data-common.data',
                'data-play-common.json', 'data-play-common.data'];
const kLater = ['icon.png', 'manifest.json', 'icon-192.png', 'icon-512.png',
                'icon-maskable-192.png', 'icon-maskable-512.png'];
// A level's menu part, and what a game in play draws at that level.
const levelFiles = level => [`data-${level}.js`, `data-${level}.data`,
                             `data-play-${level}.json`, `data-play-${level}.data`];
const isLevelFile = name => /^data-(\d\.(js|data)|play-\d\.(json|data))$/.test(name);

// One download per file, however many ask for it at once. `no-cache` asks the
// server, so that the browser's own cache cannot hand in an older build.
const downloads = new Map();
function keep(cache, name) {
  if (!downloads.has(name)) {
    downloads.set(name, fetch(name, {cache: 'no-cache'}).then(response => {
      if (!response.ok) throw new Error(`${name}: ${response.status}`);
      return cache.put(name, response);
    }).finally(() => downloads.delete(name)));
  }
  return downloads.get(name);
}
async function keepAll(names) {
  const cache = await caches.open(kCache);
  const missing = [];
  for (const name of names) {
    if (!await cache.match(name)) missing.push(name);
  }
  await Promise.all(missing.map(name => keep(cache, name)));
}

// The levels that the build before this one kept: the same screens use them.
async function levelsKeptBefore() {
  const names = new Set();
  for (const key of await caches.keys()) {
    if (!key.startsWith(kPrefix) || key === kCache) continue;
    for (const request of await (await caches.open(key)).keys()) {
      const name = request.url.slice(self.registration.scope.length);
      if (isLevelFile(name)) names.add(name);
    }
  }
  return [...names];
}

self.addEventListener('install', event => {
  event.waitUntil((async () => {
    await keepAll(kStart.concat(await levelsKeptBefore()));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', event => {
  event.waitUntil((async () => {
    const old = (await caches.keys()).filter(key => key.startsWith(kPrefix) && key !== kCache);
    await Promise.all(old.map(key => caches.delete(key)));
    await self.clients.claim();
  })());
});

// A page's levels, sent once its menu shows.
self.addEventListener('message', event => {
  const levels = (event.data && event.data.levels) || [];
  const names = levels.filter(level => [1, 2, 4].includes(level)).flatMap(levelFiles);
  event.waitUntil(keepAll(names.concat(kLater)).catch(error => {
    console.warn('Marvolet: not all kept for offline play', error);
  }));
});

// The site's own files, by their names below the scope; anything else goes
// to the network untouched.
function siteFile(request) {
  const url = new URL(request.url);
  url.search = '';
  if (request.method !== 'GET' || !url.href.startsWith(self.registration.scope)) return null;
  const name = url.href.slice(self.registration.scope.length);
  if (request.mode === 'navigate') return name === '' || name === 'index.html' ? 'index.html' : null;
  return kStart.includes(name) || kLater.includes(name) || isLevelFile(name) ? name : null;
}

self.addEventListener('fetch', event => {
  const name = siteFile(event.request);
  if (!name) return;
  event.respondWith((async () => {
    const cache = await caches.open(kCache);
    const hit = await cache.match(name);
    if (hit) return hit;
    try {
      await keep(cache, name);
    } catch (error) {
      // the network's own answer: its error, or a file the cache refused
    }
    return (await cache.match(name)) || fetch(event.request);
  })());
});
