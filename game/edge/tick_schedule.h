// The game timer's schedule, as every drawing backend runs it: a backend
// only reports the time in milliseconds and sleeps until the next tick.
// Tick k of a run falls due at start + k * TICK_MS, whatever the platform did
// to the wake-ups in between, so late wakes neither drift nor lose ticks: a
// late wake runs the ticks it owes.
#pragma once

#include "game/model/layout.h"

// One run of the timer, from its start.
struct TickSchedule {
    double start_ms = 0;  // when the timer was started
    long long done = 0;   // ticks counted so far, dropped ones included
};

// How far a late wake catches up: a minute of ticks. A hidden browser tab
// gets its timeouts once a second, and after some minutes hidden once a
// minute, and must keep game time; a longer stall (a suspended machine, a
// stopped process) is dropped rather than replayed at once.
inline constexpr int MAX_CATCH_UP_TICKS = 600;

// The ticks due at now_ms, at most MAX_CATCH_UP_TICKS; they count as done
// from here on (the caller runs them). Owed ticks past the bound are dropped.
int take_due_ticks(TickSchedule& s, double now_ms);

// Milliseconds from now_ms until the next tick falls due (0 if overdue).
double ms_until_next_tick(const TickSchedule& s, double now_ms);

// The timer the rules start and stop (platform_timer_start and _stop).
struct TickTimer {
    TickSchedule schedule;
    bool running = false;
    unsigned starts = 0;      // a tick that restarts the timer begins a new run
    long long ticks_run = 0;  // since the program started
};

// Starting a running timer starts it afresh, as SetTimer does.
void tick_timer_start(TickTimer& t, double now_ms);
void tick_timer_stop(TickTimer& t);
// Runs `tick` for every tick due at now_ms; stops early when a tick stops
// the timer or starts it afresh (the ticks owed to the old run are not run).
void tick_timer_run_due(TickTimer& t, double now_ms, void (*tick)());
// Milliseconds until the next tick is due, 0 if overdue, -1 when stopped.
double tick_timer_wait_ms(const TickTimer& t, double now_ms);
