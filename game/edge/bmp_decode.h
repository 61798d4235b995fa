// Turns a painted BMP file into RGBA pixels, for a backend whose platform
// cannot read BMP files itself (the page's canvas). Free of any platform
// header, so the native tests check it on the real files.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // top row first, 4 bytes a pixel, opaque
};

// An uncompressed 24-bit BMP, or an 8-bit one with its palette: the two
// kinds the painter writes, at most 16384 pixels a side. Bottom-up and
// top-down rows both work; a palette index past the palette's end shows
// black. False, with out left empty, for anything else, a file cut short or
// pixels that overlap the headers.
bool decode_bmp(std::span<const std::uint8_t> file, Picture& out);
