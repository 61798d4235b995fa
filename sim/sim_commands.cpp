#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "game/rules/game_state.h"
#include "game/rules/tick.h"
#include "game/shell/record/record.h"
#include "game/shell/scene.h"
#include "game/shell/window_events.h"
#include "sim/sim.h"

namespace {

struct Failure {
    std::string why;
};

// A whole token as an integer within [lo, hi].
long long number(const std::string& token, long long lo, long long hi) {
    long long v = 0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec != std::errc() || end != token.data() + token.size() || v < lo || v > hi)
        throw Failure{"bad number " + quoted(token)};
    return v;
}

void expect_args(const std::vector<std::string>& t, std::size_t n) {
    if (t.size() - 1 == n) return;
    if (n == 0) throw Failure{"'" + t[0] + "' takes no arguments"};
    throw Failure{"'" + t[0] + "' takes " + std::to_string(n) + (n == 1 ? " argument" : " arguments")};
}

// Client coordinates arrive as the two unsigned 16-bit halves of lParam.
std::uint16_t coordinate(const std::string& token) { return static_cast<std::uint16_t>(number(token, 0, 65535)); }

struct KeyRow {
    const char* name;
    ArrowKey key;
};
constexpr KeyRow KEYS[] = {
    {"left", ArrowKey::left}, {"up", ArrowKey::up}, {"right", ArrowKey::right}, {"down", ArrowKey::down}};

struct ButtonRow {
    const char* name;
    int control_id;
};
constexpr ButtonRow WINDOW_COMMANDS[] = {
    {"start", START_BUTTON_ID}, {"cancel", CANCEL_BUTTON_ID}, {"minimize", MINIMIZE_BUTTON_ID}, {"close", CLOSE_BUTTON_ID}};

// Runs the command; returns what it printed itself (state, scene).
std::string run(const std::vector<std::string>& t) {
    const std::string& cmd = t[0];
    for (const ButtonRow& c : WINDOW_COMMANDS) {
        if (cmd != c.name) continue;
        expect_args(t, 0);
        dispatch_command(c.control_id);
        // The window's destruction follows its close, as on a desktop.
        if (!recorder.window_open) handle_destroy();
        return "";
    }
    if (cmd == "tick") {
        if (t.size() > 2) throw Failure{"'tick' takes at most one argument"};
        long long n = t.size() == 2 ? number(t[1], 0, MAX_TICK_COUNT) : 1;
        if (n > MAX_TICKS_PER_LINE)
            throw Failure{"'tick' runs at most " + std::to_string(MAX_TICKS_PER_LINE) + " ticks a line"};
        for (long long i = 0; i < n; ++i) game_tick();
        return "";
    }
    if (cmd == "click" || cmd == "move") {
        expect_args(t, 2);
        std::uint16_t x = coordinate(t[1]), y = coordinate(t[2]);
        if (cmd == "click")
            handle_press(x, y);
        else
            follow_cursor(x, y);
        return "";
    }
    if (cmd == "key") {
        expect_args(t, 1);
        for (const KeyRow& k : KEYS) {
            if (t[1] != k.name) continue;
            nudge_window(k.key);
            return "";
        }
        throw Failure{"unknown key " + quoted(t[1])};
    }
    if (cmd == "seed") {
        expect_args(t, 1);
        recorder.seed = static_cast<std::uint32_t>(number(t[1], 0, 4294967295LL));
        return "";
    }
    if (cmd == "ambient") {
        expect_args(t, 1);
        if (t[1] != "missing" && t[1] != "present") throw Failure{"ambient is 'missing' or 'present'"};
        recorder.ambient_missing = t[1] == "missing";
        return "";
    }
    if (cmd == "set") {
        expect_args(t, 2);
        int value = static_cast<int>(number(t[2], INT32_MIN, INT32_MAX));
        std::string why;
        if (!set_field(t[1], value, why)) throw Failure{why};
        return "";
    }
    if (cmd == "state") {
        expect_args(t, 0);
        return state_json();
    }
    if (cmd == "scene") {
        expect_args(t, 0);
        return scene_json();
    }
    throw Failure{"unknown command " + quoted(cmd)};
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
    std::vector<std::string> tokens = split_words(line);
    if (tokens.empty() || tokens[0][0] == '#') return LineResult::ignored;
    std::string printed;
    try {
        printed = run(tokens);
    } catch (const Failure& f) {
        out += error_json(line_number, f.why);
        return LineResult::error;
    }
    for (const std::string& e : take_events()) out += e + '\n';
    out += printed;
    return recorder.window_open ? LineResult::ok : LineResult::close;
}
