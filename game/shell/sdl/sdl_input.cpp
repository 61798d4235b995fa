// SDL's events mapped onto the edge: mouse buttons and points (in game
// coordinates whatever the window's scale), the arrow keys, the window's
// own events; the gamepads' to sdl_pad. What a press, a move or a release
// means is the edge's.
#include "game/audio/sdl/sdl_audio.h"
#include "game/edge/inputs.h"
#include "game/edge/pointer.h"
#include "game/model/layout.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

SDL_Cursor* crosshair = nullptr;
SDL_Cursor* arrow = nullptr;

struct ButtonRow {
    Uint8 sdl;
    MouseButton button;
};

constexpr ButtonRow MOUSE_BUTTONS[] = {
    {SDL_BUTTON_LEFT, MouseButton::left},
    {SDL_BUTTON_MIDDLE, MouseButton::middle},
    {SDL_BUTTON_RIGHT, MouseButton::right},
};

MouseButton mouse_button(Uint8 sdl) {
    for (const ButtonRow& row : MOUSE_BUTTONS)
        if (row.sdl == sdl) return row.button;
    return MouseButton::other;
}

bool on_field(int x, int y) { return x >= 0 && y >= 0 && x < FIELD_WIDTH && y < FIELD_HEIGHT; }

void show_cursor_at(int x, int y) {
    if (!on_field(x, y) || held_button() >= 0) return;
    SDL_SetCursor(cursor_at(x, y) == PointerCursor::arrow ? arrow : crosshair);
}

struct KeyRow {
    SDL_Keycode key;
    ArrowKey arrow;
};

constexpr KeyRow ARROWS[] = {
    {SDLK_LEFT, ArrowKey::left},
    {SDLK_UP, ArrowKey::up},
    {SDLK_RIGHT, ArrowKey::right},
    {SDLK_DOWN, ArrowKey::down},
};

// Ctrl and one of these: as in a browser, = stands for + (no Shift needed).
struct ZoomRow {
    SDL_Keycode key;
    int direction;
};

constexpr ZoomRow ZOOM_KEYS[] = {
    {SDLK_PLUS, 1}, {SDLK_EQUALS, 1}, {SDLK_KP_PLUS, 1},
    {SDLK_MINUS, -1}, {SDLK_KP_MINUS, -1},
    {SDLK_0, 0}, {SDLK_KP_0, 0},
};

// The platform's own ways of closing take the close button's path: timer
// stopped, Ambient gone.
void close_window() {
    if (!window_closed()) input_command(CLOSE_BUTTON_ID);
}

void key_down(const SDL_KeyboardEvent& k, bool replaying) {
    // The comforts sit on keys the game never used.
    if (k.keysym.sym == SDLK_F11 && !k.repeat) video_toggle_fullscreen();
    if (k.keysym.sym == SDLK_m && !k.repeat && !(k.keysym.mod & KMOD_CTRL)) sound_set_muted(!sound_muted());
    if (k.keysym.mod & KMOD_CTRL)
        for (const ZoomRow& row : ZOOM_KEYS)
            if (row.key == k.keysym.sym) video_zoom(row.direction);
    if (replaying) {
        // A replay takes no input; Esc, like the close, ends it.
        if (k.keysym.sym == SDLK_ESCAPE || (k.keysym.sym == SDLK_F4 && (k.keysym.mod & KMOD_ALT))) close_window();
        return;
    }
    // Held keys repeat, and each repeat nudges again, as on Windows.
    for (const KeyRow& row : ARROWS)
        if (row.key == k.keysym.sym) input_key(row.arrow);
    // Without a window manager nobody else turns Alt+F4 into a close.
    if (k.keysym.sym == SDLK_F4 && (k.keysym.mod & KMOD_ALT)) close_window();
}

void window_event(const SDL_WindowEvent& w) {
    switch (w.event) {
        case SDL_WINDOWEVENT_CLOSE: close_window(); break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: video_mark_dirty(); break;
        default: break;
    }
}

}  // namespace

int input_pressed_button() {
    const Element e = pressed_button();
    return e >= 0 ? ELEMENT_TABLE[e].id : 0;
}

void input_init_cursors() {
    arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    // An icon used as a cursor has its hot spot in the middle, where the
    // cross-hair's lines meet.
    if (SDL_Surface* icon = load_game_icon(CROSSHAIR_ICON)) {
        crosshair = SDL_CreateColorCursor(icon, icon->w / 2, icon->h / 2);
        SDL_FreeSurface(icon);
    }
    if (crosshair) SDL_SetCursor(crosshair);
}

void input_handle(const SDL_Event& event) {
    const bool replaying = timer_replaying();
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN: {
            const SDL_MouseButtonEvent& b = event.button;
            pad_mouse_moved(b.x, b.y, on_field(b.x, b.y));
            if (!replaying && on_field(b.x, b.y)) pointer_press(b.x, b.y, mouse_button(b.button));
            break;
        }
        case SDL_MOUSEBUTTONUP: {
            const SDL_MouseButtonEvent& b = event.button;
            if (!replaying) pointer_release(b.x, b.y, on_field(b.x, b.y), mouse_button(b.button));
            show_cursor_at(b.x, b.y);
            break;
        }
        case SDL_MOUSEMOTION: {
            const SDL_MouseMotionEvent& m = event.motion;
            pad_mouse_moved(m.x, m.y, on_field(m.x, m.y));
            if (!replaying) pointer_move(m.x, m.y, on_field(m.x, m.y));
            show_cursor_at(m.x, m.y);
            break;
        }
        case SDL_KEYDOWN: key_down(event.key, replaying); break;
        case SDL_WINDOWEVENT: window_event(event.window); break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERAXISMOTION:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: pad_handle(event, replaying); break;
        case SDL_QUIT:  // SIGTERM or SIGINT, or the last window closing
            close_window();
            break;
        default:
            scores_handle(event);
            dump_handle(event);
            break;
    }
}
