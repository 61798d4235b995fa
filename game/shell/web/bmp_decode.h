// Turns a painted BMP file into RGBA pixels for the page's canvas. Free of
// any browser header, so the native tests check it on the real files.
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
// kinds the painter writes. Bottom-up and top-down rows both work. False,
// with out left empty, for anything else or a file cut short.
bool decode_bmp(std::span<const std::uint8_t> file, Picture& out);
