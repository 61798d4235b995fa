// The page's service worker: a copy of the page for visits without a
// network. The build writes the version and the lists below
// (page_files.py worker); the version is a hash of every file, so a new
// build is a new worker with a cache of its own, which replaces the old one
// on the next visit.
//
// Online, every file comes from the network as the server has it now
// (checked, not taken from the browser's cache), so a visit never mixes
// two builds; the copy only answers when the network does not.
const VERSION = "@VERSION@";
const CACHE = "plinkfield-" + VERSION;
// What every visit needs, whatever its screen: kept when the worker installs.
const SHELL = @SHELL@;
// The pictures, at both scales: kept as the page fetches them (it tells
// which it has, since its first visit came before the worker).
const PICTURES = @PICTURES@;

const FILES = new Set(SHELL.concat(PICTURES));

// The file a request asks for, by its path in the page; navigations are
// the page itself, whatever follows its address ("?record").
function fileOf(request) {
    const url = new URL(request.url);
    const scope = new URL(self.registration.scope);
    if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return null;
    if (request.mode === "navigate") return "index.html";
    const path = url.pathname.slice(scope.pathname.length);
    return FILES.has(path) ? path : null;
}

function fresh(path) {
    return new Request(path, {cache: "no-cache"});
}

// This version's copy to write to, or null once a newer worker has deleted
// it: a worker that still runs a page of the old build must not make its
// copy again beside the new one.
function ownCopy() {
    return caches.has(CACHE).then((has) => (has ? caches.open(CACHE) : null));
}

// A newer worker runs the page now: a write of this one's that raced its
// deletion is undone.
function dropIfSuperseded() {
    const active = self.registration.active;
    if (self.serviceWorker && active && active !== self.serviceWorker) return caches.delete(CACHE);
    return Promise.resolve();
}

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(CACHE)
        .then((cache) => cache.addAll(SHELL.map(fresh)))
        .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names
            .filter((name) => name.startsWith("plinkfield-") && name !== CACHE)
            .map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// {keep: [paths]} from the page: the pictures it fetched, kept unless they
// are already. Answered with how many of the copy's pictures there are.
self.addEventListener("message", (event) => {
    const wanted = ((event.data && event.data.keep) || []).filter((path) => PICTURES.includes(path));
    event.waitUntil(ownCopy().then(async (cache) => {
        if (!cache) return;
        const missing = [];
        for (const path of wanted)
            if (!(await cache.match(path))) missing.push(path);
        await cache.addAll(missing.map(fresh));
        const kept = (await cache.keys()).filter((request) => fileOf(request) && PICTURES.includes(fileOf(request)));
        event.source.postMessage({kept: kept.length, version: VERSION});
        await dropIfSuperseded();
    }));
});

self.addEventListener("fetch", (event) => {
    const request = event.request;
    const path = request.method === "GET" ? fileOf(request) : null;
    if (!path) return;
    event.respondWith(fetch(request, {cache: "no-cache"}).then((response) => {
        // Pictures fetched while this worker runs the page are kept as well.
        if (response.ok && PICTURES.includes(path)) {
            const copy = response.clone();
            event.waitUntil(ownCopy().then((cache) => cache && cache.put(path, copy)).then(dropIfSuperseded));
        }
        return response;
    }, () => ownCopy()
        // Opening a deleted copy would make it again, empty: an old worker
        // answers from whatever copy there is.
        .then((cache) => (cache ? cache.match(path) : caches.match(path)))
        .then((kept) => kept || Response.error())));
});
