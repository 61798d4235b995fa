#!/usr/bin/env python3
"""Measures the time from navigation start to the page's first drawn frame
in headless Chromium: N loads, each in a fresh profile (nothing cached),
from a local http.server. A measurement, not a test: it prints the figures.

  measure_first_frame.py PAGE_DIR [LOADS]
"""
import functools
import http.server
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Page  # noqa: E402


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def one_load(url):
    profile = tempfile.mkdtemp(prefix="plinkfield-measure-")
    browser = subprocess.Popen(
        ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--remote-debugging-port=0", "--user-data-dir=" + profile, "--window-size=1280,786", "about:blank"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        port_file = os.path.join(profile, "DevToolsActivePort")
        deadline = time.monotonic() + 60
        while not (os.path.exists(port_file) and open(port_file).read().strip()):
            if time.monotonic() > deadline:
                raise RuntimeError("chromium did not start")
            time.sleep(0.05)
        page = Page(int(open(port_file).read().split()[0]))
        page.call("Page.enable")
        page.call("Page.navigate", url=url)
        deadline = time.monotonic() + 60
        while True:
            ms = page.evaluate("window.plinkfieldProbe ? plinkfieldProbe().firstFrameMs : null")
            if ms is not None:
                page.close()
                return ms
            if time.monotonic() > deadline:
                raise RuntimeError("no first frame in 60 s")
            time.sleep(0.02)
    finally:
        browser.terminate()
        browser.wait(timeout=20)
        shutil.rmtree(profile, ignore_errors=True)


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    loads = int(argv[2]) if len(argv) == 3 else 5
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=argv[1]))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/" % server.server_address[1]
    times = [one_load(url) for _ in range(loads)]
    server.shutdown()
    print("first frame after navigation start, %d fresh loads: median %.0f ms, min %.0f, max %.0f"
          % (loads, statistics.median(times), min(times), max(times)))


if __name__ == "__main__":
    main(sys.argv)
