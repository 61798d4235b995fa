// The script language of plinkfield-sim, which recordings are written in:
// one command a line, words separated by spaces and tabs, "#" comments.
// The simulator runs every command; a recording holds only the inputs a
// window gives the rules (the buttons, tick, click, move, key, seed), and a
// replay takes only those.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "game/rules/window_events.h"

// ------------------------------------------------------------------ text

// The longest line taken, its line ending not counted. Real script lines
// are a few dozen bytes; the limit only keeps hostile input bounded.
inline constexpr std::size_t MAX_LINE_BYTES = 4096;

// Reads the next line of `in` up to "\n" or the end of input and hands it
// over without the "\n". Of a line longer than MAX_LINE_BYTES only enough is
// kept for the check to reject it, so no line can exhaust memory. False at
// the end of input.
bool read_line(std::istream& in, std::string& line);

// A CR before the "\n" is part of the line ending: scripts written on
// Windows run as they are.
std::string_view without_line_ending(std::string_view line);

// Why a line (without its ending) is not text a script may hold: too long,
// not UTF-8, or a control character other than tab. "" when it is.
std::string text_fault(std::string_view line);

// The words of a line: separated by spaces and tabs.
std::vector<std::string> split_words(std::string_view line);

// A word for an error message, in quotes; a long one is cut short.
std::string quoted(std::string_view word);

// A whole word as a decimal number within [lo, hi]: nothing after the
// digits (a minus before them is read as one).
bool whole_number(std::string_view word, long long lo, long long hi, long long& v);

// -------------------------------------------------------------- commands

// `tick N` reads N as a count of 0 to MAX_TICK_COUNT (anything else is a bad
// number), and one line runs at most MAX_TICKS_PER_LINE, 10 000 s of game
// time: a larger count is refused, so that no line keeps the simulator busy
// for seconds. A longer wait takes more lines.
inline constexpr long long MAX_TICK_COUNT = 1000000000;
inline constexpr long long MAX_TICKS_PER_LINE = 100000;

struct Command {
    // print_scene, not scene: that would shadow the scene model's global
    // (clang's -Wshadow).
    enum Kind { button, tick, click, move, key, seed, ambient, set, print_state, print_scene } kind = print_state;
    int control_id = 0;       // button: START, CANCEL, minimize or close
    long long count = 0;      // tick
    int x = 0, y = 0;         // click, move
    ArrowKey arrow = ArrowKey::left;
    std::uint32_t seed_value = 0;
    bool ambient_missing = false;
    std::string field;        // set
    int value = 0;            // set
};

// The words of a line (not empty, not a comment) as a command; "" when they
// make one, else why not, for an error line.
std::string parse_command(const std::vector<std::string>& words, Command& out);

// Whether a window could have given this command: what a recording holds.
bool is_input(const Command& c);

// The line a recording writes for an input, without its "\n".
std::string button_line(int control_id);
std::string tick_line(long long count);
std::string point_line(const char* command, int x, int y);  // click, move
std::string key_line(ArrowKey arrow);
std::string seed_line(std::uint32_t seed);
