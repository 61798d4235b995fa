"""A WebDriver BiDi client over our own WebSocket, standard library only:
enough to drive the pages of a browser that speaks BiDi itself (Firefox,
started with --remote-debugging-port)."""
import json
import time

from websocket import ProtocolError, WebSocket


class Session:
    """One BiDi session: commands with their answers, events kept in order."""

    def __init__(self, url, timeout=60):
        self.ws = WebSocket(url.rstrip("/") + "/session", timeout=timeout)
        self.next_id = 0
        self.events = []
        self.call("session.new", capabilities={"alwaysMatch": {}})

    def call(self, method, timeout=60, **params):
        self.next_id += 1
        ident = self.next_id
        self.ws.send_text(json.dumps({"id": ident, "method": method, "params": params}))
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise ProtocolError("%s: no answer in %d s" % (method, timeout))
            message = json.loads(self.ws.receive_text(left))
            if message.get("id") == ident:
                if message.get("type") == "error":
                    raise ProtocolError("%s: %s: %s" % (method, message.get("error"), message.get("message")))
                return message.get("result", {})
            if message.get("type") == "event":
                self.events.append(message)

    def take_events(self):
        """Reads what has come meanwhile, without a command to answer."""
        self.call("session.status")

    def close(self):
        try:
            self.call("session.end", timeout=10)
        except (OSError, ProtocolError):
            pass
        self.ws.close()
