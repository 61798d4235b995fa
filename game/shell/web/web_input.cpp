// The mouse and the keys mapped onto the edge: presses and moves are taken
// in page coordinates and mapped back to field points; what they mean is
// the edge's.
#include <emscripten/html5.h>

#include <array>
#include <cstring>

#include "game/edge/inputs.h"
#include "game/edge/pointer.h"
#include "game/edge/view_fit.h"
#include "game/shell/web/web_shell.h"

// MouseEvent.button: 0 the main (left) button, 1 the middle, 2 the right.
static MouseButton mouse_button(unsigned short dom) {
    static constexpr std::array<MouseButton, 3> DOM_BUTTONS = {MouseButton::left, MouseButton::middle,
                                                               MouseButton::right};
    return dom < DOM_BUTTONS.size() ? DOM_BUTTONS[dom] : MouseButton::other;
}

static bool field_point(const EmscriptenMouseEvent& m, int& x, int& y) {
    return view_to_game(current_view(), static_cast<double>(m.clientX), static_cast<double>(m.clientY), x, y);
}

static EM_BOOL on_mouse_down(int, const EmscriptenMouseEvent* m, void*) {
    int x = 0, y = 0;
    if (page_closed() || !field_point(*m, x, y)) return EM_FALSE;
    pointer_press(x, y, mouse_button(m->button));
    return EM_TRUE;  // no text selection, no dragging of the canvas image
}

static EM_BOOL on_mouse_move(int, const EmscriptenMouseEvent* m, void*) {
    if (page_closed()) return EM_FALSE;
    int x = -1, y = -1;
    const bool on_field = field_point(*m, x, y);
    pointer_move(x, y, on_field);
    if (on_field && held_button() < 0) set_field_cursor(cursor_at(x, y) == PointerCursor::crosshair);
    return EM_FALSE;
}

static EM_BOOL on_mouse_up(int, const EmscriptenMouseEvent* m, void*) {
    if (page_closed()) return EM_FALSE;
    int x = -1, y = -1;
    const bool on_field = field_point(*m, x, y);
    const bool was_held = held_button() >= 0;
    pointer_release(x, y, on_field, mouse_button(m->button));
    return was_held ? EM_TRUE : EM_FALSE;
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
            input_key(a.arrow);
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
