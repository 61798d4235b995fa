#include "record.h"

#include <ctime>

#include "../platform.h"

Recorder recorder;

std::uint32_t calendar_seconds() { return static_cast<std::uint32_t>(std::time(nullptr)); }

// The clock is not read here but at the first spawn, as the game reads it.
void reset_recorder() { recorder = Recorder{}; }

std::vector<std::string> take_events() {
    std::vector<std::string> out;
    out.swap(recorder.events);
    return out;
}

static void record(std::string line) { recorder.events.push_back(std::move(line)); }

std::size_t utf8_sequence(std::string_view s) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    auto continuation = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return i < s.size() && byte(i) >= lo && byte(i) <= hi;
    };
    if (s.empty()) return 0;
    unsigned b = byte(0);
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return continuation(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        unsigned lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
        return continuation(1, lo, hi) && continuation(2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        unsigned lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, lo, hi) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

std::string json_string(std::string_view s) {
    static constexpr char HEX[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20) {
            out += "\\u00";
            out += HEX[c >> 4];
            out += HEX[c & 15];
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') out += '\\';
        std::size_t n = utf8_sequence(s.substr(i));
        if (n == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that is not UTF-8
            ++i;
            continue;
        }
        out.append(s.substr(i, n));
        i += n;
    }
    return out + "\"";
}

void platform_beep() { record(R"({"beep":0})"); }

void platform_timer_start() {
    recorder.timer_running = true;
    record(R"({"timer":"on"})");
}

void platform_timer_stop() {
    recorder.timer_running = false;
    record(R"({"timer":"off"})");
}

void platform_message_box(const char* text, const char* caption) {
    record("{\"message_box\":" + json_string(text) + ",\"caption\":" + json_string(caption) + "}");
}

void platform_window_minimize() { record(R"({"window":"minimize"})"); }

void platform_window_close() {
    record(R"({"window":"close"})");
    recorder.window_open = false;
    recorder.timer_running = false;  // the timer dies with its window
}

void platform_window_drag(int, int) { record(R"({"window":"drag"})"); }

void platform_window_position(int& x, int& y) {
    x = recorder.window_x;
    y = recorder.window_y;
}

void platform_window_move(int x, int y) {
    recorder.window_x = x;
    recorder.window_y = y;
    record("{\"window\":\"move\",\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) + "}");
}

std::uint32_t platform_clock_seconds() { return recorder.seed ? *recorder.seed : recorder.clock(); }

void platform_element_changed(int) {}
