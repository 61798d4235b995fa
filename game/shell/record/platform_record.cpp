#include "game/shell/record/record.h"

#include <ctime>

#include "game/edge/game_json.h"
#include "game/edge/inputs.h"
#include "game/rules/window_events.h"
#include "game/seam/platform.h"

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
    handle_destroy();                // and the window's destruction follows at once
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

std::uint32_t platform_clock_seconds() { return input_clock(recorder.seed ? *recorder.seed : recorder.clock()); }

void platform_element_changed(int) {}
