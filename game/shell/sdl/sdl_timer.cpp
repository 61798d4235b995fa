// The game timer on SDL's clock: the edge's schedule decides which ticks are
// due, this file only reads the time and runs them. While a replay plays,
// the replay's own schedule paces it and the game's timer runs nothing.
#include <ctime>

#include "game/edge/inputs.h"
#include "game/edge/replay.h"
#include "game/edge/tick_schedule.h"
#include "game/seam/platform.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

TickTimer game_timer;
TickTimer replay_timer;
bool replaying = false;  // for the whole run: a replay's window takes no input
long long last_tick_ns = 0;  // wall clock, for the benchmark's drift

double now_ms() { return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency()); }

void note_tick_time() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    last_tick_ns = now.tv_sec * 1000000000LL + now.tv_nsec;
}

void game_tick_now() {
    note_tick_time();
    input_tick();
}

void replay_tick_now() {
    note_tick_time();
    if (!replay_step()) tick_timer_stop(replay_timer);
}

}  // namespace

void platform_timer_start() { tick_timer_start(game_timer, now_ms()); }

void platform_timer_stop() { tick_timer_stop(game_timer); }

void timer_start_replay() {
    replaying = true;
    tick_timer_start(replay_timer, now_ms());
}

bool timer_replaying() { return replaying; }

int timer_wait_ms() {
    const double wait = tick_timer_wait_ms(replaying ? replay_timer : game_timer, now_ms());
    // Rounded up: a wake before the tick is due would only sleep again.
    return wait < 0 ? -1 : static_cast<int>(wait + 0.999);
}

void timer_run_due() {
    if (replaying)
        tick_timer_run_due(replay_timer, now_ms(), replay_tick_now);
    else
        tick_timer_run_due(game_timer, now_ms(), game_tick_now);
}

long timer_ticks() { return static_cast<long>(replay_timer.ticks_run + game_timer.ticks_run); }

long long timer_last_tick_ns() { return last_tick_ns; }

double timer_now_ms() { return now_ms(); }
