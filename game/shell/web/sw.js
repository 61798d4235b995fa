// The page's service worker: a copy of the page for visits without a
// network. The build writes the version and the lists below
// (page_files.py worker); the version is a hash of every file, so a new
// build is a new worker with a cache of its own, which replaces the old one
// on the next visit.
//
// Online, every file comes from the network as the server has it now
// (checked, not taken from the browser's cache), so a visit never mixes
// two builds; the copy only answers when the network does not.
//
// One build's copy gives way to the next's in a fixed order, not by timing:
// the new worker writes its own copy while it installs; from then on the
// old one writes nothing (it only answers; the page asks it nothing more,
// since a message would start a stopped worker again and hold the new one
// back for its idle time), and every write it began before
// is inside one of its events, which a browser lets finish before the new
// worker activates; the new worker, active, deletes every other copy and
// takes the page over; the page then tells it what to keep, and hears only
// from the worker it asks. No page and no worker opens another build's
// copy, which would make it again.
const VERSION = "@VERSION@";
const CACHE = "plinkfield-" + VERSION;
// What every visit needs, whatever its screen: kept when the worker installs.
const SHELL = @SHELL@;
// The pictures at both scales and the sounds in both sets: kept as the page
// fetches them, since which it fetches depends on the screen and the
// browser (it tells which it has, since its first visit came before the
// worker).
const PICTURES = @PICTURES@;
const SOUNDS = @SOUNDS@;

const AS_FETCHED = new Set(PICTURES.concat(SOUNDS));
const FILES = new Set(SHELL.concat(PICTURES, SOUNDS));

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

// A newer build's worker has come (installing, or installed and waiting to
// activate): this one writes nothing more. (Once that one is active this
// one has no events left to answer.)
function superseded() {
    return !!(self.registration.installing || self.registration.waiting);
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

// {keep: [paths]} from the page: the pictures and sounds it fetched, kept
// unless they are already. Answered with how many of them the copy holds.
self.addEventListener("message", (event) => {
    if (superseded()) return;
    const wanted = ((event.data && event.data.keep) || []).filter((path) => AS_FETCHED.has(path));
    event.waitUntil(caches.open(CACHE).then(async (cache) => {
        const missing = [];
        for (const path of wanted)
            if (!(await cache.match(path))) missing.push(path);
        await cache.addAll(missing.map(fresh));
        const kept = (await cache.keys()).filter((request) => AS_FETCHED.has(fileOf(request)));
        event.source.postMessage({kept: kept.length, version: VERSION});
    }));
});

self.addEventListener("fetch", (event) => {
    const request = event.request;
    const path = request.method === "GET" ? fileOf(request) : null;
    if (!path) return;
    event.respondWith(fetch(request, {cache: "no-cache"}).then((response) => {
        // What the page fetches while this worker runs it is kept as well.
        if (response.ok && AS_FETCHED.has(path) && !superseded()) {
            const copy = response.clone();
            event.waitUntil(caches.open(CACHE).then((cache) => cache.put(path, copy)));
        }
        return response;
    }, () => caches.match(path).then((kept) => kept || Response.error())));
});
