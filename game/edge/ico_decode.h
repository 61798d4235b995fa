// Turns an icon file (ICO) into ARGB pixels, for a backend whose platform
// cannot read ICO files itself (the native game: the cross-hair cursor and
// the window's icon). Free of any platform header, so the native tests
// check it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // top row first, 0xAARRGGBB, straight alpha
};

// The first image of the directory, as the painter writes them: 4 bits a
// pixel with a palette of up to 16 colours and the mask deciding what is
// see-through, or 32 bits a pixel whose alpha decides (the mask is not
// read), at most 256 pixels a side. A palette index past the palette's end
// shows black. False, with out left empty, for anything else (a PNG image
// among them) or an image that does not lie wholly inside the file.
bool decode_ico(std::span<const std::uint8_t> file, IconPixels& out);
