// The game timer's schedule in the page. Tick k of a run falls due at
// start + k * 100 ms, whatever the browser did to the timeouts in between:
// a late wake runs the ticks it owes, so game time keeps to the clock. Free
// of any browser header so the native tests can drive it with made-up
// clocks.
#pragma once

#include "game/model/layout.h"

struct TickSchedule {
    double start_ms = 0;  // when the timer was started
    long long done = 0;   // ticks counted so far, dropped ones included
};


// A hidden tab may hold timeouts back: Chromium fires them once a second,
// and after some minutes hidden once a minute. A minute of ticks (600) is
// run at one wake; a longer gap is dropped rather than replayed.
inline constexpr int MAX_CATCH_UP_TICKS = 600;

// The ticks due at now_ms, at most MAX_CATCH_UP_TICKS; they count as done
// from here on (the caller runs them). Owed ticks past the bound are dropped.
int take_due_ticks(TickSchedule& s, double now_ms);

// Milliseconds from now_ms until the next tick falls due (0 if overdue).
double ms_until_next_tick(const TickSchedule& s, double now_ms);
