// Events in, shell routines out. A press on one of the four buttons belongs
// to the button: drawn pressed while held over it, its command on a release
// over it, nothing when released elsewhere. Every other press and move goes
// to the field, in game coordinates whatever the window's scale.
#include "game/audio/sdl/sdl_audio.h"
#include "game/model/buttons.h"
#include "game/model/scene.h"
#include "game/rules/window_events.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

int held_button = 0;  // control identifier while the mouse button is down on one
bool held_inside = false;
SDL_Cursor* crosshair = nullptr;
SDL_Cursor* arrow = nullptr;

// The button under a game point, by control identifier, or 0.
int button_at(int x, int y) {
    for (Element e = 0; e < ELEMENT_COUNT; ++e)
        if (ELEMENT_TABLE[e].kind == ElementKind::button && scene[e].visible && point_in_rect(element_bounds(e), x, y))
            return ELEMENT_TABLE[e].id;
    return 0;
}

bool inside_game(int x, int y) { return x >= 0 && y >= 0 && x < FIELD_WIDTH && y < FIELD_HEIGHT; }

bool over_held_button(int x, int y) { return button_at(x, y) == held_button; }

void set_held_inside(bool inside) {
    if (inside != held_inside) video_mark_dirty();
    held_inside = inside;
}

void press(const SDL_MouseButtonEvent& b) {
    if (b.button != SDL_BUTTON_LEFT || !inside_game(b.x, b.y)) return;
    if (int id = button_at(b.x, b.y)) {
        held_button = id;
        set_held_inside(true);
        return;
    }
    handle_press(b.x, b.y);
}

void release(const SDL_MouseButtonEvent& b) {
    if (b.button != SDL_BUTTON_LEFT || !held_button) return;
    const int id = held_button;
    const bool run = over_held_button(b.x, b.y);
    held_button = 0;
    set_held_inside(false);
    if (run) dispatch_command(id);
}

void motion(const SDL_MouseMotionEvent& m) {
    if (held_button) {
        set_held_inside(over_held_button(m.x, m.y));
        return;
    }
    if (!inside_game(m.x, m.y)) return;
    // Moves over a button are the button's and leave the cursor's record
    // alone; the Windows buttons show the ordinary arrow.
    const bool on_button = button_at(m.x, m.y) != 0;
    SDL_SetCursor(on_button ? arrow : crosshair);
    if (!on_button) follow_cursor(m.x, m.y);
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

void key_down(const SDL_KeyboardEvent& k) {
    // Held keys repeat, and each repeat nudges again, as on Windows.
    for (const KeyRow& row : ARROWS)
        if (row.key == k.keysym.sym) nudge_window(row.arrow);
    // The comforts sit on keys the game never used.
    if (k.keysym.sym == SDLK_F11 && !k.repeat) video_toggle_fullscreen();
    if (k.keysym.sym == SDLK_m && !k.repeat && !(k.keysym.mod & KMOD_CTRL)) sound_set_muted(!sound_muted());
    // Without a window manager nobody else turns Alt+F4 into a close.
    if (k.keysym.sym == SDLK_F4 && (k.keysym.mod & KMOD_ALT) && !window_closed()) close_game_window();
}

void window_event(const SDL_WindowEvent& w) {
    switch (w.event) {
        case SDL_WINDOWEVENT_CLOSE:
            // The window manager's close and Alt+F4 end the game as the
            // close button does: timer stopped, Ambient gone.
            if (!window_closed()) close_game_window();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: video_mark_dirty(); break;
        default: break;
    }
}

}  // namespace

int input_pressed_button() { return held_inside ? held_button : 0; }

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
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN: press(event.button); break;
        case SDL_MOUSEBUTTONUP: release(event.button); break;
        case SDL_MOUSEMOTION: motion(event.motion); break;
        case SDL_KEYDOWN: key_down(event.key); break;
        case SDL_WINDOWEVENT: window_event(event.window); break;
        case SDL_QUIT:  // SIGTERM or SIGINT, or the last window closing
            if (!window_closed()) close_game_window();
            break;
        default: break;
    }
}
