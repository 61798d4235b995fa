"""The one driver layer under the page's checks: a browser engine started
in a private profile, its page driven with trusted input and read with
scripts, whatever protocol the engine speaks.

  Chromium  headless, the DevTools protocol (cdp.py)
  Firefox   firefox-esr headless, WebDriver BiDi spoken by Firefox itself
            (bidi.py)
  WebKit    WebKitWebDriver driving MiniBrowser on a private Xvfb (with
            openbox), classic W3C WebDriver over HTTP (webdriver.py), in
            webkit.py; what the three share is engine.py

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
import subprocess
import threading

import bidi
from cdp import Page
from engine import START_TIMEOUT, Engine, as_json, key_actions, pointer_actions, wait_for_file
from websocket import ProtocolError
from webkit import WebKit

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


ENGINES = {"chromium": Chromium, "firefox": Firefox, "webkit": WebKit}
