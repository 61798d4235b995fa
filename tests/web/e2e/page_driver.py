"""What every group of the page's checks stands on: the checks' tally (and
the checks an engine cannot do, named), the page's probe, waits for
states, trusted mouse events at game points, the canvas's pixels against
the painted files, screenshots, the local server (which can hold one file
back, as a slow network would, refuse or damage files, put a script at
the top of the page, and keeps every path asked of it) and the console's
problems. The engine under it all is self.page (browsers.py). Mixed into
the suite's Run."""
import base64
import functools
import http.server
import json
import os
import threading
import time

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


# A page script that empties the best games' storage before the page runs:
# every load a new player's, but in the group that keeps games.
FORGET_BEST_GAMES = ("try { Object.keys(localStorage).filter((k) => k.startsWith('plinkfield.'))"
                     ".forEach((k) => localStorage.removeItem(k)); } catch (e) {}")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    # Paths whose requests wait until their event is set: a slow network,
    # for one file.
    held = {}
    # Path endings answered 404, paths answered with bytes no decoder reads.
    refused = set()
    damaged = set()
    # Scripts put at the top of the page's <head>, before any of its own.
    hooks = []
    # Every path asked for, in order (the browser's and its workers').
    asked = []

    def do_GET(self):
        path = self.path.lstrip("/").split("?")[0] or "index.html"
        self.asked.append(path)
        gate = self.held.get(path)
        if gate:
            gate.wait(WAIT)
        if any(path.endswith(end) for end in self.refused):
            return self.send_error(404)
        if path in self.damaged:
            return self.answer(b"\xff\xfb\x90\x00 this is no sound at all " * 40, "audio/mpeg")
        if path == "index.html" and self.hooks:
            with open(os.path.join(self.directory, path), "rb") as f:
                page = f.read()
            hooks = "".join("<script>%s</script>\n" % hook for hook in self.hooks).encode()
            return self.answer(page.replace(b"<head>\n", b"<head>\n" + hooks, 1), "text/html")
        super().do_GET()

    def answer(self, body, kind):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class QuietServer(http.server.ThreadingHTTPServer):
    # A page asks for some ninety files at once, its worker as many: on a
    # busy machine the five connections Python waits for by default are
    # too few.
    request_queue_size = 128

    def handle_error(self, request, client_address):
        pass  # a browser that drops a request it no longer wants


class Driver:
    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
            print("PASS (%s): %s" % (self.engine, name), flush=True)
        else:
            self.failed += 1
            print("FAIL (%s): %s%s" % (self.engine, name, " -- " + detail if detail else ""), flush=True)
        return ok

    def able(self, ability, what):
        """False, with the checks named as not run here, when the engine
        cannot do this."""
        why = self.page.cannot.get(ability)
        if why:
            self.skipped += 1
            print("SKIP (%s): %s -- %s" % (self.engine, what, why), flush=True)
        return not why

    def picture(self, ident):
        if ident not in self.pictures:
            self.pictures[ident] = read_bmp(self.painted_file(ident))
        return self.pictures[ident]

    def painted_file(self, ident, scale=1):
        """The painter's picture: the bitmap, or its twin at twice the size."""
        if ident == self.plate["id"]:
            return os.path.join(self.res, self.plate["files"][scale - 1])
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

    def everything_came(self, what):
        """Waits until every picture at the page's scale and every sound
        has come: the probe then, or None."""
        return self.wait_for(what, lambda: (
            lambda p: p if p["view"]["pictures"][str(p["view"]["scale"])] == len(self.page_pictures)
            and p["audio"]["decoded"] == len(self.page_sounds) else None)(self.probe()))

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

    def mouse(self, kind, gx, gy, button="left"):
        """A trusted move, press or release ("move", "down", "up") at a
        field point."""
        self.page.mouse(kind, *self.page_point(gx, gy), button=button)

    def click(self, gx, gy):
        self.page.click(*self.page_point(gx, gy))

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
        path = os.path.join(self.art, name)
        with open(path, "wb") as f:
            f.write(self.page.screenshot())
        return path

    def set_viewport(self, w, h, ratio=1, mobile=False):
        self.page.set_viewport(w, h, ratio, mobile)

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

    def settle(self):
        """A page left while it still fetches fails what it fetched (Firefox
        then says so in the console): the page is let settle first."""
        if self.page.evaluate("!!window.plinkfieldProbe && plinkfieldProbe().firstFrameMs !== null"):
            self.everything_came("the page before settled")

    def leave_page(self):
        """Settled, and left for an empty page: what a new viewport is set
        on, so that no page of ours starts fetching for it."""
        self.settle()
        self.page.navigate("about:blank")
        self.wait_for("the empty page", lambda: self.page.evaluate("location.href") == "about:blank")

    def load(self, query="", timeout=60):
        """Navigates to the page and waits for its first frame: the probe
        then, or None."""
        self.settle()
        # The page before keeps answering for a while: a mark on it tells
        # the two apart.
        self.page.evaluate("window.pageBefore = true")
        self.page.navigate(self.url + query)
        probe = self.wait_for("first frame", lambda: (
            lambda p: p if p and p["firstFrameMs"] is not None else None)(
            None if self.page.evaluate("window.pageBefore === true") else self.probe()), timeout=timeout)
        # Input reaches a page once the browser shows it: two frames on.
        if probe:
            self.page.evaluate("new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))")
        else:
            print("  (the page at %s, %s)" % tuple(self.page.evaluate(
                "[location.href, document.readyState]")), flush=True)
        return probe

    def new_tab(self):
        """Goes on in a tab of its own, in the same browser (its offline
        copies and all), with the viewport of the one before, closed."""
        self.page.new_tab()

    def console_problems(self):
        """The console's warnings and errors so far, but those a check
        asked for."""
        problems = list(self.page.console_problems())
        for expected in self.expected_problems:
            if expected in problems:
                problems.remove(expected)
        return problems

    def log_has(self, probe, **fields):
        return any(all(entry.get(k) == v for k, v in fields.items()) for entry in probe["audio"]["log"])

    # -------------------------------------------------------------- checks
