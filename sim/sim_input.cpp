// The simulator's input as text: lines read with a bounded buffer, checked
// before any word of them is looked at, and split into words. Scripts come
// from anywhere (editors on every system, pipes, fuzzers), so a line may be
// huge, end in CRLF or hold bytes that are not text; none of that may reach
// the game or break the JSON we print.
#include <algorithm>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "game/shell/game_json.h"
#include "sim/sim.h"

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

// Built by appending: GCC 12 at -O3 warns -Wrestrict (wrongly) inside
// `"'" + std::string(...)`.
std::string quoted(std::string_view word) {
    constexpr std::size_t SHOWN = 32;
    std::string q = "'";
    if (word.size() <= SHOWN) return q.append(word).append("'");
    // Cut on a character boundary, so the message stays UTF-8.
    std::size_t cut = SHOWN;
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
    return q.append(word.substr(0, cut)).append("...' (").append(std::to_string(word.size())).append(" bytes)");
}
