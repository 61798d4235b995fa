// The pointer and the four owner-drawn buttons, as every drawing backend
// shares them. A backend maps its coordinates to field points, sets the
// cursor this says and draws the pictures this says; what a press, a move
// and a release mean is decided here and in the rules, once.
//
// A left press on a visible button belongs to the button: it shows its
// pressed picture while the pointer is over it, and its command runs when
// the press is released over it, nothing when released elsewhere. Every
// other left press is the field's. The other mouse buttons do nothing.
#pragma once

#include "game/model/elements.h"

enum class MouseButton { left, middle, right, other };

// What the backend should show at the pointer.
enum class PointerCursor { crosshair, arrow };

// The visible button under a field point, or -1.
Element button_at(int x, int y);

// A press at field point x, y (a backend passes only points on the field).
void pointer_press(int x, int y, MouseButton button);
// The pointer moved to field point x, y; on_field is false when it left
// the field (the point is then not looked at, but a held button learns that
// the pointer is no longer over it).
void pointer_move(int x, int y, bool on_field);
// A release anywhere; on_field as for a move.
void pointer_release(int x, int y, bool on_field, MouseButton button);

// The button held down with the left button, or -1.
Element held_button();
// The button shown pressed: held, with the pointer over it; or -1.
Element pressed_button();
// The picture a button element shows now: pressed while it is held and the
// pointer is over it.
int shown_button_image(Element e);
// The cursor to show at a field point: the arrow over a button (the Windows
// buttons show the ordinary arrow), the cross-hair elsewhere.
PointerCursor cursor_at(int x, int y);

// The window manager asks before a press reaches the game whether it starts
// a move of the window: on the title strip, but never on a button.
bool press_starts_drag(int x, int y);

// Forgets a held button (the window lost the pointer, the game was closed).
void pointer_reset();

// ------------------------------------------------------------ fingers
// Touch screens, finger by finger (any number of them, each with the
// platform's identifier for it). A finger that comes down is a left press
// at once, where it lands, with the cross-hair brought there first as a
// mouse would have brought it; so every new finger is a new press and a
// shot. A finger that lands on a button holds it: its moves and its lift
// are the button's, as the mouse's are, and the other fingers do nothing
// until it lets go (a mouse cannot press anything else while it holds a
// button either).
void finger_down(int finger, int x, int y);
void finger_move(int finger, int x, int y, bool on_field);
void finger_up(int finger, int x, int y, bool on_field);
// The platform took the finger away (the browser's pointercancel): a
// button it held lets go without its command.
void finger_cancel(int finger);
