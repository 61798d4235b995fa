#include "game/edge/gamepad.h"

#include "game/edge/inputs.h"
#include "game/edge/pointer.h"
#include "game/model/scene.h"

namespace {

PadCursor cursor;
bool aiming = false;
bool holding = false;  // the south button holds one of the four buttons down

int x_now() { return pad_point_x(cursor); }
int y_now() { return pad_point_y(cursor); }

// The pad has the pointer: the game's cursor is where the cross-hair is,
// as a mouse's move there would have it.
void tell_pointer() {
    aiming = true;
    pointer_move(x_now(), y_now(), true);
}

void take_pointer() {
    if (!aiming) tell_pointer();
}

// Start and CANCEL from the pad: the button's own command, as a click on
// it runs it; a button that is not shown cannot be clicked.
void command_of(Element button) {
    if (scene[button].visible) input_command(ELEMENT_TABLE[button].id);
}

}  // namespace

void gamepad_controls(const PadControls& k, double now_ms) {
    const bool moved_now = pad_cursor_set_controls(cursor, k, now_ms);
    // A stick resting inside its dead zone is no use of the pad: it would
    // take the pointer from the mouse at every tremble.
    if (moved_now || (cursor.stepping && !aiming)) tell_pointer();
}

void gamepad_run_due(double now_ms) {
    if (pad_cursor_run_due(cursor, now_ms)) tell_pointer();
}

double gamepad_wait_ms(double now_ms) { return pad_cursor_wait_ms(cursor, now_ms); }

void gamepad_button(PadButton button, bool down) {
    switch (button) {
        case PadButton::south:
            // Aiming and firing take the pointer; Start and CANCEL leave the
            // game's cursor where it is.
            take_pointer();
            if (down) {
                const bool held_before = held_button() >= 0;
                pointer_press(x_now(), y_now(), MouseButton::left);
                holding = !held_before && held_button() >= 0;
            } else if (holding) {
                holding = false;
                pointer_release(x_now(), y_now(), true, MouseButton::left);
            }
            break;
        case PadButton::start:
            if (down) command_of(start_button);
            break;
        case PadButton::east:
        case PadButton::back:
            if (down) command_of(cancel_button);
            break;
        case PadButton::other: break;
    }
}

void gamepad_let_go() {
    if (!holding) return;
    holding = false;
    pointer_release(x_now(), y_now(), false, MouseButton::left);
}

void gamepad_mouse_moved(int x, int y, bool on_field) {
    aiming = false;
    if (on_field) pad_cursor_place(cursor, x, y);
}

void gamepad_gone() { aiming = false; }

bool gamepad_aiming() { return aiming; }

int gamepad_x() { return x_now(); }

int gamepad_y() { return y_now(); }

void gamepad_reset() {
    cursor = PadCursor{};
    aiming = false;
    holding = false;
}
