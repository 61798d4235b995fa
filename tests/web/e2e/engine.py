"""What every engine of the driver layer (browsers.py) shares: the base
class with its private profile, log and processes, the scripts' JSON, and
WebDriver's numbers for buttons and keys."""
import json
import os
import shutil
import subprocess
import tempfile
import time

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
