// Turns a painted RIFF WAVE file into the samples of one channel, for a
// backend whose platform cannot play WAVE files itself (the page's Web
// Audio). Free of any platform header, so the native tests check it on the
// real files.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct PcmSound {
    int rate = 0;                // samples a second
    std::vector<float> samples;  // one channel, -1 .. 1
};

// Uncompressed PCM, 8-bit unsigned or 16-bit signed, any number of
// channels (mixed down to one), chunks in any order with their pad bytes.
// False, with out left empty, for anything else, a rate above 768 kHz, or
// a chunk that claims more than the file holds.
bool decode_wave(std::span<const std::uint8_t> file, PcmSound& out);
