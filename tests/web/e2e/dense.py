"""The page on a screen of twice the density: its canvas has a pixel for
every device pixel, it fetches and draws the twins the painter made at
twice the size (and not the pictures as painted), and a shot lands where
it is aimed. Mixed into the suite's Run."""

FIELD_W, FIELD_H = 1280, 786


class Dense:

    def twice_dense(self):
        if not self.able("density", "the page at twice the density, its twins"):
            return
        self.leave_page()
        self.set_viewport(FIELD_W, FIELD_H, ratio=2)
        probe = self.load()
        if not self.check("at twice the density the page loads and draws its first frame", probe is not None):
            return
        rect = self.canvas_rect()
        view = probe["view"]
        self.check("at twice the density the canvas has 2560 x 1572 pixels for its 1280 x 786 page pixels",
                   (view["width"], view["height"], round(rect["width"]), round(rect["height"]))
                   == (2 * FIELD_W, 2 * FIELD_H, FIELD_W, FIELD_H), "%s, %s" % (view, rect))
        count = len(self.page_pictures)
        self.wait_for("every twin", lambda: self.probe()["view"]["pictures"]["2"] == count)
        pictures = sorted({path for path in self.fetched() if path.startswith("pictures/") and path.endswith(".webp")})
        twins = [path for path in pictures if path.endswith("@2x.webp")]
        self.check("it draws the twins, and fetched them alone (%d of %d pictures)" % (len(twins), count),
                   probe["view"]["scale"] == 2 and len(twins) == count and len(pictures) == count,
                   "scale %s, fetched %s" % (probe["view"]["scale"], sorted(set(pictures) - set(twins))[:5]))
        off, sprites_off, mean, _ = self.painted_scene_shown(probe, "start-2x", scale=2)
        self.check("its start screen is the painted twins at device pixels: buttons exact (pixels off: %d),"
                   " the scene's lossy twin a mean %.2f/255 off" % (sprites_off, mean),
                   sprites_off == 0 and mean < 2, "%d pixels off in all" % off)
        self.click(*self.centre(self.element(self.probe(), "start_button")))
        if self.check("START starts the game there", self.wait_for("stage 1", lambda: self.probe()["stage"] == 1)):
            self.hit_rodent(who="at twice the density a raised rodent")
            self.screenshot("playing-2x.png")
            self.click(*self.centre(self.element(self.probe(), "cancel_button")))
            self.wait_for("canceled", lambda: self.probe()["stage"] == 0)
        self.leave_page()
        self.set_viewport(FIELD_W, FIELD_H)
