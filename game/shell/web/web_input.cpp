// The mouse and the keys, turned into the game's window events. Presses
// and moves are taken in page coordinates and mapped back to the field.
// The four buttons take their own presses, as push buttons: pressed image
// while held with the pointer over them, command on release over them.
#include <emscripten/html5.h>

#include <array>
#include <cstring>

#include "game/model/scene.h"
#include "game/rules/window_events.h"
#include "game/shell/web/web_shell.h"

static constexpr unsigned short LEFT_BUTTON = 0;

static int held = -1;  // the button element taken by the last left press

static int button_at(int x, int y) {
    for (Element e = 0; e < ELEMENT_COUNT; ++e)
        if (ELEMENT_TABLE[e].kind == ElementKind::button && scene[e].visible &&
            point_in_rect(element_bounds(e), x, y))
            return e;
    return -1;
}

static bool field_point(const EmscriptenMouseEvent& m, int& x, int& y) {
    return view_to_game(current_view(), static_cast<double>(m.clientX), static_cast<double>(m.clientY), x, y);
}

static EM_BOOL on_mouse_down(int, const EmscriptenMouseEvent* m, void*) {
    int x = 0, y = 0;
    if (page_closed() || m->button != LEFT_BUTTON || !field_point(*m, x, y)) return EM_FALSE;
    if (const int b = button_at(x, y); b >= 0) {
        held = b;
        set_held_button(held, true);
    } else {
        handle_press(x, y);
    }
    return EM_TRUE;  // no text selection, no dragging of the canvas image
}

static EM_BOOL on_mouse_move(int, const EmscriptenMouseEvent* m, void*) {
    if (page_closed()) return EM_FALSE;
    int x = -1, y = -1;
    const bool on_field = field_point(*m, x, y);
    if (held >= 0) {
        // The held button has the mouse to itself until the release.
        set_held_button(held, on_field && point_in_rect(element_bounds(held), x, y));
        return EM_FALSE;
    }
    if (!on_field) return EM_FALSE;
    const bool over_button = button_at(x, y) >= 0;
    set_field_cursor(!over_button);
    if (!over_button) follow_cursor(x, y);
    return EM_FALSE;
}

static EM_BOOL on_mouse_up(int, const EmscriptenMouseEvent* m, void*) {
    if (page_closed() || m->button != LEFT_BUTTON || held < 0) return EM_FALSE;
    int x = -1, y = -1;
    const bool over = field_point(*m, x, y) && point_in_rect(element_bounds(held), x, y);
    const int control_id = ELEMENT_TABLE[held].id;
    held = -1;
    set_held_button(-1, false);
    if (over) dispatch_command(control_id);
    return EM_TRUE;
}

struct ArrowName {
    const char* key;
    ArrowKey arrow;
};

static constexpr std::array<ArrowName, 4> ARROW_NAMES = {{
    {"ArrowLeft", ArrowKey::left},
    {"ArrowUp", ArrowKey::up},
    {"ArrowRight", ArrowKey::right},
    {"ArrowDown", ArrowKey::down},
}};

static EM_BOOL on_key_down(int, const EmscriptenKeyboardEvent* k, void*) {
    if (page_closed()) return EM_FALSE;
    for (const ArrowName& a : ARROW_NAMES)
        if (std::strcmp(k->key, a.key) == 0) {
            nudge_window(a.arrow);
            return EM_TRUE;  // the page does not scroll either
        }
    return EM_FALSE;
}

// On the document: a button press released off the canvas still ends.
static void set_listeners(bool on) {
    const char* doc = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
    emscripten_set_mousedown_callback(doc, nullptr, EM_FALSE, on ? on_mouse_down : nullptr);
    emscripten_set_mousemove_callback(doc, nullptr, EM_FALSE, on ? on_mouse_move : nullptr);
    emscripten_set_mouseup_callback(doc, nullptr, EM_FALSE, on ? on_mouse_up : nullptr);
    emscripten_set_keydown_callback(doc, nullptr, EM_FALSE, on ? on_key_down : nullptr);
}

void listen_to_input() { set_listeners(true); }

void stop_listening() { set_listeners(false); }
