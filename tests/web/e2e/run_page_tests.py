#!/usr/bin/env python3
"""End to end: the page in each browser engine, served from a local
http.server and driven with trusted mouse, touch and key events through
the engine's own protocol (browsers.py: Chromium's DevTools protocol,
Firefox's WebDriver BiDi, WebKitWebDriver's classic WebDriver). Watches
the game through window.plinkfieldProbe() (the scene model and what the
audio side played) and through screenshots and canvas pixels, compared
with the painted files; replays the page's recordings in the simulator.

  run_page_tests.py [--engines E,...] [--groups G,...] PAGE_DIR RESOURCE_DIR SOUNDS ARTIFACT_DIR SIM

PAGE_DIR is the built page (served from a copy, which the offline checks
change as a new build would), RESOURCE_DIR the painter's out folder, SOUNDS
the list of the page's sounds the build wrote (WAVE id and painted file a
line), SIM plinkfield-sim. ENGINES: chromium, firefox, webkit (all three,
in turn, by default). GROUPS, in the order they run: desktop, sounds,
recorded, best, dense, phone, offline, second-set (all by default). Runs on a
desktop window, at twice the density, then on a phone held both ways,
installed and offline, last with Ogg refused. Prints one PASS, FAIL or
SKIP (not run on this engine, and why) line per check, the first-frame
time, each engine's "ENGINE: P passed, F failed" line and last the total
"P passed, F failed"; exits non-zero when any check failed. Every wait is
for a state, with a timeout.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browsers import ENGINES  # noqa: E402
from dense import Dense  # noqa: E402
from desktop import Desktop  # noqa: E402
from offline import Offline  # noqa: E402
from best_games import BestGames  # noqa: E402
from page_driver import FIELD_H, FIELD_W, FORGET_BEST_GAMES, Driver, QuietHandler  # noqa: E402
from phone import Phone  # noqa: E402
from recorded_game import RecordedGame  # noqa: E402
from sounds import Sounds  # noqa: E402

GROUPS = ("desktop", "sounds", "recorded", "best", "dense", "phone", "offline", "second-set")


class Run(Driver, Desktop, Sounds, RecordedGame, BestGames, Dense, Phone, Offline):
    def __init__(self, engine, page_dir, resources, sounds, artifacts, sim):
        self.engine = engine
        self.page_dir = page_dir
        self.res = resources
        self.art = os.path.join(artifacts, engine)
        self.sim = sim
        self.server = None
        self.passed = self.failed = self.skipped = 0
        self.expected_problems = []  # console warnings a check asked for
        self.pictures = {}
        # The bitmaps, as the painter's manifest of the tables lists them;
        # the scene picture is the one of the field's size.
        with open(os.path.join(resources, "manifest.txt")) as f:
            rows = [line.split() for line in f]
        self.catalogue = [int(r[1]) for r in rows if r[:1] == ["bitmap"]]
        # plate ID X Y W H FILE TWIN, best_number X Y W H: the best score,
        # drawn over the scene once the table is read.
        plate = next(r for r in rows if r[:1] == ["plate"])
        self.plate = {"id": int(plate[1]), "box": [int(v) for v in plate[2:6]], "files": plate[6:8],
                      "number": [int(v) for v in next(r for r in rows if r[:1] == ["best_number"])[1:5]]}
        # What the page fetches: every bitmap and the plate.
        self.page_pictures = self.catalogue + [self.plate["id"]]
        # element INDEX NAME KIND ID X Y W H IMAGE HIDDEN TEXT
        self.label_texts = [" ".join(r[11:]) for r in rows if r[:1] == ["element"] and r[3] == "label"]
        self.scene_picture = next(int(r[1]) for r in rows
                                  if r[:1] == ["bitmap"] and r[2:4] == [str(FIELD_W), str(FIELD_H)])
        # The page's sounds: WAVE id -> the painted file.
        with open(sounds) as f:
            self.page_sounds = {int(ident): path for ident, path in (line.split() for line in f if line.strip())}

    def main(self, groups):
        os.makedirs(self.art, exist_ok=True)
        # A copy, which the offline checks change as a new build would.
        self.served = tempfile.mkdtemp(prefix="plinkfield-page-")
        shutil.rmtree(self.served)
        shutil.copytree(self.page_dir, self.served)
        QuietHandler.held.clear()
        QuietHandler.refused.clear()
        QuietHandler.damaged.clear()
        QuietHandler.asked.clear()
        self.page = ENGINES[self.engine](self.art)
        QuietHandler.hooks[:] = [self.page.page_hook] if self.page.page_hook else []
        # Every load a new player's, but in the group that keeps games.
        QuietHandler.hooks.append(FORGET_BEST_GAMES)
        self.serve()
        try:
            self.page.start()
            self.set_viewport(FIELD_W, FIELD_H)
            if "desktop" in groups and not self.desktop():
                return
            for group, run in (("sounds", self.late_loop), ("recorded", self.recorded_game),
                               ("best", self.best_games),
                               ("dense", self.twice_dense), ("phone", self.phone), ("offline", self.offline),
                               ("second-set", self.second_set)):
                if group in groups:
                    run()
            problems = self.console_problems()
            self.check("no console error or warning in the whole run", not problems, "; ".join(problems))
        finally:
            self.page.close()
            if self.server:
                self.stop_serving()
            shutil.rmtree(self.served, ignore_errors=True)


def main(argv):
    engines, groups, args = list(ENGINES), list(GROUPS), argv[1:]
    while args and args[0] in ("--engines", "--groups") and len(args) > 1:
        chosen = [name for name in args[1].split(",") if name]
        if args[0] == "--engines":
            engines = chosen
        else:
            groups = chosen
        args = args[2:]
    if len(args) != 5 or not set(engines) <= set(ENGINES) or not set(groups) <= set(GROUPS):
        sys.exit(__doc__)
    page_dir, resources, sounds, artifacts, sim = args
    tools = {"chromium": ["chromium"], "firefox": ["firefox-esr"], "webkit": ["WebKitWebDriver", "Xvfb"]}
    passed = failed = 0
    for engine in engines:
        missing = [tool for tool in tools[engine] + ["convert", "compare"] if not shutil.which(tool)]
        run = Run(engine, page_dir, resources, sounds, artifacts, sim)
        if missing:
            run.check("%s is installed (scripts/install-deps)" % " and ".join(missing), False)
        else:
            try:
                run.main(groups)
            except Exception as e:  # a broken connection or a dead browser is a failure, with its reason
                run.check("the run completes", False, "%s: %s" % (type(e).__name__, e))
        if not run.passed and not run.failed:
            run.check("the run has checks", False)
        print("%s: %d passed, %d failed (%d not run here)" % (engine, run.passed, run.failed, run.skipped),
              flush=True)
        passed += run.passed
        failed += run.failed
    print("%d passed, %d failed" % (passed, failed), flush=True)
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
