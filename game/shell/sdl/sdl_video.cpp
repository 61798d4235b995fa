// The main window and its picture. Nothing here decides anything: each
// frame draws the scene model as it stands, the background first and then
// the elements from the last row of ELEMENT_TABLE to the first, so that an
// earlier row lies on top, as the Windows build's child windows stack.
// Frames are drawn only when the model (or the window) changed.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <ctime>

#include "game/shell/bitmaps.h"
#include "game/shell/buttons.h"
#include "game/shell/platform.h"
#include "game/shell/scene.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

constexpr int SCENE_PICTURE = 100;
// What Windows hands a label as its background: the stock light grey brush.
constexpr SDL_Color LABEL_GREY = {192, 192, 192, 255};

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
std::array<SDL_Texture*, BITMAP_CATALOGUE.size()> pictures{};

struct LabelPicture {
    std::string text;
    SDL_Texture* texture = nullptr;
    bool made = false;
};
std::array<LabelPicture, ELEMENT_COUNT> labels;

bool dirty = true;
double scale = 1.0;
long frames = 0;
long long first_frame_ns = 0;

// Each picture is read the first time it is drawn and kept: the start
// screen needs six of the 66, and the first frame should not wait for the rest.
SDL_Texture* picture(int bitmap_id) {
    const BitmapInfo* b = find_bitmap(bitmap_id);
    if (!b) return nullptr;
    SDL_Texture*& t = pictures[static_cast<std::size_t>(b - BITMAP_CATALOGUE.data())];
    if (!t) {
        if (SDL_Surface* s = load_game_bitmap(bitmap_id)) {
            t = SDL_CreateTextureFromSurface(renderer, s);
            SDL_FreeSurface(s);
        }
    }
    return t;
}

// The scale that makes the window fill up to about four fifths of the
// display, in quarter steps, never below one to one: on an ordinary screen
// the game stays pixel for pixel, on a large one it grows.
double automatic_scale() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1.0;
    const double fits = std::min(usable.w / double(GAME_WIDTH), usable.h / double(GAME_HEIGHT));
    return std::max(1.0, std::floor(fits * 0.8 * 4.0) / 4.0);
}

void draw_element(Element e) {
    const ElementRow& row = ELEMENT_TABLE[e];
    const SceneElement& s = scene[e];
    const SDL_Rect place{s.x, s.y, s.w, s.h};
    switch (row.kind) {
        case ElementKind::sprite: {
            // A bitmap control draws its picture at the picture's own size
            // from its top-left corner, cut off by the control's rectangle.
            const BitmapInfo* b = find_bitmap(s.image);
            if (!b) return;
            const SDL_Rect src{0, 0, std::min(s.w, b->width), std::min(s.h, b->height)};
            const SDL_Rect dst{s.x, s.y, src.w, src.h};
            SDL_RenderCopy(renderer, picture(s.image), &src, &dst);
            break;
        }
        case ElementKind::label: {
            SDL_SetRenderDrawColor(renderer, LABEL_GREY.r, LABEL_GREY.g, LABEL_GREY.b, 255);
            SDL_RenderFillRect(renderer, &place);
            LabelPicture& lp = labels[e];
            if (!lp.made || lp.text != s.text) {
                if (lp.texture) SDL_DestroyTexture(lp.texture);
                lp.texture = text_render(renderer, e, s.text.c_str());
                lp.text = s.text;
                lp.made = true;
            }
            if (!lp.texture) return;
            int w = 0, h = 0;
            SDL_QueryTexture(lp.texture, nullptr, nullptr, &w, &h);
            // Left-aligned from the top-left corner, cut off at the edges.
            const SDL_Rect src{0, 0, std::min(w, s.w), std::min(h, s.h)};
            const SDL_Rect dst{s.x, s.y, src.w, src.h};
            SDL_RenderCopy(renderer, lp.texture, &src, &dst);
            break;
        }
        case ElementKind::button: {
            const int image = button_image(row.id, input_pressed_button() == row.id);
            // Stretched to the button, as the Windows build's StretchBlt does.
            if (SDL_Texture* t = picture(image)) SDL_RenderCopy(renderer, t, nullptr, &place);
            break;
        }
    }
}

}  // namespace

bool video_open(double requested_scale) {
    scale = requested_scale > 0 ? requested_scale : automatic_scale();
    const int w = static_cast<int>(std::lround(GAME_WIDTH * scale));
    const int h = static_cast<int>(std::lround(GAME_HEIGHT * scale));
    window = SDL_CreateWindow("Plinkfield", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h,
                              SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!window) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error!", "Window Creation Failed!", nullptr);
        return false;
    }
    if (SDL_Surface* icon = load_window_icon()) {  // the desktop icon's drawing
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error!", "Window Creation Failed!", nullptr);
        return false;
    }
    // A fractional scale reads better smoothed; a whole one stays crisp.
    if (scale != std::floor(scale)) SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // Hit tests and every event stay in game coordinates at any scale.
    SDL_RenderSetLogicalSize(renderer, GAME_WIDTH, GAME_HEIGHT);
    SDL_ShowWindow(window);
    return true;
}

void video_close() {
    for (LabelPicture& lp : labels)
        if (lp.texture) SDL_DestroyTexture(lp.texture);
    for (SDL_Texture*& t : pictures)
        if (t) SDL_DestroyTexture(t), t = nullptr;
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    renderer = nullptr;
    window = nullptr;
}

SDL_Window* video_window() { return window; }

void video_mark_dirty() { dirty = true; }

void platform_element_changed(int) { dirty = true; }

void video_draw_if_dirty() {
    if (!dirty || !renderer) return;
    dirty = false;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);  // the bars around the picture in fullscreen
    SDL_RenderCopy(renderer, picture(SCENE_PICTURE), nullptr, nullptr);
    for (Element e = ELEMENT_COUNT - 1; e >= 0; --e)
        if (scene[e].visible) draw_element(e);
    SDL_RenderPresent(renderer);
    if (frames++ == 0) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        first_frame_ns = now.tv_sec * 1000000000LL + now.tv_nsec;
    }
}

long video_frames() { return frames; }

long long video_first_frame_ns() { return first_frame_ns; }

void video_toggle_fullscreen() {
    const bool full = video_fullscreen();
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    dirty = true;
}

bool video_fullscreen() { return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; }

double video_scale() { return scale; }

void video_window_to_game(int wx, int wy, int& gx, int& gy) {
    // Outside fullscreen the picture fills the window exactly.
    gx = static_cast<int>(std::floor(wx / scale));
    gy = static_cast<int>(std::floor(wy / scale));
}
