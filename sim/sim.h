// plinkfield-sim: the whole game without a window, driven by a script.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "game/shell/game_json.h"  // the state, scene and set commands

// What became of one input line.
enum class LineResult { ok, ignored, error, close };

// Runs one line of the script, as read_line hands it over; `out` receives
// the lines to print, in the order things happened. `line_number` is for
// error messages. A line that is not a well-formed command prints one
// {"error":"line N: ..."} and changes nothing.
LineResult run_line(const std::string& line, long long line_number, std::string& out);

// Program start: a fresh GameState, the scene built, Ambient located.
void start_simulation();

// `tick N` reads N as a count of 0 to MAX_TICK_COUNT (anything else is a bad
// number) and runs at most MAX_TICKS_PER_LINE of them, 10 000 s of game
// time: a larger count is refused, so that no line keeps the simulator busy
// for seconds. A script runs more with more lines.
inline constexpr long long MAX_TICK_COUNT = 1000000000;
inline constexpr long long MAX_TICKS_PER_LINE = 100000;

// ---- Script text (sim_input.cpp) ----

// The longest line taken, its line ending not counted. Real script lines
// are a few dozen bytes; the limit only keeps hostile input bounded.
inline constexpr std::size_t MAX_LINE_BYTES = 4096;

// Reads the next line of `in` up to "\n" or the end of input and hands it
// over without the "\n". Of a line longer than MAX_LINE_BYTES only enough is
// kept for run_line to reject it, so no line can exhaust memory. False at
// the end of input.
bool read_line(std::istream& in, std::string& line);

// A CR before the "\n" is part of the line ending: scripts written on
// Windows run as they are.
std::string_view without_line_ending(std::string_view line);

// Why a line (without its ending) is not text the simulator takes: too
// long, not UTF-8, or a control character other than tab. "" when it is.
std::string text_fault(std::string_view line);

// The words of a line: separated by spaces and tabs.
std::vector<std::string> split_words(std::string_view line);

// A word for an error message, in quotes; a long one is cut short.
std::string quoted(std::string_view word);
