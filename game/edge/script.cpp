// Scripts as text: lines read with a bounded buffer, checked before any word
// of them is looked at, and split into words; then the words as commands.
// Scripts come from anywhere (editors on every system, pipes, fuzzers, a
// recording cut short by a crash), so a line may be huge, end in CRLF or
// hold bytes that are not text; none of that may reach the game or break the
// JSON the simulator prints.
#include "game/edge/script.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "game/edge/game_json.h"
#include "game/model/elements.h"

bool read_line(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buf = in.rdbuf();
    bool any = false;
    for (;;) {
        int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n') return true;
        // Two bytes past the limit are enough for run_line to tell a line
        // that is too long, CR or not; the rest is read and dropped.
        if (line.size() < MAX_LINE_BYTES + 2) line += static_cast<char>(c);
    }
}

std::string_view without_line_ending(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

namespace {

std::string hex_byte(unsigned char b) {
    const char* digits = "0123456789ABCDEF";
    return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

}  // namespace

std::string text_fault(std::string_view line) {
    if (line.size() > MAX_LINE_BYTES) return "longer than " + std::to_string(MAX_LINE_BYTES) + " bytes";
    for (std::size_t i = 0; i < line.size();) {
        auto b = static_cast<unsigned char>(line[i]);
        // Tab separates words like a space; every other control character
        // is a fault, NUL and lone CR included.
        if ((b < 0x20 && b != '\t') || b == 0x7F)
            return "control character " + hex_byte(b) + " at byte " + std::to_string(i + 1);
        std::size_t n = utf8_sequence(line.substr(i));
        if (n == 0) return "not UTF-8 at byte " + std::to_string(i + 1);
        i += n;
    }
    return "";
}

std::vector<std::string> split_words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    for (;;) {
        i = line.find_first_not_of(" \t", i);
        if (i == std::string_view::npos) return words;
        std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
        words.emplace_back(line.substr(i, end - i));
        i = end;
    }
}

std::string quoted(std::string_view word) {
    constexpr std::size_t SHOWN = 32;
    // Appended piece by piece into one string: a chain of operator+ on
    // temporaries trips GCC 12's -Wrestrict at -O3, a false alarm.
    std::string out(1, '\'');
    if (word.size() <= SHOWN) return out.append(word).append(1, '\'');
    // Cut on a character boundary, so the message stays UTF-8.
    std::size_t cut = SHOWN;
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
    return out.append(word.substr(0, cut)).append("...' (").append(std::to_string(word.size())).append(" bytes)");
}

bool whole_number(std::string_view word, long long lo, long long hi, long long& v) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    return ec == std::errc() && end == word.data() + word.size() && v >= lo && v <= hi;
}

// -------------------------------------------------------------- commands

