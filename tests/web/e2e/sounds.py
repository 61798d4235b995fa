"""The page's sounds: the meadow loop without a gap and after a late fetch,
the refusal beep, the cues a START plays; one set of files fetched, and
the other set (MP3) heard where Ogg is refused, as Safari refuses it.
Mixed into the suite's Run."""
import json
import os
import threading

from page_driver import QuietHandler

LOOP_WAVE = 300  # the meadow loop, ambient/300.wav as the painter names it
DAMAGED = 8700   # snd_cancel's file, damaged for a check

# As Safari: no Ogg in an audio element's answer, nor in Web Audio's
# decoder. The second half alone is a browser that says it plays Ogg and
# then cannot decode it.
OGG_UNDECODABLE = """(() => {
  const decode = BaseAudioContext.prototype.decodeAudioData;
  BaseAudioContext.prototype.decodeAudioData = function (bytes, ...rest) {
    const head = new Uint8Array(bytes, 0, Math.min(4, bytes.byteLength));
    if (String.fromCharCode(...head) === "OggS")
      return Promise.reject(new DOMException("Decoding failed", "EncodingError"));
    return decode.call(this, bytes, ...rest);
  };
})();"""
OGG_REFUSED = """(() => {
  const answer = HTMLMediaElement.prototype.canPlayType;
  HTMLMediaElement.prototype.canPlayType = function (type) { return /ogg/i.test(type) ? "" : answer.call(this, type); };
})();""" + OGG_UNDECODABLE


def read_wave(path):
    """(rate, samples from -1 to 1) of a painted mono WAVE, 8 or 16 bits."""
    with open(path, "rb") as f:
        wave = f.read()
    rate = int.from_bytes(wave[24:28], "little")
    bits = int.from_bytes(wave[34:36], "little")
    at = wave.index(b"data") + 8
    data = wave[at:at + int.from_bytes(wave[at - 4:at], "little")]
    if bits == 8:
        return rate, [(b - 128) / 128 for b in data]
    return rate, [int.from_bytes(data[i:i + 2], "little", signed=True) / 32768 for i in range(0, len(data), 2)]


