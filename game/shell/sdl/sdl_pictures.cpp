// The game's pictures from the files built into the program: the bitmaps
// as SDL reads BMP files, and the cross-hair icon, which SDL cannot read,
// decoded here (an ICO holds a BMP without its file header, twice as high
// as the picture: the colours, then a one-bit mask where 1 is see-through).
#include <cstdint>
#include <cstring>

#include "game/shell/sdl/sdl_shell.h"
#include "resources/embedded.h"

SDL_Surface* load_game_bitmap(int id) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::bitmap, id);
    if (!r) return nullptr;
    return SDL_LoadBMP_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)), 1);
}

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// The first image of an ICO file, 4 or 32 bits per pixel, as ARGB.
SDL_Surface* decode_icon(const unsigned char* file, std::size_t size) {
    if (size < 22 + 40 || le16(file + 2) != 1 || le16(file + 4) < 1) return nullptr;
    const std::uint32_t offset = le32(file + 18);
    if (offset + 40 > size) return nullptr;
    const unsigned char* info = file + offset;
    const int w = static_cast<int>(le32(info + 4));
    const int h = static_cast<int>(le32(info + 8)) / 2;
    const int bits = le16(info + 14);
    if (w <= 0 || h <= 0 || w > 256 || h > 256 || (bits != 4 && bits != 32)) return nullptr;
    const std::uint32_t colours = bits == 4 ? (le32(info + 32) ? le32(info + 32) : 16) : 0;
    const unsigned char* palette = info + le32(info);
    const unsigned char* pixels = palette + 4 * colours;
    const std::size_t colour_row = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
    const std::size_t mask_row = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    const unsigned char* mask = pixels + colour_row * h;
    if (mask + mask_row * h > file + size) return nullptr;

    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    for (int y = 0; y < h; ++y) {
        const int row = h - 1 - y;  // stored bottom-up
        auto* out = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            std::uint32_t argb;
            if (bits == 32) {
                argb = le32(pixels + row * colour_row + 4 * x);
            } else {
                const unsigned char byte = pixels[row * colour_row + x / 2];
                const unsigned index = (x % 2 == 0) ? byte >> 4 : byte & 0x0F;
                const unsigned char* c = palette + 4 * (index < colours ? index : 0);
                const bool clear = (mask[row * mask_row + x / 8] >> (7 - x % 8)) & 1;
                argb = (clear ? 0u : 0xFF000000u) | (c[2] << 16) | (c[1] << 8) | c[0];
            }
            out[x] = argb;
        }
    }
    return s;
}

}  // namespace

SDL_Surface* load_game_icon(int id) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::icon, id);
    return r ? decode_icon(r->data, r->size) : nullptr;
}

SDL_Surface* load_window_icon() { return load_game_icon(WINDOW_ICON); }
