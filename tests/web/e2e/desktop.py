"""The page on a desktop window: the cursor and the face, the pictures as
painted, the buttons, the timer, shots, CANCEL, the keys and the strip, the
close and "Play again", the fit to any window. Mixed into the suite's Run."""
import base64
import json
import os
import re
import subprocess
import time

from page_driver import FIELD_H, FIELD_W


class Desktop:
    def cursor_and_font(self):
        cursor = self.page.evaluate("document.getElementById('field').style.cursor")
        self.check("the field has the cross-hair cursor (its twin on denser screens), hot spot at its centre",
                   re.fullmatch(r'image-set\(url\("([^"]+)\.ico"\) 1x, url\("\1@2x\.png"\) 2x\) 16 16, crosshair', cursor)
                   is not None, cursor[:100])
        # The browser must be able to read the icon and the twin it is
        # given: 32 x 32 and 64 x 64, dark where the lines cross, clear in
        # the corners.
        for part, size in ((1, 32), (3, 64)):
            seen = self.page.evaluate(
                "(async () => { const url = document.getElementById('field').style.cursor.split('\"')[%d];"
                " const img = new Image(); img.src = url; await img.decode(); const n = %d;"
                " const c = document.createElement('canvas'); c.width = n; c.height = n;"
                " const x = c.getContext('2d', {willReadFrequently: true}); x.drawImage(img, 0, 0);"
                " const centre = x.getImageData(n / 2 - 1, n / 2 - 1, 2, 2).data, corner = x.getImageData(0, 0, 1, 1).data;"
                " return {w: img.naturalWidth, h: img.naturalHeight,"
                " centre: Math.max(...centre.filter((v, i) => i %% 4 < 3)), centreAlpha: centre[3],"
                " cornerAlpha: corner[3]}; })()" % (part, size))
            self.check("the browser reads the cross-hair %s" % ("icon" if size == 32 else "twin"),
                       seen["w"] == size and seen["h"] == size and seen["centre"] < 64 and seen["centreAlpha"] == 255
                       and seen["cornerAlpha"] == 0, str(seen))
        # Cut down to what labels show, it must still hold all of it: a
        # character it lacks would come from the next face on the list, at
        # that face's width.
        shown = "0123456789-" + "".join(sorted(set("".join(self.label_texts))))
        widths = self.page.evaluate(
            "(async () => { await document.fonts.load('100px Plinkfield-Labels');"
            " const x = document.createElement('canvas').getContext('2d'); const w = (f) => {"
            " x.font = f; return x.measureText(%s).width; };"
            " return [w('100px Plinkfield-Labels, monospace'), w('100px Liberation Sans, monospace')]; })()"
            % json.dumps(shown))
        self.check("the labels' face holds all they show (%r)" % shown, abs(widths[0] - widths[1]) < 0.5,
                   "%.1f wide, Liberation Sans %.1f" % tuple(widths))
        self.check("the label font is loaded", self.page.evaluate(
            "[...document.fonts].some(f => f.family === 'Plinkfield-Labels' && f.status === 'loaded')"))

    def minimize(self):
        self.click(*self.centre(self.element(self.probe(), "minimize_button")))
        probe = self.wait_for("snd_minimize", lambda: (
            lambda p: p if self.log_has(p, what="cue", name="snd_minimize", heard=True) else None)(self.probe()))
        self.check("minimize plays its cue and the game goes on", probe is not None and probe["stage"] == 1
                   and probe["audio"]["loops"] == 1 and self.page.evaluate(
                       "getComputedStyle(document.getElementById('field')).display !== 'none'"))

    def chorded_buttons(self):
        """The mouse as before Pointer Events: a second button pressed while
        the left holds a button changes nothing, and the left's release over
        the button runs it though the other is still down (a chord's
        release comes as a move, which names the button)."""
        if not self.able("right-button", "a button held with the right pressed meanwhile"):
            return
        button = self.element(self.probe(), "minimize_button")
        at = self.centre(button)
        heard = sum(1 for e in self.probe()["audio"]["log"] if e.get("name") == "snd_minimize")
        for kind, which in (("move", "left"), ("down", "left"), ("down", "right"), ("up", "left")):
            self.mouse(kind, *at, button=which)
        ran = self.wait_for("minimize run", lambda: sum(
            1 for e in self.probe()["audio"]["log"] if e.get("name") == "snd_minimize") == heard + 1)
        self.mouse("up", *at, button="right")
        self.check("with the right button pressed and held meanwhile, a button still runs on the left's release",
                   ran and self.probe()["stage"] == 1 and self.element(self.probe(), "minimize_button")["image"]
                   == button["image"])

    def pictures_as_painted(self):
        """Every picture the page fetched, as the browser decodes it, is its
        painted bitmap: no channel more than two levels off, and a mean
        difference under 2/255 (they are near-lossless WebP)."""
        count = len(self.page_pictures)
        self.wait_for("every picture", lambda: self.probe()["view"]["pictures"]["1"] == count)
        pictures = sorted({p for p in self.fetched() if p.startswith("pictures/") and p.endswith(".webp")})
        self.check("at one device pixel a field pixel the page fetched the pictures as painted, no twin (%d)"
                   % len(pictures), self.probe()["view"]["scale"] == 1 and len(pictures) == count
                   and not any("@2x" in p for p in pictures), str(pictures[:5]))
        worst, means = 0, []
        for ident in self.page_pictures:
            encoded = self.page.evaluate(
                "(async () => { const b = await createImageBitmap(await (await fetch('pictures/%d.webp')).blob());"
                " const c = document.createElement('canvas'); c.width = b.width; c.height = b.height;"
                " const x = c.getContext('2d', {willReadFrequently: true}); x.drawImage(b, 0, 0);"
                " const d = x.getImageData(0, 0, b.width, b.height).data; const rgb = new Uint8Array(d.length / 4 * 3);"
                " for (let i = 0, j = 0; i < d.length; i += 4) { rgb[j++] = d[i]; rgb[j++] = d[i + 1]; rgb[j++] = d[i + 2]; }"
                " let s = ''; for (let i = 0; i < rgb.length; i += 8192)"
                " s += String.fromCharCode.apply(null, rgb.subarray(i, i + 8192));"
                " return [b.width, b.height, btoa(s)]; })()" % ident)
            w, h, rows = self.picture(ident)
            shown = base64.b64decode(encoded[2])
            painted = b"".join(rows)
            if encoded[:2] != [w, h] or len(shown) != len(painted):
                worst = 255
                means.append((255, ident))
                continue
            difference = bytes(abs(a - b) for a, b in zip(shown, painted))
            worst = max(worst, max(difference))
            means.append((sum(difference) / len(difference), ident))
        mean, ident = max(means)
        self.check("each picture decodes to its painted bitmap: at most %d levels off, mean %.2f/255 at worst (%d)"
                   % (worst, mean, ident), worst <= 2 and mean < 2)

    def no_menu(self):
        """The field opens no menu of the browser's: not for the right
        button, and so not for a long press of a finger, which asks the
        same way (a headless browser makes no long presses)."""
        if not self.able("right-button", "no menu for the right button"):
            return
        self.page.evaluate("window.menuAsked = null; addEventListener('contextmenu',"
                           " e => { window.menuAsked = e.defaultPrevented ? 'refused' : 'opened'; })")
        at = self.centre(self.element(self.probe(), "canceled_banner"))
        for kind in ("move", "down", "up"):
            self.mouse(kind, *at, button="right")
        asked = self.wait_for("the menu asked for", lambda: self.page.evaluate("window.menuAsked"))
        self.check("the field opens no menu", asked == "refused", str(asked))

    def painted_scene_shown(self, probe, name, scale=1):
        """How far a screenshot of the page (its viewport the field's size,
        at `scale` device pixels a field pixel) is from the scene as the
        painted files say it should look: the scene picture, then every
        visible sprite and button from the bottom of the stack up, the
        painter's twins at scale 2. The labels' text is checked apart: both
        images get the same grey boxes there. (pixels more than 2% off, the
        same within the sprites and buttons, the mean difference in levels
        of 255, the labels.)"""
        shot = self.screenshot(name + ".png")
        command = ["convert", self.painted_file(self.scene_picture, scale)]
        labels, boxes, sprites = [], [], []
        if probe["raw"]["best"]["read"]:
            # The best score's plate under every element, its number a label.
            x, y, _, _ = self.plate["box"]
            command += [self.painted_file(self.plate["id"], scale), "-geometry", "+%d+%d" % (x * scale, y * scale),
                        "-composite"]
            x, y, w, h = self.plate["number"]
            boxes += ["-draw", "rectangle %d,%d %d,%d" % (x * scale, y * scale, (x + w) * scale - 1, (y + h) * scale - 1)]
        for e in reversed(probe["elements"]):
            if not e["visible"]:
                continue
            box = (e["w"] * scale, e["h"] * scale, e["x"] * scale, e["y"] * scale)
            if e["kind"] == "label":
                labels.append(e)
                boxes += ["-draw", "rectangle %d,%d %d,%d" % (box[2], box[3], box[2] + box[0] - 1, box[3] + box[1] - 1)]
                continue
            sprites.append(box)
            command += [self.painted_file(e["image"], scale), "-geometry", "+%d+%d" % box[2:], "-composite"]
        expected = os.path.join(self.art, name + "-expected.png")
        masked = os.path.join(self.art, name + "-masked.png")
        subprocess.run(command + ["-fill", "#808080"] + boxes + [expected], check=True)
        subprocess.run(["convert", shot, "-alpha", "off", "-fill", "#808080"] + boxes + [masked], check=True)

        def compare(*args, crop=""):
            result = subprocess.run(["compare"] + list(args) + [expected + crop, masked + crop, "null:"],
                                    capture_output=True, text=True)
            return result.stderr.strip()
        off = int(float(compare("-metric", "AE", "-fuzz", "2%").split(" ")[0]))
        sprites_off = sum(int(float(compare("-metric", "AE", "-fuzz", "2%", crop="[%dx%d+%d+%d]" % box).split(" ")[0]))
                          for box in sprites)
        mean = float(compare("-metric", "MAE").split("(")[1].rstrip(")")) * 255
        return off, sprites_off, mean, labels

    def start_screen(self, probe):
        off, _, mean, labels = self.painted_scene_shown(probe, "start")
        self.check("start screen matches the painted scene (pixels off: %d, mean %.2f/255)" % (off, mean), off == 0)
        # Each label: light grey with black text on it.
        for e in labels:
            px = self.canvas_pixels(e["x"], e["y"], e["w"], e["h"])
            grey = sum(1 for i in range(0, len(px), 4) if px[i:i + 3] == b"\xc0\xc0\xc0")
            dark = sum(1 for i in range(0, len(px), 4) if max(px[i:i + 3]) < 80)
            n = len(px) // 4
            self.check("label %s shows %r as dark text on light grey" % (e["name"], e["text"]),
                       grey > n // 2 and dark > n // 50, "grey %d, dark %d of %d" % (grey, dark, n))

    def scaling(self):
        ok = True
        for w, h in ((800, 600), (1600, 900)):
            self.set_viewport(w, h)
            scale = min(w / FIELD_W, h / FIELD_H)
            fitted = self.wait_for("canvas fitted to %dx%d" % (w, h), lambda: (
                lambda r: abs(r["width"] - FIELD_W * scale) < 1 and abs(r["height"] - FIELD_H * scale) < 1
                and abs(r["left"] - (w - r["width"]) / 2) < 1 and abs(r["top"] - (h - r["height"]) / 2) < 1)(
                self.canvas_rect()))
            ok &= self.check("the canvas fits a %dx%d window, proportions kept, centred" % (w, h), fitted,
                             json.dumps(self.canvas_rect()))
            if w == 800:
                self.screenshot("scaled-800x600.png")
            self.mouse("move", 640, 300)
            mapped = self.wait_for("cursor mapped", lambda: (
                lambda p: abs(p["cursor_x"] - 640) <= 1 and abs(p["cursor_y"] - 300) <= 1)(self.probe()))
            ok &= self.check("a move at %dx%d reaches the game at its field point" % (w, h), mapped,
                             "cursor %s" % {k: self.probe()[k] for k in ("cursor_x", "cursor_y")})
        self.set_viewport(FIELD_W, FIELD_H)
        self.wait_for("canvas back to 1:1", lambda: abs(self.canvas_rect()["width"] - FIELD_W) < 1)
        return ok

    def hold_button(self, name):
        """Presses a button and keeps it held: the image it showed, the one
        it shows held (both as the probe names them), and its element."""
        button = self.element(self.probe(), name)
        x, y = self.centre(button)
        self.mouse("move", x, y)
        self.mouse("down", x, y)
        held = self.wait_for("%s held" % name, lambda: (
            lambda e: e if e["image"] != button["image"] else None)(self.element(self.probe(), name)))
        return button["image"], held["image"] if held else button["image"], button

    def press_start(self):
        normal, pressed, start = self.hold_button("start_button")
        box = (start["x"], start["y"], start["w"], start["h"])
        self.check("START shows its pressed image while held", pressed != normal and self.wait_for(
            "pressed START", lambda: self.shows(pressed, *box)))
        self.check("nothing starts before the release", self.probe()["stage"] == 0)
        self.mouse("up", *self.centre(start))
        self.check("START released over it starts the game",
                   self.wait_for("stage 1", lambda: self.probe()["stage"] == 1))
        self.check("START shows its normal image again", self.wait_for("normal START", lambda: self.shows(normal, *box)))

    def timer_keeps_time(self):
        # A hidden tab's timeouts come late (Chromium: once a second); the
        # timer runs every tick the page's clock owes when it wakes. The page
        # notes when it was hidden and shown (a driver may only reach the
        # tab in front).
        self.page.evaluate("window.shown = []; document.addEventListener('visibilitychange',"
                           " () => shown.push([document.visibilityState, performance.now()]))")
        self.page.hide_page()
        time.sleep(2.5)  # the time the tab stays hidden, not a wait for a state
        self.page.show_page()
        shown = self.wait_for("page hidden and shown again", lambda: (
            lambda s: s if [state for state, _ in s] == ["hidden", "visible"] else None)(
            self.page.evaluate("window.shown")))
        hidden_for = (shown[1][1] - shown[0][1]) / 1000 if shown else 0
        started = self.probe()["timer_started_ms"]
        due = int((shown[1][1] - started) // 100) if shown else 0
        caught_up = self.wait_for("ticks caught up", lambda: self.probe()["timer_ticks"] >= due)
        self.check("after %.1f s in a hidden tab the timer has run every tick the clock owes (%d)" % (hidden_for, due),
                   shown is not None and hidden_for >= 2 and caught_up, "visibility %s, ran %d"
                   % (self.page.evaluate("window.shown"), self.probe()["timer_ticks"]))
        p = self.probe()
        now = self.page.evaluate("performance.now()")
        self.check("and never a tick ahead of the clock",
                   p["timer_ticks"] <= (now - p["timer_started_ms"]) // 100, json.dumps(p["timer_ticks"]))

    def miss(self):
        probe = self.probe()
        cartridges = [e for e in probe["elements"] if e["name"].startswith("cartridge[") and e["visible"]]

        def clear(x, y):
            return all(not (e["x"] - 40 <= x < e["x"] + e["w"] + 40 and e["y"] - 40 <= y < e["y"] + e["h"] + 40)
                       for e in probe["elements"])
        x, y = next((x, y) for y in range(60, 700, 20) for x in range(40, 1000, 20) if clear(x, y))
        # Two shots in quick succession: the second one's gunshot cuts off
        # the first's, on the one cue channel.
        self.click(x, y)
        self.click(x, y)
        after = self.wait_for("two misses", lambda: (lambda p: p if p["misses"] == probe["misses"] + 2 else None)(
            self.probe()))
        self.check("two shots at empty meadow (%d, %d) count two misses" % (x, y), after is not None)
        after = after or self.probe()
        cues = [entry for entry in after["audio"]["log"] if entry["what"] == "cue"][-2:]
        self.check("the second shot's cue cuts off the first's", len(cues) == 2 and cues[1]["cut"] == cues[0]["name"],
                   json.dumps(cues))
        left = [e for e in after["elements"] if e["name"].startswith("cartridge[") and e["visible"]]
        gone = [e for e in cartridges if e["name"] not in {c["name"] for c in left}]
        self.check("a cartridge goes with each", len(left) == len(cartridges) - 2 and len(gone) == 2,
                   "%d -> %d" % (len(cartridges), len(left)))
        for e in gone:
            self.check("the canvas shows the panel where %s was" % e["name"],
                       self.wait_for("cartridge gone", lambda: self.shows(self.scene_picture, e["x"], e["y"], e["w"], e["h"],
                                                                          at=(e["x"], e["y"]))))

    def hit_rodent(self, press=None, who="a raised rodent"):
        """A raised rodent shot with press(gx, gy) (a mouse click unless
        given): one hit, the score up by its worth and shown, the cross-hair
        where it was aimed. False when none could be hit."""
        press = press or self.click
        deadline = time.monotonic() + 120
        attempts = 0
        while time.monotonic() < deadline and attempts < 12:
            probe = self.probe()
            raised = self.raised_rodents(probe)
            if not raised:
                time.sleep(0.03)
                continue
            attempts += 1
            e = raised[0]
            aim = self.centre(e)
            press(*aim)
            after = self.wait_for("the shot counted", lambda: (
                lambda p: p if p["shots_fired"] > probe["shots_fired"] else None)(self.probe()))
            if after and after["hits"] > probe["hits"]:
                label = self.element(after, "score_label")
                return self.check("%s (%s) is hit once where aimed and the score goes %d -> %d" %
                                  (who, e["name"], probe["score"], after["score"]),
                                  after["score"] > probe["score"] and label["text"] == "%06d" % after["score"]
                                  and after["hits"] == probe["hits"] + 1
                                  and after["shots_fired"] == probe["shots_fired"] + 1
                                  and (after["cursor_x"], after["cursor_y"]) == aim,
                                  "%s; hits %d -> %d, shots %d -> %d, cursor %s, aimed %s" % (
                                      label["text"], probe["hits"], after["hits"], probe["shots_fired"],
                                      after["shots_fired"], (after["cursor_x"], after["cursor_y"]), aim))
        return self.check(who + " is hit", False, "%d shots missed or none came up" % attempts)

    def cancel_released_elsewhere(self):
        normal, pressed, cancel = self.hold_button("cancel_button")
        box = (cancel["x"], cancel["y"], cancel["w"], cancel["h"])
        self.wait_for("pressed CANCEL", lambda: self.shows(pressed, *box))
        self.mouse("move", 400, 600)
        self.check("a held button dragged off shows its normal image",
                   pressed != normal and self.wait_for("normal CANCEL", lambda: self.shows(normal, *box)),
                   "normal %d, pressed %d, the probe's %d" % (normal, pressed,
                                                              self.element(self.probe(), "cancel_button")["image"]))
        shots = self.probe()["shots_fired"]
        self.mouse("up", 400, 600)
        time.sleep(0.3)  # a command would run inside the release's handler
        p = self.probe()
        self.check("released off the button: no command, no shot",
                   p["stage"] == 1 and p["shots_fired"] == shots
                   and not self.log_has(p, what="cue", name="snd_cancel"))

    def cancel(self):
        self.click(*self.centre(self.element(self.probe(), "cancel_button")))
        probe = self.wait_for("stopped", lambda: (
            lambda p: p if p["stage"] == 0 and p["audio"]["loops"] == 0 else None)(self.probe()))
        self.check("CANCEL ends the game and the meadow loop", probe is not None)
        probe = probe or self.probe()
        self.check("snd_cancel played, then the loop stopped",
                   [(x["what"], x.get("name")) for x in probe["audio"]["log"][-2:]]
                   == [("cue", "snd_cancel"), ("ambient-stop", None)]
                   and probe["audio"]["log"][-1]["stopped"] == 1, json.dumps(probe["audio"]["log"][-3:]))
        self.check("GAME CANCELED is shown", self.element(probe, "canceled_banner")["visible"])
        self.screenshot("canceled.png")

    def keys_and_strip(self):
        before = self.canvas_rect()
        for key in ("ArrowLeft", "ArrowDown"):
            self.page.key(key)
        scrolled = self.page.evaluate("window.scrollX + window.scrollY")
        self.check("the arrow keys leave the canvas and the page where they are",
                   self.canvas_rect() == before and scrolled == 0)
        shots = self.probe()["shots_fired"]
        self.click(500, 10)
        self.check("a press in the title strip is no shot", self.probe()["shots_fired"] == shots)

    def close_and_play_again(self):
        self.page.evaluate("window.beforeReload = true")
        self.click(*self.centre(self.element(self.probe(), "close_button")))
        ended = self.wait_for("ended page", lambda: self.page.evaluate(
            "!document.getElementById('ended').hidden"
            " && getComputedStyle(document.getElementById('field')).display === 'none'"))
        self.check("the close button ends the game with a Play again page", ended)
        self.screenshot("ended.png")
        self.page.click_element("again")
        fresh = self.wait_for("a new game page", lambda: self.page.evaluate(
            "!window.beforeReload && !!window.plinkfieldProbe && plinkfieldProbe().firstFrameMs !== null"))
        self.check("Play again loads a fresh game", fresh and self.probe()["stage"] == 0)

    # -------------------------------------------------------------- main

    def desktop(self):
        self.set_viewport(FIELD_W, FIELD_H)
        probe = self.load()
        if not self.check("the page loads and draws its first frame", probe is not None):
            return False
        print("first frame %.0f ms after navigation start" % probe["firstFrameMs"], flush=True)
        with open(os.path.join(self.art, "first-frame-ms.txt"), "w") as f:
            f.write("%.0f\n" % probe["firstFrameMs"])
        self.check("silent before START: no audio context, nothing played, no console error",
                   probe["audio"]["state"] == "none" and not probe["audio"]["log"]
                   and not self.console_problems(), "; ".join(self.console_problems()))
        self.cursor_and_font()
        self.start_screen(probe)
        self.pictures_as_painted()
        self.gapless_loop()
        self.scaling()
        self.keys_and_strip()
        self.press_start()
        self.audio_after_start()
        self.timer_keeps_time()
        self.miss()
        self.hit_rodent()
        self.screenshot("playing.png")
        self.minimize()
        self.chorded_buttons()
        self.cancel_released_elsewhere()
        self.cancel()
        self.refused_with_the_beep()
        self.no_menu()
        self.close_and_play_again()
        return True
