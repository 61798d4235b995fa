#include "game/shell/web/tick_schedule.h"

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
