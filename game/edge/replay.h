// A recording played back by a drawing backend: read whole and checked
// before anything runs, then stepped by the backend's own clock, one tick of
// the recording at a time, with the inputs between two ticks run at once.
// The live inputs of the window are the backend's to ignore meanwhile.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

// Reads and checks a recording (any script of the inputs a recording holds:
// buttons, tick, click, move, key, seed; comments and blank lines). "" when
// it can be played, else "line N: why" for the first line it cannot.
std::string replay_load(std::istream& in);

// One tick of the replay's clock: the inputs up to the recording's next
// tick, and that tick. False once everything has been played. A close
// ends the replay unplayed: the window stays on the last picture for the
// viewer to close (it changes nothing of the game's state).
bool replay_step();

// A loaded replay has inputs left to play.
bool replay_running();

// The seed the recording gave for the clock, once its seed line has been
// played; `now` until then.
std::uint32_t replay_seed(std::uint32_t now);
