"""A game played on the page opened with ?record, with real input, and its
recording replayed in the simulator: the simulator must end in exactly the
page's own state and scene, and the same recording one tick off must not.
Mixed into the suite's Run."""
import json
import os
import subprocess
import time

MEADOW = (180, 560)  # open grass, clear of every target and button


class RecordedGame:

    def raised_rodents(self, probe):
        return [e for e in probe["elements"] if e["name"].startswith("raised[") and e["visible"]
                and probe["hole_hittable"][int(e["name"][7:-1]) - 1] == 1]  # holes 1..9

    def play_a_recorded_game(self, press, who, shots=20):
        """START, at least `shots` shots with hits and misses, CANCEL, each a
        press made by press(gx, gy); True when the game had them all."""
        press(*self.centre(self.element(self.probe(), "start_button")))
        if not self.wait_for("the game starts", lambda: self.probe()["stage"] == 1):
            return False
        # Rodents where they stand, the meadow otherwise; never the level's
        # last cartridges, which would end it.
        deadline = time.monotonic() + 180
        while time.monotonic() < deadline:
            probe = self.probe()
            if probe["shots_fired"] >= shots and probe["hits"] >= 2 and probe["misses"] >= 2:
                break
            if probe["shots_fired"] >= 24:
                break
            raised = self.raised_rodents(probe)
            if raised and probe["hits"] < shots - 2:
                target = self.centre(raised[0])
            elif not raised and (probe["misses"] < 2 or probe["shots_fired"] < shots - 4):
                target = MEADOW
            else:
                time.sleep(0.03)  # a poll: no rodent up yet
                continue
            press(*target)
            self.wait_for("the shot counted", lambda: self.probe()["shots_fired"] > probe["shots_fired"])
        press(*self.centre(self.element(self.probe(), "cancel_button")))
        ended = self.wait_for("the game canceled", lambda: (lambda p: p if p["stage"] == 0 else None)(self.probe()))
        ok = ended is not None and ended["shots_fired"] >= shots and ended["hits"] >= 1 and ended["misses"] >= 1
        self.check("%s: a game of %d shots, %d hits and %d misses, then CANCEL" % (
            who, ended["shots_fired"], ended["hits"], ended["misses"]) if ended else who + ": a whole game", ok)
        return ok

    def replayed(self, script):
        """What the simulator ends in after the script: (state, scene)."""
        result = subprocess.run([self.sim], input=script + "state\nscene\n", capture_output=True, text=True,
                                timeout=60)
        state = scene = None
        for line in result.stdout.splitlines():
            record = json.loads(line)
            state = record.get("state", state)
            scene = record.get("scene", scene)
        return state, scene

    def recording_replays(self, who):
        """The page's recording, fed to the simulator with "state" and
        "scene", ends exactly where the page is; one tick more after the
        first rodent is another game."""
        raw = self.probe()["raw"]
        recording = raw["recording"] or ""
        with open(os.path.join(self.art, who + ".sim"), "w") as f:
            f.write(recording)
        with open(os.path.join(self.art, who + "-page.json"), "w") as f:
            json.dump({"state": raw["state"], "scene": raw["scene"]}, f)
        lines = recording.splitlines()
        self.check("%s: the recording holds the game (%d lines, %d clicks)" % (
            who, len(lines), sum(1 for line in lines if line.startswith("click "))),
            lines[:1] and lines[0].startswith("# plinkfield") and "start" in lines and "cancel" in lines)
        state, scene = self.replayed(recording)
        self.check("%s: the simulator replays it to exactly the page's state and scene" % who,
                   state == raw["state"] and scene == raw["scene"],
                   "state differs in %s, scene in %s" % (
                       sorted(k for k in raw["state"] if not state or state.get(k) != raw["state"][k]),
                       [(a, b) for a, b in zip(raw["scene"], scene or []) if a != b][:3]))
        seed = next((i for i, line in enumerate(lines) if line.startswith("seed ")), None)
        if seed is None:
            return self.check("%s: the recording has the first rodent's seed" % who, False)
        shifted = "\n".join(lines[:seed + 1] + ["tick 1"] + lines[seed + 1:]) + "\n"
        state, scene = self.replayed(shifted)
        self.check("%s: and one tick more after the first rodent does not" % who,
                   (state, scene) != (raw["state"], raw["scene"]))
        return recording

    def saved_recording(self, recording):
        """The "Save recording" link, clicked, offers the very same text.
        (The click's saving is held back, so no browser opens a dialog.)"""
        self.page.evaluate("document.getElementById('save-recording')"
                           ".addEventListener('click', (e) => e.preventDefault())")
        self.page.click_element("save-recording")
        href = self.wait_for("a saved file", lambda: self.page.evaluate(
            "(() => { const a = document.getElementById('save-recording');"
            " return a.href.startsWith('blob:') && a.download ? a.href : null; })()"))
        saved = self.page.evaluate("fetch(%s).then(r => r.text())" % json.dumps(href)) if href else None
        name = self.page.evaluate("document.getElementById('save-recording').download")
        self.check("Save recording offers the recording as %s, the same text" % name,
                   saved == recording and name.endswith(".sim"), "%d vs %d characters" % (
                       len(saved or ""), len(recording)))

    def recorded_game(self):
        """On the desktop window, with the mouse."""
        if not self.check("the page opened with ?record loads", self.load("?record") is not None):
            return
        self.play_a_recorded_game(self.click, "mouse")
        recording = self.recording_replays("mouse")
        if recording:
            self.saved_recording(recording)
