#include "game/edge/inputs.h"

#include "game/edge/game_end.h"
#include "game/edge/recording.h"
#include "game/edge/replay.h"
#include "game/edge/script.h"
#include "game/model/elements.h"
#include "game/rules/tick.h"

// Each input is recorded after the rules have taken it, so that a seed the
// clock gave meanwhile comes first in the file; and a game it ended ends
// with it in the recording (a close just before it).

void input_command(int control_id) {
    const bool was_running = game_running();
    dispatch_command(control_id);
    if (control_id == CLOSE_BUTTON_ID) note_game_end(was_running, control_id);
    if (const std::string line = button_line(control_id); !line.empty()) record_line(line);
    if (control_id != CLOSE_BUTTON_ID) note_game_end(was_running, control_id);
}

void input_press(int x, int y) {
    const bool was_running = game_running();
    handle_press(x, y);
    record_line(point_line("click", x, y));
    note_game_end(was_running, 0);
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
    const bool was_running = game_running();
    game_tick();
    record_tick();
    note_game_end(was_running, 0);
}

std::uint32_t input_clock(std::uint32_t now) {
    if (replay_running()) return replay_seed(now);
    record_seed(now);
    return now;
}
