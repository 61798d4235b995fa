#!/usr/bin/env python3
"""Did a new cue cut off the one playing? Reads what SDL's disk audio driver
wrote (the game's mix: signed 16-bit, two channels, 22050 frames a second)
from frame FROM on, and looks there for the first two starts of any of the
given cues (RIFF WAVE files, 16-bit mono at 22050 Hz, which the mixer
copies into both channels unchanged but for a rounding of a unit or two).

  cue_cut.py MIX.raw FROM WAVE...

Prints one line and exits 0 when the first cue played alone from its start
until the second began, and the second then played alone from its start:
the second cut the first off. Exits 1 when the second never began alone
(it was dropped, or mixed with the first), and 2 when the output cannot
tell (the first had ended before the second, or something else came
between them): the caller tries again.
"""
import array
import sys

RATE = 22050
TOLERANCE = 2  # the mixer's float round trip changes a sample by a unit or so
KEY = 64       # samples that identify a cue's start
AFTER = RATE // 4  # the second cue is followed this far, or to its end


def wave_samples(path):
    with open(path, "rb") as f:
        data = f.read()
    fmt = data.find(b"fmt ")
    channels = int.from_bytes(data[fmt + 10:fmt + 12], "little")
    rate = int.from_bytes(data[fmt + 12:fmt + 16], "little")
    bits = int.from_bytes(data[fmt + 22:fmt + 24], "little")
    if (channels, rate, bits) != (1, RATE, 16):
        sys.exit("%s: not 16-bit mono at %d Hz" % (path, RATE))
    at = data.find(b"data")
    size = int.from_bytes(data[at + 4:at + 8], "little")
    samples = array.array("h")
    samples.frombytes(data[at + 8:at + 8 + size])
    return samples


def alike(out, at, cue, start, count):
    """out[at + k] matches cue[start + k] for k < count."""
    if at + count > len(out):
        return False
    return all(abs(out[at + k] - cue[start + k]) <= TOLERANCE for k in range(count))


def starts(out, name, cue):
    """Frames where the cue starts in out (its leading silence counted)."""
    lead = next(i for i, v in enumerate(cue) if v != 0)
    first = cue[lead]
    found = []
    for p in range(len(out) - lead - KEY):
        if abs(out[p + lead] - first) <= TOLERANCE and alike(out, p + lead, cue, lead, KEY):
            found.append((p, name))
    return found


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    with open(argv[1], "rb") as f:
        raw = f.read()
    begin = int(argv[2])
    frames = array.array("h")
    frames.frombytes(raw[4 * begin:len(raw) // 4 * 4])
    out = frames[0::2]  # the left channel; the right is the same
    cues = {path.rsplit("/", 1)[-1]: wave_samples(path) for path in argv[3:]}
    found = sorted(s for name, cue in cues.items() for s in starts(out, name, cue))
    ms = lambda frames: "%d ms" % (frames * 1000 // RATE)  # noqa: E731
    if not found:
        print("none of the cues began on its own after frame %d (mixed with another, or never played)" % begin)
        return 1
    (p1, first), rest = found[0], found[1:]
    if not rest:
        print("%s started, and no second cue began on its own after it" % first)
        return 1
    p2, second = rest[0]
    gap = p2 - p1
    if gap >= len(cues[first]):
        print("%s had ended %s before %s began" % (first, ms(gap - len(cues[first])), second))
        return 2
    if not alike(out, p1, cues[first], 0, gap):
        print("%s did not play alone until %s began %s later" % (first, second, ms(gap)))
        return 2
    count = min(AFTER, len(cues[second]), len(out) - p2)
    if not alike(out, p2, cues[second], 0, count):
        print("%s, begun %s into %s, did not play alone" % (second, ms(gap), first))
        return 1
    print("%s, begun %s into %s, cut it off" % (second, ms(gap), first))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
