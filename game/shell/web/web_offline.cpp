// The page plays without a network once it has been visited: after the
// first frame it registers its service worker (sw.js, written by the build
// with the page's files and a version that is a hash of them all), which
// keeps the page's files in a cache of that version. The pictures depend on
// the screen and the sounds on the browser, so the page tells the worker
// which ones it has fetched, and the worker keeps those too. Module.offline
// says how far that has got, for the probe.
#include <emscripten/emscripten.h>

#include "game/shell/web/web_shell.h"

EM_JS(void, js_keep_offline_copy, (), {
    const page = Module.page;
    Module.offline = {state: "none", version: null, kept: 0};
    // Workers need a secure context: https, or a page served from this
    // machine. Elsewhere the page simply plays online.
    if (!("serviceWorker" in navigator) || !window.isSecureContext) return;
    const workers = navigator.serviceWorker;
    let registration = null;
    // The worker that keeps the copy: the one running the page, or on the
    // first visit the one just installed.
    const keeper = () => workers.controller || (registration && registration.active);
    // While a newer build's worker installs or waits, the old one is let go
    // as soon as it idles; a message would start it again, and the new one
    // would then wait out its whole idle time. So nothing is asked until the
    // new one has taken over, or failed to install.
    const newerComing = () => registration && (registration.installing || registration.waiting);
    page.keepCopy = () => {
        const worker = keeper();
        if (worker && !newerComing()) worker.postMessage({keep: page.fetched.slice()});
    };
    const follow = (worker) => {
        if (worker) worker.addEventListener("statechange", () => {
            if (worker.state === "redundant") page.keepCopy();
        });
    };
    // Only the keeper's answer counts: an older build's worker may still be
    // busy with what it was asked before the new one took over.
    workers.addEventListener("message", (event) => {
        if (event.source === keeper() && event.data && event.data.kept !== undefined)
            Module.offline = {state: "ready", version: event.data.version, kept: event.data.kept};
    });
    // A new worker (a new build) takes over: it keeps what this page uses.
    workers.addEventListener("controllerchange", page.keepCopy);
    Module.offline.state = "registering";
    workers.register("sw.js").then((registered) => {
        registration = registered;
        follow(registered.installing || registered.waiting);
        registered.addEventListener("updatefound", () => follow(registered.installing));
        return workers.ready;
    }).then((ready) => {
        registration = ready;
        if (Module.offline.state === "registering") Module.offline.state = "installed";
        page.keepCopy();
    }, (error) => {
        Module.offline.state = "failed";
        console.warn("plinkfield: no offline copy: " + error.message);
    });
});

EM_JS(void, js_keep_copy, (), {
    if (Module.page.keepCopy) Module.page.keepCopy();
});

void keep_offline_copy() { js_keep_offline_copy(); }

void offline_copy_keep_fetched() { js_keep_copy(); }
