"""The page's sounds: the meadow loop without a gap and after a late fetch,
the refusal beep, the cues a START plays. Mixed into the suite's Run."""
import json
import os
import threading

from page_driver import QuietHandler

LOOP_WAVE = 300  # the meadow loop, ambient/300.wav as the painter names it


class Sounds:
    def gapless_loop(self):
        """The meadow loop decodes to exactly the painted WAVE's samples at
        its rate, with no silence added at either end: it loops without a
        gap."""
        with open(os.path.join(self.res, "ambient", "%d.wav" % LOOP_WAVE), "rb") as f:
            wave = f.read()
        rate = int.from_bytes(wave[24:28], "little")
        at = wave.index(b"data") + 8
        count = int.from_bytes(wave[at - 4:at], "little")
        painted = [(b - 128) / 128 for b in wave[at:at + count]]  # 8-bit unsigned mono
        self.wait_for("the loop decoded", lambda: self.probe()["audio"]["loop"])
        decoded = self.page.evaluate("(() => { const l = Module.audio.loop, d = l.getChannelData(0);"
                                     " return {rate: l.sampleRate, length: l.length, channels: l.numberOfChannels,"
                                     " head: Array.from(d.slice(0, 1024)), tail: Array.from(d.slice(-1024))}; })()")
        head = sum(abs(a - b) for a, b in zip(decoded["head"], painted[:1024])) / 1024
        tail = sum(abs(a - b) for a, b in zip(decoded["tail"], painted[-1024:])) / 1024
        loud = sum(abs(v) for v in painted[:1024] + painted[-1024:]) / 2048
        self.check("the meadow loop decodes to the WAVE's %d samples at %d Hz, its ends as painted"
                   " (off by %.3f and %.3f, against a level of %.3f)" % (count, rate, head, tail, loud),
                   (decoded["rate"], decoded["length"], decoded["channels"]) == (rate, count, 1)
                   and head < loud / 4 and tail < loud / 4,
                   "decoded %d samples at %d Hz" % (decoded["length"], decoded["rate"]))

    def late_loop(self):
        """A game started before the meadow loop has come (a slow network)
        hears the loop as soon as it has."""
        gate = threading.Event()
        QuietHandler.held["sounds/%d.ogg" % LOOP_WAVE] = gate
        try:
            if not self.load():
                return self.check("the page loads, its loop held back", False)
            self.click(*self.centre(self.element(self.probe(), "start_button")))
            early = self.wait_for("START before the loop", lambda: (
                lambda p: p if p["stage"] == 1 and self.log_has(p, what="ambient-start") else None)(self.probe()))
            gate.set()
            late = self.wait_for("the loop once it came", lambda: (
                lambda p: p if p["audio"]["loops"] == 1 and p["audio"]["looping"] else None)(self.probe()))
            self.check("a game started before the meadow loop came hears it once it has",
                       early is not None and early["audio"]["loops"] == 0 and late is not None,
                       json.dumps(self.probe()["audio"])[:300])
            self.click(*self.centre(self.element(self.probe(), "cancel_button")))
            self.check("and CANCEL stops it", self.wait_for("stopped", lambda: (
                lambda p: p["stage"] == 0 and p["audio"]["loops"] == 0)(self.probe())))
        finally:
            gate.set()
            del QuietHandler.held["sounds/%d.ogg" % LOOP_WAVE]

    def refused_with_the_beep(self):
        self.click(*self.centre(self.element(self.probe(), "cancel_button")))
        self.check("CANCEL with no game is refused with the painted beep", self.wait_for("the beep", lambda: (
            self.log_has(self.probe(), what="beep", heard=True))))

    def audio_after_start(self):
        probe = self.wait_for("audio running", lambda: (
            lambda p: p if p["audio"]["state"] == "running" and p["audio"]["loops"] == 1 else None)(self.probe()))
        self.check("after START the audio runs, with one meadow loop", probe is not None,
                   json.dumps(self.probe()["audio"])[:600])
        probe = probe or self.probe()
        self.check("snd_start was played", self.log_has(probe, what="cue", name="snd_start", heard=True))
        self.check("the meadow loop started at START, looping its whole buffer",
                   self.log_has(probe, what="ambient-start", heard=True) and probe["audio"]["looping"])
