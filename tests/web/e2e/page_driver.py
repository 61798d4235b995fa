"""What every group of the page's checks stands on: the checks' tally, the
page's probe, waits for states, trusted mouse events at game points, the
canvas's pixels against the painted files, screenshots, the viewport, the
local server (which can hold one file back, as a slow network would) and
the console's problems. Mixed into the suite's Run."""
import base64
import functools
import http.server
import json
import os
import threading
import time

from cdp import Page

FIELD_W, FIELD_H = 1280, 786
WAIT = 30  # seconds for any one state to arrive, on a loaded machine


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


class Driver:
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