namespace {

struct ButtonName {
    const char* name;
    int control_id;
};
constexpr ButtonName BUTTON_NAMES[] = {
    {"start", START_BUTTON_ID}, {"cancel", CANCEL_BUTTON_ID}, {"minimize", MINIMIZE_BUTTON_ID}, {"close", CLOSE_BUTTON_ID}};

struct KeyName {
    const char* name;
    ArrowKey key;
};
constexpr KeyName KEY_NAMES[] = {
    {"left", ArrowKey::left}, {"up", ArrowKey::up}, {"right", ArrowKey::right}, {"down", ArrowKey::down}};

// A whole word as an integer within [lo, hi].
bool number(const std::string& word, long long lo, long long hi, long long& v, std::string& why) {
    if (whole_number(word, lo, hi, v)) return true;
    why = "bad number " + quoted(word);
    return false;
}

std::string argument_count(const std::vector<std::string>& w, std::size_t n) {
    if (w.size() - 1 == n) return "";
    if (n == 0) return "'" + w[0] + "' takes no arguments";
    return "'" + w[0] + "' takes " + std::to_string(n) + (n == 1 ? " argument" : " arguments");
}

// Client coordinates arrive as the two unsigned 16-bit halves of lParam.
bool coordinates(const std::vector<std::string>& w, Command& out, std::string& why) {
    long long x = 0, y = 0;
    if (!number(w[1], 0, 65535, x, why) || !number(w[2], 0, 65535, y, why)) return false;
    out.x = static_cast<int>(x);
    out.y = static_cast<int>(y);
    return true;
}

std::string parse(const std::vector<std::string>& w, Command& out) {
    const std::string& cmd = w[0];
    std::string why;
    long long n = 0;
    for (const ButtonName& b : BUTTON_NAMES) {
        if (cmd != b.name) continue;
        out.kind = Command::button;
        out.control_id = b.control_id;
        return argument_count(w, 0);
    }
    if (cmd == "tick") {
        if (w.size() > 2) return "'tick' takes at most one argument";
        out.kind = Command::tick;
        out.count = 1;
        if (w.size() == 2 && !number(w[1], 0, MAX_TICK_COUNT, out.count, why)) return why;
        if (out.count > MAX_TICKS_PER_LINE)
            return "'tick' runs at most " + std::to_string(MAX_TICKS_PER_LINE) + " ticks a line";
        return "";
    }
    if (cmd == "click" || cmd == "move") {
        if (why = argument_count(w, 2); !why.empty()) return why;
        out.kind = cmd == "click" ? Command::click : Command::move;
        return coordinates(w, out, why) ? "" : why;
    }
    if (cmd == "key") {
        if (why = argument_count(w, 1); !why.empty()) return why;
        out.kind = Command::key;
        for (const KeyName& k : KEY_NAMES)
            if (w[1] == k.name) {
                out.arrow = k.key;
                return "";
            }
        return "unknown key " + quoted(w[1]);
    }
    if (cmd == "seed") {
        if (why = argument_count(w, 1); !why.empty()) return why;
        out.kind = Command::seed;
        if (!number(w[1], 0, 4294967295LL, n, why)) return why;
        out.seed_value = static_cast<std::uint32_t>(n);
        return "";
    }
    if (cmd == "ambient") {
        if (why = argument_count(w, 1); !why.empty()) return why;
        if (w[1] != "missing" && w[1] != "present") return "ambient is 'missing' or 'present'";
        out.kind = Command::ambient;
        out.ambient_missing = w[1] == "missing";
        return "";
    }
    if (cmd == "set") {
        if (why = argument_count(w, 2); !why.empty()) return why;
        out.kind = Command::set;
        out.field = w[1];
        if (!number(w[2], INT32_MIN, INT32_MAX, n, why)) return why;
        out.value = static_cast<int>(n);
        return "";
    }
    if (cmd == "state" || cmd == "scene") {
        out.kind = cmd == "state" ? Command::print_state : Command::print_scene;
        return argument_count(w, 0);
    }
    return "unknown command " + quoted(cmd);
}

}  // namespace

std::string parse_command(const std::vector<std::string>& words, Command& out) {
    out = Command{};
    return parse(words, out);
}

bool is_input(const Command& c) {
    switch (c.kind) {
        case Command::button:
        case Command::tick:
        case Command::click:
        case Command::move:
        case Command::key:
        case Command::seed: return true;
        default: return false;
    }
}

std::string button_line(int control_id) {
    for (const ButtonName& b : BUTTON_NAMES)
        if (b.control_id == control_id) return b.name;
    return "";
}

std::string tick_line(long long count) { return "tick " + std::to_string(count); }

std::string point_line(const char* command, int x, int y) {
    return std::string(command) + " " + std::to_string(x) + " " + std::to_string(y);
}

std::string key_line(ArrowKey arrow) {
    for (const KeyName& k : KEY_NAMES)
        if (k.key == arrow) return std::string("key ") + k.name;
    return "";
}

std::string seed_line(std::uint32_t seed) { return "seed " + std::to_string(seed); }
