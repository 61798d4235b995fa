// plinkfield-sim: the whole game without a window, driven by a script.
#pragma once

#include <string>

// What became of one input line.
enum class LineResult { ok, ignored, error, close };

// Runs one line of the script; `out` receives the lines to print, in the
// order things happened. `line_number` is for error messages.
LineResult run_line(const std::string& line, int line_number, std::string& out);

// Program start: a fresh GameState, the scene built, Ambient located.
void start_simulation();

// JSON of the `state` and `scene` commands.
std::string state_json();
std::string scene_json();

// `set FIELD VALUE`: false with a reason when the field cannot be set.
bool set_field(const std::string& field, int value, std::string& why);
