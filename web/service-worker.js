// Keeps the page's files for play without the network, all under the build's version (a
// hash of the script, the wasm and the data, written in at build time): a new build's
// files are fetched together into a cache of their own, and the old cache is deleted when
// the new build takes over, so that a wasm never meets another build's data. The new build
// takes over once no page of the old one is open.
var cacheName = 'velmora-@VELMORA_BUILD@';
var files = ['./', 'index.html', 'velmora.js', 'velmora.wasm', 'velmora.data', 'manifest.webmanifest',
    'icon-192.png', 'icon-512.png'];

self.addEventListener('install', function (event) {
    // Past the browser's HTTP cache, which may still hold an older build's file.
    event.waitUntil(caches.open(cacheName).then(function (cache) {
        return cache.addAll(files.map(function (file) { return new Request(file, { cache: 'reload' }); }));
    }));
});

self.addEventListener('activate', function (event) {
    event.waitUntil(caches.keys().then(function (names) {
        return Promise.all(names.filter(function (name) { return name.indexOf('velmora-') === 0 && name !== cacheName; })
            .map(function (name) { return caches.delete(name); }));
    }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (event) {
    if (event.request.method !== 'GET') return;
    event.respondWith(caches.open(cacheName).then(function (cache) {
        return cache.match(event.request, { ignoreSearch: true }).then(function (kept) { return kept || fetch(event.request); });
    }));
});
