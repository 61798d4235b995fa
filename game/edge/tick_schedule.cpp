#include "game/edge/tick_schedule.h"

#include <cmath>

int take_due_ticks(TickSchedule& s, double now_ms) {
    const auto elapsed = static_cast<long long>(std::floor((now_ms - s.start_ms) / TICK_MS));
    long long owed = elapsed - s.done;
    if (owed <= 0) return 0;
    if (owed > MAX_CATCH_UP_TICKS) {
        s.done += owed - MAX_CATCH_UP_TICKS;
        owed = MAX_CATCH_UP_TICKS;
    }
    s.done += owed;
    return static_cast<int>(owed);
}

double ms_until_next_tick(const TickSchedule& s, double now_ms) {
    const double due = s.start_ms + static_cast<double>(s.done + 1) * TICK_MS;
    return due > now_ms ? due - now_ms : 0.0;
}

void tick_timer_start(TickTimer& t, double now_ms) {
    t.running = true;
    ++t.starts;
    t.schedule = TickSchedule{now_ms, 0};
}

void tick_timer_stop(TickTimer& t) { t.running = false; }

void tick_timer_run_due(TickTimer& t, double now_ms, void (*tick)()) {
    if (!t.running) return;
    const unsigned run = t.starts;
    const int due = take_due_ticks(t.schedule, now_ms);
    for (int i = 0; i < due && t.running && t.starts == run; ++i) {
        ++t.ticks_run;
        tick();
    }
}

double tick_timer_wait_ms(const TickTimer& t, double now_ms) {
    return t.running ? ms_until_next_tick(t.schedule, now_ms) : -1;
}
