"""A classic W3C WebDriver client over HTTP, standard library only: enough
to drive the windows of WebKitWebDriver's browser."""
import json
import time
import urllib.error
import urllib.request

from websocket import ProtocolError


class Session:
    """One session of the driver at `url`: its commands, their values."""

    def __init__(self, url, capabilities, timeout=60):
        self.url = url.rstrip("/")
        deadline = time.monotonic() + timeout
        while True:
            try:
                with urllib.request.urlopen(self.url + "/status", timeout=5) as r:
                    if json.load(r)["value"].get("ready", True):
                        break
            except (OSError, ValueError):
                pass
            if time.monotonic() > deadline:
                raise ProtocolError("no WebDriver at %s" % self.url)
            time.sleep(0.1)
        self.session = ""
        value = self.call("POST", "/session", {"capabilities": {"alwaysMatch": capabilities}}, timeout=timeout)
        self.session = "/session/" + value["sessionId"]
        self.capabilities = value["capabilities"]

    def call(self, method, path, body=None, timeout=60):
        """The command's value; its error as a ProtocolError."""
        data = json.dumps(body if body is not None else {}).encode() if method == "POST" else None
        request = urllib.request.Request(self.url + self.session + path, data=data, method=method,
                                         headers={"Content-Type": "application/json; charset=utf-8"})
        try:
            with urllib.request.urlopen(request, timeout=timeout) as r:
                return json.load(r)["value"]
        except urllib.error.HTTPError as e:
            try:
                value = json.load(e)["value"]
                reason = "%s: %s" % (value.get("error"), value.get("message"))
            except (ValueError, KeyError, TypeError):
                reason = "HTTP %d" % e.code
            raise ProtocolError("%s %s: %s" % (method, path, reason)) from None

    def close(self):
        try:
            self.call("DELETE", "", timeout=20)
        except (OSError, ProtocolError):
            pass
