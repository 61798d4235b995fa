// A recording: the session as a script in the simulator's own language, so
// that plinkfield-sim replays it to the very same state. A "#" header, then
// every input the rules saw, in order; the timer's ticks between two inputs
// as one "tick N" line; "seed N" where the game read the clock.
//
// Lines are handed to the sink as they happen, except the ticks of a run,
// which go out with the next input. Only a running game ticks, and every
// end of a game is an input, so a file read while no game runs (before
// START, after CANCEL or GAME OVER) is the whole session so far.
//
// The session is kept in memory as well, with or without a sink: each game
// of the table of best games keeps the script up to its end.
#pragma once

#include <cstdint>
#include <string>

// Takes one line, "\n" included, and should write it out at once.
using RecordingSink = void (*)(const std::string& line);

// Starts recording; the header's lines are written at once, each after
// "# ". A second start replaces the first. With no sink (nullptr) the
// session is only kept in memory.
void recording_start(RecordingSink sink, const std::string& header);
void recording_stop();
bool recording_on();

// The session so far, as the sink has had it, and the ticks since the last
// input as they will be written: a script that replays to this moment.
std::string recording_so_far();

// Called by the edge's inputs, after the rules have taken each.
void record_line(const std::string& line);
void record_tick();
void record_seed(std::uint32_t seed);
