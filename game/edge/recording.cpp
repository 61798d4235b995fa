#include "game/edge/recording.h"

#include <algorithm>

#include "game/edge/script.h"

namespace {

RecordingSink sink = nullptr;
long long pending_ticks = 0;

void write(const std::string& line) { sink(line + "\n"); }

// A long wait is written as several lines, each one a line the simulator
// takes.
void write_pending_ticks() {
    for (; pending_ticks > MAX_TICKS_PER_LINE; pending_ticks -= MAX_TICKS_PER_LINE) write(tick_line(MAX_TICKS_PER_LINE));
    if (pending_ticks > 0) write(tick_line(pending_ticks));
    pending_ticks = 0;
}

}  // namespace

void recording_start(RecordingSink to, const std::string& header) {
    sink = to;
    pending_ticks = 0;
    std::string::size_type at = 0;
    while (at <= header.size()) {
        const auto end = std::min(header.find('\n', at), header.size());
        write("# " + header.substr(at, end - at));
        at = end + 1;
    }
}

void recording_stop() {
    if (sink) write_pending_ticks();
    sink = nullptr;
}

bool recording_on() { return sink != nullptr; }

void record_line(const std::string& line) {
    if (!sink) return;
    write_pending_ticks();
    write(line);
}

void record_tick() {
    if (!sink) return;
    ++pending_ticks;
}

void record_seed(std::uint32_t seed) {
    // Written at once, ahead of the input that read the clock: the replay
    // must know it before it runs that input.
    if (sink) write(seed_line(seed));
}
