"""The page installable and playing offline: Chromium reports nothing that
keeps it from being installed; after one visit a reload with the network
off (and the server gone) plays; and a new build replaces the copy on the
next visit. Runs after the phone's checks, on the phone. Mixed into the
suite's Run."""
import json
import os
import subprocess
import sys

PHONE = (844, 390, 3, True)
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")
MEADOW = (180, 560)


class Offline:

    def kept_copy(self):
        """The offline copies in the page's origin: {cache name: [paths]}."""
        return self.page.evaluate(
            "(async () => { const copies = {};"
            " for (const name of await caches.keys()) {"
            "  const cache = await caches.open(name);"
            "  copies[name] = (await cache.keys()).map(r => new URL(r.url).pathname.slice(1)); }"
            " return copies; })()")

    def network(self, online):
        self.page.call("Network.emulateNetworkConditions", offline=not online, latency=0,
                       downloadThroughput=-1, uploadThroughput=-1)

    def plays_offline(self, what):
        """With no server and the network off, the page opened again (in a
        tab of its own: the visit after) shows and a game can be played:
        START, a shot, CANCEL."""
        port = self.server.server_address[1]
        self.stop_serving()
        self.new_tab(PHONE)
        self.network(False)
        try:
            probe = self.load(timeout=30)
            ok = probe is not None
            if ok:
                self.tap(*self.centre(self.element(probe, "start_button")))
                ok = self.wait_for("stage 1 offline", lambda: self.probe()["stage"] == 1) is not None
            if ok:
                shots = self.probe()["shots_fired"]
                self.tap(*MEADOW)
                ok = self.wait_for("a shot offline", lambda: self.probe()["shots_fired"] == shots + 1) is not None
                self.tap(*self.centre(self.element(self.probe(), "cancel_button")))
                ok = ok and self.wait_for("canceled offline", lambda: self.probe()["stage"] == 0) is not None
            if not ok:
                self.screenshot("offline-failed.png")
            self.check(what, ok, "first frame %s" % (probe and probe["firstFrameMs"]))
            return probe
        finally:
            self.network(True)
            self.serve(port)

    def offline(self):
        probe = self.load()
        if not self.check("the page loads for its offline copy", probe is not None):
            return
        ready = self.wait_for("the offline copy", lambda: (
            lambda p: p if p["offline"] and p["offline"]["state"] == "ready" else None)(self.probe()))
        self.check("the page registers its worker, which keeps the page",
                   ready is not None, json.dumps(self.probe()["offline"]))
        errors = self.wait_for("installable", lambda: (
            lambda e: e == [])(self.page.call("Page.getInstallabilityErrors")["installabilityErrors"]))
        self.check("Chromium finds the page installable", errors,
                   json.dumps(self.page.call("Page.getInstallabilityErrors")))
        manifest = self.page.call("Page.getAppManifest")
        data = json.loads(manifest.get("data") or "{}")
        self.check("its manifest: %s, %s, %s, icons %s" % (
            data.get("name"), data.get("display"), data.get("orientation"),
            [i.get("sizes") for i in data.get("icons", [])]),
            data.get("display") == "fullscreen" and data.get("orientation") == "landscape"
            and {"192x192", "512x512"} <= {i.get("sizes") for i in data.get("icons", [])}
            and data.get("short_name") and data.get("theme_color"))

        version = ready["offline"]["version"] if ready else None
        fetched = [path for path in self.fetched() if path and path != "sw.js"]
        kept = self.wait_for("every file fetched kept", lambda: (
            lambda copies: copies if set(fetched) <= set(copies.get("plinkfield-%s" % version, [])) else None)(
            self.kept_copy()))
        copies = kept or self.kept_copy()
        self.check("one copy, of this version, with every file the page fetched (%d files)" % len(fetched),
                   kept is not None and list(copies) == ["plinkfield-%s" % version],
                   "copies %s; missing %s" % (list(copies), sorted(
                       set(fetched) - set(copies.get("plinkfield-%s" % version, [])))[:6]))
        self.plays_offline("a reload with the network off and no server plays")
        self.new_build(version)

    def new_build(self, version):
        """The served folder rebuilt (one file changed, the worker written
        again as the build writes it): the next visit shows it and keeps it
        in place of the old copy."""
        index = os.path.join(self.served, "index.html")
        with open(index) as f:
            html = f.read()
        with open(index, "w") as f:
            f.write(html.replace("<title>", '<meta name="build" content="next">\n<title>', 1))
        subprocess.run([sys.executable, os.path.join(SOURCE, "game", "shell", "web", "page_files.py"), "worker",
                        self.served, os.path.join(SOURCE, "game", "shell", "web", "sw.js")], check=True)
        probe = self.load()
        shown = probe is not None and self.page.evaluate("!!document.querySelector('meta[name=build]')")
        replaced = self.wait_for("the new copy", lambda: (
            lambda p, c: (p, c) if p["offline"] and p["offline"]["state"] == "ready"
            and p["offline"]["version"] != version and list(c) == ["plinkfield-" + p["offline"]["version"]]
            else None)(self.probe(), self.kept_copy()))
        self.check("a new build shows on the next visit, and its copy replaces the old one",
                   shown and replaced is not None, "%s, copies %s" % (shown, list(self.kept_copy())))
        probe = self.plays_offline("offline, the new build plays from its copy")
        self.check("and it is the new build", probe is not None and self.page.evaluate(
            "!!document.querySelector('meta[name=build]')"))
