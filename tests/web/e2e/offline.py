"""The page installable and playing offline: Chromium reports nothing that
keeps it from being installed; after one visit a reload with the network
off (and the server gone) plays; and a new build replaces the copy on the
next visit. Runs after the phone's checks, on the phone where the engine
has one. Mixed into the suite's Run."""
import json
import os
import subprocess
import sys
import time

from page_driver import WAIT

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")
MEADOW = (180, 560)


class Offline:

    def copies(self):
        """The names of the offline copies in the page's origin, read
        without opening any: opening a copy that a newer build's worker has
        just deleted would make it again."""
        return self.page.evaluate("caches.keys()")

    def kept(self, version):
        """The paths in that version's copy: asked only of the newest."""
        return self.page.evaluate(
            "caches.open(%s).then((c) => c.keys()).then((keys) => keys.map((r) => new URL(r.url).pathname.slice(1)))"
            % json.dumps("plinkfield-" + version))

    def press(self, gx, gy):
        """A tap on a touch screen, a click elsewhere."""
        (self.tap if getattr(self.page, "touch_screen", False) else self.click)(gx, gy)

    def plays_offline(self, what):
        """With no server and the network off, the page opened again (in a
        tab of its own: the visit after) shows, every picture and sound
        comes from the copy, and a game can be played: START, a shot,
        CANCEL."""
        port = self.server.server_address[1]
        self.stop_serving()
        self.new_tab()
        self.page.network(False)
        try:
            probe = self.load(timeout=30)
            ok = probe is not None and self.everything_came("every picture and sound offline") is not None
            if ok:
                self.press(*self.centre(self.element(probe, "start_button")))
                ok = self.wait_for("stage 1 offline", lambda: self.probe()["stage"] == 1) is not None
            if ok:
                shots = self.probe()["shots_fired"]
                self.press(*MEADOW)
                ok = self.wait_for("a shot offline", lambda: self.probe()["shots_fired"] == shots + 1) is not None
                self.press(*self.centre(self.element(self.probe(), "cancel_button")))
                ok = ok and self.wait_for("canceled offline", lambda: self.probe()["stage"] == 0) is not None
            if not ok:
                self.screenshot("offline-failed.png")
            self.check(what, ok, "first frame %s" % (probe and probe["firstFrameMs"]))
            return probe
        finally:
            self.page.network(True)
            self.serve(port)

    def installable(self):
        errors = self.wait_for("installable", lambda: self.page.installability()[0] == [])
        errors, manifest = self.page.installability()
        self.check("Chromium finds the page installable", not errors, json.dumps(errors))
        self.check("its manifest: %s, %s, %s, icons %s" % (
            manifest.get("name"), manifest.get("display"), manifest.get("orientation"),
            [i.get("sizes") for i in manifest.get("icons", [])]),
            manifest.get("display") == "fullscreen" and manifest.get("orientation") == "landscape"
            and {"192x192", "512x512"} <= {i.get("sizes") for i in manifest.get("icons", [])}
            and manifest.get("short_name") and manifest.get("theme_color"))

    def offline(self):
        probe = self.load()
        if not self.check("the page loads for its offline copy", probe is not None):
            return
        ready = self.wait_for("the offline copy", lambda: (
            lambda p: p if p["offline"] and p["offline"]["state"] == "ready" else None)(self.probe()))
        self.check("the page registers its worker, which keeps the page",
                   ready is not None, json.dumps(self.probe()["offline"]))
        if self.able("installability", "the page installable, and its manifest"):
            self.installable()

        version = ready["offline"]["version"] if ready else "none"
        name = "plinkfield-" + version
        # Once every picture and sound has come, the worker's last answer
        # counts them all (and the twins of earlier visits on other screens).
        self.everything_came("every picture and sound")
        self.wait_for("all of them kept", lambda: self.probe()["offline"]["kept"] >= len(self.catalogue)
                      + len(self.page_sounds))
        fetched = [path for path in self.fetched() if path and path != "sw.js"]
        kept = self.wait_for("every file fetched kept", lambda: (
            self.copies() == [name] and set(fetched) <= set(self.kept(version))))
        missing = sorted(set(fetched) - set(self.kept(version))) if name in self.copies() else fetched
        self.check("one copy, of this version, with every file the page fetched (%d files, %d sounds)" % (
            len(fetched), sum(1 for path in fetched if path.startswith("sounds/"))),
            kept is not None, "copies %s; missing %s" % (self.copies(), missing[:6]))
        self.able("network-emulation", "the network off (rather than only the server gone)")
        self.plays_offline("a reload with the network off and no server plays")
        self.new_build(version)

    def new_build(self, version):
        """The served folder rebuilt (one file changed, the worker written
        again as the build writes it): the next visit shows it, its copy
        takes the old one's place, and no other is left beside it."""
        index = os.path.join(self.served, "index.html")
        with open(index) as f:
            html = f.read()
        with open(index, "w") as f:
            f.write(html.replace("<title>", '<meta name="build" content="next">\n<title>', 1))
        subprocess.run([sys.executable, os.path.join(SOURCE, "game", "shell", "web", "page_files.py"), "worker",
                        self.served, os.path.join(SOURCE, "game", "shell", "web", "sw.js")], check=True)
        probe = self.load()
        shown = probe is not None and self.page.evaluate("!!document.querySelector('meta[name=build]')")
        # Its copy whole: every picture and sound come and kept.
        came = self.everything_came("every picture and sound of the new build")
        # A late fetch of the page's can still wake the old worker while the
        # new one waits to take over; Chromium then lets the new one wait out
        # the old one's idle time (30 s) before it activates.
        since = time.monotonic()
        replaced = self.wait_for("the new copy", timeout=WAIT + 60, test=lambda: (
            lambda p, c: (p, c) if p["offline"] and p["offline"]["state"] == "ready"
            and p["offline"]["version"] != version and c == ["plinkfield-" + p["offline"]["version"]]
            and p["offline"]["kept"] >= len(self.catalogue) + len(self.page_sounds) else None)(
            self.probe(), self.copies()))
        if replaced:
            print("  (the new copy took the old one's place in %.0f s)" % (time.monotonic() - since), flush=True)
        self.check("a new build shows on the next visit, and its copy replaces the old one",
                   shown and came is not None and replaced is not None, "%s, copies %s, %s" % (
                       shown, self.copies(), json.dumps(self.probe()["offline"])))
        probe = self.plays_offline("offline, the new build plays from its copy")
        self.check("and it is the new build", probe is not None and self.page.evaluate(
            "!!document.querySelector('meta[name=build]')"))
