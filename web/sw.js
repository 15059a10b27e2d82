// Keeps the page's files so that it opens and runs without a network after the first visit.
// The network comes first, so that a new version shows as soon as it is served; the kept copy
// answers when there is no network.
'use strict';

const CACHE = 'combogen-page';
const FILES = ['./', 'index.html', 'style.css', 'fields.js', 'words.js', 'complaints.js', 'page.js',
    'result.js', 'prize_table.js', 'checks.js', 'games.js', 'engine.js',
    'manifest.webmanifest', 'icon.svg', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES))
        .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
    event.respondWith(fetch(request).then((response) => {
        if (response.ok) {
            const copy = response.clone();
            event.waitUntil(caches.open(CACHE).then((cache) => cache.put(request, copy)));
        }
        return response;
    }).catch(() => caches.match(request, {ignoreSearch: true})
        .then((kept) => kept || Promise.reject(new Error('offline and not kept')))));
});
