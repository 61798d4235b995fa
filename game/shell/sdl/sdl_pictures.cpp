// The game's pictures from the files built into the program: the bitmaps
// as SDL reads BMP files, their twins from WebP, and the icons (the
// cross-hair, the window's), which SDL cannot read, decoded by the edge and
// wrapped in a surface.
#include <webp/decode.h>

#include <cstdint>
#include <cstring>
#include <span>

#include "game/edge/ico_decode.h"
#include "game/shell/sdl/sdl_shell.h"
#include "resources/embedded.h"

SDL_Surface* load_game_bitmap(int id) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::bitmap, id);
    if (!r) return nullptr;
    return SDL_LoadBMP_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)), 1);
}

SDL_Surface* load_game_twin(int id) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::twin, id);
    int w = 0, h = 0;
    if (!r || !WebPGetInfo(r->data, r->size, &w, &h)) return nullptr;
    // Decoded straight into the renderer's own pixel format (B, G, R, A in
    // memory is ARGB8888 on this little-endian machine), so that making the
    // texture is a plain copy: the scene's twin is four million pixels.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    const auto bytes = static_cast<std::size_t>(s->pitch) * static_cast<std::size_t>(h);
    if (!WebPDecodeBGRAInto(r->data, r->size, static_cast<std::uint8_t*>(s->pixels), bytes, s->pitch)) {
        SDL_FreeSurface(s);
        return nullptr;
    }
    return s;
}

namespace {

SDL_Surface* icon_surface(std::span<const std::uint8_t> file) {
    IconPixels icon;
    if (!decode_ico(file, icon)) return nullptr;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, icon.width, icon.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    const std::size_t row = static_cast<std::size_t>(icon.width) * 4;
    for (int y = 0; y < icon.height; ++y)
        std::memcpy(static_cast<unsigned char*>(s->pixels) + y * s->pitch,
                    icon.argb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(icon.width), row);
    return s;
}

}  // namespace

SDL_Surface* load_game_icon(int id) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::icon, id);
    return r ? icon_surface({r->data, r->size}) : nullptr;
}

SDL_Surface* load_window_icon() { return load_game_icon(WINDOW_ICON); }
