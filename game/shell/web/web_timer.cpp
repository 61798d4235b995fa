// The game timer on the browser's clock: a timeout aimed at the next tick
// of the edge's schedule, which decides how many ticks a late timeout runs
// (a hidden tab's timeouts come late).
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include "game/edge/inputs.h"
#include "game/edge/replay.h"
#include "game/edge/tick_schedule.h"
#include "game/seam/platform.h"
#include "game/shell/web/web_shell.h"

static TickTimer timer;
static TickTimer replay_timer;  // paces a watched game; the game's timer runs nothing then
static long timeout_id = 0;
static long long ticks_before_start = 0;  // the probe counts the ticks of the running timer

static void on_timeout(void*);

static void arm() {
    const double wait = tick_timer_wait_ms(timer, emscripten_performance_now());
    if (wait >= 0) timeout_id = emscripten_set_timeout(on_timeout, wait, nullptr);
}

static void on_timeout(void*) {
    timeout_id = 0;
    tick_timer_run_due(timer, emscripten_performance_now(), input_tick);
    // A tick may have stopped the timer, or started it afresh and armed it.
    if (timeout_id == 0) arm();
}

static void disarm() {
    if (timeout_id != 0) emscripten_clear_timeout(timeout_id);
    timeout_id = 0;
}

void platform_timer_start() {
    if (best_games_watching()) return;  // the recording's own ticks pace it
    disarm();
    tick_timer_start(timer, emscripten_performance_now());
    ticks_before_start = timer.ticks_run;
    arm();
}

void stop_game_timer() {
    tick_timer_stop(timer);
    disarm();
}

void platform_timer_stop() { stop_game_timer(); }

static void on_replay_timeout(void*) {
    tick_timer_run_due(replay_timer, emscripten_performance_now(), [] {
        if (!replay_step()) tick_timer_stop(replay_timer);
    });
    const double wait = tick_timer_wait_ms(replay_timer, emscripten_performance_now());
    // Never cancelled: Stop watching loads the page afresh.
    if (wait >= 0)
        emscripten_set_timeout(on_replay_timeout, wait, nullptr);
    else
        watching_ended();
}

void start_watching() {
    tick_timer_start(replay_timer, emscripten_performance_now());
    on_replay_timeout(nullptr);
}

double timer_started_ms() { return timer.running ? timer.schedule.start_ms : -1; }

long long timer_ticks_run() { return timer.ticks_run - ticks_before_start; }
