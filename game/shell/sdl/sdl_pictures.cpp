// The game's pictures from the files built into the program: the bitmaps
// as SDL reads BMP files, their twins as SDL_image reads WebP, and the
// icons (the cross-hair, the window's), which SDL cannot read, decoded by
// the edge and wrapped in a surface.
#include <SDL_image.h>

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
    if (!r) return nullptr;
    return IMG_LoadWEBP_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)));
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
