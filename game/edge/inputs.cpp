#include "game/edge/inputs.h"

#include "game/edge/recording.h"
#include "game/edge/replay.h"
#include "game/edge/script.h"
#include "game/rules/tick.h"

// Each input is recorded after the rules have taken it, so that a seed the
// clock gave meanwhile comes first in the file.

void input_command(int control_id) {
    dispatch_command(control_id);
    if (const std::string line = button_line(control_id); !line.empty()) record_line(line);
}

void input_press(int x, int y) {
    handle_press(x, y);
    record_line(point_line("click", x, y));
}

void input_move(int x, int y) {
    follow_cursor(x, y);
    record_line(point_line("move", x, y));
}

void input_key(ArrowKey key) {
    nudge_window(key);
    record_line(key_line(key));
}

void input_tick() {
    game_tick();
    record_tick();
}

std::uint32_t input_clock(std::uint32_t now) {
    if (replay_running()) return replay_seed(now);
    record_seed(now);
    return now;
}
