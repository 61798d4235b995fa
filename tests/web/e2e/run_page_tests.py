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
import base64
import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Page  # noqa: E402
from dense import Dense  # noqa: E402
from offline import Offline  # noqa: E402
from phone import Phone  # noqa: E402
from recorded_game import RecordedGame  # noqa: E402

FIELD_W, FIELD_H = 1280, 786
LOOP_WAVE = 300  # the meadow loop, ambient/300.wav as the painter names it
WAIT = 30  # seconds for any one state to arrive, on a loaded machine


# ------------------------------------------------------------------ pictures

def read_bmp(path):
    """(width, height, rows of RGB bytes, top row first): 24-bit or 8-bit.
    The suite's own reader, apart from the one that makes the page's
    pictures, so that a fault there cannot hide behind the same fault here."""
    with open(path, "rb") as f:
        data = f.read()
    at = int.from_bytes(data[10:14], "little")
    info = int.from_bytes(data[14:18], "little")
    w = int.from_bytes(data[18:22], "little", signed=True)
    h = int.from_bytes(data[22:26], "little", signed=True)
    bits = int.from_bytes(data[28:30], "little")
    stride = (w * bits + 31) // 32 * 4
    palette = data[14 + info:at]
    rows = []
    for y in range(abs(h)):
        src = data[at + stride * (abs(h) - 1 - y if h > 0 else y):]
        row = bytearray()
        for x in range(w):
            if bits == 24:
                b, g, r = src[3 * x:3 * x + 3]
            else:
                b, g, r = palette[4 * src[x]:4 * src[x] + 3]
            row += bytes((r, g, b))
        rows.append(bytes(row))
    return w, h, rows


def mean_difference(rgba, reference_rows, x0, y0, w, h):
    """Mean absolute difference per channel between canvas RGBA pixels of a
    w x h box and the reference picture's box at x0, y0."""
    total = 0
    for y in range(h):
        ref = reference_rows[y0 + y]
        for x in range(w):
            p = rgba[4 * (y * w + x):4 * (y * w + x) + 3]
            q = ref[3 * (x0 + x):3 * (x0 + x) + 3]
            total += abs(p[0] - q[0]) + abs(p[1] - q[1]) + abs(p[2] - q[2])
    return total / (3 * w * h)


# ------------------------------------------------------------------ the run

