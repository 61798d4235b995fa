// The pointer and the keys mapped onto the edge. Every pointer comes as a
// Pointer Event, so a touch is never seen twice (once as itself, once as
// the mouse events a browser makes up after it): the mouse and a pen go to
// the edge's pointer with their buttons, each finger to its own press.
// Points are taken in page coordinates and mapped back to field points;
// what they mean is the edge's.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <array>
#include <cstring>

#include "game/edge/inputs.h"
#include "game/edge/pointer.h"
#include "game/edge/view_fit.h"
#include "game/shell/web/web_shell.h"

// PointerEvent.button: 0 the main (left) button or a pen's tip, 1 the
// middle, 2 the right or a pen's barrel button; more for the rest.
static MouseButton mouse_button(int dom) {
    static constexpr std::array<MouseButton, 3> DOM_BUTTONS = {MouseButton::left, MouseButton::middle,
                                                               MouseButton::right};
    return dom >= 0 && dom < static_cast<int>(DOM_BUTTONS.size()) ? DOM_BUTTONS[dom] : MouseButton::other;
}

// Whether PointerEvent.buttons, a mask in another order, holds that button.
static bool held_in(int button, int buttons) {
    static constexpr std::array<int, 6> MASK = {1, 4, 2, 8, 16, 32};
    return button >= 0 && button < static_cast<int>(MASK.size()) && (buttons & MASK[button]) != 0;
}

enum PointerWhat { DOWN, MOVE, UP, CANCEL };
enum PointerKind { MOUSE, PEN, TOUCH };

static bool touch(int what, int finger, int x, int y, bool on_field) {
    switch (what) {
        case DOWN:
            if (!on_field) return false;
            finger_down(finger, x, y);
            return true;
        case MOVE:
            finger_move(finger, x, y, on_field);
            return false;
        case UP:
            finger_up(finger, x, y, on_field);
            return false;
        default:
            finger_cancel(finger);
            return false;
    }
}

// The mouse, and a pen as the mouse it stands for.
static bool mouse(int what, int x, int y, bool on_field, int button, int buttons) {
    // A second button pressed or let go while another is down comes as a
    // move that names it.
    if (what == MOVE && button >= 0) what = held_in(button, buttons) ? DOWN : UP;
    switch (what) {
        case DOWN:
            if (!on_field) return false;
            pointer_press(x, y, mouse_button(button));
            return true;  // no text selection, no dragging of the canvas image
        case MOVE:
            pointer_move(x, y, on_field);
            if (on_field && held_button() < 0) set_field_cursor(cursor_at(x, y) == PointerCursor::crosshair);
            return false;
        case UP: {
            const bool was_held = held_button() >= 0;
            pointer_release(x, y, on_field, mouse_button(button));
            return was_held;
        }
        default:
            // The browser took the pointer away: a held button lets go.
            pointer_release(x, y, false, MouseButton::left);
            return false;
    }
}

// True when the browser should not go on to its own use of the event.
// on_canvas: the event's target is the canvas (a finger's and a pen's are,
// from the moment they came down on it, wherever they go).
extern "C" EMSCRIPTEN_KEEPALIVE int web_pointer(int what, int pointer, int kind, double page_x, double page_y,
                                                int button, int buttons, int on_canvas) {
    // A watched game takes no input.
    if (page_closed() || best_games_watching()) return 0;
    int x = -1, y = -1;
    // Over the link or the button the page lays on the field is not over
    // the field.
    const bool on_field = on_canvas && view_to_game(current_view(), page_x, page_y, x, y);
    bool taken = false;
    if (kind == TOUCH) {
        taken = touch(what, pointer, x, y, on_field);
    } else {
        // A pen that does not hover comes down where the cross-hair has not
        // been: it is brought there first, as for a finger.
        if (kind == PEN && what == DOWN && on_field && held_button() < 0) pointer_move(x, y, true);
        taken = mouse(what, x, y, on_field, button, buttons);
    }
    if (what != MOVE) best_games_follow_game();
    return taken ? 1 : 0;
}

// On the document: a press released off the canvas still ends. No menu
// opens on the field, for a long press of a finger nor the right button.
EM_JS(void, js_pointer_listeners, (int on), {
    const page = Module.page;
    if (!page.pointerListeners) {
        const kinds = {mouse: 0, pen: 1, touch: 2};
        const forward = (what) => (event) => {
            const kind = event.pointerType in kinds ? kinds[event.pointerType] : 0;
            if (_web_pointer(what, event.pointerId, kind, event.clientX, event.clientY, event.button, event.buttons,
                             event.target === page.canvas))
                event.preventDefault();
        };
        page.pointerListeners = [
            ["pointerdown", forward(0)], ["pointermove", forward(1)],
            ["pointerup", forward(2)], ["pointercancel", forward(3)],
            ["contextmenu", (event) => { if (event.target === page.canvas) event.preventDefault(); }],
        ];
    }
    for (const entry of page.pointerListeners) {
        if (on)
            document.addEventListener(entry[0], entry[1]);
        else
            document.removeEventListener(entry[0], entry[1]);
    }
});

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
    if (page_closed() || best_games_watching()) return EM_FALSE;
    for (const ArrowName& a : ARROW_NAMES)
        if (std::strcmp(k->key, a.key) == 0) {
            input_key(a.arrow);
            return EM_TRUE;  // the page does not scroll either
        }
    return EM_FALSE;
}

static void set_listeners(bool on) {
    js_pointer_listeners(on ? 1 : 0);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, on ? on_key_down : nullptr);
}

void listen_to_input() { set_listeners(true); }

void stop_listening() { set_listeners(false); }
