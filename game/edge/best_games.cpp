#include "game/edge/best_games.h"

#include "game/edge/recording.h"
#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/rules/scoreboard.h"

namespace {

ScoreTable known;
bool beat_the_best = false;  // the latest game that ended

}  // namespace

void adopt_stored_table(const ScoreTable& stored) { known = merged_tables(known, stored); }

const ScoreTable& known_best_games() { return known; }

void best_games_reset() {
    known = ScoreTable{};
    beat_the_best = false;
}

std::optional<KeptGame> rank_finished_game(const FinishedGame& g, std::int64_t when, std::uint64_t unique) {
    beat_the_best = false;
    if (g.shots == 0) return std::nullopt;
    KeptGame kept{{g.score, g.level, g.hits, g.misses, when, entry_id(when, unique)}, ""};
    const bool had_a_best = !known.entries.empty();
    known = merged_tables(known, ScoreTable{{kept.entry}, {}});
    const int rank = rank_in(known, kept.entry.id);
    if (rank == 0) return std::nullopt;
    beat_the_best = had_a_best && rank == 1;
    kept.recording = recording_so_far();
    return kept;
}

std::string best_number_text() { return zero_padded(known.entries.empty() ? 0 : known.entries[0].score, SCORE_DIGITS); }

bool new_best_banner(PanelPlace& place) {
    if (!beat_the_best || game.stage != STAGE_IDLE) return false;
    const SceneElement& under = scene[scene[canceled_banner].visible ? canceled_banner : game_over_banner];
    constexpr int GAP = 4;
    place = {under.x, under.y - under.h - GAP, under.w, under.h};
    return true;
}