class Run(RecordedGame, Dense, Phone, Offline):
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

    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
            print("PASS: %s" % name, flush=True)
        else:
            self.failed += 1
            print("FAIL: %s%s" % (name, " -- " + detail if detail else ""), flush=True)
        return ok

    def picture(self, ident):
        if ident not in self.pictures:
            self.pictures[ident] = read_bmp(os.path.join(self.res, "game", "%d.bmp" % ident))
        return self.pictures[ident]

    def painted_file(self, ident, scale=1):
        """The painter's picture: the bitmap, or its twin at twice the size."""
        return os.path.join(self.res, "game", "%d.bmp" % ident if scale == 1 else "%d@2x.png" % ident)

    # -------------------------------------------------------------- page

    def probe(self):
        """The page's probe, flattened for the checks: the game state's
        fields, "elements" (the scene, each with its kind and the image it
        shows, a button's too), the timer, the audio log, the first frame."""
        raw = self.page.evaluate("window.plinkfieldProbe ? plinkfieldProbe() : null")
        if raw is None:
            return None
        probe = dict(json.loads(json.dumps(raw["state"])))
        probe["raw"] = raw  # as the page gave it
        probe["elements"] = json.loads(json.dumps(raw["scene"]))
        for e in probe["elements"]:
            if "text" in e:
                e["kind"] = "label"
            elif "image" in e:
                e["kind"] = "sprite"
            else:
                e["kind"] = "button"
                e["image"] = raw["buttons"][e["name"]]
        probe["timer_started_ms"] = raw["timer"]["started_ms"]
        probe["timer_ticks"] = raw["timer"]["ticks"]
        probe["audio"] = raw["audio"]
        probe["firstFrameMs"] = raw["firstFrameMs"]
        probe["view"] = raw["view"]
        probe["offline"] = raw["offline"]
        return probe

    def wait_for(self, what, test, timeout=WAIT, interval=0.05):
        """Polls test() until it returns something true; None on timeout."""
        deadline = time.monotonic() + timeout
        while True:
            value = test()
            if value:
                return value
            if time.monotonic() > deadline:
                print("  (gave up waiting: %s)" % what, flush=True)
                return None
            time.sleep(interval)

    def element(self, probe, name):
        return next(e for e in probe["elements"] if e["name"] == name)

    def canvas_rect(self):
        return self.page.evaluate(
            "(() => { const r = document.getElementById('field').getBoundingClientRect();"
            " return {left: r.left, top: r.top, width: r.width, height: r.height}; })()")

    def page_point(self, gx, gy):
        r = self.canvas_rect()
        return (r["left"] + (gx + 0.5) * r["width"] / FIELD_W, r["top"] + (gy + 0.5) * r["height"] / FIELD_H)

    def centre(self, e):
        return e["x"] + e["w"] // 2, e["y"] + e["h"] // 2

    def mouse(self, kind, gx, gy):
        x, y = self.page_point(gx, gy)
        params = {"type": kind, "x": x, "y": y}
        if kind != "mouseMoved":
            params.update(button="left", clickCount=1)
        self.page.call("Input.dispatchMouseEvent", **params)

    def click(self, gx, gy):
        self.mouse("mouseMoved", gx, gy)
        self.mouse("mousePressed", gx, gy)
        self.mouse("mouseReleased", gx, gy)

    def canvas_pixels(self, x, y, w, h):
        encoded = self.page.evaluate(
            # Copied out first: reading the page's own canvas back would make
            # Chromium warn about it.
            "(() => { const c = document.createElement('canvas'); c.width = %d; c.height = %d;"
            " const x = c.getContext('2d', {willReadFrequently: true});"
            " x.drawImage(document.getElementById('field'), %d, %d, c.width, c.height, 0, 0, c.width, c.height);"
            " const d = x.getImageData(0, 0, c.width, c.height).data; let s = '';"
            " for (let i = 0; i < d.length; ++i) s += String.fromCharCode(d[i]); return btoa(s); })()"
            % (w, h, x, y))
        return base64.b64decode(encoded)

    def shows(self, ident, x, y, w, h, within=1.0, at=(0, 0)):
        """The canvas box shows bitmap ident (its box at `at`)."""
        _, _, rows = self.picture(ident)
        return mean_difference(self.canvas_pixels(x, y, w, h), rows, at[0], at[1], w, h) <= within

    def screenshot(self, name):
        data = base64.b64decode(self.page.call("Page.captureScreenshot", format="png")["data"])
        path = os.path.join(self.art, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def set_viewport(self, w, h, ratio=1, mobile=False):
        self.page.call("Emulation.setDeviceMetricsOverride", width=w, height=h, deviceScaleFactor=ratio,
                       mobile=mobile)

    def fetched(self):
        """The page's own files the browser has fetched since it was loaded,
        by their paths in the page."""
        return self.page.evaluate(
            "performance.getEntriesByType('resource').map(e => new URL(e.name))"
            ".filter(u => u.origin === location.origin).map(u => u.pathname.slice(1))")

    # -------------------------------------------------------------- serving

    def serve(self, port=0):
        handler = functools.partial(QuietHandler, directory=self.served)
        self.server = QuietServer(("127.0.0.1", port), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def stop_serving(self):
        self.server.shutdown()
        self.server.server_close()
        self.server = None

    def load(self, query="", timeout=60):
        """Navigates to the page and waits for its first frame: the probe
        then, or None."""
        # The page before keeps answering for a while: a mark on it tells
        # the two apart.
        self.page.evaluate("window.pageBefore = true")
        self.page.call("Page.navigate", url=self.url + query)
        probe = self.wait_for("first frame", lambda: (
            lambda p: p if p and p["firstFrameMs"] is not None else None)(
            None if self.page.evaluate("window.pageBefore === true") else self.probe()), timeout=timeout)
        # Input reaches a page once the browser shows it: two frames on.
        if probe:
            self.page.evaluate("new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))")
        return probe

    def new_tab(self, viewport):
        """Goes on in a tab of its own, in the same browser (its offline
        copies and all), with the viewport (width, height, ratio, mobile)
        and touch screen of the one before, which is closed."""
        target = self.page.call("Target.createTarget", url="about:blank")["targetId"]
        before = self.page
        self.page = Page(self.devtools_port, target_id=target)
        for domain in ("Page", "Runtime", "Log", "Network"):
            self.page.call(domain + ".enable")
        self.page.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        self.set_viewport(*viewport)
        self.page.call("Target.closeTarget", targetId=before.target_id)
        self.earlier_events += before.events
        before.close()

    def console_problems(self):
        problems = []
        for ev in self.earlier_events + self.page.events:
            method, params = ev["method"], ev.get("params", {})
            if method == "Runtime.exceptionThrown":
                problems.append(params["exceptionDetails"].get("text", "exception"))
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "warning"):
                problems.append(" ".join(str(a.get("value", "")) for a in params.get("args", [])))
            elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
                problems.append(params["entry"]["text"] + " " + params["entry"].get("url", ""))
        return problems

    def log_has(self, probe, **fields):
        return any(all(entry.get(k) == v for k, v in fields.items()) for entry in probe["audio"]["log"])

    # -------------------------------------------------------------- checks

    def cursor_and_font(self):
        cursor = self.page.evaluate("document.getElementById('field').style.cursor")
        self.check("the field has the cross-hair cursor (its twin on denser screens), hot spot at its centre",
                   re.fullmatch(r'image-set\(url\("([^"]+)\.ico"\) 1x, url\("\1@2x\.png"\) 2x\) 16 16, crosshair', cursor)
                   is not None, cursor[:100])
        # The browser must be able to read the icon and the twin it is
        # given: 32 x 32 and 64 x 64, dark where the lines cross, clear in
        # the corners.
        for part, size in ((1, 32), (3, 64)):
            seen = self.page.evaluate(
                "(async () => { const url = document.getElementById('field').style.cursor.split('\"')[%d];"
                " const img = new Image(); img.src = url; await img.decode(); const n = %d;"
                " const c = document.createElement('canvas'); c.width = n; c.height = n;"
                " const x = c.getContext('2d', {willReadFrequently: true}); x.drawImage(img, 0, 0);"
                " const centre = x.getImageData(n / 2 - 1, n / 2 - 1, 2, 2).data, corner = x.getImageData(0, 0, 1, 1).data;"
                " return {w: img.naturalWidth, h: img.naturalHeight,"
                " centre: Math.max(...centre.filter((v, i) => i %% 4 < 3)), centreAlpha: centre[3],"
                " cornerAlpha: corner[3]}; })()" % (part, size))
            self.check("the browser reads the cross-hair %s" % ("icon" if size == 32 else "twin"),
                       seen["w"] == size and seen["h"] == size and seen["centre"] < 64 and seen["centreAlpha"] == 255
                       and seen["cornerAlpha"] == 0, str(seen))
        # Cut down to what labels show, it must still hold all of it: a
        # character it lacks would come from the next face on the list, at
        # that face's width.
        shown = "0123456789-" + "".join(sorted(set("".join(self.label_texts))))
        widths = self.page.evaluate(
            "(async () => { await document.fonts.load('100px Plinkfield-Labels');"
            " const x = document.createElement('canvas').getContext('2d'); const w = (f) => {"
            " x.font = f; return x.measureText(%s).width; };"
            " return [w('100px Plinkfield-Labels, monospace'), w('100px Liberation Sans, monospace')]; })()"
            % json.dumps(shown))
        self.check("the labels' face holds all they show (%r)" % shown, abs(widths[0] - widths[1]) < 0.5,
                   "%.1f wide, Liberation Sans %.1f" % tuple(widths))
        self.check("the label font is loaded", self.page.evaluate(
            "[...document.fonts].some(f => f.family === 'Plinkfield-Labels' && f.status === 'loaded')"))

    def minimize(self):
        self.click(*self.centre(self.element(self.probe(), "minimize_button")))
        probe = self.wait_for("snd_minimize", lambda: (
            lambda p: p if self.log_has(p, what="cue", name="snd_minimize", heard=True) else None)(self.probe()))
        self.check("minimize plays its cue and the game goes on", probe is not None and probe["stage"] == 1
                   and probe["audio"]["loops"] == 1 and self.page.evaluate(
                       "getComputedStyle(document.getElementById('field')).display !== 'none'"))

    def chorded_buttons(self):
        """The mouse as before Pointer Events: a second button pressed while
        the left holds a button changes nothing, and the left's release over
        the button runs it though the other is still down (a chord's
        release comes as a move, which names the button)."""
        button = self.element(self.probe(), "minimize_button")
        x, y = self.page_point(*self.centre(button))
        heard = sum(1 for e in self.probe()["audio"]["log"] if e.get("name") == "snd_minimize")
        for kind, which, buttons in (("mouseMoved", "none", 0), ("mousePressed", "left", 1),
                                     ("mousePressed", "right", 3), ("mouseReleased", "left", 2)):
            self.page.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=which, buttons=buttons,
                           clickCount=1 if which != "none" else 0)
        ran = self.wait_for("minimize run", lambda: sum(
            1 for e in self.probe()["audio"]["log"] if e.get("name") == "snd_minimize") == heard + 1)
        self.page.call("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="right", buttons=0,
                       clickCount=1)
        self.check("with the right button pressed and held meanwhile, a button still runs on the left's release",
                   ran and self.probe()["stage"] == 1 and self.element(self.probe(), "minimize_button")["image"]
                   == button["image"])

    def pictures_as_painted(self):
        """Every picture the page fetched, as the browser decodes it, is its
        painted bitmap: no channel more than two levels off, and a mean
        difference under 2/255 (they are near-lossless WebP)."""
        count = len(self.catalogue)
        self.wait_for("every picture", lambda: self.probe()["view"]["pictures"]["1"] == count)
        pictures = sorted({p for p in self.fetched() if p.startswith("pictures/") and p.endswith(".webp")})
        self.check("at one device pixel a field pixel the page fetched the pictures as painted, no twin (%d)"
                   % len(pictures), self.probe()["view"]["scale"] == 1 and len(pictures) == count
                   and not any("@2x" in p for p in pictures), str(pictures[:5]))
        worst, means = 0, []
        for ident in self.catalogue:
            encoded = self.page.evaluate(
                "(async () => { const b = await createImageBitmap(await (await fetch('pictures/%d.webp')).blob());"
                " const c = document.createElement('canvas'); c.width = b.width; c.height = b.height;"
                " const x = c.getContext('2d', {willReadFrequently: true}); x.drawImage(b, 0, 0);"
                " const d = x.getImageData(0, 0, b.width, b.height).data; const rgb = new Uint8Array(d.length / 4 * 3);"
                " for (let i = 0, j = 0; i < d.length; i += 4) { rgb[j++] = d[i]; rgb[j++] = d[i + 1]; rgb[j++] = d[i + 2]; }"
                " let s = ''; for (let i = 0; i < rgb.length; i += 8192)"
                " s += String.fromCharCode.apply(null, rgb.subarray(i, i + 8192));"
                " return [b.width, b.height, btoa(s)]; })()" % ident)
            w, h, rows = self.picture(ident)
            shown = base64.b64decode(encoded[2])
            painted = b"".join(rows)
            if encoded[:2] != [w, h] or len(shown) != len(painted):
                worst = 255
                means.append((255, ident))
                continue
            difference = bytes(abs(a - b) for a, b in zip(shown, painted))
            worst = max(worst, max(difference))
            means.append((sum(difference) / len(difference), ident))
        mean, ident = max(means)
        self.check("each picture decodes to its painted bitmap: at most %d levels off, mean %.2f/255 at worst (%d)"
                   % (worst, mean, ident), worst <= 2 and mean < 2)

    def gapless_loop(self):
        """The meadow loop decodes to exactly the painted WAVE's samples at
        its rate, with no silence added at either end: it loops without a
        gap."""
        with open(os.path.join(self.res, "ambient", "%d.wav" % LOOP_WAVE), "rb") as f:
            wave = f.read()
        rate = int.from_bytes(wave[24:28], "little")
        at = wave.index(b"data") + 8
        count = int.from_bytes(wave[at - 4:at], "little")
        painted = [(b - 128) / 128 for b in wave[at:at + count]]  # 8-bit unsigned mono
        self.wait_for("the loop decoded", lambda: self.probe()["audio"]["loop"])
        decoded = self.page.evaluate("(() => { const l = Module.audio.loop, d = l.getChannelData(0);"
                                     " return {rate: l.sampleRate, length: l.length, channels: l.numberOfChannels,"
                                     " head: Array.from(d.slice(0, 1024)), tail: Array.from(d.slice(-1024))}; })()")
        head = sum(abs(a - b) for a, b in zip(decoded["head"], painted[:1024])) / 1024
        tail = sum(abs(a - b) for a, b in zip(decoded["tail"], painted[-1024:])) / 1024
        loud = sum(abs(v) for v in painted[:1024] + painted[-1024:]) / 2048
        self.check("the meadow loop decodes to the WAVE's %d samples at %d Hz, its ends as painted"
                   " (off by %.3f and %.3f, against a level of %.3f)" % (count, rate, head, tail, loud),
                   (decoded["rate"], decoded["length"], decoded["channels"]) == (rate, count, 1)
                   and head < loud / 4 and tail < loud / 4,
                   "decoded %d samples at %d Hz" % (decoded["length"], decoded["rate"]))

    def no_menu(self):
        """The field opens no menu of the browser's: not for the right
        button, and so not for a long press of a finger, which asks the
        same way (a headless browser makes no long presses)."""
        self.page.evaluate("window.menuAsked = null; addEventListener('contextmenu',"
                           " e => { window.menuAsked = e.defaultPrevented ? 'refused' : 'opened'; })")
        x, y = self.page_point(*self.centre(self.element(self.probe(), "canceled_banner")))
        for kind, buttons in (("mouseMoved", 0), ("mousePressed", 2), ("mouseReleased", 0)):
            self.page.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="none" if not buttons and
                           kind == "mouseMoved" else "right", buttons=buttons, clickCount=1)
        asked = self.wait_for("the menu asked for", lambda: self.page.evaluate("window.menuAsked"))
        self.check("the field opens no menu", asked == "refused", str(asked))

    def late_loop(self):
        """A game started before the meadow loop has come (a slow network)
        hears the loop as soon as it has."""
        gate = threading.Event()
        QuietHandler.held["sounds/%d.ogg" % LOOP_WAVE] = gate
        try:
            if not self.load():
                return self.check("the page loads, its loop held back", False)
            self.click(*self.centre(self.element(self.probe(), "start_button")))
            early = self.wait_for("START before the loop", lambda: (
                lambda p: p if p["stage"] == 1 and self.log_has(p, what="ambient-start") else None)(self.probe()))
            gate.set()
            late = self.wait_for("the loop once it came", lambda: (
                lambda p: p if p["audio"]["loops"] == 1 and p["audio"]["looping"] else None)(self.probe()))
            self.check("a game started before the meadow loop came hears it once it has",
                       early is not None and early["audio"]["loops"] == 0 and late is not None,
                       json.dumps(self.probe()["audio"])[:300])
            self.click(*self.centre(self.element(self.probe(), "cancel_button")))
            self.check("and CANCEL stops it", self.wait_for("stopped", lambda: (
                lambda p: p["stage"] == 0 and p["audio"]["loops"] == 0)(self.probe())))
        finally:
            gate.set()
            del QuietHandler.held["sounds/%d.ogg" % LOOP_WAVE]

    def refused_with_the_beep(self):
        self.click(*self.centre(self.element(self.probe(), "cancel_button")))
        self.check("CANCEL with no game is refused with the painted beep", self.wait_for("the beep", lambda: (
            self.log_has(self.probe(), what="beep", heard=True))))

    def painted_scene_shown(self, probe, name, scale=1):
        """How far a screenshot of the page (its viewport the field's size,
        at `scale` device pixels a field pixel) is from the scene as the
        painted files say it should look: the scene picture, then every
        visible sprite and button from the bottom of the stack up, the
        painter's twins at scale 2. The labels' text is checked apart: both
        images get the same grey boxes there. (pixels more than 2% off, the
        same within the sprites and buttons, the mean difference in levels
        of 255, the labels.)"""
        shot = self.screenshot(name + ".png")
        command = ["convert", self.painted_file(self.scene_picture, scale)]
        labels, boxes, sprites = [], [], []
        for e in reversed(probe["elements"]):
            if not e["visible"]:
                continue
            box = (e["w"] * scale, e["h"] * scale, e["x"] * scale, e["y"] * scale)
            if e["kind"] == "label":
                labels.append(e)
                boxes += ["-draw", "rectangle %d,%d %d,%d" % (box[2], box[3], box[2] + box[0] - 1, box[3] + box[1] - 1)]
                continue
            sprites.append(box)
            command += [self.painted_file(e["image"], scale), "-geometry", "+%d+%d" % box[2:], "-composite"]
        expected = os.path.join(self.art, name + "-expected.png")
        masked = os.path.join(self.art, name + "-masked.png")
        subprocess.run(command + ["-fill", "#808080"] + boxes + [expected], check=True)
        subprocess.run(["convert", shot, "-alpha", "off", "-fill", "#808080"] + boxes + [masked], check=True)

        def compare(*args, crop=""):
            result = subprocess.run(["compare"] + list(args) + [expected + crop, masked + crop, "null:"],
                                    capture_output=True, text=True)
            return result.stderr.strip()
        off = int(float(compare("-metric", "AE", "-fuzz", "2%").split(" ")[0]))
        sprites_off = sum(int(float(compare("-metric", "AE", "-fuzz", "2%", crop="[%dx%d+%d+%d]" % box).split(" ")[0]))
                          for box in sprites)
        mean = float(compare("-metric", "MAE").split("(")[1].rstrip(")")) * 255
        return off, sprites_off, mean, labels

    def start_screen(self, probe):
        off, _, mean, labels = self.painted_scene_shown(probe, "start")
        self.check("start screen matches the painted scene (pixels off: %d, mean %.2f/255)" % (off, mean), off == 0)
        # Each label: light grey with black text on it.
        for e in labels:
            px = self.canvas_pixels(e["x"], e["y"], e["w"], e["h"])
            grey = sum(1 for i in range(0, len(px), 4) if px[i:i + 3] == b"\xc0\xc0\xc0")
            dark = sum(1 for i in range(0, len(px), 4) if max(px[i:i + 3]) < 80)
            n = len(px) // 4
            self.check("label %s shows %r as dark text on light grey" % (e["name"], e["text"]),
                       grey > n // 2 and dark > n // 50, "grey %d, dark %d of %d" % (grey, dark, n))

    def scaling(self):
        ok = True
        for w, h in ((800, 600), (1600, 900)):
            self.set_viewport(w, h)
            scale = min(w / FIELD_W, h / FIELD_H)
            fitted = self.wait_for("canvas fitted to %dx%d" % (w, h), lambda: (
                lambda r: abs(r["width"] - FIELD_W * scale) < 1 and abs(r["height"] - FIELD_H * scale) < 1
                and abs(r["left"] - (w - r["width"]) / 2) < 1 and abs(r["top"] - (h - r["height"]) / 2) < 1)(
                self.canvas_rect()))
            ok &= self.check("the canvas fits a %dx%d window, proportions kept, centred" % (w, h), fitted,
                             json.dumps(self.canvas_rect()))
            if w == 800:
                self.screenshot("scaled-800x600.png")
            self.mouse("mouseMoved", 640, 300)
            mapped = self.wait_for("cursor mapped", lambda: (
                lambda p: abs(p["cursor_x"] - 640) <= 1 and abs(p["cursor_y"] - 300) <= 1)(self.probe()))
            ok &= self.check("a move at %dx%d reaches the game at its field point" % (w, h), mapped,
                             "cursor %s" % {k: self.probe()[k] for k in ("cursor_x", "cursor_y")})
        self.set_viewport(FIELD_W, FIELD_H)
        self.wait_for("canvas back to 1:1", lambda: abs(self.canvas_rect()["width"] - FIELD_W) < 1)
        return ok

    def hold_button(self, name):
        """Presses a button and keeps it held: the image it showed, the one
        it shows held (both as the probe names them), and its element."""
        button = self.element(self.probe(), name)
        x, y = self.centre(button)
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y)
        held = self.wait_for("%s held" % name, lambda: (
            lambda e: e if e["image"] != button["image"] else None)(self.element(self.probe(), name)))
        return button["image"], held["image"] if held else button["image"], button

    def press_start(self):
        normal, pressed, start = self.hold_button("start_button")
        box = (start["x"], start["y"], start["w"], start["h"])
        self.check("START shows its pressed image while held", pressed != normal and self.wait_for(
            "pressed START", lambda: self.shows(pressed, *box)))
        self.check("nothing starts before the release", self.probe()["stage"] == 0)
        self.mouse("mouseReleased", *self.centre(start))
        self.check("START released over it starts the game",
                   self.wait_for("stage 1", lambda: self.probe()["stage"] == 1))
        self.check("START shows its normal image again", self.wait_for("normal START", lambda: self.shows(normal, *box)))

    def audio_after_start(self):
        probe = self.wait_for("audio running", lambda: (
            lambda p: p if p["audio"]["state"] == "running" and p["audio"]["loops"] == 1 else None)(self.probe()))
        self.check("after START the audio runs, with one meadow loop", probe is not None,
                   json.dumps(self.probe()["audio"])[:600])
        probe = probe or self.probe()
        self.check("snd_start was played", self.log_has(probe, what="cue", name="snd_start", heard=True))
        self.check("the meadow loop started at START, looping its whole buffer",
                   self.log_has(probe, what="ambient-start", heard=True) and probe["audio"]["looping"])

    def timer_keeps_time(self):
        # A hidden tab's timeouts come late (Chromium: once a second); the
        # timer runs every tick the page's clock owes when it wakes.
        other = self.page.call("Target.createTarget", url="about:blank")["targetId"]
        self.page.call("Target.activateTarget", targetId=other)
        hidden = self.wait_for("page hidden", lambda: self.page.evaluate("document.visibilityState") == "hidden")
        time.sleep(2.5)
        probe = self.probe()
        now = self.page.evaluate("performance.now()")
        self.page.call("Target.activateTarget", targetId=self.page.target_id)
        self.page.call("Target.closeTarget", targetId=other)
        visible = self.wait_for("page visible", lambda: self.page.evaluate("document.visibilityState") == "visible")
        due = int((now - probe["timer_started_ms"]) // 100)
        caught_up = self.wait_for("ticks caught up", lambda: self.probe()["timer_ticks"] >= due)
        self.check("after 2.5 s in a hidden tab the timer has run every tick the clock owes (%d)" % due,
                   hidden and visible and caught_up, "hidden %s, visible %s, ran %d"
                   % (hidden, visible, self.probe()["timer_ticks"]))
        p = self.probe()
        now = self.page.evaluate("performance.now()")
        self.check("and never a tick ahead of the clock",
                   p["timer_ticks"] <= (now - p["timer_started_ms"]) // 100, json.dumps(p["timer_ticks"]))

    def miss(self):
        probe = self.probe()
        cartridges = [e for e in probe["elements"] if e["name"].startswith("cartridge[") and e["visible"]]

        def clear(x, y):
            return all(not (e["x"] - 40 <= x < e["x"] + e["w"] + 40 and e["y"] - 40 <= y < e["y"] + e["h"] + 40)
                       for e in probe["elements"])
        x, y = next((x, y) for y in range(60, 700, 20) for x in range(40, 1000, 20) if clear(x, y))
        # Two shots in quick succession: the second one's gunshot cuts off
        # the first's, on the one cue channel.
        self.click(x, y)
        self.click(x, y)
        after = self.wait_for("two misses", lambda: (lambda p: p if p["misses"] == probe["misses"] + 2 else None)(
            self.probe()))
        self.check("two shots at empty meadow (%d, %d) count two misses" % (x, y), after is not None)
        after = after or self.probe()
        cues = [entry for entry in after["audio"]["log"] if entry["what"] == "cue"][-2:]
        self.check("the second shot's cue cuts off the first's", len(cues) == 2 and cues[1]["cut"] == cues[0]["name"],
                   json.dumps(cues))
        left = [e for e in after["elements"] if e["name"].startswith("cartridge[") and e["visible"]]
        gone = [e for e in cartridges if e["name"] not in {c["name"] for c in left}]
        self.check("a cartridge goes with each", len(left) == len(cartridges) - 2 and len(gone) == 2,
                   "%d -> %d" % (len(cartridges), len(left)))
        for e in gone:
            self.check("the canvas shows the panel where %s was" % e["name"],
                       self.wait_for("cartridge gone", lambda: self.shows(self.scene_picture, e["x"], e["y"], e["w"], e["h"],
                                                                          at=(e["x"], e["y"]))))

    def hit_rodent(self, press=None, who="a raised rodent"):
        """A raised rodent shot with press(gx, gy) (a mouse click unless
        given): one hit, the score up by its worth and shown, the cross-hair
        where it was aimed. False when none could be hit."""
        press = press or self.click
        deadline = time.monotonic() + 120
        attempts = 0
        while time.monotonic() < deadline and attempts < 12:
            probe = self.probe()
            raised = self.raised_rodents(probe)
            if not raised:
                time.sleep(0.03)
                continue
            attempts += 1
            e = raised[0]
            aim = self.centre(e)
            press(*aim)
            after = self.wait_for("the shot counted", lambda: (
                lambda p: p if p["shots_fired"] > probe["shots_fired"] else None)(self.probe()))
            if after and after["hits"] > probe["hits"]:
                label = self.element(after, "score_label")
                return self.check("%s (%s) is hit once where aimed and the score goes %d -> %d" %
                                  (who, e["name"], probe["score"], after["score"]),
                                  after["score"] > probe["score"] and label["text"] == "%06d" % after["score"]
                                  and after["hits"] == probe["hits"] + 1
                                  and after["shots_fired"] == probe["shots_fired"] + 1
                                  and (after["cursor_x"], after["cursor_y"]) == aim,
                                  "%s; hits %d -> %d, shots %d -> %d, cursor %s, aimed %s" % (
                                      label["text"], probe["hits"], after["hits"], probe["shots_fired"],
                                      after["shots_fired"], (after["cursor_x"], after["cursor_y"]), aim))
        return self.check(who + " is hit", False, "%d shots missed or none came up" % attempts)

    def cancel_released_elsewhere(self):
        normal, pressed, cancel = self.hold_button("cancel_button")
        box = (cancel["x"], cancel["y"], cancel["w"], cancel["h"])
        self.wait_for("pressed CANCEL", lambda: self.shows(pressed, *box))
        self.mouse("mouseMoved", 400, 600)
        self.check("a held button dragged off shows its normal image",
                   pressed != normal and self.wait_for("normal CANCEL", lambda: self.shows(normal, *box)))
        shots = self.probe()["shots_fired"]
        self.mouse("mouseReleased", 400, 600)
        time.sleep(0.3)  # a command would run inside the release's handler
        p = self.probe()
        self.check("released off the button: no command, no shot",
                   p["stage"] == 1 and p["shots_fired"] == shots
                   and not self.log_has(p, what="cue", name="snd_cancel"))

    def cancel(self):
        self.click(*self.centre(self.element(self.probe(), "cancel_button")))
        probe = self.wait_for("stopped", lambda: (
            lambda p: p if p["stage"] == 0 and p["audio"]["loops"] == 0 else None)(self.probe()))
        self.check("CANCEL ends the game and the meadow loop", probe is not None)
        probe = probe or self.probe()
        self.check("snd_cancel played, then the loop stopped",
                   [(x["what"], x.get("name")) for x in probe["audio"]["log"][-2:]]
                   == [("cue", "snd_cancel"), ("ambient-stop", None)]
                   and probe["audio"]["log"][-1]["stopped"] == 1, json.dumps(probe["audio"]["log"][-3:]))
        self.check("GAME CANCELED is shown", self.element(probe, "canceled_banner")["visible"])
        self.screenshot("canceled.png")

    def keys_and_strip(self):
        before = self.canvas_rect()
        for key in ("ArrowLeft", "ArrowDown"):
            self.page.call("Input.dispatchKeyEvent", type="rawKeyDown", key=key, code=key,
                           windowsVirtualKeyCode={"ArrowLeft": 37, "ArrowDown": 40}[key])
            self.page.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=key)
        scrolled = self.page.evaluate("window.scrollX + window.scrollY")
        self.check("the arrow keys leave the canvas and the page where they are",
                   self.canvas_rect() == before and scrolled == 0)
        shots = self.probe()["shots_fired"]
        self.click(500, 10)
        self.check("a press in the title strip is no shot", self.probe()["shots_fired"] == shots)

    def close_and_play_again(self):
        self.page.evaluate("window.beforeReload = true")
        self.click(*self.centre(self.element(self.probe(), "close_button")))
        ended = self.wait_for("ended page", lambda: self.page.evaluate(
            "!document.getElementById('ended').hidden"
            " && getComputedStyle(document.getElementById('field')).display === 'none'"))
        self.check("the close button ends the game with a Play again page", ended)
        self.screenshot("ended.png")
        self.page.click_element("again")
        fresh = self.wait_for("a new game page", lambda: self.page.evaluate(
            "!window.beforeReload && !!window.plinkfieldProbe && plinkfieldProbe().firstFrameMs !== null"))
        self.check("Play again loads a fresh game", fresh and self.probe()["stage"] == 0)

    # -------------------------------------------------------------- main

    def desktop(self):
        self.set_viewport(FIELD_W, FIELD_H)
        probe = self.load()
        if not self.check("the page loads and draws its first frame", probe is not None):
            return False
        print("first frame %.0f ms after navigation start" % probe["firstFrameMs"], flush=True)
        with open(os.path.join(self.art, "first-frame-ms.txt"), "w") as f:
            f.write("%.0f\n" % probe["firstFrameMs"])
        self.check("silent before START: no audio context, nothing played, no console error",
                   probe["audio"]["state"] == "none" and not probe["audio"]["log"]
                   and not self.console_problems(), "; ".join(self.console_problems()))
        self.cursor_and_font()
        self.start_screen(probe)
        self.pictures_as_painted()
        self.gapless_loop()
        self.scaling()
        self.keys_and_strip()
        self.press_start()
        self.audio_after_start()
        self.timer_keeps_time()
        self.miss()
        self.hit_rodent()
        self.screenshot("playing.png")
        self.minimize()
        self.chorded_buttons()
        self.cancel_released_elsewhere()
        self.cancel()
        self.refused_with_the_beep()
        self.no_menu()
        self.close_and_play_again()
        return True

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


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    # Paths whose requests wait until their event is set: a slow network,
    # for one file.
    held = {}

    def do_GET(self):
        gate = self.held.get(self.path.lstrip("/").split("?")[0])
        if gate:
            gate.wait(WAIT)
        super().do_GET()

    def log_message(self, *args):
        pass


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # a browser that drops a request it no longer wants


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
