"""The one driver layer under the page's checks: a browser engine started
in a private profile, its page driven with trusted input and read with
scripts, whatever protocol the engine speaks.

  Chromium  headless, the DevTools protocol (cdp.py)
  Firefox   firefox-esr headless, WebDriver BiDi spoken by Firefox itself
            (bidi.py)
  WebKit    WebKitWebDriver driving MiniBrowser on a private Xvfb (with
            openbox), classic W3C WebDriver over HTTP (webdriver.py)

Every engine offers the same calls, in CSS pixels of the page's viewport:
navigate, evaluate (a script's value as JSON, promises awaited), mouse
(trusted presses, moves and releases of the left, middle or right button),
key, screenshot, set_viewport, new_tab, hide_page and show_page (another tab
in front), network (on or off), console_problems. What an engine cannot
do is named in its `cannot`, by ability, with the reason; the checks then
say so by name instead of passing. Chromium alone also has touch and
installability (CDP's Input.dispatchTouchEvent, Page.getInstallabilityErrors).
`page_hook`, where an engine has one, is a script the test server puts at
the top of every page it serves (WebKitWebDriver has no log: the hook keeps
the page's console warnings and errors in its tab's sessionStorage).
"""
import base64
import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import threading
import time

import bidi
import webdriver
from cdp import Page
from websocket import ProtocolError

START_TIMEOUT = 60  # seconds for a browser to start and answer, on a loaded machine

# A script's value as JSON, whatever the protocol: a statement list's last
# value, a promise's result once it settles.
def as_json(expression):
    return "(async () => JSON.stringify(await (0, eval)(%s)))()" % json.dumps(expression)


# WebDriver's numbers for the buttons and the keys, BiDi's and classic's.
BUTTON_NUMBERS = {"left": 0, "middle": 1, "right": 2}
KEY_VALUES = {"ArrowLeft": "\ue012", "ArrowUp": "\ue013", "ArrowRight": "\ue014", "ArrowDown": "\ue015"}


