#!/usr/bin/python3
"""Whether what Wine played into an ALSA file sink is a WAVE's samples.

    sink_holds.py SINK WAVE COPIES

Exits 0 when SINK begins with COPIES copies of WAVE's samples, one straight
after the other; 1 when it does not (yet). A busy machine can feed Wine's
audio late, and Wine then plays silence until the samples come: such a run
of silence in the middle of a sound is skipped, since the program played
every sample in order. Silence where one copy ends and the next begins is a
gap of the loop, and fails.
"""
import sys


def wave_samples(path):
    data = open(path, "rb").read()
    at = data.find(b"fmt ")
    bits = int.from_bytes(data[at + 22:at + 24], "little")
    at = data.find(b"data")
    size = int.from_bytes(data[at + 4:at + 8], "little")
    # Unsigned 8-bit samples are silent at 128, signed 16-bit ones at 0.
    return data[at + 8:at + 8 + size], 0x80 if bits == 8 else 0x00


def holds(sink, samples, silence, copies):
    n = len(samples)
    i = j = 0  # bytes of the sink, bytes of the copies
    while j < n * copies:
        if i >= len(sink):
            return False
        if sink[i] == samples[j % n]:
            i += 1
            j += 1
            continue
        run = 0
        while i + run < len(sink) and sink[i + run] == silence:
            run += 1
        if run == 0 or j % n == 0:
            return False
        i += run
    return True


def main():
    sink, wave, copies = sys.argv[1], sys.argv[2], int(sys.argv[3])
    samples, silence = wave_samples(wave)
    try:
        played = open(sink, "rb").read()
    except OSError:
        return 1
    return 0 if holds(played, samples, silence, copies) else 1


if __name__ == "__main__":
    sys.exit(main())
