"""A WebDriver BiDi client over our own WebSocket, standard library only:
enough to drive the pages of a browser that speaks BiDi itself (Firefox,
started with --remote-debugging-port)."""
from websocket import Commands, ProtocolError


class Session(Commands):
    """One BiDi session: commands with their answers, events kept in order."""

    def __init__(self, url, timeout=60):
        self.connect(url.rstrip("/") + "/session", timeout=timeout)
        self.call("session.new", capabilities={"alwaysMatch": {}})

    def error(self, message):
        return message.get("type") == "error" and "%s: %s" % (message.get("error"), message.get("message"))

    def is_event(self, message):
        return message.get("type") == "event"

    def take_events(self):
        """Reads what has come meanwhile, without a command to answer."""
        self.call("session.status")

    def close(self):
        try:
            self.call("session.end", timeout=10)
        except (OSError, ProtocolError):
            pass
        self.ws.close()
