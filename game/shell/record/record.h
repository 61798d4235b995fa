// The recording backend: instead of a window and a sound card, every call
// the game makes outside itself becomes one line of JSON in `events`, in the
// order it happened. Tests read them; the simulator prints them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/edge/game_json.h"  // json_string, for the log's lines

// The system's calendar time in seconds, as the game's own clock reads it.
std::uint32_t calendar_seconds();

struct Recorder {
    std::vector<std::string> events;
    bool timer_running = false;
    bool ambient_missing = false;           // launching Ambient fails
    std::optional<std::uint32_t> seed;      // replaces the clock's seconds
    // The calendar clock in seconds, read when no seed is set at the moment
    // the generator is seeded; tests put a clock of their own here.
    std::uint32_t (*clock)() = calendar_seconds;
    int window_x = 0, window_y = 0;         // the main window's top-left
    bool window_open = true;                // false once the game closed it
};

extern Recorder recorder;

// Back to program start: empty log, timer stopped, window at 0, 0.
void reset_recorder();

// Hands the events over and empties the log.
std::vector<std::string> take_events();
