// Every input a window gives the rules passes through here, from the
// pointer and the keys of a drawing backend, the tick schedule, the
// simulator and a replay alike; so a recording, while one runs, holds each of
// them in the order they came.
#pragma once

#include <cstdint>

#include "game/rules/window_events.h"

// A button's command by control identifier (released over the button, or
// the platform's own close: Alt+F4, the window manager).
void input_command(int control_id);
// A left press on the field that no button took.
void input_press(int x, int y);
// The pointer moved over the field, off the buttons.
void input_move(int x, int y);
// An arrow key, each auto-repeat too.
void input_key(ArrowKey key);
// One tick of the game timer.
void input_tick();

// The calendar clock as the game reads it (once, at the first rodent):
// `now` is what the platform's clock says. A recording notes it as its
// seed; a replay gives the seed it recorded instead.
std::uint32_t input_clock(std::uint32_t now);
