#include "game/edge/pointer.h"

#include "game/edge/inputs.h"
#include "game/model/buttons.h"
#include "game/model/scene.h"
#include "game/rules/window_events.h"
#include "game/seam/platform.h"

namespace {

Element held = -1;
bool held_over = false;
// The finger that holds the held button, or -1 (none, or the mouse).
int holding_finger = -1;

void set_held(Element e, bool over) {
    if (e < 0) holding_finger = -1;
    if (e == held && over == held_over) return;
    // The old and the new button change their pictures.
    const Element before = held;
    held = e;
    held_over = over;
    if (before >= 0) platform_element_changed(before);
    if (held >= 0 && held != before) platform_element_changed(held);
}

}  // namespace

Element button_at(int x, int y) {
    for (Element e = 0; e < ELEMENT_COUNT; ++e)
        if (ELEMENT_TABLE[e].kind == ElementKind::button && scene[e].visible && point_in_rect(element_bounds(e), x, y))
            return e;
    return -1;
}

void pointer_press(int x, int y, MouseButton button) {
    if (button != MouseButton::left || held >= 0) return;
    if (const Element b = button_at(x, y); b >= 0) {
        set_held(b, true);
        return;
    }
    input_press(x, y);
}

void pointer_move(int x, int y, bool on_field) {
    if (held >= 0) {
        // The held button has the pointer to itself until the release.
        set_held(held, on_field && button_at(x, y) == held);
        return;
    }
    // Moves over a button are the button's and leave the cursor's record
    // alone.
    if (on_field && button_at(x, y) < 0) input_move(x, y);
}

void pointer_release(int x, int y, bool on_field, MouseButton button) {
    if (button != MouseButton::left || held < 0) return;
    const Element b = held;
    const bool run = on_field && button_at(x, y) == b;
    set_held(-1, false);
    if (run) input_command(ELEMENT_TABLE[b].id);
}

Element held_button() { return held; }

Element pressed_button() { return held_over ? held : -1; }

int shown_button_image(Element e) { return button_image(ELEMENT_TABLE[e].id, e == pressed_button()); }

PointerCursor cursor_at(int x, int y) { return button_at(x, y) >= 0 ? PointerCursor::arrow : PointerCursor::crosshair; }

bool press_starts_drag(int x, int y) { return button_at(x, y) < 0 && press_drags_window(x, y); }

void pointer_reset() { set_held(-1, false); }

void finger_down(int finger, int x, int y) {
    if (held >= 0) return;
    pointer_move(x, y, true);
    pointer_press(x, y, MouseButton::left);
    if (held >= 0) holding_finger = finger;
}

void finger_move(int finger, int x, int y, bool on_field) {
    if (held >= 0 && finger != holding_finger) return;
    pointer_move(x, y, on_field);
}

void finger_up(int finger, int x, int y, bool on_field) {
    if (held >= 0 && finger == holding_finger) pointer_release(x, y, on_field, MouseButton::left);
}

void finger_cancel(int finger) {
    if (held >= 0 && finger == holding_finger) pointer_release(0, 0, false, MouseButton::left);
}
