// The main window and its picture. Nothing here decides anything: each
// frame draws the scene model as it stands, the background first and then
// the elements from the last row of ELEMENT_TABLE to the first, so that an
// earlier row lies on top, as the Windows build's child windows stack.
// Frames are drawn only when the model (or the window) changed.
//
// The renderer works in field coordinates (its logical size is the field),
// whatever the window's scale; pictures and labels are made at the window's
// real resolution and drawn into field rectangles.
#include <array>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

#include "game/edge/best_games.h"
#include "game/edge/pointer.h"
#include "game/edge/view_fit.h"
#include "game/model/bitmaps.h"
#include "game/model/buttons.h"
#include "game/model/scene.h"
#include "game/seam/platform.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

// What Windows hands a label as its background: the stock light grey brush.
constexpr SDL_Color LABEL_GREY = {192, 192, 192, 255};

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;

// Each picture is read the first time it is drawn and kept: the start
// screen needs six of the 66, and the first frame should not wait for the
// rest. All are let go when the window's density changes. Above one window
// pixel a field pixel, the twins painted at twice the size are drawn.
std::array<SDL_Texture*, BITMAP_CATALOGUE.size()> pictures{};
int picture_density = 1;  // 2 when the twins are drawn

struct LabelPicture {
    std::string text;
    SDL_Texture* texture = nullptr;
    bool made = false;
};
std::array<LabelPicture, ELEMENT_COUNT> labels;

// The best score's plate and its two texts, which are no scene elements:
// the table of best games is this build's own (best_games.h).
SDL_Texture* best_plate = nullptr;
LabelPicture best_number, new_best;

bool dirty = true;
double scale = 1.0;    // the window's size over the field's, outside fullscreen
double density = 0.0;  // window pixels per field pixel, as last drawn
long frames = 0;
long long first_frame_ns = 0;

std::vector<LabelPicture*> label_pictures() {
    std::vector<LabelPicture*> all{&best_number, &new_best};
    for (LabelPicture& lp : labels) all.push_back(&lp);
    return all;
}

void forget_textures() {
    for (SDL_Texture*& t : pictures)
        if (t) SDL_DestroyTexture(t), t = nullptr;
    for (LabelPicture* lp : label_pictures()) {
        if (lp->texture) SDL_DestroyTexture(lp->texture);
        *lp = LabelPicture{};
    }
    if (best_plate) SDL_DestroyTexture(best_plate), best_plate = nullptr;
}

// A picture drawn one to one, or at a whole multiple, stays crisp; at any
// other density it is smoothed.
void choose_smoothing() {
    const double ratio = density / picture_density;
    const bool whole = std::abs(ratio - std::round(ratio)) < 1e-6 && ratio >= 1;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, whole ? "nearest" : "linear");
}

// Follows the renderer's scale (the window's, or the screen's in
// fullscreen) before a frame: a new density makes everything anew.
void follow_density() {
    float sx = 1, sy = 1;
    SDL_RenderGetScale(renderer, &sx, &sy);
    const double now = std::min(sx, sy);
    if (std::abs(now - density) < 1e-6) return;
    density = now;
    picture_density = density > 1 + 1e-6 ? 2 : 1;
    forget_textures();
    choose_smoothing();
    text_set_density(density);
}

// Reads a picture into t, the first time it is asked for.
SDL_Texture* texture_of(SDL_Texture*& t, int bitmap_id) {
    if (!t) {
        SDL_Surface* s = picture_density == 2 ? load_game_twin(bitmap_id) : nullptr;
        if (!s) s = load_game_bitmap(bitmap_id);
        if (s) {
            t = SDL_CreateTextureFromSurface(renderer, s);
            SDL_FreeSurface(s);
        }
    }
    return t;
}

SDL_Texture* picture(int bitmap_id) {
    const BitmapInfo* b = find_bitmap(bitmap_id);
    if (!b) return nullptr;
    return texture_of(pictures[static_cast<std::size_t>(b - BITMAP_CATALOGUE.data())], bitmap_id);
}

SDL_Rect usable_area() {
    SDL_Rect usable{0, 0, FIELD_WIDTH, FIELD_HEIGHT};
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable);
    return usable;
}

int scaled(int length, double by) { return static_cast<int>(std::lround(length * by)); }

// Where a window of w x h lies wholly on the usable area (its top-left
// corner on it, if it is larger), as near to (x, y) as can be.
void keep_on_screen(int x, int y, int w, int h) {
    const SDL_Rect u = usable_area();
    x = std::max(u.x, std::min(x, u.x + u.w - w));
    y = std::max(u.y, std::min(y, u.y + u.h - h));
    SDL_SetWindowPosition(window, x, y);
}

