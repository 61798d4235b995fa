#include "tests/fuzz/line_reading.h"

#include "game/edge/script.h"
#include "tests/fuzz/json_check.h"

bool text_is_bad(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > MAX_LINE_BYTES || !is_utf8(line)) return true;
    for (char c : line) {
        auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F) return true;
    }
    return false;
}

std::vector<std::string> words_of(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

std::optional<long long> tick_count(const std::string& w) {
    if (w.empty() || w.size() > 10) return std::nullopt;
    long long n = 0;
    for (char c : w) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n > MAX_TICK_COUNT) return std::nullopt;
    return n;
}
bool too_many_ticks(const std::vector<std::string>& words) {
    if (words.size() != 2 || words[0] != "tick") return false;
    std::optional<long long> n = tick_count(words[1]);
    return n && *n > MAX_TICKS_PER_LINE;
}