class Sounds:
    def painted_sound(self, ident):
        return read_wave(os.path.join(self.res, self.page_sounds[ident]))

    def gapless_loop(self, encoding="Ogg Vorbis", ending=".ogg"):
        """The meadow loop decodes to exactly the painted WAVE's samples at
        its rate, with no silence added at either end: it loops without a
        gap."""
        rate, painted = self.painted_sound(LOOP_WAVE)
        count = len(painted)
        self.wait_for("the loop decoded", lambda: self.probe()["audio"]["loop"])
        came_from = self.probe()["audio"]["sounds"].get(str(LOOP_WAVE), {}).get("file", "")
        decoded = self.page.evaluate("(() => { const l = Module.audio.loop, d = l.getChannelData(0);"
                                     " return {rate: l.sampleRate, length: l.length, channels: l.numberOfChannels,"
                                     " head: Array.from(d.slice(0, 1024)), tail: Array.from(d.slice(-1024))}; })()")
        head = sum(abs(a - b) for a, b in zip(decoded["head"], painted[:1024])) / 1024
        tail = sum(abs(a - b) for a, b in zip(decoded["tail"], painted[-1024:])) / 1024
        loud = sum(abs(v) for v in painted[:1024] + painted[-1024:]) / 2048
        self.check("the meadow loop in %s decodes to the WAVE's %d samples at %d Hz, its ends as painted"
                   " (off by %.3f and %.3f, against a level of %.3f)" % (encoding, count, rate, head, tail, loud),
                   came_from.endswith(ending)
                   and (decoded["rate"], decoded["length"], decoded["channels"]) == (rate, count, 1)
                   and head < loud / 4 and tail < loud / 4,
                   "%s decoded to %d samples at %d Hz" % (came_from, decoded["length"], decoded["rate"]))

    def late_loop(self):
        """A game started before the meadow loop has come (a slow network)
        hears the loop as soon as it has."""
        self.everything_came("the page before settled")  # it must not wait for the loop held back
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

    def sounds_settled(self, count):
        """Waits until `count` sounds have come; the probe's audio then."""
        return self.wait_for("%d sounds decoded" % count, lambda: (
            lambda a: a if a["decoded"] >= count else None)(self.probe()["audio"]))

    def start_and_cancel(self):
        """START and CANCEL clicked: the probe's audio once the game has
        ended, or None."""
        self.click(*self.centre(self.element(self.probe(), "start_button")))
        started = self.wait_for("stage 1", lambda: self.probe()["stage"] == 1)
        looped = self.wait_for("the loop playing", lambda: (
            lambda a: a if a["loops"] == 1 and a["looping"] else None)(self.probe()["audio"]))
        self.click(*self.centre(self.element(self.probe(), "cancel_button")))
        ended = self.wait_for("stage 0", lambda: (lambda p: p if p["stage"] == 0 else None)(self.probe()))
        return ended["audio"] if started and looped and ended else None

    def second_set(self):
        """Where Ogg is refused, as Safari refuses it, every sound is heard
        from its MP3: no .ogg asked for, each at its painted rate and
        length, the loop gapless. Where Ogg is said to play but does not
        decode, each sound falls back on its MP3; one that cannot be played
        at all is one warning naming its files, and the game plays on. Run
        last: the server's log before it holds no MP3 at all."""
        mp3_before = sorted({path for path in QuietHandler.asked if path.endswith(".mp3")})
        self.check("where Ogg plays, the page never asked for a file of the MP3 set (%d requests)"
                   % len(QuietHandler.asked), not mp3_before, str(mp3_before[:5]))
        if not self.able("mp3-exact", "the sounds heard from their MP3 where Ogg is refused"):
            return
        hooks = list(QuietHandler.hooks)
        try:
            QuietHandler.hooks.append(OGG_REFUSED)
            QuietHandler.refused.add(".ogg")
            since = len(QuietHandler.asked)
            probe = self.load()
            audio = probe and self.sounds_settled(len(self.page_sounds))
            wrong = []
            for ident, sound in sorted((audio or {}).get("sounds", {}).items()):
                rate, samples = self.painted_sound(int(ident))
                if not sound["file"].endswith(".mp3") or (sound["rate"], sound["length"]) != (rate, len(samples)):
                    wrong.append("%s: %s" % (ident, sound))
            asked_ogg = [path for path in QuietHandler.asked[since:] if path.endswith(".ogg")]
            self.check("with Ogg refused (the probe answering \"\", .ogg requests failing) the page asks for no"
                       " .ogg and decodes every sound (%d) from its MP3, at its painted rate and length"
                       % len(self.page_sounds),
                       audio is not None and audio["formats"] == ["mp3"] and not asked_ogg and not wrong
                       and len(audio["sounds"]) == len(self.page_sounds),
                       "formats %s, asked %s, wrong %s" % (audio and audio["formats"], asked_ogg[:3], wrong[:3]))
            self.gapless_loop("MP3", ".mp3")
            self.check("and START plays the loop, CANCEL stops it", self.start_and_cancel() is not None)

            QuietHandler.hooks[-1] = OGG_UNDECODABLE
            QuietHandler.refused.discard(".ogg")
            QuietHandler.damaged.add("sounds/%d.mp3" % DAMAGED)
            problems = len(self.page.console_problems())
            probe = self.load()
            audio = probe and self.sounds_settled(len(self.page_sounds) - 1)
            warned = self.wait_for("the warning", lambda: self.page.console_problems()[problems:])
            from_mp3 = sorted(s["file"] for s in (audio or {}).get("sounds", {}).values())
            self.check("where Ogg is said to play but does not decode, each sound is heard from its MP3 (%d)"
                       % len(from_mp3), len(from_mp3) == len(self.page_sounds) - 1
                       and all(f.endswith(".mp3") for f in from_mp3), str(from_mp3[:4]))
            ended = self.start_and_cancel()
            cancel = [e for e in (ended or {}).get("log", []) if e.get("name") == "snd_cancel"]
            self.check("a sound no set plays is one console warning naming its files, and the game plays on"
                       " without it (%s)" % (warned or ["no warning"])[0][:120],
                       warned is not None and len(warned) == 1 and "sounds/%d.ogg" % DAMAGED in warned[0]
                       and "sounds/%d.mp3" % DAMAGED in warned[0] and ended is not None
                       and cancel and not cancel[-1]["heard"], "warnings %s, cancel %s" % (warned, cancel))
            self.expected_problems += warned or []
        finally:
            QuietHandler.hooks[:] = hooks
            QuietHandler.refused.discard(".ogg")
            QuietHandler.damaged.clear()
