#include "game/edge/replay.h"

#include <optional>
#include <vector>

#include "game/edge/inputs.h"
#include "game/edge/script.h"
#include "game/model/elements.h"

namespace {

std::vector<Command> commands;
std::size_t next = 0;
long long ticks_done = 0;  // of the tick line at `next`
std::optional<std::uint32_t> seed;

// Runs one input that is not a tick.
void run(const Command& c) {
    switch (c.kind) {
        case Command::button: input_command(c.control_id); break;
        case Command::click: input_press(c.x, c.y); break;
        case Command::move: input_move(c.x, c.y); break;
        case Command::key: input_key(c.arrow); break;
        case Command::seed: seed = c.seed_value; break;
        default: break;
    }
}

}  // namespace

std::string replay_load(std::istream& in) {
    commands.clear();
    next = 0;
    ticks_done = 0;
    seed.reset();
    std::vector<Command> loaded;
    std::string raw;
    long long line_number = 0;
    while (read_line(in, raw)) {
        ++line_number;
        const std::string_view line = without_line_ending(raw);
        std::string why = text_fault(line);
        const std::vector<std::string> words = why.empty() ? split_words(line) : std::vector<std::string>{};
        if (why.empty() && (words.empty() || words[0][0] == '#')) continue;
        Command c;
        if (why.empty()) why = parse_command(words, c);
        if (why.empty() && !is_input(c)) why = quoted(words[0]) + " is not an input a recording holds";
        if (!why.empty()) return "line " + std::to_string(line_number) + ": " + why;
        if (c.kind != Command::tick || c.count > 0) loaded.push_back(c);
    }
    commands.swap(loaded);
    return "";
}

bool replay_step() {
    while (next < commands.size() && commands[next].kind != Command::tick) {
        // The session ended with the window's close: the replay stops on
        // its last picture, and the viewer closes it.
        if (commands[next].kind == Command::button && commands[next].control_id == CLOSE_BUTTON_ID) {
            next = commands.size();
            break;
        }
        run(commands[next++]);
    }
    if (next == commands.size()) return false;
    input_tick();
    if (++ticks_done == commands[next].count) {
        ++next;
        ticks_done = 0;
    }
    return true;
}

bool replay_running() { return next < commands.size(); }

std::uint32_t replay_seed(std::uint32_t now) { return seed ? *seed : now; }