def pointer_actions(steps):
    """A mouse's input source doing steps [(kind, x, y, button)], in
    whole pixels: Firefox rounds a point to the nearest, where the page
    takes the pixel it falls in."""
    actions = []
    for kind, x, y, button in steps:
        actions.append({"type": "pointerMove", "x": int(x), "y": int(y), "origin": "viewport", "duration": 0})
        if kind != "move":
            actions.append({"type": "pointerDown" if kind == "down" else "pointerUp", "button": BUTTON_NUMBERS[button]})
    return [{"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}, "actions": actions}]


def key_actions(key):
    value = KEY_VALUES[key]
    return [{"type": "key", "id": "keyboard", "actions": [{"type": "keyDown", "value": value},
                                                          {"type": "keyUp", "value": value}]}]


def wait_for_file(path, timeout=START_TIMEOUT):
    deadline = time.monotonic() + timeout
    while not (os.path.exists(path) and open(path).read().strip()):
        if time.monotonic() > deadline:
            raise ProtocolError("no %s in %d s" % (path, timeout))
        time.sleep(0.05)
    return open(path).read()


class Engine:
    """What every engine shares: a private folder, a log, its processes."""
    cannot = {}
    page_hook = None

    def __init__(self, artifacts):
        self.art = artifacts
        self.profile = tempfile.mkdtemp(prefix="plinkfield-%s-" % self.name)
        self.log = open(os.path.join(artifacts, "%s.log" % self.name), "w")
        self.processes = []  # ended last first

    def click_element(self, element_id):
        """A real left click in the middle of the page's element of that id."""
        x, y = self.evaluate("(() => { const r = document.getElementById(%s).getBoundingClientRect();"
                             " return [r.left + r.width / 2, r.top + r.height / 2]; })()" % json.dumps(element_id))
        self.click(x, y)

    def click(self, x, y):
        """A left click at the point: a move, a press and a release."""
        for kind in ("move", "down", "up"):
            self.mouse(kind, x, y)

    def close(self):
        """Ends the protocol's session, then every process, last first."""
        try:
            self.client().close()
        except Exception:
            pass  # a browser already gone
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


# ---------------------------------------------------------------- Chromium


class Chromium(Engine):
    name = "chromium"
    BUTTON_BITS = {"left": 1, "right": 2, "middle": 4}
    KEY_CODES = {"ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40}

    def start(self):
        self.processes.append(subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--remote-debugging-port=0", "--user-data-dir=" + self.profile, "--window-size=1280,786",
             "--hide-scrollbars", "about:blank"], stdout=self.log, stderr=self.log))
        self.devtools_port = int(wait_for_file(os.path.join(self.profile, "DevToolsActivePort")).split()[0])
        self.cdp = self.attach(Page(self.devtools_port))
        self.touch_screen = False
        self.held = []  # buttons down
        self.earlier_events = []  # of the tabs closed
        self.other = None

    def client(self):
        return self.cdp

    def attach(self, page):
        for domain in ("Page", "Runtime", "Log", "Network"):
            page.call(domain + ".enable")
        return page

    def navigate(self, url):
        self.cdp.call("Page.navigate", url=url)

    def evaluate(self, expression, timeout=60):
        return self.cdp.evaluate(expression, timeout=timeout)

    def mouse(self, kind, x, y, button="left"):
        # The DevTools protocol names the buttons held with every event.
        if kind == "down" and button not in self.held:
            self.held.append(button)
        elif kind == "up" and button in self.held:
            self.held.remove(button)
        buttons = sum(self.BUTTON_BITS[b] for b in self.held)
        if kind == "move":
            self.cdp.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y, button="none", buttons=buttons)
        else:
            self.cdp.call("Input.dispatchMouseEvent", type="mousePressed" if kind == "down" else "mouseReleased",
                          x=x, y=y, button=button, buttons=buttons, clickCount=1)

    def key(self, key):
        self.cdp.call("Input.dispatchKeyEvent", type="rawKeyDown", key=key, code=key,
                      windowsVirtualKeyCode=self.KEY_CODES[key])
        self.cdp.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=key)

    def screenshot(self):
        return base64.b64decode(self.cdp.call("Page.captureScreenshot", format="png")["data"])

    def set_viewport(self, w, h, ratio=1, mobile=False):
        self.viewport = (w, h, ratio, mobile)
        self.cdp.call("Emulation.setDeviceMetricsOverride", width=w, height=h, deviceScaleFactor=ratio, mobile=mobile)

    def new_tab(self):
        """Goes on in a tab of its own, in the same browser (its offline
        copies and all), with the viewport and touch screen of the one
        before, which is closed."""
        target = self.cdp.call("Target.createTarget", url="about:blank")["targetId"]
        before = self.cdp
        self.cdp = self.attach(Page(self.devtools_port, target_id=target))
        if self.touch_screen:
            self.set_touch(True)
        self.set_viewport(*self.viewport)
        self.cdp.call("Target.closeTarget", targetId=before.target_id)
        self.earlier_events += before.events
        before.close()

    def hide_page(self):
        self.other = self.cdp.call("Target.createTarget", url="about:blank")["targetId"]
        self.cdp.call("Target.activateTarget", targetId=self.other)

    def show_page(self):
        self.cdp.call("Target.activateTarget", targetId=self.cdp.target_id)
        self.cdp.call("Target.closeTarget", targetId=self.other)

    def network(self, online):
        self.cdp.call("Network.emulateNetworkConditions", offline=not online, latency=0,
                      downloadThroughput=-1, uploadThroughput=-1)

    def console_problems(self):
        problems = []
        for ev in self.earlier_events + self.cdp.events:
            method, params = ev["method"], ev.get("params", {})
            if method == "Runtime.exceptionThrown":
                problems.append(params["exceptionDetails"].get("text", "exception"))
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "warning"):
                problems.append(" ".join(str(a.get("value", "")) for a in params.get("args", [])))
            elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
                problems.append(params["entry"]["text"] + " " + params["entry"].get("url", ""))
        return problems

    # Chromium's own: a touch screen, and what it finds of an installable page.

    def set_touch(self, enabled):
        self.touch_screen = enabled
        self.cdp.call("Emulation.setTouchEmulationEnabled", enabled=enabled, maxTouchPoints=5)

    def touch(self, kind, points):
        self.cdp.call("Input.dispatchTouchEvent", type=kind,
                      touchPoints=[{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)])

    def installability(self):
        """(what keeps the page from being installed, its manifest)."""
        errors = self.cdp.call("Page.getInstallabilityErrors")["installabilityErrors"]
        return errors, json.loads(self.cdp.call("Page.getAppManifest").get("data") or "{}")



# ---------------------------------------------------------------- Firefox


