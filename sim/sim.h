// plinkfield-sim: the whole game without a window, driven by a script.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "game/edge/game_json.h"  // the state, scene and set commands
#include "game/edge/script.h"     // the language: lines, words, commands

// What became of one input line.
enum class LineResult { ok, ignored, error, close };

// Runs one line of the script, as read_line hands it over; `out` receives
// the lines to print, in the order things happened. `line_number` is for
// error messages. A line that is not a well-formed command prints one
// {"error":"line N: ..."} and changes nothing.
LineResult run_line(const std::string& line, long long line_number, std::string& out);

// Program start: a fresh GameState, the scene built, Ambient located.
void start_simulation();
