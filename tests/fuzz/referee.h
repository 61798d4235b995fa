// The referee of the fuzz target: one run of plinkfield-sim fed line by
// line through its own interpreter, with the rules of the game checked
// after every command. A broken rule aborts with a report on standard
// error, which libFuzzer keeps as a crash and the replay test fails on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct RefereeCounts {
    long long inputs = 0;    // whole scripts played
    long long lines = 0;     // lines handed to the interpreter
    long long commands = 0;  // commands run, each tick of `tick N` counted
};
extern RefereeCounts referee_counts;

// Plays one script, any bytes at all, from a fresh program start. `set`
// lines are left out (they write any field, so what they make is not a
// state the rules made), and `tick N` runs at most a budget of ticks per
// script so that one line cannot stall the fuzzer.
void referee_play(std::string_view script);
