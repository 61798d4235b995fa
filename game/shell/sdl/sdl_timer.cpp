// The game timer: a game_tick every 100 ms while a game runs. Tick k of a
// run is due at its start + k * 100 ms, so late wake-ups never add up to a
// drift; after a stall (a suspended machine, a debugger) only a few missed
// ticks are caught up and the schedule starts afresh.
#include <chrono>
#include <ctime>

#include "game/rules/tick.h"
#include "game/seam/platform.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds TICK{TICK_MS};
constexpr long MAX_CATCH_UP = 5;

bool running = false;
Clock::time_point run_start;
long next_tick = 1;  // index of the next tick due in this run
long ticks_run = 0;
long long last_tick_ns = 0;  // wall clock, for the benchmark's drift

Clock::time_point due() { return run_start + next_tick * TICK; }

}  // namespace

void platform_timer_start() {
    running = true;
    run_start = Clock::now();
    next_tick = 1;
}

void platform_timer_stop() { running = false; }

int timer_wait_ms() {
    if (!running) return -1;
    const auto left = due() - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void timer_run_due() {
    long burst = 0;
    while (running && Clock::now() >= due()) {
        if (burst == MAX_CATCH_UP) {
            platform_timer_start();  // drop the rest of the stall
            return;
        }
        ++next_tick;
        ++burst;
        ++ticks_run;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        last_tick_ns = now.tv_sec * 1000000000LL + now.tv_nsec;
        // The tick may stop the timer or start it afresh; the loop reads
        // the schedule again each time round.
        game_tick();
    }
}

long timer_ticks() { return ticks_run; }

long long timer_last_tick_ns() { return last_tick_ns; }