class Firefox(Engine):
    name = "firefox"
    cannot = {
        "touch": "no touch screen to emulate through WebDriver BiDi",
        "installability": "Firefox on the desktop installs no web pages",
        "mp3-exact": "Firefox 153 decodes an MP3 file some hundred samples short at its end, so the loop"
                     " would not be whole; it plays Ogg, and the page never asks it for MP3",
    }
    # Without a sound server Firefox keeps an AudioContext "suspended" for
    # good: its own stand-in device plays in time instead.
    PREFS = {
        "media.cubeb.force_mock_context": True,
        "browser.download.folderList": 2,
        "browser.shell.checkDefaultBrowser": False,
    }

    def start(self):
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for name, value in self.PREFS.items():
                f.write("user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value)))
            f.write("user_pref(\"browser.download.dir\", %s);\n" % json.dumps(os.path.join(self.profile, "saved")))
        process = subprocess.Popen(
            ["firefox-esr", "--headless", "--no-remote", "--profile", self.profile, "--remote-debugging-port=0",
             "about:blank"], stdout=self.log, stderr=subprocess.PIPE, text=True,
            env=dict(os.environ, MOZ_CRASHREPORTER_DISABLE="1"))
        self.processes.append(process)
        url = self.listening(process)
        self.bidi = bidi.Session(url)
        self.bidi.call("session.subscribe", events=["log.entryAdded"])
        self.context = self.bidi.call("browsingContext.getTree")["contexts"][0]["context"]
        self.other = None

    def client(self):
        return self.bidi

    def listening(self, process):
        """Firefox's BiDi address, from what it prints as it starts; the
        rest of what it prints goes to the log."""
        found = []
        ready = threading.Event()

        def read():
            for line in process.stderr:
                match = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
                if match and not found:
                    found.append(match.group(1))
                    ready.set()
                if not self.log.closed:
                    self.log.write(line)
            ready.set()
        threading.Thread(target=read, daemon=True).start()
        if not ready.wait(START_TIMEOUT) or not found:
            raise ProtocolError("firefox-esr printed no BiDi address")
        return found[0]

    def navigate(self, url):
        self.bidi.call("browsingContext.navigate", context=self.context, url=url, wait="none")

    def evaluate(self, expression, timeout=60):
        result = self.bidi.call("script.evaluate", timeout=timeout, expression=as_json(expression),
                                target={"context": self.context}, awaitPromise=True, resultOwnership="none")
        if result["type"] == "exception":
            raise ProtocolError("%s: %s" % (expression[:80], result["exceptionDetails"].get("text")))
        value = result["result"]
        return json.loads(value["value"]) if value["type"] == "string" else None

    def mouse(self, kind, x, y, button="left"):
        self.bidi.call("input.performActions", context=self.context, actions=pointer_actions([(kind, x, y, button)]))

    def click(self, x, y):
        # In one go, as a quick hand clicks.
        self.bidi.call("input.performActions", context=self.context, actions=pointer_actions(
            [("move", x, y, "left"), ("down", x, y, "left"), ("up", x, y, "left")]))

    def key(self, key):
        self.bidi.call("input.performActions", context=self.context, actions=key_actions(key))

    def screenshot(self):
        return base64.b64decode(self.bidi.call("browsingContext.captureScreenshot", context=self.context,
                                               origin="viewport")["data"])

    def set_viewport(self, w, h, ratio=1, mobile=False):
        self.viewport = (w, h, ratio, mobile)
        self.bidi.call("browsingContext.setViewport", context=self.context, viewport={"width": w, "height": h},
                       devicePixelRatio=ratio)

    def new_tab(self):
        before = self.context
        self.context = self.bidi.call("browsingContext.create", type="tab")["context"]
        self.bidi.call("browsingContext.activate", context=self.context)
        self.set_viewport(*self.viewport)
        self.bidi.call("browsingContext.close", context=before)

    def hide_page(self):
        self.other = self.bidi.call("browsingContext.create", type="tab")["context"]
        self.bidi.call("browsingContext.activate", context=self.other)

    def show_page(self):
        self.bidi.call("browsingContext.activate", context=self.context)
        self.bidi.call("browsingContext.close", context=self.other)

    def network(self, online):
        self.bidi.call("emulation.setNetworkConditions", contexts=[self.context],
                       networkConditions=None if online else {"type": "offline"})

    def console_problems(self):
        self.bidi.take_events()
        return ["%s %s" % (e["params"].get("text"), (e["params"].get("source") or {}).get("context", ""))
                for e in self.bidi.events if e.get("method") == "log.entryAdded"
                and e["params"].get("level") in ("warn", "error")]



# ---------------------------------------------------------------- WebKit

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"

# Keeps the page's console warnings and errors, and what it throws, in its
# tab's sessionStorage, where they outlive reloads and navigations.
CONSOLE_HOOK = """(() => {
  const keep = (text) => {
    const kept = JSON.parse(sessionStorage.getItem("problems") || "[]");
    kept.push(text);
    sessionStorage.setItem("problems", JSON.stringify(kept));
  };
  for (const level of ["warn", "error"]) {
    const write = console[level].bind(console);
    console[level] = (...args) => { keep(args.map(String).join(" ")); write(...args); };
  }
  addEventListener("error", (e) => keep(e.message || "error loading " + ((e.target && e.target.src) || "?")), true);
  addEventListener("unhandledrejection", (e) => keep("unhandled rejection: " + e.reason));
})();"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WebKit(Engine):
    name = "webkit"
    cannot = {
        "touch": "WebKitWebDriver emulates no touch screen",
        "installability": "MiniBrowser installs no web pages",
        "density": "WebKitWebDriver sets no device pixel ratio",
        "network-emulation": "WebKitWebDriver cannot take the network away (the server is stopped instead)",
        "right-button": "WebKitWebDriver lets the right button go as a move of the left, so the page keeps it"
                        " held",
    }
    page_hook = CONSOLE_HOOK

    def start(self):
        read_end, write_end = os.pipe()
        self.processes.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1200x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=self.log, stderr=self.log))
        os.close(write_end)
        display = b""
        deadline = time.monotonic() + START_TIMEOUT
        while not display.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            display += chunk
        os.close(read_end)
        if not display.strip():
            raise ProtocolError("Xvfb gave no display")
        env = dict(os.environ, DISPLAY=":" + display.decode().strip(), NO_AT_BRIDGE="1")
        # A window manager, so that a minimized window is hidden from its page.
        self.processes.append(subprocess.Popen(["openbox"], env=env, stdout=self.log, stderr=self.log))
        port = free_port()
        self.processes.append(subprocess.Popen(["WebKitWebDriver", "--port=%d" % port], env=env,
                                               stdout=self.log, stderr=self.log))
        self.driver = webdriver.Session("http://127.0.0.1:%d" % port, {
            "browserName": "MiniBrowser",
            "webkitgtk:browserOptions": {"binary": MINIBROWSER, "args": ["--automation"]}}, timeout=START_TIMEOUT)
        self.driver.call("POST", "/timeouts", {"script": 120000, "pageLoad": 120000})
        self.window = self.driver.call("GET", "/window")
        self.other = None
        self.problems = []  # of the tabs closed

    def client(self):
        return self.driver

    def navigate(self, url):
        self.driver.call("POST", "/url", {"url": url}, timeout=130)

    def evaluate(self, expression, timeout=60):
        value = self.driver.call("POST", "/execute/async", {"script": (
            "const done = arguments[arguments.length - 1];"
            " %s.then((json) => done({json: json === undefined ? null : json}), (e) => done({error: String(e)}));"
            % as_json(expression)), "args": []}, timeout=timeout + 10)
        if "error" in value:
            raise ProtocolError("%s: %s" % (expression[:80], value["error"]))
        return json.loads(value["json"]) if value["json"] is not None else None

    def mouse(self, kind, x, y, button="left"):
        self.driver.call("POST", "/actions", {"actions": pointer_actions([(kind, x, y, button)])})

    def click(self, x, y):
        self.driver.call("POST", "/actions", {"actions": pointer_actions(
            [("move", x, y, "left"), ("down", x, y, "left"), ("up", x, y, "left")])})

    def key(self, key):
        self.driver.call("POST", "/actions", {"actions": key_actions(key)})

    def screenshot(self):
        return base64.b64decode(self.driver.call("GET", "/screenshot"))

    def set_viewport(self, w, h, ratio=1, mobile=False):
        """The window sized until its page has w x h (MiniBrowser's
        toolbar takes some of the window)."""
        self.viewport = (w, h, ratio, mobile)
        width, height = w, h
        for _ in range(8):
            self.driver.call("POST", "/window/rect", {"width": width, "height": height})
            inner = self.page_size()
            if inner == [w, h]:
                return
            width += w - inner[0]
            height += h - inner[1]
        raise ProtocolError("MiniBrowser's page stays %s, not %d x %d" % (inner, w, h))

    def page_size(self):
        """The page's size once the window has done resizing (on a busy
        machine the driver answers first): the same twice, a fifth of a
        second apart."""
        before = None
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            size = self.evaluate("[innerWidth, innerHeight]")
            if size == before:
                return size
            before = size
            time.sleep(0.2)
        return before

    def new_tab(self):
        self.problems += self.kept_problems()
        handle = self.driver.call("POST", "/window/new", {"type": "tab"})["handle"]
        self.driver.call("DELETE", "/window")
        self.driver.call("POST", "/window", {"handle": handle})
        self.window = handle
        self.set_viewport(*self.viewport)

    # MiniBrowser's other tabs and windows leave the page shown: the window
    # is minimized instead, and sized again to show it.
    def hide_page(self):
        self.driver.call("POST", "/window/minimize")

    def show_page(self):
        self.set_viewport(*self.viewport)

    def network(self, online):
        pass  # cannot: the checks stop the server

    def kept_problems(self):
        try:
            return self.evaluate("JSON.parse(sessionStorage.getItem('problems') || '[]')") or []
        except ProtocolError:
            return ["(the page's problems could not be read)"]

    def console_problems(self):
        return self.problems + self.kept_problems()



ENGINES = {"chromium": Chromium, "firefox": Firefox, "webkit": WebKit}
