// The best games as this window knows them: the table its storage held
// (read once the window shows, and again after each write, when another
// window's games may have come in), with each game of this window ranked in
// as it ends; and what the panel shows of them. A backend keeps the table
// where it keeps things, and draws BEST and NEW BEST from here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/edge/game_end.h"
#include "game/edge/score_table.h"
#include "game/model/layout.h"

// The table storage holds, merged into the one known here.
void adopt_stored_table(const ScoreTable& stored);
const ScoreTable& known_best_games();
// Back to program start: no game known (tests).
void best_games_reset();

// A finished game for storage: its entry and its recording.
struct KeptGame {
    ScoreEntry entry;
    std::string recording;
};

// Ranks a game that has just ended into the known table, from the game-end
// sink (game_end.h): nothing when no shot was fired (START and at once
// CANCEL is no game) or when it does not make the ten best; else what
// storage should merge in, its recording copied then (the session may be
// megabytes long, and most games do not make the table). `when` is the
// game's end in seconds since 1970, `unique` as entry_id takes it.
std::optional<KeptGame> rank_finished_game(const FinishedGame& game, std::int64_t when, std::uint64_t unique);

// --------------------------------------------------------------- the panel

// BEST's number, as the scoreboard writes a score ("000000" while no game
// is kept), drawn at BEST_NUMBER.
std::string best_number_text();

// A game that beat the best game kept before it says so at its end, as the
// banner over the one that tells how it ended, until the next START.
inline constexpr const char* NEW_BEST_TEXT = "NEW BEST";
// Whether the banner shows, and where: as wide as the banner under it.
bool new_best_banner(PanelPlace& place);