// A label: its text on light grey, left-aligned from the top-left corner
// and cut off at the edges; the text is in window pixels, the place in
// field pixels.
void draw_label(const SDL_Rect& place, Font font, const std::string& text, LabelPicture& lp) {
    SDL_SetRenderDrawColor(renderer, LABEL_GREY.r, LABEL_GREY.g, LABEL_GREY.b, 255);
    SDL_RenderFillRect(renderer, &place);
    if (!lp.made || lp.text != text) {
        if (lp.texture) SDL_DestroyTexture(lp.texture);
        lp.texture = text_render(renderer, font, text.c_str());
        lp.text = text;
        lp.made = true;
    }
    if (!lp.texture) return;
    int w = 0, h = 0;
    SDL_QueryTexture(lp.texture, nullptr, nullptr, &w, &h);
    const SDL_Rect src{0, 0, std::min(w, scaled(place.w, density)), std::min(h, scaled(place.h, density))};
    const SDL_FRect dst{float(place.x), float(place.y), float(src.w / density), float(src.h / density)};
    SDL_RenderCopyF(renderer, lp.texture, &src, &dst);
}

SDL_Rect rect_of(const PanelPlace& p) { return {p.x, p.y, p.w, p.h}; }

// The best score, part of the panel: under every element, once the table
// has been read.
void draw_best_score() {
    if (!scores_read()) return;
    if (SDL_Texture* t = texture_of(best_plate, BEST_PLATE_PICTURE)) {
        const SDL_Rect place = rect_of(BEST_PLATE);
        SDL_RenderCopy(renderer, t, nullptr, &place);
    }
    draw_label(rect_of(BEST_NUMBER), Font::large, best_number_text(), best_number);
}

// NEW BEST, over the field as the banners are.
void draw_new_best() {
    PanelPlace place{};
    if (new_best_banner(place)) draw_label(rect_of(place), Font::large, NEW_BEST_TEXT, new_best);
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
            SDL_Texture* t = b ? picture(s.image) : nullptr;
            if (!t) return;
            // In the texture's own pixels, whichever twin it is.
            int tw = 0, th = 0;
            SDL_QueryTexture(t, nullptr, nullptr, &tw, &th);
            const int w = std::min(s.w, b->width), h = std::min(s.h, b->height);
            const SDL_Rect src{0, 0, w * tw / b->width, h * th / b->height};
            const SDL_Rect dst{s.x, s.y, w, h};
            SDL_RenderCopy(renderer, t, &src, &dst);
            break;
        }
        case ElementKind::label: draw_label(place, row.font, s.text, labels[e]); break;
        case ElementKind::button: {
            // Stretched to the button, as the Windows build's StretchBlt does.
            if (SDL_Texture* t = picture(shown_button_image(e))) SDL_RenderCopy(renderer, t, nullptr, &place);
            break;
        }
    }
}

void set_scale(double new_scale) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    scale = new_scale;
    const int w = scaled(FIELD_WIDTH, scale), h = scaled(FIELD_HEIGHT, scale);
    SDL_SetWindowSize(window, w, h);
    keep_on_screen(x, y, w, h);
    dirty = true;
}

}  // namespace

bool video_open(double requested_scale) {
    const SDL_Rect usable = usable_area();
    scale = requested_scale > 0 ? requested_scale : automatic_scale(usable.w, usable.h);
    const int w = scaled(FIELD_WIDTH, scale), h = scaled(FIELD_HEIGHT, scale);
    // Centred on the usable area; a window larger than it keeps its top
    // left corner, and with it the title strip, on the screen.
    const int x = usable.x + std::max(0, (usable.w - w) / 2), y = usable.y + std::max(0, (usable.h - h) / 2);
    window = SDL_CreateWindow("Plinkfield", x, y, w, h, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
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
    // Hit tests and every event stay in field coordinates at any scale.
    SDL_RenderSetLogicalSize(renderer, FIELD_WIDTH, FIELD_HEIGHT);
    SDL_ShowWindow(window);
    return true;
}

void video_close() {
    forget_textures();
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
    follow_density();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);  // the bars around the picture in fullscreen
    SDL_RenderCopy(renderer, picture(SCENE_PICTURE), nullptr, nullptr);
    draw_best_score();
    for (Element e = ELEMENT_COUNT - 1; e >= 0; --e)
        if (scene[e].visible) draw_element(e);
    draw_new_best();
    pad_draw(renderer);
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

void video_zoom(int direction) {
    if (!window || video_fullscreen()) return;
    const SDL_Rect u = usable_area();
    const double next =
        direction == 0 ? automatic_scale(u.w, u.h) : zoom_step(scale, direction, largest_fitting_scale(u.w, u.h));
    if (next != scale) set_scale(next);
}

double video_scale() { return scale; }

void video_window_to_game(int wx, int wy, int& gx, int& gy) {
    // Outside fullscreen the picture fills the window exactly.
    gx = static_cast<int>(std::floor(wx / scale));
    gy = static_cast<int>(std::floor(wy / scale));
}
