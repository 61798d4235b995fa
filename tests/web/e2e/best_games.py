"""The best games on the page, with the storage kept from load to load: a
game played with real input is kept (BEST on the panel drawn as the score
is, a row in the table under the field), its stored recording replays in
the simulator to the page's state, Save recording offers it, a reload
keeps it, Watch plays it on the canvas to that state whatever the player
clicks meanwhile, and with storage refused the page warns once and plays
on. Mixed into the suite's Run."""
import json

from page_driver import FIELD_H, FIELD_W, FORGET_BEST_GAMES, QuietHandler

# Storage that throws, as a private window or a page whose storage is
# turned off has it.
# Only the page's local storage: WebKit's console log is kept in the tab's
# session storage.
REFUSE_STORAGE = ("(() => { const refused = localStorage; for (const call of ['getItem', 'setItem', 'removeItem']) {"
                  " const real = Storage.prototype[call]; Storage.prototype[call] = function (...args) {"
                  " if (this === refused) throw new DOMException('storage is turned off', 'SecurityError');"
                  " return real.apply(this, args); }; } })();")


class BestGames:

    def best(self):
        return self.probe()["raw"]["best"]

    def table_rows(self):
        return self.page.evaluate("[...document.querySelectorAll('#best tbody tr')]"
                                  ".map((tr) => [...tr.cells].slice(0, 6).map((td) => td.textContent))")

    def press_in_page(self, selector):
        """A trusted click in the middle of a page element."""
        r = self.page.evaluate("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                               " return [r.left + r.width / 2, r.top + r.height / 2]; })()" % json.dumps(selector))
        self.page.click(*r)

    def best_games(self):
        # Room for the table's line under a field of its own size, so that
        # canvas pixels are field pixels.
        self.leave_page()
        self.set_viewport(FIELD_W, FIELD_H + 80)
        try:
            self.kept_and_watched()
            self.storage_refused()
        finally:
            QuietHandler.hooks[:] = [hook for hook in QuietHandler.hooks
                                     if hook not in (REFUSE_STORAGE, FORGET_BEST_GAMES)] + [FORGET_BEST_GAMES]
            self.leave_page()
            self.set_viewport(FIELD_W, FIELD_H)

    def kept_and_watched(self):
        # The first load a new player's, storage kept from then on.
        probe = self.load()
        QuietHandler.hooks.remove(FORGET_BEST_GAMES)
        if not self.check("best games: the page loads", probe is not None):
            return
        self.check("with no game kept BEST reads 000000 and no table shows",
                   self.best()["text"] == "000000" and self.page.evaluate("document.getElementById('best').hidden"))
        if not self.play_a_recorded_game(self.click, "best games", shots=6):
            return
        best = self.wait_for("the game kept", lambda: (lambda b: b if len(b["entries"]) == 1 else None)(self.best()))
        if not self.check("the game is kept, as one line of the table", best is not None):
            return
        probe = self.probe()
        score = self.element(probe, "score_label")
        line = best["entries"][0].split()
        self.check("its line holds the score, level, hits and misses (%s)" % best["entries"][0],
                   line[:5] == ["1", str(probe["score"]), str(probe["level"]), str(probe["hits"]), str(probe["misses"])]
                   and best["text"] == score["text"])
        x, y, w, h = self.plate["number"]
        self.wait_for("a frame", lambda: self.page.evaluate(
            "new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))"))
        self.check("BEST's number is drawn as the score label is: same face, colours and digits",
                   self.canvas_pixels(x, y, w, h) == self.canvas_pixels(score["x"], score["y"], w, h))
        rows = self.table_rows()
        self.check("the table shows under the field, not over it, its row as the game's",
                   [row[:5] for row in rows] == [["1", line[1], line[2], line[3], line[4]]]
                   and self.page.evaluate("document.getElementById('field').getBoundingClientRect().bottom"
                                          " <= document.getElementById('best').getBoundingClientRect().top + 0.5"
                                          " && document.getElementById('best').getBoundingClientRect().bottom"
                                          " <= innerHeight + 0.5"), str(rows))
        ident = line[6]
        stored = self.page.evaluate("localStorage.getItem(%s)" % json.dumps("plinkfield.game." + ident))
        state, scene = self.replayed(stored or "")
        self.check("the stored recording replays in the simulator to the page's state and scene",
                   state == probe["raw"]["state"] and scene == probe["raw"]["scene"])
        # Save recording, its download held back.
        self.press_in_page("#best summary")
        self.wait_for("the table open", lambda: self.page.evaluate("document.getElementById('best-games').open"))
        self.page.evaluate("document.querySelector('#best .save').addEventListener('click', (e) => e.preventDefault())")
        self.press_in_page("#best .save")
        href = self.wait_for("a saved file", lambda: self.page.evaluate(
            "(a => a.href.startsWith('blob:') ? a.href : null)(document.querySelector('#best .save'))"))
        saved = self.page.evaluate("fetch(%s).then(r => r.text())" % json.dumps(href)) if href else None
        self.check("Save recording offers the stored recording", saved == stored and stored,
                   "%r: %d vs %d characters" % (href, len(saved or ""), len(stored or "")))

        probe = self.load()
        self.check("a reload keeps the table and BEST", probe is not None and self.best()["entries"] == best["entries"]
                   and self.best()["text"] == best["text"] and len(self.table_rows()) == 1)
        self.press_in_page("#best summary")
        self.wait_for("the table open", lambda: self.page.evaluate("document.getElementById('best-games').open"))
        self.page.evaluate("window.pageBefore = true")
        self.press_in_page("#best .watch")
        watching = self.wait_for("the watch page", lambda: not self.page.evaluate("window.pageBefore === true")
                                 and self.page.evaluate("!!window.plinkfieldProbe") and self.best()["watching"])
        if not self.check("Watch loads the game to watch", watching):
            return
        # The player clicks START and the meadow meanwhile: nothing of it
        # may reach the game.
        for target in (self.centre(self.element(self.probe(), "start_button")), (180, 560), (640, 400)):
            self.click(*target)
        ended = self.wait_for("the watched game to end", lambda: self.page.evaluate("Module.watchEnded === true"),
                              timeout=240)
        probe = self.probe()
        self.check("Watch plays the recording to the game's very state and scene, the clicks meanwhile ignored",
                   ended and probe["raw"]["state"] == state and probe["raw"]["scene"] == scene and
                   self.best()["entries"] == best["entries"])
        self.page.evaluate("window.pageBefore = true")
        self.press_in_page("#stop-watching")
        back = self.wait_for("the game again", lambda: not self.page.evaluate("window.pageBefore === true")
                             and self.page.evaluate("!!window.plinkfieldProbe && location.search === ''")
                             and self.probe()["firstFrameMs"] is not None)
        self.check("back from watching the page plays again", back and not self.best()["watching"])

    def storage_refused(self):
        QuietHandler.hooks.append(REFUSE_STORAGE)
        warning = None
        if not self.check("with storage refused the page loads", self.load() is not None):
            return
        played = self.play_a_recorded_game(self.click, "storage refused", shots=3)
        best = self.best()
        problems = [p for p in self.page.console_problems() if "cannot be kept" in p]
        warning = problems[0] if problems else None
        self.check("with storage refused the game plays on, kept for the page alone, with one warning",
                   played and len(best["entries"]) == 1 and len(problems) == 1, "; ".join(problems))
        if warning:
            self.expected_problems.append(warning)
