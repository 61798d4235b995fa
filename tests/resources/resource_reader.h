// Readers for the painted files, written apart from the painter so that the
// tests check the bytes, not the painter's own idea of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Fields are read with the game's one little-endian reader; the readers
// below stay apart from the game's decoders, which they check.
#include "game/edge/little_endian.h"

using Bytes = std::vector<std::uint8_t>;

std::string resource_dir();
Bytes read_bytes(const std::string& path);
std::string read_text(const std::string& path);

struct Bitmap {
    int width = 0, height = 0, bits = 0;
    int palette_size = 0;
    std::vector<std::uint8_t> rgb;  // top row first, 3 bytes a pixel
    int at(int x, int y, int channel) const { return rgb[static_cast<std::size_t>((y * width + x) * 3 + channel)]; }
};
// Fails the current test (and returns an empty bitmap) on any header field
// other than the ones the game's loader expects.
Bitmap read_bitmap(const std::string& path);

struct Wave {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::size_t data_bytes = 0;
    std::vector<double> samples;  // interleaved, -1 .. 1
};
Wave read_wave(const std::string& path);

struct Png {
    int width = 0, height = 0;
    bool alpha = false;              // whether the file has an alpha channel
    std::vector<std::uint8_t> rgba;  // top row first, 4 bytes a pixel, straight alpha
    int at(int x, int y, int channel) const { return rgba[static_cast<std::size_t>((y * width + x) * 4 + channel)]; }
};
// 8-bit RGBA or RGB without interlacing, as cairo writes them (RGB where a
// picture is opaque); fails the current test on anything else, or on a
// damaged chunk. An RGB file reads as opaque RGBA.
Png read_png(const std::string& path);
// An opaque PNG, such as an @2x picture, read as a Bitmap; fails the
// current test if the file has an alpha channel.
Bitmap read_opaque_png(const std::string& path);

// Mean absolute difference per channel between a sprite and the scene
// under it at (x, y), over the sprite's one-pixel border.
double border_difference(const Bitmap& sprite, const Bitmap& scene, int x, int y);
