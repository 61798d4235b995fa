// The game's hold on its Ambient companion, in plain POSIX: found beside
// the game's program file, started with its standard input a pipe from the
// game, stopped by the game at once and for certain. The pipe is the
// lifeline: when the game ends in any way, killed included, the companion
// reads end-of-file and ends too.
#pragma once

#include <sys/types.h>

#include <string>

struct CompanionProcess {
    pid_t pid = -1;
    int pipe = -1;  // our end: the companion's standard input
};

// The companion `name` for a game whose program file is `self`: beside it
// (the build tree), else in ../lib/plinkfield/ (installed: the game in
// /usr/games, its companion in /usr/lib/plinkfield). The first of the two
// that is executable; the first when neither is, so that starting it fails.
std::string locate_companion(const std::string& self, const std::string& name);

// Starts `program` without arguments and without waiting for it. False when
// it cannot be started (missing, not executable); `child` is then untouched.
bool spawn_companion(const std::string& program, CompanionProcess& child);

// Ends the companion and reaps it: end-of-file and SIGTERM, then SIGKILL if
// it is still there after half a second. Returns when it is gone.
void stop_companion(CompanionProcess& child);

// One line to the companion's standard input; false when it has gone.
bool tell_companion(const CompanionProcess& child, const std::string& line);

// True once the companion has ended on its own (it is then reaped).
bool companion_ended(CompanionProcess& child);
