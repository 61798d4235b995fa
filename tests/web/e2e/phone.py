"""The page on a phone: a touch screen of 844 x 390 page pixels at three
device pixels each, held sideways and upright, played with fingers
(Input.dispatchTouchEvent: Pointer Events of type touch, and whatever the
browser makes up after them). Mixed into the suite's Run."""
import json

FIELD_W, FIELD_H = 1280, 786
PHONE_W, PHONE_H, PHONE_RATIO = 844, 390, 3
MEADOW = (180, 560)  # open grass, clear of every target and button


class Phone:

    def touch(self, kind, points):
        self.page.touch(kind, points)

    def tap(self, gx, gy):
        x, y = self.page_point(gx, gy)
        self.touch("touchStart", [(x, y)])
        self.touch("touchEnd", [])

    def viewport_state(self):
        return self.page.evaluate(
            "({scrollX: scrollX, scrollY: scrollY, scale: visualViewport.scale,"
            " left: visualViewport.offsetLeft, top: visualViewport.offsetTop,"
            " selected: String(getSelection())})")

    def shots_after(self, before, what):
        """Waits for the shots to pass `before`; then the probe."""
        return self.wait_for(what, lambda: (lambda p: p if p and p["shots_fired"] > before else None)(self.probe()))

    def exactly_one_more(self, probe, what):
        """A tap at the meadow after `probe` is the one next shot: whatever
        the taps before it made has come by then."""
        self.tap(*MEADOW)
        after = self.shots_after(probe["shots_fired"], "the marking tap")
        return after, after is not None and after["shots_fired"] == probe["shots_fired"] + 1

    def fitted(self, width, height):
        """The canvas as the page should fit it into the room it has."""
        r = self.canvas_rect()
        scale = min(width / FIELD_W, height / FIELD_H)
        return abs(r["width"] - FIELD_W * scale) < 1 and abs(r["height"] - FIELD_H * scale) < 1

    def phone(self):
        if not self.able("touch", "the phone held both ways, played with fingers"):
            return
        self.leave_page()
        self.page.set_touch(True)
        self.set_viewport(PHONE_W, PHONE_H, ratio=PHONE_RATIO, mobile=True)
        probe = self.load("?record")
        if not self.check("on a phone held sideways the page loads", probe is not None):
            return
        rect = self.canvas_rect()
        turn = self.page.evaluate("getComputedStyle(document.getElementById('turn')).display")
        self.check("sideways the field fills the screen's height, proportions kept, centred, no line under it",
                   self.fitted(PHONE_W, PHONE_H) and abs(rect["top"]) < 1
                   and abs(rect["left"] - (PHONE_W - rect["width"]) / 2) < 1 and turn == "none",
                   "%s, line %s" % (json.dumps(rect), turn))
        self.check("its canvas has a pixel for each device pixel and draws the twins",
                   (probe["view"]["width"], probe["view"]["height"], probe["view"]["scale"])
                   == (round(rect["width"] * PHONE_RATIO), round(rect["height"] * PHONE_RATIO), 2),
                   json.dumps(probe["view"]))

        # The first touch lets the page sound, as the first click does.
        sounds = len(self.page_sounds)
        self.wait_for("the sounds decoded", lambda: self.probe()["audio"]["decoded"] == sounds)
        start = self.centre(self.element(self.probe(), "start_button"))
        self.tap(*start)
        started = self.wait_for("stage 1, sounding", lambda: (
            lambda p: p if p["stage"] == 1 and p["audio"]["state"] == "running" else None)(self.probe()))
        self.check("a tap on START starts the game, and the sound with it",
                   started is not None and self.log_has(started, what="cue", name="snd_start", heard=True)
                   and self.log_has(started, what="ambient-start", heard=True),
                   json.dumps(self.probe()["audio"])[:300])
        if not started:
            return

        before = self.probe()
        self.hit_rodent(press=self.tap, who="with a finger, a raised rodent")
        hit = self.probe()
        after, one = self.exactly_one_more(hit, "after the hit")
        self.check("the tap was one hit and one shot, nothing came after it",
                   one and after["hits"] == hit["hits"] and hit["hits"] == before["hits"] + 1,
                   "hits %d -> %d, shots %d -> %d -> %s" % (before["hits"], hit["hits"], before["shots_fired"],
                                                           hit["shots_fired"], after and after["shots_fired"]))

        # Two fingers down together.
        probe = self.probe()
        a, b = self.page_point(*MEADOW), self.page_point(MEADOW[0] + 300, MEADOW[1] - 40)
        self.touch("touchStart", [a])
        self.touch("touchStart", [a, b])
        self.touch("touchEnd", [])
        two = self.wait_for("two shots", lambda: (
            lambda p: p if p["shots_fired"] >= probe["shots_fired"] + 2 else None)(self.probe()))
        after, one = self.exactly_one_more(two or probe, "after two fingers")
        self.check("two fingers are two shots", two is not None and two["shots_fired"] == probe["shots_fired"] + 2
                   and one, "shots %d -> %s" % (probe["shots_fired"], two and two["shots_fired"]))

        # A swipe: one shot where it starts, the cross-hair after the finger,
        # and nothing scrolls.
        probe = self.probe()
        view = self.viewport_state()
        rect = self.canvas_rect()
        x0, y0 = self.page_point(*MEADOW)
        x1, y1 = self.page_point(MEADOW[0] + 500, MEADOW[1] - 300)
        self.touch("touchStart", [(x0, y0)])
        for step in range(1, 11):
            self.touch("touchMove", [(x0 + (x1 - x0) * step / 10, y0 + (y1 - y0) * step / 10)])
        self.touch("touchEnd", [])
        end = (MEADOW[0] + 500, MEADOW[1] - 300)
        followed = self.wait_for("the cross-hair at the swipe's end", lambda: (
            lambda p: p if p and abs(p["cursor_x"] - end[0]) <= 1 and abs(p["cursor_y"] - end[1]) <= 1 else None)(
            self.probe()))
        after, one = self.exactly_one_more(followed or probe, "after the swipe")
        self.check("a swipe is one shot and the cross-hair follows the finger",
                   followed is not None and followed["shots_fired"] == probe["shots_fired"] + 1 and one,
                   "shots %d -> %s" % (probe["shots_fired"], followed and followed["shots_fired"]))
        self.check("and nothing scrolls, moves or is selected",
                   self.viewport_state() == view and self.canvas_rect() == rect and view["selected"] == "",
                   "%s -> %s" % (view, self.viewport_state()))

        # A double tap is two shots, and no zoom. (Headless Chromium makes
        # no zoom of a double tap or a pinch even on a page that allows it:
        # what keeps a phone's browser from zooming, touch-action: none on
        # the page and the field, is checked as the browser computed it.)
        actions = self.page.evaluate("[document.body, document.getElementById('field')]"
                                     ".map(e => getComputedStyle(e).touchAction)")
        self.check("the page leaves no touch gesture to the browser (touch-action %s)" % actions,
                   actions == ["none", "none"])
        probe = self.probe()
        self.tap(*MEADOW)
        self.tap(*MEADOW)
        two = self.wait_for("two shots", lambda: (
            lambda p: p if p["shots_fired"] >= probe["shots_fired"] + 2 else None)(self.probe()))
        after, one = self.exactly_one_more(two or probe, "after the double tap")
        self.check("a double tap is two shots, and the page keeps its scale",
                   two is not None and two["shots_fired"] == probe["shots_fired"] + 2 and one
                   and self.viewport_state() == view, "%s" % self.viewport_state())

        self.tap(*self.centre(self.element(self.probe(), "cancel_button")))
        ended = self.wait_for("canceled", lambda: (lambda p: p if p["stage"] == 0 else None)(self.probe()))
        if self.check("a tap on CANCEL ends the game", ended is not None):
            recording = self.recording_replays("touch")
            clicks = sum(1 for line in recording.splitlines() if line.startswith("click "))
            self.check("the recording has one click line a tap on the field (%d for %d shots)" % (
                clicks, ended["shots_fired"]), clicks == ended["shots_fired"])
        self.upright()

    def upright(self):
        self.set_viewport(PHONE_H, PHONE_W, ratio=PHONE_RATIO, mobile=True)
        fitted = self.wait_for("the field across the upright phone", lambda: self.fitted(
            PHONE_H, PHONE_W - self.page.evaluate("document.getElementById('turn').getBoundingClientRect().height")))
        rect = self.canvas_rect()
        line = self.page.evaluate(
            "(() => { const t = document.getElementById('turn'), r = t.getBoundingClientRect();"
            " return {shown: getComputedStyle(t).display !== 'none', top: r.top, bottom: r.bottom,"
            " text: t.textContent}; })()")
        self.screenshot("phone-upright.png")
        self.check("upright the field fits the width, with the line to turn the phone under it",
                   fitted and abs(rect["width"] - PHONE_H) < 1 and line["shown"]
                   and rect["top"] + rect["height"] <= line["top"] + 1 and line["bottom"] <= PHONE_W
                   and "Turn your phone" in line["text"], "%s, %s" % (json.dumps(rect), line))
        self.tap(*self.centre(self.element(self.probe(), "start_button")))
        self.check("and a tap on START starts the game there too",
                   self.wait_for("stage 1", lambda: self.probe()["stage"] == 1))
        self.tap(*self.centre(self.element(self.probe(), "cancel_button")))
        self.wait_for("canceled", lambda: self.probe()["stage"] == 0)
        self.set_viewport(PHONE_W, PHONE_H, ratio=PHONE_RATIO, mobile=True)
