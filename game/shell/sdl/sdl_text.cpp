// The labels' fonts: Liberation Sans at the cell heights of LABEL_FONTS.
// SDL_ttf sizes fonts by the em, so each font is opened at its cell height
// in points at the resolution that makes one such point one cell pixel,
// times the window's density: the text is drawn at the window's real
// resolution, not scaled up from the field's.
#include <SDL_ttf.h>

#include <cstddef>
#include <cmath>
#include <cstdio>

#include "game/model/layout.h"
#include "game/shell/sdl/sdl_shell.h"
#include "resources/embedded.h"


namespace {

constexpr int CELL_TO_EM_DPI = 72 * EM_UNITS / CELL_UNITS;  // 64
constexpr SDL_Color BLACK = {0, 0, 0, 255};

TTF_Font* large_font = nullptr;
TTF_Font* small_font = nullptr;

TTF_Font* open_font(int cell) {
    const EmbeddedResource* face = find_game_resource(ResourceKind::font, LABEL_FONT);
    if (!face) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(face->data, static_cast<int>(face->size));
    return TTF_OpenFontDPIRW(rw, 1, cell, CELL_TO_EM_DPI, CELL_TO_EM_DPI);
}

}  // namespace

bool text_open() {
    if (TTF_Init() != 0) return false;
    large_font = open_font(label_font(Font::large).cell_height);
    small_font = open_font(label_font(Font::small).cell_height);
    if (!large_font || !small_font) std::fprintf(stderr, "plinkfield: label font: %s\n", TTF_GetError());
    return large_font && small_font;
}

void text_close() {
    if (large_font) TTF_CloseFont(large_font);
    if (small_font) TTF_CloseFont(small_font);
    large_font = small_font = nullptr;
    TTF_Quit();
}

void text_set_density(double density) {
    const auto dpi = static_cast<unsigned>(std::lround(CELL_TO_EM_DPI * density));
    if (large_font) TTF_SetFontSizeDPI(large_font, label_font(Font::large).cell_height, dpi, dpi);
    if (small_font) TTF_SetFontSizeDPI(small_font, label_font(Font::small).cell_height, dpi, dpi);
}

SDL_Texture* text_render(SDL_Renderer* renderer, Font face, const char* text) {
    TTF_Font* font = face == Font::large ? large_font : small_font;
    // SDL_ttf gives no surface for an empty text.
    if (!font || !text[0]) return nullptr;
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, text, BLACK);
    if (!s) return nullptr;
    SDL_Texture* t = SDL_CreateTextureFromSurface(renderer, s);
    SDL_FreeSurface(s);
    return t;
}
