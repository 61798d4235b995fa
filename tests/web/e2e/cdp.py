"""A small DevTools-protocol client over our own WebSocket, standard
library only: enough to drive one page of a headless Chromium."""
import json
import time
import urllib.request

from websocket import Commands, ProtocolError


class Page(Commands):
    """One page target (the first there is, or the one named): commands with
    their answers, events kept in order."""

    def __init__(self, port, timeout=60, target_id=None):
        deadline = time.monotonic() + timeout
        while True:
            try:
                with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port, timeout=5) as r:
                    targets = json.load(r)
                pages = [t for t in targets
                         if t.get("type") == "page" and (target_id is None or t["id"] == target_id)]
                if pages:
                    break
            except OSError:
                pass
            if time.monotonic() > deadline:
                raise ProtocolError("no page target on port %d" % port)
            time.sleep(0.1)
        self.target_id = pages[0]["id"]
        self.connect(pages[0]["webSocketDebuggerUrl"], timeout=timeout)

    def error(self, message):
        return message.get("error")

    def is_event(self, message):
        return "method" in message

    def evaluate(self, expression, timeout=60):
        result = self.call("Runtime.evaluate", timeout=timeout, expression=expression,
                           returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise ProtocolError("%s: %s" % (expression, result["exceptionDetails"].get("text")))
        return result["result"].get("value")

    def click_element(self, element_id):
        """A real left click in the middle of the page's element of that id."""
        x, y = self.evaluate("(() => { const r = document.getElementById(%s).getBoundingClientRect();"
                             " return [r.left + r.width / 2, r.top + r.height / 2]; })()" % json.dumps(element_id))
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            params = {"type": kind, "x": x, "y": y}
            if kind != "mouseMoved":
                params.update(button="left", clickCount=1)
            self.call("Input.dispatchMouseEvent", **params)

    def close(self):
        self.ws.close()
