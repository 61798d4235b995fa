#include "game/edge/recording.h"

#include <algorithm>

#include "game/edge/script.h"

namespace {

bool on = false;
RecordingSink sink = nullptr;
std::string kept;  // the whole session, as the sink has had it
long long pending_ticks = 0;

void write(const std::string& line) {
    kept.append(line).push_back('\n');
    if (sink) sink(line + "\n");
}

// A long wait is written as several lines, each one a line the simulator
// takes.
template <class Out>
void pending_tick_lines(long long ticks, Out out) {
    for (; ticks > MAX_TICKS_PER_LINE; ticks -= MAX_TICKS_PER_LINE) out(tick_line(MAX_TICKS_PER_LINE));
    if (ticks > 0) out(tick_line(ticks));
}

void write_pending_ticks() {
    pending_tick_lines(pending_ticks, write);
    pending_ticks = 0;
}

}  // namespace

void recording_start(RecordingSink to, const std::string& header) {
    on = true;
    sink = to;
    kept.clear();
    pending_ticks = 0;
    std::string::size_type at = 0;
    while (at <= header.size()) {
        const auto end = std::min(header.find('\n', at), header.size());
        write("# " + header.substr(at, end - at));
        at = end + 1;
    }
}

void recording_stop() {
    if (on) write_pending_ticks();
    on = false;
    sink = nullptr;
}

bool recording_on() { return on; }

std::string recording_so_far() {
    std::string text = kept;
    pending_tick_lines(pending_ticks, [&](const std::string& line) { text.append(line).push_back('\n'); });
    return text;
}

void record_line(const std::string& line) {
    if (!on) return;
    write_pending_ticks();
    write(line);
}

void record_tick() {
    if (on) ++pending_ticks;
}

void record_seed(std::uint32_t seed) {
    // Written at once, ahead of the input that read the clock: the replay
    // must know it before it runs that input.
    if (on) write(seed_line(seed));
}
