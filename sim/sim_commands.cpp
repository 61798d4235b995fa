#include <string>
#include <vector>

#include "game/edge/inputs.h"
#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/shell/record/record.h"
#include "sim/sim.h"

namespace {

// Runs a well-formed command; returns what it printed itself (state,
// scene), or sets why when the command cannot be done.
std::string run(const Command& c, std::string& why) {
    switch (c.kind) {
        case Command::button: input_command(c.control_id); return "";
        case Command::tick:
            for (long long i = 0; i < c.count; ++i) input_tick();
            return "";
        case Command::click: input_press(c.x, c.y); return "";
        case Command::move: input_move(c.x, c.y); return "";
        case Command::key: input_key(c.arrow); return "";
        case Command::seed: recorder.seed = c.seed_value; return "";
        case Command::ambient: recorder.ambient_missing = c.ambient_missing; return "";
        case Command::set: set_field(c.field, c.value, why); return "";
        case Command::print_state: return state_json();
        case Command::print_scene: return scene_json();
    }
    return "";
}

std::string error_json(long long line_number, const std::string& why) {
    return "{\"error\":" + json_string("line " + std::to_string(line_number) + ": " + why) + "}\n";
}

}  // namespace

void start_simulation() {
    game = GameState{};
    reset_recorder();
    create_scene();
    take_events();
}

LineResult run_line(const std::string& raw, long long line_number, std::string& out) {
    std::string_view line = without_line_ending(raw);
    // The text is checked whole before any word is read: a comment, too,
    // must be a line of text.
    if (std::string why = text_fault(line); !why.empty()) {
        out += error_json(line_number, why);
        return LineResult::error;
    }
    std::vector<std::string> words = split_words(line);
    if (words.empty() || words[0][0] == '#') return LineResult::ignored;
    Command command;
    std::string why = parse_command(words, command);
    const std::string printed = why.empty() ? run(command, why) : "";
    if (!why.empty()) {
        out += error_json(line_number, why);
        return LineResult::error;
    }
    for (const std::string& e : take_events()) out += e + '\n';
    out += printed;
    return recorder.window_open ? LineResult::ok : LineResult::close;
}
