// plinkfield-sim: the whole game without a window, driven by a script.
#pragma once

#include <string>

#include "../game/shell/game_json.h"  // the state, scene and set commands

// What became of one input line.
enum class LineResult { ok, ignored, error, close };

// Runs one line of the script; `out` receives the lines to print, in the
// order things happened. `line_number` is for error messages.
LineResult run_line(const std::string& line, int line_number, std::string& out);

// Program start: a fresh GameState, the scene built, Ambient located.
void start_simulation();
