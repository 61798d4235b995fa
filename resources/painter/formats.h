// The file formats the programs load: BMP, WAVE, ICO, WebP; and PNG for
// review and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/painter/paint.h"

namespace painter {

using Bytes = std::vector<std::uint8_t>;

// Uncompressed, bottom-up, rows padded to four bytes.
Bytes bmp_24(cairo_surface_t* s);
// 8 bits per pixel with a palette of at most 256 colours chosen from the
// picture by median cut.
Bytes bmp_8(cairo_surface_t* s);
// PCM; 8-bit samples unsigned, 16-bit signed little-endian.
Bytes wave(const Sound& sound);
// The cross-hair: 32 x 32, 16 colours, with an AND mask.
Bytes crosshair_icon();
// One 32-bit image with alpha, from an ARGB surface.
Bytes icon_32bit(cairo_surface_t* argb);
// Lossless WebP of an opaque picture: the native game's @2x twins, which as
// PNG would weigh a third more.
Bytes webp_lossless(cairo_surface_t* s);

void write_file(const std::string& path, const Bytes& data);
void write_text(const std::string& path, const std::string& text);
void write_png(const std::string& path, cairo_surface_t* s);

}  // namespace painter
