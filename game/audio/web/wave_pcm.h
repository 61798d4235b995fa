// Turns a painted RIFF WAVE file into the samples Web Audio plays. Free of
// any browser header, so the native tests check it on the real files.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct PcmSound {
    int rate = 0;                // samples a second
    std::vector<float> samples;  // one channel, -1 .. 1
};

// Uncompressed PCM, 8-bit unsigned or 16-bit signed, any number of
// channels (mixed down to one). False, with out left empty, for anything
// else or a file cut short.
bool decode_wave(std::span<const std::uint8_t> file, PcmSound& out);
