// A gamepad as a second hand on the pointer, for every backend that has
// pads. The stick and the d-pad move the pad's cross-hair (pad_cursor.h),
// and each move of its point is a pointer move there; the south button is
// the left mouse button at the cross-hair: its down a press, its up a
// release, so a button under the cross-hair is held and runs on release
// over it, a press on the field is a shot, and a recording holds each as
// the click or the command it is. Start is START; the east button and Back
// are CANCEL, as a click on those buttons would run them.
//
// A backend reports its pads' controls (all pads together: the stick that
// is pushed furthest, the d-pad directions any pad holds) and buttons,
// wakes for the steps gamepad_wait_ms asks for, and draws the cross-hair at
// gamepad_x, gamepad_y while gamepad_aiming says the pad is in use; the
// system's mouse pointer is hidden meanwhile and comes back with the mouse.
#pragma once

#include "game/edge/pad_cursor.h"

// The buttons the game uses, by their place on the pad.
enum class PadButton { south, east, back, start, other };

// The controls changed at now_ms.
void gamepad_controls(const PadControls& controls, double now_ms);
// Runs the cross-hair's steps due at now_ms.
void gamepad_run_due(double now_ms);
// Milliseconds until the next step, 0 if overdue; -1 while nothing pushes.
double gamepad_wait_ms(double now_ms);

// A button of an attached pad went down or up.
void gamepad_button(PadButton button, bool down);
// A pad went away with its south button down (SDL reports a pad pulled out
// as everything let go, and that is no release): a button held with it is
// let go without running, as when the pointer leaves it.
void gamepad_let_go();
// The mouse moved to field point x, y (on_field false: off the field): the
// mouse has the pointer again, and the pad's cross-hair, next time it is
// used, starts from the mouse's last point.
void gamepad_mouse_moved(int x, int y, bool on_field);
// The last pad went away: the mouse has the pointer again.
void gamepad_gone();

// The pad aims: the stick, the d-pad or the south button was used after the
// mouse last moved. Its cross-hair is shown, the mouse pointer hidden.
bool gamepad_aiming();
// The cross-hair's point.
int gamepad_x();
int gamepad_y();

// Back to program start: the cross-hair in the middle, not in use (tests).
void gamepad_reset();
