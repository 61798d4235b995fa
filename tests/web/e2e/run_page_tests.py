#!/usr/bin/env python3
"""End to end: the page in headless Chromium, served from a local
http.server and driven through the DevTools protocol with trusted mouse,
touch and key events. Watches the game through window.plinkfieldProbe()
(the scene model and what the audio side played) and through screenshots
and canvas pixels, compared with the painted files; replays the page's
recordings in the simulator.

  run_page_tests.py PAGE_DIR RESOURCE_DIR ARTIFACT_DIR SIM

PAGE_DIR is the built page (served from a copy, which the offline checks
change as a new build would), RESOURCE_DIR the painter's out folder, SIM
plinkfield-sim. Runs on a desktop window, at twice the density, then on a
phone held both ways, installed and offline. Prints one PASS or FAIL line
per check, the first-frame time, and exits non-zero when any check failed.
Every wait is for a state, with a timeout.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Page  # noqa: E402
from dense import Dense  # noqa: E402
from desktop import Desktop  # noqa: E402
from offline import Offline  # noqa: E402
from page_driver import FIELD_H, FIELD_W, Driver  # noqa: E402
from phone import Phone  # noqa: E402
from recorded_game import RecordedGame  # noqa: E402
from sounds import Sounds  # noqa: E402


class Run(Driver, Desktop, Sounds, RecordedGame, Dense, Phone, Offline):
    def __init__(self, page_dir, resources, artifacts, sim):
        self.page_dir = page_dir
        self.res = resources
        self.art = artifacts
        self.sim = sim
        self.server = None
        self.earlier_events = []  # of the tabs closed
        self.passed = 0
        self.failed = 0
        self.pictures = {}
        # The bitmaps, as the painter's manifest of the tables lists them;
        # the scene picture is the one of the field's size.
        with open(os.path.join(resources, "manifest.txt")) as f:
            rows = [line.split() for line in f]
        self.catalogue = [int(r[1]) for r in rows if r[:1] == ["bitmap"]]
        # element INDEX NAME KIND ID X Y W H IMAGE HIDDEN TEXT
        self.label_texts = [" ".join(r[11:]) for r in rows if r[:1] == ["element"] and r[3] == "label"]
        self.scene_picture = next(int(r[1]) for r in rows
                                  if r[:1] == ["bitmap"] and r[2:4] == [str(FIELD_W), str(FIELD_H)])

    def main(self):
        # A copy, which the offline checks change as a new build would.
        self.served = tempfile.mkdtemp(prefix="plinkfield-page-")
        shutil.rmtree(self.served)
        shutil.copytree(self.page_dir, self.served)
        self.serve()
        profile = tempfile.mkdtemp(prefix="plinkfield-chromium-")
        log = open(os.path.join(self.art, "chromium.log"), "w")
        browser = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--remote-debugging-port=0", "--user-data-dir=" + profile, "--window-size=1280,786",
             "--hide-scrollbars", "about:blank"], stdout=log, stderr=log)
        try:
            port_file = os.path.join(profile, "DevToolsActivePort")
            if not self.wait_for("DevTools port", lambda: os.path.exists(port_file) and open(port_file).read()):
                return self.check("chromium starts", False)
            self.devtools_port = int(open(port_file).read().split()[0])
            self.page = Page(self.devtools_port)
            for domain in ("Page", "Runtime", "Log", "Network"):
                self.page.call(domain + ".enable")
            if self.desktop():
                self.late_loop()
                self.recorded_game()
                self.twice_dense()
                self.phone()
                self.offline()
            problems = self.console_problems()
            self.check("no console error or warning in the whole run", not problems, "; ".join(problems))
        finally:
            try:
                self.page.close()
            except Exception:
                pass
            browser.terminate()
            try:
                browser.wait(timeout=20)
            except subprocess.TimeoutExpired:
                browser.kill()
            if self.server:
                self.stop_serving()
            log.close()
            shutil.rmtree(profile, ignore_errors=True)
            shutil.rmtree(self.served, ignore_errors=True)


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    page_dir, resources, artifacts, sim = argv[1:]
    for tool in ("chromium", "convert", "compare"):
        if not shutil.which(tool):
            print("FAIL: %s is not installed (scripts/install-deps)" % tool)
            return 1
    os.makedirs(artifacts, exist_ok=True)
    run = Run(page_dir, resources, artifacts, sim)
    try:
        run.main()
    except Exception as e:  # a broken connection or a dead browser is a failure, with its reason
        run.check("the run completes", False, "%s: %s" % (type(e).__name__, e))
    print("%d passed, %d failed" % (run.passed, run.failed), flush=True)
    return 1 if run.failed or not run.passed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
