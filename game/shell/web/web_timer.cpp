// The game timer from the browser's clock: a timeout aimed at the next tick
// of a fixed schedule, so late timeouts neither drift nor lose ticks (a
// hidden tab's timeouts come late; the owed ticks are run on waking).
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include "game/rules/tick.h"
#include "game/seam/platform.h"
#include "game/edge/tick_schedule.h"
#include "game/shell/web/web_shell.h"

static TickSchedule schedule;
static long timeout_id = 0;
static bool running = false;
// Counts the timer's starts: a tick that stops and restarts the timer
// begins a new schedule, and the ticks owed to the old one are not run.
static unsigned run = 0;
static long long ticks_run = 0;

static void on_timeout(void*);

static void arm() {
    const double now = emscripten_performance_now();
    timeout_id = emscripten_set_timeout(on_timeout, ms_until_next_tick(schedule, now), nullptr);
}

static void on_timeout(void*) {
    timeout_id = 0;
    if (!running) return;
    const unsigned this_run = run;
    const int due = take_due_ticks(schedule, emscripten_performance_now());
    for (int i = 0; i < due && running && run == this_run; ++i) {
        ++ticks_run;
        game_tick();
    }
    if (running && run == this_run && timeout_id == 0) arm();
}

void platform_timer_start() {
    // Starting a running timer starts it afresh, as SetTimer does.
    stop_game_timer();
    running = true;
    ++run;
    ticks_run = 0;
    schedule = TickSchedule{emscripten_performance_now(), 0};
    arm();
}

void stop_game_timer() {
    running = false;
    if (timeout_id != 0) emscripten_clear_timeout(timeout_id);
    timeout_id = 0;
}

void platform_timer_stop() { stop_game_timer(); }

double timer_started_ms() { return running ? schedule.start_ms : -1; }

long long timer_ticks_run() { return ticks_run; }
