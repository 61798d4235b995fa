"""A WebSocket client of our own, standard library only (RFC 6455, the
client's side: text frames out, masked; frames in, pings answered), and
the numbered commands with their answers that the DevTools protocol and
WebDriver BiDi both send over it."""
import base64
import json
import os
import socket
import struct
import time


class ProtocolError(Exception):
    pass


class WebSocket:
    """Client side of RFC 6455: text frames out (masked), frames in."""

    def __init__(self, url, timeout=60):
        assert url.startswith("ws://")
        host_port, _, path = url[len("ws://"):].partition("/")
        host, _, port = host_port.partition(":")
        self.sock = socket.create_connection((host, int(port)), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        request = ("GET /%s HTTP/1.1\r\nHost: %s\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                   "Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n" % (path, host_port, key))
        self.sock.sendall(request.encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(1)
            if not chunk:
                raise ProtocolError("connection closed during the handshake")
            head += chunk
        if b" 101 " not in head.split(b"\r\n", 1)[0]:
            raise ProtocolError("handshake refused: %r" % head)

    def _exact(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise ProtocolError("connection closed")
            data += chunk
        return data

    def send_text(self, text):
        payload = text.encode()
        header = bytes([0x81])
        n = len(payload)
        if n < 126:
            header += bytes([0x80 | n])
        elif n < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", n)
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", n)
        mask = os.urandom(4)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)

    def _send_control(self, opcode, payload=b""):
        mask = os.urandom(4)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(bytes([0x80 | opcode, 0x80 | len(payload)]) + mask + masked)

    def receive_text(self, timeout):
        self.sock.settimeout(timeout)
        message = b""
        while True:
            first, second = self._exact(2)
            opcode = first & 0x0F
            n = second & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._exact(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._exact(8))[0]
            mask = self._exact(4) if second & 0x80 else None
            payload = self._exact(n)
            if mask:
                payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
            if opcode == 0x9:
                self._send_control(0xA, payload)
                continue
            if opcode == 0x8:
                raise ProtocolError("the browser closed the connection")
            if opcode in (0x0, 0x1, 0x2):
                message += payload
                if first & 0x80:
                    return message.decode()

    def close(self):
        try:
            self._send_control(0x8)
        except OSError:
            pass
        self.sock.close()


class Commands:
    """Numbered commands and their answers over a WebSocket, the events that
    come between kept in order. A protocol says how an answer tells of an
    error (error) and what an event is (is_event)."""

    def connect(self, url, timeout=60):
        self.ws = WebSocket(url, timeout=timeout)
        self.next_id = 0
        self.events = []

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
                if self.error(message):
                    raise ProtocolError("%s: %s" % (method, self.error(message)))
                return message.get("result", {})
            if self.is_event(message):
                self.events.append(message)
