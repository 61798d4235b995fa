// What keeping the session's recording in memory costs the game: the same
// hour of play, input for input as a window gives it (a mouse that moves 60
// times a second, a shot every half second, games to GAME OVER one after
// the other), run through the edge's inputs with the recording and the
// table of best games on, and again with both off. Prints the CPU time of
// each per second of play, their difference as a share of one core, and
// the recording's size. Built by bench/native-scores (the
// plinkfield-recording-probe target).
//
//   plinkfield-recording-probe [ROUNDS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "game/edge/best_games.h"
#include "game/edge/game_end.h"
#include "game/edge/inputs.h"
#include "game/edge/recording.h"
#include "game/model/elements.h"
#include "game/rules/game_state.h"
#include "game/shell/record/record.h"
#include "sim/sim.h"

namespace {

constexpr int TICKS = 36000;          // an hour of game time
constexpr int MOVES_PER_TICK = 6;     // the mouse at 60 Hz
constexpr int TICKS_PER_SHOT = 5;

long kept_games = 0;
void keep(const FinishedGame& g) {
    if (rank_finished_game(g, 1796724902 + kept_games, static_cast<std::uint64_t>(kept_games))) ++kept_games;
}

double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One hour of play; the CPU seconds it took.
double play(bool keeping) {
    start_simulation();
    best_games_reset();
    if (keeping) {
        recording_start(nullptr, "plinkfield probe\nrecorded now");
        on_game_end(keep);
    }
    const double start = cpu_seconds();
    for (int t = 0; t < TICKS; ++t) {
        if (game.stage == STAGE_IDLE) input_command(START_BUTTON_ID);
        for (int m = 0; m < MOVES_PER_TICK; ++m) input_move(200 + (t * 7 + m * 13) % 800, 100 + (t * 3 + m) % 500);
        if (t % TICKS_PER_SHOT == 0) input_press(200 + t % 800, 100 + t % 500);
        input_tick();
        take_events();  // what the record backend says of it, dropped
    }
    const double took = cpu_seconds() - start;
    on_game_end(nullptr);
    recording_stop();
    return took;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::vector<double> on, off;
    std::size_t bytes = 0;
    for (int r = 0; r < rounds; ++r) {  // in turn, so that a busy moment hits both
        off.push_back(play(false));
        kept_games = 0;
        on.push_back(play(true));
        bytes = recording_so_far().size();
    }
    const double seconds_of_play = TICKS / 10.0;
    const double per_second_on = median(on) / seconds_of_play, per_second_off = median(off) / seconds_of_play;
    const long inputs = TICKS * (MOVES_PER_TICK + 1) + TICKS / TICKS_PER_SHOT;
    std::printf("an hour of play: %ld inputs, %ld games kept, a recording of %.1f MB\n", inputs, kept_games,
                static_cast<double>(bytes) / 1e6);
    std::printf("rules and edge, recording off: %.4f %% of a core (%.0f ns an input)\n", 100 * per_second_off,
                1e9 * median(off) / static_cast<double>(inputs));
    std::printf("rules and edge, recording on:  %.4f %% of a core (%.0f ns an input)\n", 100 * per_second_on,
                1e9 * median(on) / static_cast<double>(inputs));
    std::printf("the recording's cost: %+.4f %% of a core (medians of %d rounds)\n",
                100 * (per_second_on - per_second_off), rounds);
    return 0;
}
