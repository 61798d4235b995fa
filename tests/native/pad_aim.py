#!/usr/bin/env python3
"""Steers the native game's test pad with its left stick until the pad's
cross-hair lies on a point, as a player would: the stick leans towards the
point, the less the nearer it is, and lets go once the cross-hair is there.
The game's scene dump says where the cross-hair is; the test pad's pipe
takes the stick's lines (game/shell/sdl/sdl_dump.cpp).

    pad_aim.py DUMP PIPE X Y TOLERANCE SECONDS [--fire [H N]]

Exits 0 once the cross-hair stands still within TOLERANCE pixels of X, Y
on each axis, the stick let go; with --fire, once the south button has been
pressed and let go there as well: at once, or, given H and N, as soon as
the N-th rodent since the game began is up out of burrow H. Exits 1 when
SECONDS pass first, 2 when that rodent has come and gone unshot.
"""
import json
import math
import sys
import time

DEAD_ZONE = 8000      # the game's PAD_DEAD_ZONE
FULL = 32767
# How near the stick begins to ease off: within this many pixels the push
# is weaker in proportion (as a strength, before the game's squaring).
EASE_PX = 150.0
WEAKEST = 0.02        # strength of the last, slowest approach
RESEND_S = 0.06       # the game reads a pad in use 60 times a second


def read_dump(path):
    # The game replaces the file whole; a read between two rewrites may
    # still find it gone for an instant.
    for _ in range(50):
        try:
            with open(path) as f:
                return json.load(f)
        except (OSError, ValueError):
            time.sleep(0.005)
    raise SystemExit("pad_aim: cannot read " + path)


def rodent_up(dump, hole, spawn):
    state = dump["state"]
    return state["spawn_count"] == spawn and state["active_hole"] == hole and state["hole_hittable"][hole - 1] == 1


def main(argv):
    args = argv[1:]
    fire = "--fire" in args
    rodent = None
    if fire:
        i = args.index("--fire")
        if len(args) > i + 2:
            rodent = (int(args[i + 1]), int(args[i + 2]))
        del args[i:]
    dump_path, pipe_path = args[0], args[1]
    x, y, tolerance, seconds = int(args[2]), int(args[3]), int(args[4]), float(args[5])
    pipe = open(pipe_path, "w")

    sent = None
    sent_at = 0.0

    def stick(sx, sy):
        # The game takes one line of the pipe each time it reads its pads:
        # a lean is sent again only once the last one has surely been
        # taken, lest they queue up and the stick lag behind; letting go is
        # sent at once.
        nonlocal sent, sent_at
        if sent == (sx, sy) or ((sx, sy) != (0, 0) and time.monotonic() - sent_at < RESEND_S):
            return
        pipe.write("stick %d %d\n" % (sx, sy))
        pipe.flush()
        sent = (sx, sy)
        sent_at = time.monotonic()

    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        dump = read_dump(dump_path)
        pad = dump["native"]["pad"]
        dx, dy = x - pad["x"], y - pad["y"]
        if abs(dx) <= tolerance and abs(dy) <= tolerance:
            stick(0, 0)
            # The point the game shows may be a step behind: once the game
            # says the cross-hair stands still, it is where the shot lands.
            if pad["moving"]:
                time.sleep(0.005)
                continue
            if not fire:
                return 0
            while rodent and not rodent_up(dump, *rodent):
                if dump["state"]["spawn_count"] > rodent[1] or time.monotonic() > deadline:
                    return 2
                time.sleep(0.005)
                dump = read_dump(dump_path)
            pipe.write("button a down\nbutton a up\n")
            pipe.flush()
            return 0
        distance = math.hypot(dx, dy)
        strength = min(1.0, max(WEAKEST, distance / EASE_PX))
        # The game squares what lies beyond the dead zone: lean by the root.
        lean = DEAD_ZONE + 1 + (FULL - DEAD_ZONE - 1) * math.sqrt(strength)
        stick(int(lean * dx / distance), int(lean * dy / distance))
        time.sleep(0.005)
    stick(0, 0)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
