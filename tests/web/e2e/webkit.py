"""WebKit for the driver layer (browsers.py): WebKitWebDriver driving
MiniBrowser on a private Xvfb with openbox, classic W3C WebDriver over
HTTP (webdriver.py)."""
import base64
import json
import os
import socket
import subprocess
import time

import webdriver
from engine import START_TIMEOUT, Engine, as_json, key_actions, pointer_actions
from websocket import ProtocolError

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
        if url == "about:blank" and not self.on_empty_page():
            # The empty page cannot read the tab's storage: what the page
            # kept is taken along first.
            self.problems += self.kept_problems()
            self.evaluate("sessionStorage.removeItem('problems')")
        self.driver.call("POST", "/url", {"url": url}, timeout=130)

    def on_empty_page(self):
        return self.evaluate("location.href") == "about:blank"

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
        if self.on_empty_page():
            return []  # taken along when the tab left the page
        try:
            return self.evaluate("JSON.parse(sessionStorage.getItem('problems') || '[]')") or []
        except ProtocolError:
            return ["(the page's problems could not be read)"]

    def console_problems(self):
        return self.problems + self.kept_problems()
